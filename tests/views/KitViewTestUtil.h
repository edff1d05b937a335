#pragma once

#include "CDLcd.h"
#include "CDLed.h"
#include "CQuenleyDoc.h"
#include "CQuenleyView.h"
#include "ModelTestUtil.h"

#include <QByteArray>
#include <QEvent>
#include <QList>
#include <QObject>

#include <memory>

// The kit panel's control ids. Column c: kick 0 ... LFOs 9; the LFO column's speed is a knob.
namespace KitIds {
inline constexpr unsigned kInit = 2110;
inline constexpr unsigned kActive = 2115;
inline constexpr unsigned kKitLcd = 2095;
inline constexpr unsigned kBankLcd = 2100;
inline constexpr unsigned kName = 2105;
inline constexpr unsigned kKitKnob = 2220;
inline constexpr unsigned kBankKnob = 2225;
constexpr unsigned LevelLcd(int c) {
    return c < 9 ? 2050u + 5 * c : 2230u;
}
constexpr unsigned Level(int c) {
    return c < 9 ? 2005u + 5 * c : 2235u;
}
constexpr unsigned VariationLcd(int c) {
    return 2120u + 5 * c;
}
constexpr unsigned VariationKnob(int c) {
    return 2170u + 5 * c;
}
} // namespace KitIds

// Per column, where the kind's variations live in the module and which of their values the kit
// shows as the level: base address, values per variation, level index.
struct SColumnLayout {
    int nKind;
    int nBase;
    int nCount;
    int nLevel;
};
inline constexpr SColumnLayout kColumns[10] = {
    {2, 0x0000, 9, 8}, {3, 0x0900, 6, 5}, {4, 0x0F00, 3, 2}, {5, 0x1200, 3, 2},  {6, 0x1500, 12, 8},
    {7, 0x2100, 6, 5}, {8, 0x2700, 6, 5}, {9, 0x2D00, 6, 5}, {10, 0x3300, 6, 5}, {11, 0x3900, 7, 6},
};

// F0 31 area 56 channel 0, the address in two 7-bit bytes, each value in two, F7.
QByteArray SysEx(int nArea, int nAddress, const QList<int>& values);
QByteArray KitValue(int nKit, int nIndex, int nValue);
// Values from the kit's first address on: a kit's 19 values start at 19 x number in area 3F.
QByteArray KitBlock(int nKit, const QList<int>& values);
QByteArray LevelValue(int nColumn, int nNumber, int nValue);
// A kit block's values: the eight name codes, then the variation numbers given.
QList<int> KitValues(const char* pszName, const QList<int>& variations = {});

// A kit window as the frame makes it: number, initial update, and shown and active unless it
// only follows.
std::unique_ptr<CQuenleyView> OpenKitView(CQuenleyDoc& doc, int nNumber, bool bShow = true);

// What the panel shows: caption, name, Active lamp and every value pair in table order.
struct SPanelState {
    QString strCaption;
    QByteArray name;
    bool bActive;
    QList<int> values;
    bool operator==(const SPanelState&) const = default;
};
SPanelState PanelState(CQuenleyView& view);
// The first read-out that disagrees with its knob or fader, as text; empty when all agree.
QString PairMismatch(CDView& view);

// Counts the paints a widget receives.
class CPaintCounter : public QObject {
public:
    explicit CPaintCounter(QWidget* pWidget) { pWidget->installEventFilter(this); }
    int m_nPaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        m_nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
};

// A lamp is clicked; "+n" or "-n" drags a knob or fader n pixels up or down; anything else is
// typed into a read-out from cell nCell and confirmed with Return.
void OperateControl(CDView& view, unsigned nId, const QString& strInput = {}, int nCell = 0);

// A project with its transmit queue (its port stays closed, so every message waits there).
struct CProjectBench {
    CQueueFixture queue;
    CQuenleyDoc doc{&queue.m_wnd};

    // A kit (kind 1) or variation, with one value set when nParam is given.
    CSection* Add(int nKind, int nNumber, int nParam = -1, int nValue = 0);
    CSection* Find(int nKind, int nNumber) { return doc.FindVariationOfKind(nKind, nNumber); }
    QList<QByteArray> Sent() const { return queue.Queued(); }
};

// A kit window on a project, operated as the user would.
struct CKitBench : CProjectBench {
    std::unique_ptr<CQuenleyView> pView;

    // Opens the window; the queue and the modified flag then start empty.
    CQuenleyView& Open(int nNumber);
    // A lamp is clicked; "+n" or "-n" drags a knob or fader n pixels up or down; anything else
    // is typed into a read-out from cell nCell and confirmed with Return.
    void Operate(unsigned nId, const QString& strInput = {}, int nCell = 0);
    int Value(unsigned nId) const;
    QByteArray Text(unsigned nId) const;
    bool Lamp(unsigned nId) const;
    QString Caption() const { return pView->windowTitle(); }
};

#pragma once

#include "CDView.h"
#include "KitViewTestUtil.h"

#include <QStringList>

// The header controls of an instrument panel; 0 where the panel has none.
struct SPanelIds {
    int nType;
    int nKind;
    unsigned nActive;
    unsigned nInit;
    unsigned nIndicator;
    unsigned nName;
    unsigned nNumberLcd;
    unsigned nNumberKnob;
    unsigned nLabel;
    const char* pszLabel; // the kind's four letters in the caption
};
// View types 3 (kick) to 12 (LFOs).
const SPanelIds& PanelIds(int nType);

// Every value of the section, in order.
QList<int> Params(const CSection* pSection);
// Gives value i of the section (37 i + nSalt) mod 256, so neighbouring values differ.
void Fill(CSection* pSection, int nSalt);

// One value, or the values from index 0 on, of variation nNumber of an instrument kind.
QByteArray InstrumentValue(int nKind, int nNumber, int nIndex, int nValue);
QByteArray InstrumentBlock(int nKind, int nNumber, const QList<int>& values);

// A window of any type as the frame makes it: start number, initial update, and shown and
// active unless it only follows.
std::unique_ptr<CDView> OpenView(CQuenleyDoc& doc, int nType, int nNumber, bool bShow = true);

// What a control shows: a read-out its text, a lamp "lit" or "dark", a knob or fader its value.
QByteArray Shown(CDView& view, unsigned nId);
// The caption, then every control as "id: shown" in table order.
QStringList PanelSnapshot(CDView& view);

// "id" clicks a lamp; "id +n" or "id -n" drags a knob; "id text" types into a read-out.
void OperateStep(CDView& view, const QString& strStep);

// A window of any type on a project, operated as the user would.
struct CViewBench : CProjectBench {
    std::unique_ptr<CDView> pView;

    // Opens the window; the queue and the modified flag then start empty.
    CDView& Open(int nType, int nNumber);
    void Operate(const QString& strStep) { OperateStep(*pView, strStep); }
    QByteArray Shown(unsigned nId) const { return ::Shown(*pView, nId); }
    QString Caption() const { return pView->windowTitle(); }
};

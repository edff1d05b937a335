#include "ViewBench.h"

#include "CDDynCtrl.h"
#include "ViewTypes.h"

#include <QTest>

const SPanelIds& PanelIds(int nType) {
    static const SPanelIds ids[] = {
        {3, 2, 2500, 2510, 2580, 2515, 2520, 2585, 0, "Kick"},
        {4, 3, 3500, 3510, 3560, 3515, 3520, 3565, 0, "Snar"},
        {5, 4, 3600, 3610, 0, 3615, 3625, 3650, 3620, "LoTo"},
        {6, 5, 3600, 3610, 0, 3615, 3625, 3650, 3620, "HiTo"},
        {7, 6, 4000, 4015, 4105, 4020, 4025, 4110, 0, "HiHa"},
        {8, 7, 3800, 3815, 0, 3820, 3830, 3875, 3825, "Clap"},
        {9, 8, 3800, 3815, 0, 3820, 3830, 3875, 3825, "Rims"},
        {10, 9, 3800, 3815, 0, 3820, 3830, 3875, 3825, "Crsh"},
        {11, 10, 3800, 3815, 0, 3820, 3830, 3875, 3825, "Ride"},
        {12, 11, 4200, 4220, 4290, 4225, 4230, 4295, 0, "LFOs"},
    };
    return ids[qBound(3, nType, 12) - 3];
}

QList<int> Params(const CSection* pSection) {
    QList<int> values;
    for (int i = 0; i < pSection->GetParamCount(); ++i)
        values << pSection->GetParam(i);
    return values;
}

void Fill(CSection* pSection, int nSalt) {
    for (int i = 0; i < pSection->GetParamCount(); ++i)
        pSection->SetParam(i, (37 * i + nSalt) & 0xFF);
}

QByteArray InstrumentValue(int nKind, int nNumber, int nIndex, int nValue) {
    const SColumnLayout& c = kColumns[nKind - 2];
    return SysEx(0x3E, c.nBase + nNumber * c.nCount + nIndex, {nValue});
}

QByteArray InstrumentBlock(int nKind, int nNumber, const QList<int>& values) {
    const SColumnLayout& c = kColumns[nKind - 2];
    return SysEx(0x3E, c.nBase + nNumber * c.nCount, values);
}

std::unique_ptr<CDView> OpenView(CQuenleyDoc& doc, int nType, int nNumber, bool bShow) {
    std::unique_ptr<CDView> pView = ViewTypes::CreateView(nType, &doc);
    if (!pView)
        return nullptr;
    pView->SetVariationNumber(nNumber);
    pView->OnInitialUpdate();
    if (bShow) {
        pView->show();
        pView->activateWindow();
        if (!QTest::qWaitForWindowActive(pView.get()))
            qWarning("the window of view type %d did not become active", nType);
    }
    return pView;
}

QByteArray Shown(CDView& view, unsigned nId) {
    CDCtrl* pControl = view.Control(nId);
    if (auto* pLcd = dynamic_cast<CDLcd*>(pControl))
        return pLcd->GetText();
    if (auto* pLed = dynamic_cast<CDLed*>(pControl))
        return pLed->GetState() ? "lit" : "dark";
    if (auto* pValue = dynamic_cast<CDDynCtrl*>(pControl))
        return QByteArray::number(pValue->GetValue());
    return "(no control)";
}

QStringList PanelSnapshot(CDView& view) {
    QStringList state{view.windowTitle()};
    for (const Panels::SControl& row : view.PanelTable().controls)
        state << QStringLiteral("%1: %2").arg(row.nId).arg(
            QString::fromLatin1(Shown(view, row.nId)));
    return state;
}

void OperateStep(CDView& view, const QString& strStep) {
    const qsizetype nSpace = strStep.indexOf(' ');
    const unsigned nId = strStep.left(nSpace).toUInt();
    OperateControl(view, nId, nSpace < 0 ? QString() : strStep.mid(nSpace + 1));
}

CDView& CViewBench::Open(int nType, int nNumber) {
    pView = OpenView(doc, nType, nNumber);
    queue.Clear();
    doc.SetModifiedFlag(false);
    return *pView;
}

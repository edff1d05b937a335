#include "KitViewTestUtil.h"

#include "RuntimeClasses.h"

#include <QTest>

QByteArray SysEx(int nArea, int nAddress, const QList<int>& values) {
    QByteArray bytes;
    for (int b : {0xF0, 0x31, nArea, 0x56, 0x00, (nAddress >> 7) & 0x7F, nAddress & 0x7F})
        bytes.append(char(b));
    for (int v : values)
        bytes.append(char((v >> 7) & 0x7F)).append(char(v & 0x7F));
    return bytes.append(char(0xF7));
}

QByteArray KitValue(int nKit, int nIndex, int nValue) {
    return SysEx(0x3F, nKit * 19 + nIndex, {nValue});
}

QByteArray KitBlock(int nKit, const QList<int>& values) {
    return SysEx(0x3F, nKit * 19, values);
}

QByteArray LevelValue(int nColumn, int nNumber, int nValue) {
    const SColumnLayout& c = kColumns[nColumn];
    return SysEx(0x3E, c.nBase + nNumber * c.nCount + c.nLevel, {nValue});
}

QList<int> KitValues(const char* pszName, const QList<int>& variations) {
    QList<int> values;
    for (int i = 0; i < 8; ++i)
        values.append(static_cast<unsigned char>(pszName[i]));
    return values + variations;
}

std::unique_ptr<CQuenleyView> OpenKitView(CQuenleyDoc& doc, int nNumber, bool bShow) {
    auto pView = std::make_unique<CQuenleyView>(&doc);
    pView->SetVariationNumber(nNumber);
    pView->OnInitialUpdate();
    if (bShow) {
        pView->show();
        pView->activateWindow();
        if (!QTest::qWaitForWindowActive(pView.get()))
            qWarning("the kit window did not become active");
    }
    return pView;
}

SPanelState PanelState(CQuenleyView& view) {
    SPanelState state{view.windowTitle(),
                      view.ControlAs<CDLcd>(KitIds::kName)->GetText(),
                      view.ControlAs<CDLed>(KitIds::kActive)->GetState(),
                      {}};
    for (const Panels::SControl& row : view.PanelTable().controls)
        if (row.nPartner)
            state.values.append(view.ControlAs<CDDynCtrl>(row.nId)->GetValue());
    return state;
}

QString PairMismatch(CDView& view) {
    for (const Panels::SControl& row : view.PanelTable().controls) {
        auto* pControl = view.ControlAs<CDDynCtrl>(row.nId);
        auto* pPartner = view.ControlAs<CDDynCtrl>(row.nPartner);
        if (pControl && pPartner && pControl->GetValue() != pPartner->GetValue())
            return QStringLiteral("%1 shows %2, %3 shows %4")
                .arg(row.nId)
                .arg(pControl->GetValue())
                .arg(row.nPartner)
                .arg(pPartner->GetValue());
    }
    return {};
}

CSection* CProjectBench::Add(int nKind, int nNumber, int nParam, int nValue) {
    std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
    CSection* pSection = doc.FindOrCreateVariation(templ.get(), nNumber);
    if (pSection && nParam >= 0)
        pSection->SetParam(nParam, nValue);
    return pSection;
}

CQuenleyView& CKitBench::Open(int nNumber) {
    pView = OpenKitView(doc, nNumber);
    queue.Clear();
    doc.SetModifiedFlag(false);
    return *pView;
}

void CKitBench::Operate(unsigned nId, const QString& strInput, int nCell) {
    OperateControl(*pView, nId, strInput, nCell);
}

void OperateControl(CDView& view, unsigned nId, const QString& strInput, int nCell) {
    QWidget* pControl = view.Control(nId);
    if (!pControl) {
        QFAIL(qPrintable(QStringLiteral("no control %1").arg(nId)));
        return;
    }
    if (dynamic_cast<CDLed*>(pControl)) {
        QTest::mouseClick(pControl, Qt::LeftButton, {}, QPoint(1, 1));
    } else if (strInput.startsWith('+') || strInput.startsWith('-')) {
        const QPoint at(pControl->width() / 2, pControl->height() / 2);
        const QPoint to = at - QPoint(0, strInput.toInt());
        // The controls count from the last pointer position they saw, so the pointer comes over
        // the control first, from elsewhere, or the window system would report no move.
        QTest::mouseMove(pControl, at + QPoint(0, 5));
        QTest::mouseMove(pControl, at);
        QTest::mousePress(pControl, Qt::LeftButton, {}, at);
        QTest::mouseMove(pControl, to);
        QTest::mouseRelease(pControl, Qt::LeftButton, {}, to);
    } else {
        // Cells are 5 pixels and a 2-pixel gap apart.
        QTest::mouseClick(pControl, Qt::LeftButton, {}, QPoint(7 * nCell + 1, 1));
        QTest::keyClicks(pControl, strInput);
        QTest::keyClick(pControl, Qt::Key_Return);
    }
}

int CKitBench::Value(unsigned nId) const {
    return pView->ControlAs<CDDynCtrl>(nId)->GetValue();
}

QByteArray CKitBench::Text(unsigned nId) const {
    return pView->ControlAs<CDLcd>(nId)->GetText();
}

bool CKitBench::Lamp(unsigned nId) const {
    return pView->ControlAs<CDLed>(nId)->GetState();
}

#include "CGalleryPanel.h"

#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "PanelBitmaps.h"

#include <cstring>

using namespace Panels;

namespace {

PanelBitmaps::EPicture PictureOf(EPanel ePanel) {
    for (const PanelBitmaps::SPicture& picture : PanelBitmaps::AllPictures())
        if (std::strcmp(picture.pszName, Panel(ePanel).pszName) == 0)
            return picture.ePicture;
    return PanelBitmaps::EPicture::Kick;
}

} // namespace

CGalleryPanel::CGalleryPanel(EPanel ePanel) : CDView(nullptr, 0, ePanel, PictureOf(ePanel)) {
    m_bComplete = CreateControls();
    // Spread the value pairs over their ranges, so the knob frames differ.
    int nStep = 0;
    for (const SControl& row : PanelTable().controls) {
        auto* pLcd = ControlAs<CDLcd>(row.nId);
        auto* pPartner = dynamic_cast<CDDynCtrl*>(Control(row.nPartner));
        if (!pLcd || !pPartner || !pLcd->IsNumeric() || row.Has(kDisabled))
            continue;
        const int nValue = row.nMin + (nStep++ * 23) % (row.nMax - row.nMin + 1);
        pLcd->SetValue(nValue, true);
        pPartner->SetValue(nValue, true);
    }
}

void CGalleryPanel::ShowWord(unsigned nId, int nValue) {
    const SControl* pRow = FindControl(PanelTable(), nId);
    const SControl* pDisplay = pRow ? FindControl(PanelTable(), pRow->nDisplay) : nullptr;
    auto* pLcd = pDisplay ? ControlAs<CDLcd>(pDisplay->nId) : nullptr;
    if (pLcd && nValue >= 0 && std::size_t(nValue) < pDisplay->words.size())
        pLcd->SetText(pDisplay->words[std::size_t(nValue)]);
}

void CGalleryPanel::OnLedChanged(CDLed* pLed) {
    emit Logged(QStringLiteral("WM_DLED_CHANGED   led %1 = %2")
                    .arg(pLed->GetDlgCtrlID())
                    .arg(pLed->GetState() ? "on" : "off"));
    ShowWord(pLed->GetDlgCtrlID(), pLed->GetState() ? 1 : 0);
}

void CGalleryPanel::OnLcdChanged(CDLcd* pLcd) {
    if (!pLcd->IsNumeric()) {
        emit Logged(QStringLiteral("WM_DLCD_CHANGED   lcd %1 = \"%2\"")
                        .arg(pLcd->GetDlgCtrlID())
                        .arg(QLatin1String(pLcd->GetText())));
        return;
    }
    emit Logged(QStringLiteral("WM_DLCD_CHANGED   lcd %1 = %2")
                    .arg(pLcd->GetDlgCtrlID())
                    .arg(pLcd->GetValue()));
    if (auto* pPartner = dynamic_cast<CDDynCtrl*>(pLcd->GetNext());
        pPartner && pPartner->GetValue() != pLcd->GetValue())
        pPartner->SetValue(pLcd->GetValue(), true);
}

void CGalleryPanel::OnKnobChanged(CDDynCtrl* pControl) {
    emit Logged(QStringLiteral("%1 %2 = %3")
                    .arg(dynamic_cast<CDFader*>(pControl) ? "WM_DFADER_CHANGED fader"
                                                          : "WM_DPOTI_CHANGED  knob")
                    .arg(pControl->GetDlgCtrlID())
                    .arg(pControl->GetValue()));
    if (auto* pLcd = dynamic_cast<CDLcd*>(pControl->GetNext());
        pLcd && pLcd->GetValue() != pControl->GetValue())
        pLcd->SetValue(pControl->GetValue(), true);
    ShowWord(pControl->GetDlgCtrlID(), pControl->GetValue());
}

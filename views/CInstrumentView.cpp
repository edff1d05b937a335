#include "CInstrumentView.h"

#include "CDLcd.h"
#include "CDLed.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "RuntimeClasses.h"
#include "SectionKinds.h"

#include <QString>

using Panels::EKind;
using Panels::ERole;
using Panels::SBinding;
using Panels::SControl;

namespace {

constexpr const char* kNoText = "   ";
// The document's hints: 0 a variation was made or reset, 1 one of its values changed.
constexpr int kHintReset = 0;
constexpr int kHintEdited = 1;

// What a control bound to b shows for the stored value: a field from the stored byte (the
// bits beyond a byte, which only a damaged project holds, are not the field's), a whole value
// as it is, brought into the control's range by the control.
int ShownField(const SBinding& b, int nStored) {
    return b.IsField() ? b.FieldOf(nStored & 0xFF) : nStored;
}

} // namespace

CInstrumentView::CInstrumentView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind,
                                 Panels::EPanel ePanel, PanelBitmaps::EPicture ePicture)
    : CDView(pDoc, nViewType, ePanel, ePicture), m_nSectionKind(nSectionKind),
      m_pTemplate(NewSectionOfKind(nSectionKind)) {}

CInstrumentView::~CInstrumentView() = default;

void CInstrumentView::FindControls() {
    for (const SControl& row : PanelTable().controls) {
        CDCtrl* pControl = Control(row.nId);
        switch (row.binding.eRole) {
        case ERole::Active:
            m_pActiveLed = dynamic_cast<CDLed*>(pControl);
            break;
        case ERole::Init:
            m_pInitLed = dynamic_cast<CDLed*>(pControl);
            break;
        case ERole::InitIndicator:
            m_pInitIndicator = dynamic_cast<CDLcd*>(pControl);
            break;
        case ERole::Name:
            m_pNameLcd = dynamic_cast<CDLcd*>(pControl);
            break;
        case ERole::Number:
            if (row.eKind == EKind::Lcd)
                m_pNumberLcd = dynamic_cast<CDLcd*>(pControl);
            break;
        case ERole::Label:
            // The panel is shared by several kinds; the label says which one this window edits.
            if (auto* pLabel = dynamic_cast<CDLcd*>(pControl))
                pLabel->SetText(Kinds::Info(m_nSectionKind).pszLabel);
            break;
        default:
            break;
        }
    }
}

int CInstrumentView::ShownNumber() const {
    return m_pNumberLcd ? m_pNumberLcd->GetValue() : m_nStartNumber;
}

bool CInstrumentView::GetShownNumber(int& rnNumber) const {
    rnNumber = ShownNumber();
    return true;
}

CSection* CInstrumentView::FindShown() const {
    return GetDocument() ? GetDocument()->FindVariationOfKind(m_nSectionKind, ShownNumber())
                         : nullptr;
}

void CInstrumentView::OnInitialUpdate() {
    CDView::OnInitialUpdate();
    SetUndefinedCaption();
    CreateControls();
    FindControls();
    // The number pair opens on the start number, even where it has no variation.
    ShowValue(m_pNumberLcd, m_nStartNumber);
    if (m_pNumberLcd)
        ShowValue(dynamic_cast<CDDynCtrl*>(m_pNumberLcd->GetNext()), m_nStartNumber);
    if (CSection* pVariation = FindShown())
        Show(pVariation);
}

void CInstrumentView::Show(CSection* pVariation) {
    m_pVariation = pVariation;
    m_bUndefinedShown = false;
    UpdateTitle(pVariation->GetNumber(), pVariation->IsActive());
    RefreshControls();
}

void CInstrumentView::UpdateTitle(int nNumber, bool bActive) {
    if (!m_pVariation)
        return;
    SetCaption(QString::asprintf(" %.4s%03d%c", Kinds::Info(m_nSectionKind).pszLabel, nNumber,
                                 bActive ? '*' : ' '));
}

void CInstrumentView::RefreshControls() {
    if (!m_pVariation)
        return;
    // The mark and caption are the project's; the sound is the compared one while comparing.
    const CSection* pShown = ShownSection(m_pVariation);
    const bool bActive = m_pVariation->IsActive();
    if (m_pActiveLed && m_pActiveLed->GetState() != bActive)
        m_pActiveLed->SetState(bActive);
    UpdateTitle(m_pVariation->GetNumber(), bActive);
    ShowName(m_pNameLcd, pShown);
    for (const SControl& row : PanelTable().controls) {
        const SBinding& b = row.binding;
        if ((b.eRole != ERole::Param && b.eRole != ERole::ParamText) ||
            b.nParam >= pShown->GetParamCount())
            continue;
        const int nField = ShownField(b, pShown->GetParam(b.nParam));
        CDCtrl* pControl = Control(row.nId);
        if (b.eRole == ERole::ParamText) {
            ShowWord(row.nId, nField);
        } else if (auto* pLed = dynamic_cast<CDLed*>(pControl)) {
            if (pLed->GetState() != (nField != 0))
                pLed->SetState(nField != 0);
        } else {
            ShowValue(dynamic_cast<CDDynCtrl*>(pControl), nField);
        }
    }
}

void CInstrumentView::RefreshShown() {
    if (!m_pVariation)
        return;
    // A refused change may have turned the number or pressed Init.
    ShowValue(m_pNumberLcd, m_pVariation->GetNumber());
    if (m_pNumberLcd)
        ShowValue(dynamic_cast<CDDynCtrl*>(m_pNumberLcd->GetNext()), m_pVariation->GetNumber());
    if (m_pInitLed && m_pInitLed->GetState())
        m_pInitLed->SetState(false);
    RefreshControls();
}

void CInstrumentView::ShowWord(unsigned nId, int nField) {
    const SControl* pRow = Panels::FindControl(PanelTable(), nId);
    auto* pLcd = dynamic_cast<CDLcd*>(Control(nId));
    if (!pRow || !pLcd)
        return;
    const char* pszWord = Panels::WordOf(*pRow, nField);
    if (qstrcmp(pLcd->GetText(), pszWord) != 0)
        pLcd->SetText(pszWord);
}

void CInstrumentView::ShowUndefined() {
    if (m_bUndefinedShown)
        return;
    SetUndefinedCaption();
    if (m_pActiveLed)
        m_pActiveLed->SetState(false);
    if (m_pNameLcd)
        m_pNameLcd->SetText(Panels::kUndefinedName);
    // The number pair keeps the number the user chose, and the label its kind.
    for (const SControl& row : PanelTable().controls) {
        const ERole eRole = row.binding.eRole;
        CDCtrl* pControl = Control(row.nId);
        if (eRole == ERole::ParamText) {
            if (auto* pLcd = dynamic_cast<CDLcd*>(pControl))
                pLcd->SetText(kNoText);
        } else if (eRole == ERole::Param || eRole == ERole::None) {
            if (auto* pLed = dynamic_cast<CDLed*>(pControl))
                pLed->SetState(false);
            else
                ShowValue(dynamic_cast<CDDynCtrl*>(pControl), row.nInitial);
        }
    }
    m_bUndefinedShown = true;
}

void CInstrumentView::OnControlChanged(CDCtrl* pControl) {
    const SControl* pRow = Panels::FindControl(PanelTable(), pControl->GetDlgCtrlID());
    if (!pRow)
        return;
    switch (pRow->binding.eRole) {
    case ERole::Init:
        if (static_cast<CDLed*>(pControl)->GetState()) {
            if (m_pInitIndicator)
                m_pInitIndicator->SetText("ON ");
            Initialise();
        } else if (m_pInitIndicator) {
            m_pInitIndicator->SetText("OFF");
        }
        return;
    case ERole::Number:
        if (pControl == m_pNumberLcd) {
            if (CSection* pVariation = FindShown()) {
                Show(pVariation);
            } else {
                m_pVariation = nullptr;
                ShowUndefined();
            }
        }
        return;
    default:
        break;
    }
    // Without a variation the controls still move, but there is nothing to change; a name has
    // nothing to belong to, so the read-out says so again.
    if (!m_pVariation) {
        if (pControl == m_pNameLcd)
            m_pNameLcd->SetText(Panels::kUndefinedName);
        return;
    }
    if (pRow->binding.eRole == ERole::Name)
        ChangeName();
    else if (pRow->binding.eRole == ERole::Param)
        ChangeParam(*pRow, pControl);
}

void CInstrumentView::Initialise() {
    CQuenleyDoc* pDoc = GetDocument();
    const int nNumber = ShownNumber();
    if (!m_pVariation || m_pVariation->GetNumber() != nNumber)
        m_pVariation =
            pDoc->FindOrCreateVariation(m_pVariation ? m_pVariation : m_pTemplate.get(), nNumber);
    if (!m_pVariation)
        return;
    m_bUndefinedShown = false;
    m_pVariation->SetDefaults();
    m_pVariation->SendAll();
    // Resetting a variation the project already had changes the user's data too.
    pDoc->SetModifiedFlag(true);
    UpdateTitle(m_pVariation->GetNumber(), m_pVariation->IsActive());
    RefreshControls();
    pDoc->UpdateAllViews(this, kHintReset, m_pVariation);
}

void CInstrumentView::ChangeName() {
    // The module keeps no instrument names: a rename is the project's alone.
    if (!NameMatches(m_pNameLcd, m_pVariation)) {
        m_pVariation->SetName(m_pNameLcd->GetText());
        GetDocument()->SetModifiedFlag(true);
        GetDocument()->UpdateAllViews(this, kHintEdited, m_pVariation);
    }
    // The stored name keeps its length, so show what was kept.
    ShowName(m_pNameLcd, m_pVariation);
}

void CInstrumentView::ChangeParam(const SControl& row, CDCtrl* pControl) {
    const SBinding& b = row.binding;
    if (b.nParam >= m_pVariation->GetParamCount())
        return;
    const auto* pLed = dynamic_cast<const CDLed*>(pControl);
    auto* pValue = dynamic_cast<CDDynCtrl*>(pControl);
    const int nValue = pLed ? int(pLed->GetState()) : pValue ? pValue->GetValue() : 0;
    const int nOld = m_pVariation->GetParam(b.nParam);
    if (nValue == ShownField(b, nOld))
        return;
    if (!m_pVariation->SetParam(b.nParam, b.IsField() ? b.Replace(nOld, nValue) : nValue))
        return;
    if (row.nPartner)
        ShowValue(dynamic_cast<CDDynCtrl*>(Control(row.nPartner)), nValue);
    if (row.nDisplay)
        ShowWord(row.nDisplay, nValue);
    GetDocument()->SetModifiedFlag(true);
    GetDocument()->UpdateAllViews(this, kHintEdited, m_pVariation);
}

void CInstrumentView::OnUpdate(CDocumentView*, int, CSection* pHint) {
    if (!pHint)
        return;
    if (pHint->GetKind() == m_nSectionKind) {
        if (pHint == m_pVariation)
            RefreshControls();
        else if (pHint->GetNumber() == ShownNumber())
            Show(pHint);
    } else if (pHint->GetKind() == Kinds::kKit && m_pVariation) {
        // A kit that uses this variation may have changed the level it shows.
        if (pHint->GetParam(Kinds::KitParamOfKind(m_nSectionKind)) == m_pVariation->GetNumber())
            RefreshControls();
    }
}

bool CInstrumentView::OnSectionListChanged(int nKind) {
    if (nKind != m_nSectionKind)
        return false;
    CSection* pVariation = FindShown();
    if (!pVariation) {
        m_pVariation = nullptr;
        m_bUndefinedShown = false;
        ShowUndefined();
        return false;
    }
    if (pVariation != m_pVariation)
        Show(pVariation);
    return true;
}

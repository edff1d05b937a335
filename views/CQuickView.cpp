#include "CQuickView.h"

#include "CDLcd.h"
#include "CQuenleyDoc.h"
#include "RuntimeClasses.h"

#include <QString>

using Panels::ERole;

namespace {

constexpr int kBankFactor = Kinds::kKitsPerBank;

int RowKind(int nRow) {
    return Kinds::kKick + nRow;
}

} // namespace

static_assert(CQuickView::kRows == 10);

CQuickView::CQuickView(CQuenleyDoc* pDoc)
    : CDView(pDoc, kViewType, Panels::EPanel::Quick, PanelBitmaps::EPicture::Quick) {
    for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind)
        m_slots[static_cast<size_t>(nKind - Kinds::kFirstKind)].templ.reset(
            NewSectionOfKind(nKind));
}

CQuickView::~CQuickView() = default;

void CQuickView::FindControls() {
    for (const Panels::SControl& row : PanelTable().controls) {
        auto* pLcd = dynamic_cast<CDLcd*>(Control(row.nId));
        const int r = row.binding.nColumn;
        const bool bRow = r >= 0 && r < kRows;
        switch (row.binding.eRole) {
        case ERole::Name:
            m_pNameLcd = pLcd;
            break;
        case ERole::Number:
            m_pNumberLcd = pLcd;
            break;
        case ERole::Bank:
            m_pBankLcd = pLcd;
            break;
        case ERole::RowName:
            if (bRow)
                m_rows[static_cast<size_t>(r)].pName = pLcd;
            break;
        case ERole::KitVariation:
            if (bRow)
                m_rows[static_cast<size_t>(r)].pNumber = pLcd;
            break;
        default:
            break;
        }
    }
}

bool CQuickView::GetShownNumber(int& rnNumber) const {
    rnNumber = m_nStartNumber;
    return true;
}

CSection* CQuickView::RowVariation(int nRow) const {
    return nRow >= 0 && nRow < kRows ? m_slots[static_cast<size_t>(nRow) + 1].pCurrent : nullptr;
}

void CQuickView::SetKit(CSection* pKit) {
    if (pKit == Kit())
        return;
    for (KitViewSlot& slot : m_slots)
        slot.pCurrent = nullptr;
    m_slots[0].pCurrent = pKit;
}

void CQuickView::OnInitialUpdate() {
    CDView::OnInitialUpdate();
    CreateControls();
    FindControls();
    ShowKitNumber();
    CSection* pKit = GetDocument()->FindVariation(m_slots[0].templ.get(), m_nStartNumber);
    if (!pKit) {
        ShowUndefined();
        return;
    }
    SetKit(pKit);
    UpdateTitle();
    RefreshControls();
}

void CQuickView::ShowKitNumber() {
    // The window belongs to this number, so the read-outs show it with or without a kit.
    ShowValue(m_pNumberLcd, m_nStartNumber % kBankFactor);
    ShowValue(m_pBankLcd, m_nStartNumber / kBankFactor);
}

void CQuickView::UpdateTitle() {
    const CSection* pKit = Kit();
    if (!pKit)
        return;
    const int n = pKit->GetNumber();
    SetCaption(QString::asprintf(" i Kit%03d Bank%03d%c", n % kBankFactor, n / kBankFactor,
                                 pKit->IsActive() ? '*' : ' '));
}

void CQuickView::RefreshControls() {
    if (!Kit())
        return;
    UpdateTitle();
    ShowKitNumber();
    ShowName(m_pNameLcd, Kit());
    for (int r = 0; r < kRows; ++r)
        RefreshRow(r);
}

void CQuickView::RefreshRow(int nRow) {
    const CSection* pKit = Kit();
    if (!pKit)
        return;
    const SRow& row = m_rows[static_cast<size_t>(nRow)];
    KitViewSlot& slot = RowSlot(nRow);
    const int nNumber = pKit->GetParam(Kinds::KitParamOfKind(RowKind(nRow)));
    ShowValue(row.pNumber, nNumber);
    slot.pCurrent = GetDocument()->FindVariation(slot.templ.get(), nNumber);
    if (slot.pCurrent)
        ShowName(row.pName, slot.pCurrent);
    else if (row.pName)
        row.pName->SetText(Panels::kUndefinedName);
}

void CQuickView::ShowUndefined() {
    if (m_bUndefinedShown)
        return;
    SetUndefinedCaption();
    if (m_pNameLcd)
        m_pNameLcd->SetText(Panels::kUndefinedKitName);
    for (int r = 0; r < kRows; ++r) {
        const SRow& row = m_rows[static_cast<size_t>(r)];
        if (row.pName)
            row.pName->SetText(Panels::kUndefinedName);
        ShowValue(row.pNumber, 0);
        RowSlot(r).pCurrent = nullptr;
    }
    m_bUndefinedShown = true;
}

void CQuickView::OnUpdate(CDocumentView*, int, CSection* pHint) {
    if (!pHint)
        return;
    if (pHint->GetKind() == Kinds::kKit) {
        if (pHint == Kit()) {
            RefreshControls();
        } else if (pHint->GetNumber() == m_nStartNumber) {
            // A kit made again on this number is the one the window shows.
            SetKit(pHint);
            m_bUndefinedShown = false;
            RefreshControls();
        }
        return;
    }
    const int r = pHint->GetKind() - Kinds::kKick;
    if (!Kit() || r < 0 || r >= kRows)
        return;
    // Only ever shows: a variation is taken up when the kit already uses its number.
    if (pHint == RowSlot(r).pCurrent ||
        pHint->GetNumber() == Kit()->GetParam(Kinds::KitParamOfKind(pHint->GetKind())))
        RefreshRow(r);
}

bool CQuickView::OnSectionListChanged(int nKind) {
    if (nKind == Kinds::kKit) {
        CSection* pKit = GetDocument()->FindVariation(m_slots[0].templ.get(), m_nStartNumber);
        if (pKit && pKit == Kit())
            return true;
        SetKit(pKit);
        if (!pKit) {
            m_bUndefinedShown = false;
            ShowUndefined();
            return false;
        }
        m_bUndefinedShown = false;
        RefreshControls();
        return true;
    }
    const int r = nKind - Kinds::kKick;
    if (r < 0 || r >= kRows)
        return false;
    RefreshRow(r);
    return true;
}

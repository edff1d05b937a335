#pragma once

#include "CDView.h"
#include "KitViewSlot.h"
#include "SectionKinds.h"

#include <array>

class CDLcd;

// The Kit-Info window: one kit's number, bank and name and, per instrument, the variation it
// uses with that variation's name. It only shows; it follows changes made in other windows and
// stays with the kit number it was opened for, showing whichever kit holds that number.
class CQuickView : public CDView {
    Q_OBJECT

public:
    static constexpr int kViewType = 1;
    // Kick ... LFOs, in kind order.
    static constexpr int kRows = Kinds::kLastKind - Kinds::kKick + 1;

    explicit CQuickView(CQuenleyDoc* pDoc);
    ~CQuickView() override;

    void OnInitialUpdate() override;
    CSection* GetVariation() const override { return m_slots[0].pCurrent; }
    // The kit number it was opened for, with or without a kit there.
    bool GetShownNumber(int& rnNumber) const override;
    void OnUpdate(CDocumentView* pSender, int nHint, CSection* pHint) override;
    bool OnSectionListChanged(int nKind) override;

    // The variation row r shows (kick 0 ... LFOs 9), or null.
    CSection* RowVariation(int nRow) const;

private:
    struct SRow {
        CDLcd* pName = nullptr;
        CDLcd* pNumber = nullptr;
    };

    CSection* Kit() const { return m_slots[0].pCurrent; }
    void SetKit(CSection* pKit);
    KitViewSlot& RowSlot(int nRow) { return m_slots[static_cast<size_t>(nRow) + 1]; }
    void FindControls();
    void ShowKitNumber();
    void UpdateTitle();
    void RefreshControls();
    void RefreshRow(int nRow);
    void ShowUndefined();

    // Kit, then kick ... LFOs.
    std::array<KitViewSlot, Kinds::kLastKind> m_slots;
    bool m_bUndefinedShown = false;

    CDLcd* m_pNameLcd = nullptr;
    CDLcd* m_pNumberLcd = nullptr;
    CDLcd* m_pBankLcd = nullptr;
    std::array<SRow, kRows> m_rows{};
};

#pragma once

#include "CDView.h"
#include "KitViewSlot.h"
#include "SectionKey.h"
#include "SectionKinds.h"

#include <array>
#include <optional>

class CDDynCtrl;
class CDLcd;
class CDLed;
class QAction;
class QDropEvent;
class QMimeData;

// The editor of one kit: chooses the kit by bank and number, names, initialises and activates
// it, picks the variation of each instrument the kit uses and sets those variations' levels.
// Every control is found through the kit panel's table by its role and column.
class CQuenleyView : public CDView {
    Q_OBJECT

public:
    static constexpr int kViewType = 2;
    // Kick ... LFOs, in kind order.
    static constexpr int kColumns = Kinds::kLastKind - Kinds::kKick + 1;

    explicit CQuenleyView(CQuenleyDoc* pDoc);
    ~CQuenleyView() override;

    void OnInitialUpdate() override;
    CSection* GetVariation() const override { return m_slots[0].pCurrent; }
    CSection* FollowedKit() const override { return Kit(); }
    // The kit the read-outs are turned to, shown or not.
    bool GetShownNumber(int& rnNumber) const override;
    void OnUpdate(CDocumentView* pSender, int nHint, CSection* pHint) override;
    bool OnSectionListChanged(int nKind) override;

    // The variation column c shows (kick 0 ... LFOs 9), or null.
    CSection* ColumnVariation(int nColumn) const;
    // A column of the shown kit whose variation the project lacks says so, and how to make it.
    QString ToolTipText(unsigned nId) const override;

    // Makes every variation the shown kit uses and the project lacks (the window's right-click
    // menu); the columns then take their levels.
    void CreateMissingSounds();

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    // A variation dragged onto its own kind's column is chosen there, as its knob would choose
    // it.
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dragLeaveEvent(QDragLeaveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void OnLedChanged(CDLed* pLed) override;
    void OnControlChanged(CDCtrl* pControl) override;
    int EditKind() const override { return Kinds::kKit; }
    void RefreshShown() override;

private:
    // A read-out and the knob or fader beside it; the view keeps the two in agreement.
    struct SPair {
        CDLcd* pLcd = nullptr;
        CDDynCtrl* pControl = nullptr;
        int Value() const;
        // Both show nValue, each brought into its own range.
        void Show(int nValue) const;
    };
    struct SColumn {
        SPair level; // the variation's level; the LFO column's speed
        SPair variation;
    };

    CSection* Kit() const { return m_slots[0].pCurrent; }
    // The kit whose name and columns the panel shows: the compared copy while comparing.
    const CSection* ShownKit() const { return Kit() ? ShownSection(Kit()) : nullptr; }
    // A different kit forgets the variations the previous one used.
    void SetKit(CSection* pKit);
    KitViewSlot& ColumnSlot(int nColumn) { return m_slots[static_cast<size_t>(nColumn) + 1]; }
    void FindControls();
    // Kit read-out + 256 x bank read-out.
    int SelectedKitNumber() const;

    void UpdateTitle();
    void RefreshControls();
    void ShowName();
    // The column's selection and level from the kit, without touching any mark.
    void ShowColumn(int nColumn);
    // A column of the shown kit without its variation is dimmed and takes no level; without a
    // kit the panel looks as it was made.
    void ShowConnection(int nColumn);
    // The kit names a variation in the column that the project does not hold.
    bool IsColumnMissing(int nColumn) const;
    void SelectKit();
    void SelectVariation(int nColumn, int nNumber);
    void ChangeLevel(int nColumn, int nLevel);
    void ChangeName();
    bool NameMatches() const;
    void InitKit();
    void ActivateKit();
    void ShowUndefined();
    // The one variation the drag carries, when a kit is shown and a column takes its kind.
    std::optional<SSectionKey> DraggedKey(const QMimeData* pData) const;
    // The column whose strip holds the point of the zoomed panel, or -1.
    int ColumnAt(const QPoint& at) const;
    // The column a drop at the point would go to, or -1.
    int DropColumn(const QDropEvent& event) const;
    // Marks the column a drop would go to over the panel; -1 clears the mark.
    void MarkDropColumn(int nColumn);
    // Marks the project modified and tells the other views about the section.
    void Changed(CSection* pSection);

    std::array<KitViewSlot, Kinds::kLastKind> m_slots;
    bool m_bUndefinedShown = false;

    CDLed* m_pInitLed = nullptr;
    CDLed* m_pActiveLed = nullptr;
    CDLcd* m_pNameLcd = nullptr;
    SPair m_kitNumber;
    SPair m_bank;
    std::array<SColumn, kColumns> m_columns{};
    QAction* m_pCreateMissing = nullptr;
    QWidget* m_pDropMark = nullptr; // made at the first drag
};

#include "CQuenleyView.h"

#include "CDCtrl.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CQuenleyDoc.h"
#include "KitOperations.h"
#include "KitSounds.h"
#include "RuntimeClasses.h"

#include <QAction>
#include <QByteArray>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStatusTipEvent>
#include <QString>

#include <algorithm>

using Panels::ERole;

namespace {

constexpr int kBankFactor = Kinds::kKitsPerBank;

int ColumnKind(int nColumn) {
    return Kinds::kKick + nColumn;
}
int KitParamOfColumn(int nColumn) {
    return Kinds::KitParamOfKind(ColumnKind(nColumn));
}
int LevelParamOfColumn(int nColumn) {
    return Kinds::Info(ColumnKind(nColumn)).nKitLevelParam;
}
// -1 for the kit and for anything that is not a kind.
int ColumnOfKind(int nKind) {
    return nKind >= Kinds::kKick && nKind <= Kinds::kLastKind ? nKind - Kinds::kKick : -1;
}

// The column a drop would go to, over the panel and the column's controls alike.
class CDropMark : public QWidget {
public:
    explicit CDropMark(QWidget* pParent) : QWidget(pParent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void SetLineWidth(int nWidth) { m_nLine = nWidth; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor color = palette().color(QPalette::Highlight);
        QPen pen(color, m_nLine);
        pen.setJoinStyle(Qt::MiterJoin);
        color.setAlpha(48);
        painter.setPen(pen);
        painter.setBrush(color);
        const qreal dInset = m_nLine / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(dInset, dInset, -dInset, -dInset));
    }

private:
    int m_nLine = 2;
};
} // namespace

static_assert(CQuenleyView::kColumns == 10);

CQuenleyView::CQuenleyView(CQuenleyDoc* pDoc)
    : CDView(pDoc, kViewType, Panels::EPanel::Kit, PanelBitmaps::EPicture::Kit) {
    for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind)
        m_slots[static_cast<size_t>(nKind - Kinds::kFirstKind)].templ.reset(
            NewSectionOfKind(nKind));
    m_pCreateMissing = new QAction(tr("Create missing sounds"), this);
    m_pCreateMissing->setStatusTip(
        tr("Make every sound this kit uses that the project lacks, with the default sound"));
    connect(m_pCreateMissing, &QAction::triggered, this, &CQuenleyView::CreateMissingSounds);
    setAcceptDrops(true);
}

CQuenleyView::~CQuenleyView() = default;

int CQuenleyView::SPair::Value() const {
    return pLcd ? pLcd->GetValue() : 0;
}

void CQuenleyView::SPair::Show(int nValue) const {
    // The knob or fader first, then the read-out.
    ShowValue(pControl, nValue);
    ShowValue(pLcd, nValue);
}

void CQuenleyView::SetKit(CSection* pKit) {
    if (pKit == Kit())
        return;
    for (KitViewSlot& slot : m_slots)
        slot.pCurrent = nullptr;
    m_slots[0].pCurrent = pKit;
    // A kit's columns are shown by whoever shows the kit, and only then.
    if (!pKit)
        for (int c = 0; c < kColumns; ++c)
            ShowConnection(c);
}

CSection* CQuenleyView::ColumnVariation(int nColumn) const {
    return nColumn >= 0 && nColumn < kColumns ? m_slots[static_cast<size_t>(nColumn) + 1].pCurrent
                                              : nullptr;
}

void CQuenleyView::FindControls() {
    for (const Panels::SControl& row : PanelTable().controls) {
        CDCtrl* pControl = Control(row.nId);
        if (!pControl)
            continue;
        auto* pLcd = dynamic_cast<CDLcd*>(pControl);
        auto* pValue = dynamic_cast<CDDynCtrl*>(pControl);
        const int c = row.binding.nColumn;
        SPair* pPair = nullptr;
        switch (row.binding.eRole) {
        case ERole::Init:
            m_pInitLed = dynamic_cast<CDLed*>(pControl);
            break;
        case ERole::Active:
            m_pActiveLed = dynamic_cast<CDLed*>(pControl);
            break;
        case ERole::Name:
            m_pNameLcd = pLcd;
            break;
        case ERole::Number:
            pPair = &m_kitNumber;
            break;
        case ERole::Bank:
            pPair = &m_bank;
            break;
        case ERole::KitLevel:
        case ERole::KitVariation:
            if (c >= 0 && c < kColumns)
                pPair = row.binding.eRole == ERole::KitLevel
                            ? &m_columns[static_cast<size_t>(c)].level
                            : &m_columns[static_cast<size_t>(c)].variation;
            break;
        default:
            break;
        }
        if (!pPair)
            continue;
        if (pLcd)
            pPair->pLcd = pLcd;
        else
            pPair->pControl = pValue;
    }
}

bool CQuenleyView::GetShownNumber(int& rnNumber) const {
    if (!m_kitNumber.pLcd || !m_bank.pLcd)
        return CDView::GetShownNumber(rnNumber);
    rnNumber = SelectedKitNumber();
    return true;
}

int CQuenleyView::SelectedKitNumber() const {
    return m_kitNumber.Value() + kBankFactor * m_bank.Value();
}

void CQuenleyView::OnInitialUpdate() {
    CDView::OnInitialUpdate();
    SetUndefinedCaption();
    CreateControls();
    FindControls();
    m_kitNumber.Show(m_nStartNumber % kBankFactor);
    m_bank.Show(m_nStartNumber / kBankFactor);
    CSection* pKit = GetDocument()->FindVariation(m_slots[0].templ.get(), m_nStartNumber);
    if (!pKit)
        return;
    SetKit(pKit);
    UpdateTitle();
    RefreshControls();
}

void CQuenleyView::UpdateTitle() {
    const CSection* pKit = Kit();
    if (!pKit)
        return;
    const int n = pKit->GetNumber();
    SetCaption(QString::asprintf(" Kit%03d Bank%03d%c", n % kBankFactor, n / kBankFactor,
                                 pKit->IsActive() ? '*' : ' '));
}

void CQuenleyView::RefreshControls() {
    CSection* pKit = Kit();
    if (!pKit)
        return;
    if (!m_pActiveLed || m_pActiveLed->GetState() != pKit->IsActive()) {
        UpdateTitle();
        if (m_pActiveLed)
            m_pActiveLed->SetState(pKit->IsActive());
    }
    ShowName();
    for (int c = 0; c < kColumns; ++c)
        ShowColumn(c);
}

void CQuenleyView::RefreshShown() {
    const CSection* pKit = Kit();
    if (!pKit)
        return;
    // A refused change may have turned the kit's number or pressed Init.
    m_kitNumber.Show(pKit->GetNumber() % kBankFactor);
    m_bank.Show(pKit->GetNumber() / kBankFactor);
    if (m_pInitLed && m_pInitLed->GetState())
        m_pInitLed->SetState(false);
    if (m_pActiveLed && m_pActiveLed->GetState() != pKit->IsActive())
        m_pActiveLed->SetState(pKit->IsActive());
    RefreshControls();
}

void CQuenleyView::ShowName() {
    CDView::ShowName(m_pNameLcd, ShownKit());
}

void CQuenleyView::ShowColumn(int nColumn) {
    const CSection* pKit = ShownKit();
    if (!pKit)
        return;
    const SColumn& column = m_columns[static_cast<size_t>(nColumn)];
    KitViewSlot& slot = ColumnSlot(nColumn);
    const int nNumber = pKit->GetParam(KitParamOfColumn(nColumn));
    column.variation.Show(nNumber);
    slot.pCurrent = GetDocument()->FindVariation(slot.templ.get(), nNumber);
    column.level.Show(slot.pCurrent ? slot.pCurrent->GetParam(LevelParamOfColumn(nColumn)) : 0);
    ShowConnection(nColumn);
}

bool CQuenleyView::IsColumnMissing(int nColumn) const {
    return Kit() && !ColumnVariation(nColumn);
}

void CQuenleyView::ShowConnection(int nColumn) {
    const bool bMissing = IsColumnMissing(nColumn);
    const SPair& level = m_columns[static_cast<size_t>(nColumn)].level;
    for (CDCtrl* pControl :
         {static_cast<CDCtrl*>(level.pControl), static_cast<CDCtrl*>(level.pLcd)}) {
        if (!pControl)
            continue;
        const Panels::SControl* pRow = Panels::FindControl(PanelTable(), pControl->GetDlgCtrlID());
        pControl->SetDimmed(bMissing);
        pControl->setEnabled(!bMissing && pRow && !pRow->Has(Panels::kDisabled));
    }
}

QString CQuenleyView::ToolTipText(unsigned nId) const {
    const Panels::SControl* pRow = Panels::FindControl(PanelTable(), nId);
    const CSection* pKit = ShownKit();
    if (!pKit || !pRow || pRow->binding.eRole != ERole::KitLevel)
        return CDView::ToolTipText(nId);
    const int c = pRow->binding.nColumn;
    if (c < 0 || c >= kColumns || !IsColumnMissing(c))
        return CDView::ToolTipText(nId);
    const int nKind = ColumnKind(c);
    const int nNumber = pKit->GetParam(KitParamOfColumn(c));
    const QString strKind = tr(Kinds::KindName(nKind));
    const QString strSound =
        QStringLiteral("%1 %2").arg(strKind).arg(nNumber, 3, 10, QLatin1Char('0'));
    if (nNumber < 0 || nNumber >= Kinds::Info(nKind).nVariations)
        return tr("%1 cannot exist: choose another variation below").arg(strSound);
    return tr("%1 does not exist: Init. it in a %2 window,\nor choose Create missing sounds from "
              "this window's right-click menu")
        .arg(strSound, strKind);
}

void CQuenleyView::OnControlChanged(CDCtrl* pControl) {
    // Every value control of the kit panel has a read-out; the knobs and faders come here as it.
    auto* pLcd = dynamic_cast<CDLcd*>(pControl);
    const Panels::SControl* pRow =
        pLcd ? Panels::FindControl(PanelTable(), pLcd->GetDlgCtrlID()) : nullptr;
    if (!pRow)
        return;
    const int c = pRow->binding.nColumn;
    switch (pRow->binding.eRole) {
    case ERole::Number:
    case ERole::Bank:
        SelectKit();
        return;
    default:
        break;
    }
    if (!Kit()) {
        // A name has no kit to belong to, so the read-out says so again.
        if (pLcd == m_pNameLcd)
            m_pNameLcd->SetText(Panels::kUndefinedKitName);
        return;
    }
    switch (pRow->binding.eRole) {
    case ERole::Name:
        ChangeName();
        break;
    case ERole::KitVariation:
        if (c >= 0 && c < kColumns)
            SelectVariation(c, pLcd->GetValue());
        break;
    case ERole::KitLevel:
        if (c >= 0 && c < kColumns)
            ChangeLevel(c, pLcd->GetValue());
        break;
    default:
        break;
    }
}

void CQuenleyView::SelectKit() {
    CSection* pKit = GetDocument()->FindVariation(m_slots[0].templ.get(), SelectedKitNumber());
    SetKit(pKit);
    if (pKit) {
        UpdateTitle();
        RefreshControls();
        m_bUndefinedShown = false;
    } else if (!m_bUndefinedShown) {
        ShowUndefined();
    }
}

void CQuenleyView::SelectVariation(int nColumn, int nNumber) {
    if (KitOperations::ChooseVariation(*GetDocument(), *Kit(), ColumnKind(nColumn), nNumber, this))
        ShowColumn(nColumn);
}

void CQuenleyView::ChangeLevel(int nColumn, int nLevel) {
    CSection* pVariation = ColumnSlot(nColumn).pCurrent;
    const int nParam = LevelParamOfColumn(nColumn);
    if (!pVariation) {
        // Nothing took the level, so none is shown.
        m_columns[static_cast<size_t>(nColumn)].level.Show(0);
        return;
    }
    if (nLevel == pVariation->GetParam(nParam) || !pVariation->SetParam(nParam, nLevel))
        return;
    Changed(pVariation);
}

void CQuenleyView::ChangeName() {
    CSection* pKit = Kit();
    if (m_pNameLcd && !NameMatches()) {
        pKit->SetName(m_pNameLcd->GetText());
        Changed(pKit);
    }
    // The stored name keeps its length, so show what was kept.
    ShowName();
}

bool CQuenleyView::NameMatches() const {
    return CDView::NameMatches(m_pNameLcd, Kit());
}

void CQuenleyView::InitKit() {
    CSection* pKit = KitOperations::Init(*GetDocument(), SelectedKitNumber(), this);
    if (!pKit)
        return;
    SetKit(pKit);
    m_bUndefinedShown = false;
    UpdateTitle();
    RefreshControls();
}

void CQuenleyView::ActivateKit() {
    if (m_pActiveLed)
        m_pActiveLed->SetState(true);
    if (KitOperations::Activate(*GetDocument(), *Kit(), this))
        UpdateTitle();
}

void CQuenleyView::ShowUndefined() {
    if (m_bUndefinedShown)
        return;
    SetUndefinedCaption();
    if (m_pActiveLed)
        m_pActiveLed->SetState(false);
    if (m_pNameLcd)
        m_pNameLcd->SetText(Panels::kUndefinedKitName);
    for (const SColumn& column : m_columns) {
        column.level.Show(0);
        column.variation.Show(0);
    }
    for (size_t i = 1; i < m_slots.size(); ++i)
        m_slots[i].pCurrent = nullptr;
    for (int c = 0; c < kColumns; ++c)
        ShowConnection(c);
    m_bUndefinedShown = true;
}

void CQuenleyView::contextMenuEvent(QContextMenuEvent* pEvent) {
    // A value typed and not yet confirmed may change what the kit lacks.
    CommitPendingEdit();
    const CSection* pKit = Kit();
    m_pCreateMissing->setEnabled(pKit && !KitSounds::Missing(*GetDocument(), *pKit).empty());
    QMenu menu(this);
    menu.addAction(m_pCreateMissing);
    menu.exec(pEvent->globalPos());
}

std::optional<SSectionKey> CQuenleyView::DraggedKey(const QMimeData* pData) const {
    if (!Kit() || !pData || !pData->hasFormat(SectionKeys::kMimeType))
        return std::nullopt;
    const std::vector<SSectionKey> keys = SectionKeys::Decode(pData->data(SectionKeys::kMimeType));
    // A column uses one variation, so several make no choice.
    if (keys.size() != 1 || ColumnOfKind(keys.front().nKind) < 0)
        return std::nullopt;
    return keys.front();
}

int CQuenleyView::ColumnAt(const QPoint& at) const {
    for (int c = 0; c < kColumns; ++c) {
        const Panels::SRect strip = Panels::KitColumnStrip(c);
        const QRect rPanel(strip.x, strip.y, strip.nWidth, strip.nHeight);
        if (CDCtrl::ZoomedRect(rPanel, Zoom() / 100.0).contains(at))
            return c;
    }
    return -1;
}

int CQuenleyView::DropColumn(const QDropEvent& event) const {
    const std::optional<SSectionKey> key = DraggedKey(event.mimeData());
    const int c = key ? ColumnAt(event.position().toPoint()) : -1;
    return c >= 0 && ColumnKind(c) == key->nKind ? c : -1;
}

void CQuenleyView::MarkDropColumn(int nColumn) {
    if (nColumn < 0) {
        if (m_pDropMark)
            m_pDropMark->hide();
        return;
    }
    if (!m_pDropMark)
        m_pDropMark = new CDropMark(this);
    const Panels::SRect strip = Panels::KitColumnStrip(nColumn);
    auto* pMark = static_cast<CDropMark*>(m_pDropMark);
    pMark->SetLineWidth(std::max(2, 2 * Zoom() / 100));
    pMark->setGeometry(CDCtrl::ZoomedRect(QRect(strip.x, strip.y, strip.nWidth, strip.nHeight),
                                          Zoom() / 100.0));
    pMark->raise();
    pMark->show();
}

void CQuenleyView::dragEnterEvent(QDragEnterEvent* pEvent) {
    // Taken for the moves to come, which say where it can land. Refused, the drag goes on to
    // the windows around this one: the main window opens files dropped here.
    if (DraggedKey(pEvent->mimeData()))
        pEvent->acceptProposedAction();
    else
        pEvent->ignore();
}

void CQuenleyView::dragMoveEvent(QDragMoveEvent* pEvent) {
    const int c = DropColumn(*pEvent);
    MarkDropColumn(c);
    if (c >= 0)
        pEvent->acceptProposedAction();
    else
        pEvent->ignore();
}

void CQuenleyView::dragLeaveEvent(QDragLeaveEvent*) {
    MarkDropColumn(-1);
}

void CQuenleyView::dropEvent(QDropEvent* pEvent) {
    MarkDropColumn(-1);
    // A kit number typed and not yet confirmed may choose another kit first.
    CommitPendingEdit();
    const int c = DropColumn(*pEvent);
    if (c < 0) {
        pEvent->ignore();
        return;
    }
    pEvent->acceptProposedAction();
    if (IsComparing())
        emit CompareEndWanted();
    const int nNumber = DraggedKey(pEvent->mimeData())->nNumber;
    const CSection& kit = *Kit();
    const int nKit = kit.GetNumber();
    if (nNumber == kit.GetParam(KitParamOfColumn(c)))
        return;
    SelectVariation(c, nNumber);
    if (nNumber != kit.GetParam(KitParamOfColumn(c)))
        return;
    // Goes up to the main window's status bar, as a status tip does.
    QStatusTipEvent tip(tr("Kit%1 Bank%2 now uses %3 %4")
                            .arg(nKit % kBankFactor, 3, 10, QLatin1Char('0'))
                            .arg(nKit / kBankFactor, 3, 10, QLatin1Char('0'))
                            .arg(tr(Kinds::KindName(ColumnKind(c))))
                            .arg(nNumber, 3, 10, QLatin1Char('0')));
    QCoreApplication::sendEvent(this, &tip);
}

void CQuenleyView::CreateMissingSounds() {
    CommitPendingEdit();
    if (IsComparing())
        emit CompareEndWanted();
    // The document tells every window, this one too, which then shows the columns connected.
    if (const CSection* pKit = Kit())
        KitSounds::CreateMissing(*GetDocument(), *pKit);
}

void CQuenleyView::Changed(CSection* pSection) {
    GetDocument()->SetModifiedFlag(true);
    GetDocument()->UpdateAllViews(this, 0, pSection);
}

void CQuenleyView::OnUpdate(CDocumentView*, int, CSection* pHint) {
    if (!pHint)
        return;
    if (pHint->GetKind() == Kinds::kKit) {
        if (pHint == Kit()) {
            RefreshControls();
        } else if (pHint->GetNumber() == SelectedKitNumber()) {
            SetKit(pHint);
            // Or a later number without a kit would leave this kit on the panel.
            m_bUndefinedShown = false;
            UpdateTitle();
            RefreshControls();
        }
        return;
    }
    const int c = ColumnOfKind(pHint->GetKind());
    if (!Kit() || c < 0)
        return;
    // The document has already made the kit take up a variation under the number shown.
    if (pHint == ColumnSlot(c).pCurrent ||
        pHint->GetNumber() == m_columns[static_cast<size_t>(c)].variation.Value())
        ShowColumn(c);
}

bool CQuenleyView::OnSectionListChanged(int nKind) {
    if (nKind == Kinds::kKit) {
        CSection* pKit = GetDocument()->FindVariation(m_slots[0].templ.get(), SelectedKitNumber());
        if (pKit && pKit == Kit())
            return true;
        SetKit(pKit);
        if (pKit) {
            UpdateTitle();
            RefreshControls();
            m_bUndefinedShown = false;
            return true;
        }
        ShowUndefined();
        return false;
    }
    const int c = ColumnOfKind(nKind);
    if (c < 0 || !Kit())
        return false;
    ShowColumn(c);
    return true;
}

void CQuenleyView::OnLedChanged(CDLed* pLed) {
    if (pLed == m_pInitLed) {
        if (pLed->GetState())
            InitKit();
    } else if (pLed == m_pActiveLed) {
        if (Kit()) {
            ActivateKit();
        } else {
            m_bUndefinedShown = false;
            ShowUndefined();
        }
    }
}

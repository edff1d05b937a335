#include "CDView.h"

#include "ArtIcons.h"
#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CDPoti.h"
#include "CMsgEvent.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CViewFrame.h"
#include "ControlAccessible.h"
#include "ControlMessages.h"
#include "QuenleyMessage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStatusTipEvent>

using namespace Panels;

CDView::CDView(CQuenleyDoc* pDoc, int nViewType, EPanel ePanel, PanelBitmaps::EPicture ePicture)
    : m_pDoc(pDoc), m_pPanel(&Panel(ePanel)), m_nViewType(nViewType) {
    // The panel paints every pixel; nothing behind it needs erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    // The frame shows the view's icon, as it shows its caption.
    setWindowIcon(ArtIcons::ViewIcon(nViewType));
    ControlAccessible::Install();
    m_gestureEnd.setSingleShot(true);
    connect(&m_gestureEnd, &QTimer::timeout, this, &CDView::EndGesture);
    if (!SetPanelBitmap(PanelBitmaps::CreateBitmap(ePicture))) {
        m_nPanelWidth = m_pPanel->nWidth;
        m_nPanelHeight = m_pPanel->nHeight;
    }
    // A frame dragged smaller shows part of the panel; it never shows more than the panel.
    setMaximumSize(m_nPanelWidth, m_nPanelHeight);
    resize(m_nPanelWidth, m_nPanelHeight);
    if (m_pDoc)
        m_pDoc->AddView(this);
}

CDView::~CDView() {
    if (m_pDoc)
        m_pDoc->RemoveView(this);
    m_byId.clear();
    m_controls.clear();
}

void CDView::DetachDocument() {
    if (m_pDoc)
        m_pDoc->RemoveView(this);
    m_pDoc = nullptr;
}

bool CDView::SetPanelBitmap(const QImage& bitmap) {
    if (bitmap.isNull())
        return false;
    m_panelBitmap = bitmap;
    m_nPanelWidth = bitmap.width();
    m_nPanelHeight = bitmap.height();
    return true;
}

void CDView::SetVariationNumber(int nNumber) {
    m_nStartNumber = nNumber;
}

void CDView::OnInitialUpdate() {}

bool CDView::GetWindowPlacement(SWindowPlacement& placement) const {
    for (const QWidget* p = parentWidget(); p; p = p->parentWidget())
        if (const auto* pFrame = dynamic_cast<const CViewFrame*>(p))
            return pFrame->GetWindowPlacement(placement);
    return false;
}

bool CDView::GetShownNumber(int& rnNumber) const {
    if (CDocumentView::GetShownNumber(rnNumber))
        return true;
    rnNumber = m_nStartNumber;
    return true;
}

void CDView::OnUpdate(CDocumentView*, int, CSection*) {}

bool CDView::OnSectionListChanged(int) {
    return false;
}

void CDView::CommitPendingEdit() {
    if (auto* pLcd = dynamic_cast<CDLcd*>(focusWidget()); pLcd && pLcd->parentWidget() == this)
        pLcd->CommitEditing();
}

CDCtrl* CDView::Control(unsigned nId) const {
    const auto it = m_byId.find(nId);
    return it == m_byId.end() ? nullptr : it->second;
}

QSize CDView::sizeHint() const {
    return ZoomedPanelSize();
}

QSize CDView::ZoomedPanelSize() const {
    // The controls' rule: the screen pixels whose centres fall on the panel.
    return CDCtrl::ZoomedRect(QRect(0, 0, m_nPanelWidth, m_nPanelHeight), m_nZoom / 100.0).size();
}

bool CDView::SetZoom(int nPercent) {
    if (nPercent < kMinZoom || nPercent > kMaxZoom)
        return false;
    if (nPercent == m_nZoom)
        return true;
    m_nZoom = nPercent;
    const QSize size = ZoomedPanelSize();
    setMaximumSize(size);
    resize(size);
    ApplyZoomToControls();
    updateGeometry();
    update();
    return true;
}

void CDView::ApplyZoomToControls() {
    for (const auto& pControl : m_controls)
        pControl->SetZoom(m_nZoom / 100.0);
}

void CDView::InstallToolTips() {
    for (const auto& pControl : m_controls) {
        const unsigned nId = pControl->GetDlgCtrlID();
        pControl->SetToolTipSource([this, nId] { return ToolTipText(nId); });
        pControl->setAccessibleName(FullName(nId));
    }
    SayWhetherShown();
}

QString CDView::FullName(unsigned nId, ENameUse eUse) const {
    const SControl* pRow = FindControl(*m_pPanel, nId);
    if (!pRow)
        return {};
    // The kit and kit-info windows show the kit; each instrument window its own kind.
    const int nKind = m_nViewType <= 2 ? 1 : m_nViewType - 1;
    return QString::fromStdString(Panels::FullName(*m_pPanel, *pRow, nKind, eUse));
}

QString CDView::ControlName(unsigned nId) const {
    const SControl* pRow = FindControl(*m_pPanel, nId);
    if (!pRow)
        return {};
    // A kit column's controls are read with the instrument over the column.
    QString strName = QString::fromLatin1(pRow->pszLabel);
    const int nColumn = pRow->binding.nColumn;
    switch (pRow->binding.eRole) {
    case ERole::KitVariation:
        strName = QStringLiteral("%1 Variation").arg(QLatin1String(ColumnLabel(nColumn)));
        break;
    case ERole::KitLevel: {
        // The read-out over the column says what its level stands for (the LFOs' is a speed).
        const SControl* pLcdRow = pRow->eKind == EKind::Lcd || !pRow->nPartner
                                      ? pRow
                                      : FindControl(*m_pPanel, pRow->nPartner);
        strName = QStringLiteral("%1 %2").arg(QLatin1String(ColumnLabel(nColumn)),
                                              QLatin1String(pLcdRow ? pLcdRow->pszLabel : ""));
        break;
    }
    case ERole::RowName:
        strName = QString::fromLatin1(ColumnLabel(nColumn));
        break;
    case ERole::Name:
        if (strName.isEmpty())
            strName = QStringLiteral("Name");
        break;
    case ERole::Number:
        if (strName.isEmpty())
            strName = QStringLiteral("Variation");
        break;
    default:
        break;
    }
    return strName;
}

QString CDView::ToolTipText(unsigned nId) const {
    const SControl* pRow = FindControl(*m_pPanel, nId);
    CDCtrl* pControl = Control(nId);
    if (!pRow || !pControl)
        return {};
    const auto Trimmed = [](const CDCtrl* pCtrl) {
        const auto* pLcd = dynamic_cast<const CDLcd*>(pCtrl);
        return pLcd ? QString::fromLatin1(pLcd->GetText()).trimmed() : QString();
    };
    const QString strName = FullName(nId, ENameUse::ToolTip);

    // The value as the panel shows it: the read-out of a pair, the word display of a selector
    // or switch, the control's own text, or the lamp's or knob's state.
    QString strValue;
    if (pRow->eKind == EKind::Lcd)
        strValue = Trimmed(pControl);
    else if (const CDCtrl* pDisplay = pRow->nDisplay ? Control(pRow->nDisplay) : nullptr)
        strValue = Trimmed(pDisplay);
    else if (dynamic_cast<const CDLcd*>(pControl->GetNext()))
        strValue = Trimmed(pControl->GetNext());
    else if (const auto* pLed = dynamic_cast<const CDLed*>(pControl))
        strValue = pLed->GetState() ? QStringLiteral("ON") : QStringLiteral("OFF");
    else if (auto* pValue = dynamic_cast<CDDynCtrl*>(pControl))
        strValue = QString::number(pValue->GetValue());

    if (strName.isEmpty())
        return strValue;
    return QStringLiteral("%1: %2").arg(strName, strValue);
}

bool CDView::CreateControls() {
    using PanelBitmaps::EPicture;
    // One picture per strip for the whole window; each control still gets its own copy, and a
    // picture that cannot be made is tried, and reported, once.
    struct SStrip {
        EPicture ePicture;
        QImage image{};
        bool bTried = false;
    };
    SStrip strips[] = {{EPicture::Led}, {EPicture::LcdFont}, {EPicture::Knob}, {EPicture::Fader}};
    bool bReported = false;
    const auto Strip = [&](EKind eKind) -> QImage {
        SStrip& strip = strips[static_cast<int>(eKind == EKind::Led    ? 0
                                                : eKind == EKind::Lcd  ? 1
                                                : eKind == EKind::Knob ? 2
                                                                       : 3)];
        if (!strip.bTried) {
            strip.bTried = true;
            strip.image = PanelBitmaps::CreateBitmap(strip.ePicture, false);
            if (strip.image.isNull() && !bReported) {
                bReported = true;
                QuenleyMessage::Show(QString::fromLatin1(PanelBitmaps::kNoMemoryText));
            }
        }
        return strip.image;
    };

    bool bComplete = true;
    for (const SControl& row : m_pPanel->controls) {
        std::unique_ptr<CDCtrl> pControl;
        bool bCreated = false;
        switch (row.eKind) {
        case EKind::Led: {
            auto pLed = std::make_unique<CDLed>();
            bCreated = pLed->Create(this, row.nId, Strip(row.eKind), row.x, row.y,
                                    PanelBitmaps::kLedFrames, false);
            if (row.Has(kReadOnly))
                pLed->SetReadOnly();
            pLed->SetMomentary(row.Has(kMomentary));
            ControlAccessible::SetButton(pLed.get(), row.binding.eRole == ERole::Active ||
                                                         row.binding.eRole == ERole::Init);
            pControl = std::move(pLed);
            break;
        }
        case EKind::Lcd: {
            auto pLcd = std::make_unique<CDLcd>();
            bCreated = pLcd->Create(this, row.nId, Strip(row.eKind), row.x, row.y,
                                    PanelBitmaps::kLcdGlyphs, row.nCells, m_pPanel->nLcdGap, false);
            if (bCreated) {
                connect(pLcd.get(), &CDLcd::EntryDropped, this,
                        [this, nId = row.nId] { SayRange(nId); });
                pLcd->SetRange(row.nMin, row.nMax);
                if (row.Has(kNumeric)) {
                    pLcd->SetNumeric();
                    pLcd->SetValue(row.nInitial, true);
                } else if (row.pszInitial) {
                    pLcd->SetText(row.pszInitial);
                }
            }
            pControl = std::move(pLcd);
            break;
        }
        case EKind::Knob: {
            auto pKnob = std::make_unique<CDPoti>();
            bCreated = pKnob->Create(this, row.nId, Strip(row.eKind), row.x, row.y,
                                     PanelBitmaps::kKnobFrames, false);
            pKnob->SetRange(row.nMin, row.nMax);
            pKnob->SetValue(row.nInitial, true);
            pControl = std::move(pKnob);
            break;
        }
        case EKind::Fader: {
            auto pFader = std::make_unique<CDFader>();
            bCreated = pFader->Create(this, row.nId, Strip(row.eKind), row.x, row.y,
                                      PanelBitmaps::kFaderCapHeight, false);
            pFader->SetRange(row.nMin, row.nMax);
            pFader->SetValue(row.nInitial, true);
            pControl = std::move(pFader);
            break;
        }
        }
        if (!bCreated) {
            bComplete = false;
            continue;
        }
        if (row.Has(kDisabled))
            pControl->setEnabled(false);
        pControl->installEventFilter(this);
        m_byId[row.nId] = pControl.get();
        m_controls.push_back(std::move(pControl));
    }
    for (const SControl& row : m_pPanel->controls) {
        CDCtrl* pControl = Control(row.nId);
        CDCtrl* pPartner = row.nPartner ? Control(row.nPartner) : nullptr;
        if (pControl && pPartner)
            pControl->SetNext(pPartner);
    }
    InstallToolTips();
    ApplyZoomToControls();
    return bComplete;
}

void CDView::SetUndefinedCaption() {
    SetCaption(QStringLiteral(" Undefined"));
}

void CDView::SetCaption(const QString& strCaption) {
    m_strCaption = strCaption;
    setWindowTitle(m_pCompared ? strCaption + ComparedSuffix() : strCaption);
    SayWhetherShown();
}

QString CDView::ComparedSuffix() {
    return tr(" - saved values, read-only");
}

void CDView::SetCompared(const CSection* pShown) {
    if (pShown == m_pCompared)
        return;
    m_pCompared = pShown;
    SetCaption(m_strCaption);
    RefreshShown();
}

void CDView::SayWhetherShown() {
    // Whoever reads the controls without seeing the panel hears that they stand for nothing,
    // or for values that cannot be changed now.
    const bool bUndefined = m_strCaption == QLatin1String(" Undefined");
    const QString strDescription =
        m_pCompared  ? tr("Saved values, read-only")
        : bUndefined ? (m_nViewType <= 2 ? tr("No kit shown") : tr("No variation shown"))
                     : QString();
    for (const auto& pControl : m_controls)
        pControl->setAccessibleDescription(strDescription);
}

void CDView::SayRange(unsigned nId) {
    const auto* pLcd = ControlAs<CDLcd>(nId);
    if (!pLcd)
        return;
    const QString strName = ControlName(nId);
    const QString strText =
        strName.isEmpty()
            ? tr("The read-out takes %1 to %2.").arg(pLcd->GetMin()).arg(pLcd->GetMax())
            : tr("%1 takes %2 to %3.").arg(strName).arg(pLcd->GetMin()).arg(pLcd->GetMax());
    // Goes up to the main window's status bar, as a status tip does.
    QStatusTipEvent tip(strText);
    QCoreApplication::sendEvent(this, &tip);
}

void CDView::ShowValue(CDDynCtrl* pControl, int nValue) {
    if (!pControl)
        return;
    const int n = qBound(pControl->GetMin(), nValue, pControl->GetMax());
    if (pControl->GetValue() != n)
        pControl->SetValue(n, true);
}

void CDView::ShowName(CDLcd* pLcd, const CSection* pSection) {
    if (!pLcd || !pSection || !pSection->GetName())
        return;
    QByteArray text(pLcd->GetLength(), ' ');
    const char* pszName = pSection->GetName();
    for (int i = 0; i < text.size() && pszName[i]; ++i)
        text[i] = pszName[i];
    pLcd->SetText(text.constData());
}

bool CDView::NameMatches(const CDLcd* pLcd, const CSection* pSection) {
    if (!pLcd || !pSection || !pSection->GetName())
        return true;
    const char* pszShown = pLcd->GetText();
    const char* pszName = pSection->GetName();
    for (; *pszShown && *pszName; ++pszShown, ++pszName)
        if (*pszShown != *pszName)
            return false;
    return true;
}

void CDView::OnLedChanged(CDLed* pLed) {
    OnControlChanged(pLed);
}

void CDView::OnLcdChanged(CDLcd* pLcd) {
    if (auto* pPartner = dynamic_cast<CDDynCtrl*>(pLcd->GetNext())) {
        const int nValue = pLcd->GetValue();
        if (pPartner->GetValue() != nValue)
            pPartner->SetValue(nValue, true);
    }
    OnControlChanged(pLcd);
}

void CDView::OnKnobChanged(CDDynCtrl* pControl) {
    auto* pLcd = dynamic_cast<CDLcd*>(pControl->GetNext());
    if (!pLcd) {
        OnControlChanged(pControl);
        return;
    }
    const int nValue = pControl->GetValue();
    if (pLcd->GetValue() == nValue)
        return;
    pLcd->SetValue(nValue, true);
    OnControlChanged(pLcd);
}

void CDView::OnControlChanged(CDCtrl*) {}

QString CDView::EditName(const CDCtrl* pControl) const {
    const SControl* pRow = FindControl(*m_pPanel, pControl->GetDlgCtrlID());
    if (!pRow)
        return QStringLiteral("%1");
    if (pRow->binding.eRole == ERole::Name)
        return QStringLiteral("%1 Name");
    QString strLabel = QString::fromLatin1(pRow->pszLabel);
    // A read-out and its knob may say different halves: "Variation" below the "Kick" knob.
    const SControl* pPartner = pRow->nPartner ? FindControl(*m_pPanel, pRow->nPartner) : nullptr;
    if (pPartner && *pPartner->pszLabel && strLabel != QLatin1String(pPartner->pszLabel)) {
        const bool bLcd = pRow->eKind == EKind::Lcd;
        strLabel = QStringLiteral("%1 %2").arg(
            QString::fromLatin1(bLcd ? pPartner->pszLabel : pRow->pszLabel),
            QString::fromLatin1(bLcd ? pRow->pszLabel : pPartner->pszLabel));
    }
    return QStringLiteral("%1 ") + strLabel;
}

int CDView::EditKind() const {
    const CSection* pSection = GetVariation();
    return pSection ? pSection->GetKind() : 0;
}

void CDView::FocusControl() {
    QWidget* pLast = focusWidget();
    if (pLast && pLast != this && pLast->isEnabled() && pLast->isVisibleTo(this))
        pLast->setFocus(Qt::ShortcutFocusReason);
    else
        focusNextPrevChild(true);
}

bool CDView::focusNextPrevChild(bool bNext) {
    const auto nCount = static_cast<std::ptrdiff_t>(m_controls.size());
    if (nCount == 0)
        return QWidget::focusNextPrevChild(bNext);
    const QWidget* pFocus = focusWidget();
    std::ptrdiff_t nAt = -1;
    for (std::ptrdiff_t i = 0; i < nCount; ++i)
        if (m_controls[size_t(i)].get() == pFocus)
            nAt = i;
    // From outside the controls the first (Shift+Tab: the last) is next.
    if (nAt < 0)
        nAt = bNext ? nCount - 1 : 0;
    for (std::ptrdiff_t nStep = 1; nStep <= nCount; ++nStep) {
        const std::ptrdiff_t i = ((nAt + (bNext ? nStep : -nStep)) % nCount + nCount) % nCount;
        CDCtrl* pControl = m_controls[size_t(i)].get();
        if (!pControl->isEnabled() || !pControl->isVisibleTo(this) ||
            !(pControl->focusPolicy() & Qt::TabFocus))
            continue;
        pControl->setFocus(bNext ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        for (QWidget* p = parentWidget(); p; p = p->parentWidget())
            if (auto* pArea = qobject_cast<QScrollArea*>(p)) {
                pArea->ensureWidgetVisible(pControl, 8, 8);
                break;
            }
        return true;
    }
    return false;
}

bool CDView::eventFilter(QObject* pWatched, QEvent* pEvent) {
    // Global, so steps of two windows on one project never merge.
    static quint64 s_nGestures = 0;
    constexpr qint64 kRunMs = 1000;
    bool bRun = false;
    // A change made through an assistive tool is a gesture of its own, as a click is.
    if (pEvent->type() == ControlAccessible::AssistedChangeEvent()) {
        EndGesture();
        m_nGesture = ++s_nGestures;
        m_pRunControl = nullptr;
        return QWidget::eventFilter(pWatched, pEvent);
    }
    // The compared values are looked at, not changed: the input that would change them goes
    // nowhere, while Tab still moves between the controls.
    if (m_pCompared) {
        switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        case QEvent::KeyPress: {
            const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
            return nKey != Qt::Key_Tab && nKey != Qt::Key_Backtab;
        }
        default:
            break;
        }
    }
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        break;
    case QEvent::MouseButtonRelease:
        // Once the control has handled the release too (a lamp that springs back).
        if (m_bGestureChanged)
            m_gestureEnd.start(0);
        return QWidget::eventFilter(pWatched, pEvent);
    case QEvent::Wheel:
        // A read-out hands the wheel to its knob or fader, whose run it is.
        if (auto* pLcd = qobject_cast<CDLcd*>(pWatched); pLcd && pLcd->IsNumeric()) {
            auto* pPartner = dynamic_cast<CDDynCtrl*>(pLcd->GetNext());
            if (pPartner && pPartner->isEnabled())
                return QWidget::eventFilter(pWatched, pEvent);
        }
        bRun = true;
        break;
    case QEvent::KeyPress:
        switch (static_cast<QKeyEvent*>(pEvent)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            bRun = true;
            break;
        default:
            break;
        }
        break;
    default:
        return QWidget::eventFilter(pWatched, pEvent);
    }
    // A monotonic clock: a wall clock set back or forward would join or split runs.
    if (!bRun || pWatched != m_pRunControl || !m_runClock.isValid() ||
        m_runClock.elapsed() > kRunMs) {
        EndGesture();
        m_nGesture = ++s_nGestures;
    }
    m_pRunControl = bRun ? pWatched : nullptr;
    m_runClock.start();
    return QWidget::eventFilter(pWatched, pEvent);
}

bool CDView::event(QEvent* pEvent) {
    CMsgEvent* pMsg = Msg::From(pEvent);
    const unsigned nMsg = pMsg ? pMsg->Message() : 0;
    if (nMsg != WM_DLED_CHANGED && nMsg != WM_DLCD_CHANGED && nMsg != WM_DPOTI_CHANGED &&
        nMsg != WM_DFADER_CHANGED)
        return QWidget::event(pEvent);
    auto* pControl = reinterpret_cast<CDCtrl*>(pMsg->LParam());
    // A change that came past the input refused while comparing (an assistive tool's) is put
    // back, and the project never hears of it.
    if (m_pCompared) {
        RefreshShown();
        pMsg->SetResult(0);
        return true;
    }
    // Whatever a control's change does to the project is one step of its history, named after
    // the control; the changes of one gesture on that control merge into it.
    CQuenleyDoc* pDoc = m_pDoc;
    if (pDoc)
        pDoc->BeginEdit();
    if (nMsg == WM_DLED_CHANGED)
        OnLedChanged(static_cast<CDLed*>(pControl));
    else if (nMsg == WM_DLCD_CHANGED)
        OnLcdChanged(static_cast<CDLcd*>(pControl));
    else
        OnKnobChanged(static_cast<CDDynCtrl*>(pControl));
    if (pDoc)
        pDoc->EndEdit(EditName(pControl), EditKind(), m_nGesture << 32 | pControl->GetDlgCtrlID());
    NoteGestureChange(pControl->GetDlgCtrlID());
    pMsg->SetResult(0);
    return true;
}

void CDView::NoteGestureChange(unsigned nId) {
    m_bGestureChanged = true;
    m_nChangedId = nId;
    // A drag ends with its release; the changes one event makes (a press and its spring-back)
    // end together.
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        m_gestureEnd.start(m_pRunControl ? kRunQuietMs : 0);
}

void CDView::EndGesture() {
    m_gestureEnd.stop();
    if (!m_bGestureChanged)
        return;
    m_bGestureChanged = false;
    emit GestureEnded(m_nChangedId);
}

void CDView::paintEvent(QPaintEvent* pEvent) {
    QPainter painter(this);
    if (m_panelBitmap.isNull()) {
        painter.fillRect(pEvent->rect(), palette().window());
        return;
    }
    if (m_nZoom != 100) {
        PaintZoomed(painter, pEvent->rect());
        return;
    }
    // Unscaled, as the picture was drawn; on dense screens each pixel becomes a block.
    painter.drawImage(QRect(0, 0, m_nPanelWidth, m_nPanelHeight), m_panelBitmap);
}

void CDView::PaintZoomed(QPainter& painter, const QRect& rDirty) {
    // Only the part to repaint is magnified; the controls magnify their own pictures alike.
    const QRect rPart = rDirty.intersected(QRect(QPoint(0, 0), ZoomedPanelSize()));
    if (rPart.isEmpty())
        return;
    painter.drawImage(rPart.topLeft(),
                      CDCtrl::Magnify(m_panelBitmap, QPoint(0, 0), rPart, m_nZoom / 100.0));
}

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
#include "ControlMessages.h"
#include "QuenleyMessage.h"

#include <QPaintEvent>
#include <QPainter>

using namespace Panels;

CDView::CDView(CQuenleyDoc* pDoc, int nViewType, EPanel ePanel, PanelBitmaps::EPicture ePicture)
    : m_pDoc(pDoc), m_pPanel(&Panel(ePanel)), m_nViewType(nViewType) {
    // The panel paints every pixel; nothing behind it needs erasing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    // The frame shows the view's icon, as it shows its caption.
    setWindowIcon(ArtIcons::ViewIcon(nViewType));
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
    }
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

    // The name: a kit column's controls are read with the instrument over the column.
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
            pControl = std::move(pLed);
            break;
        }
        case EKind::Lcd: {
            auto pLcd = std::make_unique<CDLcd>();
            bCreated = pLcd->Create(this, row.nId, Strip(row.eKind), row.x, row.y,
                                    PanelBitmaps::kLcdGlyphs, row.nCells, m_pPanel->nLcdGap, false);
            if (bCreated) {
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

void CDView::SetCaption(const QString& strCaption) {
    setWindowTitle(strCaption);
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

bool CDView::event(QEvent* pEvent) {
    CMsgEvent* pMsg = Msg::From(pEvent);
    if (!pMsg)
        return QWidget::event(pEvent);
    auto* pSender = reinterpret_cast<QObject*>(pMsg->LParam());
    switch (pMsg->Message()) {
    case WM_DLED_CHANGED:
        OnLedChanged(static_cast<CDLed*>(pSender));
        break;
    case WM_DLCD_CHANGED:
        OnLcdChanged(static_cast<CDLcd*>(pSender));
        break;
    case WM_DPOTI_CHANGED:
    case WM_DFADER_CHANGED:
        OnKnobChanged(static_cast<CDDynCtrl*>(pSender));
        break;
    default:
        return QWidget::event(pEvent);
    }
    pMsg->SetResult(0);
    return true;
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

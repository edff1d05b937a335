#include "CDCtrl.h"

#include "CMsgEvent.h"
#include "ControlMessages.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>
#include <cstring>
#include <vector>

CDCtrl::CDCtrl() : QWidget(nullptr) {}

bool CDCtrl::Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y, int nFrames,
                    bool bGroup) {
    if (bitmap.isNull() || !pParent || nFrames < 1)
        return false;
    m_hBitmap = bitmap;
    m_nFrameWidth = bitmap.width() / nFrames;
    m_nFrameHeight = bitmap.height();
    m_nFrames = nFrames;
    m_rect = QRect(x, y, m_nFrameWidth, m_nFrameHeight);
    return CreateChild(pParent, nID, QStringLiteral("DCTRL"), bGroup);
}

bool CDCtrl::CreateChild(QWidget* pParent, unsigned nID, const QString& sText, bool bGroup) {
    if (parentWidget() != pParent)
        setParent(pParent);
    m_nID = nID;
    m_bGroup = bGroup;
    setWindowTitle(sText);
    setObjectName(sText);
    // Every control paints all of its rectangle; a click gives the focus only where the
    // control's own press handling says so.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    setGeometry(ZoomedRect(m_rect, m_dZoom));
    show();
    return true;
}

bool CDCtrl::SetNext(CDCtrl* pNext) {
    if (!pNext)
        return false;
    m_pNext = pNext;
    return true;
}

void CDCtrl::Draw(QPainter* pDC) {
    DrawFrame(pDC, 0);
}

void CDCtrl::DrawFrame(QPainter* pDC, int nFrame) {
    // No smooth transform: on a high-density screen each picture pixel becomes a block of
    // whole device pixels.
    pDC->drawImage(QRect(0, 0, m_nFrameWidth, m_nFrameHeight), m_hBitmap,
                   QRect(nFrame * m_nFrameWidth, 0, m_nFrameWidth, m_nFrameHeight));
}

void CDCtrl::Notify(unsigned nMsg) {
    Msg::Send(parentWidget(), nMsg, 0, reinterpret_cast<qintptr>(this));
}

bool CDCtrl::SetZoom(double dZoom) {
    if (!(dZoom > 0.0))
        return false;
    m_dZoom = dZoom;
    setGeometry(ZoomedRect(m_rect, m_dZoom));
    update();
    return true;
}

void CDCtrl::SetDimmed(bool bDimmed) {
    if (bDimmed == m_bDimmed)
        return;
    m_bDimmed = bDimmed;
    update();
}

QImage CDCtrl::Dim(const QImage& picture) {
    // Most of the way to the grey of the panels, so that the control still shows what it shows
    // but plainly does not take part.
    constexpr int kKeptPercent = 40;
    QImage dimmed = picture.convertToFormat(QImage::Format_RGB32);
    const auto Mix = [](int nColour, int nPanel) {
        return (nColour * kKeptPercent + nPanel * (100 - kKeptPercent)) / 100;
    };
    for (int y = 0; y < dimmed.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(dimmed.scanLine(y));
        for (int x = 0; x < dimmed.width(); ++x)
            pLine[x] = qRgb(Mix(qRed(pLine[x]), kPanelPlate.red()),
                            Mix(qGreen(pLine[x]), kPanelPlate.green()),
                            Mix(qBlue(pLine[x]), kPanelPlate.blue()));
    }
    return dimmed;
}

QRect CDCtrl::ZoomedRect(const QRect& rPanel, double dZoom) {
    // Screen pixel p shows picture pixel floor((p + 0.5) / zoom), as the magnified panel does.
    const auto Edge = [dZoom](int n) { return static_cast<int>(std::ceil(n * dZoom - 0.5)); };
    const int nLeft = Edge(rPanel.left());
    const int nTop = Edge(rPanel.top());
    return QRect(nLeft, nTop, Edge(rPanel.left() + rPanel.width()) - nLeft,
                 Edge(rPanel.top() + rPanel.height()) - nTop);
}

QImage CDCtrl::Magnify(const QImage& picture, const QPoint& pictureAt, const QRect& rScreen,
                       double dZoom) {
    if (picture.isNull() || rScreen.isEmpty() || !(dZoom > 0.0))
        return {};
    const QImage source = picture.format() == QImage::Format_RGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    const auto SourceOf = [dZoom](int nScreen, int nAt, int nSize) {
        const int n = static_cast<int>(std::floor((nScreen + 0.5) / dZoom)) - nAt;
        return qBound(0, n, nSize - 1);
    };
    std::vector<int> columns(size_t(rScreen.width()));
    for (int x = 0; x < rScreen.width(); ++x)
        columns[size_t(x)] = SourceOf(rScreen.left() + x, pictureAt.x(), source.width());
    QImage result(rScreen.size(), QImage::Format_RGB32);
    int nPreviousRow = -1;
    for (int y = 0; y < result.height(); ++y) {
        const int nRow = SourceOf(rScreen.top() + y, pictureAt.y(), source.height());
        auto* pOut = reinterpret_cast<QRgb*>(result.scanLine(y));
        if (nRow == nPreviousRow) {
            std::memcpy(pOut, result.constScanLine(y - 1), size_t(result.bytesPerLine()));
            continue;
        }
        const auto* pIn = reinterpret_cast<const QRgb*>(source.constScanLine(nRow));
        for (int x = 0; x < result.width(); ++x)
            pOut[x] = pIn[columns[size_t(x)]];
        nPreviousRow = nRow;
    }
    return result;
}

QPointF CDCtrl::ToPicture(const QPointF& at) const {
    if (m_dZoom == 1.0)
        return at;
    const QPoint origin = ZoomedRect(m_rect, m_dZoom).topLeft();
    return (QPointF(origin) + at + QPointF(0.5, 0.5)) / m_dZoom - QPointF(m_rect.topLeft());
}

void CDCtrl::UpdatePicture(const QRect& rPicture) {
    if (m_dZoom == 1.0) {
        update(rPicture);
        return;
    }
    const QRect rWidget = ZoomedRect(rPicture.translated(m_rect.topLeft()), m_dZoom);
    update(rWidget.translated(-ZoomedRect(m_rect, m_dZoom).topLeft()).adjusted(-1, -1, 1, 1));
}

QString CDCtrl::ToolTipText() const {
    return m_toolTipSource ? m_toolTipSource() : QString();
}

void CDCtrl::ShowToolTip(const QPoint& globalPos) {
    const QString strText = ToolTipText();
    if (strText.isEmpty())
        return;
    // No rectangle: the pointer leaves the control while it drags, and the tip goes with it.
    QToolTip::showText(globalPos, strText, this);
}

bool CDCtrl::ShowsFocusRing() const {
    return m_bKeyboardCue && hasFocus() && WantsFocusRing();
}

void CDCtrl::DrawFocusRing(QPainter* pDC) const {
    // Dark dashes over light ones, so the ring shows on the dark knobs and the light plate
    // alike; in screen pixels, one picture pixel wide at any zoom.
    const int nWidth = qMax(1, static_cast<int>(std::lround(m_dZoom)));
    const QRectF rRing =
        QRectF(rect()).adjusted(nWidth / 2.0, nWidth / 2.0, -nWidth / 2.0, -nWidth / 2.0);
    pDC->save();
    pDC->setRenderHint(QPainter::Antialiasing, false);
    pDC->setBrush(Qt::NoBrush);
    pDC->setPen(QPen(QColor(255, 255, 255), nWidth, Qt::SolidLine, Qt::SquareCap));
    pDC->drawRect(rRing);
    pDC->setPen(QPen(QColor(0, 0, 0), nWidth, Qt::DashLine, Qt::FlatCap));
    pDC->drawRect(rRing);
    pDC->restore();
}

void CDCtrl::focusInEvent(QFocusEvent* pEvent) {
    switch (pEvent->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_bKeyboardCue = true;
        break;
    case Qt::MouseFocusReason:
        m_bKeyboardCue = false;
        break;
    default:
        break;
    }
    QWidget::focusInEvent(pEvent);
    if (WantsFocusRing())
        update();
}

void CDCtrl::focusOutEvent(QFocusEvent* pEvent) {
    QWidget::focusOutEvent(pEvent);
    if (WantsFocusRing())
        update();
}

bool CDCtrl::event(QEvent* pEvent) {
    const bool bClick =
        pEvent->type() == QEvent::MouseButtonPress || pEvent->type() == QEvent::MouseButtonDblClick;
    if (bClick && m_bKeyboardCue) {
        m_bKeyboardCue = false;
        if (WantsFocusRing())
            update();
    }
    if (pEvent->type() == QEvent::ToolTip && m_toolTipSource) {
        const QString strText = ToolTipText();
        if (strText.isEmpty()) {
            QToolTip::hideText();
            pEvent->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(pEvent)->globalPos(), strText, this,
                               rect());
        }
        return true;
    }
    return QWidget::event(pEvent);
}

void CDCtrl::paintEvent(QPaintEvent*) {
    if (m_hBitmap.isNull())
        return;
    QPainter painter(this);
    if (m_dZoom == 1.0 && !m_bDimmed) {
        Draw(&painter);
        if (ShowsFocusRing())
            DrawFocusRing(&painter);
        return;
    }
    // Drawn as it is at picture size, then dimmed and magnified pixel by pixel exactly as the
    // panel is, so the two line up at any zoom.
    QImage picture(m_rect.size(), QImage::Format_RGB32);
    {
        QPainter picturePainter(&picture);
        Draw(&picturePainter);
    }
    if (m_bDimmed)
        picture = Dim(picture);
    if (m_dZoom == 1.0)
        painter.drawImage(QPoint(0, 0), picture);
    else
        painter.drawImage(QPoint(0, 0),
                          Magnify(picture, m_rect.topLeft(), ZoomedRect(m_rect, m_dZoom), m_dZoom));
    if (ShowsFocusRing())
        DrawFocusRing(&painter);
}

#include "CDCtrl.h"

#include "CMsgEvent.h"

#include <QPainter>

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
    setGeometry(m_rect);
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

void CDCtrl::paintEvent(QPaintEvent*) {
    if (m_hBitmap.isNull())
        return;
    QPainter painter(this);
    Draw(&painter);
}

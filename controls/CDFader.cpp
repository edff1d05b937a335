#include "CDFader.h"

#include "ControlAccessible.h"

#include "ControlMessages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cstring>

int CDFader::s_nLastY = 0;

CDFader::CDFader() {
    setMouseTracking(true);
}

bool CDFader::Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y,
                     int nCapHeight, bool bGroup) {
    if (bitmap.isNull() || !pParent)
        return false;
    const int nCap = nCapHeight > 0 ? nCapHeight : m_nCapHeight;
    const int nTrack = (bitmap.height() - nCap) / 2;
    // The cap must fit on the track, or composing would write outside the work area.
    if (nCap > bitmap.height() || nTrack < nCap)
        return false;

    m_hBitmap = bitmap;
    m_nCapHeight = nCap;
    m_nFrameWidth = bitmap.width();
    m_nFrameHeight = nTrack;
    m_nFrames = 1;
    m_nTravel = m_nFrameHeight - m_nCapHeight;
    m_nCapPos = m_nTravel;
    m_nPrevCapPos = m_nCapPos;
    m_rect = QRect(x, y, m_nFrameWidth, m_nFrameHeight);
    return CreateChild(pParent, nID, QStringLiteral("DFADER"), bGroup);
}

bool CDFader::SetValue(int nValue, bool bRedraw) {
    if (nValue == m_nValue || nValue < m_nMin || nValue > m_nMax)
        return false;
    m_nValue = nValue;
    if (bRedraw) {
        UpdateCapPos();
        DrawCapChange();
    }
    ControlAccessible::ValueShown(this);
    return true;
}

void CDFader::Increment(bool bRedraw) {
    if (m_nValue >= m_nMax)
        return;
    ++m_nValue;
    if (bRedraw) {
        UpdateCapPos();
        DrawCapChange();
    }
    ControlAccessible::ValueShown(this);
}

void CDFader::Decrement(bool bRedraw) {
    if (m_nValue <= m_nMin)
        return;
    --m_nValue;
    if (bRedraw) {
        UpdateCapPos();
        DrawCapChange();
    }
    ControlAccessible::ValueShown(this);
}

void CDFader::UpdateCapPos() {
    m_nPrevCapPos = m_nCapPos;
    const double dRise =
        double(m_nTravel) / (double(m_nMax) - m_nMin) * (double(m_nValue) - m_nMin);
    // A value left outside a narrowed range puts the cap at the nearest end, never beyond the
    // work area.
    m_nCapPos = m_nTravel - static_cast<int>(qBound(0.0, dRise, double(m_nTravel)));
}

void CDFader::DrawCapChange() {
    if (m_nCapPos == m_nPrevCapPos)
        return;
    const int nTop = qMin(m_nCapPos, m_nPrevCapPos);
    const int nHeight = qAbs(m_nCapPos - m_nPrevCapPos) + m_nCapHeight;
    // Qt joins the bands of several steps into one paint; paintEvent clips to them.
    UpdatePicture(QRect(0, nTop, m_nFrameWidth, nHeight));
}

void CDFader::Compose() {
    if (m_hBitmap.isNull())
        return;
    // bits() gives this fader its own copy first if the strip is still shared.
    uchar* pBits = m_hBitmap.bits();
    const qsizetype nLine = m_hBitmap.bytesPerLine();
    const auto Row = [&](int nRow) { return pBits + nRow * nLine; };
    std::memcpy(Row(0), Row(m_nFrameHeight), m_nFrameHeight * nLine);
    std::memcpy(Row(m_nCapPos), Row(2 * m_nFrameHeight), m_nCapHeight * nLine);
}

void CDFader::Draw(QPainter* pDC) {
    Compose();
    DrawFrame(pDC, 0);
}

bool CDFader::IsOwnKey(const QKeyEvent* pEvent) const {
    return IsValueKey(pEvent->key());
}

void CDFader::mousePressEvent(QMouseEvent* pEvent) {
    TrackPress(pEvent);
}

void CDFader::mouseReleaseEvent(QMouseEvent* pEvent) {
    TrackRelease(pEvent);
}

void CDFader::mouseMoveEvent(QMouseEvent* pEvent) {
    TrackMove(pEvent, s_nLastY, m_dSensitivity, WM_DFADER_CHANGED);
}

void CDFader::keyPressEvent(QKeyEvent* pEvent) {
    if (!ValueKey(pEvent, WM_DFADER_CHANGED))
        CDDynCtrl::keyPressEvent(pEvent);
}

void CDFader::wheelEvent(QWheelEvent* pEvent) {
    WheelTurn(pEvent, WM_DFADER_CHANGED);
}

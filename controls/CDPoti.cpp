#include "CDPoti.h"

#include "ControlMessages.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

int CDPoti::s_nLastY = 0;

CDPoti::CDPoti() {
    // Movement without a button also moves the knobs' last pointer y.
    setMouseTracking(true);
}

int CDPoti::CurrentFrame() const {
    const double dFrame =
        double(m_nFrames) / (double(m_nMax) - m_nMin) * (double(m_nValue) - m_nMin);
    // The top frame also serves the values just below the maximum; a value left outside a
    // narrowed range shows the nearest end.
    return static_cast<int>(qBound(0.0, dFrame, double(m_nFrames - 1)));
}

void CDPoti::Draw(QPainter* pDC) {
    DrawFrame(pDC, CurrentFrame());
}

bool CDPoti::IsOwnKey(const QKeyEvent* pEvent) const {
    return IsValueKey(pEvent->key());
}

void CDPoti::mousePressEvent(QMouseEvent* pEvent) {
    TrackPress(pEvent);
}

void CDPoti::mouseReleaseEvent(QMouseEvent* pEvent) {
    TrackRelease(pEvent);
}

void CDPoti::mouseMoveEvent(QMouseEvent* pEvent) {
    TrackMove(pEvent, s_nLastY, m_dSensitivity, WM_DPOTI_CHANGED);
}

void CDPoti::keyPressEvent(QKeyEvent* pEvent) {
    if (!ValueKey(pEvent, WM_DPOTI_CHANGED))
        CDDynCtrl::keyPressEvent(pEvent);
}

void CDPoti::wheelEvent(QWheelEvent* pEvent) {
    WheelTurn(pEvent, WM_DPOTI_CHANGED);
}

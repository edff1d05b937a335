#include "CDLed.h"

#include "ControlAccessible.h"
#include "ControlMessages.h"

#include <QMouseEvent>

void CDLed::Draw(QPainter* pDC) {
    DrawFrame(pDC, m_bOn && m_nFrames > 1 ? 1 : 0);
}

void CDLed::SetState(bool bOn) {
    if (bOn == m_bOn)
        return;
    m_bOn = bOn;
    update();
    ControlAccessible::StateShown(this);
}

void CDLed::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || m_bReadOnly)
        return;
    setFocus(Qt::MouseFocusReason);
    m_bOn = !m_bOn;
    update();
    ControlAccessible::StateShown(this);
    Notify(WM_DLED_CHANGED);
}

void CDLed::mouseReleaseEvent(QMouseEvent* pEvent) {
    // Qt delivers the release here even outside the lamp, as a capture would.
    if (pEvent->button() != Qt::LeftButton || m_bReadOnly || !m_bMomentary)
        return;
    m_bOn = false;
    update();
    ControlAccessible::StateShown(this);
    Notify(WM_DLED_CHANGED);
}

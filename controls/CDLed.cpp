#include "CDLed.h"

#include "ControlAccessible.h"
#include "ControlMessages.h"

#include <QKeyEvent>
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

void CDLed::Press() {
    m_bOn = !m_bOn;
    update();
    ControlAccessible::StateShown(this);
    Notify(WM_DLED_CHANGED);
}

void CDLed::Release() {
    if (!m_bMomentary)
        return;
    m_bOn = false;
    update();
    ControlAccessible::StateShown(this);
    Notify(WM_DLED_CHANGED);
}

void CDLed::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || m_bReadOnly)
        return;
    setFocus(Qt::MouseFocusReason);
    Press();
}

void CDLed::mouseReleaseEvent(QMouseEvent* pEvent) {
    // Qt delivers the release here even outside the lamp, as a capture would.
    if (pEvent->button() != Qt::LeftButton || m_bReadOnly)
        return;
    Release();
}

bool CDLed::IsPressKey(const QKeyEvent* pEvent) {
    if (pEvent->modifiers() & ~Qt::KeypadModifier)
        return false;
    const int nKey = pEvent->key();
    return nKey == Qt::Key_Space || nKey == Qt::Key_Return || nKey == Qt::Key_Enter ||
           nKey == Qt::Key_Select;
}

void CDLed::keyPressEvent(QKeyEvent* pEvent) {
    if (!IsPressKey(pEvent) || m_bReadOnly) {
        CDCtrl::keyPressEvent(pEvent);
        return;
    }
    // A held key repeats; the lamp is pressed once, as by a held button.
    if (!pEvent->isAutoRepeat() && !m_bKeyHeld) {
        m_bKeyHeld = true;
        Press();
    }
}

void CDLed::keyReleaseEvent(QKeyEvent* pEvent) {
    if (!IsPressKey(pEvent) || pEvent->isAutoRepeat() || !m_bKeyHeld) {
        CDCtrl::keyReleaseEvent(pEvent);
        return;
    }
    m_bKeyHeld = false;
    if (!m_bReadOnly)
        Release();
}

bool CDLed::event(QEvent* pEvent) {
    // Return belongs to the lamp, not to a default button or shortcut of the window.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (IsPressKey(pKey) && !m_bReadOnly) {
            pEvent->accept();
            return true;
        }
    }
    // Focus going elsewhere while the key is held lets the lamp go, as a button would.
    if (pEvent->type() == QEvent::FocusOut && m_bKeyHeld) {
        m_bKeyHeld = false;
        if (!m_bReadOnly)
            Release();
    }
    return CDCtrl::event(pEvent);
}

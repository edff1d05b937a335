#include "CDDynCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

bool CDDynCtrl::SetValue(int nValue, bool bRedraw) {
    if (nValue < m_nMin || nValue > m_nMax)
        return false;
    m_nValue = nValue;
    if (bRedraw)
        update();
    return true;
}

int CDDynCtrl::GetValue() {
    return m_nValue;
}

bool CDDynCtrl::SetRange(int nMin, int nMax) {
    if (nMin >= nMax)
        return false;
    m_nMin = nMin;
    m_nMax = nMax;
    return true;
}

void CDDynCtrl::Increment(bool bRedraw) {
    if (m_nValue >= m_nMax)
        return;
    ++m_nValue;
    if (bRedraw)
        update();
}

void CDDynCtrl::Decrement(bool bRedraw) {
    if (m_nValue <= m_nMin)
        return;
    --m_nValue;
    if (bRedraw)
        update();
}

void CDDynCtrl::TrackPress(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton)
        return;
    // Qt keeps sending the mouse to the pressed widget until release, as a capture would.
    setFocus(Qt::MouseFocusReason);
    m_bTracking = true;
}

void CDDynCtrl::TrackRelease(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton)
        m_bTracking = false;
}

void CDDynCtrl::TrackMove(QMouseEvent* pEvent, int& rnLastY, double dSensitivity, unsigned nMsg) {
    const int y = static_cast<int>(std::floor(pEvent->position().y()));
    if (m_bTracking && (pEvent->buttons() & Qt::LeftButton) && y != rnLastY) {
        const qint64 nDistance = std::abs(qint64(rnLastY) - y);
        const double dFactor = nDistance <= 2 ? 1.0 : dSensitivity;
        const bool bUp = y < rnLastY;
        // Steps beyond the limit change nothing, so a huge sensitivity costs no time.
        const qint64 nRoom = bUp ? qint64(m_nMax) - m_nValue : qint64(m_nValue) - m_nMin;
        const double dSteps = std::trunc(double(nDistance) * dFactor);
        const qint64 nSteps = dSteps > 0 ? qint64(qMin(dSteps, double(qMax<qint64>(nRoom, 0)))) : 0;
        for (qint64 i = 0; i < nSteps; ++i) {
            if (bUp)
                Increment(true);
            else
                Decrement(true);
        }
        Notify(nMsg);
    }
    rnLastY = y;
}

bool CDDynCtrl::IsValueKey(int nKey) {
    switch (nKey) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool CDDynCtrl::ValueKey(QKeyEvent* pEvent, unsigned nMsg) {
    switch (pEvent->key()) {
    case Qt::Key_Up:
        Increment(true);
        break;
    case Qt::Key_Down:
        Decrement(true);
        break;
    case Qt::Key_Home:
        SetValue(m_nMin, true);
        break;
    case Qt::Key_End:
        SetValue(m_nMax, true);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The view has seen the value before its partner takes the focus.
        Notify(nMsg);
        if (m_pNext)
            m_pNext->setFocus(Qt::TabFocusReason);
        return true;
    default:
        return false;
    }
    Notify(nMsg);
    return true;
}

bool CDDynCtrl::event(QEvent* pEvent) {
    // With Ctrl, Alt or Meta held the window's shortcuts come first, as accelerators would.
    constexpr auto kCommand = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (!(pKey->modifiers() & kCommand) && IsOwnKey(pKey)) {
            pEvent->accept();
            return true;
        }
    }
    return CDCtrl::event(pEvent);
}

#include "CDDynCtrl.h"

#include "ControlAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

bool CDDynCtrl::SetValue(int nValue, bool bRedraw) {
    if (nValue < m_nMin || nValue > m_nMax)
        return false;
    const bool bChanged = nValue != m_nValue;
    m_nValue = nValue;
    if (bRedraw)
        update();
    if (bChanged)
        ControlAccessible::ValueShown(this);
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
    ControlAccessible::ValueShown(this);
}

void CDDynCtrl::Decrement(bool bRedraw) {
    if (m_nValue <= m_nMin)
        return;
    --m_nValue;
    if (bRedraw)
        update();
    ControlAccessible::ValueShown(this);
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

void CDDynCtrl::StepBy(int nSteps) {
    // Steps beyond the limit change nothing, so a huge count costs no time.
    const qint64 nRoom = nSteps > 0 ? qint64(m_nMax) - m_nValue : qint64(m_nValue) - m_nMin;
    const qint64 nCount = qBound<qint64>(0, qAbs(qint64(nSteps)), qMax<qint64>(nRoom, 0));
    for (qint64 i = 0; i < nCount; ++i) {
        if (nSteps > 0)
            Increment(true);
        else
            Decrement(true);
    }
}

void CDDynCtrl::TrackMove(QMouseEvent* pEvent, int& rnLastY, double dSensitivity, unsigned nMsg) {
    const int y = static_cast<int>(std::floor(pEvent->position().y()));
    if (m_bTracking && (pEvent->buttons() & Qt::LeftButton) && y != rnLastY) {
        const bool bFine = pEvent->modifiers() & Qt::ShiftModifier;
        // The last y is kept in screen pixels, so the fine and the normal rule can take turns.
        const auto PictureY = [this](int nY) {
            return static_cast<qint64>(std::floor(ToPicture(QPointF(0, nY)).y()));
        };
        const qint64 nFrom = bFine ? rnLastY : PictureY(rnLastY);
        const qint64 nTo = bFine ? y : PictureY(y);
        if (nFrom != nTo) {
            const qint64 nDistance = std::abs(nFrom - nTo);
            const double dFactor = bFine || nDistance <= 2 ? 1.0 : dSensitivity;
            // StepBy stops at the range's ends; this only keeps the count an int.
            const double dSteps = std::trunc(qMin(double(nDistance) * dFactor, 2147483647.0));
            const int nSteps = dSteps > 0 ? static_cast<int>(dSteps) : 0;
            StepBy(nTo < nFrom ? nSteps : -nSteps);
            Notify(nMsg);
            ShowToolTip(pEvent->globalPosition().toPoint());
        }
    }
    rnLastY = y;
}

int CDDynCtrl::WheelNotches(const QWheelEvent* pEvent) {
    int nDelta = pEvent->angleDelta().y();
    // Some systems turn a wheel held with Shift into a sideways one.
    if (nDelta == 0 && (pEvent->modifiers() & Qt::ShiftModifier))
        nDelta = pEvent->angleDelta().x();
    if (nDelta == 0)
        return 0;
    // Turning back starts counting afresh, so a half notch never holds up the way back.
    if (m_nWheelRest != 0 && (m_nWheelRest > 0) != (nDelta > 0))
        m_nWheelRest = 0;
    m_nWheelRest += nDelta;
    const int nNotches = m_nWheelRest / kWheelNotch;
    m_nWheelRest -= nNotches * kWheelNotch;
    return nNotches;
}

void CDDynCtrl::WheelTurn(QWheelEvent* pEvent, unsigned nMsg) {
    pEvent->accept();
    // As a click does, the wheel takes the focus: a value typed into a read-out is taken
    // first, and the keys work on the control turned last.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const int nNotches = WheelNotches(pEvent);
    const int nStep = (pEvent->modifiers() & Qt::ShiftModifier) ? kCoarseSteps : 1;
    for (int i = 0; i < qAbs(nNotches); ++i) {
        StepBy(nNotches > 0 ? nStep : -nStep);
        Notify(nMsg);
    }
    if (nNotches != 0)
        ShowToolTip(pEvent->globalPosition().toPoint());
}

bool CDDynCtrl::IsValueKey(int nKey) {
    switch (nKey) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
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
    case Qt::Key_PageUp:
        StepBy(kCoarseSteps);
        break;
    case Qt::Key_PageDown:
        StepBy(-kCoarseSteps);
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

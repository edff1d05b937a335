#pragma once

#include "CDCtrl.h"

class QKeyEvent;
class QMouseEvent;

// A control with an integer value in a range, and the drag and key rules that knob and fader
// share (each of them with its own sensitivity, notification and last pointer position).
class CDDynCtrl : public CDCtrl {
    Q_OBJECT

public:
    // Refuses a value outside the range (no clamping); the current value is accepted again.
    virtual bool SetValue(int nValue, bool bRedraw);
    virtual int GetValue();
    // Refuses nMin >= nMax; does not bring the current value into the new range.
    virtual bool SetRange(int nMin, int nMax);
    virtual void Increment(bool bRedraw);
    virtual void Decrement(bool bRedraw);

    int GetMin() const { return m_nMin; }
    int GetMax() const { return m_nMax; }

protected:
    // The vertical drag rule: small moves step by the pixel count, larger ones by pixels times
    // the sensitivity; one notification per move, even at a limit.
    void TrackPress(QMouseEvent* pEvent);
    void TrackRelease(QMouseEvent* pEvent);
    void TrackMove(QMouseEvent* pEvent, int& rnLastY, double dSensitivity, unsigned nMsg);

    // The key rule; true when the key was one of its keys.
    bool ValueKey(QKeyEvent* pEvent, unsigned nMsg);
    static bool IsValueKey(int nKey);

    // Keys the control handles itself come before any shortcut of the window.
    virtual bool IsOwnKey(const QKeyEvent*) const { return false; }
    bool event(QEvent* pEvent) override;

    int m_nValue = 0;
    int m_nMin = 0;
    int m_nMax = 255;
};

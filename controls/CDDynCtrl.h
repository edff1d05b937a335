#pragma once

#include "CDCtrl.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

// A control with an integer value in a range, and the drag, wheel and key rules that knob and
// fader share (each of them with its own sensitivity, notification and last pointer position).
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

    // The value as shown, without taking over text being typed into a read-out.
    int ShownValue() const { return m_nValue; }
    int GetMin() const { return m_nMin; }
    int GetMax() const { return m_nMax; }

    // Steps a page key and a wheel notch with Shift take.
    static constexpr int kCoarseSteps = 10;
    // What a wheel sends for one notch; finer wheels send parts of it.
    static constexpr int kWheelNotch = 120;

protected:
    // nSteps up (negative: down), stopping at the range's ends.
    void StepBy(int nSteps);

    // The vertical drag rule: small moves step by the pixel count, larger ones by pixels times
    // the sensitivity, both counted in picture pixels so that a zoomed control feels the same;
    // with Shift one step per screen pixel whatever the speed. One notification per move, even
    // at a limit.
    void TrackPress(QMouseEvent* pEvent);
    void TrackRelease(QMouseEvent* pEvent);
    void TrackMove(QMouseEvent* pEvent, int& rnLastY, double dSensitivity, unsigned nMsg);

    // The wheel rule: one step per notch (Shift: ten), each notch notified as a key step is.
    void WheelTurn(QWheelEvent* pEvent, unsigned nMsg);
    // The whole notches the wheel has turned, up positive; parts are kept for the next turn.
    int WheelNotches(const QWheelEvent* pEvent);

    // The key rule; true when the key was one of its keys.
    bool ValueKey(QKeyEvent* pEvent, unsigned nMsg);
    static bool IsValueKey(int nKey);

    // Keys the control handles itself come before any shortcut of the window.
    virtual bool IsOwnKey(const QKeyEvent*) const { return false; }
    bool event(QEvent* pEvent) override;

    int m_nValue = 0;
    int m_nMin = 0;
    int m_nMax = 255;

private:
    int m_nWheelRest = 0;
};

#pragma once

#include "CDCtrl.h"

// A two-state lamp that doubles as a push button: read-only indicator, latching switch (each
// click toggles) or momentary button (on only while held). User changes are reported with
// WM_DLED_CHANGED. Frame 0 of the strip is off, frame 1 on.
class CDLed : public CDCtrl {
    Q_OBJECT

public:
    void Draw(QPainter* pDC) override;

    // No notification.
    void SetState(bool bOn);
    bool GetState() const { return m_bOn; }
    void SetMomentary(bool b) { m_bMomentary = b; }
    bool IsMomentary() const { return m_bMomentary; }
    void SetReadOnly() { m_bReadOnly = true; }
    void ClearReadOnly() { m_bReadOnly = false; }
    bool IsReadOnly() const { return m_bReadOnly; }

protected:
    // The second click of a double click arrives here too (QWidget's double-click handler).
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    // Space and Return press the lamp as the left button does, release and all.
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    static bool IsPressKey(const QKeyEvent* pEvent);
    void Press();
    void Release();

    bool m_bKeyHeld = false;
    bool m_bOn = false;
    bool m_bMomentary = false;
    bool m_bReadOnly = false;
};

#pragma once

#include "CDDynCtrl.h"

// The rotary knob: shows its value as one frame of a rotation strip, is turned by dragging up
// or down or with the cursor keys, and reports each change with WM_DPOTI_CHANGED.
class CDPoti : public CDDynCtrl {
    Q_OBJECT

public:
    CDPoti();

    void Draw(QPainter* pDC) override;
    void SetSensitivity(double d) { m_dSensitivity = d; }

    // The strip frame that shows the current value.
    int CurrentFrame() const;

protected:
    bool IsOwnKey(const QKeyEvent* pEvent) const override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    double m_dSensitivity = 5.0;

    // The last pointer y seen over any knob.
    static int s_nLastY;
};

#pragma once

#include "CDDynCtrl.h"

// The vertical slider: composes track and cap inside its own strip and repaints only the band
// the cap left and entered; reports each change with WM_DFADER_CHANGED.
//
// Strip layout from the top, with H = (strip height - cap height) / 2: H rows work area (the
// composed picture), H rows empty track, cap-height rows cap.
class CDFader : public CDDynCtrl {
    Q_OBJECT

public:
    CDFader();

    // As CDCtrl::Create for a strip of the layout above; nCapHeight <= 0 keeps the previous cap
    // height. False, and nothing changes, when the strip cannot hold that layout.
    bool Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y, int nCapHeight,
                bool bGroup);

    void Draw(QPainter* pDC) override;
    // Unlike the other value controls, the current value is refused and nothing is drawn.
    bool SetValue(int nValue, bool bRedraw) override;
    void Increment(bool bRedraw) override;
    void Decrement(bool bRedraw) override;

    void UpdateCapPos();
    void DrawCapChange();
    void SetSensitivity(double d) { m_dSensitivity = d; }

    int GetCapPos() const { return m_nCapPos; }
    int GetTravel() const { return m_nTravel; }

protected:
    bool IsOwnKey(const QKeyEvent* pEvent) const override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    // Empty track over the work area, then the cap at its position.
    void Compose();

    int m_nCapHeight = 0;
    int m_nCapPos = 0;
    int m_nPrevCapPos = 0;
    int m_nTravel = 0;
    double m_dSensitivity = 4.0;

    // The last pointer y seen over any fader.
    static int s_nLastY;
};

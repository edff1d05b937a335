#pragma once

#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CDPoti.h"

#include <QImage>
#include <QWidget>

#include <array>

// The kick panel with its knobs, read-outs and lamps where the panel places them, and a fader
// beside it; keeps partners in step as the views do and reports every notification.
class CGalleryPanel : public QWidget {
    Q_OBJECT

public:
    explicit CGalleryPanel(QWidget* pParent = nullptr);

    // False when a picture could not be made.
    bool IsComplete() const { return m_bComplete; }

signals:
    void Logged(const QString& sLine);

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    static constexpr int kPairCount = 11;
    static constexpr int kDisplayCount = 3;

    void OnKnob(CDPoti* pKnob);
    void OnFader(CDFader* pFader);
    void OnLcd(CDLcd* pLcd);
    void OnLed(CDLed* pLed);

    QImage m_panel;
    bool m_bComplete = true;
    std::array<CDLcd, kPairCount> m_values;
    std::array<CDPoti, kPairCount> m_knobs;
    std::array<CDLcd, kDisplayCount> m_displays; // Scale, Veloc, Init.
    CDLcd m_name;
    CDLed m_active;
    CDLed m_veloc;
    CDLed m_init;
    CDPoti m_scale;
    CDFader m_fader;
    CDLcd m_faderValue;
    CDLcd m_wide; // a 16-cell read-out over plain ground
};

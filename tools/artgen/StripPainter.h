#pragma once

#include <QImage>

namespace artgen {

// Paints the control picture strips: knob rotation frames, LED lamp, fader track and cap, and
// the LCD font. Knob and LED frames are also lent to the about picture.
class StripPainter {
public:
    static constexpr int kKnobFrames = 61;
    static constexpr double kKnobFirstAngle = -150.0; // degrees clockwise from twelve o'clock
    static constexpr double kKnobStep = 5.0;
    static constexpr int kFaderCap = 27;

    static QImage knobFrame(double angleDegrees);
    static QImage knobStrip();
    static QImage ledFrame(bool lit);
    static QImage ledStrip();
    static QImage faderStrip();
    static QImage fontStrip();
};

} // namespace artgen

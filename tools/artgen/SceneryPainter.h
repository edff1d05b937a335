#pragma once

#include <QImage>

namespace artgen {

// Paints the two pictures that are not panels: the tiled background of the main window and the
// about picture.
class SceneryPainter {
public:
    static constexpr int kBackgroundSize = 300;
    static constexpr int kAboutWidth = 407;
    static constexpr int kAboutHeight = 270;

    // Perforated dark metal whose pattern repeats exactly every 300 pixels both ways.
    static QImage background();
    static QImage about();
};

} // namespace artgen

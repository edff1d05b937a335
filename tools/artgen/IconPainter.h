#pragma once

#include <QImage>
#include <QStringList>

namespace artgen {

// Paints the toolbar buttons, the window icons of the editor views and the application icon
// from their pixel art, on style::kIconGround. The window icons are the buttons' motifs doubled
// with Scale2x, which smooths diagonals without inventing colours, so they stay pixel art on the
// shared colour table.
class IconPainter {
public:
    static constexpr int kViewIconSize = 32;
    static constexpr int kViewTypes = 12;

    // The 26 buttons of 16 x 15 side by side, in toolbar order.
    static QImage toolbarStrip();
    // One 32 x 32 icon per view type 1..12, side by side.
    static QImage viewIcons();
    static QImage appIcon();      // 32 x 32
    static QImage appIconSmall(); // 16 x 16
    // The application icon nSize pixels square with a transparent ground, each pixel of the
    // 16 or 32 pixel picture a square block; null unless nSize is a multiple of 16.
    static QImage appIconPng(int nSize);

    // Rows of the wrong length and characters outside the legend, as text.
    static QStringList problems();

    // Each pixel becomes four; where two neighbours of a pixel agree and the other two do not,
    // the corner between them takes their colour (Scale2x).
    static QImage scale2x(const QImage& image);
};

} // namespace artgen

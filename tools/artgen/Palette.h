#pragma once

#include <QHash>
#include <QImage>
#include <QList>

namespace artgen {

// The one 256-colour table shared by every stored picture, and the mapping of painted pixels
// onto it. The table starts with the colours the artwork is painted with (so flat areas come
// out exact) and is completed from the pictures themselves by median cut, so that anti-aliased
// edges and gradients find a close neighbour.
class Palette {
public:
    static constexpr int kSize = 256;

    void addColor(QRgb color);
    // `steps` colours evenly spaced from `from` to `to`, both ends included.
    void addRamp(QRgb from, QRgb to, int steps);
    // Fills the remaining entries from the colours of `images` that the table does not yet
    // match closely; pads with black if the pictures have too few colours.
    void fillFrom(const QList<QImage>& images);

    int nearest(QRgb color) const;
    // The picture as 8-bit indices into this table (nearest colour, no dithering).
    QImage quantise(const QImage& image) const;
    const QList<QRgb>& colors() const { return m_colors; }

private:
    static int distance(QRgb a, QRgb b);
    int searchNearest(QRgb color) const;

    QList<QRgb> m_colors;
    mutable QHash<QRgb, int> m_cache;
};

} // namespace artgen

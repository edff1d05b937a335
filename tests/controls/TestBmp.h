#pragma once

#include <QByteArray>
#include <QImage>

#include <functional>

// Builds small BMP file images for the tests, in the layout of the stored pictures unless told
// otherwise, and the picture they should turn into.
namespace TestBmp {

struct SLayout {
    int nWidth = 1;
    int nHeight = 1; // negative: rows stored top-down
    int nBits = 8;
    int nColors = 256;       // entries written to the colour table (paletted only)
    quint32 nColorsUsed = 0; // the header field
    quint32 nCompression = 0;
    quint32 nHeaderSize = 40;
    // Palette index (paletted) or RGB (24/32-bit) of the pixel at (x, y), y = 0 at the top.
    std::function<quint32(int x, int y)> pixel = [](int, int) { return 0u; };
};

// Colour k of the test palette; all 256 differ.
QRgb PaletteColor(int k);

QByteArray Make(const SLayout& layout);
// What the pixels of a layout look like as 32-bit RGB.
QImage Expected(const SLayout& layout);

// An 8-bit strip whose pixel (x, y) has the palette index index(x, y).
QByteArray Strip(int nWidth, int nHeight, const std::function<int(int x, int y)>& index);

} // namespace TestBmp

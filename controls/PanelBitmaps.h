#pragma once

#include <QByteArray>
#include <QImage>

#include <span>

// The stored panel and control pictures and their conversion into bitmaps.
namespace PanelBitmaps {

enum class EPicture {
    Kick,
    Snare,
    Tom,
    Lfo,
    HiHat,
    Sample,
    Kit,
    Quick,
    Background,
    About,
    Led,
    LcdFont,
    Knob,
    Fader,
    Toolbar,      // the toolbar buttons side by side
    ViewIcons,    // one window icon per view type, side by side
    AppIcon,      // the application icon
    AppIconSmall, // the application icon for small sizes
};

struct SPicture {
    EPicture ePicture;
    const char* pszName; // resource ":/art/<name>.bmp"
    int nWidth;
    int nHeight;
};

// Every stored picture, in EPicture order. A panel's name and size are those of its panel table.
std::span<const SPicture> AllPictures();
const SPicture& Picture(EPicture ePicture);

// The layout of the control strips, as the controls are created with them.
inline constexpr int kLedFrames = 2;
inline constexpr int kLcdGlyphs = 96;
inline constexpr int kKnobFrames = 61;
inline constexpr int kFaderCapHeight = 27;
inline constexpr int kToolbarButtons = 30;
inline constexpr int kToolbarButtonWidth = 16;
inline constexpr int kToolbarButtonHeight = 15;
inline constexpr int kViewIconSize = 32;
inline constexpr int kViewIconCount = 12;
inline constexpr int kAppIconSize = 32;
inline constexpr int kAppIconSmallSize = 16;

// The stored BMP file image of a picture; empty when the pictures are not linked in.
QByteArray StoredBmp(EPicture ePicture);

// Converts a BMP file image into a new bitmap of its own (32-bit RGB). Gives a null image for a
// null or malformed buffer; when a well-formed picture cannot be made (too large for the
// program), the user is told "Close last opened window" as well, unless bTellUser is false
// (a caller making many pictures tells the user once itself).
QImage CreateBitmapFromBmp(const uchar* pBmp, qsizetype nSize, bool bTellUser = true);
QImage CreateBitmapFromBmp(const QByteArray& bmp, bool bTellUser = true);

// A fresh bitmap of a stored picture.
QImage CreateBitmap(EPicture ePicture, bool bTellUser = true);

// The text shown when a picture cannot be made.
inline constexpr const char* kNoMemoryText = "Close last opened window";

// The largest picture, in pixels, that is made; returns the previous limit. Tests lower it to
// see how the program copes with pictures that cannot be made.
qint64 SetPixelLimit(qint64 nPixels);

} // namespace PanelBitmaps

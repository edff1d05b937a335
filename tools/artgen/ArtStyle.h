#pragma once

// The colours and type of the artwork. Every picture is painted from these, and the palette is
// seeded with them, so the flat areas of all pictures land on exactly the same table entries.

#include <QColor>

namespace artgen::style {

// Background of everything a control sits on; the knob, LED and fader strips use it too, so a
// control blends into any panel.
inline const QColor kPlate(58, 61, 66);
inline const QColor kPlateShadow(30, 32, 35);
inline const QColor kPlateHighlight(92, 96, 102);
inline const QColor kStrip(24, 25, 28);
inline const QColor kLabel(222, 224, 226);
inline const QColor kAccent(240, 138, 36);

// The LCD control paints its cell gaps with this colour, so the windows must match it exactly.
inline const QColor kLcdBack(231, 231, 214);
inline const QColor kLcdInk(26, 30, 24);
inline const QColor kBezel(14, 15, 17);

inline const QColor kFontBack(215, 215, 215);
inline const QColor kFontInk(4, 4, 4);

inline const QColor kLedOff(88, 14, 12);
inline const QColor kLedOn(255, 46, 28);

// The ground of the toolbar buttons and icons, which the program makes transparent: the classic
// button face, which none of their art uses.
inline const QColor kIconGround(192, 192, 192);

inline constexpr const char* kFontFamily = "DejaVu Sans";
inline constexpr int kLabelPixelSize = 8;
inline constexpr int kHeadingPixelSize = 9;
inline constexpr const char* kBrand = "ZANDREL";

} // namespace artgen::style

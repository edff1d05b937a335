#pragma once

// Where every control of every front panel sits, and what is printed around it. The generator
// paints the panels from these tables and the picture test reads the LCD positions from them,
// so the artwork and its checks cannot drift apart. Positions are top-left corners in panel
// pixels, as the views place their controls.

#include <span>

namespace artgen {

enum class Kind { Led, Knob, Lcd, Fader };

// Where a control's printed label goes. Bracketed prints the label to the left and square
// brackets around the control (the kit-info rows).
enum class Place { None, Above, Below, Left, Bracketed };

struct ControlEntry {
    Kind kind;
    int x;
    int y;
    int chars; // LCD cells; 0 for the other kinds
    const char* label;
    Place place;
};

enum class DecorKind {
    Strip,   // title band: brand on the left, optional text on the right
    Frame,   // engraved group frame, optional caption in its top edge
    Window,  // recessed LCD window, filled with the LCD colour
    Divider, // engraved vertical line from (x, y), h pixels long
    Heading, // text in the heading style, left-aligned at (x, y) top
    InkText, // text printed on an LCD window, left-aligned at (x, y) top
    Screw,   // panel screw centred on (x, y)
    Emblem,  // a large title, centred in the rectangle
};

struct DecorEntry {
    DecorKind kind;
    int x;
    int y;
    int w;
    int h;
    const char* text;
};

struct PanelLayout {
    const char* name; // file name without ".bmp"
    int width;
    int height;
    int lcdGap; // pixels between two LCD cells, as the view creates its LCDs
    std::span<const ControlEntry> controls;
    std::span<const DecorEntry> decor;
};

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;
inline constexpr int kKnobSize = 19;
inline constexpr int kLedSize = 13;
inline constexpr int kFaderWidth = 20;
inline constexpr int kFaderTrack = 151;

constexpr int controlWidth(const ControlEntry& c, int lcdGap) {
    switch (c.kind) {
    case Kind::Led:
        return kLedSize;
    case Kind::Knob:
        return kKnobSize;
    case Kind::Fader:
        return kFaderWidth;
    case Kind::Lcd:
        break;
    }
    return (kGlyphWidth + lcdGap) * c.chars - lcdGap;
}

constexpr int controlHeight(const ControlEntry& c) {
    switch (c.kind) {
    case Kind::Led:
        return kLedSize;
    case Kind::Knob:
        return kKnobSize;
    case Kind::Fader:
        return kFaderTrack;
    case Kind::Lcd:
        break;
    }
    return kGlyphHeight;
}

// --- The instrument panels share a header band and rows of 62 pixels --------------------------

// Header: active lamp, a two-line window (name; "Variation" and the number), the number knob.
// Each row: two knobs on the left, a two-line LCD window in the middle, two knobs on the right.
constexpr DecorEntry titleStrip(int width, const char* title) {
    return {DecorKind::Strip, 0, 0, width, 18, title};
}
constexpr DecorEntry headerFrame(int width) {
    return {DecorKind::Frame, 6, 20, width - 12, 45, nullptr};
}
constexpr DecorEntry headerWindow() {
    return {DecorKind::Window, 116, 24, 118, 29, nullptr};
}
// The frame and the LCD window of a row whose knobs sit at y = `knobY`.
constexpr DecorEntry rowFrame(int knobY, const char* caption) {
    return {DecorKind::Frame, 6, knobY - 17, 338, 54, caption};
}
constexpr DecorEntry rowWindow(int knobY) {
    return {DecorKind::Window, 116, knobY - 5, 118, 31, nullptr};
}
constexpr DecorEntry screw(int x, int y) {
    return {DecorKind::Screw, x, y, 0, 0, nullptr};
}

inline constexpr ControlEntry kKickControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 82, 219, 0, "Veloc", Place::Below},
    {Kind::Led, 296, 219, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 211, 40, 3, "Variation", Place::Left},
    {Kind::Lcd, 155, 90, 3, "Tune", Place::Left},
    {Kind::Lcd, 211, 90, 3, "Pitch", Place::Left},
    {Kind::Lcd, 155, 102, 3, "Decay", Place::Left},
    {Kind::Lcd, 211, 102, 3, "Harmo", Place::Left},
    {Kind::Lcd, 155, 152, 3, "Pulse", Place::Left},
    {Kind::Lcd, 211, 152, 3, "Noise", Place::Left},
    {Kind::Lcd, 155, 164, 3, "Attac", Place::Left},
    {Kind::Lcd, 211, 164, 3, "EQ", Place::Left},
    {Kind::Lcd, 155, 214, 3, "Level", Place::Left},
    {Kind::Lcd, 211, 214, 3, "Scale", Place::Left},
    {Kind::Lcd, 155, 226, 3, "Veloc", Place::Left},
    {Kind::Lcd, 211, 226, 3, "Init.", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 38, 91, 0, "Tune", Place::Below},
    {Kind::Knob, 79, 91, 0, "Decay", Place::Below},
    {Kind::Knob, 252, 91, 0, "Pitch", Place::Below},
    {Kind::Knob, 293, 91, 0, "Harmo", Place::Below},
    {Kind::Knob, 38, 153, 0, "Pulse", Place::Below},
    {Kind::Knob, 79, 153, 0, "Attac", Place::Below},
    {Kind::Knob, 252, 153, 0, "Noise", Place::Below},
    {Kind::Knob, 293, 153, 0, "EQ", Place::Below},
    {Kind::Knob, 38, 215, 0, "Level", Place::Below},
    {Kind::Knob, 252, 215, 0, "Scale", Place::Below},
};

inline constexpr DecorEntry kKickDecor[] = {
    titleStrip(350, "KICK"), headerFrame(350),       headerWindow(),  rowFrame(91, nullptr),
    rowWindow(91),           rowFrame(153, nullptr), rowWindow(153),  rowFrame(215, nullptr),
    rowWindow(215),          screw(12, 268),         screw(337, 268),
};

inline constexpr ControlEntry kSnareControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 82, 157, 0, "Veloc", Place::Below},
    {Kind::Led, 296, 157, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 211, 40, 3, "Variation", Place::Left},
    {Kind::Lcd, 155, 90, 3, "Tune", Place::Left},
    {Kind::Lcd, 211, 90, 3, "Snapp", Place::Left},
    {Kind::Lcd, 155, 102, 3, "Decay", Place::Left},
    {Kind::Lcd, 211, 102, 3, "DeTun", Place::Left},
    {Kind::Lcd, 155, 152, 3, "Level", Place::Left},
    {Kind::Lcd, 211, 152, 3, "NoiTu", Place::Left},
    {Kind::Lcd, 155, 164, 3, "Veloc", Place::Left},
    {Kind::Lcd, 211, 164, 3, "Init.", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 38, 91, 0, "Tune", Place::Below},
    {Kind::Knob, 252, 91, 0, "Snapp", Place::Below},
    {Kind::Knob, 79, 91, 0, "Decay", Place::Below},
    {Kind::Knob, 293, 91, 0, "DeTun", Place::Below},
    {Kind::Knob, 38, 153, 0, "Level", Place::Below},
    {Kind::Knob, 252, 153, 0, "NoiTu", Place::Below},
};

inline constexpr DecorEntry kSnareDecor[] = {
    titleStrip(350, "SNARE"), headerFrame(350), headerWindow(),
    rowFrame(91, nullptr),    rowWindow(91),    rowFrame(153, nullptr),
    rowWindow(153),           screw(12, 206),   screw(337, 206),
};

// The 4-cell label LCD of the tom and sample panels sits left of the number, so "Variation" is
// printed left of the label rather than left of the number.
inline constexpr ControlEntry kTomControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 286, 95, 0, "Veloc", Place::Above},
    {Kind::Led, 308, 95, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 183, 40, 4, "Variation", Place::Left},
    {Kind::Lcd, 211, 40, 3, "", Place::None},
    {Kind::Lcd, 211, 90, 3, "Decay", Place::Left},
    {Kind::Lcd, 155, 102, 3, "Tune", Place::Left},
    {Kind::Lcd, 155, 90, 3, "Level", Place::Left},
    {Kind::Lcd, 211, 102, 3, "Veloc", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 79, 91, 0, "Tune", Place::Below},
    {Kind::Knob, 252, 91, 0, "Decay", Place::Below},
    {Kind::Knob, 38, 91, 0, "Level", Place::Below},
};

inline constexpr DecorEntry kTomDecor[] = {
    titleStrip(350, "TOM"), headerFrame(350), headerWindow(),  rowFrame(91, nullptr),
    rowWindow(91),          screw(12, 144),   screw(337, 144),
};

inline constexpr ControlEntry kHiHatControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 41, 219, 0, "Revrs", Place::Below},
    {Kind::Led, 82, 281, 0, "Veloc", Place::Below},
    {Kind::Led, 296, 281, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 211, 40, 3, "Variation", Place::Left},
    {Kind::Lcd, 155, 90, 3, "Tune", Place::Left},
    {Kind::Lcd, 211, 90, 3, "CHAtt", Place::Left},
    {Kind::Lcd, 155, 102, 3, "CHPkT", Place::Left},
    {Kind::Lcd, 211, 102, 3, "CHDec", Place::Left},
    {Kind::Lcd, 155, 152, 3, "OHAtt", Place::Left},
    {Kind::Lcd, 211, 152, 3, "OHPkT", Place::Left},
    {Kind::Lcd, 155, 164, 3, "OHDec", Place::Left},
    {Kind::Lcd, 211, 164, 3, "Smple", Place::Left},
    {Kind::Lcd, 155, 214, 3, "Revrs", Place::Left},
    {Kind::Lcd, 211, 214, 3, "CutHP", Place::Left},
    {Kind::Lcd, 155, 226, 3, "Sourc", Place::Left},
    {Kind::Lcd, 211, 226, 3, "CutLP", Place::Left},
    {Kind::Lcd, 155, 276, 3, "Level", Place::Left},
    {Kind::Lcd, 211, 276, 3, "Reson", Place::Left},
    {Kind::Lcd, 155, 288, 3, "Veloc", Place::Left},
    {Kind::Lcd, 211, 288, 3, "Init.", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 38, 91, 0, "Tune", Place::Below},
    {Kind::Knob, 252, 91, 0, "CHAtt", Place::Below},
    {Kind::Knob, 79, 91, 0, "CHPkT", Place::Below},
    {Kind::Knob, 293, 91, 0, "CHDec", Place::Below},
    {Kind::Knob, 38, 153, 0, "OHAtt", Place::Below},
    {Kind::Knob, 252, 153, 0, "OHPkT", Place::Below},
    {Kind::Knob, 79, 153, 0, "OHDec", Place::Below},
    {Kind::Knob, 293, 153, 0, "Smple", Place::Below},
    {Kind::Knob, 252, 215, 0, "CutHP", Place::Below},
    {Kind::Knob, 79, 215, 0, "Sourc", Place::Below},
    {Kind::Knob, 293, 215, 0, "CutLP", Place::Below},
    {Kind::Knob, 38, 277, 0, "Level", Place::Below},
    {Kind::Knob, 252, 277, 0, "Reson", Place::Below},
};

inline constexpr DecorEntry kHiHatDecor[] = {
    titleStrip(350, "HI-HAT"),
    headerFrame(350),
    headerWindow(),
    rowFrame(91, "Closed"),
    rowWindow(91),
    rowFrame(153, "Open"),
    rowWindow(153),
    rowFrame(215, "Source"),
    rowWindow(215),
    rowFrame(277, "Output"),
    rowWindow(277),
    screw(12, 330),
    screw(337, 330),
};

inline constexpr ControlEntry kSampleControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 82, 157, 0, "Veloc", Place::Below},
    {Kind::Led, 286, 157, 0, "Revrs", Place::Above},
    {Kind::Led, 308, 157, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 183, 40, 4, "Variation", Place::Left},
    {Kind::Lcd, 211, 40, 3, "", Place::None},
    {Kind::Lcd, 155, 90, 3, "Tune", Place::Left},
    {Kind::Lcd, 211, 90, 3, "Attac", Place::Left},
    {Kind::Lcd, 155, 102, 3, "Decay", Place::Left},
    {Kind::Lcd, 211, 102, 3, "PeakT", Place::Left},
    {Kind::Lcd, 155, 152, 3, "Level", Place::Left},
    {Kind::Lcd, 211, 152, 3, "Smple", Place::Left},
    {Kind::Lcd, 155, 164, 3, "Veloc", Place::Left},
    {Kind::Lcd, 211, 164, 3, "Revrs", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 38, 91, 0, "Tune", Place::Below},
    {Kind::Knob, 252, 91, 0, "Attac", Place::Below},
    {Kind::Knob, 293, 91, 0, "PeakT", Place::Below},
    {Kind::Knob, 79, 91, 0, "Decay", Place::Below},
    {Kind::Knob, 252, 153, 0, "Smple", Place::Below},
    {Kind::Knob, 38, 153, 0, "Level", Place::Below},
};

inline constexpr DecorEntry kSampleDecor[] = {
    titleStrip(350, "SAMPLE"),
    headerFrame(350),
    headerWindow(),
    rowFrame(91, nullptr),
    rowWindow(91),
    rowFrame(153, nullptr),
    rowWindow(153),
    screw(12, 206),
    screw(337, 206),
};

inline constexpr ControlEntry kLfoControls[] = {
    {Kind::Led, 62, 33, 0, "Active", Place::Below},
    {Kind::Led, 82, 219, 0, "L1Syn", Place::Below},
    {Kind::Led, 255, 219, 0, "L2Syn", Place::Below},
    {Kind::Led, 296, 219, 0, "Init.", Place::Below},
    {Kind::Lcd, 120, 28, 16, "", Place::None},
    {Kind::Lcd, 211, 40, 3, "Variation", Place::Left},
    {Kind::Lcd, 155, 90, 3, "L1Wav", Place::Left},
    {Kind::Lcd, 211, 90, 3, "L1Int", Place::Left},
    {Kind::Lcd, 155, 102, 3, "L1Des", Place::Left},
    {Kind::Lcd, 211, 102, 3, "L1Rat", Place::Left},
    {Kind::Lcd, 155, 152, 3, "L2Wav", Place::Left},
    {Kind::Lcd, 211, 152, 3, "L2Int", Place::Left},
    {Kind::Lcd, 155, 164, 3, "L2Des", Place::Left},
    {Kind::Lcd, 211, 164, 3, "L2Rat", Place::Left},
    {Kind::Lcd, 155, 214, 3, "BPM", Place::Left},
    {Kind::Lcd, 211, 214, 3, "L2Syn", Place::Left},
    {Kind::Lcd, 155, 226, 3, "L1Syn", Place::Left},
    {Kind::Lcd, 211, 226, 3, "Init.", Place::Left},
    {Kind::Knob, 272, 29, 0, "Variation", Place::Below},
    {Kind::Knob, 38, 91, 0, "L1Wav", Place::Below},
    {Kind::Knob, 252, 91, 0, "L1Int", Place::Below},
    {Kind::Knob, 79, 91, 0, "L1Des", Place::Below},
    {Kind::Knob, 293, 91, 0, "L1Rat", Place::Below},
    {Kind::Knob, 38, 153, 0, "L2Wav", Place::Below},
    {Kind::Knob, 252, 153, 0, "L2Int", Place::Below},
    {Kind::Knob, 79, 153, 0, "L2Des", Place::Below},
    {Kind::Knob, 293, 153, 0, "L2Rat", Place::Below},
    {Kind::Knob, 38, 215, 0, "Speed", Place::Below},
};

inline constexpr DecorEntry kLfoDecor[] = {
    titleStrip(350, "LFO"), headerFrame(350),       headerWindow(),  rowFrame(91, "LFO 1"),
    rowWindow(91),          rowFrame(153, "LFO 2"), rowWindow(153),  rowFrame(215, "Sync"),
    rowWindow(215),         screw(12, 268),         screw(337, 268),
};

// --- Kit panel: header, then ten channel strips --------------------------------------------------

inline constexpr ControlEntry kKitControls[] = {
    {Kind::Led, 401, 37, 0, "Init.", Place::Below},
    {Kind::Led, 435, 37, 0, "Active", Place::Below},
    {Kind::Lcd, 206, 32, 3, "KitNo", Place::Left},
    {Kind::Lcd, 262, 32, 3, "Bank", Place::Left},
    {Kind::Lcd, 227, 44, 8, "KitName", Place::Left},
    {Kind::Lcd, 34, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 78, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 122, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 166, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 210, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 254, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 298, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 342, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 386, 90, 3, "Level", Place::Above},
    {Kind::Lcd, 430, 90, 3, "Speed", Place::Above},
    {Kind::Lcd, 34, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 78, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 122, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 166, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 210, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 254, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 298, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 342, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 386, 281, 3, "Variation", Place::Below},
    {Kind::Lcd, 430, 281, 3, "Variation", Place::Below},
    {Kind::Fader, 41, 122, 0, "Level", Place::None},
    {Kind::Fader, 84, 122, 0, "Level", Place::None},
    {Kind::Fader, 128, 122, 0, "Level", Place::None},
    {Kind::Fader, 172, 122, 0, "Level", Place::None},
    {Kind::Fader, 216, 122, 0, "Level", Place::None},
    {Kind::Fader, 260, 122, 0, "Level", Place::None},
    {Kind::Fader, 304, 122, 0, "Level", Place::None},
    {Kind::Fader, 348, 122, 0, "Level", Place::None},
    {Kind::Fader, 392, 122, 0, "Level", Place::None},
    {Kind::Knob, 313, 33, 0, "KitNo", Place::Below},
    {Kind::Knob, 354, 33, 0, "Bank", Place::Below},
    {Kind::Knob, 430, 121, 0, "LFOs", Place::Below},
    {Kind::Knob, 34, 312, 0, "Kick", Place::Below},
    {Kind::Knob, 78, 312, 0, "Snar", Place::Below},
    {Kind::Knob, 122, 312, 0, "LoTo", Place::Below},
    {Kind::Knob, 166, 312, 0, "HiTo", Place::Below},
    {Kind::Knob, 210, 312, 0, "HiHa", Place::Below},
    {Kind::Knob, 254, 312, 0, "Clap", Place::Below},
    {Kind::Knob, 298, 312, 0, "Rims", Place::Below},
    {Kind::Knob, 342, 312, 0, "Crsh", Place::Below},
    {Kind::Knob, 386, 312, 0, "Ride", Place::Below},
    {Kind::Knob, 430, 312, 0, "LFOs", Place::Below},
};

// Channel strip c spans x = 25 + 44c ... 69 + 44c; dividers sit on the strip borders.
constexpr DecorEntry kitLevelWindow(int c) {
    return {DecorKind::Window, 31 + 44 * c, 87, 25, 15, nullptr};
}
constexpr DecorEntry kitVariationWindow(int c) {
    return {DecorKind::Window, 31 + 44 * c, 278, 25, 15, nullptr};
}
// The dividers break where the "Variation" labels run across the strip borders.
constexpr DecorEntry kitUpperDivider(int c) {
    return {DecorKind::Divider, 69 + 44 * c, 74, 0, 219, nullptr};
}
constexpr DecorEntry kitLowerDivider(int c) {
    return {DecorKind::Divider, 69 + 44 * c, 305, 0, 39, nullptr};
}

inline constexpr DecorEntry kKitDecor[] = {
    {DecorKind::Strip, 0, 0, 484, 18, nullptr},
    {DecorKind::Frame, 6, 20, 472, 48, nullptr},
    {DecorKind::Emblem, 6, 20, 156, 48, "DRUM KIT"},
    {DecorKind::Window, 170, 27, 117, 31, nullptr},
    {DecorKind::Frame, 19, 70, 446, 279, nullptr},
    kitLevelWindow(0),
    kitVariationWindow(0),
    kitLevelWindow(1),
    kitVariationWindow(1),
    kitLevelWindow(2),
    kitVariationWindow(2),
    kitLevelWindow(3),
    kitVariationWindow(3),
    kitLevelWindow(4),
    kitVariationWindow(4),
    kitLevelWindow(5),
    kitVariationWindow(5),
    kitLevelWindow(6),
    kitVariationWindow(6),
    kitLevelWindow(7),
    kitVariationWindow(7),
    kitLevelWindow(8),
    kitVariationWindow(8),
    kitLevelWindow(9),
    kitVariationWindow(9),
    kitUpperDivider(0),
    kitLowerDivider(0),
    kitUpperDivider(1),
    kitLowerDivider(1),
    kitUpperDivider(2),
    kitLowerDivider(2),
    kitUpperDivider(3),
    kitLowerDivider(3),
    kitUpperDivider(4),
    kitLowerDivider(4),
    kitUpperDivider(5),
    kitLowerDivider(5),
    kitUpperDivider(6),
    kitLowerDivider(6),
    kitUpperDivider(7),
    kitLowerDivider(7),
    kitUpperDivider(8),
    kitLowerDivider(8),
    screw(12, 365),
    screw(471, 365),
};

// --- Kit-info panel: one large window ------------------------------------------------------------

constexpr ControlEntry quickName(int row) {
    return {Kind::Lcd, 44, 88 + 24 * row, 16, "", Place::None};
}
constexpr ControlEntry quickNumber(int row, const char* instrument) {
    return {Kind::Lcd, 86, 76 + 24 * row, 3, instrument, Place::Bracketed};
}

inline constexpr ControlEntry kQuickControls[] = {
    {Kind::Lcd, 100, 52, 8, "KitName", Place::Left},
    {Kind::Lcd, 86, 40, 3, "KitNo", Place::Left},
    {Kind::Lcd, 135, 40, 3, "Bank", Place::Left},
    quickName(0),
    quickNumber(0, "Kick"),
    quickName(1),
    quickNumber(1, "Snar"),
    quickName(2),
    quickNumber(2, "LoTo"),
    quickName(3),
    quickNumber(3, "HiTo"),
    quickName(4),
    quickNumber(4, "HiHa"),
    quickName(5),
    quickNumber(5, "Clap"),
    quickName(6),
    quickNumber(6, "Rims"),
    quickName(7),
    quickNumber(7, "Crsh"),
    quickName(8),
    quickNumber(8, "Ride"),
    quickName(9),
    quickNumber(9, "LFOs"),
};

inline constexpr DecorEntry kQuickDecor[] = {
    {DecorKind::Strip, 0, 0, 199, 18, nullptr},
    {DecorKind::Window, 38, 22, 122, 296, nullptr},
    {DecorKind::InkText, 44, 26, 0, 0, "[Kit]"},
    {DecorKind::Emblem, 0, 322, 199, 40, "KIT INFO"},
    screw(12, 365),
    screw(186, 365),
};

inline constexpr PanelLayout kPanels[] = {
    {"kick", 350, 282, 2, kKickControls, kKickDecor},
    {"snare", 350, 220, 2, kSnareControls, kSnareDecor},
    {"tom", 350, 158, 2, kTomControls, kTomDecor},
    {"lfo", 350, 282, 2, kLfoControls, kLfoDecor},
    {"hihat", 350, 344, 2, kHiHatControls, kHiHatDecor},
    {"sample", 350, 220, 2, kSampleControls, kSampleDecor},
    {"kit", 484, 379, 2, kKitControls, kKitDecor},
    {"quick", 199, 379, 2, kQuickControls, kQuickDecor},
};

} // namespace artgen

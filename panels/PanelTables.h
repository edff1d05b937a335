#pragma once

// Every front panel of the editor in one place: its size and picture, and per control its id,
// kind, position, cells, printed label, binding, range, partner and settings, plus the artwork
// printed around the controls. The views build their controls from these rows, the picture
// generator paints the panels from them and the picture test checks against them, so nothing
// else repeats a coordinate or a panel size. Positions are top-left corners in panel pixels.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace Panels {

enum class EKind : std::uint8_t { Led, Knob, Lcd, Fader };

// Where a control's printed label goes. Bracketed prints the label to the left and square
// brackets around the control (the kit-info rows).
enum class EPlace : std::uint8_t { None, Above, Below, Left, Bracketed };

// What a control stands for.
enum class ERole : std::uint8_t {
    None,          // bound to nothing (a disabled knob kept for the look of the panel)
    Param,         // a parameter, or one bit field of it: value pair, switch lamp, selector
    ParamText,     // the word display of a parameter field (ON/OFF, a selector's name)
    Name,          // the variation's or the kit's name
    Number,        // the variation number; on the kit panels the kit number within its bank
    Bank,          // the kit's bank (kit panels)
    Label,         // the instrument label beside the number (panels shared by several kinds)
    Active,        // the active lamp, or the kit's Active button
    Init,          // the initialise button
    InitIndicator, // the initialise button's ON/OFF display
    KitLevel,      // kit panel: the level (LFO: speed) of the variation column nColumn uses
    KitVariation,  // kit panels: kit parameter 8 + nColumn, the variation column nColumn uses
    RowName,       // kit-info panel: the name of the variation row nColumn uses
};

// A field of parameter nParam: value = (parameter >> nShift) & nMask. A write replaces those
// bits and clears nAlsoClear, keeping every other bit of the stored byte.
struct SBinding {
    ERole eRole = ERole::None;
    std::int8_t nParam = -1;
    std::uint8_t nMask = 0xFF;
    std::uint8_t nShift = 0;
    std::uint8_t nAlsoClear = 0;
    std::int8_t nColumn = -1;

    constexpr bool IsField() const { return nMask != 0xFF || nShift != 0; }
    constexpr bool IsOneBit() const { return nMask == 1; }
    constexpr int FieldOf(int nStored) const { return (nStored >> nShift) & nMask; }
    // The stored byte with this field replaced by nValue; bits beyond a byte are dropped first.
    constexpr int Replace(int nStored, int nValue) const {
        const int nField = nMask << nShift;
        return ((nStored & 0xFF & ~nField & ~nAlsoClear) | ((nValue & nMask) << nShift)) & 0xFF;
    }
};

constexpr SBinding Param(int nParam) {
    return {ERole::Param, std::int8_t(nParam)};
}
constexpr SBinding Field(int nParam, int nMask, int nShift, int nAlsoClear = 0) {
    return {ERole::Param, std::int8_t(nParam), std::uint8_t(nMask), std::uint8_t(nShift),
            std::uint8_t(nAlsoClear)};
}
constexpr SBinding FieldText(int nParam, int nMask, int nShift) {
    return {ERole::ParamText, std::int8_t(nParam), std::uint8_t(nMask), std::uint8_t(nShift)};
}
constexpr SBinding Role(ERole eRole) {
    return {eRole};
}
constexpr SBinding Column(ERole eRole, int nColumn) {
    return {eRole, -1, 0xFF, 0, 0, std::int8_t(nColumn)};
}

// Settings of a control.
enum EFlag : std::uint16_t {
    kReadOnly = 1 << 0,  // a lamp the user cannot switch
    kMomentary = 1 << 1, // a lamp that is on only while held
    kDisabled = 1 << 2,  // shown but cannot be operated
    kNumeric = 1 << 3,   // an LCD that shows its value as zero-padded digits
    kSelector = 1 << 4,  // a knob without partner whose value shows as a word on nDisplay
};

struct SControl {
    unsigned nId = 0;
    EKind eKind = EKind::Led;
    int x = 0;
    int y = 0;
    int nCells = 0; // LCD cells; 0 for the other kinds
    const char* pszLabel = "";
    EPlace ePlace = EPlace::None;
    SBinding binding;
    int nMin = 0;
    int nMax = 255;
    unsigned nPartner = 0; // the other half of a value pair; pairs are linked both ways
    unsigned nDisplay = 0; // the LCD that shows this lamp's or selector's word, or the indicator
    std::uint16_t nFlags = 0;
    const char* pszInitial = nullptr;     // the first text of a text LCD
    int nInitial = 0;                     // the first value of a knob, fader or numeric LCD
    std::span<const char* const> words{}; // ParamText: the word for each field value
    // What the control stands for in plain words ("Closed hat peak time"); on panels shared by
    // several kinds, and in the kit's columns, FullName puts the instrument before it.
    const char* pszFullName = "";

    constexpr bool Has(EFlag e) const { return (nFlags & e) != 0; }
};

enum class EDecor : std::uint8_t {
    Strip,   // title band: brand on the left, optional text on the right
    Frame,   // engraved group frame, optional caption in its top edge
    Window,  // recessed LCD window, filled with the LCD colour
    Divider, // engraved vertical line from (x, y), h pixels long
    Heading, // text in the heading style, left-aligned at (x, y) top
    InkText, // text printed on an LCD window, left-aligned at (x, y) top
    Screw,   // panel screw centred on (x, y)
    Emblem,  // a large title, centred in the rectangle
};

struct SDecor {
    EDecor eKind;
    int x;
    int y;
    int w;
    int h;
    const char* pszText;
};

enum class EPanel : std::uint8_t { Kick, Snare, Tom, Lfo, HiHat, Sample, Kit, Quick };

struct SPanel {
    EPanel ePanel;
    const char* pszName; // picture file name without ".bmp"
    int nWidth;
    int nHeight;
    int nLcdGap;      // pixels between two LCD cells
    int nSectionKind; // the kind whose parameters the bindings index (the first when shared)
    int nKindCount;   // the kinds nSectionKind, nSectionKind + 1, ... that share the panel
    std::span<const SControl> controls;
    std::span<const SDecor> decor;

    constexpr bool ShowsKind(int nKind) const {
        return nKind >= nSectionKind && nKind < nSectionKind + nKindCount;
    }
};

// Sizes of the control pictures' frames, which the layout checks and the painter rely on.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;
inline constexpr int kKnobSize = 19;
inline constexpr int kLedSize = 13;
inline constexpr int kFaderWidth = 20;
inline constexpr int kFaderTrack = 151;

struct SSize {
    int nWidth;
    int nHeight;
};

// The size a control takes on its panel, from its picture's frame (an LCD: its cells).
constexpr SSize ControlSize(const SControl& c, int nLcdGap) {
    switch (c.eKind) {
    case EKind::Led:
        return {kLedSize, kLedSize};
    case EKind::Knob:
        return {kKnobSize, kKnobSize};
    case EKind::Fader:
        return {kFaderWidth, kFaderTrack};
    case EKind::Lcd:
        break;
    }
    return {(kGlyphWidth + nLcdGap) * c.nCells - nLcdGap, kGlyphHeight};
}

// Word tables, one word per value of the field they show. Values the module gives no name are
// shown as kNoWord, so a value read from a damaged project never indexes beyond its table.
inline constexpr const char* kNoWord = "???";
inline constexpr const char* kOffOn[] = {"OFF", "ON "};
inline constexpr const char* kLinSem[] = {"LIN", "SEM"};
inline constexpr const char* kSampleSets[] = {"909", "808", "CR7", "QLY"};
inline constexpr const char* kHiHatSources[] = {"   ", "NOI", "NOR", "FIL"};
inline constexpr const char* kLfoWaveforms[] = {"SUP",   "SDO",   "TRI",   "RCT",
                                                kNoWord, kNoWord, kNoWord, kNoWord};
inline constexpr const char* kLfo1Destinations[] = {
    "BDT", "SDT", "LTT",   "HTT",   "HHT",   "FIL",   "CPT",   "RMT",
    "CRT", "RDT", kNoWord, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord};
inline constexpr const char* kLfo2Destinations[] = {
    "BDT",   "SDT",   "LTT",   "HTT",   kNoWord, kNoWord, kNoWord, kNoWord,
    kNoWord, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord};

// The texts the panels start with and return to when nothing is shown.
inline constexpr const char* kUndefinedName = " - Undefined -  ";
inline constexpr const char* kUndefinedKitName = "-Undef.-";

// The word a display row shows for a field value; kNoWord beyond its table.
constexpr const char* WordOf(const SControl& c, int nField) {
    return nField >= 0 && static_cast<std::size_t>(nField) < c.words.size() ? c.words[nField]
                                                                            : kNoWord;
}

const SPanel& Panel(EPanel ePanel);
std::span<const SPanel> AllPanels();
// The row of control nId, or null.
const SControl* FindControl(const SPanel& panel, unsigned nId);
// The instrument name over kit column nColumn ("Kick" ... "LFOs"); "" beyond the columns.
const char* ColumnLabel(int nColumn);

struct SRect {
    int x = 0;
    int y = 0;
    int nWidth = 0;
    int nHeight = 0;
};
// Kit column nColumn's channel strip on the kit panel, between its dividers and from the top to
// the bottom of the strips' frame; every control of the column lies inside it. Empty beyond the
// columns.
SRect KitColumnStrip(int nColumn);
// Kind nKind (1 kit ... 11 LFO) as a musician says it ("Low tom"); "" for another number.
const char* KindFullName(int nKind);

enum class ENameUse : std::uint8_t {
    Speech,  // unique within its window: a read-out says so ("Decay read-out")
    ToolTip, // the parameter alone, as the knob and its read-out share it
};
// Control c's full name in a window of kind nKind: "Low tom level" on the tom panel of kind 4,
// "Snare variation" in the kit's snare column, "Decay" on the kick panel.
std::string FullName(const SPanel& panel, const SControl& c, int nKind,
                     ENameUse eUse = ENameUse::Speech);

} // namespace Panels

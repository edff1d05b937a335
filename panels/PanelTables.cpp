#include "PanelTables.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace Panels {

namespace {

// --- Row makers: the settings every panel gives a control of that sort ------------------------

constexpr SControl Led(unsigned nId, int x, int y, const char* pszLabel, const char* pszFullName,
                       SBinding binding, std::uint16_t nFlags, unsigned nDisplay = 0,
                       EPlace ePlace = EPlace::Below) {
    return {.nId = nId,
            .eKind = EKind::Led,
            .x = x,
            .y = y,
            .pszLabel = pszLabel,
            .ePlace = ePlace,
            .binding = binding,
            .nDisplay = nDisplay,
            .nFlags = nFlags,
            .pszFullName = pszFullName};
}

// A latching lamp for a one-bit field, with the read-out that shows its word.
constexpr SControl Switch(unsigned nId, int x, int y, const char* pszLabel, const char* pszFullName,
                          SBinding binding, unsigned nDisplay, EPlace ePlace = EPlace::Below) {
    return Led(nId, x, y, pszLabel, pszFullName, binding, 0, nDisplay, ePlace);
}

// The instrument panels' header: the active lamp, the name, the number pair.
constexpr SControl ActiveLamp(unsigned nId) {
    return Led(nId, 62, 33, "Active", "Active", Role(ERole::Active), kReadOnly);
}
constexpr SControl InitButton(unsigned nId, int x, int y, unsigned nIndicator) {
    return Led(nId, x, y, "Init.", "Initialise", Role(ERole::Init), kMomentary, nIndicator);
}
constexpr SControl NameLcd(unsigned nId) {
    return {.nId = nId,
            .eKind = EKind::Lcd,
            .x = 120,
            .y = 28,
            .nCells = 16,
            .binding = Role(ERole::Name),
            .pszInitial = kUndefinedName,
            .pszFullName = "Name"};
}
// On the panels with an instrument label the word Variation is printed left of the label.
constexpr SControl NumberLcd(unsigned nId, unsigned nKnob, bool bLabelled = true) {
    return {.nId = nId,
            .eKind = EKind::Lcd,
            .x = 211,
            .y = 40,
            .nCells = 3,
            .pszLabel = bLabelled ? "Variation" : "",
            .ePlace = bLabelled ? EPlace::Left : EPlace::None,
            .binding = Role(ERole::Number),
            .nPartner = nKnob,
            .nFlags = kNumeric,
            .pszFullName = "Variation number"};
}
constexpr SControl LabelLcd(unsigned nId) {
    return {.nId = nId,
            .eKind = EKind::Lcd,
            .x = 183,
            .y = 40,
            .nCells = 4,
            .pszLabel = "Variation",
            .ePlace = EPlace::Left,
            .binding = Role(ERole::Label),
            .nFlags = kDisabled,
            .pszFullName = "Instrument"};
}
constexpr SControl NumberKnob(unsigned nId, unsigned nLcd) {
    return {.nId = nId,
            .eKind = EKind::Knob,
            .x = 272,
            .y = 29,
            .pszLabel = "Variation",
            .ePlace = EPlace::Below,
            .binding = Role(ERole::Number),
            .nPartner = nLcd,
            .pszFullName = "Variation number"};
}

// A value pair: a numeric read-out labelled on its window, and a knob labelled below it.
constexpr SControl ValueLcd(unsigned nId, int x, int y, const char* pszLabel,
                            const char* pszFullName, SBinding binding, unsigned nKnob,
                            int nMax = 255) {
    return {.nId = nId,
            .eKind = EKind::Lcd,
            .x = x,
            .y = y,
            .nCells = 3,
            .pszLabel = pszLabel,
            .ePlace = EPlace::Left,
            .binding = binding,
            .nMax = nMax,
            .nPartner = nKnob,
            .nFlags = kNumeric,
            .pszFullName = pszFullName};
}
constexpr SControl ValueKnob(unsigned nId, int x, int y, const char* pszLabel,
                             const char* pszFullName, SBinding binding, unsigned nLcd,
                             int nMax = 255) {
    return {.nId = nId,
            .eKind = EKind::Knob,
            .x = x,
            .y = y,
            .pszLabel = pszLabel,
            .ePlace = EPlace::Below,
            .binding = binding,
            .nMax = nMax,
            .nPartner = nLcd,
            .pszFullName = pszFullName};
}

// The read-only word display of a field.
constexpr SControl WordLcd(unsigned nId, int x, int y, const char* pszLabel,
                           const char* pszFullName, SBinding binding,
                           std::span<const char* const> words, const char* pszInitial) {
    return {.nId = nId,
            .eKind = EKind::Lcd,
            .x = x,
            .y = y,
            .nCells = 3,
            .pszLabel = pszLabel,
            .ePlace = EPlace::Left,
            .binding = binding,
            .nFlags = kDisabled,
            .pszInitial = pszInitial,
            .words = words,
            .pszFullName = pszFullName};
}
constexpr SControl InitIndicator(unsigned nId, int x, int y) {
    return WordLcd(nId, x, y, "Init.", "Initialise", Role(ERole::InitIndicator), kOffOn, "OFF");
}

// A knob without partner whose setting shows as a word on nDisplay.
constexpr SControl SelectorKnob(unsigned nId, int x, int y, const char* pszLabel,
                                const char* pszFullName, SBinding binding, int nMin, int nMax,
                                unsigned nDisplay, int nInitial) {
    return {.nId = nId,
            .eKind = EKind::Knob,
            .x = x,
            .y = y,
            .pszLabel = pszLabel,
            .ePlace = EPlace::Below,
            .binding = binding,
            .nMin = nMin,
            .nMax = nMax,
            .nDisplay = nDisplay,
            .nFlags = kSelector,
            .nInitial = nInitial,
            .pszFullName = pszFullName};
}

// --- Artwork shared by the instrument panels: a header band and rows of 62 pixels --------------

// Header: active lamp, a two-line window (name; "Variation" and the number), the number knob.
// Each row: two knobs on the left, a two-line LCD window in the middle, two knobs on the right.
constexpr SDecor titleStrip(int nWidth, const char* pszTitle) {
    return {EDecor::Strip, 0, 0, nWidth, 18, pszTitle};
}
constexpr SDecor headerFrame(int nWidth) {
    return {EDecor::Frame, 6, 20, nWidth - 12, 45, nullptr};
}
constexpr SDecor headerWindow() {
    return {EDecor::Window, 116, 24, 118, 29, nullptr};
}
// The frame and the LCD window of a row whose knobs sit at y = nKnobY.
constexpr SDecor rowFrame(int nKnobY, const char* pszCaption) {
    return {EDecor::Frame, 6, nKnobY - 17, 338, 54, pszCaption};
}
constexpr SDecor rowWindow(int nKnobY) {
    return {EDecor::Window, 116, nKnobY - 5, 118, 31, nullptr};
}
constexpr SDecor screw(int x, int y) {
    return {EDecor::Screw, x, y, 0, 0, nullptr};
}

// --- Kick panel: kind 2 -------------------------------------------------------------------------

// Parameter 7 packs the EQ value (bits 0-2), the Scale word (bit 6) and the Veloc switch (bit 7).
constexpr SControl kKickControls[] = {
    ActiveLamp(2500),
    Switch(2505, 82, 219, "Veloc", "Velocity", Field(7, 1, 7), 2575),
    InitButton(2510, 296, 219, 2580),
    NameLcd(2515),
    NumberLcd(2520, 2585),
    ValueLcd(2525, 155, 90, "Tune", "Tune", Param(0), 2590),
    ValueLcd(2530, 211, 90, "Pitch", "Pitch", Param(1), 2595),
    ValueLcd(2535, 155, 102, "Decay", "Decay", Param(2), 2600),
    ValueLcd(2540, 211, 102, "Harmo", "Harmonics", Param(3), 2605),
    ValueLcd(2545, 155, 152, "Pulse", "Pulse", Param(4), 2610),
    ValueLcd(2550, 211, 152, "Noise", "Noise", Param(5), 2615),
    ValueLcd(2555, 155, 164, "Attac", "Attack", Param(6), 2620),
    ValueLcd(2560, 211, 164, "EQ", "EQ", Field(7, 7, 0), 2625, 7),
    ValueLcd(2565, 155, 214, "Level", "Level", Param(8), 2630),
    WordLcd(2570, 211, 214, "Scale", "Scale", FieldText(7, 1, 6), kLinSem, "LIN"),
    WordLcd(2575, 155, 226, "Veloc", "Velocity", FieldText(7, 1, 7), kOffOn, "OFF"),
    InitIndicator(2580, 211, 226),
    NumberKnob(2585, 2520),
    ValueKnob(2590, 38, 91, "Tune", "Tune", Param(0), 2525),
    ValueKnob(2600, 79, 91, "Decay", "Decay", Param(2), 2535),
    ValueKnob(2595, 252, 91, "Pitch", "Pitch", Param(1), 2530),
    ValueKnob(2605, 293, 91, "Harmo", "Harmonics", Param(3), 2540),
    ValueKnob(2610, 38, 153, "Pulse", "Pulse", Param(4), 2545),
    ValueKnob(2620, 79, 153, "Attac", "Attack", Param(6), 2555),
    ValueKnob(2615, 252, 153, "Noise", "Noise", Param(5), 2550),
    ValueKnob(2625, 293, 153, "EQ", "EQ", Field(7, 7, 0), 2560, 7),
    ValueKnob(2630, 38, 215, "Level", "Level", Param(8), 2565),
    // The Scale word is shown only; its knob is kept for the look of the panel.
    {.nId = 2635,
     .eKind = EKind::Knob,
     .x = 252,
     .y = 215,
     .pszLabel = "Scale",
     .ePlace = EPlace::Below,
     .binding = Role(ERole::None),
     .nMax = 1,
     .nFlags = kDisabled,
     .pszFullName = "Scale knob, not in use"},
};

constexpr SDecor kKickDecor[] = {
    titleStrip(350, "KICK"), headerFrame(350),       headerWindow(),  rowFrame(91, nullptr),
    rowWindow(91),           rowFrame(153, nullptr), rowWindow(153),  rowFrame(215, nullptr),
    rowWindow(215),          screw(12, 268),         screw(337, 268),
};

// --- Snare panel: kind 3 ------------------------------------------------------------------------

// Parameter 3 packs DeTun (bits 0-3) and the Veloc switch (bit 7).
constexpr SControl kSnareControls[] = {
    ActiveLamp(3500),
    Switch(3505, 82, 157, "Veloc", "Velocity", Field(3, 1, 7), 3555),
    InitButton(3510, 296, 157, 3560),
    NameLcd(3515),
    NumberLcd(3520, 3565),
    ValueLcd(3525, 155, 90, "Tune", "Tune", Param(0), 3570),
    ValueLcd(3530, 211, 90, "Snapp", "Snappy", Param(1), 3575),
    ValueLcd(3535, 155, 102, "Decay", "Decay", Param(2), 3580),
    ValueLcd(3540, 211, 102, "DeTun", "Detune", Field(3, 15, 0), 3585, 15),
    ValueLcd(3550, 155, 152, "Level", "Level", Param(5), 3595),
    ValueLcd(3545, 211, 152, "NoiTu", "Noise tune", Param(4), 3590),
    WordLcd(3555, 155, 164, "Veloc", "Velocity", FieldText(3, 1, 7), kOffOn, "OFF"),
    InitIndicator(3560, 211, 164),
    NumberKnob(3565, 3520),
    ValueKnob(3570, 38, 91, "Tune", "Tune", Param(0), 3525),
    ValueKnob(3575, 252, 91, "Snapp", "Snappy", Param(1), 3530),
    ValueKnob(3580, 79, 91, "Decay", "Decay", Param(2), 3535),
    ValueKnob(3585, 293, 91, "DeTun", "Detune", Field(3, 15, 0), 3540, 15),
    ValueKnob(3595, 38, 153, "Level", "Level", Param(5), 3550),
    ValueKnob(3590, 252, 153, "NoiTu", "Noise tune", Param(4), 3545),
};

constexpr SDecor kSnareDecor[] = {
    titleStrip(350, "SNARE"), headerFrame(350), headerWindow(),
    rowFrame(91, nullptr),    rowWindow(91),    rowFrame(153, nullptr),
    rowWindow(153),           screw(12, 206),   screw(337, 206),
};

// --- Tom panel: kinds 4 and 5 -------------------------------------------------------------------

// Parameter 1 packs Decay (bits 0-5) and the Veloc switch (bit 6). The initialise button has no
// indicator here.
constexpr SControl kTomControls[] = {
    ActiveLamp(3600),
    Switch(3605, 286, 95, "Veloc", "Velocity", Field(1, 1, 6), 3645, EPlace::Above),
    InitButton(3610, 308, 95, 0),
    NameLcd(3615),
    LabelLcd(3620),
    NumberLcd(3625, 3650, false),
    ValueLcd(3635, 211, 90, "Decay", "Decay", Field(1, 63, 0), 3660, 63),
    ValueLcd(3630, 155, 102, "Tune", "Tune", Param(0), 3655),
    ValueLcd(3640, 155, 90, "Level", "Level", Param(2), 3665),
    WordLcd(3645, 211, 102, "Veloc", "Velocity", FieldText(1, 1, 6), kOffOn, "OFF"),
    NumberKnob(3650, 3625),
    ValueKnob(3655, 79, 91, "Tune", "Tune", Param(0), 3630),
    ValueKnob(3660, 252, 91, "Decay", "Decay", Field(1, 63, 0), 3635, 63),
    ValueKnob(3665, 38, 91, "Level", "Level", Param(2), 3640),
};

constexpr SDecor kTomDecor[] = {
    titleStrip(350, "TOM"), headerFrame(350), headerWindow(),  rowFrame(91, nullptr),
    rowWindow(91),          screw(12, 144),   screw(337, 144),
};

// --- Hi-hat panel: kind 6 -----------------------------------------------------------------------

// Parameter 7 packs the sample set (bits 0-1), the source (bits 3-4), Revrs (bit 6) and Veloc
// (bit 7). Writing the source also clears bit 5.
constexpr SControl kHiHatControls[] = {
    ActiveLamp(4000),
    Switch(4005, 41, 219, "Revrs", "Reverse", Field(7, 1, 6), 4070),
    Switch(4010, 82, 281, "Veloc", "Velocity", Field(7, 1, 7), 4095),
    InitButton(4015, 296, 281, 4105),
    NameLcd(4020),
    NumberLcd(4025, 4110),
    ValueLcd(4030, 155, 90, "Tune", "Tune", Param(0), 4115),
    ValueLcd(4040, 211, 90, "CHAtt", "Closed hat attack", Param(1), 4125),
    ValueLcd(4035, 155, 102, "CHPkT", "Closed hat peak time", Param(2), 4120),
    ValueLcd(4045, 211, 102, "CHDec", "Closed hat decay", Param(3), 4130),
    ValueLcd(4055, 155, 152, "OHAtt", "Open hat attack", Param(4), 4140),
    ValueLcd(4050, 211, 152, "OHPkT", "Open hat peak time", Param(5), 4135),
    ValueLcd(4060, 155, 164, "OHDec", "Open hat decay", Param(6), 4145),
    WordLcd(4065, 211, 164, "Smple", "Sample set", FieldText(7, 3, 0), kSampleSets, "   "),
    WordLcd(4070, 155, 214, "Revrs", "Reverse", FieldText(7, 1, 6), kOffOn, "   "),
    ValueLcd(4080, 211, 214, "CutHP", "High-pass cut-off", Param(9), 4160),
    WordLcd(4075, 155, 226, "Sourc", "Source", FieldText(7, 3, 3), kHiHatSources, "   "),
    ValueLcd(4085, 211, 226, "CutLP", "Low-pass cut-off", Param(10), 4165),
    ValueLcd(4090, 155, 276, "Level", "Level", Param(8), 4170),
    ValueLcd(4100, 211, 276, "Reson", "Resonance", Param(11), 4175),
    WordLcd(4095, 155, 288, "Veloc", "Velocity", FieldText(7, 1, 7), kOffOn, "   "),
    InitIndicator(4105, 211, 288),
    NumberKnob(4110, 4025),
    ValueKnob(4115, 38, 91, "Tune", "Tune", Param(0), 4030),
    ValueKnob(4125, 252, 91, "CHAtt", "Closed hat attack", Param(1), 4040),
    ValueKnob(4120, 79, 91, "CHPkT", "Closed hat peak time", Param(2), 4035),
    ValueKnob(4130, 293, 91, "CHDec", "Closed hat decay", Param(3), 4045),
    ValueKnob(4140, 38, 153, "OHAtt", "Open hat attack", Param(4), 4055),
    ValueKnob(4135, 252, 153, "OHPkT", "Open hat peak time", Param(5), 4050),
    ValueKnob(4145, 79, 153, "OHDec", "Open hat decay", Param(6), 4060),
    SelectorKnob(4150, 293, 153, "Smple", "Sample set", Field(7, 3, 0), 0, 3, 4065, 0),
    ValueKnob(4160, 252, 215, "CutHP", "High-pass cut-off", Param(9), 4080),
    SelectorKnob(4155, 79, 215, "Sourc", "Source", Field(7, 3, 3, 0x20), 1, 3, 4075, 3),
    ValueKnob(4165, 293, 215, "CutLP", "Low-pass cut-off", Param(10), 4085),
    ValueKnob(4170, 38, 277, "Level", "Level", Param(8), 4090),
    ValueKnob(4175, 252, 277, "Reson", "Resonance", Param(11), 4100),
};

constexpr SDecor kHiHatDecor[] = {
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

// --- Sample panel: kinds 7 to 10 (clap, rimshot, crash, ride) -----------------------------------

// Parameter 4 packs the sample set (bits 0-1), Revrs (bit 6) and Veloc (bit 7). The initialise
// button has no indicator here.
constexpr SControl kSampleControls[] = {
    ActiveLamp(3800),
    Switch(3805, 82, 157, "Veloc", "Velocity", Field(4, 1, 7), 3860),
    Switch(3810, 286, 157, "Revrs", "Reverse", Field(4, 1, 6), 3865, EPlace::Above),
    InitButton(3815, 308, 157, 0),
    NameLcd(3820),
    LabelLcd(3825),
    NumberLcd(3830, 3875, false),
    ValueLcd(3835, 155, 90, "Tune", "Tune", Param(0), 3880),
    ValueLcd(3840, 211, 90, "Attac", "Attack", Param(1), 3885),
    ValueLcd(3850, 155, 102, "Decay", "Decay", Param(3), 3895),
    ValueLcd(3845, 211, 102, "PeakT", "Peak time", Param(2), 3890),
    ValueLcd(3870, 155, 152, "Level", "Level", Param(5), 3905),
    WordLcd(3855, 211, 152, "Smple", "Sample set", FieldText(4, 3, 0), kSampleSets, "   "),
    WordLcd(3860, 155, 164, "Veloc", "Velocity", FieldText(4, 1, 7), kOffOn, "   "),
    WordLcd(3865, 211, 164, "Revrs", "Reverse", FieldText(4, 1, 6), kOffOn, "   "),
    NumberKnob(3875, 3830),
    ValueKnob(3880, 38, 91, "Tune", "Tune", Param(0), 3835),
    ValueKnob(3885, 252, 91, "Attac", "Attack", Param(1), 3840),
    ValueKnob(3890, 293, 91, "PeakT", "Peak time", Param(2), 3845),
    ValueKnob(3895, 79, 91, "Decay", "Decay", Param(3), 3850),
    SelectorKnob(3900, 252, 153, "Smple", "Sample set", Field(4, 3, 0), 0, 3, 3855, 0),
    ValueKnob(3905, 38, 153, "Level", "Level", Param(5), 3870),
};

constexpr SDecor kSampleDecor[] = {
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

// --- LFO panel: kind 11 -------------------------------------------------------------------------

// Parameter 4 packs the destinations (L1 bits 0-3, L2 bits 4-7); parameter 5 the waveforms (L1
// bits 0-2, L2 bits 4-6) and the sync switches (L1 bit 3, L2 bit 7).
constexpr SControl kLfoControls[] = {
    ActiveLamp(4200),
    Switch(4205, 82, 219, "L1Syn", "LFO 1 sync", Field(5, 1, 3), 4280),
    Switch(4210, 255, 219, "L2Syn", "LFO 2 sync", Field(5, 1, 7), 4285),
    InitButton(4220, 296, 219, 4290),
    NameLcd(4225),
    NumberLcd(4230, 4295),
    WordLcd(4235, 155, 90, "L1Wav", "LFO 1 waveform", FieldText(5, 7, 0), kLfoWaveforms, "   "),
    ValueLcd(4240, 211, 90, "L1Int", "LFO 1 intensity", Param(0), 4305),
    WordLcd(4245, 155, 102, "L1Des", "LFO 1 destination", FieldText(4, 15, 0), kLfo1Destinations,
            "   "),
    ValueLcd(4250, 211, 102, "L1Rat", "LFO 1 rate", Param(1), 4315),
    WordLcd(4255, 155, 152, "L2Wav", "LFO 2 waveform", FieldText(5, 7, 4), kLfoWaveforms, "   "),
    ValueLcd(4260, 211, 152, "L2Int", "LFO 2 intensity", Param(2), 4325),
    WordLcd(4265, 155, 164, "L2Des", "LFO 2 destination", FieldText(4, 15, 4), kLfo2Destinations,
            "   "),
    ValueLcd(4270, 211, 164, "L2Rat", "LFO 2 rate", Param(3), 4335),
    ValueLcd(4275, 155, 214, "BPM", "Speed", Param(6), 4340),
    WordLcd(4285, 211, 214, "L2Syn", "LFO 2 sync", FieldText(5, 1, 7), kOffOn, "   "),
    WordLcd(4280, 155, 226, "L1Syn", "LFO 1 sync", FieldText(5, 1, 3), kOffOn, "   "),
    InitIndicator(4290, 211, 226),
    NumberKnob(4295, 4230),
    SelectorKnob(4300, 38, 91, "L1Wav", "LFO 1 waveform", Field(5, 7, 0), 0, 3, 4235, 0),
    ValueKnob(4305, 252, 91, "L1Int", "LFO 1 intensity", Param(0), 4240),
    SelectorKnob(4310, 79, 91, "L1Des", "LFO 1 destination", Field(4, 15, 0), 0, 9, 4245, 0),
    ValueKnob(4315, 293, 91, "L1Rat", "LFO 1 rate", Param(1), 4250),
    SelectorKnob(4320, 38, 153, "L2Wav", "LFO 2 waveform", Field(5, 7, 4), 0, 3, 4255, 0),
    ValueKnob(4325, 252, 153, "L2Int", "LFO 2 intensity", Param(2), 4260),
    SelectorKnob(4330, 79, 153, "L2Des", "LFO 2 destination", Field(4, 15, 4), 0, 3, 4265, 0),
    ValueKnob(4335, 293, 153, "L2Rat", "LFO 2 rate", Param(3), 4270),
    ValueKnob(4340, 38, 215, "Speed", "Speed", Param(6), 4275),
};

constexpr SDecor kLfoDecor[] = {
    titleStrip(350, "LFO"), headerFrame(350),       headerWindow(),  rowFrame(91, "LFO 1"),
    rowWindow(91),          rowFrame(153, "LFO 2"), rowWindow(153),  rowFrame(215, "Sync"),
    rowWindow(215),         screw(12, 268),         screw(337, 268),
};

// --- Kit panel: header, then ten channel strips --------------------------------------------------

// Channel strip c spans x = 25 + 44c ... 69 + 44c.
constexpr int kitColumnX(int c) {
    return 34 + 44 * c;
}
constexpr int kKitFaderX[] = {41, 84, 128, 172, 216, 260, 304, 348, 392};
constexpr const char* kKitColumnLabels[] = {"Kick", "Snar", "LoTo", "HiTo", "HiHa",
                                            "Clap", "Rims", "Crsh", "Ride", "LFOs"};
constexpr int kKitColumns = 10;
constexpr int kKitFaders = 9; // the LFO column shows its speed on a knob instead

constexpr SControl kitLevelLcd(int c) {
    const bool bSpeed = c == kKitFaders;
    return {.nId = bSpeed ? 2230u : 2050u + 5 * c,
            .eKind = EKind::Lcd,
            .x = kitColumnX(c),
            .y = 90,
            .nCells = 3,
            .pszLabel = bSpeed ? "Speed" : "Level",
            .ePlace = EPlace::Above,
            .binding = Column(ERole::KitLevel, c),
            .nPartner = bSpeed ? 2235u : 2005u + 5 * c,
            .nFlags = std::uint16_t(kNumeric | (bSpeed ? kDisabled : 0)),
            .pszFullName = bSpeed ? "Speed" : "Level"};
}
constexpr SControl kitVariationLcd(int c) {
    return {.nId = 2120u + 5 * c,
            .eKind = EKind::Lcd,
            .x = kitColumnX(c),
            .y = 281,
            .nCells = 3,
            .pszLabel = "Variation",
            .ePlace = EPlace::Below,
            .binding = Column(ERole::KitVariation, c),
            .nPartner = 2170u + 5 * c,
            .nFlags = kNumeric,
            .pszFullName = "Variation"};
}
constexpr SControl kitFader(int c) {
    return {.nId = 2005u + 5 * c,
            .eKind = EKind::Fader,
            .x = kKitFaderX[c],
            .y = 122,
            .pszLabel = "Level",
            .binding = Column(ERole::KitLevel, c),
            .nPartner = 2050u + 5 * c,
            .pszFullName = "Level"};
}
constexpr SControl kitVariationKnob(int c) {
    return {.nId = 2170u + 5 * c,
            .eKind = EKind::Knob,
            .x = kitColumnX(c),
            .y = 312,
            .pszLabel = kKitColumnLabels[c],
            .ePlace = EPlace::Below,
            .binding = Column(ERole::KitVariation, c),
            .nPartner = 2120u + 5 * c,
            .pszFullName = "Variation"};
}

// Creation order, which is also the tab order: lamps, read-outs, faders, knobs.
constexpr auto MakeKitControls() {
    std::array<SControl, 2 + 3 + 2 * kKitColumns + kKitFaders + 3 + kKitColumns> rows{};
    std::size_t n = 0;
    rows[n++] = Led(2110, 401, 37, "Init.", "Initialise", Role(ERole::Init), kMomentary);
    rows[n++] = Led(2115, 435, 37, "Active", "Active", Role(ERole::Active), 0);
    rows[n++] = {.nId = 2095,
                 .eKind = EKind::Lcd,
                 .x = 206,
                 .y = 32,
                 .nCells = 3,
                 .pszLabel = "KitNo",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Number),
                 .nPartner = 2220,
                 .nFlags = kNumeric,
                 .pszFullName = "Kit number"};
    rows[n++] = {.nId = 2100,
                 .eKind = EKind::Lcd,
                 .x = 262,
                 .y = 32,
                 .nCells = 3,
                 .pszLabel = "Bank",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Bank),
                 .nMax = 2,
                 .nPartner = 2225,
                 .nFlags = kNumeric,
                 .pszFullName = "Bank"};
    rows[n++] = {.nId = 2105,
                 .eKind = EKind::Lcd,
                 .x = 227,
                 .y = 44,
                 .nCells = 8,
                 .pszLabel = "KitName",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Name),
                 .pszInitial = kUndefinedKitName,
                 .pszFullName = "Kit name"};
    for (int c = 0; c < kKitColumns; ++c)
        rows[n++] = kitLevelLcd(c);
    for (int c = 0; c < kKitColumns; ++c)
        rows[n++] = kitVariationLcd(c);
    for (int c = 0; c < kKitFaders; ++c)
        rows[n++] = kitFader(c);
    rows[n++] = {.nId = 2220,
                 .eKind = EKind::Knob,
                 .x = 313,
                 .y = 33,
                 .pszLabel = "KitNo",
                 .ePlace = EPlace::Below,
                 .binding = Role(ERole::Number),
                 .nPartner = 2095,
                 .pszFullName = "Kit number"};
    rows[n++] = {.nId = 2225,
                 .eKind = EKind::Knob,
                 .x = 354,
                 .y = 33,
                 .pszLabel = "Bank",
                 .ePlace = EPlace::Below,
                 .binding = Role(ERole::Bank),
                 .nMax = 2,
                 .nPartner = 2100,
                 .pszFullName = "Bank"};
    rows[n++] = {.nId = 2235,
                 .eKind = EKind::Knob,
                 .x = 430,
                 .y = 121,
                 .pszLabel = "LFOs",
                 .ePlace = EPlace::Below,
                 .binding = Column(ERole::KitLevel, kKitFaders),
                 .nPartner = 2230,
                 .nFlags = kDisabled,
                 .pszFullName = "Speed"};
    for (int c = 0; c < kKitColumns; ++c)
        rows[n++] = kitVariationKnob(c);
    return rows;
}
constexpr auto kKitControls = MakeKitControls();

constexpr SRect kitStrip(int c) {
    return {25 + 44 * c, 70, 44, 279};
}
// A drop onto a column is found by its strip, so no part of a column may stick out of it.
static_assert([] {
    for (const SControl& row : kKitControls) {
        const int c = row.binding.nColumn;
        if (c < 0)
            continue;
        const SRect strip = kitStrip(c);
        const SSize size = ControlSize(row, 2);
        if (c >= kKitColumns || row.x < strip.x || row.x + size.nWidth > strip.x + strip.nWidth ||
            row.y < strip.y || row.y + size.nHeight > strip.y + strip.nHeight)
            return false;
    }
    return true;
}());

constexpr SDecor kitLevelWindow(int c) {
    return {EDecor::Window, 31 + 44 * c, 87, 25, 15, nullptr};
}
constexpr SDecor kitVariationWindow(int c) {
    return {EDecor::Window, 31 + 44 * c, 278, 25, 15, nullptr};
}
// The dividers break where the "Variation" labels run across the strip borders.
constexpr SDecor kitUpperDivider(int c) {
    return {EDecor::Divider, 69 + 44 * c, 74, 0, 219, nullptr};
}
constexpr SDecor kitLowerDivider(int c) {
    return {EDecor::Divider, 69 + 44 * c, 305, 0, 39, nullptr};
}

constexpr auto MakeKitDecor() {
    std::array<SDecor, 5 + 2 * kKitColumns + 2 * (kKitColumns - 1) + 2> rows{};
    std::size_t n = 0;
    rows[n++] = {EDecor::Strip, 0, 0, 484, 18, nullptr};
    rows[n++] = {EDecor::Frame, 6, 20, 472, 48, nullptr};
    rows[n++] = {EDecor::Emblem, 6, 20, 156, 48, "DRUM KIT"};
    rows[n++] = {EDecor::Window, 170, 27, 117, 31, nullptr};
    rows[n++] = {EDecor::Frame, 19, 70, 446, 279, nullptr};
    for (int c = 0; c < kKitColumns; ++c) {
        rows[n++] = kitLevelWindow(c);
        rows[n++] = kitVariationWindow(c);
    }
    for (int c = 0; c < kKitColumns - 1; ++c) {
        rows[n++] = kitUpperDivider(c);
        rows[n++] = kitLowerDivider(c);
    }
    rows[n++] = screw(12, 365);
    rows[n++] = screw(471, 365);
    return rows;
}
constexpr auto kKitDecor = MakeKitDecor();

// --- Kit-info panel: kind 1, one large window, every read-out disabled --------------------------

constexpr SControl quickName(int r) {
    return {.nId = 3020u + 10 * r,
            .eKind = EKind::Lcd,
            .x = 44,
            .y = 88 + 24 * r,
            .nCells = 16,
            .binding = Column(ERole::RowName, r),
            .nFlags = kDisabled,
            .pszInitial = kUndefinedName,
            .pszFullName = "Variation name"};
}
constexpr SControl quickNumber(int r) {
    return {.nId = 3015u + 10 * r,
            .eKind = EKind::Lcd,
            .x = 86,
            .y = 76 + 24 * r,
            .nCells = 3,
            .pszLabel = kKitColumnLabels[r],
            .ePlace = EPlace::Bracketed,
            .binding = Column(ERole::KitVariation, r),
            .nFlags = kNumeric | kDisabled,
            .pszFullName = "Variation"};
}

// Each row's name read-out is made before its number read-out.
constexpr auto MakeQuickControls() {
    std::array<SControl, 3 + 2 * kKitColumns> rows{};
    std::size_t n = 0;
    rows[n++] = {.nId = 3010,
                 .eKind = EKind::Lcd,
                 .x = 100,
                 .y = 52,
                 .nCells = 8,
                 .pszLabel = "KitName",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Name),
                 .nFlags = kDisabled,
                 .pszInitial = kUndefinedKitName,
                 .pszFullName = "Kit name"};
    rows[n++] = {.nId = 3000,
                 .eKind = EKind::Lcd,
                 .x = 86,
                 .y = 40,
                 .nCells = 3,
                 .pszLabel = "KitNo",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Number),
                 .nFlags = kNumeric | kDisabled,
                 .pszFullName = "Kit number"};
    rows[n++] = {.nId = 3005,
                 .eKind = EKind::Lcd,
                 .x = 135,
                 .y = 40,
                 .nCells = 3,
                 .pszLabel = "Bank",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Bank),
                 .nMax = 2,
                 .nFlags = kNumeric | kDisabled,
                 .pszFullName = "Bank"};
    for (int r = 0; r < kKitColumns; ++r) {
        rows[n++] = quickName(r);
        rows[n++] = quickNumber(r);
    }
    return rows;
}
constexpr auto kQuickControls = MakeQuickControls();

constexpr SDecor kQuickDecor[] = {
    {EDecor::Strip, 0, 0, 199, 18, nullptr},
    {EDecor::Window, 38, 22, 122, 296, nullptr},
    {EDecor::InkText, 44, 26, 0, 0, "[Kit]"},
    {EDecor::Emblem, 0, 322, 199, 40, "KIT INFO"},
    screw(12, 365),
    screw(186, 365),
};

// In EPanel order. Kinds: 1 kit, 2 kick, 3 snare, 4 and 5 toms, 6 hi-hat, 7 to 10 clap,
// rimshot, crash and ride, 11 LFOs.
constexpr SPanel kPanels[] = {
    {EPanel::Kick, "kick", 350, 282, 2, 2, 1, kKickControls, kKickDecor},
    {EPanel::Snare, "snare", 350, 220, 2, 3, 1, kSnareControls, kSnareDecor},
    {EPanel::Tom, "tom", 350, 158, 2, 4, 2, kTomControls, kTomDecor},
    {EPanel::Lfo, "lfo", 350, 282, 2, 11, 1, kLfoControls, kLfoDecor},
    {EPanel::HiHat, "hihat", 350, 344, 2, 6, 1, kHiHatControls, kHiHatDecor},
    {EPanel::Sample, "sample", 350, 220, 2, 7, 4, kSampleControls, kSampleDecor},
    {EPanel::Kit, "kit", 484, 379, 2, 1, 1, kKitControls, kKitDecor},
    {EPanel::Quick, "quick", 199, 379, 2, 1, 1, kQuickControls, kQuickDecor},
};
static_assert([] {
    for (std::size_t i = 0; i < std::size(kPanels); ++i)
        if (static_cast<std::size_t>(kPanels[i].ePanel) != i)
            return false;
    return std::size(kPanels) == static_cast<std::size_t>(EPanel::Quick) + 1;
}());

} // namespace

const SPanel& Panel(EPanel ePanel) {
    const auto i = static_cast<std::size_t>(ePanel);
    return i < std::size(kPanels) ? kPanels[i] : kPanels[0];
}

std::span<const SPanel> AllPanels() {
    return kPanels;
}

const SControl* FindControl(const SPanel& panel, unsigned nId) {
    const auto it = std::find_if(panel.controls.begin(), panel.controls.end(),
                                 [nId](const SControl& c) { return c.nId == nId; });
    return it == panel.controls.end() ? nullptr : &*it;
}

const char* ColumnLabel(int nColumn) {
    return nColumn >= 0 && nColumn < kKitColumns ? kKitColumnLabels[nColumn] : "";
}

SRect KitColumnStrip(int nColumn) {
    return nColumn >= 0 && nColumn < kKitColumns ? kitStrip(nColumn) : SRect{};
}

const char* KindFullName(int nKind) {
    static constexpr const char* kNames[] = {"Kit",      "Kick",   "Snare", "Low tom",
                                             "High tom", "Hi-hat", "Clap",  "Rimshot",
                                             "Crash",    "Ride",   "LFO"};
    return nKind >= 1 && nKind <= int(std::size(kNames)) ? kNames[nKind - 1] : "";
}

std::string FullName(const SPanel& panel, const SControl& c, int nKind, ENameUse eUse) {
    std::string strName = c.pszFullName;
    // The instrument goes first where the window or the column leaves it open.
    const char* pszContext = c.binding.nColumn >= 0 ? KindFullName(c.binding.nColumn + 2)
                             : panel.nKindCount > 1 ? KindFullName(nKind)
                                                    : "";
    // "Low tom level", but "Low tom EQ".
    if (*pszContext && !strName.empty()) {
        if (strName.size() < 2 || !(strName[1] >= 'A' && strName[1] <= 'Z'))
            if (strName[0] >= 'A' && strName[0] <= 'Z')
                strName[0] = char(strName[0] - 'A' + 'a');
        strName = std::string(pszContext) + ' ' + strName;
    }
    if (eUse == ENameUse::ToolTip || c.eKind != EKind::Lcd)
        return strName;
    // A read-out shares its knob's words; a screen reader needs the two apart.
    if (c.nPartner)
        return strName + " read-out";
    const bool bShowsOther = std::any_of(panel.controls.begin(), panel.controls.end(),
                                         [&c](const SControl& o) { return o.nDisplay == c.nId; });
    return bShowsOther ? strName + " display" : strName;
}

} // namespace Panels

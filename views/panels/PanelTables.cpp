#include "PanelTables.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace Panels {

namespace {

constexpr SControl Led(unsigned nId, int x, int y, const char* pszLabel, SBinding binding,
                       std::uint16_t nFlags, unsigned nDisplay = 0) {
    return {.nId = nId,
            .eKind = EKind::Led,
            .x = x,
            .y = y,
            .pszLabel = pszLabel,
            .ePlace = EPlace::Below,
            .binding = binding,
            .nDisplay = nDisplay,
            .nFlags = nFlags};
}

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
            .nFlags = std::uint16_t(kNumeric | (bSpeed ? kDisabled : 0))};
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
            .nFlags = kNumeric};
}
constexpr SControl kitFader(int c) {
    return {.nId = 2005u + 5 * c,
            .eKind = EKind::Fader,
            .x = kKitFaderX[c],
            .y = 122,
            .pszLabel = "Level",
            .binding = Column(ERole::KitLevel, c),
            .nPartner = 2050u + 5 * c};
}
constexpr SControl kitVariationKnob(int c) {
    return {.nId = 2170u + 5 * c,
            .eKind = EKind::Knob,
            .x = kitColumnX(c),
            .y = 312,
            .pszLabel = kKitColumnLabels[c],
            .ePlace = EPlace::Below,
            .binding = Column(ERole::KitVariation, c),
            .nPartner = 2120u + 5 * c};
}

// Creation order, which is also the tab order: lamps, read-outs, faders, knobs.
constexpr auto MakeKitControls() {
    std::array<SControl, 2 + 3 + 2 * kKitColumns + kKitFaders + 3 + kKitColumns> rows{};
    std::size_t n = 0;
    rows[n++] = Led(2110, 401, 37, "Init.", Role(ERole::Init), kMomentary);
    rows[n++] = Led(2115, 435, 37, "Active", Role(ERole::Active), 0);
    rows[n++] = {.nId = 2095,
                 .eKind = EKind::Lcd,
                 .x = 206,
                 .y = 32,
                 .nCells = 3,
                 .pszLabel = "KitNo",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Number),
                 .nPartner = 2220,
                 .nFlags = kNumeric};
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
                 .nFlags = kNumeric};
    rows[n++] = {.nId = 2105,
                 .eKind = EKind::Lcd,
                 .x = 227,
                 .y = 44,
                 .nCells = 8,
                 .pszLabel = "KitName",
                 .ePlace = EPlace::Left,
                 .binding = Role(ERole::Name),
                 .pszInitial = "-Undef.-"};
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
                 .nPartner = 2095};
    rows[n++] = {.nId = 2225,
                 .eKind = EKind::Knob,
                 .x = 354,
                 .y = 33,
                 .pszLabel = "Bank",
                 .ePlace = EPlace::Below,
                 .binding = Role(ERole::Bank),
                 .nMax = 2,
                 .nPartner = 2100};
    rows[n++] = {.nId = 2235,
                 .eKind = EKind::Knob,
                 .x = 430,
                 .y = 121,
                 .pszLabel = "LFOs",
                 .ePlace = EPlace::Below,
                 .binding = Column(ERole::KitLevel, kKitFaders),
                 .nPartner = 2230,
                 .nFlags = kDisabled};
    for (int c = 0; c < kKitColumns; ++c)
        rows[n++] = kitVariationKnob(c);
    return rows;
}
constexpr auto kKitControls = MakeKitControls();

constexpr SDecor screw(int x, int y) {
    return {EDecor::Screw, x, y, 0, 0, nullptr};
}
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

// Kit is kind 1.
constexpr SPanel kPanels[] = {
    {EPanel::Kit, "kit", 484, 379, 2, 1, kKitControls, kKitDecor},
};

} // namespace

const SPanel& Panel(EPanel ePanel) {
    for (const SPanel& panel : kPanels)
        if (panel.ePanel == ePanel)
            return panel;
    return kPanels[0];
}

std::span<const SPanel> AllPanels() {
    return kPanels;
}

const SControl* FindControl(const SPanel& panel, unsigned nId) {
    const auto it = std::find_if(panel.controls.begin(), panel.controls.end(),
                                 [nId](const SControl& c) { return c.nId == nId; });
    return it == panel.controls.end() ? nullptr : &*it;
}

} // namespace Panels

#pragma once

// The pixel art of the toolbar buttons and of the application icon, one character per pixel.
// Every character stands for a colour of the shared table (kLegend), so the pictures need no
// quantising; '.' is the transparent ground.

#include <QRgb>

#include <array>
#include <span>

namespace artgen::icons {

inline constexpr int kButtonWidth = 16;
inline constexpr int kButtonHeight = 15;
inline constexpr int kToolbarButtons = 30;
inline constexpr int kAppIconSize = 16;
inline constexpr char kGround = '.';

struct SInk {
    char cKey;
    QRgb rgb;
};

using Button = std::array<const char*, kButtonHeight>;

extern const std::span<const SInk> kLegend;
// New, Open, Save, Destroy, Copy, Browse, Kit-Info, Kit, Kick, Snare, Low Tom, High Tom, HiHat,
// Hand Clap, Rimshot, Crash, Ride, LFOs, Send variation, Send project, Clear buffer, Activate,
// Deactivate, Reset, Receive Dump, Transmit Dump.
extern const std::array<Button, kToolbarButtons> kToolbar;
extern const std::array<const char*, kAppIconSize> kAppIcon;

} // namespace artgen::icons

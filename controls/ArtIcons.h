#pragma once

#include <QIcon>

// Placeholder until the generated icons land.
namespace ArtIcons {
enum class EButton { New, Open, Save, Destroy, Copy, Browse, KitInfo, Kit, Kick, Snare, LowTom, HighTom, HiHat, Clap, Rimshot, Crash, Ride, Lfos, SendVariation, SendProject, ClearBuffer, Activate, Deactivate, Reset, ReceiveDump, TransmitDump };
inline QIcon ToolbarIcon(EButton) { return {}; }
inline QIcon ViewIcon(int) { return {}; }
inline QIcon AppIcon() { return {}; }
} // namespace ArtIcons

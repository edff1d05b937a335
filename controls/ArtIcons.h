#pragma once

#include <QIcon>
#include <QImage>

// The toolbar buttons, the editor windows' icons and the application icon, made from the stored
// pixel art. Each icon holds its pictures ready at one, two and three times their size, every
// pixel a square block, so that a dense screen shows them crisp: Qt would otherwise scale the
// small pictures smoothly and blur them.
namespace ArtIcons {

enum class EButton {
    New,
    Open,
    Save,
    Destroy,
    Copy,
    Browse,
    KitInfo,
    Kit,
    Kick,
    Snare,
    LowTom,
    HighTom,
    HiHat,
    Clap,
    Rimshot,
    Crash,
    Ride,
    Lfos,
    SendVariation,
    SendProject,
    ClearBuffer,
    Activate,
    Deactivate,
    Reset,
    ReceiveDump,
    TransmitDump,
    SendChanges,
    ProjectOverview,
    Play,
    CompareWithSaved,
};

// The ground of the stored pictures, shown transparent.
inline constexpr QRgb kGround = 0xffc0c0c0;
// The device pixel ratios each icon holds a picture for.
inline constexpr int kScales[] = {1, 2, 3};

QIcon ToolbarIcon(EButton eButton);
// View types 1..12 (kit-info, kit, kick, snare, low tom, high tom, hi-hat, clap, rimshot,
// crash, ride, LFOs); the application icon for any other number.
QIcon ViewIcon(int nViewType);
QIcon AppIcon();

// A button's picture at its own size with its ground transparent; null when the pictures are
// not linked in.
QImage ButtonPicture(EButton eButton);

} // namespace ArtIcons

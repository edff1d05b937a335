#pragma once

#include <optional>

// Every command of the main window: its ids (menu and toolbar use different numbers for one
// action), its menu text, its status-bar prompt and tooltip, its toolbar picture and its key.

namespace Commands {

enum class ECommand {
    New,
    Open,
    Close,
    Save,
    SaveAs,
    Exit,
    About,
    Undo,
    Redo,
    CopyTo,
    Destroy,
    InputDevice,
    OutputDevice,
    SendVariation,
    SendProject,
    ClearBuffer,
    Activate,
    Deactivate,
    Reset,
    Browser,
    KitInfo,
    ReceiveDump,
    TransmitDump,
    ImportFromProject,
    OpenKit,
    OpenKick,
    OpenSnare,
    OpenHighTom,
    OpenLowTom,
    OpenHiHat,
    OpenClap,
    OpenRimshot,
    OpenCrash,
    OpenRide,
    OpenLfos,
    Toolbar,
    StatusBar,
    Cascade,
    Tile,
    ArrangeIcons,
    SendChanges,
    ForgetModule,
    ProjectOverview,
    Play,
    CompareWithSaved,
    Audition,
};

struct SCommand {
    ECommand eCommand;
    unsigned nMenuId;    // 0: not in a menu
    unsigned nToolbarId; // 0: not on the toolbar
    const char* pszMenuText;
    const char* pszPrompt;
    const char* pszTip;
    int nButton;             // position of its picture in the toolbar strip; -1 for none
    int nViewType;           // the editor the command opens; 0 for none
    const char* pszShortcut; // portable key text; null for none
};

// Prompts and tooltips are the string table's; the menu id's prompt where the two differ.
inline constexpr SCommand kCommands[] = {
    {ECommand::New, 57600, 57600, "&New", "Create a new project", "New", 0, 0, "Ctrl+N"},
    {ECommand::Open, 57601, 57601, "&Open...", "Open an existing project", "Open", 1, 0, "Ctrl+O"},
    {ECommand::Close, 57602, 0, "&Close", "Close the active project", "Close", -1, 0, nullptr},
    {ECommand::Save, 57603, 57603, "&Save", "Save the active project", "Save", 2, 0, "Ctrl+S"},
    {ECommand::SaveAs, 57604, 0, "Save &As...", "Save the active project with a new name",
     "Save As", -1, 0, nullptr},
    {ECommand::Exit, 57665, 0, "E&xit", "Quit the application; prompt to save the project", "Exit",
     -1, 0, nullptr},
    {ECommand::About, 57664, 0, "&About Quenley",
     "Display program information, version number and copyright", "About", -1, 0, nullptr},
    {ECommand::Undo, 57643, 0, "&Undo", "Undo the last change", "Undo", -1, 0, "Ctrl+Z"},
    {ECommand::Redo, 57644, 0, "&Redo", "Redo the change undone last", "Redo", -1, 0,
     "Ctrl+Shift+Z"},
    {ECommand::CopyTo, 32822, 32802, "&CopyTo", "Copy the active variation", "Copy ", 4, 0,
     nullptr},
    {ECommand::Destroy, 32805, 32801, "&Destroy", "Destroy the active variation", "Destroy", 3, 0,
     "Ctrl+D"},
    {ECommand::InputDevice, 32775, 0, "&Input Device", "Open the Midi Input Device Dialog", "", -1,
     0, nullptr},
    {ECommand::OutputDevice, 32776, 0, "&Output Device", "Open the Midi Output Device Dialog", "",
     -1, 0, nullptr},
    {ECommand::SendVariation, 32830, 32782, "Send &Variation", "Send the active variation",
     "Send variation", 18, 0, nullptr},
    {ECommand::SendProject, 32831, 32788, "Send &Project", "Send the entire project",
     "Send project", 19, 0, nullptr},
    {ECommand::ClearBuffer, 32839, 32838, "Clear &Buffer", "Clear the send buffer", "Clear buffer",
     20, 0, nullptr},
    {ECommand::Activate, 32825, 32796, "&Activate Midi", "Activate the Midi-Device", "Activate", 21,
     0, nullptr},
    {ECommand::Deactivate, 32826, 32774, "&Deactivate Midi", "Deactivate the Midi-Device",
     "Deactivate", 22, 0, nullptr},
    {ECommand::Reset, 32827, 32779, "&Reset Midi", "Reset the Midi-Device", "Reset", 23, 0,
     nullptr},
    {ECommand::Browser, 32846, 32844, "Bro&wser", "Open a Variation Browser dialog", "Browse", 5, 0,
     nullptr},
    {ECommand::KitInfo, 32847, 32772, "&Kit Info", "Open a Kit-Info window", "Kit-Info", 6, 0,
     nullptr},
    {ECommand::ReceiveDump, 32850, 32804, "&Receive Dump", "Receive the Zandrel - Dump",
     "Receive Dump", 24, 0, nullptr},
    {ECommand::TransmitDump, 32849, 32852, "&Transmit Dump", "Transmit the Zandrel - Dump",
     "Transmit Dump", 25, 0, nullptr},
    {ECommand::ImportFromProject, 32853, 0, "&Import from Project...",
     "Copy a variation or kit from another project", "Import from Project", -1, 0, nullptr},
    {ECommand::OpenKit, 32811, 32823, "&Kit", "Open a Kit window", "Kit", 7, 2, nullptr},
    {ECommand::OpenKick, 32812, 32784, "&Kick", "Open a Kick window", "Kick", 8, 3, nullptr},
    {ECommand::OpenSnare, 32813, 32785, "&Snare", "Open a Snare window", "Snare", 9, 4, nullptr},
    {ECommand::OpenHighTom, 32814, 32787, "&High", "Open a High Tom window", "High Tom", 11, 6,
     nullptr},
    {ECommand::OpenLowTom, 32815, 32794, "&Low", "Open a Low Tom window", "Low Tom", 10, 5,
     nullptr},
    {ECommand::OpenHiHat, 32824, 32795, "&HiHat", "Open a HiHat window", "HiHat", 12, 7, nullptr},
    {ECommand::OpenClap, 32817, 32789, "&Clap", "Open a Hand Clap window", "Hand Clap", 13, 8,
     nullptr},
    {ECommand::OpenRimshot, 32818, 32790, "Ri&ms", "Open a Rimshot window", "Rimshot", 14, 9,
     nullptr},
    {ECommand::OpenCrash, 32819, 32797, "C&rash", "Open a Crash window", "Crash", 15, 10, nullptr},
    {ECommand::OpenRide, 32820, 32792, "Ri&de", "Open a Ride window", "Ride", 16, 11, nullptr},
    {ECommand::OpenLfos, 32821, 32793, "&LFOs", "Open a LFOs window", "LFOs", 17, 12, nullptr},
    {ECommand::Toolbar, 59392, 0, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", -1, 0,
     nullptr},
    {ECommand::StatusBar, 59393, 0, "&Status Bar", "Show or hide the status bar",
     "Toggle StatusBar", -1, 0, nullptr},
    {ECommand::Cascade, 57650, 0, "&Cascade", "Arrange windows so they overlap", "Cascade Windows",
     -1, 0, nullptr},
    {ECommand::Tile, 57651, 0, "&Tile", "Arrange windows as non-overlapping tiles", "Tile Windows",
     -1, 0, nullptr},
    {ECommand::ArrangeIcons, 57649, 0, "&Arrange Icons",
     "Arrange icons at the bottom of the window", "Arrange Icons", -1, 0, nullptr},
    {ECommand::SendChanges, 32856, 32857, "Send C&hanges",
     "Send only the values the module does not hold yet", "Send changes", 26, 0, nullptr},
    {ECommand::ForgetModule, 32858, 0, "&Forget what the module holds",
     "Forget which values the module holds, so that Send Changes sends everything",
     "Forget what the module holds", -1, 0, nullptr},
    {ECommand::ProjectOverview, 32859, 32860, "Project &Overview",
     "Show or hide the overview of every variation and kit of the project", "Project Overview", 27,
     0, nullptr},
    {ECommand::Play, 32861, 32862, "P&lay", "Play the active window's sound on the module", "Play",
     28, 0, "Ctrl+P"},
    {ECommand::CompareWithSaved, 32863, 32864, "Compare with &Saved",
     "Switch the active window between its edited values and those of the saved project",
     "Compare with saved", 29, 0, nullptr},
    {ECommand::Audition, 32865, 0, "&Audition...",
     "Choose the note, velocity, length and channel Play sends for each instrument", "", -1, 0,
     nullptr},
};

// The toolbar from left to right; an empty entry is a separator.
inline constexpr std::optional<ECommand> kToolbarLayout[] = {
    ECommand::New,
    ECommand::Open,
    ECommand::Save,
    std::nullopt,
    ECommand::Destroy,
    ECommand::CopyTo,
    std::nullopt,
    ECommand::Browser,
    ECommand::KitInfo,
    ECommand::ProjectOverview,
    std::nullopt,
    ECommand::OpenKit,
    ECommand::OpenKick,
    ECommand::OpenSnare,
    ECommand::OpenLowTom,
    ECommand::OpenHighTom,
    ECommand::OpenHiHat,
    ECommand::OpenClap,
    ECommand::OpenRimshot,
    ECommand::OpenCrash,
    ECommand::OpenRide,
    ECommand::OpenLfos,
    std::nullopt,
    ECommand::SendVariation,
    ECommand::SendProject,
    ECommand::SendChanges,
    std::nullopt,
    ECommand::Play,
    ECommand::CompareWithSaved,
    std::nullopt,
    ECommand::ClearBuffer,
    std::nullopt,
    ECommand::Activate,
    ECommand::Deactivate,
    ECommand::Reset,
    std::nullopt,
    ECommand::ReceiveDump,
    ECommand::TransmitDump,
};

// One line of the menu bar's layout: a menu opens (the following lines are its entries, up to
// its End), a command, a separator, or a place the window fills itself (the recent projects
// with the separator after them, the zoom levels).
enum class EMenuItem { Menu, End, Command, Separator, Recent, Zoom };

struct SMenuItem {
    EMenuItem eItem;
    ECommand eCommand;    // of a Command
    const char* pszTitle; // of a Menu
    bool bProjectOnly;    // shown only while a project is open
};

constexpr SMenuItem MenuOpen(const char* pszTitle, bool bProjectOnly = false) {
    return {EMenuItem::Menu, ECommand::New, pszTitle, bProjectOnly};
}
constexpr SMenuItem Entry(ECommand eCommand, bool bProjectOnly = false) {
    return {EMenuItem::Command, eCommand, nullptr, bProjectOnly};
}
constexpr SMenuItem Place(EMenuItem eItem, bool bProjectOnly = false) {
    return {eItem, ECommand::New, nullptr, bProjectOnly};
}
inline constexpr bool kProjectOnly = true;

inline constexpr SMenuItem kMenuLayout[] = {
    MenuOpen("&Project"),
    Entry(ECommand::New),
    Entry(ECommand::Open),
    Entry(ECommand::Close, kProjectOnly),
    Entry(ECommand::Save, kProjectOnly),
    Entry(ECommand::SaveAs, kProjectOnly),
    Place(EMenuItem::Separator, kProjectOnly),
    Place(EMenuItem::Recent),
    Entry(ECommand::Exit),
    Place(EMenuItem::End),

    MenuOpen("&Edit", kProjectOnly),
    Entry(ECommand::Undo),
    Entry(ECommand::Redo),
    Place(EMenuItem::Separator),
    Entry(ECommand::CopyTo),
    Entry(ECommand::Destroy),
    Place(EMenuItem::Separator),
    Entry(ECommand::CompareWithSaved),
    Place(EMenuItem::End),

    MenuOpen("&Settings"),
    MenuOpen("&Midi Devices"),
    Entry(ECommand::InputDevice),
    Entry(ECommand::OutputDevice),
    Place(EMenuItem::End),
    Entry(ECommand::Audition),
    Place(EMenuItem::End),

    MenuOpen("&Midi", kProjectOnly),
    Entry(ECommand::SendVariation),
    Entry(ECommand::SendProject),
    Entry(ECommand::SendChanges),
    Place(EMenuItem::Separator),
    Entry(ECommand::Play),
    Place(EMenuItem::Separator),
    Entry(ECommand::ClearBuffer),
    Place(EMenuItem::Separator),
    Entry(ECommand::Activate),
    Entry(ECommand::Deactivate),
    Place(EMenuItem::Separator),
    Entry(ECommand::Reset),
    Entry(ECommand::ForgetModule),
    Place(EMenuItem::End),

    MenuOpen("&Tools", kProjectOnly),
    Entry(ECommand::Browser),
    Entry(ECommand::KitInfo),
    Place(EMenuItem::Separator),
    Entry(ECommand::ReceiveDump),
    Entry(ECommand::TransmitDump),
    Place(EMenuItem::Separator),
    Entry(ECommand::ImportFromProject),
    Place(EMenuItem::End),

    MenuOpen("&View"),
    Entry(ECommand::OpenKit, kProjectOnly),
    MenuOpen("&Instrument", kProjectOnly),
    Entry(ECommand::OpenKick),
    Entry(ECommand::OpenSnare),
    MenuOpen("&Tom"),
    Entry(ECommand::OpenHighTom),
    Entry(ECommand::OpenLowTom),
    Place(EMenuItem::End),
    Entry(ECommand::OpenHiHat),
    MenuOpen("&Sample"),
    Entry(ECommand::OpenClap),
    Entry(ECommand::OpenRimshot),
    Entry(ECommand::OpenCrash),
    Entry(ECommand::OpenRide),
    Place(EMenuItem::End),
    Place(EMenuItem::End),
    Entry(ECommand::OpenLfos, kProjectOnly),
    Place(EMenuItem::Zoom, kProjectOnly),
    Place(EMenuItem::Separator, kProjectOnly),
    Entry(ECommand::Toolbar),
    Entry(ECommand::StatusBar),
    Entry(ECommand::ProjectOverview),
    Place(EMenuItem::End),

    // The open windows follow, added each time the menu opens.
    MenuOpen("&Window", kProjectOnly),
    Entry(ECommand::Cascade),
    Entry(ECommand::Tile),
    Entry(ECommand::ArrangeIcons),
    Place(EMenuItem::End),

    MenuOpen("&Help"),
    Entry(ECommand::About),
    Place(EMenuItem::End),
};

// The first id of the recent-project entries, and how many are kept.
inline constexpr unsigned kFirstRecentId = 57616;
inline constexpr int kRecentCount = 4;
inline constexpr const char* kRecentPrompt = "Open this project";
inline constexpr const char* kCloseWindowPrompt =
    "Close the active window and prompts to save the documents";

constexpr const SCommand& Command(ECommand e) {
    for (const SCommand& c : kCommands)
        if (c.eCommand == e)
            return c;
    return kCommands[0];
}

constexpr bool CommandsInOrder() {
    for (int i = 0; i < int(sizeof kCommands / sizeof kCommands[0]); ++i)
        if (int(kCommands[i].eCommand) != i)
            return false;
    return true;
}
static_assert(CommandsInOrder());

} // namespace Commands

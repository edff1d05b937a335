#include "CliCommands.h"

#include "CDMidi.h"
#include "CliArgs.h"

#include <QObject>

namespace Cli {

int Ports(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "ports",
        "",
        "Lists the MIDI output devices, numbered as the editor's settings store them.\n"
        "The last one, \"SysEx file\", writes every message to a file instead of a port.\n"
        "QUENLEY_MIDI_API=jack or =alsa chooses the MIDI back end.\n",
        {},
        0};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    QObject window;
    CDMidi midi;
    midi.SetCallbackWnd(&window);
    if (!midi.DMidiOutInit()) {
        err << "quenley-cli ports: no MIDI output device found\n";
        return 1;
    }
    for (std::uint32_t i = 0; i < midi.GetNumDevs(); ++i)
        out << i << ": " << QString::fromUtf8(midi.GetDeviceName(i)) << "\n";
    return 0;
}

const Command* Commands(int& nCount) {
    static const Command commands[] = {
        {"ports", "list the MIDI output devices", &Ports},
        {"dump", "show a project's sections and saved windows", &Dump},
        {"to-json", "write a project file as JSON", &ToJson},
        {"from-json", "make a project file from its JSON", &FromJson},
        {"syx", "write the messages that send a project to a .syx file", &Syx},
        {"from-syx", "make a project file from the messages in a .syx file", &FromSyx},
        {"send", "send a project to the module", &Send},
        {"copy", "copy a variation or kit from one project into another", &Copy},
    };
    nCount = static_cast<int>(std::size(commands));
    return commands;
}

} // namespace Cli

#include "CliCommands.h"

#include "CDMidi.h"
#include "CMidiInput.h"
#include "CliArgs.h"

#include <QObject>

namespace Cli {

int Ports(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "ports",
        "[--inputs]",
        "Lists the MIDI output devices, numbered as the editor's settings store them.\n"
        "The last one, \"SysEx file\", writes every message to a file instead of a port.\n"
        "With --inputs lists the MIDI input devices instead, numbered as 'quenley-cli\n"
        "receive' takes them.\n"
        "QUENLEY_MIDI_API=jack or =alsa chooses the MIDI back end.\n",
        {},
        0};
    SArgs a;
    const QString strInputs = QStringLiteral("inputs");
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err, {strInputs}); nExit >= 0)
        return nExit;
    if (a.options.contains(strInputs)) {
        CMidiInput input(CreateSystemMidiInDriver());
        const QStringList names = input.DeviceNames();
        if (names.isEmpty()) {
            err << "quenley-cli ports: no MIDI input device found\n";
            return 1;
        }
        for (qsizetype i = 0; i < names.size(); ++i)
            out << i << ": " << names[i] << "\n";
        return 0;
    }
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
        {"ports", "list the MIDI output (or input) devices", &Ports},
        {"dump", "show a project's sections and saved windows", &Dump},
        {"to-json", "write a project file as JSON", &ToJson},
        {"from-json", "make a project file from its JSON", &FromJson},
        {"syx", "write the messages that send a project to a .syx file", &Syx},
        {"from-syx", "make a project file from the messages in a .syx file", &FromSyx},
        {"send", "send a project to the module", &Send},
        {"receive", "write the messages the module sends to a .syx file", &Receive},
        {"copy", "copy a variation or kit from one project into another", &Copy},
    };
    nCount = static_cast<int>(std::size(commands));
    return commands;
}

} // namespace Cli

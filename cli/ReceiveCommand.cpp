#include "CliArgs.h"
#include "CliCommands.h"
#include "StopSignals.h"

#include "CMidiInput.h"
#include "ProjectFile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>


namespace Cli {

namespace {

constexpr int kPollMs = 50;
constexpr double kMaxTimeout = 3600;

QString Plural(qint64 n, const char* pszOne, const char* pszMany) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? pszOne : pszMany));
}

// Why OUT cannot be written, found before anything is received, so that a dump played from
// the module is not lost at the end; empty when nothing is known against it.
QString OutputFault(const QString& strPath) {
    if (IsStdio(strPath) || ProjectFile::HasUndecodableBytes(strPath))
        return QString();
    const QFileInfo info(strPath);
    if (info.isDir())
        return QStringLiteral("it is a folder");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("its folder %1 does not exist").arg(info.absolutePath());
    if (!folder.isWritable() && !(info.exists() && info.isWritable()))
        return QStringLiteral("its folder %1 cannot be written to").arg(info.absolutePath());
    return QString();
}

} // namespace

int Receive(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "receive",
        "--port N OUT.syx [--timeout SECONDS]",
        "Writes every System Exclusive message that arrives at MIDI input N (numbered as\n"
        "'quenley-cli ports --inputs' lists them) to OUT.syx, byte for byte and in the\n"
        "order they came; other MIDI messages are skipped and counted. Start it, then\n"
        "send the dump from the module: it ends SECONDS of quiet (2 when not given)\n"
        "after the first message, or on Ctrl-C (or SIGTERM, or SIGHUP; exit code 130),\n"
        "and then writes the messages that arrived whole. What arrived is written to\n"
        "standard error. When nothing arrived, or the device went away, the exit code\n"
        "is 1; OUT.syx is written only once complete, and not at all when nothing came.\n"
        "OUT.syx may be - for standard output.\n",
        {QStringLiteral("port"), QStringLiteral("timeout")},
        1};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    if (!a.options.contains(QStringLiteral("port"))) {
        err << strPrefix << ": --port N is needed; 'quenley-cli ports --inputs' lists the inputs\n";
        return kExitUsage;
    }
    int nPort = 0;
    if (!IntOption(a, QStringLiteral("port"), 0, 0xFFFF, 0, nPort, strPrefix, err))
        return kExitUsage;
    double dTimeout = 2;
    if (const auto it = a.options.constFind(QStringLiteral("timeout"));
        it != a.options.constEnd()) {
        bool bOk = false;
        dTimeout = it->toDouble(&bOk);
        if (!bOk || !(dTimeout > 0) || dTimeout > kMaxTimeout) {
            err << strPrefix << ": --timeout must be a number of seconds above 0 and up to "
                << kMaxTimeout << ", not \"" << *it << "\"\n";
            return kExitUsage;
        }
    }
    const qint64 nQuietMs = qint64(dTimeout * 1000);
    const QString& strOut = a.positional.first();
    if (const QString strFault = OutputFault(strOut); !strFault.isEmpty()) {
        err << strPrefix << ": " << strOut << " cannot be written: " << strFault << "\n";
        return kExitFailure;
    }

    CMidiInput input(CreateSystemMidiInDriver());
    const QStringList names = input.DeviceNames();
    if (names.isEmpty()) {
        err << strPrefix << ": no MIDI input device found\n";
        return kExitFailure;
    }
    if (nPort >= names.size()) {
        err << strPrefix << ": there is no MIDI input " << nPort
            << "; 'quenley-cli ports --inputs' lists " << names.size() << " (0 to "
            << names.size() - 1 << ")\n";
        return kExitFailure;
    }
    const QString strPort = QStringLiteral("port %1 (%2)").arg(nPort).arg(names[nPort]);

    CStopSignals stopSignals;
    QString strError;
    if (!input.Open(names[nPort], &strError)) {
        err << strPrefix << ": " << strPort << ": " << strError << "\n";
        return kExitFailure;
    }
    err << strPrefix << ": " << strPort << ": waiting for System Exclusive messages; "
        << "send the dump now (Ctrl-C ends)\n";
    err.flush();

    QByteArray received;
    int nMessages = 0;
    bool bGone = false;
    QEventLoop loop;
    QObject::connect(&input, &CMidiInput::SysExReceived, &loop, [&](const QByteArray& message) {
        received += message;
        ++nMessages;
    });
    QObject::connect(&input, &CMidiInput::DeviceGone, &loop, [&] {
        bGone = true;
        loop.quit();
    });

    const bool bTerminal = StderrIsTerminal();
    auto progress = [&] {
        return QStringLiteral("received %1, %2")
            .arg(Plural(nMessages, "message", "messages"),
                 Plural(received.size(), "byte", "bytes"));
    };
    int nStopSignal = 0;
    int nLineWidth = 0; // of the progress line on the terminal
    int nShown = 0;     // messages the log was last told of
    QElapsedTimer logClock;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if ((nStopSignal = StopSignal()) != 0) {
            loop.quit();
            return;
        }
        // The quiet spell counts only once the dump has begun: before, the module waits for
        // the musician.
        const bool bBegun = nMessages > 0 || input.BrokenMessages() > 0;
        if (bBegun && input.MsSinceLastByte() >= nQuietMs) {
            loop.quit();
            return;
        }
        if (bTerminal && nMessages > 0) {
            const QString strLine = progress();
            err << "\r" << strLine;
            err.flush();
            nLineWidth = int(strLine.size());
        } else if (!bTerminal && nMessages != nShown &&
                   (!logClock.isValid() || logClock.elapsed() >= 1000)) {
            // A log gets a line when something came, at most about every second.
            err << strPrefix << ": " << progress() << "\n";
            err.flush();
            nShown = nMessages;
            logClock.start();
        }
    });
    poll.start(kPollMs);
    loop.exec();
    poll.stop();
    input.Finish();
    if (nLineWidth > 0)
        err << "\r" << QString(nLineWidth, QLatin1Char(' ')) << "\r";

    if (nStopSignal != 0)
        err << strPrefix << ": stopped by signal " << nStopSignal << " (" << SignalName(nStopSignal)
            << ")\n";
    if (bGone)
        err << strPrefix << ": " << strPort << ": the device went away\n";
    QString strSummary = progress();
    QStringList skipped;
    if (input.OtherMessages() > 0)
        skipped << Plural(input.OtherMessages(), "other MIDI message", "other MIDI messages");
    if (input.BrokenMessages() > 0)
        skipped << Plural(input.BrokenMessages(), "message cut short or too long",
                          "messages cut short or too long");
    if (!skipped.isEmpty())
        strSummary += QStringLiteral("; skipped ") + skipped.join(QStringLiteral(", "));
    err << strPrefix << ": " << strSummary << "\n";

    const int nEndCode = nStopSignal != 0 ? kExitInterrupted : bGone ? kExitFailure : kExitOk;
    if (nMessages == 0) {
        err << strPrefix << ": no System Exclusive message arrived; " << OutputName(strOut)
            << " was not written\n";
        return nStopSignal != 0 ? kExitInterrupted : kExitFailure;
    }
    if (!WriteOutput(strOut, received, strError)) {
        err << strPrefix << ": " << AboutFile(OutputName(strOut), strError) << "\n";
        return kExitFailure;
    }
    if (!IsStdio(strOut))
        err << strPrefix << ": wrote " << strOut << "\n";
    return nEndCode;
}

} // namespace Cli

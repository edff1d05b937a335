#include "CRawNameOutput.h"
#include "CliCommands.h"
#include "ProjectFile.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <new>

int main(int argc, char* argv[]) {
    ProjectFile::IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quenley"));
    QCoreApplication::setApplicationName(QStringLiteral("Quenley"));

    CRawNameOutput errDevice(stderr);
    errDevice.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream out(stdout);
    QTextStream err(&errDevice);
    err.setEncoding(QStringConverter::Utf16LE);
    QStringList args = ProjectFile::DecodeArguments(argc, argv).mid(1);

    int nCount = 0;
    const Cli::Command* pCommands = Cli::Commands(nCount);
    auto usage = [&](QTextStream& stream) {
        stream << "Usage: quenley-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
        for (int i = 0; i < nCount; ++i)
            stream << "  " << QString::fromLatin1(pCommands[i].pszName).leftJustified(10) << " "
                   << pCommands[i].pszSummary << "\n";
        stream << "\n'quenley-cli COMMAND --help' tells more about one command.\n";
    };
    if (args.isEmpty()) {
        usage(err);
        return 2;
    }
    const QString strCommand = args.takeFirst();
    int nCode = -1;
    if (strCommand == QLatin1String("--help") || strCommand == QLatin1String("-h") ||
        strCommand == QLatin1String("help")) {
        usage(out);
        nCode = 0;
    }
    for (int i = 0; i < nCount && nCode < 0; ++i) {
        if (strCommand != QLatin1String(pCommands[i].pszName))
            continue;
        // Qt reports memory it could not get by throwing; say so instead of aborting.
        try {
            nCode = pCommands[i].pRun(args, out, err);
        } catch (const std::bad_alloc&) {
            err << "quenley-cli " << strCommand << ": out of memory\n";
            return 1;
        }
    }
    if (nCode < 0) {
        err << "quenley-cli: unknown command \"" << strCommand << "\"\n";
        usage(err);
        return 2;
    }
    // A result lost on its way out (a full disk, a closed pipe) must not look like success.
    out.flush();
    if (out.status() != QTextStream::Ok && nCode == 0) {
        err << "quenley-cli " << strCommand << ": cannot write to standard output\n";
        return 1;
    }
    return nCode;
}

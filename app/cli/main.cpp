#include "CliCommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quenley"));
    QCoreApplication::setApplicationName(QStringLiteral("Quenley"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);

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
    if (strCommand == QLatin1String("--help") || strCommand == QLatin1String("-h") ||
        strCommand == QLatin1String("help")) {
        usage(out);
        return 0;
    }
    for (int i = 0; i < nCount; ++i)
        if (strCommand == QLatin1String(pCommands[i].pszName))
            return pCommands[i].pRun(args, out, err);
    err << "quenley-cli: unknown command \"" << strCommand << "\"\n";
    usage(err);
    return 2;
}

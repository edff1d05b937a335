// quenley: the editor. Everything happens in the application object; this only starts it, or
// hands the command line to the editor that is running already.

#include "CInstanceChannel.h"
#include "CQuenleyApp.h"
#include "ProjectFile.h"
#include "QuenleyMessage.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ProjectFile::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenley"));
    QApplication::setApplicationName(QStringLiteral("Quenley"));
    QApplication::setApplicationVersion(QStringLiteral(QUENLEY_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quenley"));

    // File names byte for byte, as the file system has them.
    const QStringList arguments = ProjectFile::DecodeArguments(argc, argv);
    const QStringList files = CQuenleyApp::CommandLineFiles(arguments);
    CInstanceChannel channel;
    switch (channel.Claim(files)) {
    case CInstanceChannel::EClaim::HandedOff:
        return 0;
    case CInstanceChannel::EClaim::Failed:
        QuenleyMessage::Show(channel.Error(), QuenleyMessage::EIcon::Warning);
        return 1;
    case CInstanceChannel::EClaim::Primary:
        break;
    }

    CQuenleyApp quenley;
    if (!quenley.InitInstance(arguments))
        return 1;
    channel.SetHandler([&quenley](const QStringList& handed) { quenley.OnOpenRequest(handed); });
    const int nResult = QApplication::exec();
    quenley.ExitInstance();
    return nResult;
}

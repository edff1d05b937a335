#include "TestMain.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    // Settings and data of the tests never touch the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    // The editor's claim to be the one running (a socket and a lock) lies here too.
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenley"));
    QApplication::setApplicationName(QStringLiteral("Quenley"));
    return RunRegisteredTests(argc, argv);
}

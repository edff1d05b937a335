// quenley: the editor. Everything happens in the application object; this only starts it.

#include "CQuenleyApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenley"));
    QApplication::setApplicationName(QStringLiteral("Quenley"));
    QApplication::setApplicationVersion(QStringLiteral(QUENLEY_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quenley"));

    CQuenleyApp quenley;
    if (!quenley.InitInstance(QApplication::arguments()))
        return 1;
    const int nResult = QApplication::exec();
    quenley.ExitInstance();
    return nResult;
}

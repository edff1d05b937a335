#include "TestMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The device dialog is driven too, so widgets are needed (offscreen under CTest).
    QApplication app(argc, argv);
    return RunRegisteredTests(argc, argv);
}

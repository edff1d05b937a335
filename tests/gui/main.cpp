#include "TestMain.h"

#include <QGuiApplication>

int main(int argc, char* argv[]) {
    // The pictures are compared in this process; the program under test has a display of its own.
    QGuiApplication app(argc, argv);
    return RunRegisteredTests(argc, argv);
}

#include "CBenchEditor.h"

#include "CQuenleyApp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

CBenchEditor::CBenchEditor(int& argc, char** argv, const QStringList& args) {
    m_pApp = std::make_unique<QApplication>(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenley"));
    QApplication::setApplicationName(QStringLiteral("Quenley"));
    QApplication::setDesktopFileName(QStringLiteral("quenley"));
    m_pQuenley = std::make_unique<CQuenleyApp>();
    if (!m_pQuenley->InitInstance(QStringList{QStringLiteral("quenley")} + args)) {
        std::fprintf(stderr, "guibench: the editor did not start\n");
        std::exit(1);
    }
}

CBenchEditor::~CBenchEditor() {
    m_pQuenley->ExitInstance();
    m_pQuenley.reset();
}

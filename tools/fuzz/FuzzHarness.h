#pragma once

#include "CMidiWnd.h"
#include "CSysExFileDriver.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

// What every fuzz target needs around the code under test: made once for the process and never
// destroyed, so a run pays for it once. The port stays closed, so anything sent collects in the
// queue, where the target can check it.
class CFuzzHarness {
public:
    explicit CFuzzHarness(const char* pszName) : m_pszName(pszName) {
        static int argc = 1;
        static char* argv[] = {const_cast<char*>(pszName), nullptr};
        m_pApp = new QCoreApplication(argc, argv);
        m_pFrame = new QObject;
        m_pWnd = new CMidiWnd(std::make_unique<CSysExFileDriver>(
            QDir::temp().filePath(QString::fromLatin1(pszName) + QStringLiteral(".syx"))));
        if (!m_pWnd->Create(m_pFrame) || !m_pWnd->DMidiOutInit())
            Fault("no transmit window");
    }

    CMidiWnd& Wnd() const { return *m_pWnd; }

    [[noreturn]] void Fault(const char* pszWhat) const {
        std::fprintf(stderr, "%s: %s\n", m_pszName, pszWhat);
        std::abort();
    }

private:
    // Kept, so the leak check sees them reachable.
    const char* m_pszName;
    QCoreApplication* m_pApp = nullptr;
    QObject* m_pFrame = nullptr;
    CMidiWnd* m_pWnd = nullptr;
};

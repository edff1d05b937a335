#include "TestMain.h"

#include <QCoreApplication>
#include <QTest>

#include <cstring>
#include <memory>
#include <vector>

namespace {
struct Registered {
    const char* pszName;
    TestFactory pMake;
};
std::vector<Registered>& Registry() {
    static std::vector<Registered> registry;
    return registry;
}
} // namespace

int RegisterTestClass(const char* pszName, TestFactory pMake) {
    Registry().push_back({pszName, pMake});
    return static_cast<int>(Registry().size());
}

// Usage: EXE [ClassName [qtest options...]]
int RunRegisteredTests(int argc, char* argv[]) {
    const char* pszOnly = (argc > 1 && argv[1][0] != '-') ? argv[1] : nullptr;
    std::vector<char*> args{argv[0]};
    for (int i = pszOnly ? 2 : 1; i < argc; ++i)
        args.push_back(argv[i]);
    int nFailed = 0;
    bool bFound = false;
    for (const Registered& r : Registry()) {
        if (pszOnly && std::strcmp(pszOnly, r.pszName) != 0)
            continue;
        bFound = true;
        std::unique_ptr<QObject> pTest(r.pMake());
        nFailed += QTest::qExec(pTest.get(), static_cast<int>(args.size()), args.data());
    }
    if (!bFound) {
        qWarning("no test class named %s", pszOnly);
        return 1;
    }
    return nFailed;
}

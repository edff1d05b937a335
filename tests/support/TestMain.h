#pragma once

#include <QObject>

// Lets one test executable hold several Qt Test classes; each registers itself and CTest runs
// them one by one by name (or all when no name is given).
using TestFactory = QObject* (*)();
int RegisterTestClass(const char* pszName, TestFactory pMake);
int RunRegisteredTests(int argc, char* argv[]);

#define QUENLEY_REGISTER_TEST(Class)                                                               \
    static const int s_nRegistered##Class =                                                        \
        RegisterTestClass(#Class, []() -> QObject* { return new Class; });

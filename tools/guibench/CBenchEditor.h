#pragma once

#include <QStringList>

#include <memory>

class CQuenleyApp;
class QApplication;

// The editor started in this process exactly as quenley's main starts it, given the arguments
// quenley would get on its command line; ended again as quenley ends.
class CBenchEditor {
public:
    CBenchEditor(int& argc, char** argv, const QStringList& args);
    ~CBenchEditor();

    CQuenleyApp& App() const { return *m_pQuenley; }

private:
    std::unique_ptr<QApplication> m_pApp;
    std::unique_ptr<CQuenleyApp> m_pQuenley;
};

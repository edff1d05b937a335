#pragma once

#include <QObject>

class CMainFrame;
class CQuenleyApp;

// Edit > Compare with Saved: the active window's variation sounds and shows as the saved project
// holds it until the comparison ends, without touching the project.
class CCompareSession : public QObject {
    Q_OBJECT

public:
    CCompareSession(CQuenleyApp* pApp, CMainFrame* pFrame);
    ~CCompareSession() override;

    // Starts comparing the active window's variation, or ends the comparison running.
    void Toggle();
    // Puts the edited values back and sends them; nothing when no comparison runs.
    void End();
    bool IsComparing() const;

private:
    CQuenleyApp* m_pApp;
    CMainFrame* m_pFrame;
};

#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class CChildFrame;
class CDView;
class CMainFrame;
class CQuenleyApp;
class CSection;

// Edit > Compare with Saved: the active window's variation sounds and shows as the saved project
// holds it until the comparison ends, without touching the project.
class CCompareSession : public QObject {
    Q_OBJECT

public:
    CCompareSession(CQuenleyApp* pApp, CMainFrame* pFrame);
    ~CCompareSession() override;

    // Follows the project and the active window; once the main window has its actions.
    void Attach();
    // Starts comparing the active window's variation, or ends its comparison; a comparison in
    // another window ends first.
    void Toggle();
    // Puts the edited values back and sends them; nothing when no comparison runs.
    void End();
    bool IsComparing() const;
    // The active window shows a variation or kit that can be compared.
    bool CanStart() const;
    // The action shows whether a comparison runs, and is offered where one can start or end.
    void UpdateAction();

protected:
    // Closing the compared window ends the comparison first.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void Start();
    // A comparison runs, in the window in front.
    bool ComparesActiveWindow() const;
    // The comparison is over without a word to the module: its window or project went.
    void Drop();
    void FollowActiveView();

    CQuenleyApp* m_pApp;
    CMainFrame* m_pFrame;
    std::unique_ptr<CSection> m_pSaved; // what the compared window shows; set while comparing
    QPointer<CDView> m_pView;
    QPointer<CChildFrame> m_pChild;
    QString m_strTitle; // "Kick 007"
    QMetaObject::Connection m_activeCaption;
    bool m_bEnding = false;
};

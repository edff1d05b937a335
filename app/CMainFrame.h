#pragma once

#include "Commands.h"
#include "SectionKey.h"

#include <QList>
#include <QMainWindow>

#include <map>

class CAudition;
class CChildFrame;
class CCompareSession;
class CDView;
class CMdiClient;
class CMidiCommands;
class CMidiWnd;
class COverviewDock;
class CQuenleyApp;
class CQuenleyDoc;
class CSection;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

// The main window: menus, toolbar, status bar and the work area with the editor windows, and
// the window and variation commands; those of the MIDI link are CMidiCommands'. Commands act on
// the active editor window, its project and the variation it shows. The toolbar's
// Activate/Deactivate pair always shows the port's real state, and the status bar shows the
// port and what is still waiting to be sent.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CQuenleyApp* pApp);
    ~CMainFrame() override;

    // Builds menus, toolbar, status bar and the work area; false on failure.
    bool Create();
    // Starts following the MIDI link's port and queue.
    void AttachMidi(CMidiWnd* pMidiWnd);
    // Puts the window where saveGeometry and saveState found it at an earlier start, kept on
    // the screen; without a usable geometry it keeps the first start's place.
    void RestoreLayout(const QByteArray& savedGeometry, const QByteArray& state);

    CMdiClient* MdiClient() const { return m_pMdiClient; }
    QToolBar* ToolBar() const { return m_pToolBar; }
    // The action of a command by its menu or toolbar id; for Activate and Deactivate the toolbar
    // id gives the toolbar's button of the check pair. Null for an unknown id.
    QAction* Action(unsigned nId) const;
    // The action of a command, as its menu entry and key give it.
    QAction* Action(Commands::ECommand eCommand) const;
    // The command's toolbar button: for Activate and Deactivate the button of the check pair,
    // for the others their action.
    QAction* Button(Commands::ECommand eCommand) const;
    // A menu by its title without the '&': "Project", "Midi Devices", "Zoom".
    QMenu* Menu(const QString& strTitle) const;

    QList<CChildFrame*> Frames() const;
    CChildFrame* ActiveFrame() const;
    CDView* ActiveView() const;
    // A value typed into a read-out of any editor window and not yet confirmed is taken.
    void CommitPendingEdits();

    void OnCommand(Commands::ECommand eCommand);
    CMidiCommands& MidiCommands() const { return *m_pMidiCommands; }
    CAudition& Audition() const { return *m_pAudition; }
    CCompareSession& Compare() const { return *m_pCompare; }
    // Destroy for several sections at once: one question, one step of the history.
    void DestroySections(const std::vector<SSectionKey>& keys);
    // Copy to ... for a section whether or not a window shows it.
    void CopySection(const SSectionKey& key);

    // The port and queue panes show the port and the queue as they are now.
    void UpdateStatusPanes();
    // Shows the port's real state on the toolbar pair.
    void ShowPortState(bool bOpen);
    // A command's own line on the status bar, for a while.
    void ShowStatus(const QString& strText);

    // The Project Overview panel.
    COverviewDock* Overview() const { return m_pOverview; }
    // Brings the editor window showing the variation to the front, or opens one on it; false
    // when the project has no such variation or the window could not be made.
    bool ShowSection(const SSectionKey& key);

protected:
    bool event(QEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void CreateActions();
    void CreateMenus();
    // View > Zoom: one checked entry per zoom level, following the application's zoom.
    QMenu* CreateZoomMenu(QMenu* pView);
    void CreateToolBar();
    void CreateStatusBar();
    // Hidden until the user (or the saved layout) shows it.
    void CreateOverview();
    // Most of the available screen, centred: the first start's place.
    void PlaceAtFirstStart();
    void UpdateMenus();
    // Undo and Redo name the steps of the open project's history.
    void FollowHistory();
    void UpdateTitle();
    void UpdateRecentFiles();

    // The commands.
    void OpenWindow(int nViewType);
    void KitInfo();
    void Browse();
    void CopyVariation();
    void CopyWithDialog(CSection* pSource, const QString& strTitle);
    // Copies a variation or kit of another project file into this one, as Copy does.
    void ImportFromProject();
    void DestroyVariation();
    void ArrangeIcons();
    // The status bar says the window of the view type could not be made.
    void SayNotOpened(int nViewType);
    // Opens a window of the view's type on the section, next to the others.
    bool OpenWindowOn(int nViewType, CSection* pSection);

    CQuenleyApp* m_pApp;
    CMidiCommands* m_pMidiCommands;
    CAudition* m_pAudition;
    CCompareSession* m_pCompare;
    CMdiClient* m_pMdiClient = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pPortPane = nullptr;
    QLabel* m_pQueuePane = nullptr;
    QLabel* m_pModulePane = nullptr;
    COverviewDock* m_pOverview = nullptr;
    std::map<Commands::ECommand, QAction*> m_actions;
    QAction* m_pActivateButton = nullptr;
    QAction* m_pDeactivateButton = nullptr;
    QList<QAction*> m_recentActions;
    QAction* m_pRecentSeparator = nullptr;
    // What only a project's menu shows.
    QList<QAction*> m_projectOnly;
    QActionGroup* m_pZoomGroup = nullptr;
    std::map<QString, QMenu*> m_menus;
    QList<QMetaObject::Connection> m_historyConnections;
};

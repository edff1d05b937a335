#pragma once

#include "CDocumentHost.h"
#include "CRecoveryStore.h"
#include "CMidiInDriver.h"
#include "CMidiOutDriver.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>

class CChildFrame;
class CMainFrame;
class CMidiInput;
class CMidiWnd;
class CMultiDocTpl;
class CProjectHistory;
class CQuenleyDoc;
#include "CRecoveryStore.h"

// The application: starts the program in a fixed order, keeps the MIDI link and the twelve view
// templates, allows one project at a time and only once a MIDI output is chosen, opens, saves
// and closes that project, and keeps the MIDI choice and the recent projects in the settings.
class CQuenleyApp : public QObject, public CDocumentHost {
    Q_OBJECT

public:
    // Without a driver, the system's MIDI outputs and the "SysEx file" are used; without an
    // input driver, the system's MIDI inputs.
    explicit CQuenleyApp(std::unique_ptr<CMidiOutDriver> pDriver = nullptr,
                         std::unique_ptr<CMidiInDriver> pInDriver = nullptr);
    ~CQuenleyApp() override;

    // Start-up; false ends the program at once. arguments are the program's command line.
    bool InitInstance(const QStringList& arguments);
    // Shut-down: writes the settings. Called by the destructor if not before.
    void ExitInstance();
    // The project files named on a command line; --help and --version print and end the program.
    static QStringList CommandLineFiles(const QStringList& arguments);
    // Another start of the editor handed over its command line: the main window comes to the
    // front and the files are opened as if named on this command line. Waits while a dialog is
    // open, so that nothing opens underneath it.
    void OnOpenRequest(const QStringList& files);

    // The one application object, or null.
    static CQuenleyApp* Instance();

    CMidiWnd* GetMidiWnd() const;
    // The MIDI input the module's dumps come in through; its driver is started on first use.
    CMidiInput* MidiInput();
    // The input device chosen by its full name, empty for none; kept in the settings at once.
    QString InputDeviceName() const { return m_strInputDevice; }
    void SetInputDeviceName(const QString& strName);
    // How long the module must be quiet before a receive ends by itself, from the settings.
    static int ReceiveQuietMs();
    // The template of a view type 1..12, or null.
    const CMultiDocTpl* GetViewTemplate(int nViewType) const;
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // The open project, or null.
    CQuenleyDoc* Document() const { return m_pDoc.get(); }
    // The recovery copies of unsaved changes; null before start-up.
    CRecoveryStore* Recovery() const { return m_pRecovery.get(); }
    // The open project's undo history, or null.
    CProjectHistory* History() const;
    // "QLY1" for a new project, the file name for a saved one; empty without a project.
    QString DocumentTitle() const { return m_strTitle; }

    void OnFileNew();
    void OnFileOpen();
    enum class EOpen { Opened, Refused, Failed };
    // The guarded open of a named project (command line, dropped file, recent entry). Refused:
    // another project is open or no MIDI output is chosen; the message has been shown. A SysEx
    // dump opened while no project is open is offered as a new project made from it; Refused
    // when the user declined. Opened: a project is open now.
    EOpen OpenDocumentFile(const QString& strPath);
    void OnAppAbout();
    // Save, or Save As when bAskName or the project has no file yet. False when the user
    // cancelled or the save failed (the message has been shown).
    bool DoSave(bool bAskName);
    // Closes the project, asking first to save changes; false when it stays open.
    bool CloseDocument();
    // The device dialog applied a choice.
    void NoteDeviceChosen();
    // The port is opened at start-up, as Activate does; kept in the settings.
    bool ActivateAtStart() const { return m_bActivateAtStart; }
    void SetActivateAtStart(bool bOn);
    // Keeps the main window's place and toolbar in the settings.
    void WriteWindowSettings() const;

    // A new, not yet shown frame of the view type on the open project; null without a project or
    // for an unknown type. Closing the project's last frame closes the project.
    CChildFrame* NewFrame(int nViewType);

    // How much the editor windows magnify their panels, in percent: one of kZoomLevels, the same
    // for every window, kept in the settings. A new zoom applies to the open windows at once.
    static constexpr int kZoomLevels[] = {100, 150, 200, 300};
    int Zoom() const { return m_nZoom; }
    // False, and nothing changes, for a zoom that is not one of kZoomLevels.
    bool SetZoom(int nPercent);
    static bool IsZoomLevel(int nPercent);

    QStringList RecentFiles() const { return m_recentFiles; }
    void OpenRecentFile(int nIndex);

    // Tests answer the file dialogs through this hook: (save?, suggested path) -> chosen path,
    // empty for Cancel. An empty hook restores the real dialogs.
    using FileDialogHook = std::function<QString(bool bSave, const QString& strSuggested)>;
    static void SetFileDialogHook(FileDialogHook hook);
    enum class EFile { Project, Dump };
    // Asks for a project (.qly) or a dump (.syx) to read, or to write (bSave), through the hook.
    QString AskFileName(EFile eFile, bool bSave, const QString& strSuggested);

    // CDocumentHost
    bool HasViewTemplate(int nViewType) const override;
    bool OpenSavedWindow(CQuenleyDoc& doc, const CWorkspace& record) override;
    void OnModifiedChanged(CQuenleyDoc& doc) override;
    void OnContentChanged(CQuenleyDoc& doc) override;

    // Settings keys.
    static constexpr const char* kSettingsGroup = "Settings";
    static constexpr const char* kDeviceKey = "MidiOutputDeviceId";
    static constexpr const char* kChannelKey = "MidiOutputDeviceCh";
    static constexpr const char* kDeviceNameKey = "MidiOutputDeviceName";
    static constexpr const char* kInputDeviceNameKey = "MidiInputDeviceName";
    // In seconds, fractions allowed.
    static constexpr const char* kReceiveQuietKey = "ReceiveQuietSeconds";
    static constexpr const char* kRecentGroup = "Recent File List";
    static constexpr const char* kZoomKey = "Zoom";
    static constexpr const char* kActivateAtStartKey = "ActivateAtStart";
    static constexpr const char* kMainWindowGroup = "MainWindow";
    static constexpr const char* kGeometryKey = "Geometry";
    static constexpr const char* kStateKey = "State";

signals:
    // A project was opened, closed, saved or renamed, or its modified flag changed.
    void DocumentChanged();
    void RecentFilesChanged();
    void ZoomChanged(int nPercent);
    // A line for the status bar.
    void StatusMessage(const QString& strText);
    // The open project's sections may have changed: an edit, an undo or redo, a received dump.
    void ContentChanged();

private:
    // Shows the guard's message and gives false when no project may be made or opened now.
    bool MayOpenProject();
    // A new empty project with its kit window, as New makes it; false when it could not be made
    // (the message has been shown).
    bool MakeNewDocument();
    // The file holds messages for the module and no project: offers a new project made from
    // them, through the Receive Dump question.
    EOpen OpenDumpAsProject(const QString& strPath, const QByteArray& dump);
    // Asks to save a modified project; false for Cancel or a failed save.
    bool SaveModified();
    void CloseDocumentNow();
    // Offers each copy an editor that ended uncleanly left behind; true when one was opened.
    bool OfferRecovery();
    // Opens a recovered project as it was when its copy was written: modified, with its
    // windows, and belonging to the file it came from. False when it cannot be read.
    bool OpenRecovered(const CRecoveryStore::SCopy& copy);
    void OpenWhenNoDialog(const QStringList& files);
    // The names that are not empty; an empty one is reported.
    static QStringList WithoutEmptyNames(const QStringList& files);
    bool CanCloseFrame(CChildFrame* pFrame);
    void CloseIfNoFrames();
    void AddToRecentFiles(const QString& strPath);
    void RemoveFromRecentFiles(const QString& strPath);
    void WriteRecentFiles();
    void ReadSettings();
    void WriteSettings();
    void ApplySavedDevice();
    void ReadWindowSettings();
    // What the status bar says of saved windows that could not be reopened; empty for none.
    static QString NotReopenedText(int nUnknown, int nUnmade, int nOverLimit);

    // The MIDI driver: the one given, or the system's, which is found while the window is
    // being built because asking the sound system for its back ends takes a while.
    std::unique_ptr<CMidiOutDriver> m_pDriver;
    std::future<std::unique_ptr<CMidiOutDriver>> m_systemDriver;
    std::unique_ptr<CMidiWnd> m_pMidiWnd;
    std::unique_ptr<CMidiInDriver> m_pInDriver;
    std::unique_ptr<CMidiInput> m_pMidiInput;
    QString m_strInputDevice;
    std::array<std::unique_ptr<CMultiDocTpl>, 12> m_templates;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CQuenleyDoc> m_pDoc;
    std::unique_ptr<CRecoveryStore> m_pRecovery;
    QString m_strTitle;
    int m_nUntitled = 0;
    QStringList m_recentFiles;
    int m_nZoom = 100;
    bool m_bActivateAtStart = false;

    // The MIDI choice as the settings held it at start-up.
    std::uint32_t m_nSavedDevice = 256;
    std::uint32_t m_nSavedChannel = 256;
    QString m_strSavedDeviceName;
    // The saved choice could not be used at start-up (device missing, a value damaged) and
    // nothing else was chosen since: keep the setting.
    bool m_bKeepSavedChoice = false;
    // The link has taken up the saved choice; only then is there a choice to write at exit.
    bool m_bChoiceApplied = false;

    bool m_bClosingProject = false;
    bool m_bLastFrameClosing = false;
    bool m_bStarted = false;
    bool m_bExited = false;
};

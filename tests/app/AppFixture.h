#pragma once

#include "CChildFrame.h"
#include "CDView.h"
#include "CKick.h"
#include "CKit.h"
#include "CMainFrame.h"
#include "CMidiCommands.h"
#include "CMidiWnd.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CRecoveryStore.h"
#include "CScriptedMidiDriver.h"
#include "CScriptedMidiInDriver.h"
#include "CSection.h"
#include "CSnar.h"
#include "QuenleyMessage.h"
#include "SectionKinds.h"

#include <QAction>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTest>

#include <deque>
#include <memory>

// One message box the program showed, and how it was answered.
struct SShown {
    QString strText;
    QuenleyMessage::EIcon eIcon;
    QuenleyMessage::EButtons eButtons;
};

// The real application on the scripted MIDI driver, with the message boxes and file dialogs
// answered from queues and recorded. Settings start empty unless the test writes some first.
class CAppFixture {
public:
    CAppFixture()
        : m_pScript(std::make_shared<CMidiScript>()),
          m_pInScript(std::make_shared<CMidiInScript>()) {
        m_pScript->bAuto = true;
        QuenleyMessage::SetHook([this](const QString& strText, QuenleyMessage::EIcon eIcon,
                                       QuenleyMessage::EButtons eButtons) {
            shown.push_back({strText, eIcon, eButtons});
            if (!answers.empty()) {
                const QuenleyMessage::EAnswer e = answers.front();
                answers.pop_front();
                return e;
            }
            // Unanswered questions get the cautious answer.
            switch (eButtons) {
            case QuenleyMessage::EButtons::Ok:
                return QuenleyMessage::EAnswer::Ok;
            case QuenleyMessage::EButtons::YesNo:
                return QuenleyMessage::EAnswer::No;
            default:
                return QuenleyMessage::EAnswer::Cancel;
            }
        });
        CQuenleyApp::SetFileDialogHook([this](bool bSave, const QString& strSuggested) {
            dialogs << (bSave ? QStringLiteral("save ") : QStringLiteral("open ")) + strSuggested;
            return files.isEmpty() ? QString() : files.takeFirst();
        });
    }
    ~CAppFixture() {
        m_pApp.reset();
        // An editor ended with unsaved changes leaves a copy, which the next test must not meet.
        QDir(CRecoveryStore::DefaultFolder()).removeRecursively();
        QuenleyMessage::SetHook({});
        CQuenleyApp::SetFileDialogHook({});
    }

    static void ClearSettings() {
        QSettings settings;
        settings.clear();
        settings.sync();
    }
    // Settings that choose device nDevice by number and name, and a channel.
    static void ChooseDevice(unsigned nDevice, const QString& strName, unsigned nChannel = 0) {
        QSettings settings;
        settings.beginGroup(QStringLiteral("Settings"));
        settings.setValue(QStringLiteral("MidiOutputDeviceId"), nDevice);
        settings.setValue(QStringLiteral("MidiOutputDeviceCh"), nChannel);
        if (!strName.isNull())
            settings.setValue(QStringLiteral("MidiOutputDeviceName"), strName);
        settings.endGroup();
        settings.sync();
    }
    // Settings that choose the MIDI input by its name.
    static void ChooseInput(const QString& strName) {
        QSettings settings;
        settings.setValue(QStringLiteral("Settings/MidiInputDeviceName"), strName);
        settings.sync();
    }
    static QVariant Setting(const char* pszKey) {
        QSettings settings;
        return settings.value(QStringLiteral("Settings/") + QLatin1String(pszKey));
    }

    bool Start(const QStringList& args = {}) {
        m_pApp = std::make_unique<CQuenleyApp>(std::make_unique<CScriptedMidiDriver>(m_pScript),
                                               std::make_unique<CScriptedMidiInDriver>(m_pInScript));
        return m_pApp->InitInstance(QStringList{QStringLiteral("quenley")} + args);
    }
    // Start-up with device 0 ("Scripted A") and channel 0 chosen, and a new project.
    void StartWithProject() {
        ChooseDevice(0, QStringLiteral("Scripted A"));
        Start();
        App().OnFileNew();
    }

    CQuenleyApp& App() const { return *m_pApp; }
    CMainFrame& Frame() const { return *m_pApp->MainFrame(); }
    CQuenleyDoc* Doc() const { return m_pApp->Document(); }
    CMidiWnd& Midi() const { return *m_pApp->GetMidiWnd(); }
    // By the id the command table gives a menu entry or a toolbar button.
    QAction* Action(unsigned nId) const { return Frame().Action(nId); }
    void Trigger(unsigned nId) const {
        QAction* pAction = Action(nId);
        if (pAction)
            pAction->trigger();
    }
    // The recent list's entries, which are no commands of the table.
    QAction* RecentAction(int nIndex) const {
        return Frame().Action(Commands::kFirstRecentId + unsigned(nIndex));
    }
    // A command from its menu entry, or from its toolbar button (for Activate and Deactivate
    // the button of the check pair).
    QAction* Action(Commands::ECommand e) const { return Frame().Action(e); }
    QAction* Button(Commands::ECommand e) const { return Frame().Button(e); }
    void Trigger(Commands::ECommand e) const { Action(e)->trigger(); }
    void Press(Commands::ECommand e) const { Button(e)->trigger(); }
    // The main window active, as typing into its editor windows needs.
    bool ActivateFrame() const {
        Frame().activateWindow();
        return QTest::qWaitForWindowActive(&Frame());
    }
    QStringList Texts() const {
        QStringList texts;
        for (const SShown& s : shown)
            texts << s.strText;
        return texts;
    }

    std::shared_ptr<CMidiScript> m_pScript;
    std::shared_ptr<CMidiInScript> m_pInScript;
    std::unique_ptr<CQuenleyApp> m_pApp;
    std::vector<SShown> shown;
    std::deque<QuenleyMessage::EAnswer> answers;
    QStringList files;   // what the file dialogs answer, in turn; empty: Cancel
    QStringList dialogs; // the file dialogs that were opened
};

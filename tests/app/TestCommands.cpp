// The main frame's commands: their preconditions, questions and messages, the port's state on
// the toolbar, and the project's save questions.

#include "AppFixture.h"
#include "CSysExItem.h"
#include "TestMain.h"

#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Commands::ECommand;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

CKick s_kick;

int Opens(const CMidiScript& script) {
    return int(script.calls.filter(QStringLiteral("open")).size());
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static bool ActivatePressed(const CAppFixture& f) {
        return f.Button(ECommand::Activate)->isChecked();
    }
    static bool DeactivatePressed(const CAppFixture& f) {
        return f.Button(ECommand::Deactivate)->isChecked();
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    void withoutProjectCommandsDoNothing() {
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        // The toolbar offers what needs no project, Deactivate and Reset among them.
        for (ECommand e : {ECommand::New, ECommand::Open, ECommand::Activate, ECommand::Deactivate,
                           ECommand::Reset})
            QVERIFY2(f.Button(e)->isEnabled(), Commands::Command(e).pszTip);
        for (ECommand e : {ECommand::Save, ECommand::SendProject, ECommand::ClearBuffer,
                           ECommand::OpenKit, ECommand::SendVariation, ECommand::ReceiveDump})
            QVERIFY2(!f.Button(e)->isEnabled(), Commands::Command(e).pszTip);
        for (ECommand e :
             {ECommand::SendProject, ECommand::ClearBuffer, ECommand::OpenKit, ECommand::OpenKick,
              ECommand::Destroy, ECommand::CopyTo, ECommand::Browser, ECommand::KitInfo,
              ECommand::SendVariation, ECommand::Reset, ECommand::Deactivate})
            f.Press(e);
        QVERIFY(f.shown.empty());
        QCOMPARE(Opens(*f.m_pScript), 0);
        QVERIFY(f.Frame().Frames().isEmpty());

        f.Press(ECommand::Activate); // the toolbar's Activate
        QCOMPARE(f.Texts(), QStringList({QStringLiteral("No existing project !\n")}));
        QCOMPARE(f.shown.front().eIcon, EIcon::Warning);
        QVERIFY(DeactivatePressed(f));
        QVERIFY(!ActivatePressed(f));
        QCOMPARE(Opens(*f.m_pScript), 0);
    }

    // A port opened at start-up can be reset and closed before any project is open.
    void resetAndDeactivateWithoutAProject() {
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        {
            QSettings settings;
            settings.setValue(QStringLiteral("Settings/ActivateAtStart"), true);
        }
        CAppFixture f;
        QVERIFY(f.Start());
        QTRY_VERIFY(ActivatePressed(f));
        QVERIFY(!f.Doc());
        QVERIFY(f.Button(ECommand::Reset)->isEnabled());
        f.Press(ECommand::Reset);
        QVERIFY(f.m_pScript->calls.contains(QStringLiteral("reset")));
        QVERIFY(f.Button(ECommand::Deactivate)->isEnabled());
        f.Press(ECommand::Deactivate);
        QVERIFY(!f.Midi().IsOpen());
        QTRY_VERIFY(f.Midi().IsClosed());
        QVERIFY(DeactivatePressed(f));
        QVERIFY(f.shown.empty());
    }

    // The pair always shows what the port really is; the menu entries carry no mark.
    void toolbarFollowsThePort() {
        CAppFixture f;
        f.StartWithProject();
        QVERIFY(DeactivatePressed(f));
        QVERIFY(!f.Action(ECommand::Activate)->isCheckable());
        QVERIFY(!f.Action(ECommand::Deactivate)->isCheckable());
        f.Trigger(ECommand::Activate); // Activate from the menu
        QVERIFY(f.Midi().IsOpen());
        QTRY_VERIFY(ActivatePressed(f));
        QTRY_VERIFY(!f.Midi().IsClosed());
        f.Press(ECommand::Activate); // a second Activate finds the port open
        QCOMPARE(Opens(*f.m_pScript), 1);
        QVERIFY(f.shown.empty());
        QVERIFY(ActivatePressed(f));
        f.Press(ECommand::Reset); // Reset
        QVERIFY(f.m_pScript->calls.contains(QStringLiteral("reset")));
        QVERIFY(ActivatePressed(f));
        f.Press(ECommand::Deactivate);
        QVERIFY(!f.Midi().IsOpen());
        QVERIFY(DeactivatePressed(f));
        QTRY_VERIFY(f.Midi().IsClosed());
        QVERIFY(DeactivatePressed(f));
        QVERIFY(f.shown.empty());
    }

    // Closing the project while the port is still busy with a message closes it all the same:
    // the next project's edits wait for Activate.
    void closeWhileAMessageIsInFlight() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        f.m_pScript->bAuto = false; // the message stays with the port
        f.Doc()->FindOrCreateVariation(&s_kick, 1)->SetParam(0, 5);
        QTRY_COMPARE(int(f.m_pScript->inFlight.size()), 1);
        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Close);
        QVERIFY(!f.Doc());
        f.m_pScript->DeliverAll();
        f.App().OnFileNew();
        f.Doc()->FindOrCreateVariation(&s_kick, 2)->SetParam(0, 6);
        QTRY_VERIFY(f.Midi().IsClosed());
        QVERIFY(!f.Midi().IsOpen());
        QTRY_VERIFY(DeactivatePressed(f));
        QCOMPARE(f.Midi().QueueLength(), 1);
        QCOMPARE(f.m_pScript->calls.filter(QStringLiteral("long")).size(), 1);
        QCOMPARE(int(f.shown.size()), 1); // only the question to save
    }

    // Closing the project shuts the port and drops what is still waiting to be sent.
    void closingClosesThePortAndDropsTheQueue() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        CSection* p = f.Doc()->FindOrCreateVariation(&s_kick, 0);
        for (int i = 0; i < 9; ++i)
            p->SetParam(i, i);
        QVERIFY(f.Midi().QueueLength() > 0);
        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Close);
        QVERIFY(!f.Doc());
        QCOMPARE(f.Midi().QueueLength(), 0);
        QVERIFY(!f.Midi().IsOpen());
        QTRY_COMPARE(f.m_pScript->nLiveHeaders, 0);
    }

    // A failed open says which device and why, and the toolbar does not pretend it is open.
    // The driver's own words, when it has some, say more than the code's.
    void failedActivateIsShown_data() {
        QTest::addColumn<unsigned>("result");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("reason");
        QTest::newRow("busy") << MMSYSERR_ALLOCATED << QString()
                              << QStringLiteral("the device is busy: another program is using it");
        QTest::newRow("held, the driver says by whom")
            << MMSYSERR_ALLOCATED << QStringLiteral("Drum Lab (process 4711) is writing to it")
            << QStringLiteral("Drum Lab (process 4711) is writing to it");
        QTest::newRow("vanished") << MIDIERR_NODEVICE << QString()
                                  << QStringLiteral("the device is no longer there");
    }
    void failedActivateIsShown() {
        QFETCH(unsigned, result);
        QFETCH(QString, driver);
        QFETCH(QString, reason);
        CAppFixture f;
        f.StartWithProject();
        f.m_pScript->nOpenResult = result;
        f.m_pScript->strOpenError = driver.toStdString();
        f.Press(ECommand::Activate);
        QCOMPARE(f.Texts(),
                 QStringList({QStringLiteral("The MIDI output \"Scripted A\" could not be opened: "
                                             "%1.")
                                  .arg(reason)}));
        QVERIFY(!f.Midi().IsOpen());
        QVERIFY(DeactivatePressed(f));
        QVERIFY(!ActivatePressed(f));
    }

    // A refused send is told once in a box, then in the status bar; never a silent stall.
    void sendFailureIsShownOnce() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        f.m_pScript->nLongResult = MIDIERR_NOTREADY;
        f.Doc()->FindOrCreateVariation(&s_kick, 1)->SetParam(0, 5);
        QTRY_COMPARE(int(f.shown.size()), 1);
        QCOMPARE(f.Texts().front(),
                 QStringLiteral("A message to \"Scripted A\" could not be sent: the device is not "
                                "ready."));
        // The refused entry waits; a later edit is refused again and told in the status bar.
        f.Midi().DMidiOutDeactivate();
        QTRY_VERIFY(f.Midi().IsClosed());
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        QTRY_VERIFY(f.Frame().statusBar()->currentMessage().startsWith(
            QStringLiteral("A message to \"Scripted A\"")));
        QCOMPARE(int(f.shown.size()), 2); // a new open tells once more
        QCOMPARE(f.Midi().QueueLength(), 1);
    }

    void sendProjectAsksAndSendsEverySection() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::SendProject); // an empty project: nothing to ask
        QVERIFY(f.shown.empty());
        for (int n : {1, 2, 3})
            f.Doc()->FindOrCreateVariation(&s_kick, n);
        f.answers = {EAnswer::No};
        f.Trigger(ECommand::SendProject);
        QCOMPARE(f.Texts(),
                 QStringList({QStringLiteral("Are you sure to send the entire project ?")}));
        QCOMPARE(f.shown.back().eIcon, EIcon::Question);
        QCOMPARE(f.Midi().QueueLength(), 0);
        f.answers = {EAnswer::Yes};
        f.Press(ECommand::SendProject);
        QCOMPARE(f.Midi().QueueLength(), 3);
        for (const auto& pItem : f.Midi().Queue())
            QVERIFY(pItem->IsBlock());

        f.answers = {EAnswer::No};
        f.Press(ECommand::ClearBuffer);
        QCOMPARE(f.Texts().back(), QStringLiteral("Are you sure to clear the send buffer ?"));
        QCOMPARE(f.Midi().QueueLength(), 3);
        f.answers = {EAnswer::Yes};
        f.Trigger(ECommand::ClearBuffer);
        QCOMPARE(f.Midi().QueueLength(), 0);
    }

    // Sections from a damaged file that the module cannot take are named; the rest still go.
    void unsendableSectionsAreNamed() {
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 1);
        CSection* pDamaged = f.Doc()->FindOrCreateVariation(&s_kick, 2);
        std::int32_t values[9] = {0, 0, 0, 300, 0, 0, 0, 0, 0};
        QVERIFY(pDamaged->SetStoredFields(false, 2, "Broken          ", values));
        f.answers = {EAnswer::Yes};
        f.Press(ECommand::SendProject);
        QCOMPARE(f.Texts().back(), QStringLiteral("Not sent, the rest of the project was:\nKick002 "
                                                  "Broken holds 300 as value 3, outside 0 to 255"));
        QCOMPARE(f.Midi().QueueLength(), 1);
    }

    // Menu and toolbar reach the dump commands; an empty project has nothing to transmit.
    void dumpCommandsFromMenuAndToolbar() {
        CAppFixture f;
        f.StartWithProject();
        f.answers = {EAnswer::Ok};
        f.Press(ECommand::ReceiveDump);
        f.Press(ECommand::TransmitDump);
        f.answers = {EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        f.Trigger(ECommand::TransmitDump);
        QCOMPARE(f.Texts().filter(QStringLiteral("The project holds no variations to transmit.")),
                 QStringList(2, QStringLiteral("The project holds no variations to transmit.")));
        QCOMPARE(f.Texts().size(), 4);
        QCOMPARE(f.dialogs.size(), 2);
        for (const QString& strDialog : f.dialogs)
            QVERIFY(strDialog.startsWith(QStringLiteral("open ")));
    }

    void inputDeviceIsOffered() {
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(f.Action(ECommand::InputDevice)->isEnabled());
        QVERIFY(f.Action(ECommand::OutputDevice)->isEnabled());
    }

    // The title carries the modified mark; Close asks, and Cancel keeps everything.
    void closeAsksToSave() {
        CAppFixture f;
        f.StartWithProject();
        QVERIFY(!f.Frame().isWindowModified());
        f.Doc()->FindOrCreateVariation(&s_kick, 7);
        QVERIFY(f.Frame().isWindowModified());
        f.answers = {EAnswer::Cancel};
        f.Trigger(ECommand::Close);
        QCOMPARE(f.Texts(), QStringList({QStringLiteral("Save changes to QLY1?")}));
        QCOMPARE(f.shown.back().eButtons, EButtons::YesNoCancel);
        QVERIFY(f.Doc());
        QCOMPARE(f.Frame().Frames().size(), 1);

        // Yes without a name asks for one; cancelling that keeps the project too.
        f.answers = {EAnswer::Yes};
        f.Trigger(ECommand::Close);
        QCOMPARE(f.dialogs.size(), 1);
        QVERIFY(f.Doc());

        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Close);
        QVERIFY(!f.Doc());
        QVERIFY(f.Frame().Frames().isEmpty());
        QCOMPARE(f.Frame().windowTitle(), QStringLiteral("Quenley"));
    }

    // Closing the project's last window closes the project, after the same question.
    void lastWindowClosesTheProject() {
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 7);
        f.Press(ECommand::OpenKit); // a second kit window
        QCOMPARE(f.Frame().Frames().size(), 2);
        QVERIFY(f.Frame().Frames().front()->close());
        QTRY_COMPARE(f.Frame().Frames().size(), 1);
        QVERIFY(f.shown.empty());
        f.answers = {EAnswer::Cancel};
        QVERIFY(!f.Frame().Frames().front()->close());
        QCOMPARE(f.Frame().Frames().size(), 1);
        QVERIFY(f.Doc());
        f.answers = {EAnswer::No};
        QVERIFY(f.Frame().Frames().front()->close());
        QTRY_VERIFY(!f.Doc());
        QCOMPARE(f.Texts(), QStringList(2, QStringLiteral("Save changes to QLY1?")));
    }

    // Saving names the project after its file and lists it; a failed save keeps the old file.
    void saveAsAndRecentProjects() {
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 7);
        const QString strPath = m_dir.filePath(QStringLiteral("song.qly"));
        f.files = {strPath};
        f.Trigger(ECommand::SaveAs);
        QVERIFY(f.dialogs.front().startsWith(QStringLiteral("save ")));
        QVERIFY(f.dialogs.front().endsWith(QStringLiteral("QLY1.qly")));
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("song.qly"));
        QVERIFY(!f.Frame().isWindowModified());
        QCOMPARE(f.App().RecentFiles(), QStringList({strPath}));
        QVERIFY(f.RecentAction(0)->isVisible());
        QVERIFY(f.RecentAction(0)->text().contains(QStringLiteral("song.qly")));

        // A folder in the way of the file: the save fails, says so, and the project stays.
        f.Doc()->FindOrCreateVariation(&s_kick, 8);
        const QString strFolder = m_dir.filePath(QStringLiteral("folder.qly"));
        QVERIFY(QDir().mkpath(strFolder));
        f.files = {strFolder};
        f.Trigger(ECommand::SaveAs);
        QCOMPARE(f.shown.size(), size_t(1));
        QVERIFY(f.Frame().isWindowModified());
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("song.qly"));

        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Close);
        QVERIFY(!f.Doc());
        f.RecentAction(0)->trigger();
        QVERIFY(f.Doc());
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("song.qly"));
        QVERIFY(f.Doc()->FindVariation(&s_kick, 7));
        QVERIFY(!f.Doc()->FindVariation(&s_kick, 8));
    }

    // The status bar names the port and its state, and counts what waits with the time left.
    void statusBarShowsPortAndQueue() {
        CAppFixture f;
        QVERIFY(f.Start());
        QCOMPARE(f.Frame().MidiCommands().PortText(), QStringLiteral("No MIDI output chosen"));
        f.App().ExitInstance();
        f.m_pApp.reset();
        CAppFixture::ChooseDevice(1, QStringLiteral("Scripted B"), 9);
        QVERIFY(f.Start());
        // The saved choice is on show from the start, before any project.
        QCOMPARE(f.Frame().findChild<QLabel*>(QStringLiteral("PortPane"))->text(),
                 QStringLiteral("Scripted B, channel 10: closed"));
        f.App().OnFileNew();
        QCOMPARE(f.Frame().MidiCommands().PortText(),
                 QStringLiteral("Scripted B, channel 10: closed"));
        QCOMPARE(f.Frame().MidiCommands().QueueText(), QString());
        for (int n : {1, 2})
            f.Doc()->FindOrCreateVariation(&s_kick, n)->SendAll();
        QCOMPARE(f.Frame().MidiCommands().QueueText(),
                 QStringLiteral("2 messages waiting for the port"));
        f.Press(ECommand::Activate);
        QCOMPARE(f.Frame().MidiCommands().PortText(),
                 QStringLiteral("Scripted B, channel 10: open"));
        QVERIFY(f.Frame().MidiCommands().QueueText().contains(QStringLiteral("waiting, about ")));
        QTRY_COMPARE_WITH_TIMEOUT(f.Frame().MidiCommands().QueueText(), QString(), 3000);
        auto* pPane = f.Frame().findChild<QLabel*>(QStringLiteral("QueuePane"));
        QTRY_COMPARE(pPane->text(), QString());
        QCOMPARE(f.Frame().findChild<QLabel*>(QStringLiteral("PortPane"))->text(),
                 f.Frame().MidiCommands().PortText());
    }

    // A file dropped while a project is open is refused like every second project.
    void droppedFiles() {
        CAppFixture f;
        f.StartWithProject();
        CQuenleyDoc* pDoc = f.Doc();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("other.qly")))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&f.Frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&f.Frame(), &drop);
        QCOMPARE(f.Texts(),
                 QStringList({QStringLiteral(
                     "Only one project at time !\n Close existing Project\n and try again")}));
        QCOMPARE(f.Doc(), pDoc);
    }

    void aboutBoxClosesOnAClick() {
        CAppFixture f;
        QVERIFY(f.Start());
        QTimer::singleShot(0, [] {
            QWidget* pBox = QApplication::activeModalWidget();
            QVERIFY(pBox);
            QCOMPARE(pBox->size(), QSize(407, 270));
            QTest::mouseClick(pBox, Qt::LeftButton, {}, QPoint(200, 100));
        });
        f.Trigger(ECommand::About);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Exit asks as Close does; Cancel keeps the program running with the project.
    void exitAsksToSave() {
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 7);
        f.answers = {EAnswer::Cancel};
        f.Trigger(ECommand::Exit);
        QVERIFY(f.Frame().isVisible());
        QVERIFY(f.Doc());
        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Exit);
        QVERIFY(!f.Frame().isVisible());
        QVERIFY(!f.Doc());
    }
};

QUENLEY_REGISTER_TEST(TestCommands)
#include "TestCommands.moc"

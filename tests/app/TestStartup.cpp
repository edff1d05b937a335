// Start-up, the one-project guards and the settings written at exit.

#include "AppFixture.h"
#include "TestMain.h"

#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using Commands::ECommand;
using QuenleyMessage::EIcon;

namespace {
const QString kOnlyOne =
    QStringLiteral("Only one project at time !\n Close existing Project\n and try again");
const QString kChooseFirst = QStringLiteral("Choose Midi-Device first !");
CKick s_kick;
} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // With nothing chosen, the window comes up empty and New and Open say what is missing.
    void firstStartIsUnset() {
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(f.Frame().isVisible());
        QCOMPARE(f.Frame().windowTitle(), QStringLiteral("Quenley"));
        QVERIFY(!f.Midi().IsReady());
        QVERIFY(!f.Midi().IsOpen());
        f.Trigger(ECommand::New);
        f.Trigger(ECommand::Open);
        QCOMPARE(f.Texts(), QStringList({kChooseFirst, kChooseFirst}));
        QCOMPARE(f.shown.front().eIcon, EIcon::Warning);
        QVERIFY(f.dialogs.isEmpty());
        QVERIFY(!f.Doc());
        QVERIFY(f.Frame().Frames().isEmpty());
        f.App().ExitInstance();
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 256u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 256u);
    }

    // A start that cannot use the saved choice leaves it for the next one, however it ends.
    void noDeviceEndsTheProgram_data() {
        QTest::addColumn<bool>("exitFirst");
        QTest::newRow("exit, then the application goes") << true;
        QTest::newRow("the application goes") << false;
    }
    void noDeviceEndsTheProgram() {
        QFETCH(bool, exitFirst);
        CAppFixture::ChooseDevice(1, QStringLiteral("Scripted B"), 3);
        {
            CAppFixture f;
            f.m_pScript->deviceNames.clear();
            QVERIFY(!f.Start());
            QCOMPARE(f.Texts(), QStringList({QStringLiteral("Midi Device init. failed !")}));
            QCOMPARE(f.shown.front().eIcon, EIcon::Critical);
            if (exitFirst)
                f.App().ExitInstance();
        }
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 1u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 3u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Scripted B"));
    }

    // A saved device or channel that is no number, negative or out of range chooses nothing;
    // a device name that matches still chooses its device.
    void damagedSettingsChooseNothing_data() {
        QTest::addColumn<QVariant>("device");
        QTest::addColumn<QVariant>("channel");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("chosen"); // the device chosen, -1 for none
        QTest::newRow("device a word") << QVariant("abc") << QVariant(2) << QString() << -1;
        QTest::newRow("device negative") << QVariant("-1") << QVariant(2) << QString() << -1;
        QTest::newRow("device empty") << QVariant("") << QVariant(2) << QString() << -1;
        QTest::newRow("device a fraction") << QVariant("1.5") << QVariant(2) << QString() << -1;
        QTest::newRow("device out of range")
            << QVariant("999999") << QVariant(2) << QString() << -1;
        QTest::newRow("channel a word") << QVariant(1) << QVariant("abc") << QString() << -1;
        QTest::newRow("channel negative") << QVariant(1) << QVariant("-1") << QString() << -1;
        QTest::newRow("channel 16") << QVariant(1) << QVariant("16") << QString() << -1;
        QTest::newRow("channel beyond 16 bits")
            << QVariant(1) << QVariant("65536") << QString() << -1;
        QTest::newRow("channel a fraction") << QVariant(1) << QVariant("1.5") << QString() << -1;
        QTest::newRow("channel empty") << QVariant(1) << QVariant("") << QString() << -1;
        QTest::newRow("name wins over a damaged number")
            << QVariant("abc") << QVariant(2) << QStringLiteral("Scripted C") << 2;
        QTest::newRow("a damaged channel is not helped by the name")
            << QVariant(1) << QVariant("x") << QStringLiteral("Scripted B") << -1;
    }
    void damagedSettingsChooseNothing() {
        QFETCH(QVariant, device);
        QFETCH(QVariant, channel);
        QFETCH(QString, name);
        QFETCH(int, chosen);
        {
            QSettings settings;
            settings.setValue(QStringLiteral("Settings/MidiOutputDeviceId"), device);
            settings.setValue(QStringLiteral("Settings/MidiOutputDeviceCh"), channel);
            if (!name.isEmpty())
                settings.setValue(QStringLiteral("Settings/MidiOutputDeviceName"), name);
        }
        CAppFixture f;
        QVERIFY(f.Start());
        QCOMPARE(f.Midi().IsReady(), chosen >= 0);
        if (chosen < 0) {
            QCOMPARE(f.Frame().MidiCommands().PortText(), QStringLiteral("No MIDI output chosen"));
            f.Trigger(ECommand::New);
            QCOMPARE(f.Texts(), QStringList({kChooseFirst}));
            // Nothing was chosen instead: what the settings hold stays for the user to see.
            f.App().ExitInstance();
            QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toString(), device.toString());
            QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toString(), channel.toString());
        } else {
            QCOMPARE(f.Midi().GetMidiDevice(), unsigned(chosen));
            QCOMPARE(f.Midi().GetMidiChannel(), channel.toInt());
        }
    }

    // A new project opens with one kit window; a second project is refused while it is open.
    void newProjectAndTheOneProjectRule() {
        CAppFixture f;
        f.StartWithProject();
        QVERIFY(f.Doc());
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("QLY1"));
        QCOMPARE(f.Frame().windowTitle(), QStringLiteral("Quenley - QLY1[*]"));
        QCOMPARE(f.Frame().Frames().size(), 1);
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), 2);
        CQuenleyDoc* pDoc = f.Doc();
        f.Trigger(ECommand::New);
        f.Trigger(ECommand::Open);
        QCOMPARE(f.App().OpenDocumentFile(m_dir.filePath(QStringLiteral("x.qly"))),
                 CQuenleyApp::EOpen::Refused);
        QCOMPARE(f.Texts(), QStringList({kOnlyOne, kOnlyOne, kOnlyOne}));
        QCOMPARE(f.Doc(), pDoc);
        QCOMPARE(f.Frame().Frames().size(), 1);
        // The port waits for Activate.
        QVERIFY(!f.Midi().IsOpen());
    }

    void fileOnTheCommandLineWhileUnset() {
        const QString strPath = m_dir.filePath(QStringLiteral("cmdline.qly"));
        {
            CQuenleyDoc doc;
            QVERIFY(doc.OnSaveDocument(strPath));
        }
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QCOMPARE(f.Texts(), QStringList({kChooseFirst}));
        QVERIFY(!f.Doc());
    }

    // A damaged file named at start-up says why and leaves the editor open without a project.
    void damagedFileOnTheCommandLine() {
        const QString strPath = m_dir.filePath(QStringLiteral("damaged.qly"));
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a project at all");
        file.close();
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QCOMPARE(f.Texts(), QStringList({QStringLiteral("Unexpected file format.")}));
        QVERIFY(!f.Doc());
        QVERIFY(f.Frame().Frames().isEmpty());
        QCOMPARE(f.Frame().windowTitle(), QStringLiteral("Quenley"));
        QVERIFY(f.App().RecentFiles().isEmpty());
    }

    // An empty argument is reported as one, and the project named after it still opens.
    void emptyNameOnTheCommandLine() {
        const QString strPath = m_dir.filePath(QStringLiteral("after-empty.qly"));
        {
            CQuenleyDoc doc;
            QVERIFY(doc.OnSaveDocument(strPath));
        }
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        CAppFixture f;
        QVERIFY(f.Start({QString(), strPath}));
        QCOMPARE(f.Texts(), QStringList{QStringLiteral("The command line holds an empty file name "
                                                       "(\"\"), which names no file: nothing is "
                                                       "opened for it.")});
        QVERIFY(f.Doc());
        QCOMPARE(f.Doc()->GetPathName(), strPath);
    }

    // The saved device is found by its name wherever it now sits in the list.
    void savedDeviceIsFoundByName() {
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted C"), 9);
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(f.Midi().IsReady());
        QCOMPARE(f.Midi().GetMidiDevice(), 2u);
        QCOMPARE(f.Midi().GetMidiChannel(), 9);
    }

    // Settings without a name (older ones) keep choosing by number.
    void savedDeviceWithoutNameByNumber() {
        CAppFixture::ChooseDevice(1, QString(), 3);
        CAppFixture f;
        QVERIFY(f.Start());
        QCOMPARE(f.Midi().GetMidiDevice(), 1u);
        f.App().ExitInstance();
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Scripted B"));
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 3u);
    }

    // One start with the device unplugged must not erase the user's choice.
    void unpluggedDeviceKeepsTheChoice() {
        CAppFixture::ChooseDevice(3, QStringLiteral("Keyboard Out"), 4);
        {
            CAppFixture f;
            QVERIFY(f.Start());
            QVERIFY(!f.Midi().IsReady()); // not another device at the same place
            f.Trigger(ECommand::New);
            QCOMPARE(f.Texts(), QStringList({kChooseFirst}));
        }
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 3u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 4u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Keyboard Out"));

        // Plugged in again, at another place in the list.
        CAppFixture f;
        f.m_pScript->deviceNames = {"Scripted A", "Keyboard Out"};
        QVERIFY(f.Start());
        QVERIFY(f.Midi().IsReady());
        QCOMPARE(f.Midi().GetMidiDevice(), 1u);
    }

    // The choice made in the device dialog is what is written at exit, number and name.
    void exitWritesTheCurrentChoice() {
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"), 0);
        {
            CAppFixture f;
            QVERIFY(f.Start());
            QVERIFY(f.Midi().SetMidiDevice(2));
            QVERIFY(f.Midi().SetMidiChannel(15));
        }
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 2u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 15u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Scripted C"));
    }

    // With "Activate at start" the port opens as Activate opens it, before any project, and
    // says so when it cannot; with nothing chosen it stays closed without a word.
    void activateAtStart_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("device"); // the saved choice; empty for none
        QTest::addColumn<unsigned>("openResult");
        QTest::addColumn<QString>("message");
        QTest::newRow("off") << false << QStringLiteral("Scripted A") << MMSYSERR_NOERROR
                             << QString();
        QTest::newRow("on") << true << QStringLiteral("Scripted A") << MMSYSERR_NOERROR
                            << QString();
        QTest::newRow("on, nothing chosen") << true << QString() << MMSYSERR_NOERROR << QString();
        QTest::newRow("on, device unplugged")
            << true << QStringLiteral("Keyboard Out") << MMSYSERR_NOERROR
            << QStringLiteral("The MIDI output \"Keyboard Out\" could not be opened: the device "
                              "is no longer there.");
        QTest::newRow("on, device busy")
            << true << QStringLiteral("Scripted A") << MMSYSERR_ALLOCATED
            << QStringLiteral("The MIDI output \"Scripted A\" could not be opened: the device "
                              "is busy: another program is using it.");
    }
    void activateAtStart() {
        QFETCH(bool, on);
        QFETCH(QString, device);
        QFETCH(unsigned, openResult);
        QFETCH(QString, message);
        if (!device.isEmpty())
            CAppFixture::ChooseDevice(0, device);
        if (on) {
            QSettings settings;
            settings.setValue(QStringLiteral("Settings/ActivateAtStart"), true);
        }
        CAppFixture f;
        f.m_pScript->nOpenResult = openResult;
        QVERIFY(f.Start());
        QCOMPARE(f.Texts(), message.isEmpty() ? QStringList() : QStringList({message}));
        const bool bOpened = on && message.isEmpty() && !device.isEmpty();
        QCOMPARE(f.Midi().IsOpen(), bOpened);
        QTRY_COMPARE(f.Button(ECommand::Activate)->isChecked(), bOpened);
        QCOMPARE(f.Button(ECommand::Deactivate)->isChecked(), !bOpened);
        if (!bOpened)
            return;
        // The project opened later sends its edits at once.
        f.App().OnFileNew();
        f.Doc()->FindOrCreateVariation(&s_kick, 1)->SetParam(0, 5);
        QTRY_COMPARE(f.m_pScript->calls.filter(QStringLiteral("long")).size(), 1);
        QCOMPARE(f.m_pScript->calls.filter(QStringLiteral("open")).size(), 1);
    }

    // The first start fills most of the screen, centred; the place and the toolbar are kept
    // for the next start, in a group of their own.
    void mainWindowPlaceIsKept() {
        QRect available;
        QRect kept;
        {
            CAppFixture f;
            QVERIFY(f.Start());
            available = f.Frame().screen()->availableGeometry();
            const QRect first = f.Frame().geometry();
            QVERIFY(available.contains(first));
            QVERIFY(first.width() * 10 >= available.width() * 9 - 10);
            QVERIFY(first.height() * 10 >= available.height() * 9 - 10);
            QVERIFY((first.center() - available.center()).manhattanLength() <= 2);
            kept = QRect(available.topLeft() + QPoint(37, 61), available.size() / 2);
            f.Frame().setGeometry(kept);
            f.Trigger(ECommand::Toolbar); // hide the toolbar
            QVERIFY(f.Frame().close());
        }
        QSettings settings;
        QVERIFY(settings.childGroups().contains(QStringLiteral("MainWindow")));
        settings.beginGroup(QStringLiteral("Settings"));
        QVERIFY(settings.childKeys().filter(QStringLiteral("Geometry")).isEmpty());
        settings.endGroup();
        CAppFixture f;
        QVERIFY(f.Start());
        QCOMPARE(f.Frame().geometry(), kept);
        QVERIFY(f.Frame().ToolBar()->isHidden());
        QVERIFY(!f.Action(ECommand::Toolbar)->isChecked());
    }

    // A damaged saved place gives the first start's, and so does one saved on a larger screen;
    // one off the screen is brought whole onto it.
    void savedPlaceStaysOnTheScreen_data() {
        QTest::addColumn<QByteArray>("geometry");
        QTest::addColumn<bool>("bFirst");
        QWidget larger;
        larger.setGeometry(2000, 1500, 3000, 2500);
        QWidget away;
        away.setGeometry(-5000, -4000, 300, 200);
        QTest::addRow("damaged") << QByteArray("\x01\xD9\xD0\xCB not a geometry") << true;
        QTest::addRow("larger than the screen") << larger.saveGeometry() << true;
        QTest::addRow("off the screen") << away.saveGeometry() << false;
    }
    void savedPlaceStaysOnTheScreen() {
        QFETCH(QByteArray, geometry);
        QFETCH(bool, bFirst);
        QRect first;
        {
            CAppFixture f;
            QVERIFY(f.Start());
            first = f.Frame().geometry();
        }
        {
            QSettings settings;
            settings.setValue(QStringLiteral("MainWindow/Geometry"), geometry);
        }
        CAppFixture f;
        QVERIFY(f.Start());
        const QRect place = f.Frame().geometry();
        QVERIFY(f.Frame().screen()->availableGeometry().contains(place));
        if (bFirst)
            QCOMPARE(place, first);
        else
            QCOMPARE(place.size(), QSize(300, 200));
    }

    void viewTemplates() {
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(!f.App().GetViewTemplate(0));
        QVERIFY(!f.App().GetViewTemplate(13));
        for (int n = 1; n <= 12; ++n)
            QVERIFY(f.App().GetViewTemplate(n));
    }
};

QUENLEY_REGISTER_TEST(TestStartup)
#include "TestStartup.moc"

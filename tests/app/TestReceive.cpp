// The module's dumps coming in through the MIDI input: the input's dialog, the receive window
// and its ways to end, and what reaches the project.

#include "AppFixture.h"
#include "CMidiInDeviceDlg.h"
#include "CModuleRecordKeeper.h"
#include "CReceiveDumpDlg.h"
#include "TestMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

using Commands::ECommand;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;

namespace {

// Value 1 of kicks 0, 3 and 4, as the module sends them.
const QByteArray kDump = QByteArray::fromHex("F0313E56 00 0001 0063 F7"
                                             "F0313E56 00 001C 0062 F7"
                                             "F0313E56 00 0025 0061 F7");
// Another maker's message and a note, which a dump may carry along.
const QByteArray kForeign = QByteArray::fromHex("F0 43 10 4C 00 00 7E 00 F7 90 40 7F");
const QString kTakeIt = QStringLiteral(
    "The dump holds 3 variations:\n  Kick: 000, 003-004\n\nTake them into the project?");

// Plays bytes into the input from a thread of its own, as a back end does, in pieces, once the
// input is open; with bVanish the device goes away halfway instead of finishing.
class CPlayer {
public:
    CPlayer(std::shared_ptr<CMidiInScript> pScript, const QByteArray& bytes, int nPiece,
            bool bVanish)
        : m_thread([this, pScript, bytes, nPiece, bVanish] {
              while (!pScript->IsOpen() && !m_bStop)
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              for (qsizetype i = 0; i < bytes.size() && !m_bStop; i += nPiece) {
                  if (bVanish && i >= bytes.size() / 2) {
                      pScript->Vanish();
                      return;
                  }
                  pScript->Play(bytes.mid(i, nPiece));
              }
          }) {}
    ~CPlayer() {
        m_bStop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// Acts on the receive window once it holds nMessages: "done" or "cancel"; anything else only
// watches. Gives up with Cancel after half a minute or so, so that a fault fails the test
// instead of hanging it. Watches while the timer lives.
std::unique_ptr<QTimer> Watch(const QString& strAct, int nMessages) {
    auto pTimer = std::make_unique<QTimer>();
    QObject::connect(pTimer.get(), &QTimer::timeout, [strAct, nMessages, nLooks = 0]() mutable {
        auto* pDialog = qobject_cast<CReceiveDumpDlg*>(QApplication::activeModalWidget());
        if (!pDialog || pDialog->End() != CReceiveDumpDlg::EEnd::Running)
            return;
        if (++nLooks > 3000)
            pDialog->reject();
        else if (pDialog->Messages().size() < nMessages)
            return;
        else if (strAct == "done")
            pDialog->DoneButton()->click();
        else if (strAct == "cancel")
            pDialog->reject();
    });
    pTimer->start(10);
    return pTimer;
}

} // namespace

class TestReceive : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // The dialog reads the inputs on opening and on Refresh, shows the choice by its name or as
    // not found, and OK keeps the choice beside the output's, which stays as it was.
    void inputDeviceDialog_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("shownAfterRefresh");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<bool>("bOk");
        QTest::addColumn<QString>("stored");
        QTest::newRow("none, one picked")
            << "" << " " << " " << "Scripted In B" << true << "Scripted In B";
        QTest::newRow("chosen") << "Scripted In B" << "Scripted In B" << "Scripted In B" << ""
                                << true << "Scripted In B";
        QTest::newRow("away, found again") << "Keyboard In" << "Keyboard In (not found)"
                                           << "Keyboard In" << "" << true << "Keyboard In";
        QTest::newRow("away, another picked")
            << "Keyboard In" << "Keyboard In (not found)" << "Keyboard In" << "Scripted In A"
            << true << "Scripted In A";
        QTest::newRow("cancel") << "Scripted In B" << "Scripted In B" << "Scripted In B"
                                << "Scripted In A" << false << "Scripted In B";
    }
    void inputDeviceDialog() {
        QFETCH(QString, saved);
        QFETCH(QString, shown);
        QFETCH(QString, shownAfterRefresh);
        QFETCH(QString, pick);
        QFETCH(bool, bOk);
        QFETCH(QString, stored);
        CAppFixture::ChooseDevice(1, QStringLiteral("Scripted B"), 3);
        if (!saved.isEmpty())
            CAppFixture::ChooseInput(saved);
        {
            CAppFixture f;
            QVERIFY(f.Start());
            QVERIFY(f.Action(ECommand::InputDevice)->isEnabled());
            QStringList seen;
            QTimer::singleShot(0, [&] {
                auto* pDialog = qobject_cast<CMidiInDeviceDlg*>(QApplication::activeModalWidget());
                QVERIFY(pDialog);
                seen << QString::number(pDialog->DeviceList()->count())
                     << pDialog->SelectedText()->text();
                f.m_pInScript->deviceNames.push_back("Keyboard In");
                pDialog->RefreshButton()->click();
                seen << QString::number(pDialog->DeviceList()->count())
                     << pDialog->SelectedText()->text();
                if (const auto found = pDialog->DeviceList()->findItems(pick, Qt::MatchExactly);
                    !pick.isEmpty() && !found.isEmpty())
                    found.front()->setSelected(true);
                bOk ? pDialog->accept() : pDialog->reject();
            });
            f.Trigger(ECommand::InputDevice);
            QCOMPARE(seen, QStringList({"2", shown, "3", shownAfterRefresh}));
            QCOMPARE(f.App().InputDeviceName(), stored);
            QVERIFY(!f.m_pInScript->IsOpen());
        }
        QCOMPARE(CAppFixture::Setting("MidiInputDeviceName").toString(), stored);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Scripted B"));
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 3u);
    }

    // From the module: the dump arrives in pieces from another thread; the window ends by the
    // quiet spell or with Done, and the project then takes what a file of the same bytes gives,
    // as one step, sending nothing. Cancel, a device gone, an input that cannot be opened and
    // an empty receive change nothing. The input is open only while the window is up.
    void receiveFromModule_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("nPiece");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("said");
        const QString strGone = QStringLiteral("The MIDI input \"Scripted In B\" is no longer "
                                               "there, so the receive was stopped.\nThe "
                                               "project stays as it is.");
        QTest::newRow("quiet spell") << kDump << 5 << "quiet" << QStringList{kTakeIt};
        QTest::newRow("done") << kDump << 3 << "done" << QStringList{kTakeIt};
        QTest::newRow("foreign messages counted")
            << kDump.left(10) + kForeign + kDump.mid(10) << 4 << "quiet"
            << QStringList{"The dump holds 3 variations:\n  Kick: 000, 003-004\nSkipped: 1 "
                           "message for another device, 1 other MIDI message.\n\nTake them into "
                           "the project?"};
        QTest::newRow("cancel") << kDump << 2 << "cancel" << QStringList{};
        QTest::newRow("device gone") << kDump << 2 << "vanish" << QStringList{strGone};
        QTest::newRow("nothing came")
            << QByteArray() << 1 << "done"
            << QStringList{"Nothing came from the module through \"Scripted In B\".\nThe "
                           "project stays as it is."};
        QTest::newRow("refused") << kDump << 1 << "refused"
                                 << QStringList{"The MIDI input device \"Scripted In B\" could not "
                                                "be opened: held by another program.\nNothing "
                                                "was received."};
        QTest::newRow("unplugged") << kDump << 1 << "unplugged"
                                   << QStringList{"The MIDI input device \"Scripted In B\" is not "
                                                  "connected.\nNothing was received."};
    }
    void receiveFromModule() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, nPiece);
        QFETCH(QString, how);
        QFETCH(QStringList, said);
        CAppFixture::ChooseInput(QStringLiteral("Scripted In B"));
        QSettings().setValue(QStringLiteral("Settings/ReceiveQuietSeconds"),
                             how == "quiet" ? 0.2 : 600.0);
        CAppFixture f;
        f.StartWithProject();
        if (how == "refused") {
            f.m_pInScript->nOpenResult = MMSYSERR_ALLOCATED;
            f.m_pInScript->strOpenError = "held by another program";
        } else if (how == "unplugged") {
            f.m_pInScript->deviceNames = {"Scripted In A"};
        }
        f.Doc()->SetModifiedFlag(false);
        const QByteArray before = f.Doc()->SaveToBytes();
        f.answers = {EAnswer::Yes, EAnswer::Ok};
        {
            CPlayer player(f.m_pInScript, bytes, nPiece, how == "vanish");
            const auto pWatch = Watch(how, int(bytes.count('\xF0')));
            f.Trigger(ECommand::ReceiveDump);
        }
        QVERIFY(!f.m_pInScript->IsOpen());
        QCOMPARE(f.m_pInScript->nOpens, how == "refused" || how == "unplugged" ? 0 : 1);
        QCOMPARE(f.shown.front().strText,
                 QStringLiteral("Receive the dump from the module, through \"Scripted In B\", "
                                "or from a file?"));
        QCOMPARE(f.shown.front().eButtons, EButtons::YesNoCancel);
        QCOMPARE(f.Texts().mid(1), said);
        QCOMPARE(f.Midi().QueueLength(), 0);
        if (!said.value(0).endsWith(QStringLiteral("Take them into the project?"))) {
            QCOMPARE(f.Doc()->SaveToBytes(), before);
            QVERIFY(!f.Doc()->IsModified());
            return;
        }
        const CSection* pKick = f.Doc()->FindVariation(&m_kick, 4);
        QVERIFY(pKick && pKick->GetParam(1) == 0x61);
        // What the module sent is what it holds: Send Changes need not send it back.
        QCOMPARE(f.Frame().MidiCommands().ModuleRecord()->Record().Value(*pKick, 1), 0x61);
        const QByteArray received = f.Doc()->SaveToBytes();
        f.Trigger(ECommand::Undo);
        QCOMPARE(f.Doc()->SaveToBytes(), before);

        // The same bytes from a file: the same question and the same project.
        const QString strPath = m_dir.filePath(QStringLiteral("same.syx"));
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        f.shown.clear();
        f.files = {strPath};
        f.answers = {EAnswer::No, EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        QCOMPARE(f.Texts().mid(1), said);
        QCOMPARE(f.Doc()->SaveToBytes(), received);
        QCOMPARE(f.Midi().QueueLength(), 0);
    }

private:
    CKick m_kick;
};

QUENLEY_REGISTER_TEST(TestReceive)
#include "TestReceive.moc"

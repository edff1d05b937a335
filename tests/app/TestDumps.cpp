// Transmit Dump and Receive Dump as a musician uses them: the file dialogs, the question before a
// dump goes into the project, Cancel, and the windows that follow what came in.

#include "AppFixture.h"
#include "CSysExItem.h"
#include "ProjectFile.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using Commands::ECommand;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

CKick s_kick;
CKit s_kit;
CSnar s_snare;

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& strPath, const QByteArray& bytes) {
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Queued(const CMidiWnd& wnd) {
    QByteArray bytes;
    for (auto it = wnd.Queue().rbegin(); it != wnd.Queue().rend(); ++it)
        bytes.append(reinterpret_cast<const char*>((*it)->pBuffer.get()), (*it)->nLength);
    return bytes;
}

// Value 1 of kicks 0, 3 and 4, as the module sends them: 99, 98 and 97.
const QByteArray kKick0Value1 = QByteArray::fromHex("F0313E56 00 0001 0063 F7");
const QByteArray kKick3Value1 = QByteArray::fromHex("F0313E56 00 001C 0062 F7");
const QByteArray kKick4Value1 = QByteArray::fromHex("F0313E56 00 0025 0061 F7");

// Receive Dump's first question while no MIDI input is chosen.
const QString kFromFile = QStringLiteral(
    "Receive the dump from a file?\nTo receive it from the module, choose its MIDI input first: "
    "Settings > Midi Devices > Input Device.");

} // namespace

class TestDumps : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Without a project there is nothing to dump into or from: the commands are not offered.
    void commandsNeedAProject() {
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        for (ECommand e : {ECommand::ReceiveDump, ECommand::TransmitDump}) {
            QVERIFY(!f.Button(e)->isEnabled());
            f.Press(e);
            f.Trigger(e);
        }
        QVERIFY(f.shown.empty());
        QVERIFY(f.dialogs.isEmpty());
    }

    // The same bytes as Send project, on the chosen channel, through the menu and the toolbar.
    void transmitWritesWhatSendProjectSends() {
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"), 9);
        QVERIFY(f.Start());
        f.App().OnFileNew();
        f.Press(ECommand::TransmitDump);
        QCOMPARE(f.Texts(), QStringList({"The project holds no variations to transmit."}));
        QVERIFY(f.dialogs.isEmpty());

        for (int n : {1, 2, 200})
            f.Doc()->FindOrCreateVariation(&s_kick, n)->SetParam(1, n);
        f.Doc()->FindOrCreateVariation(&s_kit, 700)->SetName("Dumped  ");
        f.Midi().DestroySysExList();
        const QString strPath = m_dir.filePath(QStringLiteral("project.syx"));
        QVERIFY(WriteAll(strPath, "an older dump"));
        f.shown.clear();
        f.files = {strPath};
        f.Trigger(ECommand::TransmitDump);
        QCOMPARE(f.dialogs.back(),
                 QStringLiteral("save ") +
                     QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                         .filePath(QStringLiteral("QLY1.syx")));
        QVERIFY(f.shown.empty());
        QCOMPARE(f.Midi().QueueLength(), 0); // nothing goes to the module
        const QByteArray dump = ReadAll(strPath);

        f.answers = {EAnswer::Yes};
        f.Press(ECommand::SendProject); // Send project
        QCOMPARE(dump.toHex(' '), Queued(f.Midi()).toHex(' '));
        QCOMPARE(dump.count('\xF0'), 4);
        QCOMPARE(dump.at(4), '\x09');

        // A failed write says why and leaves the file there as it was.
        f.files = {m_dir.filePath(QStringLiteral("missing/project.syx"))};
        f.Press(ECommand::TransmitDump);
        QVERIFY2(f.Texts().back().contains(QStringLiteral("missing")),
                 qPrintable(f.Texts().back()));
        QCOMPARE(f.shown.back().eIcon, EIcon::Warning);
        QCOMPARE(ReadAll(strPath), dump);

        // What the module cannot take is named, as Send project names it; the rest is written.
        std::int32_t values[9] = {0, 0, 0, 300, 0, 0, 0, 0, 0};
        QVERIFY(f.Doc()
                    ->FindVariation(&s_kick, 2)
                    ->SetStoredFields(false, 2, "Broken          ", values));
        f.files = {strPath};
        f.Trigger(ECommand::TransmitDump);
        QCOMPARE(f.Texts().back(), QStringLiteral("Left out of the dump, the rest of the project "
                                                  "is in it:\nKick002 Broken holds 300 as value "
                                                  "3, outside 0 to 255"));
        QCOMPARE(ReadAll(strPath).count('\xF0'), 3);
    }

    // A selection goes out, and into a dump, as Send project sends those sections: in store
    // order whatever order the keys come in, each once, and a key whose section has gone is
    // passed over. Nothing is asked before sending; what cannot be sent is named as Send
    // project names it.
    void selectionSentAndDumped_data() {
        QTest::addColumn<QByteArray>("keys");   // "kind number" lines
        QTest::addColumn<QList<int>>("blocks"); // of Send project's, in its order
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("bBroken");
        // The project's blocks: snare 3, kick 1, kick 200, kit 700 (kick 2 cannot be sent).
        QTest::newRow("one kind") << QByteArray("2 200\n2 1") << QList<int>{1, 2}
                                  << "Sending 2 variations." << false;
        QTest::newRow("kinds mixed, repeated, one gone")
            << QByteArray("1 700\n2 1\n2 55\n3 3\n2 1") << QList<int>{0, 1, 3}
            << "Sending 3 variations." << false;
        QTest::newRow("one that cannot be sent")
            << QByteArray("2 2\n1 700") << QList<int>{3} << "Sending 1 variation." << true;
    }
    void selectionSentAndDumped() {
        QFETCH(QByteArray, keys);
        QFETCH(QList<int>, blocks);
        QFETCH(QString, status);
        QFETCH(bool, bBroken);
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"), 9);
        QVERIFY(f.Start());
        f.App().OnFileNew();
        for (int n : {1, 2, 200})
            f.Doc()->FindOrCreateVariation(&s_kick, n)->SetParam(1, n);
        f.Doc()->FindOrCreateVariation(&s_snare, 3)->SetName("Tight   ");
        f.Doc()->FindOrCreateVariation(&s_kit, 700)->SetName("Dumped  ");
        std::int32_t values[9] = {0, 0, 0, 300, 0, 0, 0, 0, 0};
        QVERIFY(f.Doc()
                    ->FindVariation(&s_kick, 2)
                    ->SetStoredFields(false, 2, "Broken          ", values));
        f.Midi().DestroySysExList();
        f.answers = {EAnswer::Yes};
        f.Press(ECommand::SendProject);
        const QList<QByteArray> project = Queued(f.Midi()).split('\xF0').mid(1);
        QCOMPARE(project.size(), 4);
        QByteArray expected;
        for (int i : blocks)
            expected += '\xF0' + project[i];
        const std::vector<SSectionKey> selection = SectionKeys::Decode(keys);
        const QString strSkipped = QStringLiteral(":\nKick002 Broken holds 300 as value 3, "
                                                  "outside 0 to 255");

        f.Midi().DestroySysExList();
        f.shown.clear();
        f.Frame().MidiCommands().SendSections(selection);
        QCOMPARE(Queued(f.Midi()).toHex(' '), expected.toHex(' '));
        QCOMPARE(f.Frame().statusBar()->currentMessage(), status);
        QCOMPARE(f.Texts(), bBroken
                                ? QStringList{"Not sent, the rest of the project was" + strSkipped}
                                : QStringList{});

        f.Midi().DestroySysExList();
        f.shown.clear();
        const QString strPath = m_dir.filePath(QStringLiteral("selection.syx"));
        f.files = {strPath};
        f.Frame().MidiCommands().TransmitDumpOf(selection);
        QCOMPARE(ReadAll(strPath).toHex(' '), expected.toHex(' '));
        QCOMPARE(f.Midi().QueueLength(), 0);
        QCOMPARE(f.Texts(),
                 bBroken ? QStringList{"Left out of the dump, the rest of the project is in it" +
                                       strSkipped}
                         : QStringList{});
    }

    // The question names what comes and what it overwrites; Cancel keeps the project as it was,
    // OK takes the dump in, marks the project changed and the windows follow. Nothing is sent.
    void receiveAsksFirst() {
        CAppFixture f;
        f.StartWithProject();
        CSection* pKick = f.Doc()->FindOrCreateVariation(&s_kick, 0);
        pKick->SetName("Mine");
        pKick->SetActive(true);
        f.Doc()->FindOrCreateVariation(&s_kick, 7);
        f.Trigger(ECommand::OpenKick);
        CDView* pKickView = f.Frame().ActiveView();
        QVERIFY(pKickView && pKickView->GetViewType() == 3);
        CChildFrame* pKickFrame = f.Frame().ActiveFrame();
        f.Midi().DestroySysExList();
        f.Doc()->SetModifiedFlag(false);
        const QByteArray before = f.Doc()->SaveToBytes();

        const QString strPath = m_dir.filePath(QStringLiteral("in.syx"));
        QVERIFY(WriteAll(strPath, kKick0Value1 + kKick3Value1 + kKick4Value1 +
                                      QByteArray::fromHex("F043F7 90")));
        f.files = {strPath};
        f.answers = {EAnswer::Ok, EAnswer::Cancel};
        f.Press(ECommand::ReceiveDump);
        QVERIFY(f.dialogs.back().startsWith(QStringLiteral("open ")));
        const QString strQuestion = QStringLiteral(
            "The dump holds 3 variations:\n  Kick: 000, 003-004\nIt overwrites 1 variation of "
            "the project:\n  Kick: 000\nSkipped: 1 message for another device, 1 truncated "
            "message.\n\nTake them into the project?");
        QCOMPARE(f.Texts(), QStringList({kFromFile, strQuestion}));
        QCOMPARE(f.shown.front().eButtons, EButtons::OkCancel);
        QCOMPARE(f.shown.back().eIcon, EIcon::Question);
        QCOMPARE(f.shown.back().eButtons, EButtons::OkCancel);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        QVERIFY(!f.Doc()->IsModified());

        f.files = {strPath};
        f.answers = {EAnswer::Ok, EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        QCOMPARE(f.Texts().back(), strQuestion);
        QVERIFY(f.Doc()->IsModified());
        QCOMPARE(f.Doc()->FindVariation(&s_kick, 0), pKick);
        QCOMPARE(pKick->GetParam(1), 99);
        QCOMPARE(QByteArray(pKick->GetName()).left(4), QByteArray("Mine"));
        QVERIFY(pKick->IsActive());
        QCOMPARE(f.Doc()->FindVariation(&s_kick, 3)->GetParam(1), 98);
        QCOMPARE(f.Doc()->FindVariation(&s_kick, 4)->GetParam(1), 97);
        QCOMPARE(f.Doc()->GetSectionList().size(), std::size_t(4));
        QCOMPARE(f.Midi().QueueLength(), 0);
        QCOMPARE(f.Frame().statusBar()->currentMessage(),
                 QStringLiteral("Dump received: 3 of 3 variations changed."));
        // The kick window shows the kick it showed, with the value that came in.
        QCOMPARE(pKickView->GetVariation(), pKick);
        QVERIFY(f.Frame().Frames().contains(pKickFrame));

        // One step, undone and redone without a message to the module, which holds the dump.
        const QByteArray received = f.Doc()->SaveToBytes();
        QCOMPARE(f.Action(ECommand::Undo)->text(), QStringLiteral("&Undo Receive Dump"));
        f.Trigger(ECommand::Undo);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        QVERIFY(!f.Doc()->IsModified());
        QCOMPARE(pKickView->GetVariation(), pKick);
        f.Trigger(ECommand::Redo);
        QCOMPARE(f.Doc()->SaveToBytes(), received);
        QCOMPARE(f.Midi().QueueLength(), 0);
    }

    void receiveOfNothingChangesNothing() {
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 1);
        f.Doc()->SetModifiedFlag(false);
        const QByteArray before = f.Doc()->SaveToBytes();

        const QString strPath = m_dir.filePath(QStringLiteral("foreign.syx"));
        QVERIFY(WriteAll(strPath, QByteArray::fromHex("F0 43 10 4C 00 00 7E 00 F7 12")));
        f.files = {strPath};
        f.answers = {EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        QCOMPARE(f.Texts(), QStringList({kFromFile, "The dump holds no sounds for the module.\nSkipped: 1 "
                                         "message for another device, 1 stray byte.\nThe project "
                                         "stays as it is."}));
        QCOMPARE(f.shown.back().eIcon, EIcon::Information);

        f.files = {m_dir.filePath(QStringLiteral("nowhere.syx"))};
        f.answers = {EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        QVERIFY2(f.Texts().back().endsWith(QStringLiteral("nowhere.syx was not found.")),
                 qPrintable(f.Texts().back()));
        QFile big(m_dir.filePath(QStringLiteral("big.syx")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(ProjectFile::kMaxFileSize + 1));
        big.close();
        f.files = {big.fileName()};
        f.answers = {EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump);
        QCOMPARE(f.Texts().back(), big.fileName() + " is too large for a dump: the limit is "
                                                    "16777216 bytes.");
        f.answers = {EAnswer::Ok};
        f.Trigger(ECommand::ReceiveDump); // the dialog cancelled
        QCOMPARE(int(f.shown.size()), 7);
        QCOMPARE(f.dialogs.size(), 4);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        QVERIFY(!f.Doc()->IsModified());
    }

    // A dump opened as a project while none is open is offered as a new project: Yes and OK
    // make one that holds the dump as one step, and send nothing; Cancel or No leave none. With
    // a project open, or bytes that hold nothing for the module, the project messages stand.
    void dumpOpenedAsAProject_data() {
        QTest::addColumn<bool>("bProjectOpen");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("said");
        const QByteArray dump = kKick0Value1 + kKick3Value1;
        const QString strOffer =
            QStringLiteral("in.syx is a SysEx dump, not a project. Make a new project from it?");
        const QString strSummary = QStringLiteral(
            "The dump holds 2 variations:\n  Kick: 000, 003\n\nTake them into the project?");
        const int nYes = int(EAnswer::Yes);
        using EOpen = CQuenleyApp::EOpen;
        QTest::newRow("yes, OK") << false << dump << QList<int>{nYes, int(EAnswer::Ok)}
                                 << int(EOpen::Opened) << QStringList{strOffer, strSummary};
        QTest::newRow("yes, Cancel") << false << dump << QList<int>{nYes, int(EAnswer::Cancel)}
                                     << int(EOpen::Refused) << QStringList{strOffer, strSummary};
        QTest::newRow("no") << false << dump << QList<int>{int(EAnswer::No)} << int(EOpen::Refused)
                            << QStringList{strOffer};
        QTest::newRow("a project open")
            << true << dump << QList<int>{nYes} << int(EOpen::Refused)
            << QStringList{"Only one project at time !\n Close existing Project\n and try again"};
        QTest::newRow("nothing for the module")
            << false << QByteArray::fromHex("F0 43 10 4C 00 00 7E 00 F7") << QList<int>{nYes}
            << int(EOpen::Failed) << QStringList{"Unexpected file format."};
    }
    void dumpOpenedAsAProject() {
        QFETCH(bool, bProjectOpen);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, answers);
        QFETCH(int, result);
        QFETCH(QStringList, said);
        CAppFixture f;
        if (bProjectOpen) {
            f.StartWithProject();
        } else {
            CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
            QVERIFY(f.Start());
        }
        CQuenleyDoc* pBefore = f.Doc();
        const QString strPath = m_dir.filePath(QStringLiteral("in.syx"));
        QVERIFY(WriteAll(strPath, bytes));
        for (int n : answers)
            f.answers.push_back(EAnswer(n));
        QCOMPARE(int(f.App().OpenDocumentFile(strPath)), result);
        QCOMPARE(f.Texts(), said);
        if (said.size() > 1)
            QCOMPARE(f.shown.front().eButtons, EButtons::YesNo);
        QCOMPARE(f.Midi().QueueLength(), 0);
        QVERIFY(f.App().RecentFiles().isEmpty());
        if (bProjectOpen) {
            QCOMPARE(f.Doc(), pBefore);
            QVERIFY(f.Doc()->GetSectionList().empty());
            return;
        }
        if (result != int(CQuenleyApp::EOpen::Opened)) {
            QVERIFY(!f.Doc());
            QVERIFY(f.Frame().Frames().isEmpty());
            // Not even the new project's number was used.
            f.App().OnFileNew();
            QCOMPARE(f.App().DocumentTitle(), QStringLiteral("QLY1"));
            return;
        }
        QVERIFY(f.Doc());
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("QLY1"));
        QCOMPARE(f.Frame().Frames().size(), 1);
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), 2);
        QCOMPARE(f.Doc()->GetSectionList().size(), std::size_t(2));
        QCOMPARE(f.Doc()->FindVariation(&s_kick, 0)->GetParam(1), 99);
        QCOMPARE(f.Doc()->FindVariation(&s_kick, 3)->GetParam(1), 98);
        QVERIFY(f.Doc()->IsModified());
        QCOMPARE(f.Action(ECommand::Undo)->text(), QStringLiteral("&Undo Receive Dump"));
        f.Trigger(ECommand::Undo);
        QVERIFY(f.Doc()->GetSectionList().empty());
        QVERIFY(!f.Action(ECommand::Undo)->isEnabled());
        QCOMPARE(f.Midi().QueueLength(), 0);
    }
};

QUENLEY_REGISTER_TEST(TestDumps)
#include "TestDumps.moc"

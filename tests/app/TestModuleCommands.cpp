// Send Changes, Forget and the status bar's word on what the module holds, on the scripted port.

#include "AppFixture.h"
#include "CModuleRecord.h"
#include "CModuleRecordKeeper.h"
#include "TestMain.h"

#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

using Commands::ECommand;
using QuenleyMessage::EAnswer;

namespace {

CKick s_kick;

QString ModulePane(const CAppFixture& f) {
    f.Frame().UpdateStatusPanes();
    return f.Frame().findChild<QLabel*>(QStringLiteral("ModulePane"))->text();
}

} // namespace

class TestModuleCommands : public QObject {
    Q_OBJECT

private slots:
    void init() {
        CAppFixture::ClearSettings();
        QDir(CModuleRecordKeeper::DefaultFolder()).removeRecursively();
    }
    void cleanup() { QDir(CModuleRecordKeeper::DefaultFolder()).removeRecursively(); }

    void sendChangesSendsWhatTheModuleLacks() {
        CAppFixture f;
        f.StartWithProject();
        for (int n : {1, 2})
            f.Doc()->FindOrCreateVariation(&s_kick, n);
        QCOMPARE(ModulePane(f), QString()); // only while the port is open
        f.Press(ECommand::Activate);
        QTRY_VERIFY(f.Midi().IsOpen() && f.Midi().QueueLength() == 0);
        QCOMPARE(ModulePane(f), QStringLiteral("%1 values to send").arg(9 + 9));

        // A fresh record: everything, as Send project sends it.
        std::size_t nMark = f.m_pScript->sent.size();
        f.Trigger(ECommand::SendChanges);
        QTRY_VERIFY(f.Midi().QueueLength() == 0);
        QCOMPARE(f.m_pScript->LongsSince(nMark).size(), 2);
        QTRY_COMPARE(ModulePane(f), QStringLiteral("module in step"));

        nMark = f.m_pScript->sent.size();
        f.Press(ECommand::SendChanges);
        QCoreApplication::processEvents();
        QVERIFY(f.m_pScript->LongsSince(nMark).isEmpty());
        QCOMPARE(f.Frame().statusBar()->currentMessage(),
                 QStringLiteral("Nothing to send: the module holds the project as it is."));

        // A value changed without being sent, as a dump read from a file changes it.
        f.Doc()->SetTransmitQueue(nullptr);
        f.Doc()->FindVariationOfKind(Kinds::kKick, 2)->SetParam(4, 9);
        f.Doc()->SetTransmitQueue(&f.Midi());
        QCOMPARE(ModulePane(f), QStringLiteral("1 value to send"));
        f.Trigger(ECommand::SendChanges);
        QTRY_VERIFY(f.Midi().QueueLength() == 0);
        QCOMPARE(f.m_pScript->LongsSince(nMark),
                 QList<QByteArray>{QByteArray::fromHex("F0313E560000160009F7")});
        QTRY_COMPARE(ModulePane(f), QStringLiteral("module in step"));

        f.Trigger(ECommand::ForgetModule);
        QCOMPARE(ModulePane(f), QStringLiteral("%1 values to send").arg(9 + 9));
        f.Trigger(ECommand::SendChanges);
        QTRY_COMPARE(ModulePane(f), QStringLiteral("module in step"));
        f.Press(ECommand::Reset);
        QCOMPARE(ModulePane(f), QStringLiteral("%1 values to send").arg(9 + 9));
        QVERIFY(f.shown.empty());
    }

    // The record survives the editor; a damaged one is named on the status bar and ignored.
    void recordAcrossStarts_data() {
        QTest::addColumn<bool>("bDamaged");
        QTest::newRow("kept") << false;
        QTest::newRow("damaged") << true;
    }
    void recordAcrossStarts() {
        QFETCH(bool, bDamaged);
        QString strPath;
        {
            CAppFixture f;
            f.StartWithProject();
            f.Doc()->FindOrCreateVariation(&s_kick, 1);
            f.Press(ECommand::Activate);
            f.Trigger(ECommand::SendChanges);
            QTRY_COMPARE(ModulePane(f), QStringLiteral("module in step"));
            strPath = f.Midi().findChild<CModuleRecordKeeper*>()->Path();
            f.answers = {EAnswer::No};
        }
        QVERIFY(QFile::exists(strPath));
        if (bDamaged) {
            QFile file(strPath);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(100);
            file.write("\x7F");
        }
        CAppFixture f;
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 1);
        QCOMPARE(f.Frame().statusBar()->currentMessage().contains(QStringLiteral("ignored")),
                 bDamaged);
        f.Press(ECommand::Activate);
        QTRY_VERIFY(f.Midi().IsOpen());
        QCOMPARE(ModulePane(f),
                 bDamaged ? QStringLiteral("9 values to send") : QStringLiteral("module in step"));
    }
};

QUENLEY_REGISTER_TEST(TestModuleCommands)
#include "TestModuleCommands.moc"

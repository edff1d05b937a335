// The editor as a musician uses it, driven with input events on the real main window, sending
// to the "SysEx file" output: what reaches the file is exactly what the edits and Send project
// produce, and the saved project reopens with its window.

#include "AppFixture.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CSysExFileDriver.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using QuenleyMessage::EAnswer;

namespace {

const QByteArray kAllNotesOff = QByteArray::fromHex("B07B00");

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static void ClickButton(CAppFixture& f, unsigned nId) {
        QWidget* pButton = f.Frame().ToolBar()->widgetForAction(f.Action(nId));
        QVERIFY(pButton);
        QTest::mouseClick(pButton, Qt::LeftButton);
    }
    static void Operate(CDView* pView, unsigned nId, const QString& strInput = {}) {
        OperateControl(*pView, nId, strInput);
    }
    // Everything queued has reached the file.
    static bool Drained(CAppFixture& f) { return f.Midi().QueueLength() == 0 && f.Midi().IsIdle(); }

private slots:
    void init() {
        CAppFixture::ClearSettings();
        CAppFixture::ChooseDevice(0, QStringLiteral("SysEx file"));
    }

    void aSessionReachesTheFile() {
        const QString strOut = m_dir.filePath(QStringLiteral("out.syx"));
        const QString strProject = m_dir.filePath(QStringLiteral("session.qly"));
        QList<QByteArray> edits;
        {
            CAppFixture f;
            f.m_pApp = std::make_unique<CQuenleyApp>(std::make_unique<CSysExFileDriver>(strOut));
            QVERIFY(f.m_pApp->InitInstance({QStringLiteral("quenley")}));
            f.Frame().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.Frame()));

            QTest::keyClick(&f.Frame(), Qt::Key_N, Qt::ControlModifier);
            QVERIFY(f.Doc());
            ClickButton(f, 32796); // Activate
            QTRY_VERIFY(!f.Midi().IsClosed());
            QTRY_COMPARE(ReadAll(strOut), kAllNotesOff);

            // The kick editor comes later; its variation 5 is made here as if there.
            f.Doc()->FindOrCreateVariation(&s_kick, 5);
            CDView* pView = f.Frame().ActiveView();
            Operate(pView, KitIds::kKitLcd, QStringLiteral("005"));
            Operate(pView, KitIds::kBankLcd, QStringLiteral("001"));
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
            Operate(pView, KitIds::kInit);
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kit005 Bank001 "));
            edits << KitValue(261, 8, 5)
                  << KitBlock(261, KitValues("Untitled", {5, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
            QTRY_VERIFY(Drained(f));

            Operate(pView, KitIds::Level(0), QStringLiteral("-12"));
            const int nLevel = f.Doc()->FindVariation(&s_kick, 5)->GetParam(8);
            QVERIFY(nLevel < 255);
            edits << LevelValue(0, 5, nLevel);
            QTRY_VERIFY(Drained(f));

            Operate(pView, KitIds::VariationKnob(1), QStringLiteral("+2"));
            CSection* pKit = f.Doc()->FindVariation(&s_kit, 261);
            QCOMPARE(pKit->GetParam(9), 2);
            edits << KitValue(261, 9, 2);
            QTRY_VERIFY(Drained(f));

            Operate(pView, KitIds::kName, QStringLiteral("Groove  "));
            QCOMPARE(QByteArray(pKit->GetName()), QByteArray("Groove  "));
            edits << SysEx(0x3F, 261 * 19, KitValues("Groove  "));
            QTRY_VERIFY(Drained(f));
            QCOMPARE(ReadAll(strOut), kAllNotesOff + edits.join());

            f.files = {strProject};
            f.Action(57604)->trigger(); // Save As
            QVERIFY(QFile::exists(strProject));
            QVERIFY(!f.Doc()->IsModified());

            f.answers = {EAnswer::Yes};
            ClickButton(f, 32788); // Send project
            QCOMPARE(f.Texts(),
                     QStringList({QStringLiteral("Are you sure to send the entire project ?")}));
            QTRY_VERIFY_WITH_TIMEOUT(Drained(f), 5000);
            f.Action(57665)->trigger();          // Exit
            QCOMPARE(f.shown.size(), size_t(1)); // saved: nothing to ask
            QVERIFY(!f.Doc());
        }

        // The project's messages are exactly what the command-line companion writes for it.
        const QString strSyx = m_dir.filePath(QStringLiteral("cli.syx"));
        QProcess cli;
        cli.start(QStringLiteral(QUENLEY_CLI), {QStringLiteral("syx"), strProject, strSyx});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray project = ReadAll(strSyx);
        QCOMPARE(project.count(char(0xF0)), 2); // the kick and the kit
        QCOMPARE(ReadAll(strOut), kAllNotesOff + edits.join() + project + kAllNotesOff);

        // Reopened, the project shows its window on the kit it was on.
        CAppFixture f;
        f.m_pApp = std::make_unique<CQuenleyApp>(std::make_unique<CSysExFileDriver>(strOut));
        QVERIFY(f.m_pApp->InitInstance({QStringLiteral("quenley"), strProject}));
        QVERIFY(f.Doc());
        QCOMPARE(f.Frame().Frames().size(), 1);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kit005 Bank001 "));
        QCOMPARE(f.Frame().ActiveFrame()->View()->ControlAs<CDLcd>(KitIds::kName)->GetText(),
                 QByteArray("Groove  "));
        QCOMPARE(
            f.Frame().ActiveFrame()->View()->ControlAs<CDDynCtrl>(KitIds::LevelLcd(0))->GetValue(),
            f.Doc()->FindVariation(&s_kick, 5)->GetParam(8));
    }

private:
    CKick s_kick;
    CKit s_kit;
};

QUENLEY_REGISTER_TEST(TestEndToEnd)
#include "TestEndToEnd.moc"

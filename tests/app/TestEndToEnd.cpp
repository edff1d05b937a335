// The editor as a musician uses it, driven with input events on the real main window, sending
// to the "SysEx file" output: what reaches the file is exactly what the edits and Send project
// produce, and the saved project reopens with its windows.

#include "AppFixture.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CSysExFileDriver.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using Commands::ECommand;
using QuenleyMessage::EAnswer;

namespace {

const QByteArray kAllNotesOff = QByteArray::fromHex("B07B00");

// The kick and hi-hat panels' controls the session uses.
constexpr unsigned kKickVeloc = 2505;
constexpr unsigned kKickInit = 2510;
constexpr unsigned kKickNumber = 2520;
constexpr unsigned kKickTune = 2525;
constexpr unsigned kKickLevel = 2565;
constexpr unsigned kKickVelocWord = 2575;
constexpr unsigned kKickIndicator = 2580;
constexpr unsigned kKickTuneKnob = 2590;
constexpr unsigned kHiHatRevrs = 4005;
constexpr unsigned kHiHatInit = 4015;
constexpr unsigned kHiHatNumber = 4025;
constexpr unsigned kHiHatRevrsWord = 4070;
constexpr unsigned kHiHatCutHP = 4080;
constexpr unsigned kHiHatNumberKnob = 4110;
constexpr unsigned kHiHatCutHPKnob = 4160;

QByteArray Text(const CDView* pView, unsigned nId) {
    const auto* pLcd = pView->ControlAs<CDLcd>(nId);
    return pLcd ? QByteArray(pLcd->GetText()) : QByteArray("no read-out");
}

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static void ClickButton(CAppFixture& f, ECommand eCommand) {
        QWidget* pButton = f.Frame().ToolBar()->widgetForAction(f.Button(eCommand));
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
        const QString strDump = m_dir.filePath(QStringLiteral("dump.syx"));
        QList<QByteArray> edits;
        {
            CAppFixture f;
            f.m_pApp = std::make_unique<CQuenleyApp>(std::make_unique<CSysExFileDriver>(strOut));
            QVERIFY(f.m_pApp->InitInstance({QStringLiteral("quenley")}));
            QVERIFY(f.ActivateFrame());

            QTest::keyClick(&f.Frame(), Qt::Key_N, Qt::ControlModifier);
            QVERIFY(f.Doc());
            ClickButton(f, ECommand::Activate);
            QTRY_VERIFY(!f.Midi().IsClosed());
            QTRY_COMPARE(ReadAll(strOut), kAllNotesOff);

            CChildFrame* pKitFrame = f.Frame().ActiveFrame();
            QVERIFY(pKitFrame);

            // Kick 5 from the toolbar: the number typed, Init. pressed and let go, Tune turned
            // up two steps, the Veloc switch (bit 7 of value 7) turned off.
            ClickButton(f, ECommand::OpenKick);
            CDView* pKick = f.Frame().ActiveView();
            QVERIFY(pKick && pKick != pKitFrame->View());
            QCOMPARE(pKick->GetViewType(), 3);
            Operate(pKick, kKickNumber, QStringLiteral("005"));
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
            QWidget* pInit = pKick->Control(kKickInit);
            QTest::mousePress(pInit, Qt::LeftButton, {}, QPoint(1, 1));
            QCOMPARE(Text(pKick, kKickIndicator), QByteArray("ON "));
            QTest::mouseRelease(pInit, Qt::LeftButton, {}, QPoint(1, 1));
            QCOMPARE(Text(pKick, kKickIndicator), QByteArray("OFF"));
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kick005 "));
            edits << SysEx(0x3E, 5 * 9, {221, 26, 127, 0, 200, 0, 200, 160, 255});
            Operate(pKick, kKickTuneKnob, QStringLiteral("+2"));
            edits << SysEx(0x3E, 5 * 9, {223});
            Operate(pKick, kKickVeloc);
            edits << SysEx(0x3E, 5 * 9 + 7, {32});
            QCOMPARE(Text(pKick, kKickVelocWord), QByteArray("OFF"));
            QTRY_VERIFY(Drained(f));
            QCOMPARE(ReadAll(strOut), kAllNotesOff + edits.join());

            // Hi-hat 5 from the menu: the number knob turned up five, Init. clicked, CutHP
            // turned down two steps, the Revrs switch (bit 6 of value 7) turned on.
            f.Trigger(ECommand::OpenHiHat);
            CDView* pHiHat = f.Frame().ActiveView();
            QVERIFY(pHiHat && pHiHat != pKick);
            QCOMPARE(pHiHat->GetViewType(), 7);
            for (const char* pszSteps : {"+2", "+2", "+1"})
                Operate(pHiHat, kHiHatNumberKnob, QLatin1String(pszSteps));
            QCOMPARE(Text(pHiHat, kHiHatNumber), QByteArray("005"));
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
            Operate(pHiHat, kHiHatInit);
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" HiHa005 "));
            const int nHiHat = 0x1500 + 5 * 12;
            edits << SysEx(0x3E, nHiHat, {73, 3, 3, 3, 3, 3, 3, 156, 200, 228, 28, 33});
            Operate(pHiHat, kHiHatCutHPKnob, QStringLiteral("-2"));
            edits << SysEx(0x3E, nHiHat + 9, {226});
            Operate(pHiHat, kHiHatRevrs);
            edits << SysEx(0x3E, nHiHat + 7, {156 | 0x40});
            QTRY_VERIFY(Drained(f));
            QCOMPARE(ReadAll(strOut), kAllNotesOff + edits.join());

            // The kit window, clicked on its panel away from any control, comes forward; its
            // kit 5 of bank 1 takes up kick 5 and hi-hat 5.
            QTest::mouseClick(pKitFrame->View(), Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(f.Frame().ActiveFrame(), pKitFrame);
            CDView* pView = f.Frame().ActiveView();
            QCOMPARE(pView, pKitFrame->View());
            Operate(pView, KitIds::kKitLcd, QStringLiteral("005"));
            Operate(pView, KitIds::kBankLcd, QStringLiteral("001"));
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
            Operate(pView, KitIds::kInit);
            QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kit005 Bank001 "));
            edits << KitValue(261, 8, 5) << KitValue(261, 12, 5)
                  << KitBlock(261, KitValues("Untitled", {5, 0, 0, 0, 5, 0, 0, 0, 0, 0}));
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
            f.Action(ECommand::SaveAs)->trigger(); // Save As
            QVERIFY(QFile::exists(strProject));
            QVERIFY(!f.Doc()->IsModified());

            f.answers = {EAnswer::Yes};
            ClickButton(f, ECommand::SendProject);
            QCOMPARE(f.Texts(),
                     QStringList({QStringLiteral("Are you sure to send the entire project ?")}));
            QTRY_VERIFY_WITH_TIMEOUT(Drained(f), 5000);
            f.files = {strDump};
            f.Trigger(ECommand::TransmitDump);
            QCOMPARE(f.dialogs.back(),
                     QStringLiteral("save ") + m_dir.filePath(QStringLiteral("session.syx")));
            f.Action(ECommand::Exit)->trigger(); // Exit
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
        QCOMPARE(project.count(char(0xF0)), 3); // the hi-hat, the kick and the kit
        QCOMPARE(ReadAll(strOut), kAllNotesOff + edits.join() + project + kAllNotesOff);
        // Transmit Dump wrote what Send project sent.
        QCOMPARE(ReadAll(strDump).toHex(' '), project.toHex(' '));

        // Reopened, the project shows its windows on what they were on.
        CAppFixture f;
        f.m_pApp = std::make_unique<CQuenleyApp>(std::make_unique<CSysExFileDriver>(strOut));
        QVERIFY(f.m_pApp->InitInstance({QStringLiteral("quenley"), strProject}));
        QVERIFY(f.Doc());
        QMap<int, CChildFrame*> byType;
        for (CChildFrame* pFrame : f.Frame().Frames())
            byType.insert(pFrame->View()->GetViewType(), pFrame);
        QCOMPARE(byType.keys(), QList<int>({2, 3, 7}));
        QCOMPARE(f.Frame().Frames().size(), 3);
        QCOMPARE(byType[2]->windowTitle(), QStringLiteral(" Kit005 Bank001 "));
        CDView* pKit = byType[2]->View();
        QCOMPARE(Text(pKit, KitIds::kName), QByteArray("Groove  "));
        const int nLevel = f.Doc()->FindVariation(&s_kick, 5)->GetParam(8);
        QCOMPARE(pKit->ControlAs<CDDynCtrl>(KitIds::LevelLcd(0))->GetValue(), nLevel);
        QCOMPARE(pKit->ControlAs<CDDynCtrl>(KitIds::VariationLcd(4))->GetValue(), 5);

        QCOMPARE(byType[3]->windowTitle(), QStringLiteral(" Kick005 "));
        CDView* pKick = byType[3]->View();
        QCOMPARE(Text(pKick, kKickTune), QByteArray("223"));
        QCOMPARE(pKick->ControlAs<CDDynCtrl>(kKickLevel)->GetValue(), nLevel);
        QVERIFY(!pKick->ControlAs<CDLed>(kKickVeloc)->GetState());
        QCOMPARE(Text(pKick, kKickVelocWord), QByteArray("OFF"));

        QCOMPARE(byType[7]->windowTitle(), QStringLiteral(" HiHa005 "));
        CDView* pHiHat = byType[7]->View();
        QCOMPARE(Text(pHiHat, kHiHatCutHP), QByteArray("226"));
        QVERIFY(pHiHat->ControlAs<CDLed>(kHiHatRevrs)->GetState());
        QCOMPARE(Text(pHiHat, kHiHatRevrsWord), QByteArray("ON "));
    }

private:
    CKick s_kick;
    CKit s_kit;
};

QUENLEY_REGISTER_TEST(TestEndToEnd)
#include "TestEndToEnd.moc"

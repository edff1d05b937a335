// The main window's commands on real editor windows: Destroy and what the windows do about it,
// every editor window opening, the browser's second window, a value typed
// but not confirmed before a command, and a number a read-out does not take.

#include "AppFixture.h"
#include "CDLcd.h"
#include "CMdiClient.h"
#include "Commands.h"
#include "KitViewTestUtil.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using Commands::ECommand;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EIcon;

class TestShell : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CKit m_kit;
    CKick m_kick;

    // A project with kit 261 made and shown in its window.
    static void KitShown(CAppFixture& f) {
        f.StartWithProject();
        QVERIFY(f.ActivateFrame());
        CDView* pView = f.Frame().ActiveView();
        auto* pKitNo = pView->ControlAs<CDLcd>(KitIds::kKitLcd);
        auto* pBank = pView->ControlAs<CDLcd>(KitIds::kBankLcd);
        QTest::mouseClick(pBank, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::keyClicks(pBank, QStringLiteral("001"));
        QTest::mouseClick(pKitNo, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::keyClicks(pKitNo, QStringLiteral("005"));
        QTest::keyClick(pKitNo, Qt::Key_Return);
        auto* pInit = pView->Control(KitIds::kInit);
        QTest::mousePress(pInit, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(pInit, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(pView->GetVariation());
        QCOMPARE(pView->GetVariation()->GetNumber(), 261);
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Destroy asks with the window's title; No keeps the kit; Yes removes it and every window
    // on it turns undefined.
    void destroyTheShownKit() {
        CAppFixture f;
        KitShown(f);
        f.Press(ECommand::OpenKit); // a second window, on kit 0
        CChildFrame* pSecond = f.Frame().ActiveFrame();
        f.Frame().MdiClient()->setActiveSubWindow(f.Frame().Frames().front());
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kit005 Bank001 "));

        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Destroy);
        QCOMPARE(f.Texts(),
                 QStringList({QStringLiteral("Are you sure to destroy \n Kit005 Bank001   ?")}));
        QCOMPARE(f.shown.back().eIcon, EIcon::Warning);
        QVERIFY(f.Doc()->FindVariation(&m_kit, 261));

        f.answers = {EAnswer::Yes};
        f.Press(ECommand::Destroy);
        QVERIFY(!f.Doc()->FindVariation(&m_kit, 261));
        QVERIFY(!f.Frame().ActiveView()->GetVariation());
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
        QCOMPARE(f.Frame().ActiveView()->ControlAs<CDLcd>(KitIds::kKitLcd)->GetValue(), 5);
        QCOMPARE(pSecond->windowTitle(), QStringLiteral(" Undefined"));
        QVERIFY(f.Doc()->IsModified());

        // Nothing shown: nothing to destroy, nothing asked.
        f.Press(ECommand::Destroy);
        QCOMPARE(f.shown.size(), size_t(2));
    }

    // Every editor opens from its toolbar button and its menu entry, and Kit info opens the
    // Kit-Info window on the kit shown.
    void everyEditorOpens_data() {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("bButton");
        QTest::addColumn<int>("nViewType");
        QTest::addColumn<QString>("caption");
        QTest::newRow("kit info") << Commands::Command(ECommand::KitInfo).nToolbarId << true << 1
                                  << " i Kit005 Bank001 ";
        for (const Commands::SCommand& c : Commands::kCommands) {
            if (c.nViewType == 0)
                continue;
            const QString caption = c.nViewType == 2 ? " Kit000 Bank000 " : " Undefined";
            QTest::addRow("%s button", c.pszTip) << c.nToolbarId << true << c.nViewType << caption;
            QTest::addRow("%s menu", c.pszTip) << c.nMenuId << false << c.nViewType << caption;
        }
    }
    void everyEditorOpens() {
        QFETCH(unsigned, command);
        QFETCH(bool, bButton);
        QFETCH(int, nViewType);
        QFETCH(QString, caption);
        CAppFixture f;
        KitShown(f);
        f.Doc()->FindOrCreateVariation(&m_kit, 0);
        if (bButton) {
            QWidget* pButton = f.Frame().ToolBar()->widgetForAction(f.Action(command));
            QVERIFY(pButton);
            QTest::mouseClick(pButton, Qt::LeftButton);
        } else {
            f.Trigger(command);
        }
        QCOMPARE(f.Frame().Frames().size(), 2);
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), nViewType);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), caption);
        QVERIFY(f.shown.empty());
    }

    void kitInfoNeedsAShownKit() {
        CAppFixture f;
        f.StartWithProject();
        f.Frame().statusBar()->clearMessage();
        f.Press(ECommand::KitInfo);
        QVERIFY(f.Frame().statusBar()->currentMessage().isEmpty());
    }

    // The browser's choice opens a second kit window on it.
    void browserOpensASecondWindow() {
        CAppFixture f;
        KitShown(f);
        f.Doc()->FindOrCreateVariation(&m_kit, 3);
        QTimer::singleShot(0, [] {
            auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(pDialog);
            auto* pList = pDialog->findChild<QListWidget*>(QStringLiteral("variations"));
            QCOMPARE(pList->count(), 2);
            pList->setCurrentRow(0);
            pDialog->accept();
        });
        f.Trigger(ECommand::Browser);
        QCOMPARE(f.Frame().Frames().size(), 2);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kit003 Bank000 "));
        // Cascaded from the first window, not on top of it.
        const QPoint step = f.Frame().ActiveFrame()->pos() - f.Frame().Frames().front()->pos();
        QVERIFY(step.x() > 0);
        QCOMPARE(step.y(), step.x());
    }

    // The Window menu lists the open windows; choosing one makes it the active window.
    void windowMenuListsTheWindows() {
        CAppFixture f;
        KitShown(f);
        f.Press(ECommand::OpenKit);
        CChildFrame* pFirst = f.Frame().Frames().front();
        QMenu* pMenu = f.Frame().Menu(QStringLiteral("Window"));
        for (int nTwice = 0; nTwice < 2; ++nTwice)
            emit pMenu->aboutToShow();
        const QList<QAction*> actions = pMenu->actions();
        QCOMPARE(actions.size(), 6); // Cascade, Tile, Arrange Icons, separator, two windows
        QCOMPARE(actions.at(4)->text(), QStringLiteral("&1 Kit005 Bank001"));
        QVERIFY(!actions.at(4)->isChecked());
        QVERIFY(actions.at(5)->isChecked());
        actions.at(4)->trigger();
        QCOMPARE(f.Frame().ActiveFrame(), pFirst);
    }

    // A name typed and not confirmed is taken before the save, so the file holds what the
    // panel shows.
    void typedValueIsTakenBeforeACommand() {
        CAppFixture f;
        KitShown(f);
        auto* pName = f.Frame().ActiveView()->ControlAs<CDLcd>(KitIds::kName);
        QTest::mouseClick(pName, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::keyClicks(pName, QStringLiteral("Verse 1 "));
        QVERIFY(pName->hasFocus());
        const QString strPath = m_dir.filePath(QStringLiteral("typed.qly"));
        f.files = {strPath};
        QTest::keyClick(&f.Frame(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!f.dialogs.isEmpty());
        QCOMPARE(QByteArray(f.Doc()->FindVariation(&m_kit, 261)->GetName()),
                 QByteArray("Verse 1 "));
        CQuenleyDoc reread;
        QVERIFY(reread.OnOpenDocument(strPath));
        QCOMPARE(QByteArray(reread.FindVariation(&m_kit, 261)->GetName()), QByteArray("Verse 1 "));
    }

    // A number a read-out does not take is dropped, and the status bar says what it takes,
    // naming the read-out as its tooltip does. Nothing is stored or sent.
    void outOfRangeSaysTheRange_data() {
        QTest::addColumn<unsigned>("nOpen");
        QTest::addColumn<int>("nKind");
        QTest::addColumn<unsigned>("nLcd");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said");
        QTest::newRow("kit bank") << 0u << 0 << KitIds::kBankLcd << "5"
                                  << "Bank takes 0 to 2.";
        const unsigned nKick = Commands::Command(ECommand::OpenKick).nMenuId;
        const unsigned nLowTom = Commands::Command(ECommand::OpenLowTom).nMenuId;
        QTest::newRow("kick decay") << nKick << int(Kinds::kKick) << 2535u << "300"
                                    << "Decay takes 0 to 255.";
        QTest::newRow("low tom decay") << nLowTom << int(Kinds::kLowTom) << 3635u << "070"
                                       << "Decay takes 0 to 63.";
        QTest::newRow("not a number") << nKick << int(Kinds::kKick) << 2535u << "1x"
                                      << "Decay takes 0 to 255.";
    }
    void outOfRangeSaysTheRange() {
        QFETCH(unsigned, nOpen);
        QFETCH(int, nKind);
        QFETCH(unsigned, nLcd);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        CAppFixture f;
        f.StartWithProject();
        QVERIFY(f.ActivateFrame());
        if (nKind) {
            std::unique_ptr<CSection> pKind(NewSectionOfKind(nKind));
            QVERIFY(f.Doc()->FindOrCreateVariation(pKind.get(), 0));
            f.Trigger(nOpen);
        }
        CDView* pView = f.Frame().ActiveView();
        if (nKind)
            QCOMPARE(pView->GetVariation()->GetKind(), nKind);
        f.Midi().DestroySysExList();
        const QByteArray before = f.Doc()->SaveToBytes();
        const QByteArray shown = pView->ControlAs<CDLcd>(nLcd)->GetText();
        f.Frame().statusBar()->clearMessage();
        OperateControl(*pView, nLcd, typed);
        QCOMPARE(f.Frame().statusBar()->currentMessage(), said);
        QCOMPARE(QByteArray(pView->ControlAs<CDLcd>(nLcd)->GetText()), shown);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        QCOMPARE(f.Midi().QueueLength(), 0);
    }
};

QUENLEY_REGISTER_TEST(TestShell)
#include "TestShell.moc"

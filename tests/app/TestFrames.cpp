// Editor windows fit their panels, remember where they lay and come back there; damaged window
// records never lose the project; the work area repeats its picture.

#include "AppFixture.h"
#include "CDLcd.h"
#include "CMdiClient.h"
#include "CWorkspace.h"
#include "KitViewTestUtil.h"
#include "PanelBitmaps.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QFile>
#include <QMap>
#include <QMdiArea>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

using Commands::ECommand;

namespace {

CKick s_kick;
CKit s_kit;

SWindowPlacement Placement(int x, int y, unsigned nShow = 1) {
    SWindowPlacement p;
    p.nShowCmd = nShow;
    p.nLeft = x;
    p.nTop = y;
    p.nRight = x + 100;
    p.nBottom = y + 100;
    return p;
}

} // namespace

class TestFrames : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // A project with a kit and the given window records, written to a file.
    QString Project(const QString& strName, const QList<CWorkspace>& records) {
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&s_kit, 5);
        for (const CWorkspace& record : records)
            doc.Workspaces().push_back(std::make_unique<CWorkspace>(record));
        const QString strPath = m_dir.filePath(strName);
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(doc.SaveToBytes());
        return strPath;
    }

    // Each editor window as "type number [caption]", sorted.
    static QStringList OpenWindows(const CAppFixture& f) {
        QStringList windows;
        for (CChildFrame* pFrame : f.Frame().Frames()) {
            int nNumber = -1;
            pFrame->View()->GetShownNumber(nNumber);
            windows << QStringLiteral("%1 %2 [%3]")
                           .arg(pFrame->View()->GetViewType())
                           .arg(nNumber)
                           .arg(pFrame->windowTitle());
        }
        windows.sort();
        return windows;
    }

private slots:
    void init() {
        CAppFixture::ClearSettings();
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
    }

    // A new window sits at the top-left corner at exactly its panel's size plus frame.
    void newWindowAtNaturalSize() {
        CAppFixture f;
        f.StartWithProject();
        CChildFrame* pFrame = f.Frame().Frames().front();
        const CDView* pView = pFrame->View();
        QCOMPARE(pView->size(), QSize(484, 379));
        QCOMPARE(pFrame->pos(), QPoint(0, 0));
        QCOMPARE(pFrame->size(), pFrame->NaturalSize());
        QVERIFY(pFrame->NaturalSize().width() > 484);
        QVERIFY(pFrame->NaturalSize().height() > 379);
        QCOMPARE(pFrame->maximumSize(), pFrame->NaturalSize());
        // It cannot be made larger.
        pFrame->resize(pFrame->NaturalSize() + QSize(50, 50));
        QCOMPARE(pFrame->size(), pFrame->NaturalSize());
    }

    // New windows open cascaded from the last one, one step right and down, inside the work
    // area, and start again at its corner when the next step would leave it.
    void newWindowsCascade() {
        CAppFixture f;
        f.StartWithProject();
        const QRect area(QPoint(0, 0), f.Frame().MdiClient()->viewport()->size());
        const ECommand kOpen[] = {ECommand::OpenKick, ECommand::OpenSnare, ECommand::OpenHiHat,
                                  ECommand::OpenLfos, ECommand::OpenClap,  ECommand::OpenKit};
        QPoint step;
        int nCascaded = 0;
        int nWrapped = 0;
        for (int i = 0; i < 14; ++i) {
            const CChildFrame* pLast = f.Frame().Frames().back();
            f.Trigger(kOpen[i % std::size(kOpen)]);
            const CChildFrame* pNew = f.Frame().ActiveFrame();
            QVERIFY(pNew != pLast);
            QCOMPARE(pNew->size(), pNew->NaturalSize());
            QVERIFY(area.contains(pNew->geometry()));
            if (step.isNull())
                step = pNew->pos() - pLast->pos();
            QVERIFY(step.x() > 0);
            QCOMPARE(step.y(), step.x());
            if (area.contains(QRect(pLast->pos() + step, pNew->size()))) {
                QCOMPARE(pNew->pos(), pLast->pos() + step);
                ++nCascaded;
            } else {
                QCOMPARE(pNew->pos(), QPoint(0, 0));
                ++nWrapped;
            }
        }
        QVERIFY(nCascaded > 2);
        QVERIFY(nWrapped > 0);
    }

    // A frame smaller than its panel scrolls to every part of it, after Tile, at 200 % or
    // dragged smaller; the panel keeps its size. A frame at its natural size has no scroll bar.
    void smallFramesScroll_data() {
        QTest::addColumn<int>("nZoom");
        QTest::addColumn<bool>("bTile");
        QTest::addRow("tiled") << 100 << true;
        QTest::addRow("tiled at 200 %%") << 200 << true;
        QTest::addRow("dragged smaller") << 100 << false;
    }
    void smallFramesScroll() {
        QFETCH(int, nZoom);
        QFETCH(bool, bTile);
        CAppFixture f;
        f.StartWithProject();
        for (ECommand e : {ECommand::OpenKick, ECommand::OpenHiHat, ECommand::OpenLfos,
                           ECommand::OpenClap, ECommand::OpenKit})
            f.Trigger(e);
        f.App().SetZoom(nZoom);
        if (bTile)
            f.Trigger(ECommand::Tile);
        else
            for (CChildFrame* pFrame : f.Frame().Frames())
                pFrame->resize(pFrame->NaturalSize() / 2);
        int nSmaller = 0;
        for (CChildFrame* pFrame : f.Frame().Frames()) {
            CDView* pView = pFrame->View();
            auto* pScroller = pFrame->findChild<QScrollArea*>();
            QVERIFY(pScroller);
            QCOMPARE(pView->size(), pView->sizeHint());
            QScrollBar* pBars[] = {pScroller->horizontalScrollBar(),
                                   pScroller->verticalScrollBar()};
            if (pFrame->size() == pFrame->NaturalSize()) {
                QVERIFY(!pBars[0]->isVisible() && !pBars[1]->isVisible());
                continue;
            }
            ++nSmaller;
            // The far corner of the panel comes into sight.
            for (QScrollBar* pBar : pBars)
                pBar->setValue(pBar->maximum());
            const QPoint corner = pView->mapTo(pScroller->viewport(),
                                               QPoint(pView->width() - 1, pView->height() - 1));
            QVERIFY2(pScroller->viewport()->rect().contains(corner),
                     qPrintable(pFrame->windowTitle()));
        }
        QVERIFY(nSmaller > 0);
    }

    // A window larger than the work area, as a kit window at 300 %, is reached by scrolling
    // the work area.
    void workAreaScrollsToALargeWindow() {
        CAppFixture f;
        f.StartWithProject();
        f.App().SetZoom(300);
        CMdiClient* pArea = f.Frame().MdiClient();
        const CChildFrame* pKit = f.Frame().Frames().front();
        QVERIFY(pKit->height() > pArea->viewport()->height());
        for (QScrollBar* pBar : {pArea->horizontalScrollBar(), pArea->verticalScrollBar()})
            pBar->setValue(pBar->maximum());
        QVERIFY(pArea->viewport()->rect().contains(pKit->geometry().bottomRight()));
    }

    // After Tile, Cascade, a zoom and a restore from an icon, what is on screen in every
    // window is its panel as it paints now: nothing of where other windows lay before.
    void arrangingRepaintsEveryPanel() {
        const QString strPath = m_dir.filePath(QStringLiteral("arranged.qly"));
        {
            CAppFixture f;
            f.StartWithProject();
            for (ECommand e : {ECommand::OpenKick, ECommand::OpenSnare, ECommand::OpenLowTom,
                               ECommand::OpenHighTom, ECommand::OpenHiHat, ECommand::OpenClap,
                               ECommand::OpenRimshot, ECommand::OpenCrash, ECommand::OpenRide,
                               ECommand::OpenLfos, ECommand::OpenKit})
                f.Trigger(e);
            f.Trigger(ECommand::Cascade);
            f.files = {strPath};
            f.Trigger(ECommand::SaveAs);
        }
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        CMainFrame& frame = f.Frame();
        // Both kit windows showed kit 0: that window reopens once.
        QCOMPARE(frame.Frames().size(), 11);
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const struct {
            const char* pszStep;
            std::function<void()> step;
        } steps[] = {
            {"tile", [&f] { f.Trigger(ECommand::Tile); }},
            {"cascade", [&f] { f.Trigger(ECommand::Cascade); }},
            {"tile again", [&f] { f.Trigger(ECommand::Tile); }},
            {"200 %", [&f] { f.App().SetZoom(200); }},
            {"tile at 200 %", [&f] { f.Trigger(ECommand::Tile); }},
            {"100 %", [&f] { f.App().SetZoom(100); }},
            {"restored from icons",
             [&frame] {
                 for (CChildFrame* pFrame : frame.Frames())
                     pFrame->showMinimized();
                 QCoreApplication::processEvents();
                 for (CChildFrame* pFrame : frame.Frames())
                     pFrame->showNormal();
             }},
        };
        for (const auto& s : steps) {
            s.step();
            // What the window system was last given, against a fresh painting of each panel.
            QCoreApplication::processEvents();
            const QImage screen = frame.screen()
                                      ->grabWindow(frame.winId())
                                      .toImage()
                                      .convertToFormat(QImage::Format_RGB32);
            const QList<QMdiSubWindow*> stack =
                frame.MdiClient()->subWindowList(QMdiArea::StackingOrder);
            for (qsizetype i = 0; i < stack.size(); ++i) {
                QWidget* pShown = stack.at(i)->findChild<QScrollArea*>()->viewport();
                const QPoint at = pShown->mapTo(&frame, QPoint(0, 0));
                // Only what no window above it covers.
                QRegion visible(QRect(at, pShown->size()));
                visible &= QRect(frame.MdiClient()->viewport()->mapTo(&frame, QPoint(0, 0)),
                                 frame.MdiClient()->viewport()->size());
                for (qsizetype j = i + 1; j < stack.size(); ++j)
                    visible -= QRect(stack.at(j)->mapTo(&frame, QPoint(0, 0)), stack.at(j)->size());
                const QImage fresh = pShown->grab().toImage().convertToFormat(QImage::Format_RGB32);
                int nStale = 0;
                for (const QRect& r : visible)
                    for (int y = r.top(); y <= r.bottom(); ++y)
                        for (int x = r.left(); x <= r.right(); ++x)
                            nStale += screen.pixel(x, y) != fresh.pixel(QPoint(x, y) - at);
                QVERIFY2(nStale == 0,
                         qPrintable(QStringLiteral("%1, %2: %3 pixels")
                                        .arg(QLatin1String(s.pszStep), stack.at(i)->windowTitle())
                                        .arg(nStale)));
            }
        }
    }

    // Maximizing fits the window to its panel where it is; a minimized one is restored first.
    void maximizeFitsThePanel() {
        CAppFixture f;
        f.StartWithProject();
        CChildFrame* pFrame = f.Frame().Frames().front();
        pFrame->setGeometry(40, 30, 200, 150);
        pFrame->showMaximized();
        QVERIFY(!pFrame->isMaximized());
        QCOMPARE(pFrame->geometry(), QRect(QPoint(40, 30), pFrame->NaturalSize()));

        pFrame->showMinimized();
        QVERIFY(pFrame->isMinimized());
        pFrame->FitToPanel();
        QVERIFY(!pFrame->isMinimized());
        QCOMPARE(pFrame->size(), pFrame->NaturalSize());
    }

    void doubleClickOnTheCaptionDoesNothing() {
        CAppFixture f;
        f.StartWithProject();
        CChildFrame* pFrame = f.Frame().Frames().front();
        pFrame->resize(300, 200);
        const QRect before = pFrame->geometry();
        QTest::mouseDClick(pFrame, Qt::LeftButton, {}, QPoint(pFrame->width() / 2, 8));
        QVERIFY(!pFrame->isMaximized());
        QVERIFY(!pFrame->isShaded());
        QCOMPARE(pFrame->geometry(), before);
    }

    // Saving and reopening brings every window back where it was, on the kit it was turned to,
    // shown or not.
    void windowsComeBackWhereTheyWere() {
        const QString strPath = m_dir.filePath(QStringLiteral("two.qly"));
        {
            CAppFixture f;
            f.StartWithProject();
            f.Doc()->FindOrCreateVariation(&s_kit, 261);
            f.Press(ECommand::OpenKit);
            QList<CChildFrame*> frames = f.Frame().Frames();
            QCOMPARE(frames.size(), 2);
            frames[0]->move(30, 20);
            frames[1]->move(200, 150);
            auto* pKitNo = frames[1]->View()->ControlAs<CDLcd>(2095);
            auto* pBank = frames[1]->View()->ControlAs<CDLcd>(2100);
            QVERIFY(pKitNo && pBank);
            pBank->SetValue(1, true);
            QVERIFY(f.ActivateFrame());
            QTest::mouseClick(pKitNo, Qt::LeftButton);
            QTest::keyClicks(pKitNo, QStringLiteral("005"));
            QTest::keyClick(pKitNo, Qt::Key_Return);
            QCOMPARE(frames[1]->windowTitle(), QStringLiteral(" Kit005 Bank001 "));
            frames[0]->View()->ControlAs<CDLcd>(2095)->SetValue(9, true);
            f.files = {strPath};
            f.Trigger(ECommand::SaveAs);
            QVERIFY(QFile::exists(strPath));
        }
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QVERIFY(f.Doc());
        QMap<int, QString> captions;
        for (CChildFrame* pFrame : f.Frame().Frames()) {
            captions[pFrame->x()] = pFrame->windowTitle();
            QCOMPARE(pFrame->size(), pFrame->NaturalSize());
            QVERIFY(pFrame->isVisible());
            QCOMPARE(pFrame->pos().y(), pFrame->x() == 30 ? 20 : 150);
        }
        QCOMPARE(captions.keys(), QList<int>({30, 200}));
        QCOMPARE(captions[200], QStringLiteral(" Kit005 Bank001 "));
        QCOMPARE(captions[30], QStringLiteral(" Undefined"));
        const CDView* pUndefined = f.Frame().Frames().front()->x() == 30
                                       ? f.Frame().Frames().front()->View()
                                       : f.Frame().Frames().back()->View();
        QCOMPARE(pUndefined->ControlAs<CDLcd>(2095)->GetValue(), 9);
    }

    // A window of each of the twelve types, on a variation or on a number without one, comes
    // back after saving and reopening: the same types, captions and numbers.
    void everyViewTypeComesBack() {
        const QString strPath = m_dir.filePath(QStringLiteral("twelve.qly"));
        // Type, the command that opens it, its number read-out, the number, the caption.
        struct SWindow {
            int nType;
            std::optional<ECommand> eOpen;
            unsigned nNumberLcd;
            int nNumber;
            const char* pszCaption;
        };
        const SWindow windows[] = {
            {1, {}, 0, 261, " i Kit005 Bank001*"},
            {2, {}, 0, 261, " Kit005 Bank001*"},
            {3, ECommand::OpenKick, 2520, 3, " Kick003*"},
            {4, ECommand::OpenSnare, 3520, 4, " Snar004 "},
            {5, ECommand::OpenLowTom, 3625, 5, " LoTo005 "},
            {6, ECommand::OpenHighTom, 3625, 6, " HiTo006 "},
            {7, ECommand::OpenHiHat, 4025, 7, " HiHa007 "},
            {8, ECommand::OpenClap, 3830, 8, " Clap008 "},
            {9, ECommand::OpenRimshot, 3830, 9, " Rims009 "},
            {10, ECommand::OpenCrash, 3830, 10, " Crsh010 "},
            {11, ECommand::OpenRide, 3830, 11, " Ride011 "},
            {12, ECommand::OpenLfos, 4230, 12, " Undefined"},
        };
        QStringList expected;
        for (const SWindow& w : windows)
            expected << QStringLiteral("%1 %2 [%3]")
                            .arg(w.nType)
                            .arg(w.nNumber)
                            .arg(QLatin1String(w.pszCaption));
        expected.sort();
        {
            CAppFixture f;
            f.StartWithProject();
            CQuenleyDoc* pDoc = f.Doc();
            CSection* pKit = pDoc->FindOrCreateVariation(&s_kit, 261);
            pKit->SetParam(8, 3);
            pKit->SetActive(true);
            pDoc->FindOrCreateVariation(&s_kick, 3)->SetActive(true);
            // The active kit uses kick 3, marked too; every other kind but the LFOs (kind 11)
            // has a variation on its window's number.
            for (int nKind = 3; nKind <= 10; ++nKind) {
                std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
                QVERIFY(pDoc->FindOrCreateVariation(pTemplate.get(), nKind + 1));
            }
            // Typing needs the focus, which only an active window gives.
            QVERIFY(f.ActivateFrame());
            CDView* pKitView = f.Frame().ActiveView();
            OperateControl(*pKitView, KitIds::kKitLcd, QStringLiteral("005"));
            OperateControl(*pKitView, KitIds::kBankLcd, QStringLiteral("001"));
            f.Press(ECommand::KitInfo); // Kit Info, from the kit window
            QCOMPARE(f.Frame().ActiveView()->GetViewType(), 1);
            for (const SWindow& w : windows) {
                if (!w.eOpen)
                    continue;
                f.Trigger(*w.eOpen);
                CDView* pView = f.Frame().ActiveView();
                QCOMPARE(pView->GetViewType(), w.nType);
                OperateControl(*pView, w.nNumberLcd,
                               QStringLiteral("%1").arg(w.nNumber, 3, 10, QLatin1Char('0')));
            }
            QCOMPARE(OpenWindows(f), expected);
            f.files = {strPath};
            f.Trigger(ECommand::SaveAs); // Save As
            QVERIFY(QFile::exists(strPath));
        }
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QVERIFY(f.Doc());
        QVERIFY(f.shown.empty());
        QCOMPARE(OpenWindows(f), expected);
    }

    // Records of unknown types are skipped and the rest still open; places outside the work
    // area are moved into it; a minimized window stays minimized.
    void damagedWindowRecords() {
        const QString strPath =
            Project(QStringLiteral("damaged.qly"),
                    {CWorkspace(0, 5, Placement(10, 10)), CWorkspace(2, 5, Placement(5000, 4000)),
                     CWorkspace(13, 5, Placement(10, 10)), CWorkspace(2, 6, Placement(-300, -20)),
                     CWorkspace(99, 5, Placement(10, 10)),
                     CWorkspace(2, 999999, Placement(60, 50, CChildFrame::kShowMinimized))});
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QVERIFY(f.shown.empty());
        const QList<CChildFrame*> frames = f.Frame().Frames();
        QCOMPARE(frames.size(), 3);
        const QSize area = f.Frame().MdiClient()->viewport()->size();
        int nMinimized = 0;
        for (CChildFrame* pFrame : frames) {
            if (pFrame->isMinimized()) {
                ++nMinimized;
                continue;
            }
            QVERIFY(pFrame->x() >= 0 && pFrame->y() >= 0);
            QVERIFY(pFrame->x() + pFrame->width() <= std::max(area.width(), pFrame->width()));
            QVERIFY(pFrame->y() + pFrame->height() <= std::max(area.height(), pFrame->height()));
            QCOMPARE(pFrame->size(), pFrame->NaturalSize());
        }
        QCOMPARE(nMinimized, 1);
        // Said once, with the reason.
        QCOMPARE(f.Frame().statusBar()->currentMessage(),
                 QStringLiteral("3 saved windows could not be reopened: their editor type is "
                                "unknown (the file may be damaged)."));
    }

    // A project none of whose windows can be reopened keeps one kit window, so it stays open.
    void noWindowLeftKeepsAKitWindow() {
        const QString strPath =
            Project(QStringLiteral("nowindows.qly"), {CWorkspace(77, 1, Placement(10, 10))});
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QVERIFY(f.Doc());
        QCOMPARE(f.Frame().Frames().size(), 1);
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), 2);
        QCOMPARE(f.Frame().Frames().front()->pos(), QPoint(0, 0));
        QCOMPARE(f.Frame().statusBar()->currentMessage(),
                 QStringLiteral("1 saved window could not be reopened: its editor type is unknown "
                                "(the file may be damaged)."));
    }

    // A file may name hundreds of windows: the first 64 distinct ones open, a window named again
    // opens once and is no failure, and the status bar says how many stayed closed and why.
    void manySavedWindows_data() {
        QTest::addColumn<int>("distinct");   // kick windows 0..distinct-1, in this order
        QTest::addColumn<int>("repeats");    // each of them this many times in a row
        QTest::addColumn<int>("unknown");    // then records of an unknown type
        QTest::addColumn<int>("open");
        QTest::addColumn<QString>("message");
        QTest::newRow("300 windows") << 300 << 1 << 0 << 64
                                     << QStringLiteral("236 saved windows were not reopened: a "
                                                       "project reopens only the first 64.");
        QTest::newRow("65 windows") << 65 << 1 << 0 << 64
                                    << QStringLiteral("1 saved window was not reopened: a project "
                                                      "reopens only the first 64.");
        QTest::newRow("one window 300 times") << 1 << 300 << 0 << 1 << QStringLiteral("Ready");
        QTest::newRow("64 windows 4 times each") << 64 << 4 << 0 << 64 << QStringLiteral("Ready");
        QTest::newRow("too many, repeated, unknown")
            << 70 << 3 << 2 << 64
            << QStringLiteral("8 saved windows were not reopened: 6 past the first 64, 2 of an "
                              "unknown editor type (the file may be damaged).");
    }
    void manySavedWindows() {
        QFETCH(int, distinct);
        QFETCH(int, repeats);
        QFETCH(int, unknown);
        QFETCH(int, open);
        QFETCH(QString, message);
        QList<CWorkspace> records;
        for (int n = 0; n < distinct; ++n)
            for (int i = 0; i < repeats; ++i)
                records << CWorkspace(3, n, Placement(i, i));
        for (int n = 0; n < unknown; ++n)
            records << CWorkspace(40 + n, 0, Placement(0, 0));
        const QString strPath = Project(QStringLiteral("many.qly"), records);
        CAppFixture f;
        QVERIFY(f.Start({strPath}));
        QVERIFY(f.shown.empty());
        QCOMPARE(f.Frame().Frames().size(), open);
        QStringList expected;
        for (int n = 0; n < open; ++n)
            expected << QStringLiteral("3 %1").arg(n);
        QStringList windows = OpenWindows(f);
        for (QString& strWindow : windows)
            strWindow = strWindow.section(QLatin1Char(' '), 0, 1);
        std::sort(expected.begin(), expected.end());
        std::sort(windows.begin(), windows.end());
        QCOMPARE(windows, expected);
        QCOMPARE(f.Frame().statusBar()->currentMessage(), message);
    }

    // The background picture repeats every picture-width and picture-height; an empty picture
    // gives the plain background.
    void workAreaRepeatsItsPicture() {
        CMdiClient area;
        area.resize(700, 650);
        const QImage tile = PanelBitmaps::CreateBitmap(PanelBitmaps::EPicture::Background);
        QCOMPARE(tile.size(), QSize(300, 300));
        area.SetBitmap(tile);
        area.show();
        const QImage shot = area.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const QPoint p : {QPoint(7, 11), QPoint(150, 260), QPoint(299, 0)}) {
            QCOMPARE(shot.pixel(p), tile.pixel(p));
            QCOMPARE(shot.pixel(p + QPoint(300, 0)), tile.pixel(p));
            QCOMPARE(shot.pixel(p + QPoint(0, 300)), tile.pixel(p));
            QCOMPARE(shot.pixel(p + QPoint(300, 300)), tile.pixel(p));
        }
        area.SetBitmap(QImage());
        QVERIFY(area.Bitmap().isNull());
        area.SetBitmap(QImage(0, 0, QImage::Format_RGB32));
        QVERIFY(area.Bitmap().isNull());
        area.viewport()->grab(); // paints without looping
    }
};

QUENLEY_REGISTER_TEST(TestFrames)
#include "TestFrames.moc"

// View > Zoom: every editor window at the chosen size, the menu showing the choice, and the
// choice kept for the next start.

#include "AppFixture.h"
#include "TestMain.h"
#include "ViewTypes.h"

#include <QMenu>
#include <QTest>

using Commands::ECommand;

namespace {

QList<QAction*> ZoomEntries(const CAppFixture& f) {
    QMenu* pZoom = f.Frame().Menu(QStringLiteral("Zoom"));
    return pZoom ? pZoom->actions() : QList<QAction*>();
}

// "100 %" ... with a * for each checked entry.
QStringList ZoomMenu(const CAppFixture& f) {
    QStringList entries;
    for (QAction* pAction : ZoomEntries(f))
        entries << pAction->text() + (pAction->isChecked() ? QStringLiteral(" *") : QString());
    return entries;
}

void ChooseZoom(const CAppFixture& f, int nPercent) {
    for (QAction* pAction : ZoomEntries(f))
        if (pAction->data().toInt() == nPercent)
            pAction->trigger();
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // The Zoom menu sits after the editors and before the bars, and shows with a project only.
    void menuPlace() {
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        QMenu* pView = f.Frame().Menu(QStringLiteral("View"));
        QMenu* pZoom = f.Frame().Menu(QStringLiteral("Zoom"));
        QVERIFY(pView && pZoom);
        const QList<QAction*> actions = pView->actions();
        const qsizetype nZoom = actions.indexOf(pZoom->menuAction());
        QCOMPARE(actions.at(nZoom - 1), f.Action(ECommand::OpenLfos)); // LFOs
        QVERIFY(actions.at(nZoom + 1)->isSeparator());
        QCOMPARE(actions.at(nZoom + 2), f.Action(ECommand::Toolbar)); // Toolbar
        QVERIFY(!pZoom->menuAction()->isVisible());
        f.App().OnFileNew();
        QVERIFY(pZoom->menuAction()->isVisible());
        QCOMPARE(ZoomMenu(f), QStringList({"100 % *", "150 %", "200 %", "300 %"}));
    }

    // Every open window and every new one is at the chosen zoom, and fits it.
    void windowsFollowTheZoom_data() {
        QTest::addColumn<int>("nZoom");
        for (int nZoom : {150, 200, 300, 100})
            QTest::addRow("%d %%", nZoom) << nZoom;
    }
    void windowsFollowTheZoom() {
        QFETCH(int, nZoom);
        CAppFixture f;
        f.StartWithProject();
        CChildFrame* pKit = f.Frame().Frames().front();
        const QSize border = pKit->size() - pKit->View()->size();
        pKit->move(20, 10);
        if (nZoom == 100)
            ChooseZoom(f, 300);
        ChooseZoom(f, nZoom);
        f.Trigger(ECommand::OpenKick); // a kick window
        QCOMPARE(f.Frame().Frames().size(), 2);
        for (CChildFrame* pFrame : f.Frame().Frames()) {
            const CDView* pView = pFrame->View();
            // The screen pixels whose centres lie on the panel: a half pixel left over is not one.
            const QSize zoomed((pView->PanelWidth() * nZoom + 49) / 100,
                               (pView->PanelHeight() * nZoom + 49) / 100);
            QCOMPARE(pView->Zoom(), nZoom);
            QCOMPARE(pView->size(), zoomed);
            QCOMPARE(pFrame->NaturalSize(), zoomed + border);
            QCOMPARE(pFrame->size(), pFrame->NaturalSize());
            QCOMPARE(pFrame->maximumSize(), pFrame->NaturalSize());
        }
        QCOMPARE(pKit->pos(), QPoint(20, 10));
        QCOMPARE(f.App().Zoom(), nZoom);
        QStringList expected{"100 %", "150 %", "200 %", "300 %"};
        expected[expected.indexOf(QStringLiteral("%1 %").arg(nZoom))] += QStringLiteral(" *");
        QCOMPARE(ZoomMenu(f), expected);
    }

    // The choice is kept for the next start; a value the menu does not offer is not taken.
    void zoomIsRemembered() {
        {
            CAppFixture f;
            f.StartWithProject();
            ChooseZoom(f, 200);
            QCOMPARE(CAppFixture::Setting("Zoom").toInt(), 200);
        }
        {
            CAppFixture f;
            f.StartWithProject();
            QCOMPARE(f.App().Zoom(), 200);
            QCOMPARE(ZoomMenu(f), QStringList({"100 %", "150 %", "200 % *", "300 %"}));
            QCOMPARE(f.Frame().Frames().front()->View()->size(), QSize(968, 758));
            QVERIFY(!f.App().SetZoom(120));
            QCOMPARE(f.App().Zoom(), 200);
        }
        {
            QSettings settings;
            settings.setValue(QStringLiteral("Settings/Zoom"), 175);
        }
        CAppFixture f;
        f.StartWithProject();
        QCOMPARE(f.App().Zoom(), 100);
        QCOMPARE(ZoomMenu(f), QStringList({"100 % *", "150 %", "200 %", "300 %"}));
    }
};

QUENLEY_REGISTER_TEST(TestZoom)
#include "TestZoom.moc"

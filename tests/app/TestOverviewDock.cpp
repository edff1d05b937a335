// The Project Overview panel in the main window: it follows every kind of change, opens editor
// windows, asks for the librarian's actions on the selected rows, and stays open across starts.

#include "AppFixture.h"
#include "CDView.h"
#include "CMdiClient.h"
#include "COverviewDock.h"
#include "COverviewModel.h"
#include "CopyOperations.h"
#include "KitOperations.h"
#include "ProjectSysEx.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <memory>

using Commands::ECommand;
using QuenleyMessage::EAnswer;

namespace {

// Kits 0 and 1 with kicks 0 and 3, snare 0, kit 0 shown in the kit window; the overview open.
void Start(CAppFixture& f) {
    f.StartWithProject();
    CQuenleyDoc& doc = *f.Doc();
    for (auto [nKind, nNumber] : {std::pair{1, 0}, {1, 1}, {2, 0}, {2, 3}, {3, 0}}) {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
        doc.FindOrCreateVariation(pTemplate.get(), nNumber);
    }
    f.Frame().ActiveFrame()->ShowSection(doc.FindVariationOfKind(Kinds::kKit, 0));
    // Modified already, so that no change below is announced as a change of the modified mark.
    doc.SetModifiedFlag();
    f.Trigger(ECommand::ProjectOverview);
    f.Frame().Overview()->Refresh();
}

// What the overview says of the variation, as a screen reader hears it; empty when it has no
// row for it.
QString Row(CAppFixture& f, int nKind, int nNumber) {
    const COverviewModel& model = *f.Frame().Overview()->Model();
    return model.data(model.IndexOf({nKind, nNumber}), Qt::AccessibleTextRole).toString();
}

// The rows of the variations, or their kinds' rows, selected in the tree.
void Select(CAppFixture& f, const QByteArray& keys, bool bKindRow) {
    COverviewDock& dock = *f.Frame().Overview();
    auto* pProxy = static_cast<QSortFilterProxyModel*>(dock.Tree()->model());
    QItemSelectionModel& selection = *dock.Tree()->selectionModel();
    selection.clear();
    for (const SSectionKey& key : SectionKeys::Decode(keys)) {
        QModelIndex index = pProxy->mapFromSource(dock.Model()->IndexOf(key));
        if (bKindRow)
            index = index.parent();
        selection.setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        selection.select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

} // namespace

class TestOverviewDock : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { CAppFixture::ClearSettings(); }

    void followsChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<QString>("row");
        QTest::newRow("rename") << "rename" << 2 << 3 << "Kick 003 Tight, unused";
        QTest::newRow("Init. of a kit") << "init" << 1 << 5 << "Kit005 Bank000 Untitled";
        QTest::newRow("Copy") << "copy" << 2 << 7 << "Kick 007 Untitled, unused";
        QTest::newRow("Destroy") << "destroy" << 1 << 0 << "";
        QTest::newRow("undo") << "undo" << 2 << 3 << "Kick 003 Untitled, unused";
        QTest::newRow("redo") << "redo" << 2 << 3 << "Kick 003 Tight, unused";
        QTest::newRow("received dump") << "dump" << 2 << 4 << "Kick 004 Untitled, unused";
        QTest::newRow("kit takes kick 3")
            << "choose" << 2 << 3 << "Kick 003 Untitled, used by Kit000 Bank000";
    }
    void followsChanges() {
        QFETCH(QString, change);
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(QString, row);
        if (change == "dump")
            CAppFixture::ChooseInput(QStringLiteral("Scripted In B"));
        CAppFixture f;
        Start(f);
        CQuenleyDoc& doc = *f.Doc();
        const QString strBefore = Row(f, nKind, nNumber);
        if (change == "rename" || change == "undo" || change == "redo") {
            doc.BeginEdit();
            doc.FindVariationOfKind(Kinds::kKick, 3)->SetName("Tight           ");
            doc.EndEdit(QStringLiteral("%1 Name"));
            if (change != "rename") {
                QCoreApplication::processEvents();
                QCOMPARE(Row(f, nKind, nNumber), QStringLiteral("Kick 003 Tight, unused"));
                f.Trigger(ECommand::Undo);
            }
            if (change == "redo") {
                QCoreApplication::processEvents();
                f.Trigger(ECommand::Redo);
            }
        } else if (change == "init") {
            QVERIFY(KitOperations::Init(doc, 5));
        } else if (change == "copy") {
            CopyOperations::Copy(doc, doc, *doc.FindVariationOfKind(Kinds::kKick, 3), 7, {},
                                 [](const CopyOperations::SQuestion&) { return true; });
        } else if (change == "destroy") {
            f.answers = {EAnswer::Yes};
            f.Trigger(ECommand::Destroy);
        } else if (change == "dump") {
            // Value 1 of kick 4, as the module sends it, from a file.
            const QString strPath = m_dir.filePath(QStringLiteral("kick4.syx"));
            QFile file(strPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromHex("F0313E5600002500 61F7"));
            file.close();
            f.files = {strPath};
            f.answers = {EAnswer::No, EAnswer::Ok};
            f.Trigger(ECommand::ReceiveDump);
        } else if (change == "choose") {
            QVERIFY(KitOperations::ChooseVariation(doc, *doc.FindVariationOfKind(Kinds::kKit, 0),
                                                   Kinds::kKick, 3));
        }
        QCoreApplication::processEvents();
        QCOMPARE(Row(f, nKind, nNumber), row);
        if (change != "undo")
            QVERIFY(strBefore != row);
    }

    // Return and a double click open the row's editor window, and raise it the next time.
    void opensAndRaises() {
        CAppFixture f;
        Start(f);
        QVERIFY(f.ActivateFrame());
        COverviewDock& dock = *f.Frame().Overview();
        QTest::keyClick(f.Frame().ActiveView(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), dock.SearchField());
        QTest::keyClicks(dock.SearchField(), QStringLiteral("kick3"));
        QTest::keyClick(dock.SearchField(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), dock.Tree());
        CChildFrame* pKitFrame = f.Frame().ActiveFrame();
        QTest::keyClick(dock.Tree(), Qt::Key_Return);
        QCOMPARE(f.Frame().Frames().size(), 2);
        CChildFrame* pKickFrame = f.Frame().ActiveFrame();
        QCOMPARE(pKickFrame->View()->GetViewType(), 3);
        QCOMPARE(pKickFrame->View()->GetVariation(), f.Doc()->FindVariationOfKind(Kinds::kKick, 3));

        f.Frame().MdiClient()->setActiveSubWindow(pKitFrame);
        QTest::keyClick(dock.Tree(), Qt::Key_Return);
        QCOMPARE(f.Frame().Frames().size(), 2);
        QCOMPARE(f.Frame().ActiveFrame(), pKickFrame);
    }

    void rowActions_data() {
        // Keys as SectionKeys writes them: "kind number" lines.
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<bool>("bKindRow");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("keys"); // what the action acts on; "off": it is disabled
        const QByteArray two = "1 1\n2 3\n";
        QTest::newRow("Send, store order") << two << false << "Send"
                                           << "2 3\n1 1\n";
        QTest::newRow("Transmit Dump of a kind") << QByteArray("2 3") << true << "Transmit Dump..."
                                                 << "2 0\n2 3\n";
        QTest::newRow("Destroy") << two << false << "Destroy"
                                 << "2 3\n1 1\n";
        QTest::newRow("Delete key") << two << false << "Delete"
                                    << "2 3\n1 1\n";
        QTest::newRow("Copy to, one row") << QByteArray("3 0") << false << "Copy to..."
                                          << "3 0\n";
        QTest::newRow("Copy to, two rows") << two << false << "Copy to..."
                                           << "off";
    }
    // Each action reaches the main window's command and acts on the selected variations.
    void rowActions() {
        QFETCH(QByteArray, selected);
        QFETCH(bool, bKindRow);
        QFETCH(QString, action);
        QFETCH(QString, keys);
        CAppFixture f;
        Start(f);
        CQuenleyDoc& doc = *f.Doc();
        COverviewDock& dock = *f.Frame().Overview();
        Select(f, selected, bKindRow);
        std::vector<SSectionKey> got;
        const auto Take = [&got](std::vector<SSectionKey> k) { got = std::move(k); };
        connect(&dock, &COverviewDock::SendRequested, this, Take);
        connect(&dock, &COverviewDock::DumpRequested, this, Take);
        connect(&dock, &COverviewDock::DestroyRequested, this, Take);
        connect(&dock, &COverviewDock::CopyRequested, this, [&got](SSectionKey k) { got = {k}; });
        const std::vector<SSectionKey> expected = SectionKeys::Decode(keys.toLatin1());
        const QString strDump = m_dir.filePath(QStringLiteral("selection.syx"));
        f.files = {strDump};
        f.answers = {EAnswer::Yes};
        QString strDialog;
        if (action.startsWith(QLatin1String("Copy")))
            QTimer::singleShot(0, [&strDialog] {
                if (QWidget* pDialog = QApplication::activeModalWidget()) {
                    if (auto* pSource = pDialog->findChild<QLabel*>(QStringLiteral("source")))
                        strDialog = pSource->text();
                    pDialog->close();
                }
            });
        if (action == "Delete") {
            QVERIFY(f.ActivateFrame());
            dock.Tree()->setFocus();
            QTest::keyClick(dock.Tree(), Qt::Key_Delete);
        } else {
            QAction* pAction = nullptr;
            for (QAction* p : dock.RowActions())
                if (p->text() == action)
                    pAction = p;
            QVERIFY(pAction);
            QCOMPARE(pAction->isEnabled(), keys != "off");
            pAction->trigger();
        }
        disconnect(&dock, nullptr, this, nullptr);
        QCOMPARE(QString::fromLatin1(SectionKeys::Encode(got)), keys == "off" ? QString() : keys);
        if (action == "Send") {
            QCOMPARE(f.Frame().statusBar()->currentMessage(),
                     QStringLiteral("Sending 2 variations."));
        } else if (action.startsWith(QLatin1String("Transmit"))) {
            QFile dump(strDump);
            QVERIFY(dump.open(QIODevice::ReadOnly));
            const auto nChannel = static_cast<std::uint8_t>(f.Midi().GetMidiChannel());
            QCOMPARE(dump.readAll(), ProjectSysEx::Messages(doc, expected, nChannel));
        } else if (action.startsWith(QLatin1String("Copy"))) {
            QCOMPARE(strDialog.contains(QLatin1String("Snar000")), keys != "off");
        } else {
            for (const SSectionKey& key : expected)
                QVERIFY(!doc.FindVariationOfKind(key.nKind, key.nNumber));
            f.Trigger(ECommand::Undo);
            for (const SSectionKey& key : expected)
                QVERIFY(doc.FindVariationOfKind(key.nKind, key.nNumber));
        }
    }

    // With the overview open, F6 goes round the editor window, the toolbar and the overview's
    // rows, and Shift+F6 the other way.
    void f6ReachesTheOverview_data() {
        QTest::addColumn<bool>("bForward");
        QTest::addColumn<QStringList>("stops"); // where each press leaves the focus
        QTest::newRow("F6") << true << QStringList{"toolbar", "overview", "panel"};
        QTest::newRow("Shift+F6") << false << QStringList{"overview", "toolbar", "panel"};
    }
    void f6ReachesTheOverview() {
        QFETCH(bool, bForward);
        QFETCH(QStringList, stops);
        CAppFixture f;
        Start(f);
        QVERIFY(f.ActivateFrame());
        f.Frame().ActiveView()->FocusControl();
        for (const QString& strStop : stops) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6,
                            bForward ? Qt::NoModifier : Qt::ShiftModifier);
            QWidget* pFocus = QApplication::focusWidget();
            const QString strAt = f.Frame().ToolBar()->isAncestorOf(pFocus)      ? "toolbar"
                                  : pFocus == f.Frame().Overview()->Tree()       ? "overview"
                                  : f.Frame().ActiveView()->isAncestorOf(pFocus) ? "panel"
                                                                                 : "elsewhere";
            QCOMPARE(strAt, strStop);
        }
    }

    // View > Project Overview shows and hides the panel; it is back as left at the next start.
    void toggleAndRestart() {
        {
            CAppFixture f;
            f.StartWithProject();
            QAction* pToggle = f.Action(ECommand::ProjectOverview);
            QVERIFY(f.Frame().Overview()->isHidden() && !pToggle->isChecked());
            f.Trigger(ECommand::ProjectOverview);
            QVERIFY(!f.Frame().Overview()->isHidden() && pToggle->isChecked());
            f.Trigger(ECommand::ProjectOverview);
            QVERIFY(f.Frame().Overview()->isHidden() && !pToggle->isChecked());
            f.Trigger(ECommand::ProjectOverview);
            QVERIFY(f.Frame().close());
        }
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(!f.Frame().Overview()->isHidden());
        QVERIFY(f.Action(ECommand::ProjectOverview)->isChecked());
    }
};

QUENLEY_REGISTER_TEST(TestOverviewDock)
#include "TestOverviewDock.moc"

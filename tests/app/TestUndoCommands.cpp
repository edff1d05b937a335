// Undo and Redo in the main window: the Edit menu's names, the keys, the saved state in the
// title, and the steps the main window's own commands make (Destroy, Copy with its sounds).

#include "AppFixture.h"
#include "CCopyVariationDlg.h"
#include "CDLcd.h"
#include "CMdiClient.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using Commands::ECommand;
using QuenleyMessage::EAnswer;

namespace {
constexpr ECommand kUndo = ECommand::Undo;
constexpr ECommand kRedo = ECommand::Redo;
constexpr unsigned kKickDecayKnob = 2600;
constexpr unsigned kKickNumber = 2520;
} // namespace

class TestUndoCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // A new project, the main window active, and a Kick window on variation 7 made by Init.
    static CDView* KickShown(CAppFixture& f) {
        f.StartWithProject();
        f.Frame().activateWindow();
        if (!QTest::qWaitForWindowActive(&f.Frame()))
            return nullptr;
        f.Trigger(ECommand::OpenKick);
        CDView* pKick = f.Frame().ActiveView();
        OperateControl(*pKick, kKickNumber, QStringLiteral("007"));
        OperateControl(*pKick, 2510);
        return pKick;
    }
    static QString Text(CAppFixture& f, ECommand e) { return f.Action(e)->text(); }
    static void Keys(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // The menu names the step to be undone or redone; Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y work
    // from a knob that has the focus; the title's star follows the saved state.
    void menuKeysAndSavedState() {
        CAppFixture f;
        CDView* pKick = KickShown(f);
        QVERIFY(pKick);
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo Kick 007 Init."));
        QVERIFY(!f.Action(kRedo)->isEnabled());
        QCOMPARE(Text(f, kRedo), QStringLiteral("&Redo"));

        CSection* pKick7 = pKick->GetVariation();
        QVERIFY(pKick7);
        const int nDecay = pKick7->GetParam(2);
        OperateControl(*pKick, kKickDecayKnob, QStringLiteral("+2"));
        QCOMPARE(pKick7->GetParam(2), nDecay + 2);
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo Kick 007 Decay"));
        QCOMPARE(QApplication::focusWidget(), pKick->Control(kKickDecayKnob));

        f.files = {m_dir.filePath(QStringLiteral("undo.qly"))};
        f.Trigger(ECommand::SaveAs);
        QVERIFY(!f.Frame().isWindowModified());

        Keys(Qt::ControlModifier | Qt::Key_Z);
        QCOMPARE(pKick7->GetParam(2), nDecay);
        QCOMPARE(pKick->ControlAs<CDDynCtrl>(kKickDecayKnob)->GetValue(), nDecay);
        QVERIFY(f.Frame().isWindowModified());
        QCOMPARE(Text(f, kRedo), QStringLiteral("&Redo Kick 007 Decay"));
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo Kick 007 Init."));

        Keys(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);
        QCOMPARE(pKick7->GetParam(2), nDecay + 2);
        QVERIFY(!f.Frame().isWindowModified());
        Keys(Qt::ControlModifier | Qt::Key_Z);
        Keys(Qt::ControlModifier | Qt::Key_Y);
        QCOMPARE(pKick7->GetParam(2), nDecay + 2);

        // Back past the making of the variation: the window has none to show.
        Keys(Qt::ControlModifier | Qt::Key_Z);
        Keys(Qt::ControlModifier | Qt::Key_Z);
        QVERIFY(!f.Doc()->FindVariationOfKind(Kinds::kKick, 7));
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Undefined"));
        QVERIFY(!f.Action(kUndo)->isEnabled());
        Keys(Qt::ControlModifier | Qt::Key_Y);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kick007 "));
        QVERIFY(pKick->GetVariation());
    }

    // The title shows the mark as long as the project differs from its file, whatever editor
    // windows open, close or take turns, and loses it when undoing reaches the saved state.
    void titleMarkFollowsTheProjectOnly() {
        CAppFixture f;
        CDView* pKick = KickShown(f);
        QVERIFY(pKick);
        f.files = {m_dir.filePath(QStringLiteral("mark.qly"))};
        f.Trigger(ECommand::SaveAs);
        OperateControl(*pKick, kKickDecayKnob, QStringLiteral("+2"));
        const auto Title = [&f] { return f.Frame().windowHandle()->title(); };
        QCOMPARE(Title(), QStringLiteral("Quenley - mark.qly*"));

        CMainFrame& frame = f.Frame();
        const struct {
            const char* pszStep;
            std::function<void()> step;
        } steps[] = {
            {"snare window", [&f] { f.Trigger(ECommand::OpenSnare); }},
            {"hi-hat window", [&f] { f.Trigger(ECommand::OpenHiHat); }},
            {"LFO window", [&f] { f.Trigger(ECommand::OpenLfos); }},
            {"kit window", [&f] { f.Press(ECommand::OpenKit); }},
            {"clap window", [&f] { f.Trigger(ECommand::OpenClap); }},
            {"first window active",
             [&frame] { frame.MdiClient()->setActiveSubWindow(frame.Frames().front()); }},
            {"active window closed", [&frame] { frame.ActiveFrame()->close(); }},
            {"a window minimized and back",
             [&frame] {
                 frame.Frames().back()->showMinimized();
                 frame.Frames().back()->showNormal();
             }},
            {"tile", [&f] { f.Trigger(ECommand::Tile); }},
            {"cascade", [&f] { f.Trigger(ECommand::Cascade); }},
        };
        const qsizetype nWindows = frame.Frames().size();
        for (const auto& s : steps) {
            s.step();
            QCoreApplication::processEvents();
            QVERIFY2(Title() == QStringLiteral("Quenley - mark.qly*"),
                     qPrintable(s.pszStep + QStringLiteral(": ") + Title()));
        }
        QCOMPARE(frame.Frames().size(), nWindows + 4);

        f.Trigger(kUndo);
        QCOMPARE(Title(), QStringLiteral("Quenley - mark.qly"));
        f.Trigger(ECommand::OpenKick);
        QCOMPARE(Title(), QStringLiteral("Quenley - mark.qly"));
    }

    // Destroying a selection asks once and is one step: undo brings every section of it back,
    // redo removes them all again, and the window on kick 7 follows. Keys whose sections are
    // gone are neither asked about nor counted.
    void destroySelection_data() {
        QTest::addColumn<QByteArray>("keys"); // "kind number" lines
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("step");
        QTest::newRow("one") << QByteArray("2 7\n2 55") << "Are you sure to destroy \n Kick007   ?"
                             << "&Undo Destroy Kick 007";
        QTest::newRow("kinds mixed")
            << QByteArray("1 261\n2 9\n2 55\n2 7")
            << "Are you sure to destroy these 3 variations?\nKick007, Kick009, Kit005 Bank001"
            << "&Undo Destroy 3 variations";
        QTest::newRow("more than are named")
            << QByteArray("2 7\n2 10\n2 11\n2 12\n2 13\n2 14\n2 15\n2 16\n2 17")
            << "Are you sure to destroy these 9 variations?\nKick007, Kick010, Kick011, "
               "Kick012, Kick013, Kick014, Kick015, Kick016, ..."
            << "&Undo Destroy 9 variations";
    }
    void destroySelection() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, question);
        QFETCH(QString, step);
        CAppFixture f;
        CDView* pKick = KickShown(f);
        QVERIFY(pKick);
        CKick kick;
        CKit kit;
        for (int n : {9, 10, 11, 12, 13, 14, 15, 16, 17})
            f.Doc()->FindOrCreateVariation(&kick, n);
        f.Doc()->FindOrCreateVariation(&kit, 261);
        const QByteArray before = f.Doc()->SaveToBytes();
        const std::vector<SSectionKey> selection = SectionKeys::Decode(keys);
        const std::size_t nKept =
            f.Doc()->GetSectionList().size() - f.Doc()->FindSections(selection).size();

        f.shown.clear();
        f.answers = {EAnswer::Yes};
        f.Frame().DestroySections(selection);
        QCOMPARE(f.Texts(), QStringList{question});
        QVERIFY(f.Doc()->FindSections(selection).empty());
        QVERIFY(!pKick->GetVariation());
        QCOMPARE(Text(f, kUndo), step);

        f.Trigger(kUndo);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kick007 "));
        f.Trigger(kRedo);
        QVERIFY(f.Doc()->FindSections(selection).empty());
        QCOMPARE(f.Doc()->GetSectionList().size(), nKept);
        QCOMPARE(f.shown.size(), std::size_t(1));
    }

    // Destroy is undone with the variation's values, Copy with the sounds it stored, and a
    // new project starts with nothing to undo.
    void destroyAndCopy() {
        CAppFixture f;
        CDView* pKick = KickShown(f);
        QVERIFY(pKick);
        OperateControl(*pKick, kKickDecayKnob, QStringLiteral("+2"));
        const QByteArray made = f.Doc()->SaveToBytes();

        f.answers = {EAnswer::Yes};
        f.Press(ECommand::Destroy);
        QVERIFY(!pKick->GetVariation());
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo Destroy Kick 007"));
        f.Trigger(kUndo);
        QCOMPARE(f.Doc()->SaveToBytes(), made);
        QCOMPARE(f.Frame().ActiveFrame()->windowTitle(), QStringLiteral(" Kick007 "));

        // Kit 0 uses kick 7; copied to kit 9 with its sounds, kick 9 is made too.
        CKit kit;
        CSection* pKit = f.Doc()->FindOrCreateVariation(&kit, 0);
        pKit->SetParam(Kinds::KitParamOfKind(Kinds::kKick), 7);
        f.Press(ECommand::OpenKit);
        const QByteArray before = f.Doc()->SaveToBytes();
        QTimer::singleShot(0, [] {
            auto* pDialog = qobject_cast<CCopyVariationDlg*>(QApplication::activeModalWidget());
            if (!pDialog)
                return;
            pDialog->NumberEdit()->setText(QStringLiteral("9"));
            pDialog->StoreSoundsBox()->setChecked(true);
            pDialog->accept();
        });
        f.Press(ECommand::CopyTo);
        QVERIFY(f.Doc()->FindVariationOfKind(Kinds::kKit, 9));
        QVERIFY(f.Doc()->FindVariationOfKind(Kinds::kKick, 9));
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo Copy to Kit 009 Bank 000"));
        f.Trigger(kUndo);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
        f.Trigger(kRedo);
        QCOMPARE(f.Doc()->FindVariationOfKind(Kinds::kKick, 9)->GetParam(2),
                 f.Doc()->FindVariationOfKind(Kinds::kKick, 7)->GetParam(2));

        f.answers = {EAnswer::No};
        f.Trigger(ECommand::Close);
        QVERIFY(!f.Doc());
        f.App().OnFileNew();
        QVERIFY(!f.Action(kUndo)->isEnabled());
        QCOMPARE(Text(f, kUndo), QStringLiteral("&Undo"));
    }
};

QUENLEY_REGISTER_TEST(TestUndoCommands)
#include "TestUndoCommands.moc"

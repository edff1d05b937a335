// Compare with Saved: the saved block and then the edited block on the scripted port, a project
// left as it was, the read-only panel, and everything that ends a comparison first.

#include "AppFixture.h"
#include "CCompareSession.h"
#include "CDLcd.h"
#include "CMdiClient.h"
#include "CProjectHistory.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using Commands::ECommand;

namespace {

constexpr int kNumber = 7;
constexpr ECommand kCompare = ECommand::CompareWithSaved;

// A project file holding variation kNumber of each kind given, named "SAVED", value nParam 3.
bool WriteProject(const QString& strPath, const QList<int>& kinds, int nParam) {
    CQuenleyDoc doc;
    for (int nKind : kinds) {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
        CSection* p = doc.FindOrCreateVariation(pTemplate.get(), kNumber);
        if (!p || !p->SetName("SAVED   ") || !p->SetParam(nParam, 3))
            return false;
    }
    return doc.OnSaveDocument(strPath);
}

QString NameShown(const CDView& view) {
    for (const Panels::SControl& row : view.PanelTable().controls)
        if (row.binding.eRole == Panels::ERole::Name)
            if (const auto* pLcd = view.ControlAs<CDLcd>(row.nId))
                return QString::fromLatin1(pLcd->GetText()).trimmed();
    return {};
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The editor on the project file, port open, and a window on the kind's variation kNumber,
    // which the project then holds renamed "EDITED" with value nParam 5.
    static CDView* Compared(CAppFixture& f, const QString& strPath, int nKind, int nParam) {
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        if (!f.Start({strPath}) || !f.Doc())
            return nullptr;
        f.Press(ECommand::Activate);
        if (!f.Frame().ShowSection({nKind, kNumber}))
            return nullptr;
        CSection* pOwn = f.Doc()->FindVariationOfKind(nKind, kNumber);
        pOwn->SetName("EDITED  ");
        pOwn->SetParam(nParam, 5);
        f.Doc()->SetModifiedFlag(true);
        CDView* pView = f.Frame().ActiveView();
        f.Doc()->UpdateAllViews(nullptr, 0, pOwn);
        return pView && pView->GetVariation() == pOwn ? pView : nullptr;
    }
    static bool Idle(CAppFixture& f) {
        return QTest::qWaitFor([&f] { return f.Midi().QueueLength() == 0; });
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // The saved block goes out, the panel shows the saved values read-only and says so, and the
    // project stays as it was; the second toggle sends the edited block and shows it again.
    void savedThenEdited_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<QString>("strCaption");
        QTest::newRow("kick") << int(Kinds::kKick) << 0 << QStringLiteral(" Kick007 ");
        QTest::newRow("lfo") << int(Kinds::kLfos) << 0 << QStringLiteral(" LFOs007 ");
        QTest::newRow("kit") << int(Kinds::kKit) << 8 << QStringLiteral(" Kit007 Bank000 ");
    }
    void savedThenEdited() {
        QFETCH(int, nKind);
        QFETCH(int, nParam);
        QFETCH(QString, strCaption);
        const QString strPath = m_dir.filePath(QStringLiteral("saved.qly"));
        QVERIFY(WriteProject(strPath, {nKind}, nParam));
        CQuenleyDoc saved;
        QVERIFY(saved.OnOpenDocument(strPath));
        const QByteArray savedBlock = saved.FindVariationOfKind(nKind, kNumber)->BlockMessage(0);

        CAppFixture f;
        CDView* pView = Compared(f, strPath, nKind, nParam);
        QVERIFY(pView);
        CSection* pOwn = pView->GetVariation();
        const QByteArray editedBlock = pOwn->BlockMessage(0);
        QVERIFY(editedBlock != savedBlock);
        QVERIFY(Idle(f));
        const QByteArray project = f.Doc()->SaveToBytes();
        const int nSteps = f.App().History()->Stack().count();
        QCOMPARE(pView->windowTitle(), strCaption);

        std::size_t nMark = f.m_pScript->sent.size();
        f.Press(kCompare);
        QVERIFY(Idle(f));
        QCOMPARE(f.m_pScript->LongsSince(nMark), QList<QByteArray>{savedBlock});
        QCOMPARE(pView->windowTitle(), strCaption + QStringLiteral(" - saved values, read-only"));
        QCOMPARE(NameShown(*pView), QStringLiteral("SAVED"));
        QVERIFY(f.Action(kCompare)->isChecked());
        QVERIFY(f.Button(kCompare)->isChecked());
        QVERIFY(f.Frame().statusBar()->currentMessage().contains(QStringLiteral("saved project")));
        QCOMPARE(f.Doc()->SaveToBytes(), project);
        QVERIFY(f.Doc()->IsModified());
        QCOMPARE(f.App().History()->Stack().count(), nSteps);
        QCOMPARE(pOwn->BlockMessage(0), editedBlock);

        nMark = f.m_pScript->sent.size();
        f.Trigger(kCompare);
        QVERIFY(Idle(f));
        QCOMPARE(f.m_pScript->LongsSince(nMark), QList<QByteArray>{editedBlock});
        QCOMPARE(pView->windowTitle(), strCaption);
        QCOMPARE(NameShown(*pView), QStringLiteral("EDITED"));
        QVERIFY(!f.Action(kCompare)->isChecked());
        QCOMPARE(f.Frame().statusBar()->currentMessage(),
                 CProjectChange::Title(nKind, kNumber) +
                     QStringLiteral(" is back to its edited values."));
        QCOMPARE(f.Doc()->SaveToBytes(), project);
        QCOMPARE(f.App().History()->Stack().count(), nSteps);
    }

    // Without saved values the variation compares with the default sound of a new one, and the
    // status bar says why; a damaged file never stops it.
    void defaultSound_data() {
        QTest::addColumn<int>("eCase");
        QTest::addColumn<QString>("strWhy");
        QTest::newRow("new since saved") << 0 << QStringLiteral("does not hold it");
        QTest::newRow("never saved") << 1 << QStringLiteral("has not been saved");
        QTest::newRow("damaged file") << 2 << QStringLiteral("cannot be read");
    }
    void defaultSound() {
        QFETCH(int, eCase);
        QFETCH(QString, strWhy);
        const QString strPath = m_dir.filePath(QStringLiteral("other.qly"));
        // A project holding another variation only.
        CQuenleyDoc other;
        CKick kick;
        other.FindOrCreateVariation(&kick, kNumber + 1);
        QVERIFY(other.OnSaveDocument(strPath));
        CAppFixture f;
        if (eCase == 0) {
            CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
            QVERIFY(f.Start({strPath}));
        } else {
            f.StartWithProject();
        }
        if (eCase == 2) {
            // As a project recovered from its copy reads its file, which is damaged since.
            QFile file(strPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("QLY damaged");
            file.close();
            f.Doc()->SetPathName(strPath);
        }
        f.Press(ECommand::Activate);
        CSection* pOwn = f.Doc()->FindOrCreateVariation(&kick, kNumber);
        pOwn->SetParam(0, 5);
        QVERIFY(f.Frame().ShowSection({Kinds::kKick, kNumber}));
        const std::unique_ptr<CSection> pDefault(kick.CreateVariation(kNumber));
        QVERIFY(pDefault->BlockMessage(0) != pOwn->BlockMessage(0));
        QVERIFY(Idle(f));

        const std::size_t nMark = f.m_pScript->sent.size();
        f.Trigger(kCompare);
        QVERIFY(Idle(f));
        QCOMPARE(f.m_pScript->LongsSince(nMark), QList<QByteArray>{pDefault->BlockMessage(0)});
        QVERIFY2(f.Frame().statusBar()->currentMessage().contains(strWhy),
                 qPrintable(f.Frame().statusBar()->currentMessage()));
        QVERIFY(f.Frame().Compare().IsComparing());
        QVERIFY(f.shown.empty());
    }

    // The button speaks for the window in front: over another window it is unchecked, and
    // choosing it there ends the first comparison, edited block sent, before comparing that one.
    void anotherWindowComparesItsOwn() {
        const QString strPath = m_dir.filePath(QStringLiteral("two.qly"));
        QVERIFY(WriteProject(strPath, {Kinds::kKick, Kinds::kSnare}, 2));
        CAppFixture f;
        CDView* pKick = Compared(f, strPath, Kinds::kKick, 2);
        QVERIFY(pKick);
        QMdiSubWindow* pKickFrame = f.Frame().ActiveFrame();
        QVERIFY(f.Frame().ShowSection({Kinds::kSnare, kNumber}));
        QMdiSubWindow* pSnareFrame = f.Frame().ActiveFrame();
        CDView* pSnare = f.Frame().ActiveView();
        QVERIFY(pSnare != pKick);
        QVERIFY(f.ActivateFrame());
        f.Frame().MdiClient()->setActiveSubWindow(pKickFrame);
        f.Trigger(kCompare);
        QVERIFY(Idle(f));
        QVERIFY(f.Action(kCompare)->isChecked());
        f.Frame().MdiClient()->setActiveSubWindow(pSnareFrame);
        QVERIFY(!f.Action(kCompare)->isChecked());
        const std::size_t nMark = f.m_pScript->sent.size();
        f.Trigger(kCompare);
        QVERIFY(Idle(f));
        const std::unique_ptr<CSection> pSaved =
            f.Doc()->SavedVariation(Kinds::kSnare, kNumber, nullptr);
        QCOMPARE(
            f.m_pScript->LongsSince(nMark),
            QList<QByteArray>({f.Doc()->FindVariationOfKind(Kinds::kKick, kNumber)->BlockMessage(0),
                               pSaved->BlockMessage(0)}));
        QVERIFY(!pKick->windowTitle().endsWith(QStringLiteral("read-only")));
        QVERIFY(pSnare->windowTitle().endsWith(QStringLiteral("read-only")));
        QVERIFY(f.Action(kCompare)->isChecked());
    }

    // An edit, an undo, another command or closing the window ends the comparison before it
    // acts: the edited block goes out and the panel is editable and captioned as before.
    void endsFirst_data() {
        QTest::addColumn<int>("eAction");
        QTest::addColumn<bool>("bEnds");
        QTest::newRow("edit in another window") << 0 << true;
        QTest::newRow("undo") << 1 << true;
        QTest::newRow("another command") << 2 << true;
        QTest::newRow("close the window") << 3 << true;
        QTest::newRow("knob of the compared panel") << 4 << false;
        QTest::newRow("toolbar shown or hidden") << 5 << false;
    }
    void endsFirst() {
        QFETCH(int, eAction);
        QFETCH(bool, bEnds);
        constexpr unsigned kDecayKnob = 2600;
        const QString strPath = m_dir.filePath(QStringLiteral("ends.qly"));
        QVERIFY(WriteProject(strPath, {Kinds::kKick}, 2));
        CAppFixture f;
        CDView* pView = Compared(f, strPath, Kinds::kKick, 2);
        QVERIFY(pView);
        CSection* pOwn = pView->GetVariation();
        // One step to undo, on the edited value 5.
        QVERIFY(pOwn->GetParam(1) != 77);
        f.Doc()->BeginEdit();
        pOwn->SetParam(1, 77);
        f.Doc()->EndEdit(QStringLiteral("%1 Tune"));
        QVERIFY(f.ActivateFrame());
        QVERIFY(Idle(f));
        f.Trigger(kCompare);
        QVERIFY(Idle(f));
        QCOMPARE(pView->ControlAs<CDDynCtrl>(kDecayKnob)->GetValue(), 3);
        const QByteArray editedBlock = pOwn->BlockMessage(0);
        const std::size_t nMark = f.m_pScript->sent.size();

        switch (eAction) {
        case 0: {
            auto* pOther = f.App().NewFrame(pView->GetViewType());
            QVERIFY(pOther);
            pOther->ShowSection(pOwn);
            QTest::keyClick(pOther->View()->Control(kDecayKnob), Qt::Key_Up);
            QCOMPARE(pOwn->GetParam(2), 6);
            break;
        }
        case 1:
            f.Trigger(ECommand::Undo);
            QVERIFY(pOwn->GetParam(1) != 77);
            break;
        case 2:
            f.Trigger(ECommand::Cascade);
            break;
        case 3:
            f.Frame().ActiveFrame()->close();
            pView = nullptr;
            break;
        case 4:
            QTest::keyClick(pView->Control(kDecayKnob), Qt::Key_Up);
            QTest::mouseClick(pView->Control(kDecayKnob), Qt::LeftButton);
            QCOMPARE(pOwn->GetParam(2), 5);
            break;
        case 5:
            f.Trigger(ECommand::Toolbar);
            break;
        }
        QVERIFY(Idle(f));
        QCOMPARE(f.Frame().Compare().IsComparing(), !bEnds);
        const QList<QByteArray> sent = f.m_pScript->LongsSince(nMark);
        if (!bEnds) {
            QVERIFY(sent.isEmpty());
            QVERIFY(pView->windowTitle().endsWith(QStringLiteral("read-only")));
            QCOMPARE(pView->ControlAs<CDDynCtrl>(kDecayKnob)->GetValue(), 3);
            return;
        }
        // The block of the values the project holds when the comparison ended.
        QVERIFY(!sent.isEmpty());
        QVERIFY(sent.contains(eAction == 0 ? pOwn->BlockMessage(0) : editedBlock));
        QVERIFY(!f.Action(kCompare)->isChecked());
        if (pView) {
            QCOMPARE(pView->windowTitle(), QStringLiteral(" Kick007 "));
            QCOMPARE(pView->ControlAs<CDDynCtrl>(kDecayKnob)->GetValue(), pOwn->GetParam(2));
            QTest::keyClick(pView->Control(kDecayKnob), Qt::Key_Up);
            QCOMPARE(pOwn->GetParam(2), pView->ControlAs<CDDynCtrl>(kDecayKnob)->GetValue());
        }
    }
};

QUENLEY_REGISTER_TEST(TestCompare)
#include "TestCompare.moc"

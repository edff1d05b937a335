#include "CProjectHistory.h"
#include "TestMain.h"
#include "ViewBench.h"

#include <QApplication>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

namespace {

// What the module is sent for one section when a step is undone or redone.
enum class ESent { None, Single, NameBlock, Block };

QByteArray Value(int nKind, int nNumber, int nIndex, int nValue) {
    return nKind == Kinds::kKit ? KitValue(nNumber, nIndex, nValue)
                                : InstrumentValue(nKind, nNumber, nIndex, nValue);
}

// The messages that put the section's values (none: the section is gone) into the module.
QList<QByteArray> Expected(ESent eSent, int nKind, int nNumber, int nParam,
                           const QList<int>& values) {
    if (values.isEmpty() || eSent == ESent::None)
        return {};
    switch (eSent) {
    case ESent::Single:
        return {Value(nKind, nNumber, nParam, values[nParam])};
    case ESent::NameBlock:
        return {KitBlock(nNumber, values.mid(0, Kinds::Info(nKind).nNameParams))};
    default:
        break;
    }
    const QList<int> block = values.mid(0, Kinds::Info(nKind).nBlockValues);
    return {nKind == Kinds::kKit ? KitBlock(nNumber, block)
                                 : InstrumentBlock(nKind, nNumber, block)};
}

CProjectHistory& AttachHistory(CQuenleyDoc& doc) {
    doc.SetHistory(std::make_unique<CProjectHistory>(doc));
    return static_cast<CProjectHistory&>(*doc.History());
}

// A kit 5 using kick 3 and snare 4, kick 4 besides, and kit 6, active, using kick 4.
void AddKits(CProjectBench& b) {
    Fill(b.Add(Kinds::kKick, 3), 1);
    Fill(b.Add(Kinds::kKick, 4), 2);
    b.Add(Kinds::kSnare, 4);
    CSection* pKit = b.Add(Kinds::kKit, 5);
    pKit->SetName("Groove  ");
    pKit->SetParam(Kinds::KitParamOfKind(Kinds::kKick), 3);
    pKit->SetParam(Kinds::KitParamOfKind(Kinds::kSnare), 4);
    b.Add(Kinds::kKit, 6, Kinds::KitParamOfKind(Kinds::kKick), 4);
    b.doc.MakeActive(Kinds::kKit, 6);
    b.doc.MakeActive(Kinds::kKick, 4);
}

} // namespace

Q_DECLARE_METATYPE(ESent)

// Undo and redo of every kind of edit made in the editors, through real input on the panels.
class TestUndo : public QObject {
    Q_OBJECT

private slots:
    void everyEditUndoes_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<bool>("bKits");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nSubject");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<ESent>("eSent");
        using K = Kinds::EKind;
        const QString strKitVariation = QStringLiteral("%1 +1").arg(KitIds::VariationKnob(0));
        const QString strLevel = QStringLiteral("%1 -3").arg(KitIds::Level(0));
        QTest::newRow("knob drag") << 3 << 7 << false << "2600 +5"
                                   << "Kick 007 Decay" << int(K::kKick) << 7 << 2 << ESent::Single;
        QTest::newRow("switch") << 3 << 7 << false << "2505"
                                << "Kick 007 Veloc" << int(K::kKick) << 7 << 7 << ESent::Single;
        QTest::newRow("typed value") << 3 << 7 << false << "2560 005"
                                     << "Kick 007 EQ" << int(K::kKick) << 7 << 7 << ESent::Single;
        QTest::newRow("instrument rename")
            << 3 << 7 << false << "2515 Boom"
            << "Kick 007 Name" << int(K::kKick) << 7 << 0 << ESent::None;
        QTest::newRow("Init. on a changed variation")
            << 4 << 7 << false << "3510"
            << "Snar 007 Init." << int(K::kSnare) << 7 << 0 << ESent::Block;
        QTest::newRow("Init. making a variation")
            << 12 << 9 << false << "4220"
            << "LFOs 009 Init." << int(K::kLfos) << 9 << 0 << ESent::Block;
        QTest::newRow("kit rename")
            << 2 << 5 << true << QStringLiteral("%1 Break").arg(KitIds::kName)
            << "Kit 005 Bank 000 Name" << int(K::kKit) << 5 << 0 << ESent::NameBlock;
        QTest::newRow("kit variation choice")
            << 2 << 5 << true << strKitVariation << "Kit 005 Bank 000 Kick Variation"
            << int(K::kKit) << 5 << Kinds::KitParamOfKind(K::kKick) << ESent::Single;
        QTest::newRow("level from the kit")
            << 2 << 5 << true << strLevel << "Kick 003 Level" << int(K::kKick) << 3
            << Kinds::Info(K::kKick).nKitLevelParam << ESent::Single;
        QTest::newRow("kit activation")
            << 2 << 5 << true << QString::number(KitIds::kActive) << "Kit 005 Bank 000 Active"
            << int(K::kKit) << 5 << 0 << ESent::None;
        QTest::newRow("kit Init.")
            << 2 << 5 << true << QString::number(KitIds::kInit) << "Kit 005 Bank 000 Init."
            << int(K::kKit) << 5 << 0 << ESent::Block;
    }
    // The step puts the whole project back, every window on it follows (a second one on the
    // same section too), the module is sent what the edit sent, and the modified mark follows.
    void everyEditUndoes() {
        QFETCH(int, nType);
        QFETCH(int, nNumber);
        QFETCH(bool, bKits);
        QFETCH(QString, step);
        QFETCH(QString, name);
        QFETCH(int, nKind);
        QFETCH(int, nSubject);
        QFETCH(int, nParam);
        QFETCH(ESent, eSent);
        CViewBench b;
        if (bKits)
            AddKits(b);
        else if (nType != 12)
            Fill(b.Add(nKind, nNumber), 3);
        const int nViewKind = bKits ? int(Kinds::kKit) : nKind;
        b.Open(nType, nNumber);
        auto pOther = OpenView(b.doc, nType, nNumber, false);
        CProjectHistory& history = AttachHistory(b.doc);
        const auto Values = [&b, nKind, nSubject] {
            const CSection* pSection = b.Find(nKind, nSubject);
            return pSection ? Params(pSection) : QList<int>();
        };
        const QByteArray before = b.doc.SaveToBytes();
        const QList<int> valuesBefore = Values();
        const QStringList panelBefore = PanelSnapshot(*b.pView);

        b.Operate(step);
        const QByteArray after = b.doc.SaveToBytes();
        const QList<int> valuesAfter = Values();
        const QStringList panelAfter = PanelSnapshot(*b.pView);
        QVERIFY(after != before);
        QCOMPARE(history.Stack().count(), 1);
        QCOMPARE(history.Stack().undoText(), name);
        QVERIFY(b.doc.IsModified());

        b.queue.Clear();
        QVERIFY(history.Undo());
        QCOMPARE(b.doc.SaveToBytes(), before);
        QCOMPARE(b.Sent(), Expected(eSent, nKind, nSubject, nParam, valuesBefore));
        QVERIFY(!b.doc.IsModified());
        QCOMPARE(PanelSnapshot(*b.pView), panelBefore);
        QCOMPARE(PanelSnapshot(*pOther), panelBefore);
        QCOMPARE(history.Stack().redoText(), name);

        b.queue.Clear();
        QVERIFY(history.Redo());
        QCOMPARE(b.doc.SaveToBytes(), after);
        QCOMPARE(b.Sent(), Expected(eSent, nKind, nSubject, nParam, valuesAfter));
        QVERIFY(b.doc.IsModified());
        QCOMPARE(PanelSnapshot(*b.pView), panelAfter);
        QCOMPARE(PanelSnapshot(*pOther), panelAfter);
        // A window opened now shows what the others show.
        QCOMPARE(PanelSnapshot(*OpenView(b.doc, nType, nNumber, false)), panelAfter);
        QCOMPARE(b.pView->GetVariation() != nullptr, b.Find(nViewKind, nNumber) != nullptr);
    }

    // One drag is one step however many moves it makes; a drag back to where it began is none;
    // a run of arrow keys on one knob is one step, a run on another knob the next.
    void gesturesAreSteps() {
        CViewBench b;
        Fill(b.Add(Kinds::kKick, 7), 3);
        b.Open(3, 7);
        CProjectHistory& history = AttachHistory(b.doc);
        QWidget* pDecay = b.pView->Control(2600);
        const QPoint at(pDecay->width() / 2, pDecay->height() / 2);
        const auto Drag = [&](QList<int> moves) {
            QTest::mouseMove(pDecay, at + QPoint(0, 5));
            QTest::mouseMove(pDecay, at);
            QTest::mousePress(pDecay, Qt::LeftButton, {}, at);
            QPoint to = at;
            for (int n : moves)
                QTest::mouseMove(pDecay, to -= QPoint(0, n));
            QTest::mouseRelease(pDecay, Qt::LeftButton, {}, to);
        };
        const int nStart = b.Find(Kinds::kKick, 7)->GetParam(2);
        Drag({1, 1, 2, 1});
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(2), nStart + 5);
        QCOMPARE(history.Stack().count(), 1);
        Drag({2, -1, -1});
        QCOMPARE(history.Stack().count(), 1);
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(2), nStart + 5);

        pDecay->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(pDecay, Qt::Key_Up);
        QCOMPARE(history.Stack().count(), 2);
        QWidget* pTune = b.pView->Control(2590);
        pTune->setFocus();
        QTest::keyClick(pTune, Qt::Key_Down);
        QTest::keyClick(pTune, Qt::Key_Down);
        QCOMPARE(history.Stack().count(), 3);
        QCOMPARE(history.Stack().undoText(), QStringLiteral("Kick 007 Tune"));

        // Wheel notches, on the knob or on its read-out, and Shift drags.
        const auto WheelOn = [](QWidget* pWidget) {
            const QPointF at(pWidget->width() / 2.0, pWidget->height() / 2.0);
            QWheelEvent event(at, pWidget->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pWidget, &event);
        };
        const int nHarmo = b.Find(Kinds::kKick, 7)->GetParam(3);
        for (int i = 0; i < 4; ++i)
            WheelOn(b.pView->Control(i % 2 ? 2605 : 2540));
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(3), nHarmo + 4);
        QCOMPARE(history.Stack().count(), 4);
        QCOMPARE(history.Stack().undoText(), QStringLiteral("Kick 007 Harmo"));
        history.Undo();
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(3), nHarmo);

        b.queue.Clear();
        history.Undo();
        history.Undo();
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(2), nStart + 5);
        QCOMPARE(b.Sent().size(), 2);
        history.Undo();
        QCOMPARE(b.Find(Kinds::kKick, 7)->GetParam(2), nStart);
        QCOMPARE(b.pView->ControlAs<CDDynCtrl>(2600)->GetValue(), nStart);
    }

    // A new edit after an undo drops what could have been redone; the modified mark is the
    // distance from the saved state, which may lie behind or ahead.
    void branchesAndTheSavedState() {
        CViewBench b;
        Fill(b.Add(Kinds::kKick, 7), 3);
        b.Open(3, 7);
        CProjectHistory& history = AttachHistory(b.doc);
        b.Operate("2600 +1");
        b.Operate("2590 +1");
        history.ProjectSaved();
        QVERIFY(!b.doc.IsModified());
        history.Undo();
        QVERIFY(b.doc.IsModified());
        QVERIFY(history.Stack().canRedo());
        b.Operate("2605 +1");
        QVERIFY(!history.Stack().canRedo());
        QCOMPARE(history.Stack().count(), 2);
        QCOMPARE(history.Stack().undoText(), QStringLiteral("Kick 007 Harmo"));
        QVERIFY(b.doc.IsModified());
        history.Undo();
        history.Undo();
        QVERIFY(b.doc.IsModified());
        QVERIFY(!history.Undo());
        // Turning to another number changes nothing in the project and is no step.
        b.Operate("2585 +1");
        QCOMPARE(history.Stack().index(), 0);
        QVERIFY(history.Stack().canRedo());
        // Replacing the project forgets its history.
        b.doc.OnNewDocument();
        QCOMPARE(history.Stack().count(), 0);
        QVERIFY(!b.doc.IsModified());
    }
};

QUENLEY_REGISTER_TEST(TestUndo)
#include "TestUndo.moc"

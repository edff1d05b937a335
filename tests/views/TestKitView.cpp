#include "CProjectHistory.h"
#include "FakeViews.h"
#include "KitViewTestUtil.h"
#include "SectionKey.h"
#include "TestMain.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace KitIds;

namespace {

QByteArray Padded(const QByteArray& name) {
    return name.leftJustified(8, '\0', true);
}
QList<int> Codes(const QByteArray& name) {
    QList<int> codes;
    for (char c : Padded(name))
        codes << static_cast<unsigned char>(c);
    return codes;
}

// Right-clicks the window at a point of the panel and reads the menu that opens: each entry's
// text, "(off)" after a disabled one. Chooses strChoose with a click, or closes the menu.
QtMessageHandler g_previousHandler = nullptr;

QStringList RightClickMenu(QWidget& view, QPoint at, const QString& strChoose = {}) {
    // The offscreen platform says at every popup that it cannot raise it or grab the keyboard.
    g_previousHandler = qInstallMessageHandler(
        [](QtMsgType eType, const QMessageLogContext& context, const QString& strText) {
            if (!strText.startsWith(QLatin1String("This plugin does not support")))
                g_previousHandler(eType, context, strText);
        });
    QStringList entries;
    QTimer::singleShot(0, &view, [&] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!pMenu)
            return;
        QAction* pChosen = nullptr;
        for (QAction* pAction : pMenu->actions()) {
            entries << pAction->text() + (pAction->isEnabled() ? "" : " (off)");
            if (pAction->text() == strChoose)
                pChosen = pAction;
        }
        if (pChosen)
            QTest::mouseClick(pMenu, Qt::LeftButton, {}, pMenu->actionGeometry(pChosen).center());
        else
            pMenu->close();
    });
    QTest::mouseClick(view.windowHandle(), Qt::RightButton, {}, at);
    qInstallMessageHandler(g_previousHandler);
    return entries;
}

// A spot of the kit panel between the controls.
constexpr QPoint kPanelSpot(10, 200);

// The middle of control nId on the zoomed panel.
QPoint ControlCentre(const CDView& view, unsigned nId) {
    const Panels::SControl& row = *Panels::FindControl(view.PanelTable(), nId);
    const Panels::SSize size = Panels::ControlSize(row, view.PanelTable().nLcdGap);
    return CDCtrl::ZoomedRect(QRect(row.x, row.y, size.nWidth, size.nHeight), view.Zoom() / 100.0)
        .center();
}

// A drag entering at a point, moving there and dropping: whether the move and the drop were
// taken.
QPair<bool, bool> DragAndDrop(QWidget& view, const QMimeData& data, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &drop);
    return {move.isAccepted(), drop.isAccepted()};
}

QByteArray Keys(const std::vector<SSectionKey>& keys) {
    return SectionKeys::Encode(keys);
}

} // namespace

// The kit window driven through its own controls: choosing kits, initialising and activating
// them, choosing variations and levels, naming, and the values a damaged project may hold.
class TestKitView : public QObject {
    Q_OBJECT

private slots:
    void choosingTheKit_data() {
        QTest::addColumn<int>("nStart");
        QTest::addColumn<unsigned>("nId"); // 0: just opened
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("nShown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("opens on 261") << 261 << 0u << "" << 261 << " Kit005 Bank001 ";
        QTest::newRow("opens on 5, active") << 5 << 0u << "" << 5 << " Kit005 Bank000*";
        QTest::newRow("opens on 518, no kit") << 518 << 0u << "" << 518 << " Undefined";
        QTest::newRow("first kit step") << 261 << kKitKnob << "+1" << 262 << " Kit006 Bank001 ";
        QTest::newRow("kit knob at its end")
            << 767 << kKitKnob << "+1" << 767 << " Kit255 Bank002 ";
        QTest::newRow("bank knob down") << 261 << kBankKnob << "-1" << 5 << " Kit005 Bank000*";
        QTest::newRow("bank knob stops at 2")
            << 517 << kBankKnob << "+9" << 517 << " Kit005 Bank002 ";
        QTest::newRow("typed kit, no kit") << 261 << kKitLcd << "009" << 265 << " Undefined";
        QTest::newRow("typed bank") << 261 << kBankLcd << "000" << 5 << " Kit005 Bank000*";
        QTest::newRow("typed bank 3 refused")
            << 261 << kBankLcd << "003" << 261 << " Kit005 Bank001 ";
    }
    void choosingTheKit() {
        QFETCH(int, nStart);
        QFETCH(unsigned, nId);
        QFETCH(QString, input);
        QFETCH(int, nShown);
        QFETCH(QString, caption);
        CKitBench b;
        for (int n : {5, 261, 262, 517, 767})
            b.Add(1, n, 8, n % 7);
        b.Find(1, 5)->SetActive(true);
        b.Open(nStart);
        if (nId)
            b.Operate(nId, input);
        QCOMPARE(b.Value(kKitLcd), nShown % 256);
        QCOMPARE(b.Value(kBankLcd), nShown / 256);
        QCOMPARE(b.Caption(), caption);
        QCOMPARE(b.pView->GetVariation(), b.Find(1, nShown));
        QCOMPARE(b.Text(kName), QByteArray(b.Find(1, nShown) ? "Untitled" : "-Undef.-"));
        QCOMPARE(b.Lamp(kActive), nShown == 5);
        QCOMPARE(b.Value(VariationLcd(0)), b.Find(1, nShown) ? nShown % 7 : 0);
        QCOMPARE(PairMismatch(*b.pView), QString());
        QVERIFY(b.Sent().isEmpty());
    }

    // Turning on through numbers without a kit leaves the panel as it is.
    void undefinedIsShownOnce() {
        CKitBench b;
        b.Add(1, 5)->SetName("Rock    ");
        b.Find(1, 5)->SetActive(true);
        b.Add(2, 0);
        b.Open(5);
        QCOMPARE(b.Value(Level(0)), 255);
        b.Operate(kKitKnob, "+1");
        const SPanelState state = PanelState(*b.pView);
        QCOMPARE(state.strCaption, QString(" Undefined"));
        QCOMPARE(state.name, QByteArray("-Undef.-"));
        QVERIFY(!state.bActive);
        QList<int> zeros;
        for (const Panels::SControl& row : b.pView->PanelTable().controls)
            if (row.nPartner)
                zeros.append(row.nId == kKitLcd || row.nId == kKitKnob ? 6 : 0);
        QCOMPARE(state.values, zeros);
        QCOMPARE(b.pView->GetVariation(), nullptr);

        CPaintCounter name(b.pView->Control(kName));
        CPaintCounter level(b.pView->Control(LevelLcd(0)));
        CPaintCounter number(b.pView->Control(kKitLcd));
        QTest::qWait(60);
        name.m_nPaints = level.m_nPaints = number.m_nPaints = 0;
        b.Operate(kKitKnob, "+1");
        QTest::qWait(60);
        QVERIFY(number.m_nPaints > 0);
        QCOMPARE(name.m_nPaints + level.m_nPaints, 0);

        b.Operate(kKitLcd, "005");
        QCOMPARE(b.Caption(), QString(" Kit005 Bank000*"));
        QCOMPARE(b.Text(kName), QByteArray("Rock    "));
        QCOMPARE(b.Value(Level(0)), 255);
    }

    void nameTypedWithoutAKit_data() {
        QTest::addColumn<int>("nStart");
        QTest::newRow("opened without a kit") << 3;
        QTest::newRow("turned away from kit 1") << 1;
    }
    // The name has no kit to belong to, so the read-out does not keep it.
    void nameTypedWithoutAKit() {
        QFETCH(int, nStart);
        CKitBench b;
        b.Add(1, 1)->SetName("Rock    ");
        b.Open(nStart);
        if (nStart == 1)
            b.Operate(kKitKnob, "+1");
        QCOMPARE(b.pView->GetVariation(), nullptr);
        b.Operate(kName, "Jazz");
        QCOMPARE(b.Text(kName), QByteArray("-Undef.-"));
        QCOMPARE(QByteArray(b.Find(1, 1)->GetName()), QByteArray("Rock    "));
        QVERIFY(b.Sent().isEmpty());
        QVERIFY(!b.doc.IsModified());
    }

    void initCreatesTheKit_data() {
        QTest::addColumn<int>("nBank");
        QTest::newRow("bank 0") << 0;
        QTest::newRow("bank 2") << 2;
    }
    // Variation 7 exists for the kick, the hi-hat and the LFOs only.
    void initCreatesTheKit() {
        QFETCH(int, nBank);
        CKitBench b;
        b.Add(2, 7, 8, 99);
        b.Add(6, 7);
        b.Add(11, 7);
        b.Add(3, 6);
        const int n = 256 * nBank + 7;
        b.Open(n);
        b.Operate(kInit);
        CSection* pKit = b.Find(1, n);
        QVERIFY(pKit);
        const QList<int> used{7, 0, 0, 0, 7, 0, 0, 0, 0, 7};
        QCOMPARE(b.Sent(),
                 QList<QByteArray>({KitValue(n, 8, 7), KitValue(n, 12, 7), KitValue(n, 17, 7),
                                    KitBlock(n, KitValues("Untitled", used))}));
        for (int c = 0; c < 10; ++c)
            QCOMPARE(pKit->GetParam(8 + c), used[c]);
        QCOMPARE(b.pView->GetVariation(), pKit);
        QCOMPARE(QByteArray(pKit->GetName()), QByteArray("Untitled"));
        QCOMPARE(b.Caption(), QString(" Kit007 Bank00%1 ").arg(nBank));
        QCOMPARE(b.Text(kName), QByteArray("Untitled"));
        QCOMPARE(b.Value(Level(0)), 99);
        QVERIFY(!b.Lamp(kInit));
        QVERIFY(b.doc.IsModified());
        QCOMPARE(PairMismatch(*b.pView), QString());
    }

    void initOnTheShownKit_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("renamed") << QByteArray("Rock    ");
        QTest::newRow("already Untitled") << QByteArray("Untitled");
    }
    // Kick 7 exists, snare 7 does not: the snare stays as it was.
    void initOnTheShownKit() {
        QFETCH(QByteArray, name);
        CKitBench b;
        CSection* pKit = b.Add(1, 7, 8, 3);
        pKit->SetParam(9, 2);
        pKit->SetName(name.constData());
        b.Add(2, 3);
        b.Add(2, 7);
        b.Add(3, 2);
        b.Open(7);
        b.Operate(kInit);
        QList<QByteArray> expected;
        if (name != "Untitled")
            expected << KitBlock(7, KitValues("Untitled"));
        expected << KitValue(7, 8, 7)
                 << KitBlock(7, KitValues("Untitled", {7, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(b.Sent(), expected);
        QCOMPARE(QByteArray(pKit->GetName()), QByteArray("Untitled"));
        QCOMPARE(b.pView->ColumnVariation(0), b.Find(2, 7));
        QCOMPARE(b.pView->ColumnVariation(1), b.Find(3, 2));
        QVERIFY(b.doc.IsModified());
    }

    // Kick 7 does not exist, so the kit goes on using kick 3, which keeps its mark all along.
    void initOnTheActiveKitKeepsTheMarksItUses() {
        CKitBench b;
        CSection* pKit = b.Add(1, 7, 8, 3);
        pKit->SetParam(9, 2);
        for (CSection* p : {pKit, b.Add(2, 3), b.Add(3, 2)})
            p->SetActive(true);
        b.Add(3, 7);
        b.Open(7);
        CFakeView other(3, nullptr);
        b.doc.AddView(&other);
        b.Operate(kInit);
        b.doc.RemoveView(&other);
        QCOMPARE(pKit->GetParam(8), 3);
        QCOMPARE(b.doc.FindActiveVariationOfKind(2), b.Find(2, 3));
        QVERIFY2(!other.updates.contains(b.Find(2, 3)), "kick 3 lost its mark on the way");
        QCOMPARE(pKit->GetParam(9), 7);
        QCOMPARE(b.doc.FindActiveVariationOfKind(3), b.Find(3, 7));
        QCOMPARE(b.Caption(), QString(" Kit007 Bank000*"));
    }

    // Kit 1 and variation 1 of every kind are active; kit 2 uses variation 2, which exists for
    // every other kind.
    void activationMovesEveryMark() {
        CKitBench b;
        CSection* pKit1 = b.Add(1, 1);
        CSection* pKit2 = b.Add(1, 2);
        pKit1->SetActive(true);
        for (int c = 0; c < 10; ++c) {
            pKit1->SetParam(8 + c, 1);
            pKit2->SetParam(8 + c, 2);
            b.Add(kColumns[c].nKind, 1)->SetActive(true);
            if (c % 2 == 0)
                b.Add(kColumns[c].nKind, 2);
        }
        b.Open(2);
        b.Operate(kActive);
        QVERIFY(pKit2->IsActive() && !pKit1->IsActive());
        for (int c = 0; c < 10; ++c)
            QCOMPARE(b.doc.FindActiveVariationOfKind(kColumns[c].nKind),
                     b.Find(kColumns[c].nKind, 2));
        QVERIFY(b.Lamp(kActive));
        QCOMPARE(b.Caption(), QString(" Kit002 Bank000*"));
        QVERIFY(b.doc.IsModified());
        QVERIFY(b.Sent().isEmpty());
    }

    void activeChangesNothing_data() {
        QTest::addColumn<bool>("bKit");
        QTest::newRow("on an active kit") << true;
        QTest::newRow("without a kit") << false;
    }
    void activeChangesNothing() {
        QFETCH(bool, bKit);
        CKitBench b;
        b.Add(2, 0)->SetActive(true);
        if (bKit)
            b.Add(1, 3)->SetActive(true);
        b.Open(3);
        b.Operate(kActive);
        QCOMPARE(b.Lamp(kActive), bKit);
        QCOMPARE(b.Caption(), QString(bKit ? " Kit003 Bank000*" : " Undefined"));
        QCOMPARE(b.doc.FindActiveVariationOfKind(1), b.Find(1, 3));
        QVERIFY(b.Find(2, 0)->IsActive());
        QCOMPARE(b.doc.GetSectionList().size(), size_t(bKit ? 2 : 1));
        QVERIFY(!b.doc.IsModified());
    }

    void choosingAVariation_data() {
        QTest::addColumn<int>("nColumn");
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<QString>("input");
        for (int c = 0; c < 10; ++c)
            for (bool bActive : {true, false})
                QTest::addRow("column %d, %s kit", c, bActive ? "active" : "inactive")
                    << c << bActive << "+2";
        for (int c : {0, 9})
            QTest::addRow("column %d, active kit, no such variation", c) << c << true << "004";
    }
    // Variation 3 exists, 4 does not. In an inactive kit the variation it used stays marked
    // for the active kit 2.
    void choosingAVariation() {
        QFETCH(int, nColumn);
        QFETCH(bool, bActive);
        QFETCH(QString, input);
        const SColumnLayout& column = kColumns[nColumn];
        CKitBench b;
        b.Add(1, 1, 8 + nColumn, 1)->SetActive(bActive);
        b.Add(1, 2)->SetActive(!bActive);
        CSection* pOld = b.Add(column.nKind, 1);
        pOld->SetActive(true);
        b.Add(column.nKind, 3, column.nLevel, 77);
        b.Open(1);
        const bool bTurned = input.startsWith('+');
        b.Operate(bTurned ? VariationKnob(nColumn) : VariationLcd(nColumn), input);
        const int nChosen = bTurned ? 3 : 4;
        CSection* pNew = b.Find(column.nKind, nChosen);
        QCOMPARE(b.Find(1, 1)->GetParam(8 + nColumn), nChosen);
        QCOMPARE(b.Sent(), QList<QByteArray>{KitValue(1, 8 + nColumn, nChosen)});
        QCOMPARE(b.Value(VariationLcd(nColumn)), nChosen);
        QCOMPARE(b.Value(LevelLcd(nColumn)), pNew ? 77 : 0);
        QCOMPARE(b.pView->ColumnVariation(nColumn), pNew);
        QCOMPARE(b.doc.FindActiveVariationOfKind(column.nKind), bActive ? pNew : pOld);
        QCOMPARE(PairMismatch(*b.pView), QString());
    }

    void faderSetsTheInstrumentLevel_data() {
        QTest::addColumn<int>("nColumn");
        for (int c = 0; c < 9; ++c)
            QTest::addRow("column %d", c) << c;
    }
    void faderSetsTheInstrumentLevel() {
        QFETCH(int, nColumn);
        CKitBench b;
        CSection* pKit = b.Add(1, 1, 8 + nColumn, 4);
        CSection* pVariation = b.Add(kColumns[nColumn].nKind, 4, kColumns[nColumn].nLevel, 100);
        b.Open(1);
        QList<int> kitBefore;
        for (int i = 0; i < 19; ++i)
            kitBefore << pKit->GetParam(i);
        b.Operate(Level(nColumn), "+1");
        QCOMPARE(pVariation->GetParam(kColumns[nColumn].nLevel), 101);
        QCOMPARE(b.Text(LevelLcd(nColumn)), QByteArray("101"));
        QCOMPARE(b.Sent(), QList<QByteArray>{LevelValue(nColumn, 4, 101)});
        QTest::keyClick(b.pView->Control(Level(nColumn)), Qt::Key_End);
        QCOMPARE(b.Sent(), QList<QByteArray>{LevelValue(nColumn, 4, 255)});
        b.queue.Clear();
        b.Operate(Level(nColumn), "+3"); // at the top already
        QVERIFY(b.Sent().isEmpty());
        for (int i = 0; i < 19; ++i)
            QCOMPARE(pKit->GetParam(i), kitBefore[i]);
    }

    void theNameKeepsItsLength_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("nCell");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first letter")
            << QByteArray("Rock    ") << "S" << 0 << QByteArray("Sock    ");
        QTest::newRow("same letters")
            << QByteArray("Rock    ") << "Ro" << 0 << QByteArray("Rock    ");
        QTest::newRow("nothing typed")
            << QByteArray("Rock    ") << "" << 0 << QByteArray("Rock    ");
        QTest::newRow("beyond a short name") << QByteArray("Ab") << "cd" << 2 << QByteArray("Ab");
        QTest::newRow("inside a short name") << QByteArray("Ab") << "X" << 1 << QByteArray("AX");
    }
    // The panel then shows the stored name, blanks where it ends.
    void theNameKeepsItsLength() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, typed);
        QFETCH(int, nCell);
        QFETCH(QByteArray, expected);
        CKitBench b;
        CSection* pKit = b.Add(1, 1);
        std::int32_t values[19] = {};
        for (int i = 0; i < 8; ++i)
            values[i] = Codes(stored)[i];
        pKit->SetStoredFields(false, 1, Padded(stored).constData(), values);
        b.Open(1);
        b.Operate(kName, typed, nCell);
        QCOMPARE(QByteArray(pKit->GetName(), 8), Padded(expected));
        QCOMPARE(b.Text(kName), expected.leftJustified(8, ' '));
        const bool bRenamed = expected != stored;
        QCOMPARE(b.doc.IsModified(), bRenamed);
        QCOMPARE(b.Sent(),
                 bRenamed ? QList<QByteArray>{KitBlock(1, Codes(expected))} : QList<QByteArray>{});
    }

    void speedFollowsTheLfosAndCannotBeTurned() {
        CKitBench b;
        b.Add(1, 1, 17, 4);
        CSection* pLfos = b.Add(11, 4, 6, 99);
        b.Open(1);
        QCOMPARE(b.Text(LevelLcd(9)), QByteArray("099"));
        QCOMPARE(b.Value(Level(9)), 99);
        QVERIFY(!b.pView->Control(Level(9))->isEnabled());
        QVERIFY(!b.pView->Control(LevelLcd(9))->isEnabled());
        QTest::keyClick(b.pView->Control(Level(9)), Qt::Key_Up);
        QTest::keyClicks(b.pView->Control(LevelLcd(9)), "1\r");
        QCOMPARE(b.Value(Level(9)), 99);
        QCOMPARE(pLfos->GetParam(6), 99);
        QVERIFY(b.Sent().isEmpty());

        pLfos->SetParam(6, 120);
        b.doc.UpdateAllViews(nullptr, 0, pLfos);
        QCOMPARE(b.Text(LevelLcd(9)), QByteArray("120"));
        QCOMPARE(b.Value(Level(9)), 120);
    }

    // The first window of a new project shows no kit; a variation destroyed then must not
    // send the window after the kit's values.
    void columnsNeedAKit() {
        CKitBench b;
        b.Open(0);
        const SPanelState before = PanelState(*b.pView);
        CSection* pKick = b.Add(2, 0);
        b.doc.UpdateAllViews(nullptr, 0, pKick);
        QVERIFY(b.doc.RemoveVariation(pKick));
        b.doc.SectionListChanged(2);
        QVERIFY(!b.pView->OnSectionListChanged(2));
        QCOMPARE(PanelState(*b.pView), before);
        QCOMPARE(b.pView->ColumnVariation(0), nullptr);
    }

    void damagedValues_data() {
        QTest::addColumn<int>("nKitValue");
        QTest::addColumn<int>("nLevel");
        QTest::addColumn<unsigned>("nEdited"); // 0: kick 255 is made in another window
        QTest::addColumn<QList<QByteArray>>("sent");
        QTest::newRow("kit value 300, typed 255")
            << 300 << 0 << VariationLcd(0) << QList<QByteArray>{KitValue(2, 8, 255)};
        QTest::newRow("level 300, typed 255")
            << 5 << 300 << LevelLcd(0) << QList<QByteArray>{LevelValue(0, 5, 255)};
        QTest::newRow("kit value 300, kick 255 appears")
            << 300 << 0 << 0u << QList<QByteArray>{KitValue(2, 8, 255)};
        // Init. renames the kit too; the block carries what the panel shows, not 300.
        QTest::newRow("kit value 300, Init.")
            << 300 << 0 << kInit
            << QList<QByteArray>{
                   KitBlock(2, KitValues("Untitled")), KitValue(2, 8, 255),
                   KitBlock(2, KitValues("Untitled", {255, 0, 0, 0, 0, 0, 0, 0, 0, 0}))};
    }
    // Kit 1 shows kick 1 at level 200 first, so a read-out that kept its value would show it.
    void damagedValues() {
        QFETCH(int, nKitValue);
        QFETCH(int, nLevel);
        QFETCH(unsigned, nEdited);
        QFETCH(QList<QByteArray>, sent);
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(2, 1, 8, 200);
        CSection* pKit = b.Add(1, 2);
        const std::int32_t kitValues[19] = {'D', 'a', 'm', 'a', 'g', 'e', 'd', ' ', nKitValue};
        pKit->SetStoredFields(false, 2, "Damaged ", kitValues);
        const std::int32_t kickValues[9] = {1, 2, 3, 4, 5, 6, 7, 8, nLevel};
        b.Add(2, 5)->SetStoredFields(false, 5, "Untitled        ", kickValues);
        b.Open(1);
        b.Operate(kKitKnob, "+1");
        b.queue.Clear();
        QCOMPARE(b.pView->GetVariation(), pKit);
        QCOMPARE(b.Value(VariationLcd(0)), qMin(nKitValue, 255));
        QCOMPARE(b.Value(Level(0)), qMin(nLevel, 255));
        QCOMPARE(b.Text(LevelLcd(0)), QByteArray::number(qMin(nLevel, 255)).rightJustified(3, '0'));
        QCOMPARE(PairMismatch(*b.pView), QString());

        if (nEdited == kInit) {
            b.Operate(kInit);
        } else if (nEdited) {
            b.Operate(nEdited, "255");
        } else {
            CSection* pKick = b.Add(2, 255);
            b.doc.SetModifiedFlag(false);
            b.doc.UpdateAllViews(nullptr, 0, pKick);
            QCOMPARE(b.pView->ColumnVariation(0), pKick);
        }
        QCOMPARE(b.Sent(), sent);
        QVERIFY(b.doc.IsModified());
    }

    void missingVariationIsNotConnected_data() {
        QTest::addColumn<int>("nColumn");
        QTest::addColumn<QString>("sound");
        QTest::addColumn<bool>("bMenu"); // made by the menu, else another variation is chosen
        const char* const names[] = {"Kick",      "Snare",   "Low Tom", "High Tom", "HiHat",
                                     "Hand Clap", "Rimshot", "Crash",   "Ride",     "LFOs"};
        for (int c = 0; c < 10; ++c)
            QTest::addRow("%s made", names[c]) << c << QString(names[c]) << true;
        QTest::newRow("Snare, another chosen") << 1 << "Snare" << false;
        QTest::newRow("LFOs, another chosen") << 9 << "LFOs" << false;
    }
    // Kit 1 uses variation 0 of every kind, which exists at level 50, but variation 12 in
    // column c, which the project lacks.
    void missingVariationIsNotConnected() {
        QFETCH(int, nColumn);
        QFETCH(QString, sound);
        QFETCH(bool, bMenu);
        CKitBench b;
        b.Add(1, 1, 8 + nColumn, 12);
        for (const SColumnLayout& column : kColumns)
            b.Add(column.nKind, 0, column.nLevel, 50);
        b.Open(1);
        // The column looks and acts as connected exactly when it shows a variation.
        const auto CheckLook = [&](int c) {
            for (unsigned nId : {VariationKnob(c), VariationLcd(c)})
                QVERIFY(!b.pView->Control(nId)->IsDimmed() && b.pView->Control(nId)->isEnabled());
            for (unsigned nId : {Level(c), LevelLcd(c)}) {
                const bool bConnected = b.pView->ColumnVariation(c);
                QCOMPARE(b.pView->Control(nId)->IsDimmed(), !bConnected);
                // The LFO speed is never operated.
                QCOMPARE(b.pView->Control(nId)->isEnabled(), bConnected && c != 9);
                QCOMPARE(b.pView->ToolTipText(nId).contains("does not exist"), !bConnected);
            }
        };
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(b.pView->ColumnVariation(c) != nullptr, c != nColumn);
            CheckLook(c);
        }
        if (QTest::currentTestFailed())
            return;
        const QString tip = QStringLiteral("%1 012 does not exist: Init. it in a %1 window,\nor "
                                           "choose Create missing sounds from this window's "
                                           "right-click menu")
                                .arg(sound);
        QCOMPARE(b.pView->ToolTipText(Level(nColumn)), tip);
        QCOMPARE(b.pView->ToolTipText(LevelLcd(nColumn)), tip);

        // Neither a drag, a key nor a typed level reaches anything, nor stays on the panel.
        b.Operate(Level(nColumn), "+5");
        QTest::keyClick(b.pView->Control(Level(nColumn)), Qt::Key_Up);
        b.Operate(LevelLcd(nColumn), "100");
        QCOMPARE(b.Value(Level(nColumn)), 0);
        QCOMPARE(b.Text(LevelLcd(nColumn)), QByteArray("000"));
        QVERIFY(b.Sent().isEmpty());
        QVERIFY(!b.doc.IsModified());

        // The right-click on the dimmed fader itself opens the window's menu.
        const QPoint onFader = b.pView->Control(Level(nColumn))->geometry().center();
        if (bMenu) {
            QCOMPARE(RightClickMenu(*b.pView, onFader, "Create missing sounds"),
                     QStringList{"Create missing sounds"});
            const CSection* pMade = b.Find(kColumns[nColumn].nKind, 12);
            QVERIFY(pMade);
            QCOMPARE(b.Sent(), QList<QByteArray>{pMade->BlockMessage(0)});
        } else {
            b.Operate(VariationLcd(nColumn), "000");
            QCOMPARE(b.Sent(), QList<QByteArray>{KitValue(1, 8 + nColumn, 0)});
        }
        QVERIFY(b.pView->ColumnVariation(nColumn));
        CheckLook(nColumn);
        if (QTest::currentTestFailed())
            return;
        const CSection* pShown = b.pView->ColumnVariation(nColumn);
        const int nLevel = pShown->GetParam(kColumns[nColumn].nLevel);
        QCOMPARE(b.Value(LevelLcd(nColumn)), nLevel);
        QCOMPARE(PairMismatch(*b.pView), QString());
        if (nColumn != 9) {
            b.queue.Clear();
            b.Operate(Level(nColumn), "-1");
            QCOMPARE(b.Sent(),
                     QList<QByteArray>{LevelValue(nColumn, pShown->GetNumber(), nLevel - 1)});
        }
        QCOMPARE(RightClickMenu(*b.pView, kPanelSpot), QStringList{"Create missing sounds (off)"});
    }

    void createMissingSoundsNeedsAGap_data() {
        QTest::addColumn<int>("nOpen");
        QTest::addColumn<int>("nKick"); // what kit 1 uses
        QTest::addColumn<bool>("bOffered");
        QTest::newRow("no kit shown") << 3 << 12 << false;
        QTest::newRow("nothing missing") << 1 << 0 << false;
        QTest::newRow("a number no kick has") << 1 << 300 << false;
        QTest::newRow("kick 12 missing") << 1 << 12 << true;
    }
    void createMissingSoundsNeedsAGap() {
        QFETCH(int, nOpen);
        QFETCH(int, nKick);
        QFETCH(bool, bOffered);
        CKitBench b;
        std::int32_t values[19] = {'U', 'n', 't', 'i', 't', 'l', 'e', 'd', nKick};
        b.Add(1, 1)->SetStoredFields(false, 1, "Untitled", values);
        for (const SColumnLayout& column : kColumns)
            b.Add(column.nKind, 0);
        b.Open(nOpen);
        QCOMPARE(RightClickMenu(*b.pView, kPanelSpot),
                 QStringList{bOffered ? "Create missing sounds" : "Create missing sounds (off)"});
        QVERIFY(b.Sent().isEmpty());
    }

    void whatMarksTheProjectModified_data() {
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("bModified");
        QTest::newRow("Init.") << kInit << "" << true;
        QTest::newRow("Active") << kActive << "" << true;
        QTest::newRow("another variation") << VariationLcd(0) << "002" << true;
        QTest::newRow("same variation") << VariationLcd(0) << "001" << false;
        QTest::newRow("another level") << LevelLcd(0) << "101" << true;
        QTest::newRow("same level") << LevelLcd(0) << "100" << false;
        QTest::newRow("fader") << Level(0) << "-1" << true;
        QTest::newRow("new name") << kName << "Z" << true;
        QTest::newRow("name left unchanged") << kName << "" << false;
    }
    void whatMarksTheProjectModified() {
        QFETCH(unsigned, nId);
        QFETCH(QString, input);
        QFETCH(bool, bModified);
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(2, 1, 8, 100);
        b.Add(2, 2);
        b.Open(1);
        b.Operate(nId, input);
        QCOMPARE(b.doc.IsModified(), bModified);
        if (!bModified)
            QVERIFY(b.Sent().isEmpty());
    }

    void commandsTakeTheTypedValue_data() {
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("name") << kName << "Jazz" << KitBlock(1, KitValues("Jazztled"));
        QTest::newRow("level") << LevelLcd(0) << "123" << LevelValue(0, 1, 123);
    }
    // Typed, not confirmed, and a command comes.
    void commandsTakeTheTypedValue() {
        QFETCH(unsigned, nId);
        QFETCH(QString, typed);
        QFETCH(QByteArray, sent);
        CKitBench b;
        CSection* pKit = b.Add(1, 1, 8, 1);
        CSection* pKick = b.Add(2, 1);
        b.Open(1);
        QWidget* pLcd = b.pView->Control(nId);
        QTest::mouseClick(pLcd, Qt::LeftButton, {}, QPoint(1, 1));
        QTest::keyClicks(pLcd, typed);
        QVERIFY(b.Sent().isEmpty());
        b.pView->CommitPendingEdit();
        QCOMPARE(b.Sent(), QList<QByteArray>{sent});
        QVERIFY(b.doc.IsModified());
        QCOMPARE(QByteArray(pKit->GetName()), QByteArray(nId == kName ? "Jazztled" : "Untitled"));
        QCOMPARE(pKick->GetParam(8), nId == kName ? 255 : 123);
        QCOMPARE(b.Value(Level(0)), nId == kName ? 255 : 123);
    }

    void droppingAVariation_data() {
        QTest::addColumn<QByteArray>("dragged");
        QTest::addColumn<int>("nColumn"); // -1: onto the header
        QTest::addColumn<int>("nZoom");
        QTest::addColumn<bool>("bKit");
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<int>("nTaken"); // the variation the kit then uses; -1: refused
        QTest::newRow("kick onto kick") << Keys({{2, 3}}) << 0 << 100 << true << true << 3;
        QTest::newRow("LFOs onto LFOs, inactive kit, 150 %")
            << Keys({{11, 3}}) << 9 << 150 << true << false << 3;
        QTest::newRow("missing snare, 300 %") << Keys({{3, 2}}) << 1 << 300 << true << true << 2;
        QTest::newRow("snare onto kick") << Keys({{3, 3}}) << 0 << 100 << true << true << -1;
        QTest::newRow("two kicks") << Keys({{2, 3}, {2, 4}}) << 0 << 100 << true << true << -1;
        QTest::newRow("no kit shown") << Keys({{2, 3}}) << 0 << 100 << false << true << -1;
        QTest::newRow("header, 200 %") << Keys({{2, 3}}) << -1 << 200 << true << true << -1;
        QTest::newRow("garbage")
            << QByteArray("kick\n\xff 3\n") << 0 << 100 << true << true << -1;
    }
    // A drop does what turning the column's knob to that variation does: the same message,
    // panel, marks and one step of the history, whose undo puts the old variation back.
    void droppingAVariation() {
        QFETCH(QByteArray, dragged);
        QFETCH(int, nColumn);
        QFETCH(int, nZoom);
        QFETCH(bool, bKit);
        QFETCH(bool, bActive);
        QFETCH(int, nTaken);
        const int nKitColumn = std::max(nColumn, 0);
        const SColumnLayout& column = kColumns[nKitColumn];
        struct SResult {
            QList<QByteArray> sent;
            SPanelState panel;
            bool bDimmed = false;
            QString strStep;
            QByteArray project;
            bool operator==(const SResult&) const = default;
        };
        // What the window shows and the project holds and sent, with the history's one step.
        const auto Result = [nKitColumn](CKitBench& b) {
            CProjectHistory& history = static_cast<CProjectHistory&>(*b.doc.History());
            return SResult{b.Sent(), PanelState(*b.pView),
                           b.pView->Control(LevelLcd(nKitColumn))->IsDimmed(),
                           history.Stack().count() == 1 ? history.Stack().undoText() : QString(),
                           b.doc.SaveToBytes()};
        };
        const auto Prepare = [&column, nKitColumn, bKit, bActive](CKitBench& b) {
            b.Add(1, 1, 8 + nKitColumn, 1)->SetActive(bActive);
            b.Add(column.nKind, 1)->SetActive(true);
            b.Add(column.nKind, 3, column.nLevel, 77);
            b.Open(bKit ? 1 : 2);
            b.doc.SetHistory(std::make_unique<CProjectHistory>(b.doc));
        };
        const bool bTaken = nTaken >= 0;
        SResult turned;
        if (bTaken) {
            // Turned first, alone: another window over it would catch the pointer.
            CKitBench knob;
            Prepare(knob);
            knob.Operate(VariationKnob(nColumn), QStringLiteral("+%1").arg(nTaken - 1));
            turned = Result(knob);
        }
        CKitBench b;
        Prepare(b);
        QVERIFY(b.pView->SetZoom(nZoom));
        const SResult before = Result(b);
        QMimeData data;
        data.setData(SectionKeys::kMimeType, dragged);
        const QPoint at = ControlCentre(*b.pView, nColumn < 0 ? kInit : VariationKnob(nColumn));
        QCOMPARE(DragAndDrop(*b.pView, data, at), qMakePair(bTaken, bTaken));
        if (!bTaken) {
            QCOMPARE(Result(b), before);
            QVERIFY(!b.doc.IsModified());
            return;
        }
        const SResult dropped = Result(b);
        QCOMPARE(dropped.sent, turned.sent);
        QCOMPARE(dropped.panel, turned.panel);
        QCOMPARE(dropped.bDimmed, turned.bDimmed);
        QCOMPARE(dropped.strStep, turned.strStep);
        QCOMPARE(dropped.project, turned.project);
        QCOMPARE(b.Sent(), QList<QByteArray>{KitValue(1, 8 + nColumn, nTaken)});
        QCOMPARE(b.doc.FindActiveVariationOfKind(column.nKind),
                 b.Find(column.nKind, bActive ? nTaken : 1));

        b.queue.Clear();
        QVERIFY(static_cast<CProjectHistory*>(b.doc.History())->Undo());
        QCOMPARE(b.Sent(), QList<QByteArray>{KitValue(1, 8 + nColumn, 1)});
        QCOMPARE(PanelState(*b.pView), before.panel);
        QCOMPARE(b.doc.SaveToBytes(), before.project);
    }

    // Files dragged over a kit window still reach the main window around it, which opens them.
    void otherDragsGoToTheWindowAround() {
        struct CTaker : QWidget {
            QList<QEvent::Type> taken;
            bool event(QEvent* pEvent) override {
                if (pEvent->type() == QEvent::DragEnter || pEvent->type() == QEvent::DragMove ||
                    pEvent->type() == QEvent::Drop) {
                    taken << pEvent->type();
                    static_cast<QDropEvent*>(pEvent)->acceptProposedAction();
                    return true;
                }
                return QWidget::event(pEvent);
            }
        } taker;
        taker.setAcceptDrops(true);
        CProjectBench b;
        b.Add(1, 1);
        auto pView = OpenKitView(b.doc, 1, false);
        pView->setParent(&taker);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/other.qly"))});
        QCOMPARE(DragAndDrop(*pView, data, ControlCentre(*pView, VariationKnob(0))),
                 qMakePair(true, true));
        QCOMPARE(taker.taken,
                 (QList<QEvent::Type>{QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}));
    }

    void escapePutsTheTextBack_data() {
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<QString>("typed");
        QTest::newRow("name") << kName << "Jazz";
        QTest::newRow("level") << LevelLcd(0) << "12";
    }
    // Escape shows again what the read-out showed before the typing; leaving it then takes
    // nothing, and typing goes on from the first cell.
    void escapePutsTheTextBack() {
        QFETCH(unsigned, nId);
        QFETCH(QString, typed);
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(2, 1, 8, 100);
        b.Open(1);
        const QByteArray shown = b.Text(nId);
        const QByteArray stored = b.doc.SaveToBytes();
        QWidget* pLcd = b.pView->Control(nId);
        QTest::mouseClick(pLcd, Qt::LeftButton, {}, QPoint(8, 1));
        QTest::keyClicks(pLcd, typed);
        QVERIFY(b.Text(nId) != shown);
        QTest::keyClick(pLcd, Qt::Key_Escape);
        QCOMPARE(b.Text(nId), shown);
        QCOMPARE(b.pView->ControlAs<CDLcd>(nId)->GetCursor(), 0);
        QTest::keyClick(pLcd, Qt::Key_Return);
        QCOMPARE(b.Text(nId), shown);
        QCOMPARE(b.Value(Level(0)), 100);
        QCOMPARE(b.doc.SaveToBytes(), stored);
        QVERIFY(!b.doc.IsModified());
        QVERIFY(b.Sent().isEmpty());
    }
};

QUENLEY_REGISTER_TEST(TestKitView)
#include "TestKitView.moc"

#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QTest>

using namespace KitIds;

// The kit window following changes made elsewhere: other windows, other kits and variations,
// sections leaving the project.
class TestKitViewFollows : public QObject {
    Q_OBJECT

private slots:
    // The second window is never operated, so it need not be on screen.
    void twoWindowsOnOneKitStayInStep() {
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(2, 1, 8, 100);
        b.Add(2, 3, 8, 77);
        b.Add(2, 0)->SetActive(true);
        b.Open(1);
        auto pOther = OpenKitView(b.doc, 1, false);
        const struct {
            unsigned nId;
            const char* pszInput;
        } steps[] = {
            {VariationKnob(0), "+2"}, {Level(0), "+1"}, {kName, "Jazz"}, {kActive, ""}, {kInit, ""},
            {VariationLcd(0), "000"}};
        for (const auto& step : steps) {
            b.Operate(step.nId, step.pszInput);
            QVERIFY2(PanelState(*b.pView) == PanelState(*pOther), qPrintable(step.pszInput));
            QCOMPARE(pOther->ColumnVariation(0), b.pView->ColumnVariation(0));
            if (step.nId == kActive)
                QCOMPARE(b.doc.FindActiveVariationOfKind(2), b.Find(2, 3));
        }
        QCOMPARE(pOther->windowTitle(), QString(" Kit001 Bank000*"));
        QCOMPARE(pOther->GetVariation(), b.Find(1, 1));
    }

    void changesElsewhere_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("nLevelShown"); // -1: the panel stays as it was
        QTest::newRow("another kit") << 1 << 2 << -1;
        QTest::newRow("a kick the kit does not use") << 2 << 9 << -1;
        QTest::newRow("the kick the kit uses") << 2 << 1 << 150;
    }
    void changesElsewhere() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(int, nLevelShown);
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(1, 2, 8, 9);
        b.Add(2, 1);
        b.Add(2, 9);
        b.Open(1);
        const SPanelState before = PanelState(*b.pView);
        CSection* pChanged = b.Find(nKind, nNumber);
        pChanged->SetParam(8, nKind == 1 ? 1 : 150);
        pChanged->SetName("Other");
        pChanged->SetActive(true);
        b.doc.UpdateAllViews(nullptr, 0, pChanged);
        if (nLevelShown < 0)
            QCOMPARE(PanelState(*b.pView), before);
        else
            QCOMPARE(b.Value(Level(0)), nLevelShown);
        QCOMPARE(b.pView->GetVariation(), b.Find(1, 1));
    }

    // The window went undefined on kit 4 before kit 4 appeared; a number without a kit after
    // that still shows the undefined panel.
    void aKitWithTheChosenNumberAppears() {
        CKitBench b;
        b.Add(1, 3)->SetName("Old     ");
        b.Open(3);
        b.Operate(kKitKnob, "+1");
        CSection* pKit = b.Add(1, 4);
        pKit->SetName("New     ");
        b.doc.UpdateAllViews(nullptr, 0, pKit);
        QCOMPARE(b.pView->GetVariation(), pKit);
        QCOMPARE(b.Caption(), QString(" Kit004 Bank000 "));
        QCOMPARE(b.Text(kName), QByteArray("New     "));
        b.Operate(kKitKnob, "+1");
        QCOMPARE(b.pView->GetVariation(), nullptr);
        QCOMPARE(b.Caption(), QString(" Undefined"));
        QCOMPARE(b.Text(kName), QByteArray("-Undef.-"));
    }

    void aVariationWithTheChosenNumberAppears_data() {
        QTest::addColumn<bool>("bActive");
        QTest::newRow("active kit") << true;
        QTest::newRow("inactive kit") << false;
    }
    // The mark it gets in an active kit is saved with the project.
    void aVariationWithTheChosenNumberAppears() {
        QFETCH(bool, bActive);
        CKitBench b;
        b.Add(1, 1, 8, 6)->SetActive(bActive);
        b.Open(1);
        CSection* pKick = b.Add(2, 6, 8, 66);
        b.doc.SetModifiedFlag(false);
        b.doc.UpdateAllViews(nullptr, 0, pKick);
        QCOMPARE(b.pView->ColumnVariation(0), pKick);
        QCOMPARE(b.Value(Level(0)), 66);
        QCOMPARE(pKick->IsActive(), bActive);
        QCOMPARE(b.doc.IsModified(), bActive);
    }

    void refreshingChangesNothing_data() {
        QTest::addColumn<int>("nKitValue"); // what the active kit uses of the kicks
        QTest::addColumn<int>("nKick");     // the unmarked kick the window is told of
        QTest::addColumn<bool>("bList");    // told the kicks came, else that the kick changed
        QTest::newRow("the kick it uses changed") << 6 << 6 << false;
        QTest::newRow("the kicks came") << 6 << 6 << true;
        QTest::newRow("kick 255 for a damaged value") << 300 << 255 << false;
    }
    // The window only shows; what the project does about the change is the document's.
    void refreshingChangesNothing() {
        QFETCH(int, nKitValue);
        QFETCH(int, nKick);
        QFETCH(bool, bList);
        CKitBench b;
        const std::int32_t values[19] = {'D', 'r', 'u', 'm', 's', ' ', ' ', ' ', nKitValue};
        b.Add(1, 1)->SetStoredFields(true, 1, "Drums   ", values);
        CSection* pKick = b.Add(2, nKick);
        b.Open(1);
        const QByteArray before = b.doc.SaveToBytes();
        if (bList)
            QVERIFY(b.pView->OnSectionListChanged(2));
        else
            b.pView->OnUpdate(nullptr, 0, pKick);
        QCOMPARE(b.doc.SaveToBytes(), before);
        QVERIFY(!b.doc.IsModified());
        QVERIFY(b.Sent().isEmpty());
    }

    void sectionLeavesTheProject_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<bool>("bStillShown");
        QTest::newRow("the shown kit") << 1 << 1 << false;
        QTest::newRow("another kit") << 1 << 2 << true;
        QTest::newRow("the kick the kit uses") << 2 << 1 << true;
    }
    // A level without its variation changes nothing.
    void sectionLeavesTheProject() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(bool, bStillShown);
        CKitBench b;
        b.Add(1, 1, 8, 1);
        b.Add(1, 2);
        b.Add(2, 1, 8, 100);
        b.Open(1);
        QVERIFY(b.doc.RemoveVariation(b.Find(nKind, nNumber)));
        QCOMPARE(b.pView->OnSectionListChanged(nKind), bStillShown);
        QCOMPARE(b.pView->GetVariation(), b.Find(1, 1));
        QCOMPARE(b.pView->ColumnVariation(0), bStillShown ? b.Find(2, 1) : nullptr);
        QCOMPARE(b.Caption(), QString(bStillShown ? " Kit001 Bank000 " : " Undefined"));
        QCOMPARE(b.Value(Level(0)), nNumber == 2 ? 100 : 0);
        b.Operate(Level(0), "+1");
        QCOMPARE(b.Sent().size(), nNumber == 2 ? 1 : 0);
    }
};

QUENLEY_REGISTER_TEST(TestKitViewFollows)
#include "TestKitViewFollows.moc"

#include "TestMain.h"
#include "ViewBench.h"

#include <QTest>

// The instrument editors following changes made elsewhere: another window on the same
// variation, kits, variations leaving the project, and kinds that share a panel and a number.
class TestInstrumentViewsFollow : public QObject {
    Q_OBJECT

private slots:
    void twoWindowsStayInStep_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<bool>("bExisting");
        QTest::addColumn<QStringList>("steps");
        using L = QStringList;
        QTest::newRow("kick") << 3 << true << L{"2590 +1", "2505", "2560 005", "2515 Boom", "2510"};
        QTest::newRow("snare") << 4 << true << L{"3585 -1", "3505", "3510"};
        QTest::newRow("low tom") << 5 << true << L{"3655 +2", "3605", "3615 Low"};
        QTest::newRow("hi-hat") << 7 << true << L{"4150 +1", "4155 -1", "4005", "4015"};
        QTest::newRow("ride") << 11 << true << L{"3900 +2", "3810", "3905 -1", "3815"};
        QTest::newRow("LFOs") << 12 << true << L{"4310 +2", "4210", "4275 099", "4220"};
        QTest::newRow("LFOs, made by Init.") << 12 << false << L{"4220", "4320 +1", "4225 Wob"};
        QTest::newRow("crash, made by Init.") << 10 << false << L{"3815", "3880 -1"};
    }
    // The second window is never operated, so it need not be on screen.
    void twoWindowsStayInStep() {
        QFETCH(int, nType);
        QFETCH(bool, bExisting);
        QFETCH(QStringList, steps);
        CViewBench b;
        if (bExisting)
            Fill(b.Add(PanelIds(nType).nKind, 5), 4);
        b.Open(nType, 5);
        auto pOther = OpenView(b.doc, nType, 5, false);
        for (const QString& step : steps) {
            b.Operate(step);
            QVERIFY2(PanelSnapshot(*b.pView) == PanelSnapshot(*pOther), qPrintable(step));
            QCOMPARE(pOther->GetVariation(), b.pView->GetVariation());
        }
        QVERIFY(pOther->GetVariation());
    }

    void kitChange_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nKitParam");
        QTest::addColumn<bool>("bRefreshed");
        QTest::newRow("rimshot, kit value 14") << 9 << 14 << true;
        QTest::newRow("rimshot, kit value 13") << 9 << 13 << false;
        QTest::newRow("low tom, kit value 10") << 5 << 10 << true;
        QTest::newRow("low tom, kit value 11") << 5 << 11 << false;
        QTest::newRow("high tom, kit value 11") << 6 << 11 << true;
        QTest::newRow("kick, kit value 8") << 3 << 8 << true;
        QTest::newRow("LFOs, kit value 17") << 12 << 17 << true;
        QTest::newRow("LFOs, kit value 16") << 12 << 16 << false;
    }
    // Variation 5 is marked active behind the window's back; kit 2 tells whether it uses it.
    void kitChange() {
        QFETCH(int, nType);
        QFETCH(int, nKitParam);
        QFETCH(bool, bRefreshed);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        CSection* pVariation = b.Add(ids.nKind, 5);
        b.Open(nType, 5);
        const QString strCaption = QStringLiteral(" %1%2 ").arg(ids.pszLabel, "005");
        QCOMPARE(b.Caption(), strCaption);
        pVariation->SetActive(true);
        CSection* pKit = b.Add(Kinds::kKit, 2, nKitParam, 5);
        b.doc.UpdateAllViews(nullptr, 0, pKit);
        QCOMPARE(b.Caption(), bRefreshed ? strCaption.chopped(1) + '*' : strCaption);
        QCOMPARE(b.Shown(ids.nActive), QByteArray(bRefreshed ? "lit" : "dark"));
        QCOMPARE(b.pView->GetVariation(), pVariation);
    }

    void deletedElsewhere_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<QList<int>>("others"); // view types on the same number
        QTest::newRow("crash") << 10 << QList<int>{8, 9, 11};
        QTest::newRow("low tom") << 5 << QList<int>{6};
        QTest::newRow("LFOs") << 12 << QList<int>{3, 7, 12};
    }
    // As the main frame destroys the active window's variation. A second window of the same
    // type on another number is left alone too.
    void deletedElsewhere() {
        QFETCH(int, nType);
        QFETCH(QList<int>, others);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        for (int nOther : others)
            Fill(b.Add(PanelIds(nOther).nKind, nOther == nType ? 4 : 3), nOther);
        Fill(b.Add(ids.nKind, 3), 1);
        b.Open(nType, 3);
        std::vector<std::unique_ptr<CDView>> views;
        QList<QStringList> before;
        for (int nOther : others) {
            views.push_back(OpenView(b.doc, nOther, nOther == nType ? 4 : 3, false));
            before << PanelSnapshot(*views.back());
        }
        CSection* pVariation = b.pView->GetVariation();
        QVERIFY(pVariation);
        const int nKind = pVariation->GetKind();
        QVERIFY(b.doc.RemoveVariation(pVariation));
        b.doc.SectionListChanged(nKind);

        QCOMPARE(b.pView->GetVariation(), nullptr);
        QCOMPARE(b.Caption(), QString(" Undefined"));
        QCOMPARE(b.Shown(ids.nName), QByteArray(" - Undefined -  "));
        QCOMPARE(b.Shown(ids.nNumberLcd), QByteArray("003"));
        if (ids.nLabel)
            QCOMPARE(b.Shown(ids.nLabel), QByteArray(ids.pszLabel));
        for (qsizetype i = 0; i < others.size(); ++i) {
            QCOMPARE(PanelSnapshot(*views[size_t(i)]), before[i]);
            QVERIFY(views[size_t(i)]->GetVariation());
        }
        for (const Panels::SControl& row : b.pView->PanelTable().controls)
            if (row.binding.eRole == Panels::ERole::Param && row.eKind == Panels::EKind::Knob)
                b.Operate(QStringLiteral("%1 +1").arg(row.nId));
        QVERIFY(b.Sent().isEmpty());
    }

    // Both toms on number 4 are different variations; each window edits its own.
    void tomsOnOneNumber() {
        CViewBench b;
        CSection* pLow = b.Add(Kinds::kLowTom, 4, 0, 10);
        CSection* pHigh = b.Add(Kinds::kHighTom, 4, 0, 40);
        pHigh->SetParam(1, 0x05);
        b.Open(5, 4);
        auto pHighView = OpenView(b.doc, 6, 4, false);
        QCOMPARE(b.pView->GetVariation(), pLow);
        QCOMPARE(pHighView->GetVariation(), pHigh);
        QCOMPARE(b.Shown(3630), QByteArray("010"));
        QCOMPARE(Shown(*pHighView, 3630), QByteArray("040"));
        QCOMPARE(b.Shown(3620), QByteArray("LoTo"));
        QCOMPARE(Shown(*pHighView, 3620), QByteArray("HiTo"));
        QCOMPARE(pHighView->windowTitle(), QString(" HiTo004 "));
        const QStringList high = PanelSnapshot(*pHighView);

        b.Operate("3655 +1");
        b.Operate("3605");
        QCOMPARE(b.Sent(), QList<QByteArray>({InstrumentValue(Kinds::kLowTom, 4, 0, 11),
                                              InstrumentValue(Kinds::kLowTom, 4, 1, 207 & ~0x40)}));
        QCOMPARE(PanelSnapshot(*pHighView), high);
        QCOMPARE(Params(pHigh), QList<int>({40, 0x05, 200}));
    }
};

QUENLEY_REGISTER_TEST(TestInstrumentViewsFollow)
#include "TestInstrumentViewsFollow.moc"

#include "CDView.h"
#include "CQuenleyDoc.h"
#include "TestMain.h"
#include "ViewTypes.h"

#include <QTest>

// The view types the project files store, their names, and the views made for them.
class TestViewTypes : public QObject {
    Q_OBJECT

private slots:
    void types_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bBuilt");
        const char* names[] = {"",        "Kit-Info", "Kit",   "Kick",      "Snare",
                               "Low Tom", "High Tom", "HiHat", "Hand Clap", "Rimshot",
                               "Crash",   "Ride",     "LFOs",  ""};
        for (int n = 0; n <= 13; ++n)
            QTest::addRow("%d", n) << n << QString(names[n]) << (n >= 1 && n <= 12);
        QTest::newRow("-1") << -1 << QString() << false;
    }
    void types() {
        QFETCH(int, nType);
        QFETCH(QString, name);
        QFETCH(bool, bBuilt);
        CQuenleyDoc doc;
        QCOMPARE(ViewTypes::IsKnownViewType(nType), !name.isEmpty());
        QCOMPARE(ViewTypes::ViewTypeName(nType), name);
        std::unique_ptr<CDView> pView = ViewTypes::CreateView(nType, &doc);
        QCOMPARE(pView != nullptr, bBuilt);
        if (pView) {
            QCOMPARE(pView->GetViewType(), nType);
            QCOMPARE(doc.GetViews().size(), size_t(1));
        }
        QVERIFY(!ViewTypes::CreateView(nType, nullptr));
    }
};

QUENLEY_REGISTER_TEST(TestViewTypes)
#include "TestViewTypes.moc"

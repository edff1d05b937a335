#include "CHiHa.h"
#include "CInstrument.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CLoTo.h"
#include "CRide.h"
#include "CSmpl.h"
#include "CSnar.h"
#include "CTom.h"
#include "ModelTestUtil.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QTest>

namespace {
// A new variation sending through pQueue.
std::unique_ptr<CSection> Sending(CSection* pNew, CTransmitQueue* pQueue) {
    if (pNew)
        pNew->SetTransmitQueue(pQueue);
    return std::unique_ptr<CSection>(pNew);
}

template <class T> std::unique_ptr<CSection> Make(int nNumber, CTransmitQueue* pQueue = nullptr) {
    T templ;
    return Sending(templ.CreateVariation(nNumber), pQueue);
}

std::unique_ptr<CSection> MakeOfKind(int nKind, int nNumber, CTransmitQueue* pQueue = nullptr) {
    std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
    return Sending(templ ? templ->CreateVariation(nNumber) : nullptr, pQueue);
}

QByteArray Name(const CSection& s) { return QByteArray(s.GetName(), s.GetNameLength()); }
} // namespace

// Sections: their values, names, display strings and the exact messages they queue.
class TestSections : public QObject {
    Q_OBJECT

private slots:
    void singleValueMessages_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("nChannel");
        QTest::addColumn<int>("nIndex");
        QTest::addColumn<int>("nValue");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("kick 1 p3=200") << 2 << 1 << 0 << 3 << 200 << Hex("F0313E5600000C0148F7");
        QTest::newRow("snare 255 p5=7 ch10")
            << 3 << 255 << 9 << 5 << 7 << Hex("F0313E56091D7F0007F7");
        QTest::newRow("kit 300 p8=12") << 1 << 300 << 0 << 8 << 12 << Hex("F0313F56002C4C000CF7");
        QTest::newRow("value 128") << 2 << 0 << 0 << 0 << 128 << Hex("F0313E560000000100F7");
        QTest::newRow("value 127") << 2 << 0 << 0 << 0 << 127 << Hex("F0313E56000000007FF7");
        QTest::newRow("value 255") << 2 << 0 << 0 << 0 << 255 << Hex("F0313E56000000017FF7");
        QTest::newRow("top address") << 11 << 255 << 15 << 6 << 0 << Hex("F0313E560F7F7F0000F7");
        QTest::newRow("kit 767 p18") << 1 << 767 << 0 << 18 << 1 << Hex("F0313F5600717F0001F7");
    }
    void singleValueMessages() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(int, nChannel);
        QFETCH(int, nIndex);
        QFETCH(int, nValue);
        QFETCH(QByteArray, expected);
        CQueueFixture queue(nChannel);
        auto p = MakeOfKind(nKind, nNumber, &queue.m_wnd);
        QVERIFY(p);
        QVERIFY(p->SetParam(nIndex, nValue));
        QCOMPARE(p->GetParam(nIndex), nValue);
        QCOMPARE(queue.Queued(), QList<QByteArray>{expected});
        QCOMPARE(queue.Newest().nSection, nKind);
        QCOMPARE(queue.Newest().nVariation, nNumber);
        QCOMPARE(queue.Newest().nParam, nIndex);
    }

    void wholeVariationBlocks_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("low tom 2 defaults") << 4 << 2 << Hex("F0313E56001E0601480 14F0148F7");
        QTest::newRow("kick 0 defaults")
            << 2 << 0 << Hex("F0313E56000000015D001A007F0000014800000148012001 7FF7");
        QTest::newRow("LFOs 255: 6 of 7 values")
            << 11 << 255 << Hex("F0313E56007F79000000000000000000000000F7");
        QTest::newRow("kit 1: 18 of 19 values")
            << 1 << 1 << Hex("F0313F560000130055006E00740069007400 6C00650064000000000000000000"
                             "0000000000000000000000F7");
    }
    void wholeVariationBlocks() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(QByteArray, expected);
        CQueueFixture queue;
        auto p = MakeOfKind(nKind, nNumber, &queue.m_wnd);
        QVERIFY(p && p->SendAll());
        QCOMPARE(queue.Queued(), QList<QByteArray>{expected});
        const int nValues = (static_cast<int>(expected.size()) - 8) / 2;
        QCOMPARE(queue.Newest().nParam, CSysExItem::BlockKey(nValues));
        QCOMPARE(queue.Newest().nSection, nKind);
    }

    // Each kind's block is as long as its whole-variation send says, and every kind's blocks
    // tile its address range: variation v starts right after v - 1 ends.
    void blockExtentsAndAddresses() {
        for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k) {
            const Kinds::SKindInfo& info = Kinds::kKinds[static_cast<size_t>(k)];
            CQueueFixture queue;
            auto first = MakeOfKind(k, 0, &queue.m_wnd);
            auto last = MakeOfKind(k, info.nVariations - 1, &queue.m_wnd);
            QVERIFY(first && last);
            QCOMPARE(first->GetParamCount(), info.nParams);
            QCOMPARE(last->Address(info.nParams - 1) + 1 - first->Address(0),
                     info.nVariations * info.nParams);
            first->SendAll();
            QCOMPARE(queue.Queued().first().size(), 2 * info.nBlockValues + 8);
            QCOMPARE(queue.Queued().first().back(), '\xF7');
        }
        QCOMPARE(MakeOfKind(Kinds::kLfos, 255)->Address(6), 0x3FFF);
    }

    // What a damaged file can hold and the module cannot take: nothing of it is sent.
    void sendFaults_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("nIndex");
        QTest::addColumn<int>("nValue");
        QTest::addColumn<int>("eFault");
        QTest::addColumn<int>("nFaultIndex");
        const int kNone = static_cast<int>(CSection::ESendFault::kNone);
        const int kNumber = static_cast<int>(CSection::ESendFault::kNumber);
        const int kValue = static_cast<int>(CSection::ESendFault::kValue);
        QTest::newRow("kick 255, value 255") << int(Kinds::kKick) << 255 << 8 << 255 << kNone << -1;
        QTest::newRow("kit 767, value 0") << int(Kinds::kKit) << 767 << 18 << 0 << kNone << -1;
        QTest::newRow("kick 256") << int(Kinds::kKick) << 256 << 0 << 1 << kNumber << -1;
        QTest::newRow("kick -1") << int(Kinds::kKick) << -1 << 0 << 1 << kNumber << -1;
        QTest::newRow("kit 768") << int(Kinds::kKit) << 768 << 0 << 1 << kNumber << -1;
        QTest::newRow("LFOs value -1") << int(Kinds::kLfos) << 3 << 0 << -1 << kValue << 0;
        QTest::newRow("snare value 256") << int(Kinds::kSnare) << 1 << 1 << 256 << kValue << 1;
        QTest::newRow("kit value 16384") << int(Kinds::kKit) << 5 << 18 << 16384 << kValue << 18;
        QTest::newRow("number before value") << int(Kinds::kRide) << 300 << 2 << 999 << kNumber << -1;
    }
    void sendFaults() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(int, nIndex);
        QFETCH(int, nValue);
        QFETCH(int, eFault);
        QFETCH(int, nFaultIndex);
        CQueueFixture queue;
        std::unique_ptr<CSection> p = MakeOfKind(nKind, 0, &queue.m_wnd);
        std::int32_t values[Kinds::kMaxParams] = {};
        values[nIndex] = nValue;
        QVERIFY(p->SetStoredFields(false, nNumber, "Damaged         ", values));
        int nFound = -1;
        QCOMPARE(static_cast<int>(p->SendFault(&nFound)), eFault);
        QCOMPARE(nFound, nFaultIndex);
        QCOMPARE(p->SendAll(), eFault == static_cast<int>(CSection::ESendFault::kNone));
        QCOMPARE(queue.Queued().size(), p->SendFault() == CSection::ESendFault::kNone ? 1 : 0);
    }

    void refusedValuesChangeNothing() {
        CQueueFixture queue;
        auto p = Make<CLoTo>(0, &queue.m_wnd);
        QCOMPARE(p->GetParam(3), CSection::kNoValue);
        QCOMPARE(p->GetParam(-1), CSection::kNoValue);
        QVERIFY(!p->SetParam(0, 256));
        QVERIFY(!p->SetParam(0, -1));
        QVERIFY(!p->SetParam(3, 1));
        QVERIFY(!p->SetParam(-1, 1));
        QCOMPARE(p->GetParam(0), 200);
        QCOMPARE(queue.Queued().size(), 0);
        auto kit = Make<CKit>(0, &queue.m_wnd);
        QVERIFY(kit->SetParam(18, 77));
        QCOMPARE(kit->GetParam(18), 77);
    }

    void defaults() {
        auto kit = Make<CKit>(0);
        const int expected[19] = {85, 110, 116, 105, 116, 108, 101, 100};
        for (int i = 0; i < 19; ++i)
            QCOMPARE(kit->GetParam(i), expected[i]);
        QCOMPARE(Name(*kit), QByteArray("Untitled"));
        auto hihat = Make<CHiHa>(9);
        QCOMPARE(Name(*hihat), QByteArray("Untitled        "));
        QCOMPARE(hihat->GetParam(7), 0x9C);
        QCOMPARE(Make<CRide>(0)->GetParam(4), 0x84);
        QCOMPARE(Make<CSnar>(0)->GetParam(3), 0xC9);
        QVERIFY(!hihat->IsActive());
    }

    void namesKeepTheirLength() {
        CQueueFixture queue;
        auto kick = Make<CKick>(0, &queue.m_wnd);
        QVERIFY(kick->SetName("Kick"));
        QCOMPARE(Name(*kick), QByteArray("Kicktled        "));
        QVERIFY(kick->SetName("A name far longer than sixteen"));
        QCOMPARE(Name(*kick), QByteArray("A name far longe"));
        QCOMPARE(kick->GetName()[16], '\0');
        QVERIFY(!kick->SetName(nullptr));
        QCOMPARE(queue.Queued().size(), 0); // instrument names are not sent

        // A kit mirrors its name into values 0..7 and sends them as one block.
        auto kit = Make<CKit>(5, &queue.m_wnd);
        kit->SetParam(0, 1);
        queue.Clear();
        QVERIFY(kit->SetName("Untitled"));
        QCOMPARE(kit->GetParam(0), int('U'));
        QCOMPARE(queue.Queued(),
                 QList<QByteArray>{Hex("F0313F5600005F0055006E00740069007400 6C00650064F7")});
        QCOMPARE(queue.Newest().nParam, CSysExItem::BlockKey(8));
        queue.Clear();
        QVERIFY(kit->SetName("\xE9t\xE9"));
        QCOMPARE(kit->GetParam(0), 0xE9);
        QCOMPARE(queue.Queued().first().mid(7, 2), Hex("0169")); // 0xE9 as two 7-bit bytes
    }

    void displayStrings_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("kick 5") << 2 << 5 << QByteArray("Kick005 Untitled        ");
        QTest::newRow("kick 12") << 2 << 12 << QByteArray("Kick012 Untitled        ");
        QTest::newRow("LFOs 255") << 11 << 255 << QByteArray("LFOs255 Untitled        ");
        QTest::newRow("kit 300") << 1 << 300 << QByteArray("Kit 044 Bank001 Untitled");
        QTest::newRow("kit 511") << 1 << 511 << QByteArray("Kit 255 Bank001 Untitled");
        QTest::newRow("kit 512") << 1 << 512 << QByteArray("Kit 000 Bank002 Untitled");
        QTest::newRow("kit 767") << 1 << 767 << QByteArray("Kit 255 Bank002 Untitled");
    }
    void displayStrings() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(QByteArray, expected);
        QCOMPARE(MakeOfKind(nKind, nNumber)->GetDisplayString(), expected);
    }

    void creationRangesAndClasses() {
        QVERIFY(!Make<CKick>(256));
        QVERIFY(!Make<CKick>(-1));
        QVERIFY(Make<CKit>(767));
        QVERIFY(!Make<CKit>(768));
        QVERIFY(!Make<CSection>(0));
        QVERIFY(!Make<CInstrument>(0));
        QVERIFY(!Make<CTom>(0));
        QVERIFY(!Make<CSmpl>(0));
        QVERIFY(CSection().GetDisplayString().isNull());
        for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k) {
            auto p = MakeOfKind(k, 3);
            QCOMPARE(p->GetKind(), k);
            QCOMPARE(p->GetNumber(), 3);
            QCOMPARE(QByteArray(p->GetRuntimeClass()->pszName),
                     QByteArray(Kinds::kKinds[static_cast<size_t>(k)].pszClass));
        }
        // Variations are independent objects.
        CKick templ;
        std::unique_ptr<CSection> a(templ.CreateVariation(1)), b(templ.CreateVariation(1));
        a->SetParam(0, 1);
        QCOMPARE(b->GetParam(0), 221);
        QCOMPARE(templ.GetNumber(), CSection::kNoValue);
    }

    void copyTakesNameAndValuesOnly() {
        CQueueFixture queue;
        auto from = Make<CSnar>(1, &queue.m_wnd);
        auto to = Make<CSnar>(2, &queue.m_wnd);
        from->SetName("Fat");
        from->SetParam(5, 9);
        from->SetActive(true);
        queue.Clear();
        QVERIFY(to->CopyFrom(*from));
        QCOMPARE(Name(*to), Name(*from));
        QCOMPARE(to->GetParam(5), 9);
        QCOMPARE(to->GetNumber(), 2);
        QVERIFY(!to->IsActive());
        QVERIFY(!to->CopyFrom(*Make<CKick>(1, &queue.m_wnd)));
        QCOMPARE(queue.Queued().size(), 0);
    }

    // Without a transmit window values are still stored, and nothing is built.
    void noTransmitWindowStillStores() {
        auto p = Make<CKick>(0);
        QVERIFY(p->SetParam(1, 5));
        QCOMPARE(p->GetParam(1), 5);
        QVERIFY(!p->SendParam(1, 0, 5));
        QVERIFY(!p->SendBlock(nullptr, 0));
        const std::int32_t values[1] = {1};
        QVERIFY(!p->SendBlock(values, 1));
        QVERIFY(p->SendAll());
        QVERIFY(p->SetName("X"));
        QCOMPARE(Make<CKit>(0)->SetName("Y"), true);
    }

    // Quick changes of one value leave only the latest waiting; a single message never takes
    // the place of a waiting block, whatever its index.
    void queueReplacement() {
        CQueueFixture queue;
        auto kit = Make<CKit>(4, &queue.m_wnd);
        kit->SetParam(9, 1);
        kit->SetParam(9, 2);
        kit->SetParam(10, 3);
        QCOMPARE(queue.Queued().size(), 2);
        QCOMPARE(queue.Queued().last().at(8), '\x03');
        QCOMPARE(queue.Queued().first().at(8), '\x02');
        queue.Clear();
        kit->SendAll();
        kit->SetParam(15, 7);
        kit->SetName("Name");
        QCOMPARE(queue.Queued().size(), 3);
        kit->SendAll();
        QCOMPARE(queue.Queued().size(), 3); // a block replaces the same block
    }

    void absoluteAddressMessage() {
        CQueueFixture queue;
        auto p = Make<CHiHa>(7, &queue.m_wnd);
        p->SendAbsolute(0x3FFF, 1, 0x7F); // queued; false only says the port is closed
        QCOMPARE(queue.Queued(), QList<QByteArray>{Hex("F0313F56007F7F017FF7")});
        QCOMPARE(queue.Newest().nSection, 0);
        QCOMPARE(queue.Newest().nVariation, 7);
        QCOMPARE(queue.Newest().nParam, CSection::kNoValue);
    }
};

QUENLEY_REGISTER_TEST(TestSections)
#include "TestSections.moc"

#include "CQuenleyDoc.h"
#include "FakeViews.h"
#include "KitOperations.h"
#include "ModelTestUtil.h"
#include "RuntimeClasses.h"
#include "StepList.h"
#include "TestMain.h"

#include <QTest>

#include <memory>
#include <utility>

namespace {

CSection* Add(CQuenleyDoc& doc, int nKind, int nNumber) {
    const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
    return doc.FindOrCreateVariation(pTemplate.get(), nNumber);
}

// Kit 5 "Groove" uses kick 3 and snare 4; kit 6 "Live", active, uses kick nKick6 (4 unless
// given), and kick 4 is marked. Kick 5, snare 6, hi-hat 5 and kick 255 exist besides.
void MakeProject(CQuenleyDoc& doc, int nKick6 = 4) {
    for (auto [nKind, nNumber] : {std::pair{2, 3}, {2, 4}, {2, 5}, {2, 255}, {3, 4}, {3, 6}, {6, 5}})
        Add(doc, nKind, nNumber);
    const std::int32_t groove[19] = {'G', 'r', 'o', 'o', 'v', 'e', ' ', ' ', 3, 4};
    Add(doc, Kinds::kKit, 5)->SetStoredFields(false, 5, "Groove  ", groove);
    const std::int32_t live[19] = {'L', 'i', 'v', 'e', ' ', ' ', ' ', ' ', nKick6};
    Add(doc, Kinds::kKit, 6)->SetStoredFields(true, 6, "Live    ", live);
    doc.FindVariationOfKind(Kinds::kKick, 4)->SetActive(true);
}

// The marked sections in store order: "Kick 4".
QStringList Marks(const CQuenleyDoc& doc) {
    QStringList marks;
    for (const auto& p : doc.GetSectionList())
        if (p->IsActive())
            marks << QStringLiteral("%1 %2").arg(Kinds::KindName(p->GetKind())).arg(p->GetNumber());
    return marks;
}

QList<QByteArray> HexList(const QStringList& hex) {
    QList<QByteArray> list;
    for (const QString& s : hex)
        list << QByteArray::fromHex(s.toLatin1());
    return list;
}

} // namespace

// The kit rules as the document runs them, without any window: what each sends, which marks
// it moves, and that each is one step of the history.
class TestKitOperations : public QObject {
    Q_OBJECT

private slots:
    void operations_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("nKit");
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<QString>("step"); // empty: nothing done
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("marks");
        const QString strUntitled = "0055006e007400690074006c00650064";
        const QStringList unchanged{"Kick 4", "Kit 6"};
        QTest::newRow("Init. makes kit 5 of bank 1")
            << "init" << 261 << 0 << 0 << "Kit 005 Bank 001 Init."
            << QStringList{"f0313f560026670005f7", "f0313f5600266b0005f7",
                           "f0313f5600265f" + strUntitled + "0005000000000000" + "0005" +
                               QString("0000").repeated(5) + "f7"}
            << unchanged;
        QTest::newRow("Init. renames the active kit and marks snare 6")
            << "init" << 6 << 0 << 0 << "Kit 006 Bank 000 Init."
            << QStringList{"f0313f56000072" + strUntitled + "f7", "f0313f5600007b0006f7",
                           "f0313f56000072" + strUntitled + "00040006" +
                               QString("0000").repeated(8) + "f7"}
            << QStringList{"Snare 6", "Kick 4", "Kit 6"};
        QTest::newRow("no kit 768") << "init" << 768 << 0 << 0 << "" << QStringList{} << unchanged;
        QTest::newRow("Active moves every mark")
            << "activate" << 5 << 0 << 0 << "Kit 005 Bank 000 Active" << QStringList{}
            << QStringList{"Snare 4", "Kick 3", "Kit 5"};
        QTest::newRow("Active on the active kit")
            << "activate" << 6 << 0 << 0 << "" << QStringList{} << unchanged;
        QTest::newRow("kick 5 in the active kit")
            << "choose" << 6 << 2 << 5 << "Kit 006 Bank 000 Kick Variation"
            << QStringList{"f0313f5600007a0005f7"} << QStringList{"Kick 5", "Kit 6"};
        QTest::newRow("hi-hat 5 in an inactive kit")
            << "choose" << 5 << 6 << 5 << "Kit 005 Bank 000 HiHa Variation"
            << QStringList{"f0313f5600006b0005f7"} << unchanged;
        QTest::newRow("the kick it uses") << "choose" << 5 << 2 << 3 << "" << QStringList{}
                                          << unchanged;
        QTest::newRow("no such number") << "choose" << 5 << 2 << 256 << "" << QStringList{}
                                        << unchanged;
    }
    void operations() {
        QFETCH(QString, op);
        QFETCH(int, nKit);
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(QString, step);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, marks);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        MakeProject(doc);
        doc.SetModifiedFlag(false);
        queue.Clear();
        CStepList& history = AttachStepList(doc);
        const QByteArray before = doc.SaveToBytes();

        CSection* pKit = doc.FindVariationOfKind(Kinds::kKit, nKit);
        bool bDone = false;
        if (op == "init")
            bDone = KitOperations::Init(doc, nKit) != nullptr;
        else if (op == "activate")
            bDone = KitOperations::Activate(doc, *pKit);
        else
            bDone = KitOperations::ChooseVariation(doc, *pKit, nKind, nNumber);
        QCOMPARE(bDone, !step.isEmpty());
        QCOMPARE(queue.Queued(), HexList(sent));
        QCOMPARE(Marks(doc), marks);
        QCOMPARE(doc.IsModified(), bDone);
        QCOMPARE(history.names, step.isEmpty() ? QStringList() : QStringList{step});
        if (!bDone) {
            QCOMPARE(doc.SaveToBytes(), before);
            return;
        }
        doc.ApplyChange(history.steps.front(), false);
        QCOMPARE(doc.SaveToBytes(), before);
    }

    void kitWindowsFollow_data() {
        QTest::addColumn<int>("nKick6");     // what the active kit 6 uses of the kicks
        QTest::addColumn<int>("nAnnounced"); // the kick changed; -1: the kicks came or went
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("the kick it uses") << 4 << 4 << QStringList{} << QStringList{"Kick 4", "Kit 6"};
        QTest::newRow("the kicks came") << 4 << -1 << QStringList{} << QStringList{"Kick 4", "Kit 6"};
        QTest::newRow("a kick it does not use") << 4 << 5 << QStringList{} << QStringList{"Kit 6"};
        QTest::newRow("a damaged value, kick 255")
            << 300 << 255 << QStringList{"f0313f5600007a017ff7"}
            << QStringList{"Kick 255", "Kit 6"};
    }
    // Kick 4 has lost its mark. The follower is the window that shows kit 6 and takes up the
    // kick itself; any other window is told the kit changed.
    void kitWindowsFollow() {
        QFETCH(int, nKick6);
        QFETCH(int, nAnnounced);
        QFETCH(QStringList, sent);
        QFETCH(QStringList, marks);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        MakeProject(doc, nKick6);
        doc.FindVariationOfKind(Kinds::kKick, 4)->SetActive(false);
        CSection* pKit = doc.FindVariationOfKind(Kinds::kKit, 6);
        CFakeView follower(2, pKit), other(3, nullptr);
        follower.m_pFollowed = pKit;
        doc.AddView(&follower);
        doc.AddView(&other);
        doc.SetModifiedFlag(false);
        queue.Clear();

        if (nAnnounced < 0)
            doc.SectionListChanged(Kinds::kKick);
        else
            doc.UpdateAllViews(nullptr, 0, doc.FindVariationOfKind(Kinds::kKick, nAnnounced));
        QCOMPARE(queue.Queued(), HexList(sent));
        QCOMPARE(Marks(doc), marks);
        QCOMPARE(doc.IsModified(), marks.size() > 1);
        QVERIFY(!follower.updates.contains(pKit));
        QCOMPARE(other.updates.contains(pKit), !sent.isEmpty());
        doc.RemoveView(&follower);
        doc.RemoveView(&other);
    }
};

QUENLEY_REGISTER_TEST(TestKitOperations)
#include "TestKitOperations.moc"

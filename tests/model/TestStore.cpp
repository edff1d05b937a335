#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CQuenleyDoc.h"
#include "CSnar.h"
#include "FakeViews.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QTest>

namespace {
QStringList Order(const CQuenleyDoc& doc) {
    QStringList list;
    for (const auto& p : doc.GetSectionList())
        list << QString::fromLatin1(p->GetDisplayString().left(7));
    return list;
}
} // namespace

// The project's variation store: order, find-or-create, removal and the active mark.
class TestStore : public QObject {
    Q_OBJECT

    CKick m_kick;
    CSnar m_snare;
    CKit m_kit;
    CLFOs m_lfos;

private slots:
    void keepsKindsDescendingAndNumbersAscending() {
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&m_kick, 5);
        doc.FindOrCreateVariation(&m_kit, 300);
        doc.FindOrCreateVariation(&m_kick, 2);
        doc.FindOrCreateVariation(&m_snare, 0);
        doc.FindOrCreateVariation(&m_lfos, 255);
        doc.FindOrCreateVariation(&m_kit, 0);
        doc.FindOrCreateVariation(&m_kick, 9);
        QCOMPARE(Order(doc), QStringList({"LFOs255", "Snar000", "Kick002", "Kick005", "Kick009",
                                          "Kit 000", "Kit 044"}));
        QVERIFY(doc.IsModified());
    }

    void findOrCreateReturnsTheExistingObject() {
        CQuenleyDoc doc;
        CSection* p = doc.FindOrCreateVariation(&m_kick, 7);
        QVERIFY(p);
        doc.SetModifiedFlag(false);
        QCOMPARE(doc.FindOrCreateVariation(&m_kick, 7), p);
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.FindVariation(&m_kick, 7), p);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKick, 7), p);
        QVERIFY(!doc.FindVariation(&m_kick, 8));
        QVERIFY(!doc.FindVariation(&m_snare, 7));
        QVERIFY(!doc.FindVariation(nullptr, 7));
        QVERIFY(!doc.FindVariationOfKind(0, 7));
        QVERIFY(!doc.FindOrCreateVariation(nullptr, 1));
        QVERIFY(!doc.FindOrCreateVariation(&m_kick, 256));
        QCOMPARE(doc.GetSectionList().size(), size_t(1));
        QVERIFY(!doc.IsModified()); // a failed creation changes nothing
    }

    void creationSendsNothing() {
        CQueueFixture queue;
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&m_kit, 1);
        QCOMPARE(queue.Queued().size(), 0);
    }

    void removal() {
        CQuenleyDoc doc;
        CSection* a = doc.FindOrCreateVariation(&m_kick, 1);
        CSection* b = doc.FindOrCreateVariation(&m_kick, 2);
        doc.SetModifiedFlag(false);
        CKick stranger;
        QVERIFY(!doc.RemoveVariation(&stranger));
        QVERIFY(!doc.RemoveVariation(nullptr));
        QVERIFY(!doc.IsModified());
        QVERIFY(doc.RemoveVariation(a));
        QVERIFY(doc.IsModified());
        QCOMPARE(Order(doc), QStringList{"Kick002"});
        QCOMPARE(doc.FindOrCreateVariation(&m_kick, 1)->GetNumber(), 1);
        QCOMPARE(Order(doc), QStringList({"Kick001", "Kick002"}));
        QCOMPARE(doc.FindVariation(&m_kick, 2), b);
    }

    void activeMarkMovesWithinAKind() {
        CQuenleyDoc doc;
        CFakeView view(2, nullptr);
        doc.AddView(&view);
        CSection* k1 = doc.FindOrCreateVariation(&m_kit, 1);
        CSection* k2 = doc.FindOrCreateVariation(&m_kit, 2);
        CSection* kick = doc.FindOrCreateVariation(&m_kick, 1);
        kick->SetActive(true);
        QVERIFY(doc.MakeActive(Kinds::kKit, 1));
        QCOMPARE(view.updates, QList<CSection*>{k1});
        QVERIFY(doc.MakeActive(Kinds::kKit, 1)); // already marked: nothing to tell
        QCOMPARE(view.updates.size(), 1);
        QVERIFY(doc.MakeActive(Kinds::kKit, 2));
        QCOMPARE(view.updates, QList<CSection*>({k1, k1, k2}));
        QVERIFY(!k1->IsActive() && k2->IsActive() && kick->IsActive());
        QCOMPARE(doc.FindActiveVariation(&m_kit), k2);
        QCOMPARE(doc.FindActiveVariationOfKind(Kinds::kKick), kick);
        QVERIFY(!doc.FindActiveVariationOfKind(0));
        // A number that does not exist clears the mark and fails.
        QVERIFY(!doc.MakeActive(Kinds::kKit, 9));
        QVERIFY(!k2->IsActive());
        QVERIFY(!doc.FindActiveVariation(&m_kit));
        doc.RemoveView(&view);
    }

    void sendProjectInListOrder() {
        CQueueFixture queue;
        CQuenleyDoc doc;
        QVERIFY(!doc.SendProject());
        doc.FindOrCreateVariation(&m_kit, 0);
        doc.FindOrCreateVariation(&m_kick, 0);
        doc.FindOrCreateVariation(&m_lfos, 0);
        QVERIFY(doc.SendProject());
        const QList<QByteArray> sent = queue.Queued();
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[0].size(), 20); // LFOs first, kits last
        QCOMPARE(sent[1].size(), 26);
        QCOMPARE(sent[2].size(), 44);
    }

    void updatesSkipTheSender() {
        CQuenleyDoc doc;
        CFakeView a(3, nullptr), b(4, nullptr);
        doc.AddView(&a);
        doc.AddView(&b);
        doc.AddView(&a);
        CSection* p = doc.FindOrCreateVariation(&m_kick, 0);
        doc.UpdateAllViews(&a, 0, p);
        QCOMPARE(a.updates.size(), 0);
        QCOMPARE(b.updates, QList<CSection*>{p});
        doc.SectionListChanged(Kinds::kKick);
        QCOMPARE(a.removedKinds, QList<int>{Kinds::kKick});
        QCOMPARE(b.removedKinds, QList<int>{Kinds::kKick});
    }
};

QUENLEY_REGISTER_TEST(TestStore)
#include "TestStore.moc"

#include "CArchive.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CQuenleyDoc.h"
#include "CSnar.h"
#include "FakeViews.h"
#include "RuntimeClasses.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList Order(const CQuenleyDoc& doc) {
    QStringList list;
    for (const auto& p : doc.GetSectionList())
        list << QString::fromLatin1(p->GetDisplayString().left(7));
    return list;
}

// One section of a hand-made project: kind, number, active mark and its first value.
struct SStored {
    int nKind;
    int nNumber;
    bool bActive;
    int nFirst;
};

// A project file listing the sections exactly in the order given, as only another program or
// a hand edit would write them.
QByteArray ProjectOf(std::initializer_list<SStored> sections) {
    QByteArray bytes;
    CArchive ar(bytes, CArchive::kStore);
    ar.WriteCount(static_cast<std::uint32_t>(sections.size()));
    for (const SStored& s : sections) {
        std::unique_ptr<CSection> templ(NewSectionOfKind(s.nKind));
        std::unique_ptr<CSection> p(templ->CreateVariation(0));
        std::int32_t values[Kinds::kMaxParams] = {};
        values[0] = s.nFirst;
        p->SetStoredFields(s.bActive, s.nNumber, "Stored name     ", values);
        ar.WriteObject(*p);
    }
    ar.WriteCount(0);
    return bytes;
}

int ActiveCount(const CQuenleyDoc& doc, int nKind) {
    int n = 0;
    for (const auto& p : doc.GetSectionList())
        n += p->GetKind() == nKind && p->IsActive() ? 1 : 0;
    return n;
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
        CQuenleyDoc doc(&queue.m_wnd);
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
        CQuenleyDoc doc(&queue.m_wnd);
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

    // Whatever order a file lists its sections in, the store gets them in its own, so every
    // look-up finds what is there and nothing is made twice.
    void loadingPutsSectionsInStoreOrder() {
        const QByteArray bytes = ProjectOf({{Kinds::kKick, 5, false, 50},
                                            {Kinds::kKit, 2, false, 20},
                                            {Kinds::kKick, 3, false, 30},
                                            {Kinds::kLfos, 0, false, 1},
                                            {Kinds::kKick, 1, false, 10},
                                            {Kinds::kKit, 300, false, 21}});
        CQuenleyDoc doc;
        QVERIFY(doc.LoadFromBytes(bytes));
        QCOMPARE(Order(doc), QStringList({"LFOs000", "Kick001", "Kick003", "Kick005", "Kit 002",
                                          "Kit 044"}));
        CSection* pKick3 = doc.FindVariation(&m_kick, 3);
        QVERIFY(pKick3);
        QCOMPARE(pKick3->GetParam(0), 30);
        QCOMPARE(doc.FindOrCreateVariation(&m_kick, 3), pKick3);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKit, 300)->GetParam(0), 21);
        QCOMPARE(doc.GetSectionList().size(), size_t(6));
        QVERIFY(!doc.IsModified());
        // A new one goes where it belongs among them.
        QVERIFY(doc.FindOrCreateVariation(&m_kick, 4));
        QCOMPARE(Order(doc).mid(1, 4), QStringList({"Kick001", "Kick003", "Kick004", "Kick005"}));

        // Saved in store order, it loads as it was saved.
        const QByteArray saved = doc.SaveToBytes();
        CQuenleyDoc again;
        QVERIFY(again.LoadFromBytes(saved));
        QCOMPARE(again.SaveToBytes(), saved);
    }

    void loadingRefusesANumberGivenTwice_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("next to each other")
            << ProjectOf({{Kinds::kKick, 3, false, 1}, {Kinds::kKick, 3, false, 2}});
        QTest::newRow("apart, out of order")
            << ProjectOf({{Kinds::kKick, 3, false, 1},
                          {Kinds::kSnare, 3, false, 1},
                          {Kinds::kKick, 1, false, 1},
                          {Kinds::kKick, 3, true, 2}});
        QTest::newRow("kits") << ProjectOf({{Kinds::kKit, 767, false, 1},
                                            {Kinds::kKick, 0, false, 1},
                                            {Kinds::kKit, 767, false, 1}});
        QTest::newRow("out of range") << ProjectOf({{Kinds::kLfos, 256, false, 1},
                                                    {Kinds::kLfos, 256, false, 1}});
    }
    void loadingRefusesANumberGivenTwice() {
        QFETCH(QByteArray, bytes);
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&m_kick, 9);
        QVERIFY(!doc.LoadFromBytes(bytes));
        QVERIFY(doc.GetSectionList().empty());

        QTemporaryDir dir;
        const QString strPath = dir.filePath(QStringLiteral("twice.qly"));
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(!doc.OnOpenDocument(strPath));
        QCOMPARE(doc.LastError(), QStringLiteral("Unexpected file format."));
    }

    // Files with several marks of a kind may exist; the first in store order is the one a
    // search finds, so it stays, and moving the mark then leaves exactly one.
    void loadingKeepsTheFirstActiveMarkOfAKind() {
        const QByteArray bytes = ProjectOf({{Kinds::kKick, 5, true, 50},
                                            {Kinds::kLfos, 7, true, 1},
                                            {Kinds::kKick, 3, true, 30},
                                            {Kinds::kKick, 1, false, 10},
                                            {Kinds::kLfos, 2, true, 1},
                                            {Kinds::kSnare, 0, true, 1}});
        CQuenleyDoc doc;
        QVERIFY(doc.LoadFromBytes(bytes));
        QCOMPARE(ActiveCount(doc, Kinds::kKick), 1);
        QCOMPARE(ActiveCount(doc, Kinds::kLfos), 1);
        QCOMPARE(ActiveCount(doc, Kinds::kSnare), 1);
        QCOMPARE(doc.FindActiveVariation(&m_kick), doc.FindVariation(&m_kick, 3));
        QCOMPARE(doc.FindActiveVariationOfKind(Kinds::kLfos)->GetNumber(), 2);
        QVERIFY(!doc.FindVariation(&m_kick, 5)->IsActive());

        QVERIFY(doc.MakeActive(Kinds::kKick, 5));
        QCOMPARE(ActiveCount(doc, Kinds::kKick), 1);
        QCOMPARE(doc.FindActiveVariation(&m_kick)->GetNumber(), 5);
        QVERIFY(doc.MakeActive(Kinds::kKick, 1));
        QCOMPARE(ActiveCount(doc, Kinds::kKick), 1);
        QCOMPARE(ActiveCount(doc, Kinds::kSnare), 1);
    }

    // A section that cannot be sent as it is stays out of the project send, and is named.
    void sendProjectSkipsWhatCannotBeSent() {
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        QVERIFY(doc.LoadFromBytes(ProjectOf({{Kinds::kKick, 256, false, 1},
                                             {Kinds::kKick, 4, false, 16384},
                                             {Kinds::kKick, 5, false, 255},
                                             {Kinds::kKit, 768, false, 1},
                                             {Kinds::kSnare, 0, false, -1}})));
        std::vector<const CSection*> skipped;
        QVERIFY(doc.SendProject(&skipped));
        QCOMPARE(queue.Queued().size(), 1);
        QCOMPARE(queue.Oldest().nVariation, 5);
        QStringList names;
        for (const CSection* p : skipped)
            names << QString::fromLatin1(p->GetDisplayString().left(7));
        QCOMPARE(names, QStringList({"Snar000", "Kick004", "Kick256", "Kit 000"}));
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

#include "CEditHistory.h"
#include "CKick.h"
#include "CKit.h"
#include "CQuenleyDoc.h"
#include "FakeViews.h"
#include "KitSounds.h"
#include "ModelTestUtil.h"
#include "RuntimeClasses.h"
#include "StepList.h"
#include "TestMain.h"

#include <QTest>

#include <algorithm>

// The document's side of undo: what one edit records, and putting sections back.
class TestEditHistory : public QObject {
    Q_OBJECT

    CKick m_kick;
    CKit m_kit;

    static CStepList& Attach(CQuenleyDoc& doc) {
        doc.SetHistory(std::make_unique<CStepList>());
        return static_cast<CStepList&>(*doc.History());
    }

private slots:
    // A section a damaged project holds under a number its kind does not have is destroyed
    // and put back as it was, and nothing is sent for it either way.
    void damagedNumberComesBack() {
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pKick = doc.FindOrCreateVariation(&m_kick, 5);
        const std::int32_t values[9] = {1, 2, 3, 4, 5, 6, 7, 300, 9};
        pKick->SetStoredFields(true, 300, "Broken          ", values);
        CStepList& history = Attach(doc);
        CFakeView view(3, nullptr);
        doc.AddView(&view);

        doc.BeginEdit();
        doc.RemoveVariation(pKick);
        doc.SectionListChanged(Kinds::kKick);
        doc.EndEdit(QStringLiteral("Destroy %1"));
        QCOMPARE(history.names, QStringList{"Destroy Kick 300"});
        QVERIFY(doc.IsModified());

        queue.Clear();
        view.removedKinds.clear();
        doc.ApplyChange(history.steps.front(), false);
        CSection* pBack = doc.FindVariationOfKind(Kinds::kKick, 300);
        QVERIFY(pBack);
        QVERIFY(pBack->IsActive());
        QCOMPARE(QByteArray(pBack->GetName()), QByteArray("Broken          "));
        QCOMPARE(pBack->GetParam(7), 300);
        QVERIFY(queue.Queued().isEmpty());
        QCOMPARE(view.removedKinds, QList<int>{Kinds::kKick});
        QCOMPARE(view.updates, QList<CSection*>{pBack});
        QVERIFY(doc.IsModified()); // the history never went back to its saved state

        doc.ApplyChange(history.steps.front(), true);
        QVERIFY(!doc.FindVariationOfKind(Kinds::kKick, 300));
        QVERIFY(queue.Queued().isEmpty());
        doc.RemoveView(&view);
    }

    // Destroying several sections is one step, undone and redone whole, and the views hear once
    // per kind, kits first: a kit window lets go of a destroyed kit before the sounds are looked
    // at. A key naming no section is passed over.
    void destroySections_data() {
        QTest::addColumn<QByteArray>("keys"); // "kind number" lines
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("several") << QByteArray("2 5\n1 3\n2 6\n3 1\n2 99\n2 5")
                                 << QList<int>{Kinds::kKit, Kinds::kKick, Kinds::kSnare}
                                 << QStringList{"Destroy 4 variations"};
        QTest::newRow("one") << QByteArray("3 1") << QList<int>{Kinds::kSnare}
                             << QStringList{"Destroy Snar 001"};
        QTest::newRow("none there") << QByteArray("2 99") << QList<int>{} << QStringList{};
    }
    void destroySections() {
        QFETCH(QByteArray, keys);
        QFETCH(QList<int>, kinds);
        QFETCH(QStringList, steps);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        for (const SSectionKey& key : SectionKeys::Decode("2 5\n2 6\n2 7\n3 1\n1 3\n1 4")) {
            const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(key.nKind));
            QVERIFY(doc.FindOrCreateVariation(pTemplate.get(), key.nNumber));
        }
        CStepList& history = Attach(doc);
        CFakeView view(2, nullptr);
        doc.AddView(&view);
        const std::vector<SSectionKey> selection = SectionKeys::Decode(keys);
        const QByteArray before = doc.SaveToBytes();
        const auto nRemoved = qsizetype(doc.FindSections(selection).size());

        QCOMPARE(doc.DestroySections(selection), nRemoved);
        QVERIFY(doc.FindSections(selection).empty());
        QCOMPARE(qsizetype(doc.GetSectionList().size()), 6 - nRemoved);
        QCOMPARE(view.removedKinds, kinds);
        QCOMPARE(history.names, steps);
        QVERIFY(queue.Queued().isEmpty());
        doc.RemoveView(&view);
        if (!history.steps.empty()) {
            doc.ApplyChange(history.steps.front(), false);
            QCOMPARE(doc.SaveToBytes(), before);
            doc.ApplyChange(history.steps.front(), true);
            QVERIFY(doc.FindSections(selection).empty());
        }
    }

    // Brackets nest and the outermost one records; a change outside any bracket keeps the
    // project modified whatever the history does, until it is saved.
    void bracketsAndUnrecordedChanges() {
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pKit = doc.FindOrCreateVariation(&m_kit, 3);
        doc.SetModifiedFlag(false);
        CStepList& history = Attach(doc);

        doc.BeginEdit();
        doc.BeginEdit();
        pKit->SetParam(18, 40);
        doc.EndEdit(QStringLiteral("inner"));
        QVERIFY(history.steps.empty());
        pKit->SetParam(17, 41);
        doc.EndEdit(QStringLiteral("%1 Level"));
        QCOMPARE(history.names, QStringList{"Kit 003 Bank 000 Level"});
        QCOMPARE(history.steps.front().Entries().size(), size_t(1));

        // An edit that changes nothing is no step.
        doc.BeginEdit();
        pKit->SetParam(18, 40);
        doc.EndEdit(QStringLiteral("%1 Level"));
        QCOMPARE(history.steps.size(), size_t(1));

        history.ProjectSaved();
        doc.FollowHistory();
        QVERIFY(!doc.IsModified());
        doc.SetModifiedFlag(true);
        doc.BeginEdit();
        doc.EndEdit(QStringLiteral("%1 nothing"));
        QVERIFY(doc.IsModified());
        doc.SetModifiedFlag(false);
        doc.FollowHistory();
        QVERIFY(!doc.IsModified());

        // Undone, the kit gets its two values back as two messages.
        queue.Clear();
        doc.ApplyChange(history.steps.front(), false);
        QCOMPARE(pKit->GetParam(17), 0);
        QCOMPARE(pKit->GetParam(18), 0);
        QCOMPARE(queue.Queued().size(), 2);
    }

    // Steps joined into one: a value that goes and comes back, or a section made and
    // removed again, leaves nothing; the rest keeps its first before and last after.
    void joinedSteps() {
        CQuenleyDoc doc;
        CSection* pKick = doc.FindOrCreateVariation(&m_kick, 2);
        CStepList& history = Attach(doc);
        const auto Edit = [&doc](const std::function<void()>& f) {
            doc.BeginEdit();
            f();
            doc.EndEdit(QStringLiteral("%1"));
        };
        Edit([&] { pKick->SetParam(1, 90); });
        Edit([&] { pKick->SetParam(1, 91); });
        Edit([&] { pKick->SetParam(1, 26); });
        Edit([&] { doc.FindOrCreateVariation(&m_kick, 9); });
        Edit([&] { doc.RemoveVariation(doc.FindVariationOfKind(Kinds::kKick, 9)); });
        QCOMPARE(history.steps.size(), size_t(5));

        CProjectChange joined = history.steps[0];
        joined.Append(history.steps[1]);
        QCOMPARE(joined.Entries().size(), size_t(1));
        QCOMPARE(joined.Entries().front().before->values[1], 26);
        QCOMPARE(joined.Entries().front().after->values[1], 91);
        joined.Append(history.steps[2]);
        QVERIFY(joined.IsEmpty());
        CProjectChange madeAndGone = history.steps[3];
        madeAndGone.Append(history.steps[4]);
        QVERIFY(madeAndGone.IsEmpty());
        history.steps[0].Append(history.steps[3]);
        QCOMPARE(history.steps[0].Entries().size(), size_t(2));
        QCOMPARE(history.steps[0].SubjectTitle(Kinds::kKit), QStringLiteral("Kick 002"));
    }

    void createMissingSounds_data() {
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<QList<int>>("existing"); // kinds that have the variation the kit uses
        QTest::addColumn<int>("nDamagedKind");    // the kit names 300 for it; 0 for none
        QList<int> all;
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind)
            all << nKind;
        QTest::newRow("all ten, the LFOs too") << false << QList<int>{} << 0;
        QTest::newRow("snare and ride exist") << false << QList<int>{3, 10} << 0;
        QTest::newRow("nothing missing") << false << all << 0;
        QTest::newRow("active kit") << true << QList<int>{4} << 0;
        QTest::newRow("a number no variation has") << false << QList<int>{} << 5;
    }
    // Kit 7 uses variation 10 + kind of every kind; variation 1 of every kind exists and holds
    // the kind's mark, as an earlier active kit left it.
    void createMissingSounds() {
        QFETCH(bool, bActive);
        QFETCH(QList<int>, existing);
        QFETCH(int, nDamagedKind);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        std::int32_t kitValues[19] = {'D', 'r', 'u', 'm', 's', ' ', ' ', ' '};
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
            kitValues[Kinds::KitParamOfKind(nKind)] = nKind == nDamagedKind ? 300 : 10 + nKind;
            const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
            doc.FindOrCreateVariation(pTemplate.get(), 1)->SetActive(true);
            if (existing.contains(nKind))
                doc.FindOrCreateVariation(pTemplate.get(), 10 + nKind);
        }
        CSection* pKit = doc.FindOrCreateVariation(&m_kit, 7);
        pKit->SetStoredFields(bActive, 7, "Drums   ", kitValues);
        doc.SetModifiedFlag(false);
        queue.Clear();
        CStepList& history = Attach(doc);
        CFakeView view(2, pKit);
        doc.AddView(&view);
        const size_t nBefore = doc.GetSectionList().size();

        std::vector<KitSounds::SSound> expected;
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind)
            if (!existing.contains(nKind) && nKind != nDamagedKind)
                expected.push_back({nKind, 10 + nKind});
        QVERIFY(KitSounds::Missing(doc, *pKit) == expected);
        QCOMPARE(KitSounds::CreateMissing(doc, *pKit), int(expected.size()));
        QVERIFY(KitSounds::Missing(doc, *pKit).empty());
        QCOMPARE(doc.GetSectionList().size(), nBefore + expected.size());
        QVERIFY(std::is_sorted(doc.GetSectionList().begin(), doc.GetSectionList().end(),
                               [](const auto& a, const auto& b) {
                                   return Kinds::StoreOrderLess(a->GetKind(), a->GetNumber(),
                                                                b->GetKind(), b->GetNumber());
                               }));
        QVERIFY(!doc.FindVariationOfKind(nDamagedKind, 300));

        // Each made as Init. makes one, sent as one block, kick first; the marks follow an
        // active kit.
        QList<QByteArray> blocks;
        QList<int> kinds;
        const auto CheckMade = [&] {
            blocks.clear();
            for (const KitSounds::SSound& sound : expected) {
                const CSection* p = doc.FindVariationOfKind(sound.nKind, sound.nNumber);
                QVERIFY(p);
                QCOMPARE(QByteArray(p->GetName()), QByteArray(Kinds::kDefaultName));
                for (int i = 0; i < p->GetParamCount(); ++i)
                    QCOMPARE(p->GetParam(i), int(Kinds::Info(sound.nKind).defaults[size_t(i)]));
                QCOMPARE(p->IsActive(), bActive);
                QCOMPARE(doc.FindVariationOfKind(sound.nKind, 1)->IsActive(), !bActive);
                blocks << p->BlockMessage(0);
            }
        };
        CheckMade();
        if (QTest::currentTestFailed())
            return;
        for (const KitSounds::SSound& sound : expected)
            kinds << sound.nKind;
        QCOMPARE(queue.Queued(), blocks);
        QCOMPARE(view.removedKinds, kinds);
        QCOMPARE(doc.IsModified(), !expected.empty());
        if (expected.empty()) {
            QVERIFY(history.steps.empty());
            doc.RemoveView(&view);
            return;
        }
        QCOMPARE(history.names, QStringList{"Create missing sounds"});

        // Undone, the sounds are gone and nothing is sent; redone, they are back and sent.
        queue.Clear();
        doc.ApplyChange(history.steps.front(), false);
        QCOMPARE(doc.GetSectionList().size(), nBefore);
        QVERIFY(KitSounds::Missing(doc, *pKit) == expected);
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind)
            QVERIFY(doc.FindVariationOfKind(nKind, 1)->IsActive());
        QVERIFY(queue.Queued().isEmpty());
        doc.ApplyChange(history.steps.front(), true);
        CheckMade();
        if (QTest::currentTestFailed())
            return;
        // A redone step sends in store order, the LFOs first.
        std::reverse(blocks.begin(), blocks.end());
        QCOMPARE(queue.Queued(), blocks);
        doc.RemoveView(&view);
    }
};

QUENLEY_REGISTER_TEST(TestEditHistory)
#include "TestEditHistory.moc"

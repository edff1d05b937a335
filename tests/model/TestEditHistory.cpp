#include "CEditHistory.h"
#include "CKick.h"
#include "CKit.h"
#include "CQuenleyDoc.h"
#include "FakeViews.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QTest>

namespace {

// Keeps the steps it is given, clean while it has none past the saved count.
class CStepList : public CEditHistory {
public:
    void Record(const QString& strName, CProjectChange change, quint64) override {
        names << strName;
        steps.push_back(std::move(change));
    }
    bool IsClean() const override { return int(steps.size()) == nSaved; }
    void ProjectSaved() override { nSaved = int(steps.size()); }
    void ProjectReplaced() override {
        steps.clear();
        names.clear();
        nSaved = 0;
    }
    std::vector<CProjectChange> steps;
    QStringList names;
    int nSaved = 0;
};

} // namespace

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
        CQuenleyDoc doc;
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

    // Brackets nest and the outermost one records; a change outside any bracket keeps the
    // project modified whatever the history does, until it is saved.
    void bracketsAndUnrecordedChanges() {
        CQueueFixture queue;
        CQuenleyDoc doc;
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
};

QUENLEY_REGISTER_TEST(TestEditHistory)
#include "TestEditHistory.moc"

#include "CEditHistory.h"
#include "CKick.h"
#include "CKit.h"
#include "CQuenleyDoc.h"
#include "CSnar.h"
#include "CopyOperations.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QTest>

#include <tuple>

namespace {

// The names of the steps recorded.
class CStepNames : public CEditHistory {
public:
    void Record(const QString& strName, CProjectChange, quint64) override { names << strName; }
    bool IsClean() const override { return names.isEmpty(); }
    void ProjectSaved() override {}
    void ProjectReplaced() override { names.clear(); }
    QStringList names;
};

// A kit 3 named strName using kick 4, snare 6 and a low tom 2 the project lacks; kick 4, snare 6,
// kick 7 and kick 9 with values counting up from nFill, nFill + 30, 10 and 90.
void Fill(CQuenleyDoc& doc, const char* pszName, int nFill) {
    const CKick kick;
    const CSnar snare;
    const CKit kit;
    for (auto [pKind, nNumber, nFrom] : {std::tuple<const CSection*, int, int>{&kick, 4, nFill},
                                         {&snare, 6, nFill + 30},
                                         {&kick, 7, 10},
                                         {&kick, 9, 90}}) {
        CSection* p = doc.FindOrCreateVariation(pKind, nNumber);
        for (int i = 0; i < p->GetParamCount(); ++i)
            p->SetParam(i, nFrom + i);
    }
    CSection* pKit = doc.FindOrCreateVariation(&kit, 3);
    pKit->SetName(pszName);
    for (auto [nParam, nUsed] : {std::pair{8, 4}, {9, 6}, {10, 2}})
        pKit->SetParam(nParam, nUsed);
}

} // namespace

// The copy rules as the document runs them: what is made and sent, what is asked, one step.
class TestCopy : public QObject {
    Q_OBJECT

private slots:
    void copies_data() {
        QTest::addColumn<bool>("bOtherProject");
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nTarget");
        QTest::addColumn<bool>("bStoreSounds");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("steps");
        const QString kKick7 = QStringLiteral("Kick007 always exist\noverwrite ? [OK/Cancel]");
        const QByteArray kick4Values = Hex("001E 001F 0020 0021 0022 0023 0024 0025 0026");
        QTest::newRow("kick to a new number")
            << false << int(Kinds::kKick) << 12 << false << QList<bool>{} << QStringList{}
            << Hex("F0313E56 00 006C") + kick4Values + Hex("F7") << "Kick 004 copied to Kick 012."
            << QStringList{"Copy to Kick 012"};
        QTest::newRow("kick over kick 7, OK")
            << false << int(Kinds::kKick) << 7 << false << QList<bool>{true} << QStringList{kKick7}
            << Hex("F0313E56 00 003F") + kick4Values + Hex("F7") << "Kick 004 copied to Kick 007."
            << QStringList{"Copy to Kick 007"};
        QTest::newRow("kick over kick 7, Cancel")
            << false << int(Kinds::kKick) << 7 << false << QList<bool>{false} << QStringList{kKick7}
            << QByteArray() << "" << QStringList{};
        // Kit 3 to number 4 of bank 1: this project's kick 4 is another sound, asked about and
        // kept; snare 6 goes to snare 4, and there is no low tom 2 to copy.
        QTest::newRow("kit and sounds from another project")
            << true << int(Kinds::kKit) << 260 << true << QList<bool>{false}
            << QStringList{"Kick004 always exist\noverwrite ? [Yes/No]"}
            << Hex("F0313F56 00 264C 0047 0072 006F 006F 0076 0065 0020 0020 F7"
                   "F0313E56 00 1218 0120 0121 0122 0123 0124 0125 F7"
                   "F0313F56 00 2655 0004 F7"
                   "F0313F56 00 264C 0047 0072 006F 006F 0076 0065 0020 0020 0000 0004"
                   "0000 0000 0000 0000 0000 0000 0000 0000 F7")
            << "Kit 003 Bank 000 copied to Kit 004 Bank 001 with 1 sound."
            << QStringList{"Copy to Kit 004 Bank 001"};
        // Kit 3 to kit 4 of its own project: kick 4 is its own sound already, nothing to copy.
        QTest::newRow("kit and sounds, one already under the number")
            << false << int(Kinds::kKit) << 4 << true << QList<bool>{} << QStringList{}
            << Hex("F0313F56 00 004C 0048 006F 006D 0065 0020 0020 0020 0020 F7"
                   "F0313F56 00 0054 0004 F7"
                   "F0313E56 00 1218 003C 003D 003E 003F 0040 0041 F7"
                   "F0313F56 00 0055 0004 F7"
                   "F0313F56 00 004C 0048 006F 006D 0065 0020 0020 0020 0020 0004 0004"
                   "0000 0000 0000 0000 0000 0000 0000 0000 F7")
            << "Kit 003 Bank 000 copied to Kit 004 Bank 000 with 2 sounds."
            << QStringList{"Copy to Kit 004 Bank 000"};
        QTest::newRow("kit onto itself") << false << int(Kinds::kKit) << 3 << true << QList<bool>{}
                                         << QStringList{} << QByteArray() << "" << QStringList{};
    }
    void copies() {
        QFETCH(bool, bOtherProject);
        QFETCH(int, nKind);
        QFETCH(int, nTarget);
        QFETCH(bool, bStoreSounds);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, questions);
        QFETCH(QByteArray, sent);
        QFETCH(QString, outcome);
        QFETCH(QStringList, steps);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CQuenleyDoc other;
        Fill(doc, "Home    ", 30);
        Fill(other, "Groove  ", 130);
        auto* pHistory = new CStepNames;
        doc.SetHistory(std::unique_ptr<CEditHistory>(pHistory));
        CQuenleyDoc& from = bOtherProject ? other : doc;
        queue.Clear();

        QStringList asked;
        const CopyOperations::FAsk ask = [&](const CopyOperations::SQuestion& q) {
            asked << q.strText + (q.bYesNo ? " [Yes/No]" : " [OK/Cancel]");
            return !answers.isEmpty() && answers.takeFirst();
        };
        const CSection& source = *from.FindVariationOfKind(nKind, nKind == Kinds::kKit ? 3 : 4);
        const CopyOperations::SResult result =
            CopyOperations::Copy(doc, from, source, nTarget, {bStoreSounds}, ask);
        QCOMPARE(asked, questions);
        QCOMPARE(queue.Queued().join().toHex(' '), sent.toHex(' '));
        QCOMPARE(result.strOutcome, outcome);
        QCOMPARE(result.pTarget,
                 outcome.isEmpty() ? nullptr : doc.FindVariationOfKind(nKind, nTarget));
        QCOMPARE(pHistory->names, steps);
    }
};

QUENLEY_REGISTER_TEST(TestCopy)
#include "TestCopy.moc"

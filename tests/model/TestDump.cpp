#include "CDumpPlan.h"
#include "CKick.h"
#include "CKit.h"
#include "CQuenleyDoc.h"
#include "CSysExReader.h"
#include "FakeViews.h"
#include "ModelTestUtil.h"
#include "ProjectSysEx.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QTest>

#include <cstring>

namespace {

using Counts = QList<int>; // one per CSysExReader::ESkip

QByteArray Single(int nKind, int nNumber, int nIndex, int nValue, int nChannel = 0) {
    return Message(Kinds::Info(nKind).nArea, AddressOf(nKind, nNumber, nIndex), {nValue}, nChannel);
}

Counts CountsOf(const CSysExReader& reader) {
    Counts counts;
    for (int i = 0; i < CSysExReader::kSkipCount; ++i)
        counts << reader.Skipped(CSysExReader::ESkip(i));
    return counts;
}

Counts Expect(std::initializer_list<std::pair<CSysExReader::ESkip, int>> pairs) {
    Counts counts(CSysExReader::kSkipCount, 0);
    for (const auto& [eSkip, n] : pairs)
        counts[eSkip] = n;
    return counts;
}

// Reads the bytes into the document as Receive Dump does, answering its question with yes.
int Receive(CQuenleyDoc& doc, const QByteArray& bytes, CSysExReader* pReader = nullptr) {
    CSysExReader local;
    CSysExReader& reader = pReader ? *pReader : local;
    reader.Read(bytes);
    CDumpPlan plan;
    plan.Make(reader, doc);
    return plan.Apply(doc);
}

// A variation with every value set apart from its defaults; a kit's name follows its values.
CSection* AddVariation(CQuenleyDoc& doc, int nKind, int nNumber, int nSeed, bool bActive,
                       const char* pszName) {
    std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
    CSection* p = doc.FindOrCreateVariation(templ.get(), nNumber);
    std::int32_t values[Kinds::kMaxParams] = {};
    char name[sizeof Kinds::kDefaultName] = {};
    std::strncpy(name, pszName, p->GetNameLength());
    for (int i = 0; i < p->GetParamCount(); ++i) {
        // Both ends of the byte and both sides of the 7-bit split come up.
        static constexpr int kSpecial[] = {0, 127, 128, 255};
        values[i] = i < 4 ? kSpecial[(i + nSeed) % 4] : (nSeed * 31 + i * 57) % 256;
        if (i < p->Info().nNameParams)
            values[i] = name[i] = char('A' + (nSeed + i) % 26);
    }
    p->SetStoredFields(bActive, nNumber, name, values);
    return p;
}

QByteArray NameOf(const CSection& s) {
    return QByteArray(s.GetName(), s.GetNameLength());
}

} // namespace

// Dumps: the project's messages as one byte string, reading them back into variations, and
// everything else a .syx file may hold.
class TestDump : public QObject {
    Q_OBJECT

private slots:
    void writerGivesWhatSendProjectQueues_data() {
        QTest::addColumn<int>("nChannel");
        QTest::newRow("channel 1") << 0;
        QTest::newRow("channel 10") << 9;
        QTest::newRow("channel 16") << 15;
    }
    void writerGivesWhatSendProjectQueues() {
        QFETCH(int, nChannel);
        CQueueFixture queue(nChannel);
        CQuenleyDoc doc(&queue.m_wnd);
        for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind) {
            AddVariation(doc, nKind, 0, nKind, false, "First");
            AddVariation(doc, nKind, Kinds::Info(nKind).nVariations - 1, nKind + 3, true, "Last");
        }
        // What a damaged file may hold is left out by both.
        CSection* pBad = AddVariation(doc, Kinds::kSnare, 7, 1, false, "Bad");
        std::int32_t values[Kinds::kMaxParams] = {200, 256, 3, 201, 7, 200};
        pBad->SetStoredFields(false, 7, "Bad             ", values);
        queue.Clear();

        std::vector<const CSection*> written;
        const QByteArray bytes =
            ProjectSysEx::Messages(doc, static_cast<std::uint8_t>(nChannel), &written);
        std::vector<const CSection*> sent;
        QVERIFY(doc.SendProject(&sent));
        QCOMPARE(bytes.toHex(' '), queue.Queued().join().toHex(' '));
        QCOMPARE(written, sent);
        QCOMPARE(written, std::vector<const CSection*>{pBad});
        QCOMPARE(queue.Queued().size(), 22);
    }

    // Every kind at both ends of its numbers, into an empty project and into one that holds the
    // same variations already.
    void roundTrip_data() {
        QTest::addColumn<int>("nKind");
        for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind)
            QTest::newRow(Kinds::Info(nKind).pszTrace) << nKind;
    }
    void roundTrip() {
        QFETCH(int, nKind);
        const Kinds::SKindInfo& info = Kinds::Info(nKind);
        const int nLast = info.nVariations - 1;
        CQuenleyDoc source;
        AddVariation(source, nKind, 0, 1, true, "Zero");
        AddVariation(source, nKind, nLast, 2, false, "Last");
        const QByteArray bytes = ProjectSysEx::Messages(source, 4);

        CQuenleyDoc fresh;
        CSysExReader reader;
        QCOMPARE(Receive(fresh, bytes, &reader), 2);
        QCOMPARE(reader.SkippedTotal(), 0);
        QCOMPARE(reader.Messages(), 2);
        QCOMPARE(reader.Channels(), std::uint16_t(1u << 4));
        QVERIFY(fresh.IsModified());
        QCOMPARE(fresh.GetSectionList().size(), std::size_t(2));
        for (int nNumber : {0, nLast}) {
            const CSection* pSource = source.FindVariationOfKind(nKind, nNumber);
            const CSection* p = fresh.FindVariationOfKind(nKind, nNumber);
            QVERIFY(p);
            for (int i = 0; i < info.nParams; ++i)
                QCOMPARE(p->GetParam(i),
                         i < info.nBlockValues ? pSource->GetParam(i) : int(info.defaults[i]));
            QVERIFY(!p->IsActive());
            if (nKind == Kinds::kKit)
                QCOMPARE(NameOf(*p), NameOf(*pSource));
            else
                QCOMPARE(NameOf(*p), QByteArray(Kinds::kDefaultName));
        }

        // Merging: what the messages carry replaces, everything else stays.
        CQuenleyDoc merged;
        AddVariation(merged, nKind, 0, 7, false, "Kept zero");
        AddVariation(merged, nKind, nLast, 8, true, "Kept last");
        AddVariation(merged, nKind, 1, 11, false, "Untouched");
        const QByteArray before = merged.SaveToBytes();
        merged.SetModifiedFlag(false);
        QCOMPARE(Receive(merged, bytes), 2);
        QVERIFY(merged.IsModified());
        QCOMPARE(merged.GetSectionList().size(), std::size_t(3));
        CQuenleyDoc old;
        QVERIFY(old.LoadFromBytes(before));
        for (int nNumber : {0, nLast, 1}) {
            const CSection* pSource = source.FindVariationOfKind(nKind, nNumber);
            const CSection* pOld = old.FindVariationOfKind(nKind, nNumber);
            const CSection* p = merged.FindVariationOfKind(nKind, nNumber);
            for (int i = 0; i < info.nParams; ++i)
                QCOMPARE(p->GetParam(i), pSource && i < info.nBlockValues ? pSource->GetParam(i)
                                                                          : pOld->GetParam(i));
            QCOMPARE(p->IsActive(), pOld->IsActive());
            QCOMPARE(NameOf(*p),
                     nKind == Kinds::kKit && pSource ? NameOf(*pSource) : NameOf(*pOld));
        }
    }

    void laterMessagesWin() {
        const int nKind = Kinds::kHiHat;
        const QByteArray block = Message(Kinds::kInstrumentArea, AddressOf(nKind, 7, 0),
                                         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        CQuenleyDoc doc;
        Receive(doc, block + Single(nKind, 7, 3, 200) + Single(nKind, 7, 5, 17));
        const CSection* p = doc.FindVariationOfKind(nKind, 7);
        QCOMPARE(p->GetParam(3), 200);
        QCOMPARE(p->GetParam(5), 17);
        QCOMPARE(p->GetParam(4), 5);
        // The other way round, the block's values stand.
        CQuenleyDoc other;
        Receive(other, Single(nKind, 7, 3, 200) + Single(nKind, 7, 3, 199) + block);
        QCOMPARE(other.FindVariationOfKind(nKind, 7)->GetParam(3), 4);
    }

    // Values only single messages write: the last LFO value and the last kit value.
    void singleMessagesBeyondTheBlock() {
        CQuenleyDoc doc;
        AddVariation(doc, Kinds::kLfos, 255, 1, false, "LFO");
        Receive(doc, Single(Kinds::kLfos, 255, 6, 99) + Single(Kinds::kKit, 767, 18, 3) +
                         Single(Kinds::kKit, 767, 2, 'X'));
        const CSection* pLfo = doc.FindVariationOfKind(Kinds::kLfos, 255);
        QCOMPARE(pLfo->GetParam(6), 99);
        QCOMPARE(NameOf(*pLfo).left(3), QByteArray("LFO"));
        const CSection* pKit = doc.FindVariationOfKind(Kinds::kKit, 767);
        QCOMPARE(pKit->GetParam(18), 3);
        // The kit's name follows its values: only the third character was written.
        QCOMPARE(NameOf(*pKit), QByteArray("UnXitled"));
        QCOMPARE(pKit->GetParam(2), int('X'));
    }

    // The module writes a block's values at consecutive addresses: past one variation's end they
    // land in the next one's values, past the end of the area nowhere.
    void blocksRunOnAsInTheModule() {
        QList<int> values;
        for (int i = 0; i < 12; ++i)
            values << 100 + i;
        CQuenleyDoc doc;
        AddVariation(doc, Kinds::kSnare, 0, 4, true, "Existing snare");
        CSysExReader reader;
        Receive(doc,
                Message(Kinds::kInstrumentArea, AddressOf(Kinds::kKick, 255, 0), values) +
                    Message(Kinds::kInstrumentArea, AddressOf(Kinds::kLfos, 255, 5), {1, 2, 3}) +
                    Message(Kinds::kKitArea, AddressOf(Kinds::kKit, 767, 17), {4, 5, 6, 7}),
                &reader);
        const CSection* pKick = doc.FindVariationOfKind(Kinds::kKick, 255);
        const CSection* pSnare = doc.FindVariationOfKind(Kinds::kSnare, 0);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(pKick->GetParam(i), 100 + i);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(pSnare->GetParam(i), 109 + i);
        QVERIFY(pSnare->IsActive());
        const CSection* pLfo = doc.FindVariationOfKind(Kinds::kLfos, 255);
        QCOMPARE(pLfo->GetParam(5), 1);
        QCOMPARE(pLfo->GetParam(6), 2);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKit, 767)->GetParam(18), 5);
        QCOMPARE(reader.Skipped(CSysExReader::kBeyondMemory), 3);
        QCOMPARE(reader.Messages(), 3);
        QCOMPARE(doc.GetSectionList().size(), std::size_t(4));
    }

    // Each kind of damage alone, between two good messages, both of which still arrive.
    void skipsAndCountsDamage_data() {
        using R = CSysExReader;
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<Counts>("expected");
        QTest::newRow("other maker")
            << Hex("F0 43 10 4C 00 00 7E 00 F7") << Expect({{R::kOtherDevice, 1}});
        QTest::newRow("universal") << Hex("F0 7E 7F 06 01 F7") << Expect({{R::kOtherDevice, 1}});
        QTest::newRow("other model")
            << Hex("F0 31 3E 57 00 00 00 00 01 F7") << Expect({{R::kOtherDevice, 1}});
        QTest::newRow("other area")
            << Hex("F0 31 3D 56 00 00 00 00 01 F7") << Expect({{R::kOtherArea, 1}});
        QTest::newRow("note on, program change")
            << Hex("90 3C 40 C5 07") << Expect({{R::kOtherMessage, 2}});
        QTest::newRow("running status") << Hex("90 3C 40 3E 40 40 40")
                                        << Expect({{R::kOtherMessage, 1}, {R::kRunningStatus, 2}});
        QTest::newRow("running status, one byte")
            << Hex("D3 10 11 12") << Expect({{R::kOtherMessage, 1}, {R::kRunningStatus, 2}});
        QTest::newRow("system common")
            << Hex("F2 01 02 F1 03 F6") << Expect({{R::kOtherMessage, 3}});
        QTest::newRow("real-time") << Hex("F8 FE FF") << Expect({{R::kOtherMessage, 3}});
        QTest::newRow("stray data") << Hex("12 34 7F") << Expect({{R::kStrayByte, 3}});
        QTest::newRow("data after system common")
            << Hex("F6 12") << Expect({{R::kOtherMessage, 1}, {R::kStrayByte, 1}});
        QTest::newRow("end without start") << Hex("F7") << Expect({{R::kStrayByte, 1}});
        QTest::newRow("undefined status") << Hex("F4 F5") << Expect({{R::kStrayByte, 2}});
        QTest::newRow("cut by the next message")
            << Hex("F0 31 3E 56 00 00 00 00") << Expect({{R::kTruncated, 1}});
        QTest::newRow("cut by a note") << Hex("F0 31 3E 56 00 00 00 00 90 3C 40")
                                       << Expect({{R::kTruncated, 1}, {R::kOtherMessage, 1}});
        QTest::newRow("note cut short") << Hex("90 3C") << Expect({{R::kTruncated, 1}});
        QTest::newRow("empty") << Hex("F0 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("maker only") << Hex("F0 31 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("no value") << Hex("F0 31 3E 56 00 00 00 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("half a value")
            << Hex("F0 31 3E 56 00 00 00 00 01 00 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("value above 255")
            << Hex("F0 31 3E 56 00 00 00 00 01 02 00 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("channel byte above 15")
            << Hex("F0 31 3E 56 10 00 00 00 01 F7") << Expect({{R::kDamaged, 1}});
        QTest::newRow("beyond the kits")
            << Hex("F0 31 3F 56 00 72 00 00 01 00 02 F7") << Expect({{R::kBeyondMemory, 2}});
    }
    void skipsAndCountsDamage() {
        QFETCH(QByteArray, damage);
        QFETCH(Counts, expected);
        const QByteArray first = Single(Kinds::kKick, 1, 0, 11);
        const QByteArray second = Single(Kinds::kKick, 2, 0, 22);
        CQuenleyDoc doc;
        CSysExReader reader;
        QCOMPARE(Receive(doc, first + damage + second, &reader), 2);
        QCOMPARE(CountsOf(reader), expected);
        QCOMPARE(reader.Messages(), 2);
        QCOMPARE(doc.GetSectionList().size(), std::size_t(2));
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKick, 1)->GetParam(0), 11);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKick, 2)->GetParam(0), 22);
    }

    // A file with all of that at once, cut off at the end, and real-time bytes inside our
    // messages, which the module ignores there.
    void handMadeFileWithEveryDamage() {
        QByteArray file = Hex("12 F7 F4");
        file += Hex("F0 43 10 4C 00 00 7E 00 F7") + Hex("F0 31 3D 56 00 00 00 00 01 F7");
        QByteArray withClock = Single(Kinds::kClap, 3, 2, 201, 9);
        withClock.insert(8, '\xF8');
        file += withClock;
        file += Hex("B0 7B 00 7B 00");
        file += Hex("F0 31 3E 56 00 00 00 00") + Single(Kinds::kRide, 4, 5, 129);
        file += Hex("F0 31 3E 56 00 00 00 00 01 02 00 F7");
        file += Hex("F0 31 3F 56 00 72 00 00 01 F7");
        file += Hex("F0 31 3F 56 00 00 00 00 41");
        CQuenleyDoc doc;
        CSysExReader reader;
        QCOMPARE(Receive(doc, file, &reader), 2);
        using R = CSysExReader;
        QCOMPARE(CountsOf(reader), Expect({{R::kOtherDevice, 1},
                                           {R::kOtherArea, 1},
                                           {R::kOtherMessage, 2},
                                           {R::kRunningStatus, 1},
                                           {R::kStrayByte, 3},
                                           {R::kTruncated, 2},
                                           {R::kDamaged, 1},
                                           {R::kBeyondMemory, 1}}));
        QCOMPARE(doc.FindVariationOfKind(Kinds::kClap, 3)->GetParam(2), 201);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kRide, 4)->GetParam(5), 129);
        QCOMPARE(reader.Channels(), std::uint16_t(1u << 9 | 1u << 0));
        const QString strText = CDumpPlan::SkippedText(reader);
        QCOMPARE(strText,
                 QStringLiteral("1 message for another device, 1 message for another part of the "
                                "module, 2 other MIDI messages, 1 message in running status, "
                                "3 stray bytes, 2 truncated messages, 1 damaged message, 1 value "
                                "beyond the module's memory"));
    }

    // What the question lists, what Apply tells the views, and that nothing goes to the module.
    void planListsAndAppliesWithoutSending() {
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        AddVariation(doc, Kinds::kKick, 3, 1, true, "Mine");
        CSection* pKit = AddVariation(doc, Kinds::kKit, 300, 2, false, "Kit");
        CSection* pKick = doc.FindVariationOfKind(Kinds::kKick, 3);
        CFakeView view(3, pKick);
        doc.AddView(&view);
        doc.SetModifiedFlag(false);
        queue.Clear();

        QByteArray bytes;
        for (int n : {3, 4, 5, 9})
            bytes += Single(Kinds::kKick, n, 1, 50);
        bytes += Single(Kinds::kKit, 300, 8, 1) + Single(Kinds::kKit, 301, 8, 1) +
                 Single(Kinds::kKit, 2, 8, 1) + Hex("F0 43 00 F7");
        CSysExReader reader;
        reader.Read(bytes);
        CDumpPlan plan;
        plan.Make(reader, doc);
        QCOMPARE(plan.Variations().size(), std::size_t(7));
        QCOMPARE(plan.ExistingCount(), 2);
        QCOMPARE(plan.Describe(reader), QStringList({
                                            "The dump holds 7 variations:",
                                            "  Kick: 003-005, 009",
                                            "  Kit Bank000: 002",
                                            "  Kit Bank001: 044-045",
                                            "It overwrites 2 variations of the project:",
                                            "  Kick: 003",
                                            "  Kit Bank001: 044",
                                            "Skipped: 1 message for another device.",
                                        }));
        // Making the plan changed nothing.
        QCOMPARE(doc.GetSectionList().size(), std::size_t(2));
        QVERIFY(!doc.IsModified());

        QCOMPARE(plan.Apply(doc), 7);
        QCOMPARE(doc.GetSectionList().size(), std::size_t(7));
        QVERIFY(doc.IsModified());
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKick, 3), pKick);
        QCOMPARE(doc.FindVariationOfKind(Kinds::kKit, 300), pKit);
        QCOMPARE(pKick->GetParam(1), 50);
        QCOMPARE(view.removedKinds, QList<int>({Kinds::kKit, Kinds::kKick}));
        QCOMPARE(view.updates.size(), 7);
        QVERIFY(view.updates.contains(pKick));
        QVERIFY(view.updates.contains(pKit));
        QVERIFY(queue.Queued().isEmpty());

        // The same dump again changes nothing and tells nobody.
        doc.SetModifiedFlag(false);
        view.updates.clear();
        view.removedKinds.clear();
        QCOMPARE(plan.Apply(doc), 0);
        QVERIFY(!doc.IsModified());
        QVERIFY(view.updates.isEmpty());
        QVERIFY(view.removedKinds.isEmpty());
        doc.RemoveView(&view);
    }

    // A whole module's worth fits the question: long runs become ranges, scattered numbers are
    // summed up.
    void longListsStayShort() {
        QByteArray bytes;
        for (int n = 0; n < 256; ++n)
            bytes += Single(Kinds::kRide, n, 0, 1);
        for (int n = 0; n < 60; n += 2)
            bytes += Single(Kinds::kClap, n, 0, 1);
        CQuenleyDoc doc;
        CSysExReader reader;
        reader.Read(bytes);
        CDumpPlan plan;
        plan.Make(reader, doc);
        const QStringList lines = plan.Describe(reader);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1], QStringLiteral("  Ride: 000-255"));
        QCOMPARE(lines[2], QStringLiteral("  Hand Clap: 000, 002, 004, 006, 008, 010, 012, 014, "
                                          "016, 018, 020, 022, and 18 more"));
    }
};

QUENLEY_REGISTER_TEST(TestDump)
#include "TestDump.moc"

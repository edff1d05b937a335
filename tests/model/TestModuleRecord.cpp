#include "CModuleRecord.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "ModelTestUtil.h"
#include "ModuleChanges.h"
#include "ProjectSysEx.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool Absorb(CModuleRecord& record, const QByteArray& bytes) {
    return record.AbsorbMessage(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                std::size_t(bytes.size()));
}

// Every message of a stream, one by one, as the port confirms them.
void AbsorbAll(CModuleRecord& record, const QByteArray& stream) {
    for (qsizetype i = 0; i < stream.size();) {
        const qsizetype nEnd = stream.indexOf('\xF7', i) + 1;
        QVERIFY(Absorb(record, stream.mid(i, nEnd - i)));
        i = nEnd;
    }
}

CSection* Add(CQuenleyDoc& doc, int nKind, int nNumber) {
    std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
    return doc.FindOrCreateVariation(templ.get(), nNumber);
}

enum class EState { Fresh, Sent, FewChanged, NewSection, OutsideBlock, AllOfOneChanged, PartKnown };

} // namespace

Q_DECLARE_METATYPE(EState)

// What the module holds, and what Send Changes makes of it.
class TestModuleRecord : public QObject {
    Q_OBJECT

private slots:
    void absorb_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("nKnown");
        QTest::addColumn<int>("nArea");
        QTest::addColumn<int>("nAddress");
        QTest::addColumn<int>("nValue");
        const QByteArray kick = Hex("F0313E5600000C0148F7"); // kick 1 value 3 = 200
        QTest::newRow("single value") << kick << 1 << 0x3E << 12 << 200;
        QTest::newRow("block") << Message(0x3E, AddressOf(Kinds::kLowTom, 2, 0), {200, 207, 200})
                               << 3 << 0x3E << AddressOf(Kinds::kLowTom, 2, 1) << 207;
        QTest::newRow("block received from the module, another channel byte")
            << Message(0x3F, AddressOf(Kinds::kKit, 5, 0), {'U', 'n', 't', 'i', 't', 'l', 'e', 'd'},
                       9)
            << 8 << 0x3F << AddressOf(Kinds::kKit, 5, 7) << int('d');
        QTest::newRow("block past the end of the kits")
            << Message(0x3F, CModuleRecord::kKitMemory - 2, {1, 2, 3, 4}) << 2 << 0x3F
            << CModuleRecord::kKitMemory - 1 << 2;
        QTest::newRow("another maker") << QByteArray(kick).replace(1, 1, "\x41") << 0 << 0x3E
                                       << 12 << -1;
        QTest::newRow("no end byte") << kick.left(9) << 0 << 0x3E << 12 << -1;
        QTest::newRow("value above 255") << QByteArray(kick).replace(7, 1, "\x02") << 0 << 0x3E
                                         << 12 << -1;
        QTest::newRow("channel byte 16") << QByteArray(kick).replace(4, 1, "\x10") << 0 << 0x3E
                                         << 12 << -1;
        QTest::newRow("another area") << QByteArray(kick).replace(2, 1, "\x40") << 0 << 0x3E << 12
                                      << -1;
        QTest::newRow("half a value") << QByteArray(kick).remove(8, 1) << 0 << 0x3E << 12 << -1;
    }
    void absorb() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, nKnown);
        QFETCH(int, nArea);
        QFETCH(int, nAddress);
        QFETCH(int, nValue);
        CModuleRecord record;
        QCOMPARE(Absorb(record, bytes), nKnown > 0);
        QCOMPARE(record.Known(), nKnown);
        QCOMPARE(record.ValueAt(std::uint8_t(nArea), nAddress), nValue);
    }

    // Written, read back, and a damaged file ignored with a reason and nothing known.
    void files_data() {
        QTest::addColumn<int>("nDamage");
        QTest::addColumn<bool>("bRead");
        QTest::newRow("as written") << 0 << true;
        QTest::newRow("cut short") << 1 << false;
        QTest::newRow("one byte changed") << 2 << false;
        QTest::newRow("another file") << 3 << false;
        QTest::newRow("a folder in its place") << 4 << false;
    }
    void files() {
        QFETCH(int, nDamage);
        QFETCH(bool, bRead);
        QTemporaryDir dir;
        const QString strPath = dir.filePath(CModuleRecord::FileName("Scripted A", 3));
        CModuleRecord written;
        QVERIFY(Absorb(written, Message(0x3E, 0x3FFF, {255})));
        QVERIFY(Absorb(written, Message(0x3F, 0, {0, 128, 7})));
        QString strWhy;
        QVERIFY(written.Save(strPath, strWhy));
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        if (nDamage == 1)
            bytes.chop(100);
        else if (nDamage == 2)
            bytes[8 + 2 * 0x3FFF] = char(bytes[8 + 2 * 0x3FFF] ^ 0x01); // 255 read as 254
        else if (nDamage == 3)
            bytes = "[General]\nkey=value\n";
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        if (nDamage == 4)
            QVERIFY(QFile::remove(strPath) && QDir().mkpath(strPath));

        CModuleRecord read;
        QVERIFY(Absorb(read, Message(0x3E, 0, {1})));
        QCOMPARE(read.Load(strPath, strWhy), bRead);
        QCOMPARE(strWhy.isEmpty(), bRead);
        QCOMPARE(read.Known(), bRead ? 4 : 0);
        QCOMPARE(read.ValueAt(0x3E, 0x3FFF), bRead ? 255 : -1);
        QCOMPARE(read.ValueAt(0x3F, 1), bRead ? 128 : -1);
        QCOMPARE(read.ValueAt(0x3E, 0), -1);
    }

    void savedEmptyLeavesNoFile() {
        QTemporaryDir dir;
        const QString strPath = dir.filePath("x.record");
        CModuleRecord record;
        QVERIFY(Absorb(record, Message(0x3E, 0, {1})));
        QString strWhy;
        QVERIFY(record.Save(strPath, strWhy));
        record.Forget();
        QVERIFY(record.Save(strPath, strWhy));
        QVERIFY(!QFile::exists(strPath));
        QVERIFY(record.Load(strPath, strWhy)); // no file: nothing known, nothing wrong
        QVERIFY(record.IsEmpty());
    }

    // The exact bytes of Send Changes, and the same bytes through the transmit queue.
    void changes_data() {
        QTest::addColumn<EState>("eState");
        QTest::addColumn<QByteArray>("expected"); // empty with bFull: Send project's bytes
        QTest::addColumn<bool>("bFull");
        QTest::addColumn<int>("nValues");
        const int nKick1 = AddressOf(Kinds::kKick, 1, 0);
        QTest::newRow("fresh record: Send project's bytes") << EState::Fresh << QByteArray() << true
                                                            << 9 + 9 + 6 + 18;
        QTest::newRow("nothing changed") << EState::Sent << QByteArray() << false << 0;
        QTest::newRow("a few values changed, as single messages")
            << EState::FewChanged
            << Message(0x3E, nKick1 + 3, {5}) + Message(0x3E, nKick1 + 8, {128}) +
                   Message(0x3F, AddressOf(Kinds::kKit, 0, 9), {7})
            << false << 3;
        QTest::newRow("a section never sent, as its block")
            << EState::NewSection
            << Message(0x3E, AddressOf(Kinds::kSnare, 4, 0), {200, 253, 3, 201, 7, 200}) << false
            << 6;
        QTest::newRow("an LFO value outside its block") << EState::OutsideBlock << QByteArray()
                                                        << false << 0;
        QByteArray all;
        for (int i = 0; i < 9; ++i)
            all += Message(0x3E, nKick1 + i, {i});
        // Nine single messages take 29 ms, the block 8 ms and its 200 ms pause.
        QTest::newRow("a whole section changed, singles being quicker")
            << EState::AllOfOneChanged << all << false << 9;
        QTest::newRow("a section known in part")
            << EState::PartKnown
            << Message(0x3E, nKick1 + 1, {26}) + Message(0x3E, nKick1 + 2, {127})
            << false << 2;
    }
    void changes() {
        QFETCH(EState, eState);
        QFETCH(QByteArray, expected);
        QFETCH(bool, bFull);
        QFETCH(int, nValues);
        CQueueFixture queue(0);
        CQuenleyDoc doc(&queue.m_wnd);
        Add(doc, Kinds::kKit, 0);
        CSection* pKick = Add(doc, Kinds::kKick, 1);
        Add(doc, Kinds::kKick, 0);
        CSection* pLfo = Add(doc, Kinds::kLfos, 0);
        CModuleRecord record;
        if (eState != EState::Fresh && eState != EState::PartKnown)
            AbsorbAll(record, ProjectSysEx::Messages(doc, 0));
        switch (eState) {
        case EState::FewChanged:
            pKick->SetParam(3, 5);
            pKick->SetParam(8, 128);
            doc.FindVariationOfKind(Kinds::kKit, 0)->SetParam(9, 7);
            break;
        case EState::NewSection:
            Add(doc, Kinds::kSnare, 4);
            break;
        case EState::OutsideBlock:
            pLfo->SetParam(6, 99);
            break;
        case EState::AllOfOneChanged:
            for (int i = 0; i < 9; ++i)
                pKick->SetParam(i, i);
            break;
        case EState::PartKnown:
            for (int i : {0, 3, 4, 5, 6, 7, 8})
                QVERIFY(Absorb(record, Message(0x3E, AddressOf(Kinds::kKick, 1, i),
                                               {pKick->GetParam(i)})));
            for (const auto& p : doc.GetSectionList())
                if (p.get() != pKick)
                    QVERIFY(Absorb(record, p->BlockMessage(0)));
            break;
        default:
            break;
        }
        queue.Clear(); // what the edits above sent
        if (bFull)
            expected = ProjectSysEx::Messages(doc, 0);
        const ModuleChanges::SPlan plan = ModuleChanges::Make(doc, record);
        QCOMPARE(ModuleChanges::Messages(plan, 0).toHex(' '), expected.toHex(' '));
        QCOMPARE(plan.nValues, nValues);
        QCOMPARE(ModuleChanges::ValuesToSend(doc, record), nValues);
        ModuleChanges::Send(plan);
        QCOMPARE(queue.Queued().join().toHex(' '), expected.toHex(' '));
    }
};

QUENLEY_REGISTER_TEST(TestModuleRecord)
#include "TestModuleRecord.moc"

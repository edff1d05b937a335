#include "CDumpPlan.h"
#include "CJackReceiver.h"
#include "CMidiWnd.h"
#include "CModuleRecordKeeper.h"
#include "CQuenleyDoc.h"
#include "CSysExItem.h"
#include "CSysExReader.h"
#include "ModuleChanges.h"
#include "ProjectSysEx.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

QByteArray Single(int nAddr, int nValue) {
    QByteArray b = QByteArray::fromHex("F0313E5600");
    b.append(char((nAddr >> 7) & 0x7F)).append(char(nAddr & 0x7F));
    b.append(char((nValue >> 7) & 0x7F)).append(char(nValue & 0x7F)).append('\xF7');
    return b;
}

QByteArray Block(int nAddr, int nValues, int nSeed) {
    QByteArray b = QByteArray::fromHex("F0313F5600");
    b.append(char((nAddr >> 7) & 0x7F)).append(char(nAddr & 0x7F));
    for (int i = 0; i < nValues; ++i) {
        const int v = (nSeed + 37 * i) & 0xFF;
        b.append(char((v >> 7) & 0x7F)).append(char(v & 0x7F));
    }
    return b.append('\xF7');
}

struct Planned {
    int nSection, nVariation, nParam;
    QByteArray bytes;
};

} // namespace

// Through the real RtMidi output to a JACK client of ours: exact bytes, order and the pause.
class TestJackEndToEnd : public QObject {
    Q_OBJECT

    CJackReceiver m_receiver;

    // The system output that leads to the receiver, opened on the channel byte.
    bool OpenToReceiver(CMidiWnd& wnd, QObject& frame, std::uint16_t nChannel) {
        if (!wnd.Create(&frame) || !wnd.DMidiOutInit())
            return false;
        std::uint32_t nDevice = DMIDI_NONE;
        for (std::uint32_t i = 0; i < wnd.GetNumDevs(); ++i)
            if (m_receiver.PortName() == QString::fromUtf8(wnd.GetDeviceName(i)))
                nDevice = i;
        return nDevice != DMIDI_NONE && wnd.SetMidiChannel(nChannel) && wnd.SetMidiDevice(nDevice);
    }

private slots:
    void initTestCase() {
        QString strWhy;
        if (!m_receiver.Start("quenley-recorder", strWhy))
            QSKIP(qPrintable(strWhy));
    }

    void sendsExactBytesInOrderWithThePauseBeforeBlocks() {
        QObject frame;
        CMidiWnd wnd; // the system outputs: JACK when QUENLEY_MIDI_API=jack
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        std::uint32_t nDevice = DMIDI_NONE;
        for (std::uint32_t i = 0; i < wnd.GetNumDevs(); ++i)
            if (m_receiver.PortName() == QString::fromUtf8(wnd.GetDeviceName(i)))
                nDevice = i;
        QVERIFY2(nDevice != DMIDI_NONE, "the receiver is listed as an output device");
        QVERIFY(wnd.SetMidiChannel(5));
        QVERIFY(wnd.SetMidiDevice(nDevice));

        const QList<Planned> plan = {
            {1, 9, CSysExItem::BlockKey(18), Block(171, 18, 4)}, // right after All Notes Off
            {2, 1, 3, Single(12, 200)},
            {1, 0, CSysExItem::BlockKey(18), Block(0, 18, 1)},
            {2, 1, 4, Single(13, 127)},
            {2, 1, 5, Single(14, 128)},
            {1, 5, CSysExItem::BlockKey(8), Block(95, 8, 2)},
            {3, 255, CSysExItem::BlockKey(6), Block(2299, 6, 3)},
            {2, 2, 0, Single(18, 0)},
        };
        for (const Planned& p : plan) {
            auto pItem = CSysExItem::New();
            pItem->nSection = p.nSection;
            pItem->nVariation = p.nVariation;
            pItem->nParam = p.nParam;
            pItem->nLength = static_cast<int>(p.bytes.size());
            pItem->pBuffer = std::make_unique<std::uint8_t[]>(p.bytes.size());
            std::memcpy(pItem->pBuffer.get(), p.bytes.constData(), p.bytes.size());
            QVERIFY(!wnd.AddSysExBuffer(std::move(pItem))); // closed: collects
        }
        m_receiver.Clear();
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsIdle() && wnd.QueueLength() == 0, 10000);
        QVERIFY(wnd.DMidiOutDeactivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(m_receiver.Count(), std::size_t(plan.size() + 2), 3000);

        const std::vector<CJackReceiver::Event> events = m_receiver.Events();
        QCOMPARE(events.front().bytes.toHex(' '), QByteArray("b5 7b 00"));
        QCOMPARE(events.back().bytes.toHex(' '), QByteArray("b5 7b 00"));
        for (int i = 0; i < plan.size(); ++i) {
            const CJackReceiver::Event& ev = events[i + 1];
            QCOMPARE(ev.bytes.toHex(' '), plan[i].bytes.toHex(' '));
            const double dGap = double(ev.nMicros) - double(events[i].nMicros);
            qInfo("message %d: %d bytes, %.1f ms after the one before", i, int(ev.bytes.size()),
                  dGap / 1000.0);
            // Both arrive at the start of a period of the server, so the receiver may see the
            // pause up to one period short.
            if (plan[i].nParam >= CSysExItem::kBlockKeyBase)
                QVERIFY2(dGap >= CMidiWnd::kBlockPauseMs * 1000.0 - m_receiver.PeriodMicros(),
                         qPrintable(QString("block %1 came %2 us after the message before it")
                                        .arg(i)
                                        .arg(dGap)));
            else
                QVERIFY2(dGap < 100000, "a single value is not held back");
        }
    }

    // A note through the real output: after the value queued before it, its Note Off during the
    // pause of the block queued after it.
    void playsANoteBetweenItsValuesAndALaterBlock() {
        QObject frame;
        CMidiWnd wnd;
        QVERIFY(OpenToReceiver(wnd, frame, 2));
        m_receiver.Clear();
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY_WITH_TIMEOUT(!wnd.IsClosed(), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(m_receiver.Count() == 1, 3000); // the open's All Notes Off
        m_receiver.Clear();
        const QByteArray value = Single(12, 200);
        const QByteArray block = Block(0, 18, 1);
        const auto Copy = [](const QByteArray& bytes) {
            auto pBytes = std::make_unique<std::uint8_t[]>(bytes.size());
            std::memcpy(pBytes.get(), bytes.constData(), bytes.size());
            return pBytes;
        };
        QVERIFY(wnd.QueueMessage({2, 1, 3, false}, Copy(value), int(value.size())));
        QVERIFY(wnd.QueueNote(3, 36, 100, 50));
        QVERIFY(wnd.QueueMessage({1, 0, 18, true}, Copy(block), int(block.size())));
        QTRY_COMPARE_WITH_TIMEOUT(m_receiver.Count(), std::size_t(4), 3000);
        const std::vector<CJackReceiver::Event> events = m_receiver.Events();
        QCOMPARE(events[0].bytes.toHex(' '), value.toHex(' '));
        QCOMPARE(events[1].bytes.toHex(' '), QByteArray("93 24 64"));
        QCOMPARE(events[2].bytes.toHex(' '), QByteArray("83 24 40"));
        QCOMPARE(events[3].bytes.toHex(' '), block.toHex(' '));
        QVERIFY(wnd.DMidiOutDeactivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
    }

    // Send project through the real output: what arrives is the project's dump file byte for
    // byte, and read back as a dump it gives every value the messages carry.
    void sendProjectDeliversTheDump() {
        QObject frame;
        CMidiWnd wnd;
        QVERIFY2(OpenToReceiver(wnd, frame, 12), "the receiver is listed as an output device");
        CQuenleyDoc doc(&wnd);
        for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind) {
            std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
            const int nNumber = nKind % 2 ? 0 : Kinds::Info(nKind).nVariations - 1;
            CSection* p = doc.FindOrCreateVariation(templ.get(), nNumber);
            QVERIFY(p);
            for (int i = 0; i < p->GetParamCount(); ++i)
                p->SetParam(i, (nKind * 41 + i * 97) % 256);
        }
        wnd.DestroySysExList();
        const QByteArray dump = ProjectSysEx::Messages(doc, 12);

        QVERIFY(doc.SendProject());
        m_receiver.Clear();
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsIdle() && wnd.QueueLength() == 0, 15000);
        QVERIFY(wnd.DMidiOutDeactivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(m_receiver.Count(), std::size_t(Kinds::kLastKind + 2), 3000);
        QByteArray received;
        for (const CJackReceiver::Event& ev : m_receiver.Events())
            received += ev.bytes;
        const QByteArray notesOff = QByteArray::fromHex("BC7B00");
        QCOMPARE(received.toHex(' '), (notesOff + dump + notesOff).toHex(' '));

        CQuenleyDoc back;
        CSysExReader reader;
        reader.Read(received);
        CDumpPlan plan;
        plan.Make(reader, back);
        QCOMPARE(plan.Apply(back), Kinds::kLastKind);
        QCOMPARE(reader.Skipped(CSysExReader::kOtherMessage), 2); // the two All Notes Off
        QCOMPARE(reader.SkippedTotal(), 2);
        QCOMPARE(ProjectSysEx::Messages(back, 12).toHex(' '), dump.toHex(' '));
    }

    // After Send project, what the port confirmed is the record; after two edits Send changes
    // delivers exactly their two messages.
    void sendChangesDeliversOnlyTheChanges() {
        QTemporaryDir dir;
        QObject frame;
        CMidiWnd wnd;
        QVERIFY2(OpenToReceiver(wnd, frame, 3), "the receiver is listed as an output device");
        CModuleRecordKeeper keeper(&wnd, dir.path());
        CQuenleyDoc doc(&wnd);
        for (int nKind : {Kinds::kKit, Kinds::kKick, Kinds::kSnare}) {
            std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
            QVERIFY(doc.FindOrCreateVariation(templ.get(), 7));
        }
        wnd.DestroySysExList();
        QVERIFY(keeper.Record().IsEmpty());
        QVERIFY(wnd.DMidiOutActivate());
        QVERIFY(doc.SendProject());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsIdle() && wnd.QueueLength() == 0, 5000);
        QCOMPARE(keeper.Record().Known(), 18 + 9 + 6);

        // Changed as another file or a dump from a file changes it: nothing sent.
        doc.SetTransmitQueue(nullptr);
        doc.FindVariationOfKind(Kinds::kSnare, 7)->SetParam(2, 130);
        doc.FindVariationOfKind(Kinds::kKit, 7)->SetParam(10, 5);
        doc.SetTransmitQueue(&wnd);
        m_receiver.Clear();
        const ModuleChanges::SPlan plan = ModuleChanges::Make(doc, keeper.Record());
        QCOMPARE(ModuleChanges::Send(plan), 2);
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsIdle() && wnd.QueueLength() == 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_receiver.Count(), std::size_t(2), 3000);
        QByteArray snare = Single(0x0900 + 7 * 6 + 2, 130);
        snare[4] = 3;
        QByteArray kit = Single(7 * 19 + 10, 5);
        kit[2] = 0x3F;
        kit[4] = 3;
        // Store order: the instruments before the kits.
        QCOMPARE(m_receiver.Events()[0].bytes.toHex(' '), snare.toHex(' '));
        QCOMPARE(m_receiver.Events()[1].bytes.toHex(' '), kit.toHex(' '));
        QCOMPARE(ModuleChanges::ValuesToSend(doc, keeper.Record()), 0);
        QVERIFY(wnd.DMidiOutDeactivate());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
    }
};

QUENLEY_REGISTER_TEST(TestJackEndToEnd)
#include "TestJackEndToEnd.moc"

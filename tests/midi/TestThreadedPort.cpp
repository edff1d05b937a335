#include "CMidiSink.h"
#include "CThreadedMidiPort.h"
#include "TestMain.h"

#include <QByteArray>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <mutex>

using Clock = std::chrono::steady_clock;

namespace {

// What a port told its callback and what reached its sink, with times.
struct Journal {
    std::mutex mutex;
    std::condition_variable cv;
    QStringList events;
    std::vector<Clock::time_point> writeTimes;
    std::vector<Clock::time_point> doneTimes;
    std::vector<std::uint32_t> doneFlags;
    std::vector<DMidiHeader*> doneHeaders;

    static void Proc(void* pInstance, EMidiNotify eNotify, DMidiHeader* pHeader) {
        auto* j = static_cast<Journal*>(pInstance);
        std::lock_guard lock(j->mutex);
        switch (eNotify) {
        case EMidiNotify::Open:
            j->events << "open";
            break;
        case EMidiNotify::Close:
            j->events << "close";
            break;
        case EMidiNotify::Done:
            j->events << QString("done %1").arg(pHeader->dwUser);
            j->doneTimes.push_back(Clock::now());
            j->doneFlags.push_back(pHeader->dwFlags);
            j->doneHeaders.push_back(pHeader);
            break;
        }
        j->cv.notify_all();
    }
    bool WaitFor(int nEvents, int nMs = 3000) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, std::chrono::milliseconds(nMs),
                           [&] { return events.size() >= nEvents; });
    }
    QStringList Events() {
        std::lock_guard lock(mutex);
        return events;
    }
};

class CTestSink : public CMidiSink {
public:
    CTestSink(Journal* pJournal, std::chrono::microseconds perByte, QList<QByteArray>* pWritten)
        : m_pJournal(pJournal), m_perByte(perByte), m_pWritten(pWritten) {}

    bool Write(const std::uint8_t* pData, std::size_t nLength) override {
        {
            std::lock_guard lock(m_pJournal->mutex);
            m_pJournal->writeTimes.push_back(Clock::now());
            m_pWritten->append(
                QByteArray(reinterpret_cast<const char*>(pData), static_cast<int>(nLength)));
        }
        std::unique_lock lock(s_stuckMutex);
        s_stuckCv.wait(lock, [] { return !s_bStuck; });
        return true;
    }
    std::chrono::microseconds Pace(std::size_t nLength) const override {
        return m_perByte * static_cast<long long>(nLength);
    }

    // While set, every write hangs, as a back end does whose server has died.
    static void SetStuck(bool bStuck) {
        {
            std::lock_guard lock(s_stuckMutex);
            s_bStuck = bStuck;
        }
        s_stuckCv.notify_all();
    }

private:
    Journal* m_pJournal;
    std::chrono::microseconds m_perByte;
    QList<QByteArray>* m_pWritten;
    static inline std::mutex s_stuckMutex;
    static inline std::condition_variable s_stuckCv;
    static inline bool s_bStuck = false;
};

// A device that goes away: once the test says so, the sink reports itself gone.
class CGoingSink : public CTestSink {
public:
    CGoingSink(Journal* pJournal, QList<QByteArray>* pWritten, std::atomic<bool>* pGone)
        : CTestSink(pJournal, std::chrono::microseconds(0), pWritten), m_pGone(pGone) {}
    bool IsGone() const override { return *m_pGone; }

private:
    std::atomic<bool>* m_pGone;
};

struct Message {
    QByteArray bytes;
    DMidiHeader header;
    explicit Message(int nLength, int nTag) : bytes(nLength, '\x11') {
        bytes[0] = '\xF0';
        bytes[nLength - 1] = '\xF7';
        header.lpData = reinterpret_cast<std::uint8_t*>(bytes.data());
        header.dwBufferLength = static_cast<std::uint32_t>(nLength);
        header.dwUser = static_cast<std::uintptr_t>(nTag);
    }
};

} // namespace

// The worker-thread port behind the system MIDI outputs and the SysEx file.
class TestThreadedPort : public QObject {
    Q_OBJECT

private slots:
    void shortMessageLengths_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("length");
        QTest::newRow("data byte") << 0x7B << 0;
        QTest::newRow("note on") << 0x90 << 3;
        QTest::newRow("control change") << 0xB5 << 3;
        QTest::newRow("program change") << 0xC0 << 2;
        QTest::newRow("channel pressure") << 0xDF << 2;
        QTest::newRow("pitch bend") << 0xE0 << 3;
        QTest::newRow("song select") << 0xF3 << 2;
        QTest::newRow("clock") << 0xF8 << 1;
    }
    void shortMessageLengths() {
        QFETCH(int, status);
        QFETCH(int, length);
        QCOMPARE(CThreadedMidiPort::ShortMsgLength(static_cast<std::uint8_t>(status)),
                 std::size_t(length));
    }

    // Order kept, open first, close last, each once; done no sooner than the device's pace.
    void orderPacingAndNotifications() {
        Journal journal;
        QList<QByteArray> written;
        const auto perByte = std::chrono::microseconds(320);
        Message a(100, 1), b(40, 2);
        {
            CThreadedMidiPort port(std::make_unique<CTestSink>(&journal, perByte, &written),
                                   &Journal::Proc, &journal);
            QCOMPARE(port.ShortMsg(0x7BB3), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&a.header), MIDIERR_UNPREPARED);
            QCOMPARE(port.PrepareHeader(&a.header), MMSYSERR_NOERROR);
            QCOMPARE(port.PrepareHeader(&b.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&a.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&b.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&b.header), MIDIERR_STILLPLAYING);
            a.bytes.fill('\0'); // the port works on its own copy
            QCOMPARE(port.Close(), MIDIERR_STILLPLAYING);
            QCOMPARE(port.UnprepareHeader(&a.header), MIDIERR_STILLPLAYING);
            QVERIFY(journal.WaitFor(3));
            QCOMPARE(port.UnprepareHeader(&a.header), MMSYSERR_NOERROR);
            QCOMPARE(port.Close(), MMSYSERR_NOERROR);
            QCOMPARE(port.ShortMsg(0x7BB3), MMSYSERR_INVALHANDLE);
        }
        QCOMPARE(journal.events, QStringList({"open", "done 1", "done 2", "close"}));
        QCOMPARE(written.size(), 3);
        QCOMPARE(written[0], QByteArray::fromHex("B37B00"));
        QCOMPARE(written[1].size(), 100);
        QCOMPARE(written[1].front(), '\xF0');
        QCOMPARE(written[1].at(50), '\x11');
        for (int i = 0; i < 2; ++i) {
            const auto elapsed = journal.doneTimes[i] - journal.writeTimes[i + 1];
            const auto pace = perByte * written[i + 1].size();
            QVERIFY(elapsed >= pace);
            QVERIFY(!(journal.doneFlags[i] & MHDR_FAILED));
            QVERIFY(journal.doneFlags[i] & MHDR_DONE);
        }
        // The next message leaves only after the previous one's pace.
        QVERIFY(journal.writeTimes[2] - journal.writeTimes[1] >= perByte * 100);
    }

    void resetHandsWaitingMessagesBack() {
        Journal journal;
        QList<QByteArray> written;
        Message a(400, 1), b(10, 2), c(10, 3);
        {
            CThreadedMidiPort port(
                std::make_unique<CTestSink>(&journal, std::chrono::microseconds(320), &written),
                &Journal::Proc, &journal);
            for (Message* m : {&a, &b, &c}) {
                QCOMPARE(port.PrepareHeader(&m->header), MMSYSERR_NOERROR);
                QCOMPARE(port.LongMsg(&m->header), MMSYSERR_NOERROR);
            }
            QCOMPARE(port.Reset(), MMSYSERR_NOERROR);
            QVERIFY(journal.WaitFor(4));
            // Closed, and its worker gone, before the records it writes to are looked at or
            // destroyed: a check failing above leaves through the silent destructor instead.
            QCOMPARE(port.Close(), MMSYSERR_NOERROR);
            QVERIFY(journal.WaitFor(5));
        }
        const QStringList events = journal.Events();
        QCOMPARE(events.size(), 5);
        QCOMPARE(events.front(), QString("open"));
        QCOMPARE(events.back(), QString("close"));
        // Every header comes back exactly once; the one not yet written comes back failed.
        QVERIFY(events.contains("done 1") && events.contains("done 2") &&
                events.contains("done 3"));
        int nFailed = 0;
        for (std::uint32_t nFlags : journal.doneFlags) {
            nFailed += (nFlags & MHDR_FAILED) ? 1 : 0;
            QVERIFY(!(nFlags & MHDR_NODEVICE)); // handed back, the device is fine
        }
        QCOMPARE(nFailed, 3 - static_cast<int>(written.size()));
    }

    // A back end that never returns is given up on within the bound, not waited for forever.
    void stuckDeviceFailsInsteadOfHanging() {
        Journal journal;
        QList<QByteArray> written;
        Message a(10, 1), b(10, 2);
        CTestSink::SetStuck(true);
        auto pPort = std::make_unique<CThreadedMidiPort>(
            std::make_unique<CTestSink>(&journal, std::chrono::microseconds(0), &written),
            &Journal::Proc, &journal, std::chrono::milliseconds(100));
        for (Message* m : {&a, &b}) {
            QCOMPARE(pPort->PrepareHeader(&m->header), MMSYSERR_NOERROR);
            QCOMPARE(pPort->LongMsg(&m->header), MMSYSERR_NOERROR);
        }
        QVERIFY(journal.WaitFor(3, 2000));
        QVERIFY(pPort->IsDead());
        QCOMPARE(journal.Events(), QStringList({"open", "done 1", "done 2"}));
        // Failed for want of a device: nothing later reaches it either.
        for (std::uint32_t nFlags : journal.doneFlags)
            QVERIFY((nFlags & (MHDR_FAILED | MHDR_NODEVICE)) == (MHDR_FAILED | MHDR_NODEVICE));
        Message c(10, 3);
        QCOMPARE(pPort->PrepareHeader(&c.header), MMSYSERR_NOERROR);
        QCOMPARE(pPort->LongMsg(&c.header), MIDIERR_NODEVICE);
        QCOMPARE(pPort->Close(), MMSYSERR_NOERROR);
        QVERIFY(journal.WaitFor(4, 2000));
        QCOMPARE(journal.Events().last(), QString("close"));
        const Clock::time_point before = Clock::now();
        pPort.reset(); // must not wait for the stuck write
        QVERIFY(Clock::now() - before < std::chrono::milliseconds(500));
        CTestSink::SetStuck(false); // let the abandoned thread finish
    }

    // A device found gone before a write: what waits comes back failed for want of a device
    // without being written, later sends are refused, and the close is still told.
    void goneDeviceFailsWhatWaits() {
        Journal journal;
        QList<QByteArray> written;
        std::atomic<bool> bGone{false};
        Message a(10, 1), b(12, 2), c(14, 3);
        {
            CThreadedMidiPort port(std::make_unique<CGoingSink>(&journal, &written, &bGone),
                                   &Journal::Proc, &journal);
            QCOMPARE(port.PrepareHeader(&a.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&a.header), MMSYSERR_NOERROR);
            QVERIFY(journal.WaitFor(2));
            bGone = true;
            QCOMPARE(port.PrepareHeader(&b.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&b.header), MMSYSERR_NOERROR);
            QVERIFY(journal.WaitFor(3));
            QVERIFY(port.IsDead());
            QCOMPARE(port.PrepareHeader(&c.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&c.header), MIDIERR_NODEVICE);
            QCOMPARE(port.ShortMsg(0x7BB0), MIDIERR_NODEVICE);
            QCOMPARE(port.Close(), MMSYSERR_NOERROR);
            QVERIFY(journal.WaitFor(4));
        }
        QCOMPARE(journal.Events(), QStringList({"open", "done 1", "done 2", "close"}));
        QCOMPARE(written.size(), 1);
        QCOMPARE(journal.doneFlags[0] & (MHDR_FAILED | MHDR_NODEVICE), 0u);
        QCOMPARE(journal.doneFlags[1] & (MHDR_FAILED | MHDR_NODEVICE), MHDR_FAILED | MHDR_NODEVICE);
    }

    void destroyedWithoutCloseTellsNobody() {
        Journal journal;
        QList<QByteArray> written;
        Message a(1000, 1);
        {
            CThreadedMidiPort port(
                std::make_unique<CTestSink>(&journal, std::chrono::microseconds(320), &written),
                &Journal::Proc, &journal);
            QVERIFY(journal.WaitFor(1));
            QCOMPARE(port.PrepareHeader(&a.header), MMSYSERR_NOERROR);
            QCOMPARE(port.LongMsg(&a.header), MMSYSERR_NOERROR);
        }
        QCOMPARE(journal.Events(), QStringList({"open"}));
    }
};

QUENLEY_REGISTER_TEST(TestThreadedPort)
#include "TestThreadedPort.moc"

#include "CMidiSink.h"
#include "CMidiWnd.h"
#include "CModuleRecord.h"
#include "CModuleRecordKeeper.h"
#include "CScriptedMidiDriver.h"
#include "CThreadedMidiPort.h"
#include "MidiTestUtil.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>

namespace {

// A device that keeps each long message in the middle of its write until the test lets go, on
// the worker-thread port the real outputs use: a message really in flight.
struct SHeldDevice {
    std::mutex mutex;
    std::condition_variable cv;
    bool bHeld = true;
    QList<QByteArray> longs; // the long messages written, in order

    QList<QByteArray> Longs() {
        std::lock_guard lock(mutex);
        return longs;
    }
    void Release() {
        std::lock_guard lock(mutex);
        bHeld = false;
        cv.notify_all();
    }
};

class CHeldSink : public CMidiSink {
public:
    explicit CHeldSink(std::shared_ptr<SHeldDevice> pDevice) : m_pDevice(std::move(pDevice)) {}
    bool Write(const std::uint8_t* pData, std::size_t nLength) override {
        if (nLength <= 3)
            return true; // All Notes Off
        std::unique_lock lock(m_pDevice->mutex);
        m_pDevice->longs << QByteArray(reinterpret_cast<const char*>(pData), int(nLength));
        m_pDevice->cv.notify_all();
        m_pDevice->cv.wait(lock, [&] { return !m_pDevice->bHeld; });
        return true;
    }

private:
    std::shared_ptr<SHeldDevice> m_pDevice;
};

class CHeldDriver : public CMidiOutDriver {
public:
    explicit CHeldDriver(std::shared_ptr<SHeldDevice> pDevice) : m_pDevice(std::move(pDevice)) {}
    unsigned GetNumDevs() override { return 1; }
    MMRESULT GetDevName(unsigned, std::string& strName) override {
        strName = "Held";
        return MMSYSERR_NOERROR;
    }
    MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned, MidiOutProc pProc,
                  void* pInstance) override {
        pPort = std::make_unique<CThreadedMidiPort>(std::make_unique<CHeldSink>(m_pDevice), pProc,
                                                    pInstance);
        return MMSYSERR_NOERROR;
    }

private:
    std::shared_ptr<SHeldDevice> m_pDevice;
};

} // namespace

// The transmit queue and its send loop, against the scripted driver.
class TestMidiWnd : public QObject {
    Q_OBJECT

    std::shared_ptr<CMidiScript> m_pScript;
    std::unique_ptr<CMsgRecorder> m_pFrame;
    std::unique_ptr<CMidiWnd> m_pWnd;

    // A queue on a ready link; the port is opened only when asked.
    void Make(bool bOpen, bool bAuto = false) {
        m_pScript = std::make_shared<CMidiScript>();
        m_pScript->bAuto = bAuto;
        m_pFrame = std::make_unique<CMsgRecorder>();
        m_pWnd = std::make_unique<CMidiWnd>(std::make_unique<CScriptedMidiDriver>(m_pScript));
        QVERIFY(m_pWnd->Create(m_pFrame.get()));
        QVERIFY(m_pWnd->DMidiOutInit());
        QVERIFY(m_pWnd->SetMidiChannel(0));
        QVERIFY(m_pWnd->SetMidiDevice(0));
        if (bOpen)
            Open();
    }
    void Open() {
        QVERIFY(m_pWnd->DMidiOutActivate());
        if (!m_pScript->bAuto)
            m_pScript->DeliverAll();
        QTRY_VERIFY(!m_pWnd->IsClosed());
    }
    // Long messages the port received, without the All Notes Off short messages.
    QList<QByteArray> Sent() const {
        QList<QByteArray> list;
        for (const QByteArray& b : m_pScript->sent)
            if (b.size() > 3)
                list << b;
        return list;
    }
    // Every message the port received but the All Notes Off of opening and closing.
    QList<QByteArray> Written() const {
        QList<QByteArray> list;
        for (const QByteArray& b : m_pScript->sent)
            if (b != QByteArray::fromHex("B07B00"))
                list << b;
        return list;
    }
    // Lets the driver finish the message in flight and the loop take the next.
    void CompleteOne() {
        QVERIFY(m_pScript->Complete());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
    }
    void Add(int nSection, int nVariation, int nParam, const QByteArray& bytes) {
        m_pWnd->AddSysExBuffer(MakeItem(nSection, nVariation, nParam, bytes));
    }

private slots:
    void cleanup() {
        m_pWnd.reset();
        m_pFrame.reset();
    }

    void refusesMissingEntryOrBuffer() {
        Make(true);
        QVERIFY(!m_pWnd->AddSysExBuffer(nullptr));
        QVERIFY(!m_pWnd->AddSysExBuffer(CSysExItem::New()));
        QCOMPARE(m_pWnd->QueueLength(), 0);
        QVERIFY(!m_pWnd->Create(nullptr));
    }

    void waitsWhileClosedThenSendsOldestFirst() {
        Make(false);
        QVERIFY(!m_pWnd->AddSysExBuffer(MakeItem(2, 1, 0, ParamMsg(1, 0, 10))));
        Add(2, 1, 1, ParamMsg(1, 1, 11));
        Add(2, 1, 2, ParamMsg(1, 2, 12));
        QCoreApplication::processEvents();
        QVERIFY(Sent().isEmpty());
        Open();
        QCOMPARE(Sent(), QList<QByteArray>({ParamMsg(1, 0, 10)}));
        // A change made while the first is in flight goes behind the others.
        QVERIFY(m_pWnd->AddSysExBuffer(MakeItem(2, 1, 3, ParamMsg(1, 3, 13))));
        for (int i = 0; i < 3; ++i)
            CompleteOne();
        CompleteOne();
        QCOMPARE(Sent(), QList<QByteArray>({ParamMsg(1, 0, 10), ParamMsg(1, 1, 11),
                                            ParamMsg(1, 2, 12), ParamMsg(1, 3, 13)}));
        QVERIFY(m_pWnd->IsIdle());
        QCOMPARE(m_pWnd->QueueLength(), 0);
        QCOMPARE(m_pScript->nLiveHeaders, 0);
    }

    void oneRestartForABurstOnAnIdlePort() {
        Make(true);
        QVERIFY(m_pWnd->IsIdle());
        CMsgSpy spy(m_pWnd.get());
        QVERIFY(m_pWnd->AddSysExBuffer(MakeItem(2, 0, 0, ParamMsg(0, 0, 1))));
        QVERIFY(m_pWnd->AddSysExBuffer(MakeItem(2, 0, 1, ParamMsg(0, 1, 1))));
        QVERIFY(!m_pWnd->IsIdle());
        QCoreApplication::processEvents();
        QCOMPARE(spy.Count(WM_MIDIOUT_DONE, 0), 1);
        QCOMPARE(Sent().size(), 1);
    }

    void replacementRules() {
        Make(true);
        Add(2, 5, 0, ParamMsg(5, 0, 1)); // goes in flight
        QCoreApplication::processEvents();
        // Three changes of one parameter while another is in flight leave the last one.
        Add(2, 5, 3, ParamMsg(5, 3, 100));
        Add(2, 5, 3, ParamMsg(5, 3, 101));
        Add(2, 5, 3, ParamMsg(5, 3, 102));
        QCOMPARE(m_pWnd->QueueLength(), 2);
        // A change of the parameter in flight does not replace it: both go out.
        Add(2, 5, 0, ParamMsg(5, 0, 2));
        // Another parameter, another variation, another kind: all kept.
        Add(2, 5, 4, ParamMsg(5, 4, 7));
        Add(2, 6, 3, ParamMsg(6, 3, 7));
        Add(3, 5, 3, ParamMsg(5, 3, 8));
        QCOMPARE(m_pWnd->QueueLength(), 6);
        while (m_pWnd->QueueLength() > 0)
            CompleteOne();
        QCOMPARE(Sent(),
                 QList<QByteArray>({ParamMsg(5, 0, 1), ParamMsg(5, 3, 102), ParamMsg(5, 0, 2),
                                    ParamMsg(5, 4, 7), ParamMsg(6, 3, 7), ParamMsg(5, 3, 8)}));
    }

    // Blocks and single values never stand for each other, nor do blocks of other extent.
    void blocksAreReplacedOnlyByTheirLikes() {
        Make(true);
        Add(2, 0, 0, ParamMsg(0, 0, 1)); // in flight, keeps the rest waiting
        QCoreApplication::processEvents();
        const QByteArray kit18 = BlockMsg(18, 1);
        const QByteArray kitName = BlockMsg(8, 2);
        const QByteArray kit18b = BlockMsg(18, 3);
        Add(1, 7, CSysExItem::BlockKey(18), kit18);
        Add(1, 7, 15, ParamMsg(7, 15, 9)); // kit parameter 15: a single value
        Add(1, 7, CSysExItem::BlockKey(8), kitName);
        QCOMPARE(m_pWnd->QueueLength(), 4);
        Add(1, 7, CSysExItem::BlockKey(18), kit18b); // the same values again: replaces
        QCOMPARE(m_pWnd->QueueLength(), 4);
        const auto& queue = m_pWnd->Queue();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(queue.front()->pBuffer.get()),
                            queue.front()->nLength),
                 kit18b);
        QVERIFY(!CSysExItem().IsBlock());
        QVERIFY(CSysExItem::BlockKey(1) > 255);
    }

    // The pause before a block leaves the user interface running and only blocks wait for it.
    void pauseBeforeBlocksOnly() {
        Make(true, true);
        int nTicks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++nTicks; });
        ticker.start(10);
        QElapsedTimer clock;
        clock.start();
        Add(1, 3, 15, ParamMsg(3, 15, 4));
        QTRY_COMPARE_WITH_TIMEOUT(Sent().size(), 1, 1000);
        QVERIFY2(clock.elapsed() < CMidiWnd::kBlockPauseMs, "a single value must not wait");
        clock.restart();
        Add(1, 3, CSysExItem::BlockKey(18), BlockMsg(18, 5));
        QVERIFY(!m_pWnd->IsIdle());
        QTRY_COMPARE_WITH_TIMEOUT(Sent().size(), 2, 2000);
        const qint64 nWaited = clock.elapsed();
        QVERIFY2(nWaited >= CMidiWnd::kBlockPauseMs - 1, qPrintable(QString::number(nWaited)));
        QVERIFY2(nTicks >= 10, "the event loop ran during the pause");
        QTRY_VERIFY(m_pWnd->IsIdle());
    }

    // A note sounds with every value queued before it: a newer value of one of them follows the
    // note rather than overtaking it. It does not wait for a block queued after it, and its Note
    // Off comes on time, during that block's pause.
    void notesKeepTheirPlaceAndEndOnTime() {
        Make(true, true);
        Add(2, 5, 0, ParamMsg(5, 0, 1));
        Add(2, 5, 3, ParamMsg(5, 3, 100));
        QVERIFY(m_pWnd->QueueNote(9, 36, 100, 60));
        Add(2, 5, 3, ParamMsg(5, 3, 101));
        Add(2, 5, CSysExItem::BlockKey(9), BlockMsg(9, 1));
        QTRY_COMPARE_WITH_TIMEOUT(Written().size(), 6, 3000);
        QCOMPARE(Written(), QList<QByteArray>({ParamMsg(5, 0, 1), ParamMsg(5, 3, 100),
                                               QByteArray::fromHex("992464"),
                                               ParamMsg(5, 3, 101), QByteArray::fromHex("892440"),
                                               BlockMsg(9, 1)}));
        QTRY_VERIFY(m_pWnd->IsIdle());
    }

    // What becomes of notes waiting, sounding, repeated, and of a port that is not there.
    void notesAroundTheirNeighbours() {
        Make(false, true);
        QVERIFY2(!m_pWnd->QueueNote(0, 36, 100, 10), "a closed port keeps no note for later");
        QCOMPARE(m_pWnd->QueueLength(), 0);
        Open();
        QVERIFY(!m_pWnd->QueueNote(16, 36, 100, 10));
        QVERIFY(!m_pWnd->QueueNote(0, 128, 100, 10));
        QVERIFY(!m_pWnd->QueueNote(0, 36, 0, 10));
        // A value in flight: the same key struck twice while waiting sounds once, after it.
        m_pScript->bAuto = false;
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        QCoreApplication::processEvents();
        QVERIFY(m_pWnd->QueueNote(0, 38, 90, 10000));
        QVERIFY(m_pWnd->QueueNote(0, 38, 91, 10000));
        QCOMPARE(m_pWnd->QueueLength(), 2);
        CompleteOne();
        QCOMPARE(m_pWnd->QueueLength(), 0);
        // Struck again while it sounds: the earlier note ends first.
        QVERIFY(m_pWnd->QueueNote(0, 38, 92, 10000));
        QCoreApplication::processEvents();
        // Closing ends the notes still sounding rather than leave them to the All Notes Off.
        m_pWnd->CloseAndClear();
        QCOMPARE(Written(), QList<QByteArray>({ParamMsg(0, 0, 1), QByteArray::fromHex("90265B"),
                                               QByteArray::fromHex("802640"),
                                               QByteArray::fromHex("90265C"),
                                               QByteArray::fromHex("802640")}));
    }

    void pauseIsNotRestartedByAnOpen() {
        Make(false, true);
        Add(1, 0, CSysExItem::BlockKey(18), BlockMsg(18, 1));
        Open(); // starts the pause
        QVERIFY(m_pWnd->DMidiOutDeactivate());
        QTRY_VERIFY(m_pWnd->IsClosed());
        Open(); // the open's send step must not start a second pause
        QTRY_COMPARE_WITH_TIMEOUT(Sent().size(), 1, 2000);
        QTest::qWait(CMidiWnd::kBlockPauseMs + 100);
        QCOMPARE(Sent().size(), 1);
        QTRY_VERIFY(m_pWnd->IsIdle());
    }

    void refusedSendStallsUntilTheNextOpen() {
        Make(true);
        m_pScript->nLongResult = MIDIERR_NOTREADY;
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        Add(2, 0, 1, ParamMsg(0, 1, 1));
        QCoreApplication::processEvents();
        QVERIFY(Sent().isEmpty());
        QVERIFY(m_pWnd->Queue().back()->bSending);
        QVERIFY(!m_pWnd->IsIdle());
        QCOMPARE(m_pScript->PendingCount(), 0); // no completion follows
        m_pScript->nLongResult = MMSYSERR_NOERROR;
        QVERIFY(m_pWnd->DMidiOutDeactivate());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        Open();
        QCOMPARE(Sent(), QList<QByteArray>({ParamMsg(0, 0, 1)}));
        CompleteOne();
        CompleteOne();
        QCOMPARE(Sent(), QList<QByteArray>({ParamMsg(0, 0, 1), ParamMsg(0, 1, 1)}));
    }

    // Clearing while a message is in flight: its completion must not take an unsent entry.
    void clearInFlight() {
        Make(true);
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        Add(2, 0, 1, ParamMsg(0, 1, 1));
        QCoreApplication::processEvents();
        m_pWnd->DestroySysExList();
        QCOMPARE(m_pWnd->QueueLength(), 0);
        Add(2, 0, 2, ParamMsg(0, 2, 2)); // after the clear
        CompleteOne();                   // completion of the cleared message
        QCOMPARE(Sent(), QList<QByteArray>({ParamMsg(0, 0, 1), ParamMsg(0, 2, 2)}));
        CompleteOne();
        QVERIFY(m_pWnd->IsIdle());
        QCOMPARE(Sent().size(), 2);
        QCOMPARE(m_pScript->nLiveHeaders, 0);
    }

    void clearDuringThePauseDropsTheBlock() {
        Make(true, true);
        Add(1, 0, CSysExItem::BlockKey(18), BlockMsg(18, 1));
        QCoreApplication::processEvents(); // the pause begins
        m_pWnd->DestroySysExList();
        Add(2, 0, 2, ParamMsg(0, 2, 2));
        QTRY_COMPARE_WITH_TIMEOUT(Sent().size(), 1, 2000);
        QCOMPARE(Sent().front(), ParamMsg(0, 2, 2));
        QTRY_VERIFY(m_pWnd->IsIdle());
    }

    void emptyCases() {
        Make(true);
        m_pWnd->DestroySysExList();
        QCOMPARE(m_pWnd->QueueLength(), 0);
        QVERIFY(m_pWnd->IsIdle());
        Msg::Send(m_pWnd.get(), WM_MIDIOUT_DONE, 0, 0);
        QVERIFY(m_pWnd->IsIdle());
        QVERIFY(Sent().isEmpty());
    }

    void portNewsGoesOnToTheFrame() {
        Make(true);
        QCoreApplication::processEvents();
        QCOMPARE(m_pFrame->Count(WM_MIDIOUT_OPEN), 1);
        QVERIFY(m_pWnd->DMidiOutDeactivate());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        QVERIFY(m_pWnd->IsClosed());
        QCoreApplication::processEvents();
        QCOMPARE(m_pFrame->Count(WM_MIDIOUT_CLOSE), 1);
    }

    void resetLetsTheLoopGoOn() {
        Make(true);
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        Add(2, 0, 1, ParamMsg(0, 1, 1));
        QCoreApplication::processEvents();
        QVERIFY(m_pWnd->DMidiOutReset());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        QCOMPARE(Sent().size(), 2);
        QCOMPARE(m_pWnd->QueueLength(), 1);
    }

    // A refused send and a message the driver could not deliver are both told, once each; a
    // reset's own hand-backs are not failures.
    void failuresAreReported() {
        Make(true);
        QSignalSpy failed(m_pWnd.get(), &CMidiWnd::SendFailed);
        m_pScript->nLongResult = MIDIERR_NOTREADY;
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.front().front().toUInt(), MIDIERR_NOTREADY);
        QCOMPARE(m_pWnd->QueueLength(), 1); // kept for the next open

        m_pScript->nLongResult = MMSYSERR_NOERROR;
        QVERIFY(m_pWnd->DMidiOutDeactivate());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        Open();
        QCOMPARE(Sent().size(), 1);
        m_pScript->inFlight.front()->dwFlags |= MHDR_FAILED;
        CompleteOne();
        QCOMPARE(failed.size(), 2);
        QCOMPARE(failed.back().front().toUInt(), MIDIERR_NODEVICE);

        Add(2, 0, 1, ParamMsg(0, 1, 1));
        QCoreApplication::processEvents();
        m_pScript->inFlight.front()->dwFlags |= MHDR_FAILED;
        QVERIFY(m_pWnd->ResetPort());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), 2);
        QVERIFY(m_pWnd->IsIdle());
    }

    // Closing for good while the port is busy writing a message: it closes as soon as the
    // message is out, and what is queued meanwhile waits for the next open instead of going
    // out through the port that was to be closed.
    void closeAndClearWhileAMessageIsInFlight() {
        auto pDevice = std::make_shared<SHeldDevice>();
        CMsgRecorder frame;
        CMidiWnd wnd(std::make_unique<CHeldDriver>(pDevice));
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        QVERIFY(wnd.SetMidiChannel(0) && wnd.SetMidiDevice(0));
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY(!wnd.IsClosed());
        wnd.AddSysExBuffer(MakeItem(2, 0, 0, ParamMsg(0, 0, 1)));
        wnd.AddSysExBuffer(MakeItem(2, 0, 1, ParamMsg(0, 1, 1)));
        QTRY_COMPARE(pDevice->Longs().size(), 1);
        wnd.CloseAndClear();
        QCOMPARE(wnd.QueueLength(), 0);
        wnd.AddSysExBuffer(MakeItem(3, 0, 0, ParamMsg(0, 0, 2)));
        pDevice->Release();
        QTRY_VERIFY(wnd.IsClosed());
        QVERIFY(!wnd.IsOpen());
        QVERIFY(!wnd.IsClosing());
        QCOMPARE(frame.Count(WM_MIDIOUT_CLOSE), 1);
        QCOMPARE(wnd.QueueLength(), 1);
        QCOMPARE(pDevice->Longs(), QList<QByteArray>({ParamMsg(0, 0, 1)}));

        QVERIFY(wnd.DMidiOutActivate());
        QTRY_COMPARE(wnd.QueueLength(), 0);
        QCOMPARE(pDevice->Longs(), QList<QByteArray>({ParamMsg(0, 0, 1), ParamMsg(0, 0, 2)}));
    }

    // Closing for good during the pause before a block: the pause is over with it, and nothing
    // queued afterwards is handed to the closed port when the pause would have ended.
    void closeAndClearDuringThePause() {
        Make(true, true);
        QSignalSpy failed(m_pWnd.get(), &CMidiWnd::SendFailed);
        Add(1, 0, CSysExItem::BlockKey(18), BlockMsg(18, 1));
        QCoreApplication::processEvents(); // the pause begins
        m_pWnd->CloseAndClear();
        Add(2, 0, 2, ParamMsg(0, 2, 2));
        QTRY_VERIFY(m_pWnd->IsClosed());
        QTest::qWait(CMidiWnd::kBlockPauseMs + 100);
        QVERIFY(Sent().isEmpty());
        QCOMPARE(failed.size(), 0);
        QCOMPARE(m_pWnd->QueueLength(), 1);
        QVERIFY(!m_pWnd->Queue().back()->bSending);
    }

    // The record of what the module holds learns what the port confirmed, is written and read
    // back, and is dropped by whatever leaves the module's state in doubt.
    void recordFollowsTheLink_data() {
        QTest::addColumn<int>("nEvent");
        QTest::addColumn<bool>("bKept");
        QTest::newRow("an empty queue cleared") << 0 << true;
        QTest::newRow("reset") << 1 << false;
        QTest::newRow("a message not delivered") << 2 << false;
        QTest::newRow("the device gone") << 3 << false;
        QTest::newRow("waiting messages cleared") << 4 << false;
        QTest::newRow("forgotten") << 5 << false;
        QTest::newRow("a refused send") << 6 << false;
    }
    void recordFollowsTheLink() {
        QFETCH(int, nEvent);
        QFETCH(bool, bKept);
        QTemporaryDir dir;
        Make(true);
        auto* pKeeper = new CModuleRecordKeeper(m_pWnd.get(), dir.path());
        Add(2, 1, 3, ParamMsg(1, 3, 200));
        QCoreApplication::processEvents();
        m_pScript->inFlight.front()->dwFlags |= MHDR_FAILED;
        CompleteOne(); // not delivered: not known
        QVERIFY(pKeeper->Record().IsEmpty());
        Add(2, 1, 3, ParamMsg(1, 3, 200));
        QCoreApplication::processEvents();
        CompleteOne();
        QCOMPARE(pKeeper->Record().ValueAt(0x3E, 12), 200);
        QVERIFY(pKeeper->Flush());
        QVERIFY(QFile::exists(pKeeper->Path()));

        switch (nEvent) {
        case 0:
            m_pWnd->DestroySysExList();
            break;
        case 1:
            Add(2, 1, 4, ParamMsg(1, 4, 1));
            QCoreApplication::processEvents();
            m_pWnd->ResetPort(); // hands back the message in flight, not delivered
            m_pScript->DeliverAll();
            QCoreApplication::processEvents();
            break;
        case 2:
        case 3:
        case 4:
            Add(2, 1, 4, ParamMsg(1, 4, 1));
            Add(2, 1, 5, ParamMsg(1, 5, 1));
            QCoreApplication::processEvents();
            if (nEvent == 2) {
                m_pScript->inFlight.front()->dwFlags |= MHDR_FAILED;
                QVERIFY(m_pScript->Complete());
            }
            if (nEvent == 3)
                m_pScript->Vanish();
            if (nEvent == 4)
                m_pWnd->DestroySysExList();
            m_pScript->DeliverAll();
            QCoreApplication::processEvents();
            break;
        case 5:
            pKeeper->Forget();
            break;
        case 6:
            m_pScript->nLongResult = MIDIERR_NOTREADY;
            Add(2, 1, 4, ParamMsg(1, 4, 1));
            QCoreApplication::processEvents();
            break;
        }
        QCOMPARE(pKeeper->Record().Known(), bKept ? 1 : 0);
        const QString strPath = pKeeper->Path();
        delete pKeeper; // writes what changed
        CModuleRecordKeeper reread(m_pWnd.get(), dir.path());
        QCOMPARE(reread.Record().ValueAt(0x3E, 12), bKept ? 200 : -1);
        QCOMPARE(QFile::exists(strPath), bKept);
    }

    // Each device and channel has a record of its own; a damaged one is reported and ignored.
    void recordPerDeviceAndChannel() {
        QTemporaryDir dir;
        Make(true, true);
        CModuleRecordKeeper keeper(m_pWnd.get(), dir.path());
        QSignalSpy problems(&keeper, &CModuleRecordKeeper::Problem);
        Add(2, 1, 3, ParamMsg(1, 3, 200));
        QTRY_COMPARE(keeper.Record().Known(), 1);
        const QString strFirst = keeper.Path();
        QVERIFY(m_pWnd->SetMidiChannel(5));
        QVERIFY(keeper.Record().IsEmpty());
        QVERIFY(keeper.Path() != strFirst);
        QVERIFY(QFile::exists(strFirst)); // written on the way
        QFile damaged(keeper.Path());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a record");
        damaged.close();
        QVERIFY(m_pWnd->SetMidiChannel(0));
        QCOMPARE(keeper.Record().Known(), 1);
        QVERIFY(m_pWnd->SetMidiChannel(5));
        QVERIFY(keeper.Record().IsEmpty());
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.front().front().toString().contains("ignored"),
                 qPrintable(problems.front().front().toString()));
    }

    // quenley-cli send writes the same file: the editor reads what it recorded rather than
    // keeping, and later writing back, its own older copy.
    void recordWrittenElsewhereIsReadAgain() {
        QTemporaryDir dir;
        Make(true, true);
        CModuleRecordKeeper keeper(m_pWnd.get(), dir.path());
        Add(2, 1, 3, ParamMsg(1, 3, 200));
        QTRY_COMPARE(keeper.Record().Known(), 1);
        QVERIFY(keeper.Flush());
        CModuleRecord other;
        QString strWhy;
        QVERIFY(other.Load(keeper.Path(), strWhy));
        const QByteArray message = ParamMsg(1, 4, 100);
        QVERIFY(other.AbsorbMessage(reinterpret_cast<const std::uint8_t*>(message.constData()),
                                    std::size_t(message.size())));
        QVERIFY(other.Save(keeper.Path(), strWhy));
        QFile file(keeper.Path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        // Another time of change even where the clock has not moved on since the first write.
        QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(keeper.Record().Known(), 2);
        QVERIFY(keeper.Flush());
        QVERIFY(other.Load(keeper.Path(), strWhy));
        QCOMPARE(other.Known(), 2);
    }

    void estimateCountsBytesAndPauses() {
        Make(false);
        QCOMPARE(m_pWnd->EstimatedMsLeft(), 0);
        Add(2, 0, 0, ParamMsg(0, 0, 1));                       // 10 bytes: 3.2 ms
        Add(1, 0, CSysExItem::BlockKey(18), BlockMsg(18, 1)); // 44 bytes and the pause
        QCOMPARE(m_pWnd->EstimatedMsLeft(), (54 * 320 + 999) / 1000 + CMidiWnd::kBlockPauseMs);
    }

    void destructionClosesThePortAndFreesTheQueue() {
        Make(true);
        Add(2, 0, 0, ParamMsg(0, 0, 1));
        m_pWnd.reset();
        QVERIFY(m_pScript->calls.contains("close"));
        QCOMPARE(m_pScript->calls.last(), QString("close"));
    }
};

QUENLEY_REGISTER_TEST(TestMidiWnd)
#include "TestMidiWnd.moc"

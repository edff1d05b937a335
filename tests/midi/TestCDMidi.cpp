#include "CDMidi.h"
#include "CScriptedMidiDriver.h"
#include "MidiTestUtil.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QTest>

// The wrapper around one output port, against the scripted driver.
class TestCDMidi : public QObject {
    Q_OBJECT

    std::shared_ptr<CMidiScript> m_pScript;
    std::unique_ptr<CDMidi> m_pMidi;
    std::unique_ptr<CMsgRecorder> m_pWnd;

    void Make(std::vector<std::string> names = {"A", "B", "C"}) {
        m_pScript = std::make_shared<CMidiScript>();
        m_pScript->deviceNames = std::move(names);
        m_pMidi = std::make_unique<CDMidi>(std::make_unique<CScriptedMidiDriver>(m_pScript));
        m_pWnd = std::make_unique<CMsgRecorder>();
    }
    // Window, list, channel and device, as the application sets them up.
    void MakeReady(std::uint16_t nChannel = 0, std::uint32_t nDevice = 0) {
        Make();
        QVERIFY(m_pMidi->SetCallbackWnd(m_pWnd.get()));
        QVERIFY(m_pMidi->DMidiOutInit());
        QVERIFY(m_pMidi->SetMidiChannel(nChannel));
        QVERIFY(m_pMidi->SetMidiDevice(nDevice));
        QVERIFY(m_pMidi->IsReady());
    }

private slots:
    void noDeviceFailsInit() {
        Make({});
        m_pMidi->SetCallbackWnd(m_pWnd.get());
        QVERIFY(!m_pMidi->DMidiOutInit());
        QCOMPARE(m_pMidi->LastResult(), MMSYSERR_NODRIVER);
        QCOMPARE(m_pMidi->GetNumDevs(), 0u);
        QVERIFY(!m_pMidi->GetDeviceName(0));
        QVERIFY(!(m_pMidi->GetState() & DMIDI_DEVLIST));
        QVERIFY(!m_pMidi->SetMidiDevice(0));
    }

    void deviceNamesAreCutTo31Bytes() {
        Make({std::string(40, 'x'), "short", std::string(30, 'a') + "\xC3\xA9" + "zz"});
        m_pMidi->SetCallbackWnd(m_pWnd.get());
        QVERIFY(m_pMidi->DMidiOutInit());
        QCOMPARE(QByteArray(m_pMidi->GetDeviceName(0)), QByteArray(31, 'x'));
        QCOMPARE(QByteArray(m_pMidi->GetDeviceName(1)), QByteArray("short"));
        // A two-byte character that would be cut in half is left out whole.
        QCOMPARE(QByteArray(m_pMidi->GetDeviceName(2)), QByteArray(30, 'a'));
        QVERIFY(!m_pMidi->GetDeviceName(3));
    }

    void settingsNeedListAndWindow() {
        Make();
        QVERIFY(!m_pMidi->SetMidiChannel(3));
        QVERIFY(!m_pMidi->SetMidiDevice(1));
        QVERIFY(m_pMidi->DMidiOutInit());
        QVERIFY(!m_pMidi->SetMidiChannel(3)); // list but no window yet
        QVERIFY(!m_pMidi->SetMidiDevice(1));
        QCOMPARE(m_pMidi->GetMidiChannel(), std::uint16_t(0));
        QCOMPARE(m_pMidi->GetMidiDevice(), 256u);
        QCOMPARE(m_pMidi->GetState(), std::uint8_t(DMIDI_DEVLIST));
        QVERIFY(!m_pMidi->SetCallbackWnd(nullptr));
        QVERIFY(m_pMidi->SetCallbackWnd(m_pWnd.get()));
        QVERIFY(!m_pMidi->IsReady());
    }

    void channelAndDeviceLimits() {
        MakeReady(15, 2);
        QCOMPARE(m_pMidi->GetMidiChannel(), std::uint16_t(15));
        QVERIFY(!m_pMidi->SetMidiChannel(16));
        QCOMPARE(m_pMidi->GetMidiChannel(), std::uint16_t(15)); // kept
        QVERIFY(!(m_pMidi->GetState() & DMIDI_CHANNEL));
        QVERIFY(!m_pMidi->IsReady());
        QCOMPARE(m_pMidi->GetMidiDevice(), 2u);
        QVERIFY(!m_pMidi->SetMidiDevice(3));
        QCOMPARE(m_pMidi->GetMidiDevice(), 256u);
        QVERIFY(!(m_pMidi->GetState() & DMIDI_DEVICE));
        QVERIFY(m_pMidi->SetMidiChannel(4));
        QVERIFY(m_pMidi->SetMidiDevice(0));
        QVERIFY(m_pMidi->IsReady());
    }

    void allNotesOffAroundOpenCloseReset() {
        MakeReady(9, 1);
        QVERIFY(m_pMidi->DMidiOutActivate());
        QCOMPARE(m_pScript->calls, QStringList({"open 1", "short B9 7B 00"}));
        QVERIFY(!m_pMidi->DMidiOutActivate()); // already open: nothing sent
        QCOMPARE(m_pScript->calls.size(), 2);
        QVERIFY(m_pMidi->DMidiOutReset());
        QVERIFY(m_pMidi->DMidiOutDeactivate());
        QCOMPARE(m_pScript->calls, QStringList({"open 1", "short B9 7B 00", "short B9 7B 00",
                                                "reset", "short B9 7B 00", "close"}));
        QVERIFY(!m_pMidi->IsOpen());
        QVERIFY(!m_pMidi->DMidiOutDeactivate());
        QVERIFY(!m_pMidi->DMidiOutReset());
        QCOMPARE(m_pMidi->LastResult(), MMSYSERR_INVALHANDLE);
        QCOMPARE(m_pScript->calls.size(), 6); // nothing reaches a closed port
    }

    void notificationsArePostedNotSent() {
        MakeReady();
        QVERIFY(m_pMidi->DMidiOutActivate());
        QVERIFY(m_pScript->Deliver());
        QVERIFY(m_pWnd->received.isEmpty()); // not inside the driver's call
        QCoreApplication::processEvents();
        QCOMPARE(m_pWnd->Count(WM_MIDIOUT_OPEN), 1);
        QVERIFY(m_pMidi->DMidiOutDeactivate());
        m_pScript->DeliverAll();
        QCoreApplication::processEvents();
        QCOMPARE(m_pWnd->Count(WM_MIDIOUT_CLOSE), 1);
        QCOMPARE(m_pWnd->received.size(), 2);
    }

    void openWithoutDeviceFails() {
        Make();
        m_pMidi->SetCallbackWnd(m_pWnd.get());
        QVERIFY(m_pMidi->DMidiOutInit());
        QVERIFY(!m_pMidi->DMidiOutActivate());
        QVERIFY(!m_pMidi->IsOpen());
        QCOMPARE(m_pScript->PendingCount(), 0);
        QCoreApplication::processEvents();
        QVERIFY(m_pWnd->received.isEmpty());
    }

    void refusedOpenReportsTheDriversCode() {
        MakeReady();
        m_pScript->nOpenResult = MMSYSERR_ALLOCATED;
        QVERIFY(!m_pMidi->DMidiOutActivate());
        QCOMPARE(m_pMidi->LastResult(), MMSYSERR_ALLOCATED);
        QVERIFY(!m_pMidi->IsOpen());
    }

    void longMessageIsCopiedAndReleased() {
        MakeReady();
        QVERIFY(m_pMidi->DMidiOutActivate());
        QByteArray bytes = ParamMsg(1, 3, 200);
        QVERIFY(m_pMidi->DMidiOutSendSysExBuffer(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
        bytes.fill('\0'); // the caller keeps and may reuse its buffer
        QCOMPARE(m_pScript->sent.back(), QByteArray::fromHex("F0313E5600000C0148F7"));
        QCOMPARE(m_pScript->nLiveHeaders, 1);
        // Close is refused while the message is in flight.
        QVERIFY(!m_pMidi->DMidiOutDeactivate());
        QCOMPARE(m_pMidi->LastResult(), MIDIERR_STILLPLAYING);
        QVERIFY(m_pMidi->IsOpen());
        QVERIFY(m_pScript->Complete());
        DMidiHeader* pHeader = m_pScript->pending.back().pHeader;
        QVERIFY(m_pMidi->DMidiOutClearSysExBuffer(pHeader));
        QCOMPARE(m_pScript->nLiveHeaders, 0);
        QVERIFY(!m_pMidi->DMidiOutClearSysExBuffer(pHeader)); // released already: refused
        DMidiHeader foreign;
        QVERIFY(!m_pMidi->DMidiOutClearSysExBuffer(&foreign));
        QVERIFY(!m_pMidi->DMidiOutClearSysExBuffer(nullptr));
        QCOMPARE(m_pMidi->LastResult(), MMSYSERR_INVALHANDLE);
    }

    void refusedSendKeepsNothing() {
        MakeReady();
        const QByteArray bytes = ParamMsg(0, 0, 1);
        const auto* pData = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        QVERIFY(!m_pMidi->DMidiOutSendSysExBuffer(pData, bytes.size())); // port closed
        QVERIFY(m_pMidi->DMidiOutActivate());
        QVERIFY(!m_pMidi->DMidiOutSendSysExBuffer(nullptr, 10));
        m_pScript->nPrepareResult = MMSYSERR_NOMEM;
        QVERIFY(!m_pMidi->DMidiOutSendSysExBuffer(pData, bytes.size()));
        m_pScript->nPrepareResult = MMSYSERR_NOERROR;
        m_pScript->nLongResult = MIDIERR_NOTREADY;
        QVERIFY(!m_pMidi->DMidiOutSendSysExBuffer(pData, bytes.size()));
        QCOMPARE(m_pMidi->LastResult(), MIDIERR_NOTREADY);
        QCOMPARE(m_pScript->nLiveHeaders, 0);
        QVERIFY(m_pScript->inFlight.empty());
        QCOMPARE(m_pScript->PendingCount(), 1); // only the open
    }

    void resetHandsBuffersBackAndTheyAreReleasedAfterClose() {
        MakeReady();
        QVERIFY(m_pMidi->DMidiOutActivate());
        m_pScript->DeliverAll();
        const QByteArray bytes = BlockMsg(4, 1);
        for (int i = 0; i < 2; ++i)
            QVERIFY(m_pMidi->DMidiOutSendSysExBuffer(
                reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
        QVERIFY(m_pMidi->DMidiOutReset());
        QVERIFY(m_pMidi->DMidiOutDeactivate());
        // The done messages arrive after the port is gone; their buffers are still released.
        QCoreApplication::processEvents();
        QCOMPARE(m_pWnd->Count(WM_MIDIOUT_DONE), 2);
        for (const auto& e : m_pWnd->received)
            if (e.nMsg == WM_MIDIOUT_DONE)
                QVERIFY(
                    m_pMidi->DMidiOutClearSysExBuffer(reinterpret_cast<DMidiHeader*>(e.wParam)));
    }
};

QUENLEY_REGISTER_TEST(TestCDMidi)
#include "TestCDMidi.moc"

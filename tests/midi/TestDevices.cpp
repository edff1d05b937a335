// Devices that come and go: the list read again only while the port is closed, the choice held
// by name, a device vanishing under the open port, and the driver's own words for a refused open.

#include "CMidiDriverChain.h"
#include "CMidiWnd.h"
#include "CScriptedMidiDriver.h"
#include "CSysExFileDriver.h"
#include "MidiTestUtil.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Names = std::vector<std::string>;
Q_DECLARE_METATYPE(Names)

class TestDevices : public QObject {
    Q_OBJECT

    std::shared_ptr<CMidiScript> m_pScript;
    std::unique_ptr<CMsgRecorder> m_pFrame;
    std::unique_ptr<CMidiWnd> m_pWnd;

    // A link on the scripted driver (manual notifications) with device nDevice chosen.
    void Make(unsigned nDevice) {
        m_pScript = std::make_shared<CMidiScript>();
        m_pFrame = std::make_unique<CMsgRecorder>();
        m_pWnd = std::make_unique<CMidiWnd>(std::make_unique<CScriptedMidiDriver>(m_pScript));
        QVERIFY(m_pWnd->Create(m_pFrame.get()));
        QVERIFY(m_pWnd->DMidiOutInit());
        QVERIFY(m_pWnd->SetMidiChannel(0));
        QVERIFY(m_pWnd->SetMidiDevice(nDevice));
    }
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            m_pScript->DeliverAll();
            QCoreApplication::processEvents();
        }
    }
    void Open() {
        QVERIFY(m_pWnd->DMidiOutActivate());
        Settle();
        QVERIFY(!m_pWnd->IsClosed());
    }
    QList<QByteArray> Sent() const {
        QList<QByteArray> list;
        for (const QByteArray& b : m_pScript->sent)
            if (b.size() > 3)
                list << b;
        return list;
    }
    QList<QByteArray> Queued() const {
        QList<QByteArray> list;
        for (auto it = m_pWnd->Queue().rbegin(); it != m_pWnd->Queue().rend(); ++it)
            list << QByteArray(reinterpret_cast<const char*>((*it)->pBuffer.get()), (*it)->nLength);
        return list;
    }
    int Opens() const { return int(m_pScript->calls.filter(QStringLiteral("open")).size()); }

private slots:
    void cleanup() {
        m_pWnd.reset();
        m_pFrame.reset();
    }

    // Reading the list again finds the chosen device by name wherever it went, and never
    // takes whatever moved into its old place.
    void listReadAgainKeepsTheChoiceByName_data() {
        QTest::addColumn<Names>("names");
        QTest::addColumn<int>("device"); // -1: not there
        QTest::newRow("unchanged") << Names{"Scripted A", "Scripted B", "Scripted C"} << 1;
        QTest::newRow("moved") << Names{"Scripted C", "New Synth", "Scripted A", "Scripted B"} << 3;
        QTest::newRow("gone") << Names{"Scripted A", "Scripted C"} << -1;
        QTest::newRow("another at its place")
            << Names{"Scripted A", "Keyboard", "Scripted C"} << -1;
        QTest::newRow("nothing at all") << Names{} << -1;
    }
    void listReadAgainKeepsTheChoiceByName() {
        QFETCH(Names, names);
        QFETCH(int, device);
        Make(1);
        m_pScript->deviceNames = names;
        QCOMPARE(m_pWnd->DMidiOutInit(), !names.empty());
        QCOMPARE(m_pWnd->GetNumDevs(), std::uint32_t(names.size()));
        QCOMPARE(m_pWnd->IsReady(), device >= 0);
        QCOMPARE(m_pWnd->GetMidiDevice(), device >= 0 ? std::uint32_t(device) : DMIDI_NONE);
        // Missing or not, the choice stays, and comes back with the device.
        QCOMPARE(m_pWnd->GetMidiDeviceName(), std::string("Scripted B"));
        m_pScript->deviceNames = {"Late Arrival", "Scripted B"};
        QVERIFY(m_pWnd->DMidiOutInit());
        QVERIFY(m_pWnd->IsReady());
        QCOMPARE(m_pWnd->GetMidiDevice(), 1u);
        QCOMPARE(m_pWnd->GetDeviceName(0), "Late Arrival");
    }

    // While the port is open its device's place must not change under it.
    void listIsNotReadWhileOpen() {
        Make(2);
        Open();
        m_pScript->deviceNames = {"Scripted C"};
        QVERIFY(!m_pWnd->DMidiOutInit());
        QCOMPARE(m_pWnd->LastResult(), MIDIERR_STILLPLAYING);
        QCOMPARE(m_pWnd->GetNumDevs(), 3u);
        QCOMPARE(m_pWnd->GetMidiDevice(), 2u);
        QVERIFY(m_pWnd->IsReady());
        QVERIFY(m_pWnd->DMidiOutDeactivate());
        Settle();
        QVERIFY(m_pWnd->DMidiOutInit());
        QCOMPARE(m_pWnd->GetMidiDevice(), 0u);
    }

    // A long name is matched in full: two devices that differ only past the display buffer are
    // two devices. A name stored cut (as older settings hold it) still finds its device.
    void longNamesAreMatchedInFull() {
        const std::string strStem(40, 'x');
        Make(0);
        m_pScript->deviceNames = {strStem + "-1", strStem + "-2"};
        QVERIFY(m_pWnd->DMidiOutInit());
        QVERIFY(m_pWnd->SetMidiDevice(1));
        QCOMPARE(m_pWnd->GetMidiDeviceName(), strStem + "-2");
        m_pScript->deviceNames = {strStem + "-2", strStem + "-1"};
        QVERIFY(m_pWnd->DMidiOutInit());
        QCOMPARE(m_pWnd->GetMidiDevice(), 0u);
        QVERIFY(m_pWnd->SetMidiDeviceByName(std::string(CDMidi::kNameSize - 1, 'x')));
        QCOMPARE(m_pWnd->GetMidiDevice(), 0u);
        QVERIFY(!m_pWnd->SetMidiDeviceByName("Scripted A"));
        QVERIFY(!m_pWnd->IsReady());
    }

    // A device plugged in again may come back under another system address at the end of its
    // name; it is still the chosen one, unless two devices now share the rest of the name.
    void deviceBackUnderANewAddress_data() {
        QTest::addColumn<Names>("names");
        QTest::addColumn<int>("device"); // -1: not chosen
        QTest::newRow("new address")
            << Names{"Midi Through 14:0", "Drum USB:Drum MIDI 1 28:0"} << 1;
        QTest::newRow("two alike")
            << Names{"Drum USB:Drum MIDI 1 28:0", "Drum USB:Drum MIDI 1 32:0"} << -1;
        QTest::newRow("not an address")
            << Names{"Drum USB:Drum MIDI 1 x28:0", "Drum USB:Drum MIDI 1"} << -1;
    }
    void deviceBackUnderANewAddress() {
        QFETCH(Names, names);
        QFETCH(int, device);
        Make(0);
        QVERIFY(!m_pWnd->SetMidiDeviceByName("Drum USB:Drum MIDI 1 24:0"));
        m_pScript->deviceNames = names;
        m_pWnd->DMidiOutInit();
        QCOMPARE(m_pWnd->GetMidiDevice(), device >= 0 ? std::uint32_t(device) : DMIDI_NONE);
        // Found, it is known by its new name from now on; not found, the old name stays.
        QCOMPARE(m_pWnd->GetMidiDeviceName(),
                 device >= 0 ? names[device] : std::string("Drum USB:Drum MIDI 1 24:0"));
    }

    // Activate checks the device at the chosen place is still the chosen one: a moved device
    // is opened where it now is, a gone one is not replaced by its neighbour.
    void activateOpensOnlyTheChosenDevice() {
        Make(1);
        m_pScript->deviceNames = {"Scripted A", "Keyboard"};
        QVERIFY(!m_pWnd->DMidiOutActivate());
        QCOMPARE(m_pWnd->LastResult(), MIDIERR_NODEVICE);
        QCOMPARE(Opens(), 0);
        QVERIFY(!m_pWnd->IsOpen());

        m_pScript->deviceNames = {"Keyboard", "Scripted A", "Scripted B"};
        QVERIFY(m_pWnd->DMidiOutActivate());
        QCOMPARE(m_pScript->calls.filter(QStringLiteral("open")), QStringList({"open 2"}));
        QCOMPARE(m_pWnd->GetMidiDevice(), 2u);
    }

    // The device goes while the port is open, with a message in the driver's hands or with
    // the next one refused: the port closes, the device is named once, and every waiting
    // message stays, in order, for the next open; none is handed to anything else.
    void vanishedDeviceClosesThePortAndKeepsTheQueue_data() {
        QTest::addColumn<bool>("inFlight");
        QTest::newRow("message in flight") << true;
        QTest::newRow("next message refused") << false;
    }
    void vanishedDeviceClosesThePortAndKeepsTheQueue() {
        QFETCH(bool, inFlight);
        Make(0);
        Open();
        QSignalSpy gone(m_pWnd.get(), &CMidiWnd::DeviceGone);
        QSignalSpy failed(m_pWnd.get(), &CMidiWnd::SendFailed);
        const QList<QByteArray> messages = {ParamMsg(0, 0, 1), ParamMsg(0, 1, 2),
                                            ParamMsg(0, 2, 3)};
        if (!inFlight)
            m_pScript->Vanish();
        for (int i = 0; i < messages.size(); ++i)
            m_pWnd->AddSysExBuffer(MakeItem(2, 0, i, messages[i]));
        QCoreApplication::processEvents();
        // One at a time; a refused one never reached the driver.
        QCOMPARE(Sent(), inFlight ? QList<QByteArray>({messages[0]}) : QList<QByteArray>());
        QCOMPARE(m_pScript->calls.filter(QStringLiteral("long")).size(), 1);
        if (inFlight) {
            QVERIFY(gone.isEmpty());
            m_pScript->Vanish();
        }
        Settle();
        QCOMPARE(gone.size(), 1);
        QCOMPARE(gone.front().at(0).toString(), QStringLiteral("Scripted A"));
        QCOMPARE(gone.front().at(1).toInt(), 3);
        QVERIFY(failed.isEmpty()); // told as gone, not as a failed message besides
        QVERIFY(!m_pWnd->IsOpen());
        QVERIFY(m_pWnd->IsClosed());
        QCOMPARE(m_pFrame->Count(WM_MIDIOUT_CLOSE), 1);
        QCOMPARE(Queued(), messages);
        QCOMPARE(m_pScript->calls.filter(QStringLiteral("long")).size(), 1);
        QCOMPARE(m_pScript->nLiveHeaders, 0);

        // While closed a newer value replaces the kept one, as for any waiting message.
        const QByteArray newer = ParamMsg(0, 0, 9);
        QVERIFY(!m_pWnd->AddSysExBuffer(MakeItem(2, 0, 0, newer)));
        QCOMPARE(Queued(), QList<QByteArray>({messages[1], messages[2], newer}));

        // Back again: everything goes out on the next open, and a later loss is told again.
        const qsizetype nBefore = Sent().size();
        m_pScript->bAuto = true;
        Open();
        QTRY_COMPARE(m_pWnd->QueueLength(), 0);
        QCOMPARE(Sent().mid(nBefore), QList<QByteArray>({messages[1], messages[2], newer}));
        m_pScript->bAuto = false;
        m_pWnd->AddSysExBuffer(MakeItem(2, 0, 5, messages[0]));
        m_pScript->Vanish();
        Settle();
        QCOMPARE(gone.size(), 2);
        QCOMPARE(gone.back().at(1).toInt(), 1);
    }

    // A newer message for the values in flight waits already; the lost older one is not kept
    // beside it, or it would overwrite the newer value after the next open.
    void lostMessageWithANewerOneWaitingIsDropped() {
        Make(0);
        Open();
        QSignalSpy gone(m_pWnd.get(), &CMidiWnd::DeviceGone);
        m_pWnd->AddSysExBuffer(MakeItem(2, 0, 0, ParamMsg(0, 0, 1)));
        QCoreApplication::processEvents();
        m_pWnd->AddSysExBuffer(MakeItem(2, 0, 0, ParamMsg(0, 0, 2)));
        QCOMPARE(m_pWnd->QueueLength(), 2);
        m_pScript->Vanish();
        Settle();
        QCOMPARE(gone.size(), 1);
        QCOMPARE(gone.front().at(1).toInt(), 1);
        QCOMPARE(Queued(), QList<QByteArray>({ParamMsg(0, 0, 2)}));
    }

    // A refused open carries the driver's own words; a successful one clears them.
    void refusedOpenCarriesTheDriversWords() {
        Make(0);
        m_pScript->nOpenResult = MMSYSERR_ALLOCATED;
        m_pScript->strOpenError = "Drum Lab (process 4711) has it";
        QVERIFY(!m_pWnd->DMidiOutActivate());
        QCOMPARE(m_pWnd->LastResult(), MMSYSERR_ALLOCATED);
        QCOMPARE(m_pWnd->LastOpenError(), std::string("Drum Lab (process 4711) has it"));
        m_pScript->nOpenResult = MMSYSERR_NOERROR;
        QVERIFY(m_pWnd->DMidiOutActivate());
        QVERIFY(m_pWnd->LastOpenError().empty());
    }

    // The file output held by someone else says who holds it, through the driver chain.
    void heldFileOutputSaysWhoHoldsIt() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString strPath = dir.filePath(QStringLiteral("out.syx"));
        QLockFile holder(CSysExFileDriver(strPath).LockPath());
        QVERIFY(holder.tryLock(0));
        auto pScript = std::make_shared<CMidiScript>();
        CMidiDriverChain chain;
        chain.Append(std::make_unique<CScriptedMidiDriver>(pScript));
        chain.Append(std::make_unique<CSysExFileDriver>(strPath));
        QCOMPARE(chain.GetNumDevs(), 4u);
        std::unique_ptr<CMidiOutPort> pPort;
        QCOMPARE(chain.Open(pPort, 3, nullptr, nullptr), MMSYSERR_ALLOCATED);
        const QString strWhy = QString::fromStdString(chain.LastOpenError());
        QVERIFY2(strWhy.contains(
                     QStringLiteral("(process %1)").arg(QCoreApplication::applicationPid())) &&
                     strWhy.contains(QStringLiteral("out.syx")),
                 qPrintable(strWhy));
        // The next open asks another driver, whose silence is not mixed with the file's words.
        QCOMPARE(chain.Open(pPort, 0, nullptr, nullptr), MMSYSERR_NOERROR);
        QVERIFY(chain.LastOpenError().empty());
    }
};

QUENLEY_REGISTER_TEST(TestDevices)
#include "TestDevices.moc"

#include "CJackReceiver.h"
#include "CJackSender.h"
#include "CMidiInput.h"
#include "CMidiWnd.h"
#include "CSysExItem.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <cstring>

// The JACK server goes away in the middle of sending: the editor must neither hang nor spin
// its user interface, the link must stop instead of pretending to send, and the port must be
// closed (the link closes it itself, naming the device, and keeps what waits). The input hears
// it too.
class TestJackServerDeath : public QObject {
    Q_OBJECT

    QProcess m_server;
    QByteArray m_name;

    bool ServerRunning() {
        QProcess wait;
        wait.start("jack_wait", {"-s", QString::fromLatin1(m_name), "-c"});
        return wait.waitForFinished(3000) && wait.readAllStandardOutput().trimmed() == "running";
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("jackd").isEmpty())
            QSKIP("jackd is not installed");
        // One fixed name: JACK keeps a small table of servers and frees the entry of a killed
        // one only when a server of the same name starts again.
        m_name = "quenley-death";
        // The MIDI back end opens its clients on the default server.
        qputenv("JACK_DEFAULT_SERVER", m_name);
        qputenv("QUENLEY_MIDI_API", "jack");
    }

    // Each test kills the server: a fresh one for each.
    void init() {
        m_server.start("jackd", {"-n", QString::fromLatin1(m_name), "--no-realtime", "-d", "dummy",
                                 "-r", "48000", "-p", "256"});
        if (!m_server.waitForStarted(3000))
            QSKIP("jackd did not start");
        QElapsedTimer clock;
        clock.start();
        while (!ServerRunning() && clock.elapsed() < 10000)
            QThread::msleep(100);
        if (!ServerRunning())
            QSKIP("the JACK server did not come up");
    }

    void cleanup() {
        m_server.kill();
        m_server.waitForFinished(3000);
    }

    void inputHearsTheServerGo() {
        CJackSender sender;
        QString strWhy;
        QVERIFY2(sender.Start("quenley-death-send", strWhy), qPrintable(strWhy));
        CMidiInput input(CreateSystemMidiInDriver());
        QVERIFY2(input.Open(sender.PortName(), &strWhy), qPrintable(strWhy));
        QSignalSpy gone(&input, &CMidiInput::DeviceGone);
        m_server.kill();
        QVERIFY(m_server.waitForFinished(3000));
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, 5000);
        QVERIFY(!input.IsOpen());
    }

    void sendingStopsAndTheCloseStillWorks() {
        CJackReceiver receiver;
        QString strWhy;
        QVERIFY2(receiver.Start("quenley-death-recv", strWhy, m_name.constData()),
                 qPrintable(strWhy));
        QObject frame;
        CMidiWnd wnd;
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        for (std::uint32_t i = 0; i < wnd.GetNumDevs(); ++i)
            if (receiver.PortName() == QString::fromUtf8(wnd.GetDeviceName(i)))
                wnd.SetMidiDevice(i);
        QVERIFY(wnd.SetMidiChannel(0));
        QVERIFY(wnd.IsReady());
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY(!wnd.IsClosed());

        // Keep the queue fed, as a musician sweeping a knob would, and watch the event loop.
        int nAdded = 0;
        auto feed = [&] {
            while (wnd.QueueLength() < 4) {
                auto pItem = CSysExItem::New();
                pItem->nParam = nAdded++;
                pItem->nLength = 200;
                pItem->pBuffer = std::make_unique<std::uint8_t[]>(200);
                std::memset(pItem->pBuffer.get(), 0x11, 200);
                pItem->pBuffer[0] = 0xF0;
                pItem->pBuffer[199] = 0xF7;
                wnd.AddSysExBuffer(std::move(pItem));
            }
        };
        QElapsedTimer clock;
        clock.start();
        while (receiver.Count() < 5 && clock.elapsed() < 5000) {
            feed();
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        QVERIFY(receiver.Count() >= 5);

        QSignalSpy gone(&wnd, &CMidiWnd::DeviceGone);
        m_server.kill();
        QVERIFY(m_server.waitForFinished(3000));
        // The back end's buffer fills, then its send would wait forever; the link must give up
        // on it and stand still, with the user interface running all the while.
        qint64 nLongestStall = 0;
        int nStillRounds = 0;
        int nLastAdded = -1;
        clock.restart();
        QElapsedTimer step;
        step.start();
        while (clock.elapsed() < 30000 && nStillRounds < 300) {
            feed();
            nStillRounds = (nAdded == nLastAdded) ? nStillRounds + 1 : 0;
            nLastAdded = nAdded;
            nLongestStall = std::max(nLongestStall, step.restart());
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        QVERIFY2(nStillRounds >= 300, "the send loop stopped after the server died");
        QVERIFY2(nLongestStall < 500,
                 qPrintable(QString("event loop held %1 ms").arg(nLongestStall)));
        QCOMPARE(gone.size(), 1);
        QCOMPARE(gone.front().at(0).toString(), receiver.PortName());
        QVERIFY(gone.front().at(1).toInt() >= 1);
        QVERIFY(!wnd.IsOpen());
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
        // Nothing was thrown away with the device: every message fed since waits.
        QCOMPARE(wnd.QueueLength(), 4);
        QVERIFY(!wnd.DMidiOutDeactivate()); // closed already
    }
};

QUENLEY_REGISTER_TEST(TestJackServerDeath)
#include "TestJackServerDeath.moc"

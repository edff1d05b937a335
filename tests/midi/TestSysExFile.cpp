#include "CMidiDriverChain.h"
#include "CMidiWnd.h"
#include "CSysExFileDriver.h"
#include "MidiTestUtil.h"
#include "TestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

// The built-in output that writes every message to a file, through the whole send loop.
class TestSysExFile : public QObject {
    Q_OBJECT

    static QByteArray ReadAll(const QString& strPath) {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void isAlwaysTheLastDevice() {
        std::unique_ptr<CMidiOutDriver> pDriver = CreateSystemMidiDriver();
        const unsigned nCount = pDriver->GetNumDevs();
        QVERIFY(nCount >= 1);
        std::string strName;
        QCOMPARE(pDriver->GetDevName(nCount - 1, strName), MMSYSERR_NOERROR);
        QCOMPARE(QString::fromStdString(strName), QString("SysEx file"));
        QVERIFY(pDriver->GetDevName(nCount, strName) != MMSYSERR_NOERROR);
        QVERIFY(CSysExFileDriver::DefaultPath().endsWith("sysex-out.syx"));
    }

    void writesEveryMessageUnchangedAndTruncatesAtOpen() {
        QTemporaryDir dir;
        const QString strPath = dir.filePath("out/sysex.syx");
        auto pChain = std::make_unique<CMidiDriverChain>();
        pChain->Append(std::make_unique<CSysExFileDriver>(strPath));
        CMsgRecorder frame;
        CMidiWnd wnd(std::move(pChain));
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        QCOMPARE(QByteArray(wnd.GetDeviceName(0)), QByteArray("SysEx file"));
        QVERIFY(wnd.SetMidiChannel(2));
        QVERIFY(wnd.SetMidiDevice(0));

        for (int round = 0; round < 2; ++round) {
            wnd.AddSysExBuffer(MakeItem(2, round, 3, ParamMsg(round, 3, 200)));
            wnd.AddSysExBuffer(MakeItem(1, round, CSysExItem::BlockKey(8), BlockMsg(8, 65)));
            QVERIFY(wnd.DMidiOutActivate());
            QTRY_VERIFY(!wnd.IsClosed());
            QTRY_VERIFY_WITH_TIMEOUT(wnd.IsIdle() && wnd.QueueLength() == 0, 3000);
            QVERIFY(wnd.DMidiOutDeactivate());
            QTRY_VERIFY(wnd.IsClosed());
            // Each open starts the file afresh: only this round's messages are in it.
            const QByteArray expected = QByteArray::fromHex("B27B00") + ParamMsg(round, 3, 200) +
                                        BlockMsg(8, 65) + QByteArray::fromHex("B27B00");
            QCOMPARE(ReadAll(strPath).toHex(' '), expected.toHex(' '));
        }
    }

    // One user at a time, as with a real port: two writers would interleave their messages.
    void secondOpenIsRefusedWhileTheFirstHoldsThePort() {
        QTemporaryDir dir;
        const QString strPath = dir.filePath("sysex.syx");
        CSysExFileDriver first(strPath), second(strPath);
        std::unique_ptr<CMidiOutPort> pFirst, pSecond;
        QCOMPARE(first.Open(pFirst, 0, nullptr, nullptr), MMSYSERR_NOERROR);
        QVERIFY(QFileInfo::exists(first.LockPath()));
        QCOMPARE(second.Open(pSecond, 0, nullptr, nullptr), MMSYSERR_ALLOCATED);
        QVERIFY(!pSecond);
        QCOMPARE(first.Open(pSecond, 0, nullptr, nullptr), MMSYSERR_ALLOCATED);
        // The refused open truncated nothing: what the holder wrote is still there.
        QCOMPARE(pFirst->ShortMsg(0x7BB0), MMSYSERR_NOERROR);
        QCOMPARE(pFirst->Close(), MMSYSERR_NOERROR);
        QTRY_VERIFY(!QFileInfo::exists(first.LockPath()));
        pFirst.reset();
        QCOMPARE(ReadAll(strPath), QByteArray::fromHex("B07B00"));

        QCOMPARE(second.Open(pSecond, 0, nullptr, nullptr), MMSYSERR_NOERROR);
        pSecond.reset(); // gone without a close: the lock goes with it
        QCOMPARE(first.Open(pFirst, 0, nullptr, nullptr), MMSYSERR_NOERROR);
    }

    // A holder that dies without closing leaves its lock file behind; it must not block the
    // port for good.
    void lockOfACrashedHolderIsTakenOver() {
        QTemporaryDir dir;
        const QString strPath = dir.filePath("sysex.syx");
        // The child takes the port's lock as an open does, and dies holding it. It starts no
        // thread: this process has several, and only the forking one lives on in the child.
        const pid_t pid = fork();
        if (pid == 0) {
            QLockFile lock(CSysExFileDriver(strPath).LockPath());
            _exit(lock.tryLock(0) ? 0 : 1);
        }
        QVERIFY(pid > 0);
        int nStatus = 0;
        QCOMPARE(waitpid(pid, &nStatus, 0), pid);
        QVERIFY(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
        CSysExFileDriver driver(strPath);
        QVERIFY(QFileInfo::exists(driver.LockPath()));
        std::unique_ptr<CMidiOutPort> pPort;
        QCOMPARE(driver.Open(pPort, 0, nullptr, nullptr), MMSYSERR_NOERROR);
    }

    void unwritablePlaceFailsTheOpen() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CSysExFileDriver driver(dir.filePath("file/sysex.syx")); // a file where a folder must be
        std::unique_ptr<CMidiOutPort> pPort;
        QVERIFY(driver.Open(pPort, 0, nullptr, nullptr) != MMSYSERR_NOERROR);
        QVERIFY(!pPort);
    }
};

QUENLEY_REGISTER_TEST(TestSysExFile)
#include "TestSysExFile.moc"

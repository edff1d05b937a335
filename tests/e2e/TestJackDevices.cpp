#include "CJackReceiver.h"
#include "CMidiOutDeviceDlg.h"
#include "CMidiWnd.h"
#include "CSysExItem.h"
#include "TestMain.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<CSysExItem> Item(int nParam, int nValue) {
    const QByteArray bytes =
        QByteArray::fromHex("F0313E56000000") + QByteArray(1, char(nValue & 0x7F)) + "\xF7";
    auto pItem = CSysExItem::New();
    pItem->nSection = 2;
    pItem->nParam = nParam;
    pItem->nLength = static_cast<int>(bytes.size());
    pItem->pBuffer = std::make_unique<std::uint8_t[]>(bytes.size());
    std::memcpy(pItem->pBuffer.get(), bytes.constData(), bytes.size());
    return pItem;
}

int Row(const QListWidget& list, const QString& strName) {
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text() == strName)
            return i;
    return -1;
}

} // namespace

// JACK clients that come and go while the editor runs: one started later is offered after
// Refresh and can be sent to; one that goes while the port is open closes the port.
class TestJackDevices : public QObject {
    Q_OBJECT

    CJackReceiver m_first;

private slots:
    void initTestCase() {
        QString strWhy;
        if (!m_first.Start("quenley-devices", strWhy))
            QSKIP(qPrintable(strWhy));
    }

    void receiverStartedLaterIsListedAfterRefresh() {
        QObject frame;
        CMidiWnd wnd; // the system outputs: JACK when QUENLEY_MIDI_API=jack
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        CMidiOutDeviceDlg dialog(&wnd);
        QVERIFY(Row(*dialog.DeviceList(), m_first.PortName()) >= 0);

        auto pLate = std::make_unique<CJackReceiver>();
        QString strWhy;
        QVERIFY2(pLate->Start("quenley-late", strWhy), qPrintable(strWhy));
        QCOMPARE(Row(*dialog.DeviceList(), pLate->PortName()), -1);
        QTest::mouseClick(dialog.RefreshButton(), Qt::LeftButton);
        const int nRow = Row(*dialog.DeviceList(), pLate->PortName());
        QVERIFY2(nRow >= 0, "the receiver started after the list was read is offered");
        QVERIFY(Row(*dialog.DeviceList(), m_first.PortName()) >= 0);

        // Chosen there, it is the device the port opens.
        dialog.DeviceList()->setCurrentRow(nRow);
        dialog.accept();
        QCOMPARE(QString::fromStdString(wnd.GetMidiDeviceName()), pLate->PortName());
        QVERIFY(wnd.IsReady());
        m_first.Clear();
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY(!wnd.IsClosed());
        wnd.AddSysExBuffer(Item(0, 42));
        QTRY_COMPARE_WITH_TIMEOUT(pLate->Count(), std::size_t(2), 3000); // All Notes Off, then it
        QCOMPARE(pLate->Events().back().bytes.toHex(' '), QByteArray("f0 31 3e 56 00 00 00 2a f7"));
        QCOMPARE(m_first.Count(), std::size_t(0));
        QVERIFY(wnd.DMidiOutDeactivate());
        QTRY_VERIFY(wnd.IsClosed());
    }

    // The receiving client goes while the port is open: the next send finds it gone, the port
    // closes and what waits is kept; nothing reaches the other client.
    void receiverThatGoesClosesThePort() {
        auto pGoing = std::make_unique<CJackReceiver>();
        QString strWhy;
        QVERIFY2(pGoing->Start("quenley-going", strWhy), qPrintable(strWhy));
        const QString strName = pGoing->PortName();
        QObject frame;
        CMidiWnd wnd;
        QVERIFY(wnd.Create(&frame));
        QVERIFY(wnd.DMidiOutInit());
        QVERIFY(wnd.SetMidiChannel(0));
        QVERIFY(wnd.SetMidiDeviceByName(strName.toStdString()));
        QVERIFY(wnd.DMidiOutActivate());
        QTRY_VERIFY(!wnd.IsClosed());
        wnd.AddSysExBuffer(Item(0, 1));
        QTRY_COMPARE_WITH_TIMEOUT(pGoing->Count(), std::size_t(2), 3000);
        QTRY_VERIFY(wnd.IsIdle());

        QSignalSpy gone(&wnd, &CMidiWnd::DeviceGone);
        pGoing.reset();
        // The list is looked at again at most every 100 ms.
        QThread::msleep(250);
        m_first.Clear();
        for (int i = 1; i <= 3; ++i)
            wnd.AddSysExBuffer(Item(i, i));
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, 3000);
        QCOMPARE(gone.front().at(0).toString(), strName);
        QCOMPARE(gone.front().at(1).toInt(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(wnd.IsClosed(), 3000);
        QVERIFY(!wnd.IsOpen());
        QCOMPARE(wnd.QueueLength(), 3);
        QThread::msleep(50);
        QCOMPARE(m_first.Count(), std::size_t(0));
    }
};

QUENLEY_REGISTER_TEST(TestJackDevices)
#include "TestJackDevices.moc"

// The LED lamp.

#include "ControlMessages.h"
#include "ControlTest.h"
#include "TestMain.h"

using namespace ControlTest;

class TestLed : public CControlTest {
    Q_OBJECT

private slots:
    void led_data();
    void led();
    void ledSetState();
};

void TestLed::led_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<int>>("states"); // the state at each notification
    QTest::addColumn<bool>("bFocus");

    QTest::newRow("latching click") << "latching"
                                    << "click" << QList<int>{1} << true;
    QTest::newRow("latching double click") << "latching"
                                           << "double" << QList<int>{1, 0} << true;
    QTest::newRow("momentary click") << "momentary"
                                     << "click" << QList<int>{1, 0} << true;
    QTest::newRow("momentary released outside") << "momentary"
                                                << "outside" << QList<int>{1, 0} << true;
    QTest::newRow("momentary double click") << "momentary"
                                            << "double" << QList<int>{1, 0, 1, 0} << true;
    QTest::newRow("read-only click") << "readonly"
                                     << "click" << QList<int>{} << false;
    QTest::newRow("read-only double click") << "readonly"
                                            << "double" << QList<int>{} << false;
    QTest::newRow("right button") << "latching"
                                  << "right" << QList<int>{} << false;
}

void TestLed::led() {
    QFETCH(QString, mode);
    QFETCH(QString, action);
    QFETCH(QList<int>, states);
    QFETCH(bool, bFocus);

    CDLed led;
    QVERIFY(led.Create(m_pView.get(), kLedId, LedStrip(), 5, 5, 2, false));
    led.SetMomentary(mode == "momentary");
    if (mode == "readonly")
        led.SetReadOnly();
    const QPoint at(1, 1);
    if (action == "right") {
        Mouse(&led, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        Mouse(&led, QEvent::MouseButtonRelease, at, Qt::RightButton, {});
    } else {
        Press(&led, at);
        Release(&led, action == "outside" ? QPoint(80, 90) : at);
    }
    if (action == "double") {
        DoubleClick(&led, at);
        Release(&led, at);
    }

    QList<int> seen;
    for (const CReceiver::SNote& note : m_pView->m_notes) {
        QCOMPARE(note.nMsg, WM_DLED_CHANGED);
        QCOMPARE(note.pSender, &led);
        seen.append(note.nValue);
    }
    QCOMPARE(seen, states);
    const bool bOn = !states.isEmpty() && states.last();
    QCOMPARE(led.GetState(), bOn);
    QCOMPARE(Grab(&led).pixel(0, 0), PaletteColor(bOn ? 11 : 10));
    QCOMPARE(QApplication::focusWidget() == &led, bFocus);
}

void TestLed::ledSetState() {
    CDLed led;
    QVERIFY(led.Create(m_pView.get(), kLedId, LedStrip(), 5, 5, 2, false));
    led.SetReadOnly();
    Settle();
    CPaintSpy spy(&led);
    led.SetState(false);
    Settle();
    QCOMPARE(spy.m_nPaints, 0);
    led.SetState(true);
    Settle();
    QCOMPARE(spy.m_nPaints, 1);
    QCOMPARE(OnScreen(&led).pixel(1, 1), PaletteColor(11));
    QVERIFY(led.GetState());
    QVERIFY(m_pView->m_notes.isEmpty());
}

QUENLEY_REGISTER_TEST(TestLed)
#include "tst_led.moc"

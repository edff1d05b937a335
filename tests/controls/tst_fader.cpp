// The fader: its cap, and what it repaints.

#include "ControlTest.h"
#include "TestMain.h"

using namespace ControlTest;

class TestFader : public CControlTest {
    Q_OBJECT

private slots:
    void faderCreate();
    void faderCapPosition_data();
    void faderCapPosition();
    void faderRepaintsOnlyTheBand();
    void faderIncrementalEqualsFull();
};

void TestFader::faderCreate() {
    auto pFader = Fader(kPanelFader);
    QCOMPARE(pFader->size(), QSize(20, 151));
    QCOMPARE(pFader->windowTitle(), QStringLiteral("DFADER"));
    QCOMPARE(pFader->GetTravel(), 124);
    QCOMPARE(pFader->GetCapPos(), 124);
    QCOMPARE(Grab(pFader.get()), kPanelFader.Picture(124));

    CDFader refused;
    // A cap taller than the strip, and a cap taller than the track it runs on.
    QVERIFY(!refused.Create(m_pView.get(), kAnyId, kPanelFader.Strip(), 0, 0, 330, false));
    QVERIFY(!refused.Create(m_pView.get(), kAnyId, kPanelFader.Strip(), 0, 0, 120, false));
    QVERIFY(!refused.parentWidget());
}

void TestFader::faderCapPosition_data() {
    QTest::addColumn<int>("nMax");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nCapPos");
    QTest::newRow("0") << 255 << 0 << 124;
    QTest::newRow("255") << 255 << 255 << 0;
    QTest::newRow("128") << 255 << 128 << 62;
    QTest::newRow("1 moves less than a pixel") << 255 << 1 << 124;
    QTest::newRow("0..7: 4") << 7 << 4 << 124 - 70;
}

void TestFader::faderCapPosition() {
    QFETCH(int, nMax);
    QFETCH(int, nValue);
    QFETCH(int, nCapPos);
    auto pFader = Fader(kPanelFader);
    QVERIFY(pFader->SetRange(0, nMax));
    pFader->SetValue(nMax, true);
    pFader->SetValue(nValue, true);
    QCOMPARE(pFader->GetCapPos(), nCapPos);
    QCOMPARE(Grab(pFader.get()), kPanelFader.Picture(nCapPos));
}

void TestFader::faderRepaintsOnlyTheBand() {
    auto pFader = Fader(kPanelFader);
    Settle();
    CPaintSpy spy(pFader.get());

    QVERIFY(!pFader->SetValue(0, true)); // the current value
    pFader->Decrement(true);             // at the minimum
    QVERIFY(pFader->SetValue(1, true));  // less than a pixel
    Settle();
    QCOMPARE(spy.m_nPaints, 0);

    QVERIFY(pFader->SetValue(128, true));
    Settle();
    QCOMPARE(spy.m_nPaints, 1);
    QCOMPARE(spy.m_region.boundingRect(), QRect(0, 62, 20, 62 + 27));

    spy.Reset();
    QVERIFY(pFader->SetValue(200, false));
    Settle();
    QCOMPARE(spy.m_nPaints, 0);
    QCOMPARE(pFader->GetCapPos(), 62); // until the next redrawing change
    pFader->Increment(true);
    QCOMPARE(pFader->GetCapPos(), 124 - int(124.0 / 255 * 201));
}

void TestFader::faderIncrementalEqualsFull() {
    auto pFader = Fader(kPanelFader);
    QCOMPARE(OnScreen(pFader.get()), kPanelFader.Picture(124));
    const auto Check = [&] {
        const QImage shown = OnScreen(pFader.get());
        QCOMPARE(shown, kPanelFader.Picture(pFader->GetCapPos()));
        QCOMPARE(shown, Grab(pFader.get()));
    };

    QVERIFY(pFader->SetValue(255, true));
    Check();
    for (int i = 0; i < 40; ++i)
        pFader->Decrement(true);
    Check();
    QVERIFY(pFader->SetValue(100, true));
    QVERIFY(pFader->SetValue(103, true));
    QVERIFY(pFader->SetValue(20, true));
    Check();
    Hover(pFader.get(), 80);
    Press(pFader.get(), QPoint(1, 80));
    for (int y : {70, 69, 90, 30, 31, 140})
        Drag(pFader.get(), y);
    Release(pFader.get(), QPoint(1, 140));
    Check();
}

QUENLEY_REGISTER_TEST(TestFader)
#include "tst_fader.moc"

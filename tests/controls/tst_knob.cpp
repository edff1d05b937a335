// The knob, and the fader where it works as a knob does: values, frames, drags and keys.

#include "ControlMessages.h"
#include "ControlTest.h"
#include "TestMain.h"

using namespace ControlTest;

class TestKnob : public CControlTest {
    Q_OBJECT

private slots:
    void valueRules();
    void knobFrame_data();
    void knobFrame();
    void drag_data();
    void drag();
    void dragNeedsPressAndButton();
    void lastPointerIsPerClass();
    void keys_data();
    void keys();
    void returnNotifiesThenMovesToPartner_data();
    void returnNotifiesThenMovesToPartner();
};

void TestKnob::valueRules() {
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), kAnyId, KnobStrip(), 0, 0, 61, false));
    QCOMPARE(knob.size(), QSize(kKnobFrameWidth, 2));
    QCOMPARE(knob.windowTitle(), QStringLiteral("DCTRL"));
    QVERIFY(!knob.SetValue(256, true));
    QVERIFY(knob.SetValue(0, true)); // the value it already has
    QVERIFY(knob.SetValue(20, true));
    QVERIFY(!knob.SetRange(5, 5));
    QVERIFY(knob.SetRange(0, 7));
    QCOMPARE(knob.GetValue(), 20); // not brought into the new range

    CDPoti orphan;
    QVERIFY(!orphan.Create(nullptr, 1, KnobStrip(), 0, 0, 61, false));
    QVERIFY(!orphan.Create(m_pView.get(), kAnyId, KnobStrip(), 0, 0, 0, false));
    QVERIFY(!orphan.parentWidget());
}

void TestKnob::knobFrame_data() {
    QTest::addColumn<int>("nMin");
    QTest::addColumn<int>("nMax");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nFrame");

    QTest::newRow("0..255: 0") << 0 << 255 << 0 << 0;
    QTest::newRow("0..255: 128") << 0 << 255 << 128 << 30;
    QTest::newRow("0..255: 254") << 0 << 255 << 254 << 60;
    QTest::newRow("0..255: 255") << 0 << 255 << 255 << 60;
    QTest::newRow("0..7: 1") << 0 << 7 << 1 << 8;
    QTest::newRow("0..7: 4") << 0 << 7 << 4 << 34;
    QTest::newRow("0..7: 7") << 0 << 7 << 7 << 60;
    QTest::newRow("0..1: 0") << 0 << 1 << 0 << 0;
    QTest::newRow("0..1: 1") << 0 << 1 << 1 << 60;
    QTest::newRow("10..20: 15") << 10 << 20 << 15 << 30;
    // SetRange leaves the value where it was; the picture stays inside the strip.
    QTest::newRow("above a narrowed range") << 0 << 7 << 200 << 60;
    QTest::newRow("below a narrowed range") << 210 << 220 << 200 << 0;
}

void TestKnob::knobFrame() {
    QFETCH(int, nMin);
    QFETCH(int, nMax);
    QFETCH(int, nValue);
    QFETCH(int, nFrame);
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), kAnyId, KnobStrip(), 0, 0, 61, false));
    QVERIFY(knob.SetValue(nValue, true));
    QVERIFY(knob.SetRange(nMin, nMax));
    QCOMPARE(knob.CurrentFrame(), nFrame);
    QCOMPARE(Grab(&knob).pixel(1, 1), PaletteColor(nFrame));
}

void TestKnob::drag_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nStart");
    QTest::addColumn<QList<int>>("ys");     // pointer y of each move, from 50
    QTest::addColumn<QList<int>>("values"); // value at each notification

    QTest::newRow("knob 1 px up") << kKnob << 100 << QList<int>{49} << QList<int>{101};
    QTest::newRow("knob 2 px up") << kKnob << 100 << QList<int>{48} << QList<int>{102};
    QTest::newRow("knob 3 px up: 15 steps") << kKnob << 100 << QList<int>{47} << QList<int>{115};
    QTest::newRow("knob 10 px up: 50 steps") << kKnob << 100 << QList<int>{40} << QList<int>{150};
    QTest::newRow("knob 3 px down") << kKnob << 100 << QList<int>{53} << QList<int>{85};
    QTest::newRow("knob stops at the maximum") << kKnob << 250 << QList<int>{47} << QList<int>{255};
    QTest::newRow("knob at maximum still notifies")
        << kKnob << 255 << QList<int>{49, 40} << QList<int>{255, 255};
    QTest::newRow("knob at minimum still notifies")
        << kKnob << 0 << QList<int>{53} << QList<int>{0};
    QTest::newRow("knob, no vertical move") << kKnob << 100 << QList<int>{50} << QList<int>{};
    QTest::newRow("knob sequence")
        << kKnob << 100 << QList<int>{49, 47, 47, 52} << QList<int>{101, 103, 78};
    QTest::newRow("fader 3 px up: 12 steps") << kFader << 100 << QList<int>{47} << QList<int>{112};
    QTest::newRow("fader 1 px down") << kFader << 100 << QList<int>{51} << QList<int>{99};
    QTest::newRow("fader at minimum still notifies")
        << kFader << 0 << QList<int>{52} << QList<int>{0};
}

void TestKnob::drag() {
    QFETCH(bool, bFader);
    QFETCH(int, nStart);
    QFETCH(QList<int>, ys);
    QFETCH(QList<int>, values);

    std::unique_ptr<CDDynCtrl> pCtrl;
    if (bFader)
        pCtrl = Knob<CDFader>(nStart);
    else
        pCtrl = Knob<CDPoti>(nStart);
    QCOMPARE(pCtrl->GetValue(), nStart);
    const unsigned nMsg = bFader ? WM_DFADER_CHANGED : WM_DPOTI_CHANGED;

    Hover(pCtrl.get(), 50);
    Press(pCtrl.get(), QPoint(1, 50));
    QCOMPARE(QApplication::focusWidget(), pCtrl.get());
    for (int y : ys)
        Drag(pCtrl.get(), y);
    Release(pCtrl.get(), QPoint(1, ys.isEmpty() ? 50 : ys.last()));

    QList<int> seen;
    for (const CReceiver::SNote& note : m_pView->m_notes) {
        QCOMPARE(note.nMsg, nMsg);
        QCOMPARE(note.wParam, quintptr(0));
        QCOMPARE(note.pSender, pCtrl.get());
        seen.append(note.nValue);
    }
    QCOMPARE(seen, values);
}

void TestKnob::dragNeedsPressAndButton() {
    auto pKnob = Knob<CDPoti>(100);
    Hover(pKnob.get(), 50);
    Drag(pKnob.get(), 40); // button held, but pressed elsewhere
    Press(pKnob.get(), QPoint(1, 40));
    Hover(pKnob.get(), 30); // pressed here, but the move reports no button
    Release(pKnob.get(), QPoint(1, 30));
    Drag(pKnob.get(), 20); // after the release
    QCOMPARE(pKnob->GetValue(), 100);
    QVERIFY(m_pView->m_notes.isEmpty());
}

void TestKnob::lastPointerIsPerClass() {
    auto pKnobA = Knob<CDPoti>(100, 10, 10);
    auto pKnobB = Knob<CDPoti>(100, 40, 10);
    auto pFader = Knob<CDFader>(100, 100, 10);
    // A move over another knob sets the knobs' last y; a move over a fader does not.
    Hover(pKnobB.get(), 10);
    Hover(pFader.get(), 200);
    Press(pKnobA.get(), QPoint(1, 11));
    Drag(pKnobA.get(), 11);
    QCOMPARE(pKnobA->GetValue(), 99);
    Release(pKnobA.get(), QPoint(1, 11));
    // And the fader measures from its own last y.
    Press(pFader.get(), QPoint(1, 199));
    Drag(pFader.get(), 199);
    QCOMPARE(pFader->GetValue(), 101);
    QCOMPARE(pKnobB->GetValue(), 100);
}

void TestKnob::keys_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nMax");
    QTest::addColumn<int>("nStart");
    QTest::addColumn<int>("nKey");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nNotes");

    for (bool bFader : {kKnob, kFader}) {
        const QByteArray name = bFader ? "fader " : "knob ";
        QTest::newRow(name + "up") << bFader << 255 << 100 << int(Qt::Key_Up) << 101 << 1;
        QTest::newRow(name + "down") << bFader << 255 << 100 << int(Qt::Key_Down) << 99 << 1;
        QTest::newRow(name + "home") << bFader << 255 << 100 << int(Qt::Key_Home) << 0 << 1;
        QTest::newRow(name + "end") << bFader << 255 << 100 << int(Qt::Key_End) << 255 << 1;
        QTest::newRow(name + "up at maximum")
            << bFader << 255 << 255 << int(Qt::Key_Up) << 255 << 1;
        QTest::newRow(name + "end at maximum") << bFader << 15 << 15 << int(Qt::Key_End) << 15 << 1;
        QTest::newRow(name + "home at minimum") << bFader << 15 << 0 << int(Qt::Key_Home) << 0 << 1;
        QTest::newRow(name + "other key")
            << bFader << 255 << 100 << int(Qt::Key_Insert) << 100 << 0;
    }
}

void TestKnob::keys() {
    QFETCH(bool, bFader);
    QFETCH(int, nMax);
    QFETCH(int, nStart);
    QFETCH(int, nKey);
    QFETCH(int, nValue);
    QFETCH(int, nNotes);

    std::unique_ptr<CDDynCtrl> pCtrl;
    if (bFader)
        pCtrl = Knob<CDFader>(0);
    else
        pCtrl = Knob<CDPoti>(0);
    QVERIFY(pCtrl->SetRange(0, nMax));
    pCtrl->SetValue(nStart, true);
    FocusOn(pCtrl.get());
    QTest::keyClick(pCtrl.get(), Qt::Key(nKey));
    QCOMPARE(pCtrl->GetValue(), nValue);
    QCOMPARE(m_pView->m_notes.size(), nNotes);
    if (nNotes)
        QCOMPARE(m_pView->m_notes[0].nMsg, bFader ? WM_DFADER_CHANGED : WM_DPOTI_CHANGED);
}

void TestKnob::returnNotifiesThenMovesToPartner_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nKey");
    QTest::newRow("knob, Return") << kKnob << int(Qt::Key_Return);
    QTest::newRow("knob, keypad Enter") << kKnob << int(Qt::Key_Enter);
    QTest::newRow("fader, Return") << kFader << int(Qt::Key_Return);
}

void TestKnob::returnNotifiesThenMovesToPartner() {
    QFETCH(bool, bFader);
    QFETCH(int, nKey);
    std::unique_ptr<CDDynCtrl> pCtrl;
    if (bFader)
        pCtrl = Knob<CDFader>(7);
    else
        pCtrl = Knob<CDPoti>(7);
    auto pLcd = Lcd(3);
    QVERIFY(pCtrl->SetNext(pLcd.get()));
    FocusOn(pCtrl.get());
    QTest::keyClick(pCtrl.get(), Qt::Key(nKey));
    QCOMPARE(m_pView->m_notes.size(), 1);
    QCOMPARE(m_pView->m_notes[0].pSender, pCtrl.get());
    QCOMPARE(m_pView->m_notes[0].pFocus, pCtrl.get()); // the view saw it before the move
    QCOMPARE(QApplication::focusWidget(), pLcd.get());

    // Without a partner the focus stays.
    auto pAlone = Knob<CDPoti>(7, 60, 60);
    FocusOn(pAlone.get());
    QTest::keyClick(pAlone.get(), Qt::Key(nKey));
    QCOMPARE(m_pView->m_notes.size(), 3); // the LCD's end of editing, then the knob
    QCOMPARE(QApplication::focusWidget(), pAlone.get());
}

QUENLEY_REGISTER_TEST(TestKnob)
#include "tst_knob.moc"

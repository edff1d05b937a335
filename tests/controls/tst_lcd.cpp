// The LCD read-out: glyphs, typing, clicks, numbers and the cursor.

#include "ControlMessages.h"
#include "ControlTest.h"
#include "TestMain.h"

#include <QShortcut>
#include <QSignalSpy>

using namespace ControlTest;

class TestLcd : public CControlTest {
    Q_OBJECT

private slots:
    void lcdCreateAndText();
    void lcdGlyphs();
    void lcdEditing_data();
    void lcdEditing();
    void lcdKeysBeforeShortcuts();
    void lcdClick_data();
    void lcdClick();
    void lcdNumeric_data();
    void lcdNumeric();
    void lcdNumericSetValue();
    void lcdReturn();
    void lcdCursorPicture();
};

void TestLcd::lcdCreateAndText() {
    auto pLcd = Lcd(3);
    QCOMPARE(pLcd->size(), QSize(3 * 7 - 2, 9));
    QCOMPARE(pLcd->windowTitle(), QStringLiteral("DLCD"));
    QCOMPARE(pLcd->GetText(), "   ");
    QCOMPARE(pLcd->GetLength(), 3);
    QVERIFY(pLcd->SetText("XYZ"));
    QVERIFY(pLcd->SetText("AB"));
    QCOMPARE(pLcd->GetText(), "ABZ");
    QVERIFY(!pLcd->SetText(nullptr));
    QVERIFY(pLcd->SetText("abcdef"));
    QCOMPARE(pLcd->GetText(), "abc");
    pLcd->Clear();
    QCOMPARE(pLcd->GetText(), "   ");

    // The background colours the gaps between the cells.
    QCOMPARE(Grab(pLcd.get()).pixel(5, 4), qRgb(231, 231, 214));
    pLcd->SetBackgroundColor(Qt::red);
    QCOMPARE(Grab(pLcd.get()).pixel(12, 4), qRgb(255, 0, 0));
}

void TestLcd::lcdGlyphs() {
    auto pLcd = Lcd(6);
    QVERIFY(pLcd->SetText("A_~\x01\x7f\xff"));
    const QImage image = Grab(pLcd.get());
    const int glyphs[] = {33, 63, 94, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(image.pixel(i * 7 + 2, 3), PaletteColor(GlyphIndex(glyphs[i])));
}

void TestLcd::lcdEditing_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("nCursor");

    // From "XYZ" with the cursor on cell 0.
    QTest::newRow("typing overwrites") << QStringList{"a", "b"} << QByteArray("abZ") << 2;
    QTest::newRow("fourth character in the last cell")
        << QStringList{"a", "b", "c", "d"} << QByteArray("abd") << 2;
    QTest::newRow("backspace on cell 0") << QStringList{"Back"} << QByteArray("XYZ") << 0;
    QTest::newRow("backspace") << QStringList{"a", "b", "Back"} << QByteArray("a Z") << 1;
    QTest::newRow("delete") << QStringList{"Del"} << QByteArray(" YZ") << 0;
    QTest::newRow("delete on a space")
        << QStringList{"Right", "Del", "Del"} << QByteArray("X Z") << 1;
    QTest::newRow("end") << QStringList{"End", "q"} << QByteArray("XYq") << 2;
    QTest::newRow("home") << QStringList{"End", "Home", "q"} << QByteArray("qYZ") << 1;
    QTest::newRow("left at cell 0") << QStringList{"Left"} << QByteArray("XYZ") << 0;
    QTest::newRow("left") << QStringList{"End", "Left", "q"} << QByteArray("XqZ") << 2;
    QTest::newRow("right at the last cell")
        << QStringList{"End", "Right", "q"} << QByteArray("XYq") << 2;
    QTest::newRow("control character") << QStringList{"^A"} << QByteArray("XYZ") << 0;
    QTest::newRow("beyond 126") << QStringList{"\u00e9"} << QByteArray("XYZ") << 0;
    QTest::newRow("space and tilde") << QStringList{" ", "~"} << QByteArray(" ~Z") << 2;
}

void TestLcd::lcdEditing() {
    QFETCH(QStringList, keys);
    QFETCH(QByteArray, text);
    QFETCH(int, nCursor);
    struct SKey {
        const char* pszName;
        Qt::Key eKey;
    };
    static constexpr SKey kKeys[] = {
        {"Back", Qt::Key_Backspace}, {"Del", Qt::Key_Delete}, {"Left", Qt::Key_Left},
        {"Right", Qt::Key_Right},    {"Home", Qt::Key_Home},  {"End", Qt::Key_End},
    };

    auto pLcd = Lcd(3);
    pLcd->SetText("XYZ");
    FocusOn(pLcd.get());
    for (const QString& sKey : keys) {
        const auto* pKey = std::find_if(std::begin(kKeys), std::end(kKeys),
                                        [&](const SKey& k) { return sKey == k.pszName; });
        if (pKey != std::end(kKeys)) {
            QTest::keyClick(pLcd.get(), pKey->eKey);
        } else if (sKey == "^A") {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier,
                            QStringLiteral("\x01"));
            QApplication::sendEvent(pLcd.get(), &press);
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, sKey);
            QApplication::sendEvent(pLcd.get(), &press);
        }
    }
    QCOMPARE(QByteArray(pLcd->GetText()), text);
    QCOMPARE(pLcd->GetCursor(), nCursor);
    QVERIFY(m_pView->m_notes.isEmpty());
}

void TestLcd::lcdKeysBeforeShortcuts() {
    // Typing goes into the display even where a plain key is a shortcut; Ctrl combinations
    // stay the window's.
    QShortcut letter(QKeySequence(Qt::Key_A), m_pView.get());
    QShortcut save(QKeySequence(Qt::CTRL | Qt::Key_S), m_pView.get());
    QSignalSpy letterSpy(&letter, &QShortcut::activated);
    QSignalSpy saveSpy(&save, &QShortcut::activated);
    auto pLcd = Lcd(3);
    FocusOn(pLcd.get());
    QTest::keyClick(pLcd.get(), Qt::Key_A);
    QTest::keyClick(pLcd.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(pLcd->GetText(), "a  ");
    QCOMPARE(letterSpy.count(), 0);
    QCOMPARE(saveSpy.count(), 1);
}

void TestLcd::lcdClick_data() {
    QTest::addColumn<int>("nChars");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("nCursor");
    // Cells of 5 pixels with gaps of 2: cell 1 starts at 7, cell 2 at 14.
    QTest::newRow("left edge") << 3 << 0 << 0;
    QTest::newRow("in the gap") << 3 << 6 << 0;
    QTest::newRow("on the next cell's edge") << 3 << 7 << 0;
    QTest::newRow("just past it") << 3 << 8 << 1;
    QTest::newRow("past the last cell's edge") << 3 << 15 << 2;
    QTest::newRow("right end") << 3 << 18 << 2;
    QTest::newRow("16 cells, right end") << 16 << 16 * 7 - 3 << 15;
}

void TestLcd::lcdClick() {
    QFETCH(int, nChars);
    QFETCH(int, x);
    QFETCH(int, nCursor);
    auto pLcd = Lcd(nChars);
    Press(pLcd.get(), QPoint(x, 4));
    Release(pLcd.get(), QPoint(x, 4));
    QCOMPARE(pLcd->GetCursor(), nCursor);
    QCOMPARE(QApplication::focusWidget(), pLcd.get());
}

void TestLcd::lcdNumeric_data() {
    QTest::addColumn<int>("nChars");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("nValue");

    // A 0..127 display holding 42; typing starts on cell 0.
    QTest::newRow("above the range") << 3 << "200" << QByteArray("042") << 42;
    QTest::newRow("blanks around a digit") << 3 << " 5 " << QByteArray("005") << 5;
    QTest::newRow("digit, blank, digit") << 3 << "1 2" << QByteArray("012") << 12;
    QTest::newRow("all blank") << 3 << "   " << QByteArray("000") << 0;
    QTest::newRow("overwrite first digit") << 3 << "09" << QByteArray("092") << 92;
    QTest::newRow("not a number") << 3 << "1a" << QByteArray("042") << 42;
    QTest::newRow("too many digits for an int")
        << 16 << "9999999999999999" << QByteArray("0000000000000042") << 42;
}

void TestLcd::lcdNumeric() {
    QFETCH(int, nChars);
    QFETCH(QString, typed);
    QFETCH(QByteArray, text);
    QFETCH(int, nValue);

    auto pLcd = Lcd(nChars);
    auto pOther = Knob<CDPoti>(0, 10, 100);
    pLcd->SetNumeric();
    QVERIFY(pLcd->SetRange(0, 127));
    QVERIFY(pLcd->SetValue(42, true));
    FocusOn(pLcd.get());
    QTest::keyClicks(pLcd.get(), typed);
    QVERIFY(m_pView->m_notes.isEmpty());
    FocusOn(pOther.get());

    QCOMPARE(QByteArray(pLcd->GetText()), text);
    QCOMPARE(m_pView->m_notes.size(), 1);
    QCOMPARE(m_pView->m_notes[0].nMsg, WM_DLCD_CHANGED);
    QCOMPARE(m_pView->m_notes[0].pSender, pLcd.get());
    QCOMPARE(m_pView->m_notes[0].nValue, nValue);
    QCOMPARE(pLcd->GetValue(), nValue);
    QCOMPARE(pLcd->GetCursor(), 0);
}

void TestLcd::lcdNumericSetValue() {
    auto pLcd = Lcd(3);
    QVERIFY(!pLcd->SetValue(7, true)); // not numeric yet
    QCOMPARE(pLcd->GetText(), "   ");
    pLcd->SetNumeric();
    QVERIFY(pLcd->SetRange(0, 127));
    QVERIFY(pLcd->SetValue(7, true));
    QCOMPARE(pLcd->GetText(), "007");
    // Refused, and reported so; the number shown stays.
    QVERIFY(!pLcd->SetValue(200, true));
    QCOMPARE(pLcd->GetText(), "007");
}

void TestLcd::lcdReturn() {
    auto pLcd = Lcd(3);
    auto pKnob = Knob<CDPoti>(0, 10, 100);
    pLcd->SetNumeric();
    QVERIFY(pLcd->SetNext(pKnob.get()));
    FocusOn(pLcd.get());
    QTest::keyClicks(pLcd.get(), "12");
    QTest::keyClick(pLcd.get(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), pKnob.get());
    QCOMPARE(m_pView->m_notes.size(), 1);
    QCOMPARE(m_pView->m_notes[0].nValue, 12); // cells "12 "

    // Without a partner editing ends where it is.
    auto pAlone = Lcd(3, 200, 50);
    pAlone->SetText("abc");
    FocusOn(pAlone.get());
    QTest::keyClicks(pAlone.get(), "x");
    QCOMPARE(pAlone->GetCursor(), 1);
    QTest::keyClick(pAlone.get(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), pAlone.get());
    QCOMPARE(m_pView->m_notes.size(), 2);
    QCOMPARE(m_pView->m_notes[1].pSender, pAlone.get());
    QCOMPARE(pAlone->GetCursor(), 0);
    QCOMPARE(pAlone->GetText(), "xbc");
}

void TestLcd::lcdCursorPicture() {
    auto pLcd = Lcd(3);
    auto pKnob = Knob<CDPoti>(0, 10, 100);
    pLcd->SetText("_AB");
    const QImage before = OnScreen(pLcd.get());
    const QRgb cursor = PaletteColor(kCursorIndex);

    FocusOn(pLcd.get());
    QTest::keyClick(pLcd.get(), Qt::Key_Right);
    QImage shown = OnScreen(pLcd.get());
    QCOMPARE(shown.pixel(7 + 2, 8), cursor);
    QCOMPARE(shown.pixel(7 + 2, 6), PaletteColor(GlyphIndex(33)));  // above the cursor: 'A'
    QCOMPARE(shown.pixel(14 + 2, 8), PaletteColor(GlyphIndex(34))); // 'B'
    // The underscore the cursor left keeps its line.
    QCOMPARE(shown.pixel(2, 8), PaletteColor(kCursorIndex));
    QCOMPARE(shown, Grab(pLcd.get()));

    // Leaving removes the cursor; the cells are back as they were.
    FocusOn(pKnob.get());
    QCOMPARE(OnScreen(pLcd.get()), before);
    QCOMPARE(before, Grab(pLcd.get()));
}

QUENLEY_REGISTER_TEST(TestLcd)
#include "tst_lcd.moc"

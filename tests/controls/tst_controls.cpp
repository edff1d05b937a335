#include "ArtIcons.h"
#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CDPoti.h"
#include "CReceiver.h"
#include "ControlMessages.h"
#include "PanelBitmaps.h"
#include "QuenleyMessage.h"
#include "TestBmp.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QScreen>
#include <QSet>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelBitmaps;
using TestBmp::PaletteColor;

namespace {

// Test strips: every frame, glyph and strip region in a colour of its own.
constexpr int kKnobFrameWidth = 3;
constexpr int kCursorIndex = 250;

QImage KnobStrip(int nFrames = 61) {
    return CreateBitmapFromBmp(TestBmp::Strip(nFrames * kKnobFrameWidth, 2,
                                              [](int x, int) { return x / kKnobFrameWidth; }));
}

// Pixels that differ from their neighbours, to see any blending.
QImage PatternedKnobStrip() {
    return CreateBitmapFromBmp(
        TestBmp::Strip(61 * 19, 19, [](int x, int y) { return (x * 7 + y * 13) % 256; }));
}

QImage LedStrip() {
    return CreateBitmapFromBmp(TestBmp::Strip(4, 2, [](int x, int) { return 10 + x / 2; }));
}

int GlyphIndex(int nGlyph) {
    return 100 + nGlyph;
}

QImage FontStrip() {
    return CreateBitmapFromBmp(TestBmp::Strip(96 * 5, 9, [](int x, int y) {
        const int nGlyph = x / 5;
        return nGlyph == 63 && y >= 7 ? kCursorIndex : GlyphIndex(nGlyph);
    }));
}

// Work area in index 1, each track row and cap row in a colour of its own.
struct SFaderLayout {
    int nWidth, nTrack, nCap;
    int Height() const { return 2 * nTrack + nCap; }
    int TrackIndex(int nRow) const { return 2 + nRow; }
    int CapIndex(int nRow) const { return 200 + nRow; }
    QImage Strip() const {
        return CreateBitmapFromBmp(TestBmp::Strip(nWidth, Height(), [this](int, int y) {
            return y < nTrack       ? 1
                   : y < 2 * nTrack ? TrackIndex(y - nTrack)
                                    : CapIndex(y - 2 * nTrack);
        }));
    }
    // The picture of the control with the cap's top edge at nCapPos.
    QImage Picture(int nCapPos) const {
        QImage image(nWidth, nTrack, QImage::Format_RGB32);
        for (int y = 0; y < nTrack; ++y) {
            const bool bCap = y >= nCapPos && y < nCapPos + nCap;
            const QRgb c = PaletteColor(bCap ? CapIndex(y - nCapPos) : TrackIndex(y));
            for (int x = 0; x < nWidth; ++x)
                image.setPixel(x, y, c);
        }
        return image;
    }
};

constexpr SFaderLayout kPanelFader{20, 151, 27}; // the panels' fader strip, 20 x 329

QImage Rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}
QImage Grab(QWidget* pWidget) {
    return Rgb(pWidget->grab().toImage());
}

// Lets the window paint what is pending: Qt paints on its next frame, not at once.
void Settle() {
    QTest::qWait(60);
}

// What the window shows now, as composed by the paints that have happened.
QImage OnScreen(QWidget* pWidget) {
    Settle();
    const QPoint at = pWidget->mapTo(pWidget->window(), QPoint(0, 0));
    const QPixmap shot = pWidget->screen()->grabWindow(pWidget->window()->winId(), at.x(), at.y(),
                                                       pWidget->width(), pWidget->height());
    return Rgb(shot.toImage());
}

void Mouse(QWidget* pWidget, QEvent::Type eType, QPoint at, Qt::MouseButton eButton,
           Qt::MouseButtons held) {
    QMouseEvent event(eType, QPointF(at), QPointF(pWidget->mapToGlobal(at)), eButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}
void Press(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, {});
}
void DoubleClick(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
}
void Drag(QWidget* w, int y) {
    Mouse(w, QEvent::MouseMove, QPoint(1, y), Qt::NoButton, Qt::LeftButton);
}
void Hover(QWidget* w, int y) {
    Mouse(w, QEvent::MouseMove, QPoint(1, y), Qt::NoButton, {});
}

// Counts the paints of a widget and joins their regions.
class CPaintSpy : public QObject {
public:
    explicit CPaintSpy(QWidget* pWidget) { pWidget->installEventFilter(this); }
    int m_nPaints = 0;
    QRegion m_region;
    void Reset() {
        m_nPaints = 0;
        m_region = QRegion();
    }

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Paint) {
            ++m_nPaints;
            m_region += static_cast<QPaintEvent*>(pEvent)->region();
        }
        return false;
    }
};

// Records the user messages instead of showing them.
class CMessageRecorder {
public:
    struct SMessage {
        QString sText;
        QuenleyMessage::EIcon eIcon;
        QuenleyMessage::EButtons eButtons;
    };
    QList<SMessage> m_messages;

    CMessageRecorder() {
        m_previous =
            QuenleyMessage::SetHook([this](const QString& sText, QuenleyMessage::EIcon eIcon,
                                           QuenleyMessage::EButtons eButtons) {
                m_messages.append({sText, eIcon, eButtons});
                return QuenleyMessage::EAnswer::Ok;
            });
    }
    ~CMessageRecorder() { QuenleyMessage::SetHook(std::move(m_previous)); }

private:
    QuenleyMessage::Hook m_previous;
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CReceiver> m_pView;

    template <class T> std::unique_ptr<T> Knob(int nValue, int x = 10, int y = 10);
    std::unique_ptr<CDFader> Fader(const SFaderLayout& layout, int x = 100, int y = 10);
    std::unique_ptr<CDLcd> Lcd(int nChars, int x = 200, int y = 10);
    void FocusOn(QWidget* pWidget);

private slots:
    void init();
    void cleanup();

    void bmpDecodes_data();
    void bmpDecodes();
    void bmpRefused_data();
    void bmpRefused();
    void bmpTooLargeIsReportedOnce();
    void bmpSurvivesDamage();
    void bmpCopiesAreIndependent();
    void storedPictures();

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

    void faderCreate();
    void faderCapPosition_data();
    void faderCapPosition();
    void faderRepaintsOnlyTheBand();
    void faderIncrementalEqualsFull();

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

    void led_data();
    void led();
    void ledSetState();

    void dimmed_data();
    void dimmed();

    void crispAtDeviceRatio();

    void iconCrisp_data();
    void iconCrisp();
    void toolbarPictures();
    void viewIcons();
};

void TestControls::init() {
    m_pView = std::make_unique<CReceiver>();
    m_pView->resize(300, 200);
    m_pView->show();
    m_pView->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pView.get()));
}

void TestControls::cleanup() {
    m_pView.reset();
}

template <class T> std::unique_ptr<T> TestControls::Knob(int nValue, int x, int y) {
    auto pKnob = std::make_unique<T>();
    if constexpr (std::is_same_v<T, CDPoti>) {
        [&] { QVERIFY(pKnob->Create(m_pView.get(), 2500, KnobStrip(), x, y, 61, false)); }();
    } else {
        [&] {
            QVERIFY(pKnob->Create(m_pView.get(), 2005, kPanelFader.Strip(), x, y, kPanelFader.nCap,
                                  false));
        }();
    }
    pKnob->SetValue(nValue, true);
    return pKnob;
}

std::unique_ptr<CDFader> TestControls::Fader(const SFaderLayout& layout, int x, int y) {
    auto pFader = std::make_unique<CDFader>();
    [&] {
        QVERIFY(pFader->Create(m_pView.get(), 2005, layout.Strip(), x, y, layout.nCap, false));
    }();
    return pFader;
}

std::unique_ptr<CDLcd> TestControls::Lcd(int nChars, int x, int y) {
    auto pLcd = std::make_unique<CDLcd>();
    [&] { QVERIFY(pLcd->Create(m_pView.get(), 2050, FontStrip(), x, y, 96, nChars, 2, false)); }();
    return pLcd;
}

void TestControls::FocusOn(QWidget* pWidget) {
    pWidget->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), pWidget);
}

// ---- pictures -------------------------------------------------------------------------------

void TestControls::bmpDecodes_data() {
    QTest::addColumn<int>("nBits");
    QTest::addColumn<int>("nHeight");
    QTest::addColumn<int>("nColors");
    QTest::addColumn<int>("nColorsUsed");

    // Index 200 lies beyond a 16-entry table: read with 256 entries the pixels would start
    // 960 bytes too early.
    QTest::newRow("8-bit, colours used 0 means 256") << 8 << 5 << 256 << 0;
    QTest::newRow("8-bit, short colour table") << 8 << 5 << 16 << 16;
    QTest::newRow("8-bit, top-down") << 8 << -5 << 256 << 0;
    QTest::newRow("4-bit") << 4 << 5 << 16 << 0;
    QTest::newRow("1-bit") << 1 << 5 << 2 << 0;
    QTest::newRow("24-bit") << 24 << 5 << 0 << 0;
    QTest::newRow("32-bit") << 32 << 5 << 0 << 0;
}

void TestControls::bmpDecodes() {
    QFETCH(int, nBits);
    QFETCH(int, nHeight);
    QFETCH(int, nColors);
    QFETCH(int, nColorsUsed);

    TestBmp::SLayout layout;
    layout.nWidth = 7; // odd widths exercise the row padding
    layout.nHeight = nHeight;
    layout.nBits = nBits;
    layout.nColors = nColors;
    layout.nColorsUsed = quint32(nColorsUsed);
    const int nIndices = nColors > 0 ? nColors : 256;
    layout.pixel = [&](int x, int y) -> quint32 {
        if (nBits > 8)
            return qRgb(x * 30, y * 40, 200 - x * y);
        return quint32((x * 5 + y * 3 + (nIndices > 16 ? 190 : 0)) % nIndices);
    };

    CMessageRecorder messages;
    const QImage image = CreateBitmapFromBmp(TestBmp::Make(layout));
    QCOMPARE(image, TestBmp::Expected(layout));
    QVERIFY(messages.m_messages.isEmpty());
}

void TestControls::bmpRefused_data() {
    QTest::addColumn<QByteArray>("bmp");

    TestBmp::SLayout good;
    good.nWidth = 4;
    good.nHeight = 3;
    const QByteArray valid = TestBmp::Make(good);
    const auto With = [&](auto change) {
        TestBmp::SLayout layout = good;
        change(layout);
        return TestBmp::Make(layout);
    };
    const auto Patched = [&](int nOffset, quint32 nValue) {
        QByteArray bmp = valid;
        for (int i = 0; i < 4; ++i)
            bmp[nOffset + i] = char(nValue >> (8 * i));
        return bmp;
    };

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not BM") << QByteArray(valid).replace(0, 2, "MB");
    QTest::newRow("header cut") << valid.left(14 + 39);
    QTest::newRow("last pixel byte cut") << valid.chopped(1);
    QTest::newRow("colour table cut") << valid.left(14 + 40 + 100);
    QTest::newRow("huge dimensions")
        << Patched(18, 0x7fffffff).replace(22, 4, "\xff\xff\xff\x7f", 4);
    QTest::newRow("huge colour count") << Patched(46, 0xffffffff);
    QTest::newRow("width 0") << Patched(18, 0);
    QTest::newRow("negative width") << Patched(18, quint32(-4));
    QTest::newRow("height 0") << Patched(22, 0);
    QTest::newRow("most negative height") << Patched(22, 0x80000000);
    QTest::newRow("16-bit") << With([](TestBmp::SLayout& s) { s.nBits = 16; });
    QTest::newRow("run-length coded") << With([](TestBmp::SLayout& s) { s.nCompression = 1; });
    QTest::newRow("bit fields") << With([](TestBmp::SLayout& s) {
        s.nBits = 32;
        s.nCompression = 3;
    });
    QTest::newRow("core header") << With([](TestBmp::SLayout& s) { s.nHeaderSize = 12; });
}

void TestControls::bmpRefused() {
    QFETCH(QByteArray, bmp);
    CMessageRecorder messages;
    // A copy of exactly the given length, so that reading past it is caught by sanitizers.
    const auto pCopy = std::make_unique<uchar[]>(size_t(bmp.size()) + 1);
    std::memcpy(pCopy.get(), bmp.constData(), size_t(bmp.size()));
    QVERIFY(CreateBitmapFromBmp(pCopy.get(), bmp.size()).isNull());
    QVERIFY(messages.m_messages.isEmpty());
}

void TestControls::bmpTooLargeIsReportedOnce() {
    // Well-formed, but far larger than any panel: treated as a bitmap the system cannot make.
    TestBmp::SLayout layout;
    layout.nWidth = 8192;
    layout.nHeight = 8193;
    layout.nBits = 1;
    layout.nColors = 2;
    CMessageRecorder messages;
    QVERIFY(CreateBitmapFromBmp(TestBmp::Make(layout)).isNull());
    QCOMPARE(messages.m_messages.size(), 1);
    QCOMPARE(messages.m_messages[0].sText, QStringLiteral("Close last opened window"));
    QCOMPARE(messages.m_messages[0].eButtons, QuenleyMessage::EButtons::Ok);
    QVERIFY(CreateBitmapFromBmp(nullptr, 100).isNull());
    QCOMPARE(messages.m_messages.size(), 1);
}

void TestControls::bmpSurvivesDamage() {
    // Random damage to a valid image must give a null or a correctly sized bitmap, never a
    // read outside the buffer (run under a sanitizer to see those).
    TestBmp::SLayout layout;
    layout.nWidth = 9;
    layout.nHeight = 4;
    layout.pixel = [](int x, int y) { return quint32(x + 16 * y); };
    const QByteArray valid = TestBmp::Make(layout);
    QRandomGenerator random(20261207);
    CMessageRecorder messages;
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    for (int nRound = 0; nRound < 3000; ++nRound) {
        QByteArray bmp = valid;
        const int nHits = 1 + int(random.bounded(4));
        for (int i = 0; i < nHits; ++i)
            bmp[int(random.bounded(54))] = char(random.bounded(256));
        bmp.truncate(int(random.bounded(bmp.size() + 1)));
        const auto pCopy = std::make_unique<uchar[]>(size_t(bmp.size()) + 1);
        std::memcpy(pCopy.get(), bmp.constData(), size_t(bmp.size()));
        const QImage image = CreateBitmapFromBmp(pCopy.get(), bmp.size());
        if (!image.isNull())
            QVERIFY(qint64(image.width()) * image.height() <= bmp.size() * 8);
    }
    QLoggingCategory::setFilterRules(QString());
}

void TestControls::bmpCopiesAreIndependent() {
    // Two bitmaps of one picture: a fader composing inside its own leaves the other alone, and
    // so does one handed an image the caller still holds.
    const QImage first = kPanelFader.Strip();
    const QImage second = kPanelFader.Strip();
    const QImage untouched = first.copy();
    CDFader fader;
    QVERIFY(fader.Create(m_pView.get(), 1, first, 0, 0, kPanelFader.nCap, false));
    fader.grab();
    QVERIFY(fader.GetBitmap() != untouched); // its work area holds the composition
    QCOMPARE(first, untouched);
    QCOMPARE(second, untouched);
}

void TestControls::storedPictures() {
    if (StoredBmp(EPicture::Knob).isEmpty())
        QSKIP("the pictures are not linked in");
    int nIndex = 0;
    for (const SPicture& picture : AllPictures()) {
        QCOMPARE(int(picture.ePicture), nIndex++); // Picture() looks them up by position
        QCOMPARE(&Picture(picture.ePicture), &picture);
        const QImage image = CreateBitmap(picture.ePicture);
        QVERIFY2(!image.isNull(), picture.pszName);
        QCOMPARE(image.size(), QSize(picture.nWidth, picture.nHeight));
    }
}

// ---- knob and fader -------------------------------------------------------------------------

void TestControls::valueRules() {
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), 1, KnobStrip(), 0, 0, 61, false));
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
    QVERIFY(!orphan.Create(m_pView.get(), 1, KnobStrip(), 0, 0, 0, false));
    QVERIFY(!orphan.parentWidget());
}

void TestControls::knobFrame_data() {
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

void TestControls::knobFrame() {
    QFETCH(int, nMin);
    QFETCH(int, nMax);
    QFETCH(int, nValue);
    QFETCH(int, nFrame);
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), 1, KnobStrip(), 0, 0, 61, false));
    QVERIFY(knob.SetValue(nValue, true));
    QVERIFY(knob.SetRange(nMin, nMax));
    QCOMPARE(knob.CurrentFrame(), nFrame);
    QCOMPARE(Grab(&knob).pixel(1, 1), PaletteColor(nFrame));
}

void TestControls::drag_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nStart");
    QTest::addColumn<QList<int>>("ys");     // pointer y of each move, from 50
    QTest::addColumn<QList<int>>("values"); // value at each notification

    QTest::newRow("knob 1 px up") << false << 100 << QList<int>{49} << QList<int>{101};
    QTest::newRow("knob 2 px up") << false << 100 << QList<int>{48} << QList<int>{102};
    QTest::newRow("knob 3 px up: 15 steps") << false << 100 << QList<int>{47} << QList<int>{115};
    QTest::newRow("knob 10 px up: 50 steps") << false << 100 << QList<int>{40} << QList<int>{150};
    QTest::newRow("knob 3 px down") << false << 100 << QList<int>{53} << QList<int>{85};
    QTest::newRow("knob stops at the maximum") << false << 250 << QList<int>{47} << QList<int>{255};
    QTest::newRow("knob at maximum still notifies")
        << false << 255 << QList<int>{49, 40} << QList<int>{255, 255};
    QTest::newRow("knob at minimum still notifies")
        << false << 0 << QList<int>{53} << QList<int>{0};
    QTest::newRow("knob, no vertical move") << false << 100 << QList<int>{50} << QList<int>{};
    QTest::newRow("knob sequence")
        << false << 100 << QList<int>{49, 47, 47, 52} << QList<int>{101, 103, 78};
    QTest::newRow("fader 3 px up: 12 steps") << true << 100 << QList<int>{47} << QList<int>{112};
    QTest::newRow("fader 1 px down") << true << 100 << QList<int>{51} << QList<int>{99};
    QTest::newRow("fader at minimum still notifies")
        << true << 0 << QList<int>{52} << QList<int>{0};
}

void TestControls::drag() {
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

void TestControls::dragNeedsPressAndButton() {
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

void TestControls::lastPointerIsPerClass() {
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

void TestControls::keys_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nMax");
    QTest::addColumn<int>("nStart");
    QTest::addColumn<int>("nKey");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nNotes");

    for (bool bFader : {false, true}) {
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

void TestControls::keys() {
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

void TestControls::returnNotifiesThenMovesToPartner_data() {
    QTest::addColumn<bool>("bFader");
    QTest::addColumn<int>("nKey");
    QTest::newRow("knob, Return") << false << int(Qt::Key_Return);
    QTest::newRow("knob, keypad Enter") << false << int(Qt::Key_Enter);
    QTest::newRow("fader, Return") << true << int(Qt::Key_Return);
}

void TestControls::returnNotifiesThenMovesToPartner() {
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

void TestControls::faderCreate() {
    auto pFader = Fader(kPanelFader);
    QCOMPARE(pFader->size(), QSize(20, 151));
    QCOMPARE(pFader->windowTitle(), QStringLiteral("DFADER"));
    QCOMPARE(pFader->GetTravel(), 124);
    QCOMPARE(pFader->GetCapPos(), 124);
    QCOMPARE(Grab(pFader.get()), kPanelFader.Picture(124));

    CDFader refused;
    // A cap taller than the strip, and a cap taller than the track it runs on.
    QVERIFY(!refused.Create(m_pView.get(), 1, kPanelFader.Strip(), 0, 0, 330, false));
    QVERIFY(!refused.Create(m_pView.get(), 1, kPanelFader.Strip(), 0, 0, 120, false));
    QVERIFY(!refused.parentWidget());
}

void TestControls::faderCapPosition_data() {
    QTest::addColumn<int>("nMax");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nCapPos");
    QTest::newRow("0") << 255 << 0 << 124;
    QTest::newRow("255") << 255 << 255 << 0;
    QTest::newRow("128") << 255 << 128 << 62;
    QTest::newRow("1 moves less than a pixel") << 255 << 1 << 124;
    QTest::newRow("0..7: 4") << 7 << 4 << 124 - 70;
}

void TestControls::faderCapPosition() {
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

void TestControls::faderRepaintsOnlyTheBand() {
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

void TestControls::faderIncrementalEqualsFull() {
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

// ---- LCD ------------------------------------------------------------------------------------

void TestControls::lcdCreateAndText() {
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

void TestControls::lcdGlyphs() {
    auto pLcd = Lcd(6);
    QVERIFY(pLcd->SetText("A_~\x01\x7f\xff"));
    const QImage image = Grab(pLcd.get());
    const int glyphs[] = {33, 63, 94, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(image.pixel(i * 7 + 2, 3), PaletteColor(GlyphIndex(glyphs[i])));
}

void TestControls::lcdEditing_data() {
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

void TestControls::lcdEditing() {
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

void TestControls::lcdKeysBeforeShortcuts() {
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

void TestControls::lcdClick_data() {
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

void TestControls::lcdClick() {
    QFETCH(int, nChars);
    QFETCH(int, x);
    QFETCH(int, nCursor);
    auto pLcd = Lcd(nChars);
    Press(pLcd.get(), QPoint(x, 4));
    Release(pLcd.get(), QPoint(x, 4));
    QCOMPARE(pLcd->GetCursor(), nCursor);
    QCOMPARE(QApplication::focusWidget(), pLcd.get());
}

void TestControls::lcdNumeric_data() {
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

void TestControls::lcdNumeric() {
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

void TestControls::lcdNumericSetValue() {
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

void TestControls::lcdReturn() {
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

void TestControls::lcdCursorPicture() {
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

// ---- LED ------------------------------------------------------------------------------------

void TestControls::led_data() {
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

void TestControls::led() {
    QFETCH(QString, mode);
    QFETCH(QString, action);
    QFETCH(QList<int>, states);
    QFETCH(bool, bFocus);

    CDLed led;
    QVERIFY(led.Create(m_pView.get(), 3000, LedStrip(), 5, 5, 2, false));
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

void TestControls::ledSetState() {
    CDLed led;
    QVERIFY(led.Create(m_pView.get(), 3000, LedStrip(), 5, 5, 2, false));
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

// ---- dimmed look ----------------------------------------------------------------------------

void TestControls::dimmed_data() {
    QTest::addColumn<int>("nControl"); // 0 fader, 1 read-out, 2 knob
    QTest::addColumn<double>("dZoom");
    for (double dZoom : {1.0, 2.0})
        for (int nControl : {0, 1, 2})
            QTest::addRow("%s at %g",
                          nControl == 0   ? "fader"
                          : nControl == 1 ? "lcd"
                                          : "knob",
                          dZoom)
                << nControl << dZoom;
}
// Every pixel of a dimmed control moves towards the panel's grey, none away from it, and
// undimmed it is as it was.
void TestControls::dimmed() {
    QFETCH(int, nControl);
    QFETCH(double, dZoom);
    std::unique_ptr<CDCtrl> pControl;
    if (nControl == 0) {
        pControl = Knob<CDFader>(100);
    } else if (nControl == 1) {
        auto pLcd = Lcd(3);
        pLcd->SetText("A0z");
        pControl = std::move(pLcd);
    } else {
        pControl = Knob<CDPoti>(30);
    }
    QVERIFY(pControl->SetZoom(dZoom));
    const QImage normal = Grab(pControl.get());
    pControl->SetDimmed(true);
    QVERIFY(pControl->IsDimmed());
    const QImage dimmed = Grab(pControl.get());
    QCOMPARE(dimmed.size(), normal.size());
    const QRgb plate = kPanelPlate.rgb();
    const auto Distance = [plate](QRgb c) {
        return qAbs(qRed(c) - qRed(plate)) + qAbs(qGreen(c) - qGreen(plate)) +
               qAbs(qBlue(c) - qBlue(plate));
    };
    // Each pixel nearer (a pixel within a step of the grey may stay), the picture as a whole
    // more than halfway there.
    qint64 nTotalBefore = 0;
    qint64 nTotalAfter = 0;
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x) {
            const int nBefore = Distance(normal.pixel(x, y));
            const int nAfter = Distance(dimmed.pixel(x, y));
            nTotalBefore += nBefore;
            nTotalAfter += nAfter;
            QVERIFY2(nBefore <= 3 ? nAfter <= nBefore : nAfter < nBefore,
                     qPrintable(QStringLiteral("%1,%2: %3 -> %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(normal.pixel(x, y), 0, 16)
                                    .arg(dimmed.pixel(x, y), 0, 16)));
        }
    QVERIFY(nTotalAfter * 2 < nTotalBefore);
    pControl->SetDimmed(false);
    QCOMPARE(Grab(pControl.get()), normal);
}

// ---- high-density screens -------------------------------------------------------------------

void TestControls::crispAtDeviceRatio() {
    // The ctest entries run this at several scale factors and name the one they expect.
    const double dRatio = m_pView->devicePixelRatioF();
    const QByteArray expected = qgetenv("QUENLEY_TEST_DPR");
    if (!expected.isEmpty())
        QCOMPARE(dRatio, expected.toDouble());

    const QImage strip = PatternedKnobStrip();
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), 1, strip, 10, 10, 61, false));
    knob.SetValue(128, true);
    const QImage frame = strip.copy(30 * 19, 0, 19, 19);
    const QImage shown = Rgb(knob.grab().toImage());
    QCOMPARE(shown.size(), (QSizeF(19, 19) * dRatio).toSize());

    // Never a blended colour; at whole ratios each picture pixel is a block of device pixels.
    QSet<QRgb> colours;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            colours.insert(frame.pixel(x, y));
    const bool bWhole = dRatio == std::floor(dRatio);
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            QVERIFY2(colours.contains(shown.pixel(x, y)),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            if (bWhole)
                QCOMPARE(shown.pixel(x, y), frame.pixel(int(x / dRatio), int(y / dRatio)));
        }
    }

    auto pLcd = Lcd(3);
    pLcd->SetText("A B");
    const QImage text = Rgb(pLcd->grab().toImage());
    const QSet<QRgb> lcdColours{PaletteColor(GlyphIndex(33)), PaletteColor(GlyphIndex(0)),
                                PaletteColor(GlyphIndex(34)), qRgb(231, 231, 214)};
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            QVERIFY2(
                lcdColours.contains(text.pixel(x, y)),
                qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(text.pixel(x, y), 0, 16)));
}

// ---- icons ------------------------------------------------------------------------------------

namespace {

// Frame nIndex of a stored strip as the icons must show it: the ground transparent.
QImage StoredFrame(EPicture ePicture, int nIndex, QSize size) {
    QImage frame = CreateBitmap(ePicture)
                       .copy(nIndex * size.width(), 0, size.width(), size.height())
                       .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) == ArtIcons::kGround)
                frame.setPixel(x, y, qRgba(0, 0, 0, 0));
    return frame;
}

QImage Squared16(const QImage& button) {
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x)
            square.setPixel(x, y, button.pixel(x, y));
    return square;
}

QImage Shown(const QIcon& icon, QSize size, qreal dRatio = 1) {
    return icon.pixmap(size, dRatio).toImage().convertToFormat(QImage::Format_ARGB32);
}

constexpr QSize kButtonSize(kToolbarButtonWidth, kToolbarButtonHeight);

} // namespace

void TestControls::iconCrisp_data() {
    QTest::addColumn<QIcon>("icon");
    QTest::addColumn<QImage>("original");
    QTest::addColumn<int>("nRatio");
    if (StoredBmp(EPicture::Toolbar).isEmpty())
        QSKIP("the pictures are not linked in");
    for (const int nRatio : {1, 2, 3}) {
        for (int b = 0; b < kToolbarButtons; ++b)
            QTest::addRow("button %d at %d", b, nRatio)
                << ArtIcons::ToolbarIcon(ArtIcons::EButton(b))
                << StoredFrame(EPicture::Toolbar, b, kButtonSize) << nRatio;
        for (int nType = 1; nType <= kViewIconCount; ++nType) {
            const QImage big = StoredFrame(EPicture::ViewIcons, nType - 1, {32, 32});
            QTest::addRow("view %d at %d", nType, nRatio)
                << ArtIcons::ViewIcon(nType) << big << nRatio;
            QTest::addRow("view %d small at %d", nType, nRatio)
                << ArtIcons::ViewIcon(nType)
                << Squared16(StoredFrame(EPicture::Toolbar, nType + 5, kButtonSize)) << nRatio;
        }
        QTest::addRow("application at %d", nRatio)
            << ArtIcons::AppIcon() << StoredFrame(EPicture::AppIcon, 0, {32, 32}) << nRatio;
        QTest::addRow("application small at %d", nRatio)
            << ArtIcons::AppIcon() << StoredFrame(EPicture::AppIconSmall, 0, {16, 16}) << nRatio;
    }
}

// Asked for the picture's own size at a device pixel ratio, an icon hands out the picture with
// each pixel a uniform square block: no blended colour, nothing Qt interpolated.
void TestControls::iconCrisp() {
    QFETCH(QIcon, icon);
    QFETCH(QImage, original);
    QFETCH(int, nRatio);
    QVERIFY(!original.isNull());
    const QPixmap pixmap = icon.pixmap(original.size(), nRatio);
    QCOMPARE(pixmap.devicePixelRatio(), qreal(nRatio));
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), original.size() * nRatio);
    QSet<QRgb> colours;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            colours.insert(original.pixel(x, y));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb c = shown.pixel(x, y);
            QVERIFY2(colours.contains(c), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            QVERIFY2(c == shown.pixel(x - x % nRatio, y - y % nRatio),
                     qPrintable(QStringLiteral("block at %1,%2 not uniform").arg(x).arg(y)));
            QVERIFY2(c == original.pixel(x / nRatio, y / nRatio),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

// Every button has a picture of its own on a transparent ground; Activate shows a lit lamp and
// Deactivate a dark one, so the two cannot be told apart only by their place.
void TestControls::toolbarPictures() {
    if (StoredBmp(EPicture::Toolbar).isEmpty())
        QSKIP("the pictures are not linked in");
    QList<QImage> pictures;
    for (int b = 0; b < kToolbarButtons; ++b) {
        const QImage picture = ArtIcons::ButtonPicture(ArtIcons::EButton(b));
        QCOMPARE(picture, StoredFrame(EPicture::Toolbar, b, kButtonSize));
        int nOpaque = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                nOpaque += qAlpha(picture.pixel(x, y)) == 255 ? 1 : 0;
        QVERIFY2(nOpaque >= 40 && nOpaque < picture.width() * picture.height(),
                 qPrintable(QString::number(b)));
        QVERIFY2(!pictures.contains(picture), qPrintable(QStringLiteral("%1 repeats").arg(b)));
        pictures.append(picture);
    }
    const auto LitPixels = [](const QImage& picture) {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixel(x, y) == qRgb(255, 46, 28) ? 1 : 0;
        return n;
    };
    QVERIFY(LitPixels(ArtIcons::ButtonPicture(ArtIcons::EButton::Activate)) >= 4);
    QCOMPARE(LitPixels(ArtIcons::ButtonPicture(ArtIcons::EButton::Deactivate)), 0);
}

// A window icon per view type, each its own; other numbers get the application icon.
void TestControls::viewIcons() {
    if (StoredBmp(EPicture::ViewIcons).isEmpty())
        QSKIP("the pictures are not linked in");
    QList<QImage> shown;
    for (int nType = 1; nType <= kViewIconCount; ++nType) {
        const QImage big = Shown(ArtIcons::ViewIcon(nType), {32, 32});
        QCOMPARE(big, StoredFrame(EPicture::ViewIcons, nType - 1, {32, 32}));
        QVERIFY2(!shown.contains(big), qPrintable(QString::number(nType)));
        shown.append(big);
    }
    // The small picture of a view is its toolbar button: kick for view type 3.
    QCOMPARE(Shown(ArtIcons::ViewIcon(3), {16, 16}),
             Squared16(ArtIcons::ButtonPicture(ArtIcons::EButton::Kick)));
    QCOMPARE(Shown(ArtIcons::ViewIcon(1), {16, 16}),
             Squared16(ArtIcons::ButtonPicture(ArtIcons::EButton::KitInfo)));
    const QImage app = Shown(ArtIcons::AppIcon(), {32, 32});
    QCOMPARE(app, StoredFrame(EPicture::AppIcon, 0, {32, 32}));
    QVERIFY(!shown.contains(app));
    for (const int nOther : {0, 13, -1, 256})
        QCOMPARE(Shown(ArtIcons::ViewIcon(nOther), {32, 32}), app);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"

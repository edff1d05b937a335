#pragma once

// What the control tests share: test pictures in which every frame, glyph and strip region has
// a colour of its own, input and screen helpers, and a window to put the controls on.

#include "CDFader.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CDPoti.h"
#include "CReceiver.h"
#include "PanelBitmaps.h"
#include "QuenleyMessage.h"
#include "TestBmp.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <memory>
#include <type_traits>

namespace ControlTest {

using namespace PanelBitmaps;
using TestBmp::PaletteColor;

// The ids the controls under test carry, as a kick panel's knob, a kit panel's level fader and
// read-out, and a quick panel's lamp.
constexpr unsigned kKnobId = 2500;
constexpr unsigned kFaderId = 2005;
constexpr unsigned kLcdId = 2050;
constexpr unsigned kLedId = 3000;
// An id for a control that is no panel's.
constexpr unsigned kAnyId = 1;

// The value-control kind a data row is about.
constexpr bool kKnob = false;
constexpr bool kFader = true;

// Test strips: every frame, glyph and strip region in a colour of its own.
inline constexpr int kKnobFrameWidth = 3;
inline constexpr int kCursorIndex = 250;

inline QImage KnobStrip(int nFrames = 61) {
    return CreateBitmapFromBmp(TestBmp::Strip(nFrames * kKnobFrameWidth, 2,
                                              [](int x, int) { return x / kKnobFrameWidth; }));
}

// Pixels that differ from their neighbours, to see any blending.
inline QImage PatternedKnobStrip() {
    return CreateBitmapFromBmp(
        TestBmp::Strip(61 * 19, 19, [](int x, int y) { return (x * 7 + y * 13) % 256; }));
}

inline QImage LedStrip() {
    return CreateBitmapFromBmp(TestBmp::Strip(4, 2, [](int x, int) { return 10 + x / 2; }));
}

inline int GlyphIndex(int nGlyph) {
    return 100 + nGlyph;
}

inline QImage FontStrip() {
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

inline constexpr SFaderLayout kPanelFader{20, 151, 27}; // the panels' fader strip, 20 x 329

inline QImage Rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}
inline QImage Grab(QWidget* pWidget) {
    return Rgb(pWidget->grab().toImage());
}

// Lets the window paint what is pending: Qt paints on its next frame, not at once.
inline void Settle() {
    QTest::qWait(60);
}

// What the window shows now, as composed by the paints that have happened.
inline QImage OnScreen(QWidget* pWidget) {
    Settle();
    const QPoint at = pWidget->mapTo(pWidget->window(), QPoint(0, 0));
    const QPixmap shot = pWidget->screen()->grabWindow(pWidget->window()->winId(), at.x(), at.y(),
                                                       pWidget->width(), pWidget->height());
    return Rgb(shot.toImage());
}

inline void Mouse(QWidget* pWidget, QEvent::Type eType, QPoint at, Qt::MouseButton eButton,
                  Qt::MouseButtons held) {
    QMouseEvent event(eType, QPointF(at), QPointF(pWidget->mapToGlobal(at)), eButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}
inline void Press(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
inline void Release(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, {});
}
inline void DoubleClick(QWidget* w, QPoint at) {
    Mouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
}
inline void Drag(QWidget* w, int y) {
    Mouse(w, QEvent::MouseMove, QPoint(1, y), Qt::NoButton, Qt::LeftButton);
}
inline void Hover(QWidget* w, int y) {
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

} // namespace ControlTest

// The base of the control test classes: a fresh, active window for every test function, and
// the controls most tests put on it.
class CControlTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<CReceiver> m_pView;
    QSize m_viewSize{300, 200}; // the window's size, for a class to set in its constructor

    // A knob (CDPoti) or a fader (CDFader) at nValue.
    template <class T> std::unique_ptr<T> Knob(int nValue, int x = 10, int y = 10);
    std::unique_ptr<CDFader> Fader(const ControlTest::SFaderLayout& layout, int x = 100,
                                   int y = 10);
    std::unique_ptr<CDLcd> Lcd(int nChars, int x = 200, int y = 10);
    void FocusOn(QWidget* pWidget);

private slots:
    void init();
    void cleanup();
};

template <class T> std::unique_ptr<T> CControlTest::Knob(int nValue, int x, int y) {
    using namespace ControlTest;
    auto pKnob = std::make_unique<T>();
    if constexpr (std::is_same_v<T, CDPoti>) {
        [&] { QVERIFY(pKnob->Create(m_pView.get(), kKnobId, KnobStrip(), x, y, 61, false)); }();
    } else {
        [&] {
            QVERIFY(pKnob->Create(m_pView.get(), kFaderId, kPanelFader.Strip(), x, y,
                                  kPanelFader.nCap, false));
        }();
    }
    pKnob->SetValue(nValue, true);
    return pKnob;
}

// Wheel, page keys, the fine drag, tooltips and zoom of the value controls, through real input
// events on the offscreen platform.

#include "CDFader.h"
#include "CDLcd.h"
#include "CDPoti.h"
#include "CReceiver.h"
#include "ControlTest.h"
#include "ControlMessages.h"
#include "PanelBitmaps.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <memory>

using namespace PanelBitmaps;

namespace {

void Wheel(QWidget* pWidget, int nDelta, Qt::KeyboardModifiers modifiers = {}) {
    const QPointF at(pWidget->width() / 2.0, pWidget->height() / 2.0);
    QWheelEvent event(at, pWidget->mapToGlobal(at), QPoint(), QPoint(0, nDelta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pWidget, &event);
}

void Mouse(QWidget* pWidget, QEvent::Type eType, int y, Qt::MouseButtons held,
           Qt::KeyboardModifiers modifiers) {
    const QPointF at(2, y);
    const Qt::MouseButton eButton = eType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(eType, at, pWidget->mapToGlobal(at), eButton, held, modifiers);
    QApplication::sendEvent(pWidget, &event);
}

// Pointer over the control at y, pressed, moved through the ys given, released.
void DragThrough(QWidget* pWidget, int y, const QList<int>& ys, Qt::KeyboardModifiers mods) {
    Mouse(pWidget, QEvent::MouseMove, y, {}, {});
    Mouse(pWidget, QEvent::MouseButtonPress, y, Qt::LeftButton, mods);
    for (int nY : ys)
        Mouse(pWidget, QEvent::MouseMove, nY, Qt::LeftButton, mods);
    Mouse(pWidget, QEvent::MouseButtonRelease, ys.isEmpty() ? y : ys.back(), {}, mods);
}

} // namespace

class TestFineControl : public CControlTest {
    Q_OBJECT

public:
    TestFineControl() { m_viewSize = QSize(400, 400); }

private:

    std::unique_ptr<CDDynCtrl> Make(const QString& strKind, int nValue) {
        std::unique_ptr<CDDynCtrl> pControl;
        if (strKind == QLatin1String("knob")) {
            auto pKnob = std::make_unique<CDPoti>();
            pKnob->Create(m_pView.get(), 1, CreateBitmap(EPicture::Knob), 40, 40, kKnobFrames,
                          false);
            pControl = std::move(pKnob);
        } else if (strKind == QLatin1String("fader")) {
            auto pFader = std::make_unique<CDFader>();
            pFader->Create(m_pView.get(), 2, CreateBitmap(EPicture::Fader), 80, 10,
                           kFaderCapHeight, false);
            pControl = std::move(pFader);
        } else {
            auto pLcd = std::make_unique<CDLcd>();
            pLcd->Create(m_pView.get(), 3, CreateBitmap(EPicture::LcdFont), 120, 10, kLcdGlyphs,
                         3, 2, false);
            pLcd->SetNumeric();
            pControl = std::move(pLcd);
        }
        pControl->SetRange(0, 127);
        pControl->SetValue(nValue, true);
        return pControl;
    }
    static unsigned MessageOf(const QString& strKind) {
        return strKind == QLatin1String("knob")    ? WM_DPOTI_CHANGED
               : strKind == QLatin1String("fader") ? WM_DFADER_CHANGED
                                                   : WM_DLCD_CHANGED;
    }

private slots:
    void wheel_data() {
        QTest::addColumn<QString>("strKind");
        QTest::addColumn<int>("nStart");
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<bool>("bShift");
        QTest::addColumn<QList<int>>("notified"); // the value at each notification
        for (const char* pszKind : {"knob", "fader", "lcd"}) {
            const QByteArray k = QByteArray(pszKind) + ' ';
            QTest::newRow(k + "one notch up") << pszKind << 50 << QList{120} << false << QList{51};
            QTest::newRow(k + "one notch down")
                << pszKind << 50 << QList{-120} << false << QList{49};
            QTest::newRow(k + "Shift ten") << pszKind << 50 << QList{120} << true << QList{60};
            QTest::newRow(k + "two notches at once")
                << pszKind << 50 << QList{240} << false << QList{51, 52};
            QTest::newRow(k + "fine wheel adds up")
                << pszKind << 50 << QList{40, 40, 39, 1, 60} << false << QList{51};
            QTest::newRow(k + "turning back starts afresh")
                << pszKind << 50 << QList{90, -90, -30} << false << QList{49};
            QTest::newRow(k + "at the top") << pszKind << 127 << QList{120} << false << QList{127};
            QTest::newRow(k + "Shift clamps at the bottom")
                << pszKind << 4 << QList{-120, -120} << true << QList{0, 0};
        }
    }
    void wheel() {
        QFETCH(QString, strKind);
        QFETCH(int, nStart);
        QFETCH(QList<int>, deltas);
        QFETCH(bool, bShift);
        QFETCH(QList<int>, notified);
        auto pControl = Make(strKind, nStart);
        for (int nDelta : deltas)
            Wheel(pControl.get(), nDelta, bShift ? Qt::ShiftModifier : Qt::NoModifier);
        QList<int> values;
        for (const CReceiver::SNote& note : m_pView->m_notes) {
            QCOMPARE(note.nMsg, MessageOf(strKind));
            QCOMPARE(note.pSender, pControl.get());
            values << note.nValue;
        }
        QCOMPARE(values, notified);
        QCOMPARE(pControl->GetValue(), notified.back());
        if (strKind == QLatin1String("lcd"))
            return;
        // A wheel notch says what an arrow key says.
        m_pView->Clear();
        QTest::keyClick(pControl.get(), Qt::Key_Down);
        QCOMPARE(m_pView->m_notes.size(), 1);
        QCOMPARE(m_pView->m_notes.front().nMsg, MessageOf(strKind));
    }

    // A read-out turns its knob; a value typed into it and not confirmed is taken first.
    void lcdWheelTurnsItsPartner() {
        auto pKnob = Make(QStringLiteral("knob"), 20);
        auto pLcd = Make(QStringLiteral("lcd"), 20);
        pLcd->SetNext(pKnob.get());
        pKnob->SetNext(pLcd.get());
        QTest::mouseClick(pLcd.get(), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::keyClicks(pLcd.get(), "090");
        m_pView->Clear();
        Wheel(pLcd.get(), 120);
        QCOMPARE(m_pView->m_notes.size(), 2);
        QCOMPARE(m_pView->m_notes[0].nMsg, WM_DLCD_CHANGED);
        QCOMPARE(m_pView->m_notes[0].nValue, 90);
        QCOMPARE(m_pView->m_notes[1].nMsg, WM_DPOTI_CHANGED);
        QCOMPARE(m_pView->m_notes[1].pSender, pKnob.get());
        QCOMPARE(m_pView->m_notes[1].nValue, 21);
    }

    void pageKeys_data() {
        QTest::addColumn<QString>("strKind");
        QTest::addColumn<int>("nStart");
        QTest::addColumn<int>("nKey");
        QTest::addColumn<int>("nExpected");
        for (const char* pszKind : {"knob", "fader"}) {
            const QByteArray k = QByteArray(pszKind) + ' ';
            QTest::newRow(k + "page up") << pszKind << 50 << int(Qt::Key_PageUp) << 60;
            QTest::newRow(k + "page down") << pszKind << 50 << int(Qt::Key_PageDown) << 40;
            QTest::newRow(k + "page up clamps") << pszKind << 121 << int(Qt::Key_PageUp) << 127;
            QTest::newRow(k + "page down clamps") << pszKind << 3 << int(Qt::Key_PageDown) << 0;
            QTest::newRow(k + "page down at 0") << pszKind << 0 << int(Qt::Key_PageDown) << 0;
        }
    }
    void pageKeys() {
        QFETCH(QString, strKind);
        QFETCH(int, nStart);
        QFETCH(int, nKey);
        QFETCH(int, nExpected);
        auto pControl = Make(strKind, nStart);
        pControl->setFocus();
        QTest::keyClick(pControl.get(), Qt::Key(nKey));
        QCOMPARE(pControl->GetValue(), nExpected);
        QCOMPARE(m_pView->m_notes.size(), 1);
        QCOMPARE(m_pView->m_notes.front().nMsg, MessageOf(strKind));
        QCOMPARE(m_pView->m_notes.front().nValue, nExpected);
    }

    // With Shift one step per screen pixel, however far one move goes; without, the picture's
    // pixels count, times the sensitivity beyond two of them.
    void fineDrag_data() {
        QTest::addColumn<int>("nZoom");
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<bool>("bShift");
        QTest::addColumn<int>("nExpected");
        QTest::newRow("shift one pixel") << 100 << QList{9} << true << 51;
        QTest::newRow("shift fast 40 up") << 100 << QList{-30} << true << 90;
        QTest::newRow("shift 7 down in steps") << 100 << QList{11, 13, 17} << true << 43;
        QTest::newRow("shift at 200 %") << 200 << QList{0} << true << 60;
        QTest::newRow("shift at 300 % two moves") << 300 << QList{7, 3} << true << 57;
        QTest::newRow("normal fast 40 up") << 100 << QList{-30} << false << 127;
        QTest::newRow("normal 2 up") << 100 << QList{8} << false << 52;
        QTest::newRow("normal 4 up at 200 %") << 200 << QList{6} << false << 52;
        QTest::newRow("normal 6 up at 200 %") << 200 << QList{4} << false << 65;
        // y 10 and 11 both show picture row 5.
        QTest::newRow("normal 1 down at 200 % is none") << 200 << QList{11} << false << 50;
    }
    void fineDrag() {
        QFETCH(int, nZoom);
        QFETCH(QList<int>, ys);
        QFETCH(bool, bShift);
        QFETCH(int, nExpected);
        auto pKnob = Make(QStringLiteral("knob"), 50);
        QVERIFY(pKnob->SetZoom(nZoom / 100.0));
        DragThrough(pKnob.get(), 10, ys, bShift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(pKnob->GetValue(), nExpected);
        // One notification per move that changed the picture pixel (with Shift: screen pixel).
        QVERIFY(m_pView->m_notes.size() <= ys.size());
        if (nExpected != 50)
            QCOMPARE(m_pView->m_notes.back().nValue, nExpected);
    }

    // The tooltip asks its source each time: on hovering and on every move of a drag.
    void toolTip() {
        auto pKnob = Make(QStringLiteral("knob"), 50);
        CDDynCtrl* p = pKnob.get();
        pKnob->SetToolTipSource([p] { return QStringLiteral("Tune: %1").arg(p->GetValue()); });
        const QPoint at(5, 5);
        QHelpEvent help(QEvent::ToolTip, at, pKnob->mapToGlobal(at));
        QApplication::sendEvent(pKnob.get(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Tune: 50"));
        Mouse(p, QEvent::MouseMove, 10, {}, {});
        Mouse(p, QEvent::MouseButtonPress, 10, Qt::LeftButton, Qt::ShiftModifier);
        Mouse(p, QEvent::MouseMove, 7, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(QToolTip::text(), QStringLiteral("Tune: 53"));
        Mouse(p, QEvent::MouseMove, -20, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(QToolTip::text(), QStringLiteral("Tune: 80"));
        Mouse(p, QEvent::MouseButtonRelease, -20, {}, Qt::ShiftModifier);
        Wheel(p, -120);
        QCOMPARE(QToolTip::text(), QStringLiteral("Tune: 79"));

        // An empty text shows nothing.
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        pKnob->SetToolTipSource([] { return QString(); });
        QApplication::sendEvent(pKnob.get(), &help);
        QVERIFY(!QToolTip::isVisible());
    }

    // A zoomed control covers the screen pixels whose centres lie on it (the views' test checks
    // the pictures pixel by pixel).
    void zoomedGeometry() {
        auto pKnob = Make(QStringLiteral("knob"), 77);
        for (const auto& [dZoom, geometry] :
             {std::pair{1.5, QRect(60, 60, 28, 28)}, std::pair{3.0, QRect(120, 120, 57, 57)}}) {
            QVERIFY(pKnob->SetZoom(dZoom));
            QCOMPARE(pKnob->geometry(), geometry);
            QCOMPARE(pKnob->PanelRect(), QRect(40, 40, 19, 19));
        }
        QVERIFY(!pKnob->SetZoom(0));
    }

    // A click on a zoomed read-out puts the cursor in the cell under the pointer.
    void zoomedLcdClick() {
        auto pLcd = std::unique_ptr<CDLcd>(static_cast<CDLcd*>(Make("lcd", 5).release()));
        pLcd->SetZoom(3.0);
        // Cells are 5 pixels and 2 apart, and a click counts for the next cell from the picture
        // pixel after a cell pitch on: picture x 15 (screen 45 ... 47) is in cell 2, x 14 not.
        QTest::mouseClick(pLcd.get(), Qt::LeftButton, {}, QPoint(45, 10));
        QCOMPARE(pLcd->GetCursor(), 2);
        QTest::mouseClick(pLcd.get(), Qt::LeftButton, {}, QPoint(44, 10));
        QCOMPARE(pLcd->GetCursor(), 1);
        QTest::mouseClick(pLcd.get(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(pLcd->GetCursor(), 0);
    }
};

QTEST_MAIN(TestFineControl)
#include "tst_finecontrol.moc"

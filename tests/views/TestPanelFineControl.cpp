// The editors' wheel, tooltips and zoom, driven through real input events: what is sent, what
// the tooltip says, and that a zoomed panel is the plain one magnified with its controls where
// they show.

#include "CDCtrl.h"
#include "CDPoti.h"
#include "TestMain.h"
#include "ViewBench.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

namespace {

void Wheel(QWidget* pWidget, int nDelta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(pWidget->width() / 2.0, pWidget->height() / 2.0);
    QWheelEvent event(at, pWidget->mapToGlobal(at), QPoint(), QPoint(0, nDelta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pWidget, &event);
}

QString ToolTipOf(CDView& view, unsigned nId) {
    QWidget* pControl = view.Control(nId);
    if (!pControl)
        return QStringLiteral("(no control)");
    QToolTip::hideText();
    const QPoint at(2, 2);
    QHelpEvent help(QEvent::ToolTip, at, pControl->mapToGlobal(at));
    QApplication::sendEvent(pControl, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QStringLiteral("(none)");
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A point well inside the control's picture, on the screen at the view's zoom.
QPoint ZoomedCentre(const CDCtrl& control, int nZoom) {
    const QRect r = control.PanelRect();
    return QPoint((2 * r.left() + r.width()) * nZoom / 200,
                  (2 * r.top() + r.height()) * nZoom / 200);
}

} // namespace

class TestPanelFineControl : public QObject {
    Q_OBJECT

private slots:
    // Each notch sends what an arrow key would; a read-out with a knob turns like the knob.
    void wheelSends_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<int>("nStored");
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<int>("nDelta");
        QTest::addColumn<bool>("bShift");
        QTest::addColumn<QList<int>>("sent");
        QTest::newRow("kick Tune knob") << 3 << 0 << 221 << 2590u << 120 << false << QList{222};
        QTest::newRow("kick Tune read-out") << 3 << 0 << 221 << 2525u << 120 << false << QList{222};
        // Both notches are sent; the waiting queue keeps the newer message for the address.
        QTest::newRow("kick Tune two notches down")
            << 3 << 0 << 221 << 2590u << -240 << false << QList{219};
        QTest::newRow("kick Tune Shift up to the top")
            << 3 << 0 << 250 << 2590u << 240 << true << QList{255};
        QTest::newRow("kick EQ field") << 3 << 7 << 0xC3 << 2625u << 120 << true << QList{0xC7};
        QTest::newRow("LFO L1Des selector")
            << 12 << 4 << 0x35 << 4310u << -120 << false << QList{0x34};
    }
    void wheelSends() {
        QFETCH(int, nType);
        QFETCH(int, nParam);
        QFETCH(int, nStored);
        QFETCH(unsigned, nId);
        QFETCH(int, nDelta);
        QFETCH(bool, bShift);
        QFETCH(QList<int>, sent);
        const int nKind = PanelIds(nType).nKind;
        CViewBench b;
        b.Add(nKind, 7, nParam, nStored);
        b.Open(nType, 7);
        Wheel(b.pView->Control(nId), nDelta, bShift ? Qt::ShiftModifier : Qt::NoModifier);
        QList<QByteArray> messages;
        for (int nValue : sent)
            messages << InstrumentValue(nKind, 7, nParam, nValue);
        QCOMPARE(b.Sent(), messages);
        QCOMPARE(PairMismatch(*b.pView), QString());
    }

    void toolTips_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<int>("nStored");
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<QString>("strTip");
        QTest::newRow("kick Tune knob") << 3 << 0 << 221 << 2590u << "Tune: 221";
        QTest::newRow("kick Tune read-out") << 3 << 0 << 7 << 2525u << "Tune: 007";
        QTest::newRow("kick Veloc switch") << 3 << 7 << 0x80 << 2505u << "Velocity: ON";
        QTest::newRow("kick Scale word") << 3 << 7 << 0x40 << 2570u << "Scale: SEM";
        QTest::newRow("LFO L1Wav selector") << 12 << 5 << 0x03 << 4300u << "LFO 1 waveform: RCT";
        QTest::newRow("LFO L2Des selector") << 12 << 4 << 0x20 << 4330u << "LFO 2 destination: LTT";
        QTest::newRow("kick number knob") << 3 << 0 << 0 << 2585u << "Variation number: 007";
    }
    void toolTips() {
        QFETCH(int, nType);
        QFETCH(int, nParam);
        QFETCH(int, nStored);
        QFETCH(unsigned, nId);
        QFETCH(QString, strTip);
        CViewBench b;
        b.Add(PanelIds(nType).nKind, 7, nParam, nStored);
        b.Open(nType, 7);
        QCOMPARE(ToolTipOf(*b.pView, nId), strTip);
    }

    // The kit's column controls are read with the instrument over their column.
    void kitToolTips() {
        CKitBench b;
        b.Add(1, 5, 8 + 1, 3);
        b.Add(3, 3, 5, 100);
        b.Add(11, 0, 6, 42);
        b.Open(5);
        QCOMPARE(ToolTipOf(*b.pView, KitIds::VariationKnob(1)),
                 QStringLiteral("Snare variation: 003"));
        QCOMPARE(ToolTipOf(*b.pView, KitIds::VariationLcd(1)),
                 QStringLiteral("Snare variation: 003"));
        QCOMPARE(ToolTipOf(*b.pView, KitIds::Level(1)), QStringLiteral("Snare level: 100"));
        QCOMPARE(ToolTipOf(*b.pView, KitIds::Level(9)), QStringLiteral("LFO speed: 042"));
        // Kick 0, which the kit uses, is not in the project; its dimmed fader still explains.
        QCOMPARE(ToolTipOf(*b.pView, KitIds::Level(0)),
                 QStringLiteral("Kick 000 does not exist: Init. it in a Kick window,\nor choose "
                                "Create missing sounds from this window's right-click menu"));
        QCOMPARE(ToolTipOf(*b.pView, KitIds::kKitKnob), QStringLiteral("Kit number: 005"));
    }

    // The tooltip follows the value while the knob is dragged, as the read-out shows it.
    void toolTipFollowsDrag() {
        CViewBench b;
        b.Add(2, 7, 0, 100);
        b.Open(3, 7);
        QWidget* pKnob = b.pView->Control(2590);
        const QPoint at(pKnob->width() / 2, pKnob->height() / 2);
        QTest::mouseMove(pKnob, at + QPoint(0, 3));
        QTest::mouseMove(pKnob, at);
        QTest::mousePress(pKnob, Qt::LeftButton, Qt::ShiftModifier, at);
        QMouseEvent move(QEvent::MouseMove, QPointF(at - QPoint(0, 12)),
                         pKnob->mapToGlobal(QPointF(at - QPoint(0, 12))), Qt::NoButton,
                         Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(pKnob, &move);
        QCOMPARE(QToolTip::text(), QStringLiteral("Tune: 112"));
        QTest::mouseRelease(pKnob, Qt::LeftButton, Qt::ShiftModifier, at - QPoint(0, 12));
        QCOMPARE(b.Shown(2525), QByteArray("112"));
        QCOMPARE(b.Sent(), QList<QByteArray>{InstrumentValue(2, 7, 0, 112)});
    }

    // Every control is where its picture shows at each zoom, and a zoomed panel is the plain one
    // magnified pixel by pixel, the controls' pictures included.
    void zoomedPanel_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nZoom");
        for (int nType : {2, 3, 12})
            for (int nZoom : {100, 150, 200, 300})
                QTest::addRow("type %d at %d %%", nType, nZoom) << nType << nZoom;
    }
    void zoomedPanel() {
        QFETCH(int, nType);
        QFETCH(int, nZoom);
        CProjectBench b;
        auto pView = OpenView(b.doc, nType, 0);
        QVERIFY(pView);
        const QImage plain = Grab(*pView);
        QVERIFY(pView->SetZoom(nZoom));
        // The screen pixels whose centres lie on the panel: a half pixel left over is not one.
        const QSize expected((pView->PanelWidth() * nZoom + 49) / 100,
                             (pView->PanelHeight() * nZoom + 49) / 100);
        QCOMPARE(pView->size(), expected);
        QCOMPARE(pView->sizeHint(), expected);
        QCOMPARE(pView->maximumSize(), expected);
        for (const Panels::SControl& row : pView->PanelTable().controls) {
            const CDCtrl* pControl = pView->Control(row.nId);
            QVERIFY(pControl);
            QVERIFY2(pView->childAt(ZoomedCentre(*pControl, nZoom)) == pControl,
                     qPrintable(QString::number(row.nId)));
        }
        const QImage zoomed = Grab(*pView);
        QCOMPARE(zoomed.size(), expected);
        const double dZoom = nZoom / 100.0;
        for (int y = 0; y < zoomed.height(); ++y)
            for (int x = 0; x < zoomed.width(); ++x)
                if (zoomed.pixel(x, y) !=
                    plain.pixel(int((x + 0.5) / dZoom), int((y + 0.5) / dZoom)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
        QVERIFY(!pView->SetZoom(10));
    }

    // A press and a drag at the zoomed place, through the window, reach the control; a normal
    // drag changes as much per picture pixel as at 100 %.
    void zoomedDragReachesTheKnob_data() {
        QTest::addColumn<int>("nZoom");
        for (int nZoom : {100, 150, 200, 300})
            QTest::addRow("%d %%", nZoom) << nZoom;
    }
    void zoomedDragReachesTheKnob() {
        QFETCH(int, nZoom);
        CViewBench b;
        b.Add(2, 7, 0, 100);
        b.Open(3, 7);
        QVERIFY(b.pView->SetZoom(nZoom));
        QWindow* pWindow = b.pView->windowHandle();
        QVERIFY(pWindow);
        const QPoint at = ZoomedCentre(*b.pView->Control(2590), nZoom);
        // Two picture pixels up.
        const QPoint to = at - QPoint(0, 2 * nZoom / 100);
        QTest::mouseMove(pWindow, at + QPoint(0, 1));
        QTest::mouseMove(pWindow, at);
        QTest::mousePress(pWindow, Qt::LeftButton, {}, at);
        QTest::mouseMove(pWindow, to);
        QTest::mouseRelease(pWindow, Qt::LeftButton, {}, to);
        QCOMPARE(b.Shown(2590), QByteArray("102"));
        QCOMPARE(b.Sent(), QList<QByteArray>{InstrumentValue(2, 7, 0, 102)});
    }
};

QUENLEY_REGISTER_TEST(TestPanelFineControl)
#include "TestPanelFineControl.moc"

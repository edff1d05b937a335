// How every control looks dimmed, and on high-density screens.

#include "ControlTest.h"
#include "TestMain.h"

#include <QSet>

#include <cmath>
#include <utility>

using namespace ControlTest;

namespace {
enum class EControl { Fader, Lcd, Knob };
} // namespace

class TestLook : public CControlTest {
    Q_OBJECT

private slots:
    void dimmed_data();
    void dimmed();
    void crispAtDeviceRatio();
};

void TestLook::dimmed_data() {
    QTest::addColumn<int>("nControl"); // an EControl
    QTest::addColumn<double>("dZoom");
    for (double dZoom : {1.0, 2.0})
        for (const auto& [eControl, pszName] : {std::pair{EControl::Fader, "fader"},
                                                {EControl::Lcd, "lcd"},
                                                {EControl::Knob, "knob"}})
            QTest::addRow("%s at %g", pszName, dZoom) << int(eControl) << dZoom;
}

// Every pixel of a dimmed control moves towards the panel's grey, none away from it, and
// undimmed it is as it was.
void TestLook::dimmed() {
    QFETCH(int, nControl);
    QFETCH(double, dZoom);
    std::unique_ptr<CDCtrl> pControl;
    if (EControl(nControl) == EControl::Fader) {
        pControl = Knob<CDFader>(100);
    } else if (EControl(nControl) == EControl::Lcd) {
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

void TestLook::crispAtDeviceRatio() {
    // The ctest entries run this at several scale factors and name the one they expect.
    const double dRatio = m_pView->devicePixelRatioF();
    const QByteArray expected = qgetenv("QUENLEY_TEST_DPR");
    if (!expected.isEmpty())
        QCOMPARE(dRatio, expected.toDouble());

    const QImage strip = PatternedKnobStrip();
    CDPoti knob;
    QVERIFY(knob.Create(m_pView.get(), kAnyId, strip, 10, 10, 61, false));
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

QUENLEY_REGISTER_TEST(TestLook)
#include "tst_look.moc"

#include "StripPainter.h"

#include "ArtStyle.h"
#include "Drawing.h"
#include "LcdGlyphs.h"
#include "PanelTables.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace artgen {

using namespace Panels;

namespace {

constexpr int kScale = 8;

QImage onPlate(const QImage& art) {
    QImage out(art.size(), QImage::Format_RGB32);
    out.fill(style::kPlate);
    QPainter p(&out);
    p.drawImage(0, 0, art);
    return out;
}

} // namespace

QImage StripPainter::knobFrame(double angleDegrees) {
    const QImage art = draw::supersampled(kKnobSize, kKnobSize, kScale, [&](QPainter& p) {
        const QPointF c(kKnobSize / 2.0, kKnobSize / 2.0);
        p.setPen(Qt::NoPen);
        // Shadow cast down and right, then the knurled skirt lit from the top left.
        p.setBrush(QColor(12, 13, 15, 200));
        p.drawEllipse(c + QPointF(0.35, 0.55), 9.2, 9.2);
        QLinearGradient skirt(c - QPointF(7, 7), c + QPointF(7, 7));
        skirt.setColorAt(0, QColor(168, 172, 178));
        skirt.setColorAt(0.5, QColor(104, 108, 114));
        skirt.setColorAt(1, QColor(44, 46, 50));
        p.setBrush(skirt);
        p.drawEllipse(c, 8.9, 8.9);
        p.setBrush(QColor(22, 23, 26));
        p.drawEllipse(c, 7.0, 7.0);
        QLinearGradient cap(c - QPointF(0, 6.5), c + QPointF(0, 6.5));
        cap.setColorAt(0, QColor(84, 88, 94));
        cap.setColorAt(1, QColor(28, 30, 33));
        p.setBrush(cap);
        p.drawEllipse(c, 6.3, 6.3);

        const double a = qDegreesToRadians(angleDegrees);
        const QPointF dir(std::sin(a), -std::cos(a));
        QPen pointer(QColor(250, 250, 250), 1.7, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pointer);
        p.drawLine(c + dir * 2.6, c + dir * 8.4);
    });
    return onPlate(art);
}

QImage StripPainter::knobStrip() {
    QImage strip(kKnobSize * kKnobFrames, kKnobSize, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int f = 0; f < kKnobFrames; ++f)
        p.drawImage(f * kKnobSize, 0, knobFrame(kKnobFirstAngle + kKnobStep * f));
    return strip;
}

QImage StripPainter::ledFrame(bool lit) {
    const QImage art = draw::supersampled(kLedSize, kLedSize, kScale, [&](QPainter& p) {
        const QPointF c(kLedSize / 2.0, kLedSize / 2.0);
        p.setPen(Qt::NoPen);
        QLinearGradient bezel(c - QPointF(6, 6), c + QPointF(6, 6));
        bezel.setColorAt(0, QColor(18, 19, 21));
        bezel.setColorAt(1, QColor(120, 124, 130));
        p.setBrush(bezel);
        p.drawEllipse(c, 6.3, 6.3);
        p.setBrush(QColor(10, 10, 11));
        p.drawEllipse(c, 5.0, 5.0);
        QRadialGradient lens(c - QPointF(0.8, 0.8), 4.6);
        if (lit) {
            lens.setColorAt(0, QColor(255, 226, 200));
            lens.setColorAt(0.35, style::kLedOn);
            lens.setColorAt(1, QColor(190, 20, 12));
        } else {
            lens.setColorAt(0, QColor(128, 30, 24));
            lens.setColorAt(1, QColor(54, 8, 7));
        }
        p.setBrush(lens);
        p.drawEllipse(c, 4.3, 4.3);
        p.setBrush(QColor(255, 255, 255, lit ? 150 : 70));
        p.drawEllipse(c - QPointF(1.6, 1.7), 1.1, 0.8);
    });
    return onPlate(art);
}

QImage StripPainter::ledStrip() {
    QImage strip(2 * kLedSize, kLedSize, QImage::Format_RGB32);
    QPainter p(&strip);
    p.drawImage(0, 0, ledFrame(false));
    p.drawImage(kLedSize, 0, ledFrame(true));
    return strip;
}

QImage StripPainter::faderStrip() {
    const int travel = kFaderTrack - kFaderCap;
    QImage track(kFaderWidth, kFaderTrack, QImage::Format_RGB32);
    track.fill(style::kPlate);
    {
        QPainter p(&track);
        // Scale marks at eleven cap positions, longer at both ends and in the middle.
        for (int i = 0; i <= 10; ++i) {
            const int y = kFaderCap / 2 + (travel * i + 5) / 10;
            const int len = (i % 5 == 0) ? 4 : 2;
            p.fillRect(0, y, len, 1, style::kLabel);
            p.fillRect(kFaderWidth - len, y, len, 1, style::kLabel);
        }
        // The slot the cap runs in.
        const QRect slot(8, kFaderCap / 2 - 4, 4, travel + 9);
        p.fillRect(slot.adjusted(-1, -1, 1, 1), style::kPlateShadow);
        p.fillRect(slot, QColor(8, 8, 9));
        p.fillRect(slot.right() + 2, slot.top(), 1, slot.height() + 1, style::kPlateHighlight);
        p.fillRect(slot.left() - 1, slot.bottom() + 2, slot.width() + 3, 1, style::kPlateHighlight);
    }

    const QImage capArt = draw::supersampled(kFaderWidth, kFaderCap, kScale, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(12, 13, 15, 220));
        p.drawRoundedRect(QRectF(0.6, 0.8, 19.4, 26.2), 2.2, 2.2);
        QLinearGradient body(0, 0, 0, kFaderCap);
        body.setColorAt(0, QColor(190, 194, 200));
        body.setColorAt(0.48, QColor(96, 100, 106));
        body.setColorAt(0.52, QColor(70, 73, 78));
        body.setColorAt(1, QColor(150, 154, 160));
        p.setBrush(body);
        p.drawRoundedRect(QRectF(0.2, 0.2, 19.2, 26.0), 2.0, 2.0);
        // Grip ridges above and below the index line.
        for (double y : {4.5, 7.5, 10.0, 17.0, 19.5, 22.5}) {
            p.setBrush(QColor(36, 38, 42, 150));
            p.drawRect(QRectF(2.0, y, 15.6, 0.9));
        }
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(1.0, 12.8, 17.6, 1.4));
    });

    QImage strip(kFaderWidth, 2 * kFaderTrack + kFaderCap, QImage::Format_RGB32);
    QPainter p(&strip);
    // The work area is overwritten by the control before use; a copy of the track keeps the
    // strip sensible to look at.
    p.drawImage(0, 0, track);
    p.drawImage(0, kFaderTrack, track);
    QImage cap(kFaderWidth, kFaderCap, QImage::Format_RGB32);
    cap.fill(style::kPlate);
    QPainter(&cap).drawImage(0, 0, capArt);
    p.drawImage(0, 2 * kFaderTrack, cap);
    return strip;
}

QImage StripPainter::fontStrip() {
    QImage strip(kGlyphWidth * int(kLcdGlyphs.size()), kGlyphHeight, QImage::Format_RGB32);
    strip.fill(style::kFontBack);
    for (int g = 0; g < int(kLcdGlyphs.size()); ++g)
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (kLcdGlyphs[g][row] & (0x10 >> col))
                    strip.setPixelColor(g * kGlyphWidth + col, row, style::kFontInk);
    return strip;
}

} // namespace artgen

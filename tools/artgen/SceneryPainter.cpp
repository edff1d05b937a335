#include "SceneryPainter.h"

#include "ArtStyle.h"
#include "Drawing.h"
#include "LcdGlyphs.h"
#include "PanelTables.h"
#include "StripPainter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace artgen {

using Panels::kGlyphHeight;
using Panels::kGlyphWidth;

namespace {

// Hole pitch of the perforation; both divide the tile size and the row count is even, so the
// staggered rows meet themselves across the tile edges.
constexpr int kPitchX = 12;
constexpr int kPitchY = 10;
static_assert(SceneryPainter::kBackgroundSize % kPitchX == 0);
static_assert((SceneryPainter::kBackgroundSize / kPitchY) % 2 == 0);

// Text in the LCD font, one `size`-pixel square per dot, dots `pitch` pixels apart.
void lcdText(QPainter& p, int x, int y, const char* s, int pitch, int size) {
    for (int i = 0; s[i]; ++i) {
        const Glyph& g = kLcdGlyphs[std::size_t(s[i] - 32)];
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int col = 0; col < kGlyphWidth; ++col)
                if (g[std::size_t(row)] & (0x10 >> col))
                    p.fillRect(x + (i * (kGlyphWidth + 1) + col) * pitch, y + row * pitch, size,
                               size, style::kLcdInk);
    }
}

} // namespace

QImage SceneryPainter::background() {
    const int n = kBackgroundSize;
    const QImage hole = draw::supersampled(kPitchX, kPitchY, 8, [](QPainter& p) {
        const QPointF c(kPitchX / 2.0, kPitchY / 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(72, 75, 80));
        p.drawEllipse(c + QPointF(0.3, 0.5), 2.9, 2.9);
        p.setBrush(QColor(14, 15, 17));
        p.drawEllipse(c, 2.8, 2.8);
    });
    QImage image(n, n, QImage::Format_RGB32);
    image.fill(QColor(44, 46, 50));
    QPainter p(&image);
    for (int row = 0; row < n / kPitchY; ++row)
        for (int col = 0; col < n / kPitchX; ++col) {
            const int x = col * kPitchX + (row % 2) * (kPitchX / 2);
            const int y = row * kPitchY;
            // A hole cut by the right edge continues on the left.
            for (int wrap : {0, -n})
                p.drawImage(x + wrap, y, hole);
        }
    return image;
}

QImage SceneryPainter::about() {
    QImage image(kAboutWidth, kAboutHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, kAboutHeight);
    sky.setColorAt(0, QColor(34, 36, 40));
    sky.setColorAt(1, QColor(12, 13, 15));
    p.fillRect(image.rect(), sky);

    // Title and subtitle.
    const QFont title = draw::titleFont(40);
    const QString name = QStringLiteral("Quenley");
    const int titleWidth = QFontMetrics(title).horizontalAdvance(name);
    draw::text(p, (kAboutWidth - titleWidth) / 2, 62, name, title, style::kLabel);
    p.fillRect((kAboutWidth - titleWidth) / 2, 72, titleWidth, 2, style::kAccent);
    QFont sub = draw::labelFont();
    sub.setPixelSize(11);
    const QString line = QStringLiteral("Sound editor and librarian for the Zandrel drum module");
    draw::text(p, (kAboutWidth - QFontMetrics(sub).horizontalAdvance(line)) / 2, 94, line, sub,
               QColor(176, 180, 186));

    // The module: a plate with an LCD, a row of knobs and a row of pads with lamps.
    const QRect module(24, 112, kAboutWidth - 48, 128);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(6, 6, 7));
    p.drawRoundedRect(QRectF(module).translated(2, 3), 6, 6);
    p.setBrush(style::kPlate);
    p.drawRoundedRect(QRectF(module), 6, 6);
    p.fillRect(module.left() + 6, module.top() + 6, module.width() - 12, 16, style::kStrip);
    const QFont brand = draw::headingFont();
    draw::text(p, module.left() + 14, module.top() + 18, QString::fromLatin1(style::kBrand), brand,
               style::kAccent);
    for (int x : {module.left() + 10, module.right() - 10})
        draw::screw(p, x, module.bottom() - 10);

    const QRect lcd(module.left() + 16, module.top() + 34, 142, 30);
    draw::lcdWindow(p, lcd);
    lcdText(p, lcd.left() + 9, lcd.top() + 5, "QUENLEY", 3, 2);

    static constexpr double kKnobAngles[] = {-120, -40, 30, 95, 150};
    for (int i = 0; i < 5; ++i)
        p.drawImage(module.left() + 186 + i * 32, module.top() + 40,
                    StripPainter::knobFrame(kKnobAngles[i]));

    static constexpr QRgb kPadColors[] = {0xff8a2b1c, 0xff3a3d42, 0xff3a3d42, 0xff3a3d42,
                                          0xffd27a22, 0xff3a3d42, 0xff3a3d42, 0xff3a3d42};
    for (int i = 0; i < 8; ++i) {
        const QRectF pad(module.left() + 16 + i * 42, module.top() + 82, 34, 30);
        p.setBrush(QColor(12, 13, 15));
        p.drawRoundedRect(pad.translated(1, 1.5), 4, 4);
        QLinearGradient rubber(pad.topLeft(), pad.bottomLeft());
        const QColor base = QColor::fromRgb(kPadColors[i]);
        rubber.setColorAt(0, base.lighter(135));
        rubber.setColorAt(1, base.darker(130));
        p.setBrush(rubber);
        p.drawRoundedRect(pad, 4, 4);
        p.drawImage(QPointF(pad.right() - 11, pad.top() - 13 + 1),
                    StripPainter::ledFrame(i == 0 || i == 4)
                        .scaled(9, 9, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    QFont hint = draw::labelFont();
    draw::text(p,
               kAboutWidth - 12 -
                   QFontMetrics(hint).horizontalAdvance(QStringLiteral("Click to close")),
               kAboutHeight - 10, QStringLiteral("Click to close"), hint, QColor(120, 124, 130));
    return image;
}

} // namespace artgen

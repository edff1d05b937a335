#include "Drawing.h"

#include "ArtStyle.h"

#include <QFontMetrics>
#include <QPainterPath>

namespace artgen::draw {

namespace {

QFont makeFont(int pixelSize, QFont::Weight weight) {
    QFont font(style::kFontFamily);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    // Vertical hinting keeps baselines and x-heights on the pixel grid without the uneven
    // letter spacing that full hinting gives small text.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont labelFont() {
    return makeFont(style::kLabelPixelSize, QFont::Normal);
}

QFont headingFont() {
    QFont font = makeFont(style::kHeadingPixelSize, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return font;
}

QFont titleFont(int pixelSize) {
    return makeFont(pixelSize, QFont::Bold);
}

QRect textBounds(int x, int baseline, const QString& s, const QFont& font) {
    return QFontMetrics(font).tightBoundingRect(s).translated(x, baseline);
}

QRect text(QPainter& p, int x, int baseline, const QString& s, const QFont& font,
           const QColor& color) {
    p.save();
    p.setFont(font);
    p.setPen(color);
    p.drawText(QPoint(x, baseline), s);
    p.restore();
    return textBounds(x, baseline, s, font);
}

void engravedFrame(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(style::kPlateHighlight);
    p.drawRect(r.adjusted(1, 1, 0, 0));
    p.setPen(style::kPlateShadow);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

void engravedVLine(QPainter& p, int x, int y, int h) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(style::kPlateShadow);
    p.drawLine(x, y, x, y + h - 1);
    p.setPen(style::kPlateHighlight);
    p.drawLine(x + 1, y, x + 1, y + h - 1);
    p.restore();
}

void lcdWindow(QPainter& p, const QRect& inside) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Light lip below and right, dark bezel around, inner shadow along the top and left.
    p.fillRect(inside.adjusted(-3, -3, 3, 3), style::kPlateHighlight);
    p.fillRect(inside.adjusted(-3, -3, 2, 2), style::kPlateShadow);
    p.fillRect(inside.adjusted(-2, -2, 2, 2), style::kBezel);
    p.fillRect(inside, style::kLcdBack);
    p.setPen(QColor(200, 201, 184));
    p.drawLine(inside.left(), inside.top(), inside.right(), inside.top());
    p.drawLine(inside.left(), inside.top(), inside.left(), inside.bottom());
    p.restore();
}

void screw(QPainter& p, int cx, int cy) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(cx + 0.5, cy + 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(style::kPlateShadow);
    p.drawEllipse(c + QPointF(0.4, 0.6), 4.2, 4.2);
    QLinearGradient head(c - QPointF(4, 4), c + QPointF(4, 4));
    head.setColorAt(0, QColor(176, 180, 186));
    head.setColorAt(1, QColor(70, 73, 78));
    p.setBrush(head);
    p.drawEllipse(c, 4.0, 4.0);
    p.setPen(QPen(QColor(34, 36, 40), 1.2));
    p.drawLine(c + QPointF(-2.6, 1.5), c + QPointF(2.6, -1.5));
    p.restore();
}

} // namespace artgen::draw

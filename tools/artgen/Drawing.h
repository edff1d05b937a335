#pragma once

// Drawing helpers shared by the painters: the label and heading type, engraved lines, the
// recessed LCD window and the panel screw.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace artgen::draw {

QFont labelFont();
QFont headingFont();
QFont titleFont(int pixelSize);

// Text with its left end of the baseline at (x, baseline); returns the inked rectangle.
QRect text(QPainter& p, int x, int baseline, const QString& s, const QFont& font,
           const QColor& color);
// The inked rectangle `text` would produce.
QRect textBounds(int x, int baseline, const QString& s, const QFont& font);

// An engraved rounded frame: a dark groove with a light lower edge.
void engravedFrame(QPainter& p, const QRect& r);
void engravedVLine(QPainter& p, int x, int y, int h);
// A recessed window of the LCD colour; `inside` is the area that shows the LCD colour.
void lcdWindow(QPainter& p, const QRect& inside);
void screw(QPainter& p, int cx, int cy);

// A picture drawn at `scale` times its size and reduced with area averaging, for smooth edges
// on very small artwork.
template <typename Paint> QImage supersampled(int w, int h, int scale, Paint paint) {
    QImage big(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paint(p);
    }
    return big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace artgen::draw

#include "PanelPainter.h"

#include "ArtStyle.h"
#include "Drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

namespace artgen {

using namespace Panels;

namespace {

// Knob scale: eleven dots over the knob's 300 degrees of travel.
constexpr double kScaleRadius = 12.5;
constexpr int kScaleDots = 11;
constexpr int kKnobHalo = 4;
constexpr int kLabelGapKnob = 6;
constexpr int kLabelGapLed = 8;
constexpr int kLabelGapLcd = 4;

} // namespace

PanelPainter::PanelPainter(const SPanel& panel) : m_panel(panel) {}

QRect PanelPainter::controlRect(const SControl& c) const {
    const SSize size = ControlSize(c, m_panel.nLcdGap);
    return QRect(c.x, c.y, size.nWidth, size.nHeight);
}

QRect PanelPainter::footprint(const SControl& c) const {
    const QRect r = controlRect(c);
    return c.eKind == EKind::Knob ? r.adjusted(-kKnobHalo, -kKnobHalo, kKnobHalo, kKnobHalo) : r;
}

QImage PanelPainter::paint() {
    m_windows.clear();
    m_labels.clear();
    m_problems.clear();
    m_lines.clear();
    for (const SDecor& d : m_panel.decor) {
        const QRect r(d.x, d.y, d.w, d.h);
        if (d.eKind == EDecor::Window)
            m_windows.append(r);
        else if (d.eKind == EDecor::Divider)
            m_lines.append(QRect(d.x, d.y, 2, d.h));
        else if (d.eKind == EDecor::Frame)
            m_lines << QRect(r.left(), r.top(), r.width(), 2)
                    << QRect(r.left(), r.bottom() - 1, r.width(), 2)
                    << QRect(r.left(), r.top(), 2, r.height())
                    << QRect(r.right() - 1, r.top(), 2, r.height());
    }

    QImage image(m_panel.nWidth, m_panel.nHeight, QImage::Format_RGB32);
    image.fill(style::kPlate);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const SDecor& d : m_panel.decor)
        paintDecor(p, d);
    for (const SControl& c : m_panel.controls)
        paintSeat(p, c);
    for (const SControl& c : m_panel.controls)
        paintLabel(p, c);

    const QRect panel(0, 0, m_panel.nWidth, m_panel.nHeight);
    for (std::size_t i = 0; i < m_panel.controls.size(); ++i) {
        const QRect r = controlRect(m_panel.controls[i]);
        if (!panel.contains(r))
            m_problems << QStringLiteral("control %1 at %2,%3 leaves the panel")
                              .arg(i)
                              .arg(r.x())
                              .arg(r.y());
        for (std::size_t j = i + 1; j < m_panel.controls.size(); ++j)
            if (r.intersects(controlRect(m_panel.controls[j])))
                m_problems << QStringLiteral("controls %1 and %2 overlap").arg(i).arg(j);
        if (m_panel.controls[i].eKind == EKind::Lcd && !insideWindow(r.adjusted(-1, -1, 1, 1)))
            m_problems
                << QStringLiteral("LCD at %1,%2 lies outside every window").arg(r.x()).arg(r.y());
    }
    return image;
}

void PanelPainter::paintDecor(QPainter& p, const SDecor& d) {
    const QRect r(d.x, d.y, d.w, d.h);
    switch (d.eKind) {
    case EDecor::Strip: {
        p.fillRect(r, style::kStrip);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, style::kPlateHighlight);
        const QFont brand = draw::headingFont();
        const int baseline = r.top() + (r.height() + QFontMetrics(brand).capHeight()) / 2;
        draw::text(p, r.left() + 10, baseline, QString::fromLatin1(style::kBrand), brand,
                   style::kAccent);
        if (d.pszText) {
            const QString title = QString::fromLatin1(d.pszText);
            const int w = QFontMetrics(brand).horizontalAdvance(title);
            draw::text(p, r.right() - 9 - w, baseline, title, brand, style::kLabel);
        }
        break;
    }
    case EDecor::Frame:
        draw::engravedFrame(p, r);
        if (d.pszText) {
            const QFont font = draw::headingFont();
            const QFontMetrics fm(font);
            const QString caption = QString::fromLatin1(d.pszText);
            const int baseline = r.top() + fm.capHeight() / 2;
            const QRect gap(r.left() + 8, r.top() - 1, fm.horizontalAdvance(caption) + 6, 3);
            p.fillRect(gap, style::kPlate);
            // The caption interrupts the frame's top edge on purpose.
            m_labels.append(draw::text(p, gap.left() + 3, baseline, caption, font, style::kAccent));
        }
        break;
    case EDecor::Window:
        draw::lcdWindow(p, r);
        break;
    case EDecor::Divider:
        draw::engravedVLine(p, d.x, d.y, d.h);
        break;
    case EDecor::Heading:
        checkLabel(QString::fromLatin1(d.pszText),
                   draw::text(p, d.x, d.y + QFontMetrics(draw::headingFont()).capHeight(),
                              QString::fromLatin1(d.pszText), draw::headingFont(), style::kAccent));
        break;
    case EDecor::InkText:
        checkLabel(QString::fromLatin1(d.pszText),
                   draw::text(p, d.x, d.y + QFontMetrics(draw::labelFont()).capHeight(),
                              QString::fromLatin1(d.pszText), draw::labelFont(), style::kLcdInk));
        break;
    case EDecor::Screw:
        draw::screw(p, d.x, d.y);
        break;
    case EDecor::Emblem: {
        QFont big = draw::titleFont(15);
        big.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        const QString title = QString::fromLatin1(d.pszText);
        const QFontMetrics fm(big);
        const int w = fm.horizontalAdvance(title) - 3;
        const int x = r.left() + (r.width() - w) / 2;
        const int baseline = r.top() + (r.height() + fm.capHeight()) / 2 - 2;
        checkLabel(title, draw::text(p, x, baseline, title, big, style::kAccent));
        p.fillRect(x, baseline + 4, w, 1, style::kAccent);
        break;
    }
    }
}

void PanelPainter::paintSeat(QPainter& p, const SControl& c) {
    const QRect r = controlRect(c);
    switch (c.eKind) {
    case EKind::Knob: {
        const QPointF centre(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(style::kLabel);
        for (int i = 0; i < kScaleDots; ++i) {
            const double a = qDegreesToRadians(-150.0 + 300.0 * i / (kScaleDots - 1));
            const double size = (i == 0 || i == kScaleDots - 1 || i == kScaleDots / 2) ? 0.9 : 0.6;
            p.drawEllipse(centre + QPointF(std::sin(a), -std::cos(a)) * kScaleRadius, size, size);
        }
        p.restore();
        p.fillRect(r, style::kPlate);
        break;
    }
    case EKind::Fader:
    case EKind::Led:
        p.fillRect(r, style::kPlate);
        break;
    case EKind::Lcd:
        // The LCD paints its gaps in this colour; a one-pixel margin keeps art off its edge.
        p.fillRect(r.adjusted(-1, -1, 1, 1), style::kLcdBack);
        break;
    }
}

void PanelPainter::paintLabel(QPainter& p, const SControl& c) {
    const QString label = QString::fromLatin1(c.pszLabel);
    if (c.ePlace == EPlace::None || label.isEmpty())
        return;
    const QRect r = controlRect(c);
    // Labels beside an LCD are printed on its window, in the LCD's ink.
    const bool onWindow =
        c.eKind == EKind::Lcd && (c.ePlace == EPlace::Left || c.ePlace == EPlace::Bracketed);
    const QFont font = draw::labelFont();
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(label);
    const int cap = fm.capHeight();
    int x = 0;
    int baseline = 0;
    switch (c.ePlace) {
    case EPlace::None:
        return;
    case EPlace::Above:
        x = r.x() + (r.width() - w + 1) / 2;
        // Clear of the window bezel (LCD) or the knob scale, descenders included.
        baseline = r.y() - (c.eKind == EKind::Lcd ? 10 : kLabelGapKnob + 2);
        break;
    case EPlace::Below: {
        // Below an LCD the label clears the window bezel.
        const int gap = c.eKind == EKind::Knob  ? kLabelGapKnob
                        : c.eKind == EKind::Led ? kLabelGapLed
                                                : kLabelGapLcd + 2;
        x = r.x() + (r.width() - w + 1) / 2;
        baseline = r.bottom() + 1 + gap + cap;
        break;
    }
    case EPlace::Left:
        // Level with the LCD's characters, which fill rows 0-6 of a cell.
        x = r.x() - kLabelGapLcd - w;
        baseline = r.y() + 7;
        break;
    case EPlace::Bracketed: {
        x = r.x() - 9 - w;
        baseline = r.y() + 7;
        const QColor ink = style::kLcdInk;
        for (const int bx : {r.x() - 4, r.right() + 3}) {
            const int dir = bx < r.x() ? 1 : -1;
            p.fillRect(bx, r.y() - 1, 1, r.height() + 2, ink);
            p.fillRect(bx + dir, r.y() - 1, 1, 1, ink);
            p.fillRect(bx + dir, r.bottom() + 1, 1, 1, ink);
        }
        break;
    }
    }
    const QRect bounds = draw::textBounds(x, baseline, label, font);
    if (onWindow && !insideWindow(bounds))
        m_problems << QStringLiteral("label \"%1\" belongs on a window").arg(label);
    checkLabel(label,
               draw::text(p, x, baseline, label, font, onWindow ? style::kLcdInk : style::kLabel));
}

bool PanelPainter::insideWindow(const QRect& r) const {
    for (const QRect& w : m_windows)
        if (w.contains(r))
            return true;
    return false;
}

void PanelPainter::checkLabel(const QString& what, const QRect& r) {
    const QRect panel(0, 0, m_panel.nWidth, m_panel.nHeight);
    if (!panel.contains(r))
        m_problems << QStringLiteral("label \"%1\" leaves the panel").arg(what);
    for (const QRect& other : m_labels)
        if (other.intersects(r))
            m_problems << QStringLiteral("label \"%1\" overlaps another label").arg(what);
    for (const SControl& c : m_panel.controls)
        if (footprint(c).intersects(r))
            m_problems << QStringLiteral("label \"%1\" overlaps the control at %2,%3")
                              .arg(what)
                              .arg(c.x)
                              .arg(c.y);
    for (const QRect& line : m_lines)
        if (line.intersects(r))
            m_problems << QStringLiteral("label \"%1\" crosses an engraved line").arg(what);
    for (const QRect& w : m_windows)
        if (w.intersects(r) && !w.contains(r))
            m_problems << QStringLiteral("label \"%1\" straddles a window edge").arg(what);
    m_labels.append(r);
}

QImage PanelPainter::overlay(const QImage& panel) const {
    QImage out = panel.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    for (const SControl& c : m_panel.controls) {
        const QRect r = controlRect(c);
        p.setPen(c.eKind == EKind::Lcd    ? Qt::magenta
                 : c.eKind == EKind::Knob ? Qt::cyan
                                          : Qt::green);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (c.eKind == EKind::Lcd)
            for (int i = 1; i < c.nCells; ++i)
                p.fillRect(r.x() + i * (kGlyphWidth + m_panel.nLcdGap) - m_panel.nLcdGap, r.y(),
                           m_panel.nLcdGap, r.height(), QColor(255, 0, 255, 90));
    }
    return out;
}

} // namespace artgen

namespace artgen {

QImage PanelPainter::preview(const QImage& panel, const QImage& knob, const QImage& led,
                             const QImage& fader, const QImage& font) const {
    QImage out = panel.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    const QByteArray sample = QByteArrayLiteral("Preview 0123456789");
    int n = 0;
    for (const SControl& c : m_panel.controls) {
        const QRect r = controlRect(c);
        ++n;
        switch (c.eKind) {
        case EKind::Knob:
            p.drawImage(r.topLeft(), knob,
                        QRect((n * 17 % 61) * kKnobSize, 0, kKnobSize, kKnobSize));
            break;
        case EKind::Led:
            p.drawImage(r.topLeft(), led, QRect((n % 2) * kLedSize, 0, kLedSize, kLedSize));
            break;
        case EKind::Fader: {
            const int cap = 27;
            const int pos = (n * 37) % (kFaderTrack - cap);
            p.drawImage(r.topLeft(), fader, QRect(0, kFaderTrack, kFaderWidth, kFaderTrack));
            p.drawImage(QPoint(r.x(), r.y() + pos), fader,
                        QRect(0, 2 * kFaderTrack, kFaderWidth, cap));
            break;
        }
        case EKind::Lcd:
            for (int i = 0; i < c.nCells; ++i) {
                const int code =
                    c.nCells == 3 ? '0' + (n * 7 + i * 3) % 10 : sample.at((i + n) % sample.size());
                p.drawImage(QPoint(r.x() + i * (kGlyphWidth + m_panel.nLcdGap), r.y()), font,
                            QRect((code - 32) * kGlyphWidth, 0, kGlyphWidth, kGlyphHeight));
            }
            break;
        }
    }
    return out;
}

} // namespace artgen

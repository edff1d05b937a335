#pragma once

#include "PanelTables.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QStringList>

class QPainter;

namespace artgen {

// Paints one front panel from its panel table: the plate, the decoration (title band, group
// frames, LCD windows, dividers, screws), the seat of every control (knob scales, fader scales,
// LCD background) and the printed labels. While painting it records layout faults: labels that
// overlap each other or a control, leave the panel or straddle an LCD window's edge.
class PanelPainter {
public:
    explicit PanelPainter(const Panels::SPanel& panel);

    QImage paint();
    const QStringList& problems() const { return m_problems; }
    // The panel with every control's rectangle outlined, for checking the layout by eye.
    QImage overlay(const QImage& panel) const;
    // The panel with controls painted in from the strips, as the editor would show it.
    QImage preview(const QImage& panel, const QImage& knob, const QImage& led, const QImage& fader,
                   const QImage& font) const;

private:
    QRect controlRect(const Panels::SControl& c) const;
    // Rectangle a control occupies on the plate, including the scale printed around a knob.
    QRect footprint(const Panels::SControl& c) const;
    void paintDecor(QPainter& p, const Panels::SDecor& d);
    void paintSeat(QPainter& p, const Panels::SControl& c);
    void paintLabel(QPainter& p, const Panels::SControl& c);
    bool insideWindow(const QRect& r) const;
    void checkLabel(const QString& what, const QRect& r);

    const Panels::SPanel& m_panel;
    QList<QRect> m_windows;
    QList<QRect> m_lines; // engraved lines that no label may cross
    QList<QRect> m_labels;
    QStringList m_problems;
};

} // namespace artgen

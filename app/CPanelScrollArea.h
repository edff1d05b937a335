#pragma once

#include <QScrollArea>

// Holds an editor view at its panel's size inside a frame that may be smaller (after Tile, at a
// large zoom, or dragged smaller), with scroll bars for whatever the frame cuts off. Its natural
// size is the view's, without any frame of its own, so a frame at its natural size shows the
// whole panel and no scroll bar.
class CPanelScrollArea : public QScrollArea {
    Q_OBJECT

public:
    explicit CPanelScrollArea(QWidget* pView);

    QSize sizeHint() const override;
};

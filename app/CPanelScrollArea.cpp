#include "CPanelScrollArea.h"

#include <QScrollBar>

CPanelScrollArea::CPanelScrollArea(QWidget* pView) {
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The view keeps the size of its panel; zooming resizes it, and the area follows.
    setWidgetResizable(false);
    setWidget(pView);
    // The panel paints every pixel of itself.
    pView->setAutoFillBackground(false);
    // Tab and the focus stay among the panel's controls, as without the scroll bars.
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
}

QSize CPanelScrollArea::sizeHint() const {
    // QScrollArea caps its hint at a size far below a zoomed panel.
    return widget() ? widget()->sizeHint() : QSize();
}

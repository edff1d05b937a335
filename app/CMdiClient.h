#pragma once

#include <QImage>
#include <QMdiArea>

// The work area behind the editor windows, painted with a picture repeated unscaled from its
// top-left corner in both directions. It scrolls to windows that reach beyond it.
class CMdiClient : public QMdiArea {
    Q_OBJECT

public:
    explicit CMdiClient(QWidget* pParent = nullptr);

    // A null or empty picture gives the plain background.
    void SetBitmap(const QImage& bitmap);
    const QImage& Bitmap() const { return m_bitmap; }
    // Paints the whole area and every window in it afresh: after the windows were moved and
    // resized all at once, nothing of where they lay before may stay on screen.
    void RepaintAll();

private:
    QImage m_bitmap;
};

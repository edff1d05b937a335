#include "CMdiClient.h"

#include <QBrush>
#include <QPixmap>

CMdiClient::CMdiClient(QWidget* pParent) : QMdiArea(pParent) {
    // A window larger than the area, as a zoomed kit window can be, is never out of reach.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CMdiClient::RepaintAll() {
    viewport()->update();
}

void CMdiClient::SetBitmap(const QImage& bitmap) {
    // A texture brush repeats the picture over whatever area is painted, however large or small
    // the picture is, so no tiling loop of ours can run away on an empty one.
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0) {
        m_bitmap = QImage();
        setBackground(palette().brush(QPalette::Dark));
        return;
    }
    m_bitmap = bitmap;
    setBackground(QBrush(QPixmap::fromImage(bitmap)));
}

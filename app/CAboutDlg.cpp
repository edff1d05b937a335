#include "CAboutDlg.h"

#include "PanelBitmaps.h"

#include <QMouseEvent>
#include <QPainter>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(tr("About Quenley"));
    m_picture = PanelBitmaps::CreateBitmap(PanelBitmaps::EPicture::About);
    const PanelBitmaps::SPicture& about = PanelBitmaps::Picture(PanelBitmaps::EPicture::About);
    setFixedSize(about.nWidth, about.nHeight);
}

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawImage(rect(), m_picture);
}

void CAboutDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton)
        accept();
}

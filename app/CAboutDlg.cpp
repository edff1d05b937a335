#include "CAboutDlg.h"

#include "PanelBitmaps.h"

#include <QKeyEvent>
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

void CAboutDlg::keyPressEvent(QKeyEvent* pEvent) {
    // There is no button to be the default one: the keys that would press it close the box.
    switch (pEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        return;
    default:
        QDialog::keyPressEvent(pEvent);
    }
}

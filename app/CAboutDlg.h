#pragma once

#include <QDialog>
#include <QImage>

// The about box: a borderless picture; a click anywhere closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    QImage m_picture;
};

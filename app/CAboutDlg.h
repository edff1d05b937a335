#pragma once

#include <QDialog>
#include <QImage>

// The about box: a borderless picture; a click anywhere, Return, Space or Escape closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QImage m_picture;
};

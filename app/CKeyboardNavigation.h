#pragma once

#include <QObject>
#include <QPointer>

class QMainWindow;
class QMdiArea;
class QToolBar;
class QWidget;

// The main window's keys for getting about without a mouse: Ctrl+Tab and Ctrl+Shift+Tab go
// round the editor windows, F6 and Shift+F6 move the focus between the work area and the
// toolbar, and on the toolbar the arrows, Home, End and Tab choose a button, Space or Return
// presses it and Escape goes back to the work area.
class CKeyboardNavigation : public QObject {
    Q_OBJECT

public:
    CKeyboardNavigation(QMainWindow* pWindow, QMdiArea* pArea, QToolBar* pToolBar);

    // The next (or previous) editor window in the order they were opened, the keys with it.
    void NextWindow(bool bForward);
    // From the work area to the toolbar and back.
    void NextPane();
    void FocusWorkArea();
    // False when the toolbar is hidden or has no button that can be pressed.
    bool FocusToolBar();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool ToolBarHasFocus() const;
    QList<QWidget*> ToolButtons() const;
    // nStep buttons on, round the ends; minus or plus the count: the first or the last.
    void StepButton(QWidget* pFrom, int nStep);
    void WatchButtons();

    QMainWindow* m_pWindow;
    QPointer<QMdiArea> m_pArea;
    QPointer<QToolBar> m_pToolBar;
};

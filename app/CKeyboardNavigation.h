#pragma once

#include <QObject>
#include <QPointer>

class QMainWindow;
class QMdiArea;
class QToolBar;
class QWidget;

// The main window's keys for getting about without a mouse: Ctrl+Tab and Ctrl+Shift+Tab go
// round the editor windows, F6 and Shift+F6 move the focus round the work area, the toolbar and
// the side pane (when they are shown), and on the toolbar the arrows, Home, End and Tab choose a
// button, Space or Return presses it and Escape goes back to the work area.
class CKeyboardNavigation : public QObject {
    Q_OBJECT

public:
    // pSidePane: a panel beside the work area that F6 reaches too, or null.
    CKeyboardNavigation(QMainWindow* pWindow, QMdiArea* pArea, QToolBar* pToolBar,
                        QWidget* pSidePane = nullptr);

    // The next (or previous) editor window in the order they were opened, the keys with it.
    void NextWindow(bool bForward);
    // Work area, toolbar, side pane, and round again; backwards the other way.
    void NextPane(bool bForward = true);
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
    QPointer<QWidget> m_pSidePane;
};

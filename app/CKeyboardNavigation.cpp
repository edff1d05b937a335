#include "CKeyboardNavigation.h"

#include "CDView.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

CKeyboardNavigation::CKeyboardNavigation(QMainWindow* pWindow, QMdiArea* pArea, QToolBar* pToolBar,
                                         QWidget* pSidePane)
    : QObject(pWindow), m_pWindow(pWindow), m_pArea(pArea), m_pToolBar(pToolBar),
      m_pSidePane(pSidePane) {
    const auto Shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* pShortcut = new QShortcut(keys, m_pWindow);
        // Wherever the focus is in the main window, a read-out being typed into included.
        pShortcut->setContext(Qt::WindowShortcut);
        connect(pShortcut, &QShortcut::activated, this, slot);
    };
    Shortcut(QKeySequence(Qt::Key_F6), [this] { NextPane(true); });
    Shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { NextPane(false); });
    // Round in the order the windows were opened, so that the same keys always lead the same way.
    Shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { NextWindow(true); });
    // Shift turns Tab into Backtab on most keyboards; both spellings are taken.
    Shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { NextWindow(false); });
    Shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [this] { NextWindow(false); });
    WatchButtons();
}

void CKeyboardNavigation::WatchButtons() {
    for (QWidget* pButton : ToolButtons()) {
        // Reached with F6 and the arrows only: Tab in a panel stays among its controls.
        pButton->setFocusPolicy(Qt::TabFocus);
        pButton->removeEventFilter(this);
        pButton->installEventFilter(this);
    }
}

QList<QWidget*> CKeyboardNavigation::ToolButtons() const {
    QList<QWidget*> buttons;
    if (!m_pToolBar)
        return buttons;
    for (QAction* pAction : m_pToolBar->actions())
        if (auto* pButton = qobject_cast<QToolButton*>(m_pToolBar->widgetForAction(pAction)))
            buttons.append(pButton);
    return buttons;
}

bool CKeyboardNavigation::ToolBarHasFocus() const {
    const QWidget* pFocus = QApplication::focusWidget();
    return m_pToolBar && pFocus && m_pToolBar->isAncestorOf(pFocus);
}

void CKeyboardNavigation::NextWindow(bool bForward) {
    if (!m_pArea)
        return;
    if (bForward)
        m_pArea->activateNextSubWindow();
    else
        m_pArea->activatePreviousSubWindow();
    // The keys go on to the window reached, to the control it had last or its first one.
    if (QMdiSubWindow* pWindow = m_pArea->activeSubWindow())
        if (auto* pView = pWindow->findChild<CDView*>();
            pView && !pView->isAncestorOf(QApplication::focusWidget()))
            pView->FocusControl();
}

void CKeyboardNavigation::NextPane(bool bForward) {
    const QWidget* pFocus = QApplication::focusWidget();
    const QWidget* pSideFocus =
        m_pSidePane && m_pSidePane->focusProxy() ? m_pSidePane->focusProxy() : m_pSidePane.data();
    const bool bSidePane = pSideFocus && pSideFocus->isVisible();
    const int nAt = ToolBarHasFocus()                                          ? 1
                    : bSidePane && pFocus && m_pSidePane->isAncestorOf(pFocus) ? 2
                                                                               : 0;
    // A pane that cannot take the focus (a toolbar hidden or without a button to press, a side
    // pane closed) is passed over.
    for (int nStep = 1; nStep < 3; ++nStep) {
        switch ((nAt + (bForward ? nStep : 3 - nStep)) % 3) {
        case 1:
            if (FocusToolBar())
                return;
            break;
        case 2:
            if (bSidePane) {
                m_pSidePane->setFocus(Qt::ShortcutFocusReason);
                return;
            }
            break;
        default:
            FocusWorkArea();
            return;
        }
    }
    FocusWorkArea();
}

void CKeyboardNavigation::FocusWorkArea() {
    if (!m_pArea)
        return;
    QMdiSubWindow* pWindow = m_pArea->activeSubWindow();
    if (!pWindow && !m_pArea->subWindowList().isEmpty()) {
        m_pArea->activateNextSubWindow();
        pWindow = m_pArea->activeSubWindow();
    }
    if (!pWindow) {
        m_pArea->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (auto* pView = pWindow->findChild<CDView*>()) {
        pView->FocusControl();
        return;
    }
    pWindow->setFocus(Qt::ShortcutFocusReason);
}

bool CKeyboardNavigation::FocusToolBar() {
    if (!m_pToolBar || !m_pToolBar->isVisible())
        return false;
    WatchButtons();
    for (QWidget* pButton : ToolButtons())
        if (pButton->isVisible() && pButton->isEnabled()) {
            pButton->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    return false;
}

void CKeyboardNavigation::StepButton(QWidget* pFrom, int nStep) {
    const QList<QWidget*> buttons = ToolButtons();
    const auto nCount = buttons.size();
    if (nCount == 0)
        return;
    qsizetype nAt = buttons.indexOf(pFrom);
    // Home looks from before the first button onwards, End from beyond the last backwards.
    if (nStep == -nCount) {
        nAt = -1;
        nStep = 1;
    } else if (nStep == nCount) {
        nAt = nCount;
        nStep = -1;
    }
    for (qsizetype n = 1; n <= nCount; ++n) {
        const qsizetype i = ((nAt + n * nStep) % nCount + nCount) % nCount;
        if (buttons[i]->isVisible() && buttons[i]->isEnabled()) {
            buttons[i]->setFocus(nStep > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool CKeyboardNavigation::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() != QEvent::KeyPress)
        return QObject::eventFilter(pWatched, pEvent);
    auto* pButton = qobject_cast<QToolButton*>(pWatched);
    const auto* pKey = static_cast<QKeyEvent*>(pEvent);
    if (!pButton || (pKey->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QObject::eventFilter(pWatched, pEvent);
    const auto nCount = static_cast<int>(ToolButtons().size());
    switch (pKey->key()) {
    case Qt::Key_Right:
    case Qt::Key_Tab:
        StepButton(pButton, 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Backtab:
        StepButton(pButton, -1);
        return true;
    case Qt::Key_Home:
        StepButton(pButton, -nCount);
        return true;
    case Qt::Key_End:
        StepButton(pButton, nCount);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As Space does; the button may open a dialog, which takes the focus.
        pButton->click();
        return true;
    case Qt::Key_Escape:
        FocusWorkArea();
        return true;
    default:
        return QObject::eventFilter(pWatched, pEvent);
    }
}

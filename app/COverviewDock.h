#pragma once

#include "SectionKey.h"

#include <QDockWidget>

#include <vector>

class COverviewFilter;
class COverviewModel;
class CQuenleyApp;
class QAction;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeView;

// The Project Overview panel: every variation and kit of the open project in one searchable
// tree that follows each change of the project. It opens a row's editor window and asks for the
// librarian's actions on the selected rows through its signals. A selected kind row stands for
// every variation of it the search shows.
class COverviewDock : public QDockWidget {
    Q_OBJECT

public:
    explicit COverviewDock(CQuenleyApp* pApp, QWidget* pParent = nullptr);

    QLineEdit* SearchField() const { return m_pSearch; }
    QTreeView* Tree() const { return m_pTree; }
    COverviewModel* Model() const { return m_pModel; }
    // Send, Transmit Dump..., Destroy and Copy to..., as the rows' context menu offers them.
    QList<QAction*> RowActions() const;
    // The variations of the selected rows, in store order.
    std::vector<SSectionKey> SelectedKeys() const;
    // Shows the panel and puts the focus into the search, its text selected.
    void FocusSearch();
    // Brings the rows up to date with the project now rather than with the next turn of the
    // event loop.
    void Refresh();

signals:
    void OpenRequested(SSectionKey key);
    void SendRequested(std::vector<SSectionKey> keys);
    void DumpRequested(std::vector<SSectionKey> keys);
    void DestroyRequested(std::vector<SSectionKey> keys);
    void CopyRequested(SSectionKey key);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // One refresh for every change announced within one turn of the event loop.
    void ScheduleRefresh();
    void UpdateActions();
    // The current row's editor window; on a kind's row, its variations fold away or come back.
    void OpenCurrent();

    CQuenleyApp* m_pApp;
    COverviewModel* m_pModel;
    COverviewFilter* m_pFilter;
    QLineEdit* m_pSearch;
    QTreeView* m_pTree;
    QLabel* m_pNoProject;
    QAction* m_pSend;
    QAction* m_pDump;
    QAction* m_pDestroy;
    QAction* m_pCopy;
    QTimer* m_pRefreshTimer;
};

#include "COverviewDock.h"

#include "COverviewFilter.h"
#include "COverviewModel.h"
#include "CQuenleyApp.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

COverviewDock::COverviewDock(CQuenleyApp* pApp, QWidget* pParent)
    : QDockWidget(tr("Project Overview"), pParent), m_pApp(pApp),
      m_pModel(new COverviewModel(this)), m_pFilter(new COverviewFilter(this)) {
    setObjectName(QStringLiteral("ProjectOverview"));
    auto* pBody = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pBody);
    pLayout->setContentsMargins(2, 2, 2, 2);

    m_pNoProject = new QLabel(tr("No project is open."), pBody);
    m_pNoProject->setObjectName(QStringLiteral("overviewNoProject"));
    pLayout->addWidget(m_pNoProject);

    m_pSearch = new QLineEdit(pBody);
    m_pSearch->setObjectName(QStringLiteral("overviewSearch"));
    m_pSearch->setPlaceholderText(tr("Search by name or number (Ctrl+F)"));
    m_pSearch->setAccessibleName(tr("Search the project"));
    m_pSearch->setAccessibleDescription(
        tr("Shows only the variations and kits whose name or number holds every word typed"));
    m_pSearch->setClearButtonEnabled(true);
    m_pSearch->installEventFilter(this);
    pLayout->addWidget(m_pSearch);

    m_pFilter->setSourceModel(m_pModel);
    m_pTree = new QTreeView(pBody);
    // F6 and a click on the title come to the rows.
    setFocusProxy(m_pTree);
    m_pTree->setObjectName(QStringLiteral("overviewTree"));
    m_pTree->setAccessibleName(tr("Variations and kits of the project"));
    m_pTree->setModel(m_pFilter);
    m_pTree->setUniformRowHeights(true);
    m_pTree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTree->setAllColumnsShowFocus(true);
    m_pTree->setDragEnabled(true);
    m_pTree->setDragDropMode(QAbstractItemView::DragOnly);
    m_pTree->setDefaultDropAction(Qt::CopyAction);
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pTree->installEventFilter(this);
    // Fixed widths: fitting the columns to their contents would measure every row.
    const QFontMetrics metrics = m_pTree->fontMetrics();
    const int nMargin = metrics.averageCharWidth() * 2;
    m_pTree->header()->resizeSection(
        COverviewModel::kNumberColumn,
        m_pTree->indentation() * 2 + nMargin +
            metrics.horizontalAdvance(QStringLiteral("Kit000 Bank000")));
    m_pTree->header()->resizeSection(COverviewModel::kNameColumn,
                                     metrics.averageCharWidth() * 16 + nMargin);
    m_pTree->header()->resizeSection(COverviewModel::kActiveColumn,
                                     metrics.horizontalAdvance(tr("active")) + nMargin);
    pLayout->addWidget(m_pTree);
    setWidget(pBody);

    const auto MakeAction = [this](const QString& strText, const char* pszName,
                                   const QString& strTip) {
        auto* pAction = new QAction(strText, this);
        pAction->setObjectName(QLatin1String(pszName));
        pAction->setStatusTip(strTip);
        return pAction;
    };
    m_pSend = MakeAction(tr("Send"), "overviewSend", tr("Send the selected sounds to the module"));
    m_pDump = MakeAction(tr("Transmit Dump..."), "overviewDump",
                         tr("Write the selected sounds to a SysEx file"));
    m_pDestroy = MakeAction(tr("Destroy"), "overviewDestroy", tr("Destroy the selected sounds"));
    m_pCopy = MakeAction(tr("Copy to..."), "overviewCopy", tr("Copy the selected sound"));
    // Delete works in the list only, never in the search field or an editor window.
    m_pDestroy->setShortcut(QKeySequence::Delete);
    m_pDestroy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_pTree->addAction(m_pDestroy);
    connect(m_pSend, &QAction::triggered, this, [this] { emit SendRequested(SelectedKeys()); });
    connect(m_pDump, &QAction::triggered, this, [this] { emit DumpRequested(SelectedKeys()); });
    connect(m_pDestroy, &QAction::triggered, this, [this] {
        const std::vector<SSectionKey> keys = SelectedKeys();
        if (!keys.empty())
            emit DestroyRequested(keys);
    });
    connect(m_pCopy, &QAction::triggered, this, [this] {
        const std::vector<SSectionKey> keys = SelectedKeys();
        if (keys.size() == 1)
            emit CopyRequested(keys.front());
    });

    connect(m_pSearch, &QLineEdit::textChanged, this, [this](const QString& strText) {
        m_pFilter->SetSearch(strText);
        UpdateActions();
    });
    // Every kind stays open, also one that a search brings back.
    connect(m_pFilter, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int nFirst, int nLast) {
                if (!parent.isValid())
                    for (int r = nFirst; r <= nLast; ++r)
                        m_pTree->expand(m_pFilter->index(r, 0));
            });
    const auto ExpandAll = [this] {
        for (int r = 0; r < m_pFilter->rowCount(); ++r)
            m_pTree->expand(m_pFilter->index(r, 0));
    };
    connect(m_pFilter, &QAbstractItemModel::layoutChanged, this, ExpandAll);
    connect(m_pFilter, &QAbstractItemModel::modelReset, this, ExpandAll);
    connect(m_pTree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        SSectionKey key;
        if (m_pModel->Key(m_pFilter->mapToSource(index), key))
            emit OpenRequested(key);
    });
    connect(m_pTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COverviewDock::UpdateActions);
    connect(m_pTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        UpdateActions();
        QMenu menu(this);
        menu.addActions(RowActions());
        menu.exec(m_pTree->viewport()->mapToGlobal(pos));
    });

    m_pRefreshTimer = new QTimer(this);
    m_pRefreshTimer->setSingleShot(true);
    m_pRefreshTimer->setInterval(0);
    connect(m_pRefreshTimer, &QTimer::timeout, this, &COverviewDock::Refresh);
    connect(pApp, &CQuenleyApp::ContentChanged, this, &COverviewDock::ScheduleRefresh);
    connect(pApp, &CQuenleyApp::DocumentChanged, this, &COverviewDock::ScheduleRefresh);
    Refresh();
}

QList<QAction*> COverviewDock::RowActions() const {
    return {m_pSend, m_pDump, m_pDestroy, m_pCopy};
}

std::vector<SSectionKey> COverviewDock::SelectedKeys() const {
    std::vector<SSectionKey> keys;
    for (const QModelIndex& index : m_pTree->selectionModel()->selectedRows()) {
        SSectionKey key;
        if (m_pModel->Key(m_pFilter->mapToSource(index), key)) {
            keys.push_back(key);
            continue;
        }
        for (int r = 0; r < m_pFilter->rowCount(index); ++r)
            if (m_pModel->Key(m_pFilter->mapToSource(m_pFilter->index(r, 0, index)), key))
                keys.push_back(key);
    }
    COverviewModel::SortKeys(keys);
    return keys;
}

void COverviewDock::FocusSearch() {
    show();
    raise();
    m_pSearch->setFocus(Qt::ShortcutFocusReason);
    m_pSearch->selectAll();
}

void COverviewDock::ScheduleRefresh() {
    if (!m_pRefreshTimer->isActive())
        m_pRefreshTimer->start();
}

void COverviewDock::Refresh() {
    m_pRefreshTimer->stop();
    const bool bProject = m_pApp->Document() != nullptr;
    m_pModel->Refresh(m_pApp->Document());
    m_pNoProject->setVisible(!bProject);
    m_pSearch->setEnabled(bProject);
    m_pTree->setEnabled(bProject);
    UpdateActions();
}

void COverviewDock::UpdateActions() {
    const std::size_t nKeys = SelectedKeys().size();
    for (QAction* pAction : {m_pSend, m_pDump, m_pDestroy})
        pAction->setEnabled(nKeys > 0);
    m_pCopy->setEnabled(nKeys == 1);
}

void COverviewDock::OpenCurrent() {
    const QModelIndex current = m_pTree->currentIndex();
    SSectionKey key;
    if (m_pModel->Key(m_pFilter->mapToSource(current), key))
        emit OpenRequested(key);
    else if (const QModelIndex kind = current.siblingAtColumn(0); kind.isValid())
        m_pTree->setExpanded(kind, !m_pTree->isExpanded(kind));
}

bool COverviewDock::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() != QEvent::KeyPress)
        return QDockWidget::eventFilter(pWatched, pEvent);
    const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
    if (pWatched == m_pSearch &&
        (nKey == Qt::Key_Down || nKey == Qt::Key_Return || nKey == Qt::Key_Enter)) {
        // Into the list, on its first variation when none there is current yet (before the
        // focus comes, which would make the first kind current).
        SSectionKey key;
        if (!m_pModel->Key(m_pFilter->mapToSource(m_pTree->currentIndex()), key)) {
            const QModelIndex first = m_pFilter->index(0, 0, m_pFilter->index(0, 0));
            if (first.isValid())
                m_pTree->setCurrentIndex(first);
        }
        m_pTree->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (pWatched == m_pSearch && nKey == Qt::Key_Escape && !m_pSearch->text().isEmpty()) {
        m_pSearch->clear();
        return true;
    }
    if (pWatched == m_pTree && (nKey == Qt::Key_Return || nKey == Qt::Key_Enter)) {
        OpenCurrent();
        return true;
    }
    return QDockWidget::eventFilter(pWatched, pEvent);
}

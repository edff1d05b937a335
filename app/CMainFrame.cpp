#include "CMainFrame.h"

#include "ArtIcons.h"
#include "CAudition.h"
#include "CChildFrame.h"
#include "CCompareSession.h"
#include "CCopyVariationDlg.h"
#include "CDView.h"
#include "CImportProjectDlg.h"
#include "CKeyboardNavigation.h"
#include "CMdiClient.h"
#include "CMidiCommands.h"
#include "CMidiWnd.h"
#include "CModuleRecordKeeper.h"
#include "CMsgEvent.h"
#include "CMultiDocTpl.h"
#include "COverviewDock.h"
#include "CProjectHistory.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CVariationBrowserDlg.h"
#include "CopyOperations.h"
#include "PanelBitmaps.h"
#include "QuenleyMessage.h"
#include "ViewTypes.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>
#include <vector>

using namespace Commands;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

// How long a command's own status line stays.
constexpr int kStatusMs = 8000;
// How many sections the question before destroying several names.
constexpr int kListedSections = 8;

// What an editor window showing the section is titled: " Kick012*", " Kit005 Bank001 ".
QString WindowTitleOf(const CSection& section) {
    return QLatin1Char(' ') + CopyOperations::QuestionName(section.GetKind(), section.GetNumber()) +
           QLatin1Char(section.IsActive() ? '*' : ' ');
}

} // namespace

CMainFrame::CMainFrame(CQuenleyApp* pApp)
    : m_pApp(pApp), m_pMidiCommands(new CMidiCommands(pApp, this)),
      m_pAudition(new CAudition(pApp, this)), m_pCompare(new CCompareSession(pApp, this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setAcceptDrops(true);
    setWindowIcon(ArtIcons::AppIcon());
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    m_pMdiClient = new CMdiClient(this);
    m_pMdiClient->SetBitmap(PanelBitmaps::CreateBitmap(PanelBitmaps::EPicture::Background));
    setCentralWidget(m_pMdiClient);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateOverview();
    new CKeyboardNavigation(this, m_pMdiClient, m_pToolBar, m_pOverview);
    m_pCompare->Attach();
    connect(m_pMdiClient, &QMdiArea::subWindowActivated, this, [this] { UpdateStatusPanes(); });
    connect(m_pApp, &CQuenleyApp::DocumentChanged, this, [this] {
        UpdateMenus();
        UpdateTitle();
    });
    connect(m_pApp, &CQuenleyApp::RecentFilesChanged, this, &CMainFrame::UpdateRecentFiles);
    connect(m_pApp, &CQuenleyApp::StatusMessage, this, &CMainFrame::ShowStatus);
    UpdateRecentFiles();
    UpdateMenus();
    UpdateTitle();
    m_pAudition->Attach();
    PlaceAtFirstStart();
    return true;
}

void CMainFrame::PlaceAtFirstStart() {
    // Room for several editor windows side by side, with a margin of the desktop around it.
    constexpr double kShare = 0.9;
    const QRect available = screen()->availableGeometry();
    QRect place(QPoint(0, 0), (QSizeF(available.size()) * kShare).toSize());
    place.moveCenter(available.center());
    setGeometry(place);
}

void CMainFrame::RestoreLayout(const QByteArray& savedGeometry, const QByteArray& state) {
    // A damaged value, or one from a screen of a very different size, is refused as a whole.
    if (savedGeometry.isEmpty() || !restoreGeometry(savedGeometry)) {
        PlaceAtFirstStart();
    } else if (!isMaximized() && !isFullScreen()) {
        // Kept whole on this screen with its caption, as the window system would place it.
        const QScreen* pScreen = QGuiApplication::screenAt(geometry().center());
        const QRect available = (pScreen ? pScreen : screen())->availableGeometry();
        const int nCaption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const QRect room = available.adjusted(0, nCaption, 0, 0);
        QRect place = geometry();
        if (place.width() > room.width() || place.height() > room.height()) {
            // Saved on a larger screen: as at the first start on this one.
            PlaceAtFirstStart();
        } else {
            place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - place.width()));
            place.moveTop(std::clamp(place.top(), room.top(), room.bottom() + 1 - place.height()));
            setGeometry(place);
        }
    }
    if (!state.isEmpty())
        restoreState(state);
    m_actions[ECommand::Toolbar]->setChecked(!m_pToolBar->isHidden());
    m_actions[ECommand::ProjectOverview]->setChecked(!m_pOverview->isHidden());
}

void CMainFrame::AttachMidi(CMidiWnd* pMidiWnd) {
    m_pMidiCommands->AttachMidi(pMidiWnd);
    if (!pMidiWnd)
        return;
    // Many messages may be queued at once; the panes are redrawn once for them.
    auto* pUpdate = new QTimer(this);
    pUpdate->setSingleShot(true);
    pUpdate->setInterval(100);
    connect(pUpdate, &QTimer::timeout, this, &CMainFrame::UpdateStatusPanes);
    connect(pMidiWnd, &CMidiWnd::QueueChanged, pUpdate, qOverload<>(&QTimer::start),
            Qt::UniqueConnection);
    // So is the count of values the module lacks, which every confirmed message changes.
    connect(m_pMidiCommands->ModuleRecord(), &CModuleRecordKeeper::Changed, pUpdate,
            qOverload<>(&QTimer::start));
    // The time left counts down while messages wait.
    auto* pTick = new QTimer(this);
    pTick->setInterval(1000);
    connect(pTick, &QTimer::timeout, this, [this] {
        if (m_pMidiCommands->IsSending())
            UpdateStatusPanes();
    });
    pTick->start();
    UpdateStatusPanes();
}

void CMainFrame::CreateActions() {
    for (const SCommand& c : kCommands) {
        auto* pAction = new QAction(tr(c.pszMenuText), this);
        pAction->setData(c.nMenuId ? c.nMenuId : c.nToolbarId);
        pAction->setProperty("toolbarId", c.nToolbarId);
        pAction->setStatusTip(tr(c.pszPrompt));
        if (*c.pszTip)
            pAction->setToolTip(tr(c.pszTip));
        if (c.nButton >= 0)
            pAction->setIcon(ArtIcons::ToolbarIcon(static_cast<ArtIcons::EButton>(c.nButton)));
        if (c.pszShortcut)
            pAction->setShortcut(QKeySequence(QString::fromLatin1(c.pszShortcut)));
        const ECommand eCommand = c.eCommand;
        connect(pAction, &QAction::triggered, this, [this, eCommand] { OnCommand(eCommand); });
        m_actions[eCommand] = pAction;
    }
    // The other usual key for Redo.
    m_actions[ECommand::Redo]->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    for (ECommand e : {ECommand::Toolbar, ECommand::StatusBar, ECommand::ProjectOverview}) {
        m_actions[e]->setCheckable(true);
        m_actions[e]->setChecked(e != ECommand::ProjectOverview);
    }
    // The toolbar's pair shows which state the port is in; the menu entries carry no mark.
    auto* pGroup = new QActionGroup(this);
    for (ECommand e : {ECommand::Activate, ECommand::Deactivate}) {
        const SCommand& c = Command(e);
        auto* pButton = new QAction(m_actions[e]->icon(), tr(c.pszTip), pGroup);
        pButton->setData(c.nToolbarId);
        pButton->setStatusTip(tr(c.pszPrompt));
        pButton->setCheckable(true);
        connect(pButton, &QAction::triggered, this, [this, e] { OnCommand(e); });
        (e == ECommand::Activate ? m_pActivateButton : m_pDeactivateButton) = pButton;
    }
    m_pDeactivateButton->setChecked(true);
    for (int i = 0; i < kRecentCount; ++i) {
        auto* pAction = new QAction(this);
        pAction->setData(kFirstRecentId + unsigned(i));
        pAction->setStatusTip(tr(kRecentPrompt));
        pAction->setVisible(false);
        connect(pAction, &QAction::triggered, this, [this, i] {
            m_pCompare->End();
            CommitPendingEdits();
            m_pApp->OpenRecentFile(i);
        });
        m_recentActions << pAction;
    }
}

void CMainFrame::CreateMenus() {
    std::vector<QMenu*> open; // the menu being filled last
    for (const SMenuItem& item : kMenuLayout) {
        QMenu* pMenu = open.empty() ? nullptr : open.back();
        QAction* pAdded = nullptr;
        switch (item.eItem) {
        case EMenuItem::Menu: {
            const QString strTitle = tr(item.pszTitle);
            QMenu* pNew = pMenu ? pMenu->addMenu(strTitle) : menuBar()->addMenu(strTitle);
            m_menus[QString(strTitle).remove(QLatin1Char('&'))] = pNew;
            open.push_back(pNew);
            pAdded = pNew->menuAction();
            break;
        }
        case EMenuItem::End:
            open.pop_back();
            break;
        case EMenuItem::Command:
            pAdded = m_actions[item.eCommand];
            pMenu->addAction(pAdded);
            break;
        case EMenuItem::Separator:
            pAdded = pMenu->addSeparator();
            break;
        case EMenuItem::Recent:
            for (QAction* pRecent : m_recentActions)
                pMenu->addAction(pRecent);
            m_pRecentSeparator = pMenu->addSeparator();
            break;
        case EMenuItem::Zoom:
            pAdded = CreateZoomMenu(pMenu)->menuAction();
            break;
        }
        if (item.bProjectOnly && pAdded)
            m_projectOnly << pAdded;
    }

    // The open windows follow, the current one checked, so any of them is one click away.
    QMenu* pWindow = Menu(QStringLiteral("Window"));
    const qsizetype nFixed = pWindow->actions().size();
    connect(pWindow, &QMenu::aboutToShow, this, [this, pWindow, nFixed] {
        const QList<QAction*> actions = pWindow->actions();
        for (qsizetype i = nFixed; i < actions.size(); ++i)
            delete actions.at(i);
        const QList<CChildFrame*> frames = Frames();
        if (!frames.isEmpty())
            pWindow->addSeparator();
        for (qsizetype i = 0; i < frames.size(); ++i) {
            CChildFrame* pFrame = frames.at(i);
            QAction* pAction = pWindow->addAction(
                QStringLiteral("&%1 %2").arg(i + 1).arg(pFrame->windowTitle().trimmed()));
            pAction->setCheckable(true);
            pAction->setChecked(pFrame == ActiveFrame());
            connect(pAction, &QAction::triggered, pFrame,
                    [this, pFrame] { m_pMdiClient->setActiveSubWindow(pFrame); });
        }
    });
}

QMenu* CMainFrame::CreateZoomMenu(QMenu* pView) {
    QMenu* pZoom = pView->addMenu(tr("&Zoom"));
    m_pZoomGroup = new QActionGroup(this);
    m_pZoomGroup->setExclusive(true);
    for (const int nPercent : CQuenleyApp::kZoomLevels) {
        QAction* pAction = pZoom->addAction(tr("%1 %").arg(nPercent));
        pAction->setData(nPercent);
        pAction->setStatusTip(tr("Show the editor windows at %1 % of their size").arg(nPercent));
        pAction->setCheckable(true);
        pAction->setChecked(nPercent == m_pApp->Zoom());
        m_pZoomGroup->addAction(pAction);
        connect(pAction, &QAction::triggered, this, [this, nPercent] {
            CommitPendingEdits();
            m_pApp->SetZoom(nPercent);
        });
    }
    connect(m_pApp, &CQuenleyApp::ZoomChanged, this, [this](int nPercent) {
        for (QAction* pAction : m_pZoomGroup->actions())
            pAction->setChecked(pAction->data().toInt() == nPercent);
    });
    m_menus[QStringLiteral("Zoom")] = pZoom;
    return pZoom;
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = addToolBar(tr("Toolbar"));
    m_pToolBar->setObjectName(QStringLiteral("Toolbar"));
    m_pToolBar->setIconSize(QSize(16, 15));
    for (const std::optional<ECommand>& eButton : kToolbarLayout) {
        if (eButton)
            m_pToolBar->addAction(Button(*eButton));
        else
            m_pToolBar->addSeparator();
    }
}

void CMainFrame::CreateStatusBar() {
    m_pPortPane = new QLabel(this);
    m_pQueuePane = new QLabel(this);
    m_pModulePane = new QLabel(this);
    m_pPortPane->setObjectName(QStringLiteral("PortPane"));
    m_pQueuePane->setObjectName(QStringLiteral("QueuePane"));
    m_pModulePane->setObjectName(QStringLiteral("ModulePane"));
    statusBar()->addPermanentWidget(m_pModulePane);
    statusBar()->addPermanentWidget(m_pQueuePane);
    statusBar()->addPermanentWidget(m_pPortPane);
    statusBar()->showMessage(tr("Ready"));
}

void CMainFrame::CreateOverview() {
    m_pOverview = new COverviewDock(m_pApp, this);
    addDockWidget(Qt::RightDockWidgetArea, m_pOverview);
    // Wide enough for the used-by column at first; a saved layout keeps the user's width.
    resizeDocks({m_pOverview}, {fontMetrics().averageCharWidth() * 80}, Qt::Horizontal);
    m_pOverview->hide();
    connect(m_pOverview, &QDockWidget::visibilityChanged, this, [this] {
        m_actions[ECommand::ProjectOverview]->setChecked(!m_pOverview->isHidden());
    });
    connect(m_pOverview, &COverviewDock::OpenRequested, this, &CMainFrame::ShowSection);
    // Sent or written as the project holds them: a comparison ends first.
    connect(m_pOverview, &COverviewDock::SendRequested, this,
            [this](const std::vector<SSectionKey>& keys) {
                m_pCompare->End();
                m_pMidiCommands->SendSections(keys);
            });
    connect(m_pOverview, &COverviewDock::DumpRequested, this,
            [this](const std::vector<SSectionKey>& keys) {
                m_pCompare->End();
                m_pMidiCommands->TransmitDumpOf(keys);
            });
    connect(m_pOverview, &COverviewDock::DestroyRequested, this, &CMainFrame::DestroySections);
    connect(m_pOverview, &COverviewDock::CopyRequested, this, &CMainFrame::CopySection);
    // The search is a key away from anywhere in the window, the editor windows included.
    auto* pFind = new QAction(tr("Search the Project Overview"), this);
    pFind->setShortcut(QKeySequence::Find);
    pFind->setShortcutContext(Qt::WindowShortcut);
    connect(pFind, &QAction::triggered, m_pOverview, &COverviewDock::FocusSearch);
    addAction(pFind);
}

bool CMainFrame::ShowSection(const SSectionKey& key) {
    m_pCompare->End();
    CQuenleyDoc* pDoc = m_pApp->Document();
    CSection* pSection = pDoc ? pDoc->FindVariationOfKind(key.nKind, key.nNumber) : nullptr;
    if (!pSection)
        return false;
    // The editors follow the kinds' order, from the kit's on.
    static_assert(ViewTypes::kKit - Kinds::kKit == 1 && ViewTypes::kLfos - Kinds::kLfos == 1 &&
                  ViewTypes::kHiHat - Kinds::kHiHat == 1);
    const int nViewType = key.nKind + ViewTypes::kKit - Kinds::kKit;
    for (CChildFrame* pFrame : Frames()) {
        if (pFrame->View()->GetViewType() != nViewType || pFrame->View()->GetVariation() != pSection)
            continue;
        if (pFrame->isMinimized())
            pFrame->showNormal();
        m_pMdiClient->setActiveSubWindow(pFrame);
        return true;
    }
    return OpenWindowOn(nViewType, pSection);
}

QAction* CMainFrame::Action(unsigned nId) const {
    if (m_pActivateButton && m_pActivateButton->data().toUInt() == nId)
        return m_pActivateButton;
    if (m_pDeactivateButton && m_pDeactivateButton->data().toUInt() == nId)
        return m_pDeactivateButton;
    for (const auto& [eCommand, pAction] : m_actions) {
        const SCommand& c = Command(eCommand);
        if (c.nMenuId == nId || c.nToolbarId == nId)
            return pAction;
    }
    for (QAction* pAction : m_recentActions)
        if (pAction->data().toUInt() == nId)
            return pAction;
    return nullptr;
}

QAction* CMainFrame::Action(ECommand eCommand) const {
    const auto it = m_actions.find(eCommand);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::Button(ECommand eCommand) const {
    if (eCommand == ECommand::Activate)
        return m_pActivateButton;
    if (eCommand == ECommand::Deactivate)
        return m_pDeactivateButton;
    return Action(eCommand);
}

QMenu* CMainFrame::Menu(const QString& strTitle) const {
    const auto it = m_menus.find(strTitle);
    return it == m_menus.end() ? nullptr : it->second;
}

QList<CChildFrame*> CMainFrame::Frames() const {
    QList<CChildFrame*> frames;
    if (!m_pMdiClient)
        return frames;
    for (QMdiSubWindow* pWindow : m_pMdiClient->subWindowList())
        if (auto* pFrame = qobject_cast<CChildFrame*>(pWindow))
            frames << pFrame;
    return frames;
}

CChildFrame* CMainFrame::ActiveFrame() const {
    // The current window stays current while another application has the focus.
    return m_pMdiClient ? qobject_cast<CChildFrame*>(m_pMdiClient->currentSubWindow()) : nullptr;
}

CDView* CMainFrame::ActiveView() const {
    CChildFrame* pFrame = ActiveFrame();
    return pFrame ? pFrame->View() : nullptr;
}

void CMainFrame::CommitPendingEdits() {
    for (CChildFrame* pFrame : Frames())
        pFrame->View()->CommitPendingEdit();
}

void CMainFrame::FollowHistory() {
    for (const QMetaObject::Connection& c : m_historyConnections)
        disconnect(c);
    m_historyConnections.clear();
    CProjectHistory* pHistory = m_pApp->History();
    const auto Show = [this, pHistory] {
        QUndoStack* pStack = pHistory ? &pHistory->Stack() : nullptr;
        const auto Name = [](const QString& strVerb, const QString& strStep) {
            return strStep.isEmpty() ? strVerb : strVerb + QLatin1Char(' ') + strStep;
        };
        QAction* pUndo = m_actions[ECommand::Undo];
        QAction* pRedo = m_actions[ECommand::Redo];
        pUndo->setEnabled(pStack && pStack->canUndo());
        pRedo->setEnabled(pStack && pStack->canRedo());
        pUndo->setText(Name(tr("&Undo"), pStack ? pStack->undoText() : QString()));
        pRedo->setText(Name(tr("&Redo"), pStack ? pStack->redoText() : QString()));
    };
    if (pHistory)
        m_historyConnections << connect(&pHistory->Stack(), &QUndoStack::indexChanged, this, Show)
                             << connect(&pHistory->Stack(), &QUndoStack::cleanChanged, this, Show);
    Show();
}

void CMainFrame::UpdateMenus() {
    FollowHistory();
    const bool bProject = m_pApp->Document() != nullptr;
    for (QAction* pAction : m_projectOnly)
        pAction->setVisible(bProject);
    // Without a project the toolbar keeps only what needs none. Activate stays to say that it
    // does need one.
    static constexpr ECommand kAlways[] = {ECommand::New,        ECommand::Open,
                                           ECommand::Activate,   ECommand::Deactivate,
                                           ECommand::Reset,      ECommand::ProjectOverview};
    for (QAction* pButton : m_pToolBar ? m_pToolBar->actions() : QList<QAction*>()) {
        if (pButton->isSeparator() || pButton->data().toUInt() == 0)
            continue;
        const bool bAlways = std::any_of(std::begin(kAlways), std::end(kAlways),
                                         [&](ECommand e) { return Button(e) == pButton; });
        pButton->setEnabled(bProject || bAlways);
    }
    m_pCompare->UpdateAction();
}

void CMainFrame::UpdateTitle() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc) {
        setWindowTitle(QStringLiteral("Quenley"));
        setWindowModified(false);
        return;
    }
    setWindowTitle(QStringLiteral("Quenley - %1[*]").arg(m_pApp->DocumentTitle()));
    setWindowModified(pDoc->IsModified());
}

void CMainFrame::changeEvent(QEvent* pEvent) {
    QMainWindow::changeEvent(pEvent);
    // The work area clears the main window's mark whenever an editor window is added or taken
    // out (it would belong to a maximized editor window, which ours never are): the mark is
    // the project's and is put back.
    if (pEvent->type() == QEvent::ModifiedChange) {
        const CQuenleyDoc* pDoc = m_pApp->Document();
        const bool bModified = pDoc && pDoc->IsModified();
        if (isWindowModified() != bModified)
            setWindowModified(bModified);
    }
}

void CMainFrame::UpdateRecentFiles() {
    const QStringList files = m_pApp->RecentFiles();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* pAction = m_recentActions.at(i);
        if (i < files.size()) {
            pAction->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(files.at(i)).fileName().replace(QLatin1Char('&'), QLatin1String("&&"))));
            pAction->setToolTip(files.at(i));
            pAction->setVisible(true);
        } else {
            pAction->setVisible(false);
        }
    }
    if (m_pRecentSeparator)
        m_pRecentSeparator->setVisible(!files.isEmpty());
}

void CMainFrame::UpdateStatusPanes() {
    if (m_pPortPane)
        m_pPortPane->setText(m_pMidiCommands->PortText());
    if (m_pQueuePane)
        m_pQueuePane->setText(m_pMidiCommands->QueueText());
    if (m_pModulePane)
        m_pModulePane->setText(m_pMidiCommands->ModuleText());
}

void CMainFrame::ShowStatus(const QString& strText) {
    statusBar()->showMessage(strText, kStatusMs);
}

void CMainFrame::ShowPortState(bool bOpen) {
    if (!m_pActivateButton)
        return;
    (bOpen ? m_pActivateButton : m_pDeactivateButton)->setChecked(true);
    UpdateStatusPanes();
}

bool CMainFrame::event(QEvent* pEvent) {
    if (CMsgEvent* pMsg = Msg::From(pEvent)) {
        switch (pMsg->Message()) {
        case WM_MIDIOUT_OPEN:
            m_pMidiCommands->OnPortOpened();
            break;
        case WM_MIDIOUT_CLOSE:
            m_pMidiCommands->OnPortClosed();
            break;
        default:
            return QMainWindow::event(pEvent);
        }
        pMsg->SetResult(0);
        return true;
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
    CommitPendingEdits();
    if (!m_pApp->CloseDocument()) {
        pEvent->ignore();
        return;
    }
    // Kept as the window is left, for the next start.
    m_pApp->WriteWindowSettings();
    pEvent->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (pEvent->mimeData()->hasUrls())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent) {
    pEvent->acceptProposedAction();
    // Each file is opened as if named on its own; the one-project rule answers the rest.
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (url.isLocalFile())
            m_pApp->OpenDocumentFile(url.toLocalFile());
}

void CMainFrame::OnCommand(ECommand eCommand) {
    // Every command acts on the project as it is, so a comparison ends first; playing the
    // compared sound and showing or hiding the bars leave it running.
    if (eCommand != ECommand::CompareWithSaved && eCommand != ECommand::Play &&
        eCommand != ECommand::Toolbar && eCommand != ECommand::StatusBar &&
        eCommand != ECommand::ProjectOverview)
        m_pCompare->End();
    CommitPendingEdits();
    switch (eCommand) {
    case ECommand::New:
        m_pApp->OnFileNew();
        break;
    case ECommand::Open:
        m_pApp->OnFileOpen();
        break;
    case ECommand::Close:
        m_pApp->CloseDocument();
        break;
    case ECommand::Save:
        m_pApp->DoSave(false);
        break;
    case ECommand::SaveAs:
        m_pApp->DoSave(true);
        break;
    case ECommand::Exit:
        close();
        break;
    case ECommand::About:
        m_pApp->OnAppAbout();
        break;
    case ECommand::Undo:
        if (CProjectHistory* pHistory = m_pApp->History())
            pHistory->Undo();
        break;
    case ECommand::Redo:
        if (CProjectHistory* pHistory = m_pApp->History())
            pHistory->Redo();
        break;
    case ECommand::CopyTo:
        CopyVariation();
        break;
    case ECommand::Destroy:
        DestroyVariation();
        break;
    case ECommand::InputDevice:
        m_pMidiCommands->InputDeviceDialog();
        break;
    case ECommand::OutputDevice:
        m_pMidiCommands->DeviceDialog();
        break;
    case ECommand::SendVariation:
        m_pMidiCommands->SendVariation();
        break;
    case ECommand::SendProject:
        m_pMidiCommands->SendProject();
        break;
    case ECommand::ClearBuffer:
        m_pMidiCommands->ClearBuffer();
        break;
    case ECommand::SendChanges:
        m_pMidiCommands->SendChanges();
        break;
    case ECommand::ForgetModule:
        m_pMidiCommands->ForgetModule();
        break;
    case ECommand::Activate:
        m_pMidiCommands->Activate();
        break;
    case ECommand::Deactivate:
        m_pMidiCommands->Deactivate();
        break;
    case ECommand::Reset:
        m_pMidiCommands->ResetPort();
        break;
    case ECommand::Browser:
        Browse();
        break;
    case ECommand::KitInfo:
        KitInfo();
        break;
    case ECommand::ReceiveDump:
        m_pMidiCommands->ReceiveDump();
        break;
    case ECommand::TransmitDump:
        m_pMidiCommands->TransmitDump();
        break;
    case ECommand::ImportFromProject:
        ImportFromProject();
        break;
    case ECommand::Play:
        m_pAudition->Play();
        break;
    case ECommand::CompareWithSaved:
        m_pCompare->Toggle();
        break;
    case ECommand::Audition:
        m_pAudition->SettingsDialog();
        break;
    case ECommand::Toolbar:
        m_pToolBar->setVisible(!m_pToolBar->isVisible());
        m_actions[eCommand]->setChecked(m_pToolBar->isVisible());
        break;
    case ECommand::StatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        m_actions[eCommand]->setChecked(statusBar()->isVisible());
        break;
    case ECommand::ProjectOverview:
        m_pOverview->setVisible(m_pOverview->isHidden());
        m_actions[eCommand]->setChecked(!m_pOverview->isHidden());
        break;
    case ECommand::Cascade:
        m_pMdiClient->cascadeSubWindows();
        m_pMdiClient->RepaintAll();
        break;
    case ECommand::Tile:
        m_pMdiClient->tileSubWindows();
        m_pMdiClient->RepaintAll();
        break;
    case ECommand::ArrangeIcons:
        ArrangeIcons();
        m_pMdiClient->RepaintAll();
        break;
    default:
        OpenWindow(Command(eCommand).nViewType);
        break;
    }
    UpdateStatusPanes();
}

void CMainFrame::SayNotOpened(int nViewType) {
    ShowStatus(tr("The %1 window could not be opened.").arg(ViewTypes::ViewTypeName(nViewType)));
}

void CMainFrame::OpenWindow(int nViewType) {
    if (!ActiveFrame() || !m_pApp->Document() || !m_pApp->GetViewTemplate(nViewType))
        return;
    CChildFrame* pFrame = m_pApp->NewFrame(nViewType);
    if (!pFrame) {
        SayNotOpened(nViewType);
        return;
    }
    pFrame->InitialUpdate();
    pFrame->ActivateFrame();
}

bool CMainFrame::OpenWindowOn(int nViewType, CSection* pSection) {
    if (!m_pApp->Document() || !m_pApp->GetViewTemplate(nViewType) || !pSection)
        return false;
    CChildFrame* pFrame = m_pApp->NewFrame(nViewType);
    if (!pFrame) {
        SayNotOpened(nViewType);
        return false;
    }
    pFrame->ShowSection(pSection);
    return true;
}

void CMainFrame::KitInfo() {
    CDView* pView = ActiveView();
    if (!m_pApp->Document() || !pView || pView->GetViewType() != ViewTypes::kKit)
        return;
    if (CSection* pKit = pView->GetVariation())
        OpenWindowOn(ViewTypes::kQuick, pKit);
}

void CMainFrame::Browse() {
    CDView* pView = ActiveView();
    if (!pView || !pView->GetVariation())
        return;
    const int nViewType = pView->GetViewType();
    CVariationBrowserDlg dialog(
        m_pApp->Document(), pView->GetVariation(),
        [this, nViewType](CSection* pChoice) { return OpenWindowOn(nViewType, pChoice); }, this);
    dialog.exec();
}

void CMainFrame::CopyVariation() {
    CDView* pView = ActiveView();
    if (!pView || !pView->GetVariation())
        return;
    CopyWithDialog(pView->GetVariation(), ActiveFrame()->windowTitle());
}

void CMainFrame::CopySection(const SSectionKey& key) {
    m_pCompare->End();
    CQuenleyDoc* pDoc = m_pApp->Document();
    CSection* pSource = pDoc ? pDoc->FindVariationOfKind(key.nKind, key.nNumber) : nullptr;
    if (pSource)
        CopyWithDialog(pSource, WindowTitleOf(*pSource));
}

void CMainFrame::CopyWithDialog(CSection* pSource, const QString& strTitle) {
    CCopyVariationDlg dialog(m_pApp->Document(), pSource, strTitle, this);
    dialog.exec();
    if (!dialog.Outcome().isEmpty())
        ShowStatus(dialog.Outcome());
}

void CMainFrame::ImportFromProject() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return;
    const QString strProject = pDoc->GetPathName();
    const QString strPath =
        m_pApp->AskFileName(CQuenleyApp::EFile::Project, false,
                            strProject.isEmpty() ? QString() : QFileInfo(strProject).path());
    if (strPath.isEmpty())
        return;
    CQuenleyDoc other;
    if (!other.OnOpenDocument(strPath)) {
        QuenleyMessage::Show(other.LastError(), EIcon::Warning);
        return;
    }
    CImportProjectDlg list(other, this);
    if (list.exec() != QDialog::Accepted || !list.Choice())
        return;
    CSection* pSource = list.Choice();
    const QString strTitle = QStringLiteral("%1: %2").arg(
        QFileInfo(strPath).fileName(),
        CProjectChange::Title(pSource->GetKind(), pSource->GetNumber()));
    CCopyVariationDlg dialog(pDoc, pSource, strTitle, this, &other);
    // Offered under its own number, which is where a musician most often wants it.
    dialog.NumberBox()->setValue(pSource->GetNumber() % Kinds::kKitsPerBank);
    dialog.BankBox()->setValue(pSource->GetNumber() / Kinds::kKitsPerBank);
    dialog.exec();
    if (!dialog.Outcome().isEmpty())
        ShowStatus(dialog.Outcome());
}

void CMainFrame::DestroyVariation() {
    CChildFrame* pFrame = ActiveFrame();
    CDView* pView = ActiveView();
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pFrame || !pView || !pDoc || !pView->GetVariation())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to destroy \n") + pFrame->windowTitle() +
                                 QStringLiteral("  ?"),
                             EIcon::Warning, EButtons::YesNo) != EAnswer::Yes)
        return;
    if (pDoc->GetViews().empty())
        return;
    // The view may have changed what it shows while the question was open.
    if (const CSection* pVariation = pView->GetVariation())
        pDoc->DestroySections({{pVariation->GetKind(), pVariation->GetNumber()}});
}

void CMainFrame::DestroySections(const std::vector<SSectionKey>& keys) {
    m_pCompare->End();
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return;
    std::vector<SSectionKey> asked;
    QStringList names;
    QString strQuestion;
    for (const CSection* pSection : pDoc->FindSections(keys)) {
        asked.push_back({pSection->GetKind(), pSection->GetNumber()});
        if (names.size() < kListedSections)
            names << CopyOperations::QuestionName(pSection->GetKind(), pSection->GetNumber());
        if (asked.size() == 1)
            strQuestion =
                tr("Are you sure to destroy \n") + WindowTitleOf(*pSection) + QStringLiteral("  ?");
    }
    if (asked.empty())
        return;
    if (asked.size() > 1) {
        if (int(asked.size()) > kListedSections)
            names << QStringLiteral("...");
        strQuestion = tr("Are you sure to destroy these %1 variations?\n%2")
                          .arg(int(asked.size()))
                          .arg(names.join(QStringLiteral(", ")));
    }
    if (QuenleyMessage::Show(strQuestion, EIcon::Warning, EButtons::YesNo) != EAnswer::Yes)
        return;
    // Looked up again: the question was open a while, and what went meanwhile is passed over.
    pDoc->DestroySections(asked);
}

void CMainFrame::ArrangeIcons() {
    // Minimized windows line up along the bottom edge of the work area.
    int x = 0;
    for (CChildFrame* pFrame : Frames()) {
        if (!pFrame->isMinimized())
            continue;
        const QSize size = pFrame->size();
        pFrame->move(x, m_pMdiClient->viewport()->height() - size.height());
        x += size.width();
    }
}

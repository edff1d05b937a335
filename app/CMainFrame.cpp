#include "CMainFrame.h"

#include "ArtIcons.h"
#include "CChildFrame.h"
#include "CCopyVariationDlg.h"
#include "CDView.h"
#include "CDumpPlan.h"
#include "CImportProjectDlg.h"
#include "CMdiClient.h"
#include "CMidiOutDeviceDlg.h"
#include "CMidiWnd.h"
#include "CMsgEvent.h"
#include "CMultiDocTpl.h"
#include "CProjectHistory.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CSysExReader.h"
#include "CVariationBrowserDlg.h"
#include "MidiErrors.h"
#include "PanelBitmaps.h"
#include "ProjectFile.h"
#include "ProjectSysEx.h"
#include "QuenleyMessage.h"
#include "ViewTypes.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

using namespace Commands;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

// How long a command's own status line stays.
constexpr int kStatusMs = 8000;
// How many sections a message about unsendable ones names.
constexpr int kListedFaults = 8;

} // namespace

CMainFrame::CMainFrame(CQuenleyApp* pApp) : m_pApp(pApp) {
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
    connect(m_pMdiClient, &QMdiArea::subWindowActivated, this, [this] { UpdateStatusPanes(); });
    connect(m_pApp, &CQuenleyApp::DocumentChanged, this, [this] {
        UpdateMenus();
        UpdateTitle();
    });
    connect(m_pApp, &CQuenleyApp::RecentFilesChanged, this, &CMainFrame::UpdateRecentFiles);
    connect(m_pApp, &CQuenleyApp::StatusMessage, this,
            [this](const QString& strText) { statusBar()->showMessage(strText, kStatusMs); });
    UpdateRecentFiles();
    UpdateMenus();
    UpdateTitle();
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
}

void CMainFrame::AttachMidi(CMidiWnd* pMidiWnd) {
    m_pMidiWnd = pMidiWnd;
    if (!pMidiWnd)
        return;
    // Queued: the loop that reports a failure must not wait for a message box.
    connect(pMidiWnd, &CMidiWnd::SendFailed, this, &CMainFrame::OnSendFailed, Qt::QueuedConnection);
    connect(pMidiWnd, &CMidiWnd::DeviceGone, this, &CMainFrame::OnDeviceGone, Qt::QueuedConnection);
    // Many messages may be queued at once; the panes are redrawn once for them.
    auto* pUpdate = new QTimer(this);
    pUpdate->setSingleShot(true);
    pUpdate->setInterval(100);
    connect(pUpdate, &QTimer::timeout, this, &CMainFrame::UpdateStatusPanes);
    connect(pMidiWnd, &CMidiWnd::QueueChanged, pUpdate, qOverload<>(&QTimer::start),
            Qt::UniqueConnection);
    // The time left counts down while messages wait.
    auto* pTick = new QTimer(this);
    pTick->setInterval(1000);
    connect(pTick, &QTimer::timeout, this, [this] {
        if (m_pMidiWnd && m_pMidiWnd->QueueLength() > 0)
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
    // There is no MIDI input: the entry is there, and stays disabled.
    m_actions[ECommand::InputDevice]->setEnabled(false);
    for (ECommand e : {ECommand::Toolbar, ECommand::StatusBar}) {
        m_actions[e]->setCheckable(true);
        m_actions[e]->setChecked(true);
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
            CommitPendingEdits();
            m_pApp->OpenRecentFile(i);
        });
        m_recentActions << pAction;
    }
}

void CMainFrame::CreateMenus() {
    const auto Add = [this](QMenu* pMenu, ECommand e) { pMenu->addAction(m_actions[e]); };
    const auto ProjectOnly = [this](QAction* pAction) { m_projectOnly << pAction; };

    QMenu* pProject = menuBar()->addMenu(tr("&Project"));
    Add(pProject, ECommand::New);
    Add(pProject, ECommand::Open);
    Add(pProject, ECommand::Close);
    Add(pProject, ECommand::Save);
    Add(pProject, ECommand::SaveAs);
    for (ECommand e : {ECommand::Close, ECommand::Save, ECommand::SaveAs})
        ProjectOnly(m_actions[e]);
    ProjectOnly(pProject->addSeparator());
    for (QAction* pRecent : m_recentActions)
        pProject->addAction(pRecent);
    m_pRecentSeparator = pProject->addSeparator();
    Add(pProject, ECommand::Exit);
    m_menus[QStringLiteral("Project")] = pProject;

    QMenu* pEdit = menuBar()->addMenu(tr("&Edit"));
    Add(pEdit, ECommand::Undo);
    Add(pEdit, ECommand::Redo);
    pEdit->addSeparator();
    Add(pEdit, ECommand::CopyTo);
    Add(pEdit, ECommand::Destroy);
    ProjectOnly(pEdit->menuAction());
    m_menus[QStringLiteral("Edit")] = pEdit;

    QMenu* pSettings = menuBar()->addMenu(tr("&Settings"));
    QMenu* pDevices = pSettings->addMenu(tr("&Midi Devices"));
    Add(pDevices, ECommand::InputDevice);
    Add(pDevices, ECommand::OutputDevice);
    m_menus[QStringLiteral("Settings")] = pSettings;

    QMenu* pMidi = menuBar()->addMenu(tr("&Midi"));
    Add(pMidi, ECommand::SendVariation);
    Add(pMidi, ECommand::SendProject);
    pMidi->addSeparator();
    Add(pMidi, ECommand::ClearBuffer);
    pMidi->addSeparator();
    Add(pMidi, ECommand::Activate);
    Add(pMidi, ECommand::Deactivate);
    pMidi->addSeparator();
    Add(pMidi, ECommand::Reset);
    ProjectOnly(pMidi->menuAction());
    m_menus[QStringLiteral("Midi")] = pMidi;

    QMenu* pTools = menuBar()->addMenu(tr("&Tools"));
    Add(pTools, ECommand::Browser);
    Add(pTools, ECommand::KitInfo);
    pTools->addSeparator();
    Add(pTools, ECommand::ReceiveDump);
    Add(pTools, ECommand::TransmitDump);
    pTools->addSeparator();
    Add(pTools, ECommand::ImportFromProject);
    ProjectOnly(pTools->menuAction());
    m_menus[QStringLiteral("Tools")] = pTools;

    QMenu* pView = menuBar()->addMenu(tr("&View"));
    Add(pView, ECommand::OpenKit);
    QMenu* pInstrument = pView->addMenu(tr("&Instrument"));
    Add(pInstrument, ECommand::OpenKick);
    Add(pInstrument, ECommand::OpenSnare);
    QMenu* pTom = pInstrument->addMenu(tr("&Tom"));
    Add(pTom, ECommand::OpenHighTom);
    Add(pTom, ECommand::OpenLowTom);
    Add(pInstrument, ECommand::OpenHiHat);
    QMenu* pSample = pInstrument->addMenu(tr("&Sample"));
    Add(pSample, ECommand::OpenClap);
    Add(pSample, ECommand::OpenRimshot);
    Add(pSample, ECommand::OpenCrash);
    Add(pSample, ECommand::OpenRide);
    Add(pView, ECommand::OpenLfos);
    ProjectOnly(m_actions[ECommand::OpenKit]);
    ProjectOnly(pInstrument->menuAction());
    ProjectOnly(m_actions[ECommand::OpenLfos]);
    ProjectOnly(CreateZoomMenu(pView)->menuAction());
    ProjectOnly(pView->addSeparator());
    Add(pView, ECommand::Toolbar);
    Add(pView, ECommand::StatusBar);
    m_menus[QStringLiteral("View")] = pView;

    QMenu* pWindow = menuBar()->addMenu(tr("&Window"));
    Add(pWindow, ECommand::Cascade);
    Add(pWindow, ECommand::Tile);
    Add(pWindow, ECommand::ArrangeIcons);
    ProjectOnly(pWindow->menuAction());
    m_menus[QStringLiteral("Window")] = pWindow;
    // The open windows follow, the current one checked, so any of them is one click away.
    connect(pWindow, &QMenu::aboutToShow, this, [this, pWindow] {
        const QList<QAction*> actions = pWindow->actions();
        for (qsizetype i = 3; i < actions.size(); ++i)
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

    QMenu* pHelp = menuBar()->addMenu(tr("&Help"));
    Add(pHelp, ECommand::About);
    m_menus[QStringLiteral("Help")] = pHelp;
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
    for (unsigned nId : kToolbarLayout) {
        if (nId == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        if (nId == Command(ECommand::Activate).nToolbarId)
            m_pToolBar->addAction(m_pActivateButton);
        else if (nId == Command(ECommand::Deactivate).nToolbarId)
            m_pToolBar->addAction(m_pDeactivateButton);
        else if (QAction* pAction = Action(nId))
            m_pToolBar->addAction(pAction);
    }
}

void CMainFrame::CreateStatusBar() {
    m_pPortPane = new QLabel(this);
    m_pQueuePane = new QLabel(this);
    m_pPortPane->setObjectName(QStringLiteral("PortPane"));
    m_pQueuePane->setObjectName(QStringLiteral("QueuePane"));
    statusBar()->addPermanentWidget(m_pQueuePane);
    statusBar()->addPermanentWidget(m_pPortPane);
    statusBar()->showMessage(tr("Ready"));
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
    static constexpr ECommand kAlways[] = {ECommand::New, ECommand::Open, ECommand::Activate,
                                           ECommand::Deactivate, ECommand::Reset};
    for (QAction* pButton : m_pToolBar ? m_pToolBar->actions() : QList<QAction*>()) {
        if (pButton->isSeparator() || pButton->data().toUInt() == 0)
            continue;
        const bool bAlways = std::any_of(std::begin(kAlways), std::end(kAlways), [&](ECommand e) {
            return Action(Command(e).nToolbarId) == pButton;
        });
        pButton->setEnabled(bProject || bAlways);
    }
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

QString CMainFrame::PortText() const {
    if (!m_pMidiWnd)
        return {};
    if (!m_pMidiWnd->IsReady()) {
        if (!m_pMidiWnd->GetMidiDeviceName().empty() && (m_pMidiWnd->GetState() & DMIDI_CHANNEL))
            return tr("%1, channel %2: not found")
                .arg(DeviceName())
                .arg(m_pMidiWnd->GetMidiChannel() + 1);
        return tr("No MIDI output chosen");
    }
    const QString strDevice = DeviceName();
    return tr("%1, channel %2: %3")
        .arg(strDevice)
        .arg(m_pMidiWnd->GetMidiChannel() + 1)
        .arg(m_pMidiWnd->IsOpen() ? tr("open") : tr("closed"));
}

QString CMainFrame::QueueText() const {
    if (!m_pMidiWnd || m_pMidiWnd->QueueLength() == 0)
        return {};
    const int nSeconds = int(std::ceil(double(m_pMidiWnd->EstimatedMsLeft()) / 1000.0));
    const int nWaiting = m_pMidiWnd->QueueLength();
    const QString strCount = nWaiting == 1 ? tr("1 message") : tr("%1 messages").arg(nWaiting);
    if (!m_pMidiWnd->IsOpen())
        return tr("%1 waiting for the port").arg(strCount);
    return tr("%1 waiting, about %2 s left").arg(strCount).arg(nSeconds);
}

void CMainFrame::UpdateStatusPanes() {
    if (m_pPortPane)
        m_pPortPane->setText(PortText());
    if (m_pQueuePane)
        m_pQueuePane->setText(QueueText());
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
            m_bSendFailureShown = false;
            ShowPortState(true);
            break;
        case WM_MIDIOUT_CLOSE:
            ShowPortState(m_pMidiWnd && m_pMidiWnd->IsOpen());
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
        break;
    case ECommand::OutputDevice:
        DeviceDialog();
        break;
    case ECommand::SendVariation:
        SendVariation();
        break;
    case ECommand::SendProject:
        SendProject();
        break;
    case ECommand::ClearBuffer:
        ClearBuffer();
        break;
    case ECommand::Activate:
        Activate();
        break;
    case ECommand::Deactivate:
        Deactivate();
        break;
    case ECommand::Reset:
        ResetPort();
        break;
    case ECommand::Browser:
        Browse();
        break;
    case ECommand::KitInfo:
        KitInfo();
        break;
    case ECommand::ReceiveDump:
        ReceiveDump();
        break;
    case ECommand::TransmitDump:
        TransmitDump();
        break;
    case ECommand::ImportFromProject:
        ImportFromProject();
        break;
    case ECommand::Toolbar:
        m_pToolBar->setVisible(!m_pToolBar->isVisible());
        m_actions[eCommand]->setChecked(m_pToolBar->isVisible());
        break;
    case ECommand::StatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        m_actions[eCommand]->setChecked(statusBar()->isVisible());
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
    statusBar()->showMessage(
        tr("The %1 window could not be opened.").arg(ViewTypes::ViewTypeName(nViewType)),
        kStatusMs);
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
    CCopyVariationDlg dialog(m_pApp->Document(), pView->GetVariation(),
                             ActiveFrame()->windowTitle(), this);
    dialog.exec();
    if (!dialog.Outcome().isEmpty())
        statusBar()->showMessage(dialog.Outcome(), kStatusMs);
}

void CMainFrame::ImportFromProject() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return;
    const QString strProject = pDoc->GetPathName();
    const QString strPath =
        m_pApp->AskFileName(false, strProject.isEmpty() ? QString() : QFileInfo(strProject).path());
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
        statusBar()->showMessage(dialog.Outcome(), kStatusMs);
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
    CSection* pVariation = pView->GetVariation();
    if (!pVariation)
        return;
    const int nKind = pVariation->GetKind();
    pDoc->BeginEdit();
    if (pDoc->RemoveVariation(pVariation))
        pDoc->SectionListChanged(nKind);
    pDoc->EndEdit(tr("Destroy %1"), nKind);
}

void CMainFrame::SendVariation() {
    CChildFrame* pFrame = ActiveFrame();
    CDView* pView = ActiveView();
    if (!pFrame || !pView || !m_pApp->Document() || !pView->GetVariation())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to send \n") + pFrame->windowTitle() +
                                 QStringLiteral("  ?"),
                             EIcon::Question, EButtons::YesNo) != EAnswer::Yes)
        return;
    CSection* pVariation = pView->GetVariation();
    if (pVariation && !pVariation->SendAll())
        QuenleyMessage::Show(tr("Not sent: %1.").arg(SendFaultText(*pVariation)), EIcon::Warning);
}

QString CMainFrame::SendFaultText(const CSection& section) {
    const QString strName = QString::fromLatin1(section.GetDisplayString()).left(15).trimmed();
    int nParam = 0;
    switch (section.SendFault(&nParam)) {
    case CSection::ESendFault::kNumber:
        return tr("%1 has a number the module does not have (%2)")
            .arg(strName)
            .arg(section.GetNumber());
    case CSection::ESendFault::kValue:
        return tr("%1 holds %2 as value %3, outside 0 to 255")
            .arg(strName)
            .arg(section.GetParam(nParam))
            .arg(nParam);
    case CSection::ESendFault::kNone:
        break;
    }
    return strName;
}

void CMainFrame::SendProject() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!ActiveFrame() || !pDoc || pDoc->GetSectionList().empty())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to send the entire project ?"), EIcon::Question,
                             EButtons::YesNo) != EAnswer::Yes)
        return;
    // A damaged file may hold sections the module cannot take; the rest still go.
    std::vector<const CSection*> skipped;
    pDoc->SendProject(&skipped);
    if (skipped.empty())
        return;
    QStringList lines;
    for (const CSection* pSection : skipped)
        if (lines.size() < kListedFaults)
            lines << SendFaultText(*pSection);
    if (int(skipped.size()) > kListedFaults)
        lines << tr("and %1 more").arg(int(skipped.size()) - kListedFaults);
    QuenleyMessage::Show(tr("Not sent, the rest of the project was:\n%1").arg(lines.join('\n')),
                         EIcon::Warning);
}

QString CMainFrame::DumpFileSuggestion() const {
    const QString strProject = m_pApp->Document() ? m_pApp->Document()->GetPathName() : QString();
    if (strProject.isEmpty())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(m_pApp->DocumentTitle() + QStringLiteral(".syx"));
    const QFileInfo info(strProject);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".syx"));
}

void CMainFrame::TransmitDump() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        return;
    }
    if (pDoc->GetSectionList().empty()) {
        QuenleyMessage::Show(tr("The project holds no variations to transmit."),
                             EIcon::Information);
        return;
    }
    const QString strPath = m_pApp->AskDumpFileName(true, DumpFileSuggestion());
    if (strPath.isEmpty())
        return;
    // The channel byte Send project puts into its messages.
    const auto nChannel = static_cast<std::uint8_t>(m_pMidiWnd ? m_pMidiWnd->GetMidiChannel() : 0);
    std::vector<const CSection*> skipped;
    const QByteArray bytes = ProjectSysEx::Messages(*pDoc, nChannel, &skipped);
    QString strError;
    if (!ProjectFile::Write(strPath, bytes, strError)) {
        QuenleyMessage::Show(strError, EIcon::Warning);
        return;
    }
    statusBar()->showMessage(tr("Dump written to %1.").arg(QDir::toNativeSeparators(strPath)),
                             kStatusMs);
    if (skipped.empty())
        return;
    QStringList lines;
    for (const CSection* pSection : skipped)
        if (lines.size() < kListedFaults)
            lines << SendFaultText(*pSection);
    if (int(skipped.size()) > kListedFaults)
        lines << tr("and %1 more").arg(int(skipped.size()) - kListedFaults);
    QuenleyMessage::Show(
        tr("Left out of the dump, the rest of the project is in it:\n%1").arg(lines.join('\n')),
        EIcon::Warning);
}

void CMainFrame::ReceiveDump() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        return;
    }
    const QString strPath =
        m_pApp->AskDumpFileName(false, QFileInfo(DumpFileSuggestion()).absolutePath());
    if (strPath.isEmpty())
        return;
    QByteArray bytes;
    QString strError;
    if (!ProjectFile::ReadRegular(strPath, bytes, strError, nullptr,
                                  ProjectFile::EContent::Dump)) {
        QuenleyMessage::Show(strError, EIcon::Warning);
        return;
    }
    ReceiveDumpBytes(bytes);
}

bool CMainFrame::ReceiveDumpBytes(const QByteArray& bytes) {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return false;
    CSysExReader reader;
    reader.Read(bytes);
    CDumpPlan plan;
    plan.Make(reader, *pDoc);
    const QString strWhat = plan.Describe(reader).join('\n');
    if (plan.IsEmpty()) {
        QuenleyMessage::Show(strWhat + tr("\nThe project stays as it is."), EIcon::Information);
        return false;
    }
    if (QuenleyMessage::Show(strWhat + tr("\n\nTake them into the project?"), EIcon::Question,
                             EButtons::OkCancel) != EAnswer::Ok)
        return false;
    // The dump came from the module, so nothing is sent back to it, nor when it is undone.
    pDoc->BeginEdit();
    const int nChanged = plan.Apply(*pDoc);
    pDoc->EndEdit(tr("Receive Dump"));
    if (nChanged < 0) {
        QuenleyMessage::Show(tr("Not enough memory: some variations of the dump are missing."),
                             EIcon::Warning);
        return true;
    }
    statusBar()->showMessage(tr("Dump received: %1 of %2 variations changed.")
                                 .arg(nChanged)
                                 .arg(plan.Variations().size()),
                             kStatusMs);
    return true;
}

void CMainFrame::ClearBuffer() {
    if (!m_pMidiWnd || !ActiveFrame() || !m_pApp->Document())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to clear the send buffer ?"), EIcon::Warning,
                             EButtons::YesNo) != EAnswer::Yes)
        return;
    m_pMidiWnd->DestroySysExList();
}

void CMainFrame::Activate() {
    if (!m_pMidiWnd)
        return;
    // Opened at start-up, the port is open before any project is.
    if (m_pMidiWnd->IsOpen()) {
        ShowPortState(true);
        return;
    }
    if (!ActiveFrame() || !m_pApp->Document()) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        ShowPortState(false);
        return;
    }
    OpenPort();
}

void CMainFrame::ActivateAtStart() {
    if (m_pMidiWnd && !m_pMidiWnd->IsOpen() && IsPortChosen())
        OpenPort();
}

bool CMainFrame::IsPortChosen() const {
    // A device chosen and missing at the moment is looked for again by the open.
    return m_pMidiWnd->IsReady() ||
           (!m_pMidiWnd->GetMidiDeviceName().empty() && (m_pMidiWnd->GetState() & DMIDI_CHANNEL));
}

void CMainFrame::OpenPort() {
    if (!IsPortChosen()) {
        QuenleyMessage::Show(tr("Choose Midi-Device first !"), EIcon::Warning);
        ShowPortState(false);
        return;
    }
    if (!m_pMidiWnd->DMidiOutActivate() && !m_pMidiWnd->IsOpen()) {
        ShowPortState(false);
        QuenleyMessage::Show(tr("The MIDI output \"%1\" could not be opened: %2.")
                                 .arg(DeviceName(), OpenFailureText()),
                             EIcon::Warning);
        return;
    }
    ShowPortState(m_pMidiWnd->IsOpen());
}

void CMainFrame::Deactivate() {
    if (!m_pMidiWnd)
        return;
    if (m_pMidiWnd->IsReady() && m_pMidiWnd->IsOpen() && !m_pMidiWnd->DMidiOutDeactivate())
        statusBar()->showMessage(tr("The port stays open: %1.")
                                     .arg(tr(MidiErrors::ReasonText(m_pMidiWnd->LastResult()))),
                                 kStatusMs);
    ShowPortState(m_pMidiWnd->IsOpen());
}

void CMainFrame::ResetPort() {
    if (m_pMidiWnd && m_pMidiWnd->IsReady())
        m_pMidiWnd->ResetPort();
    ShowPortState(m_pMidiWnd && m_pMidiWnd->IsOpen());
}

QString CMainFrame::DeviceName() const {
    return m_pMidiWnd ? QString::fromStdString(m_pMidiWnd->GetMidiDeviceName()) : QString();
}

QString CMainFrame::OpenFailureText() const {
    return QString::fromStdString(
        MidiErrors::OpenFailureText(m_pMidiWnd->LastOpenError(), m_pMidiWnd->LastResult()));
}

void CMainFrame::OnDeviceGone(const QString& strDevice, int nKept) {
    if (!m_pMidiWnd)
        return;
    ShowPortState(m_pMidiWnd->IsOpen());
    QString strKept;
    if (nKept == 0)
        strKept = tr("Nothing was waiting to be sent.");
    else if (nKept == 1)
        strKept = tr("1 message waiting to be sent is kept: it goes out when the port is opened "
                     "again, or Clear buffer drops it.");
    else
        strKept = tr("%1 messages waiting to be sent are kept: they go out when the port is "
                     "opened again, or Clear buffer drops them.")
                      .arg(nKept);
    const QString strText =
        tr("The MIDI output \"%1\" is no longer there, so the port was closed.").arg(strDevice);
    statusBar()->showMessage(strText, kStatusMs);
    QuenleyMessage::Show(strText + QLatin1Char('\n') + strKept, EIcon::Warning);
}

void CMainFrame::OnSendFailed(unsigned nResult) {
    if (!m_pMidiWnd)
        return;
    const QString strText = tr("A message to \"%1\" could not be sent: %2.")
                                .arg(DeviceName(), tr(MidiErrors::ReasonText(nResult)));
    // Told once with a box; after that a failing device would bury the user in them.
    if (!m_bSendFailureShown) {
        m_bSendFailureShown = true;
        QuenleyMessage::Show(strText, EIcon::Warning);
    }
    statusBar()->showMessage(strText, kStatusMs);
    UpdateStatusPanes();
}

void CMainFrame::DeviceDialog() {
    if (!m_pMidiWnd)
        return;
    CMidiOutDeviceDlg dialog(m_pMidiWnd, this);
    dialog.SetActivateAtStart(m_pApp->ActivateAtStart());
    if (dialog.exec() == QDialog::Accepted) {
        m_pApp->NoteDeviceChosen();
        m_pApp->SetActivateAtStart(dialog.ActivateAtStart());
    }
    UpdateStatusPanes();
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

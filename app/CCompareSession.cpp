#include "CCompareSession.h"

#include "CChildFrame.h"
#include "CDView.h"
#include "CMainFrame.h"
#include "CMdiClient.h"
#include "CProjectChange.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "ViewTypes.h"

#include <QAction>
#include <QEvent>

using Commands::ECommand;

CCompareSession::CCompareSession(CQuenleyApp* pApp, CMainFrame* pFrame)
    : QObject(pFrame), m_pApp(pApp), m_pFrame(pFrame) {}

CCompareSession::~CCompareSession() {
    if (m_pView)
        m_pView->SetCompared(nullptr);
}

void CCompareSession::Attach() {
    if (QAction* pAction = m_pFrame->Action(ECommand::CompareWithSaved))
        pAction->setCheckable(true);
    // Any change to the project, from whatever window, undo or dump, ends the comparison: the
    // edited values are what the project holds.
    connect(m_pApp, &CQuenleyApp::ContentChanged, this, &CCompareSession::End);
    connect(m_pApp, &CQuenleyApp::DocumentChanged, this, [this] {
        if (m_pSaved && (!m_pApp->Document() || !m_pView))
            Drop();
        UpdateAction();
    });
    connect(m_pFrame->MdiClient(), &QMdiArea::subWindowActivated, this,
            &CCompareSession::FollowActiveView);
    UpdateAction();
}

void CCompareSession::FollowActiveView() {
    // A window's caption changes whenever it shows another variation, or none.
    disconnect(m_activeCaption);
    if (CDView* pView = m_pFrame->ActiveView())
        m_activeCaption =
            connect(pView, &QWidget::windowTitleChanged, this, &CCompareSession::UpdateAction);
    UpdateAction();
}

bool CCompareSession::IsComparing() const {
    return m_pSaved != nullptr;
}

bool CCompareSession::CanStart() const {
    const CDView* pView = m_pFrame->ActiveView();
    return m_pApp->Document() && pView && pView->GetViewType() != ViewTypes::kQuick &&
           pView->GetVariation();
}

bool CCompareSession::ComparesActiveWindow() const {
    return m_pSaved && m_pChild && m_pChild == m_pFrame->ActiveFrame();
}

void CCompareSession::UpdateAction() {
    QAction* pAction = m_pFrame->Action(ECommand::CompareWithSaved);
    if (!pAction)
        return;
    // The button speaks for the window in front.
    pAction->setChecked(ComparesActiveWindow());
    pAction->setEnabled(ComparesActiveWindow() || CanStart());
}

void CCompareSession::Toggle() {
    const bool bStart = !ComparesActiveWindow();
    // One comparison at a time: another window's ends before this one's starts.
    End();
    if (bStart)
        Start();
    UpdateAction();
}

void CCompareSession::Start() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    CChildFrame* pChild = m_pFrame->ActiveFrame();
    if (!CanStart() || !pChild)
        return;
    CDView* pView = pChild->View();
    const CSection* pOwn = pView->GetVariation();
    m_strTitle = CProjectChange::Title(pOwn->GetKind(), pOwn->GetNumber());
    CQuenleyDoc::ESaved eWhence = CQuenleyDoc::ESaved::kFile;
    std::unique_ptr<CSection> pSaved =
        pDoc->SavedVariation(pOwn->GetKind(), pOwn->GetNumber(), &eWhence);
    if (!pSaved) {
        m_pFrame->ShowStatus(tr("%1 has no saved values to compare with.").arg(m_strTitle));
        return;
    }
    m_pSaved = std::move(pSaved);
    m_pView = pView;
    m_pChild = pChild;
    pChild->installEventFilter(this);
    connect(pView, &CDView::CompareEndWanted, this, &CCompareSession::End, Qt::UniqueConnection);
    pView->SetCompared(m_pSaved.get());
    // As Send variation sends it, without its question: the point is to hear it at once.
    const bool bSent = m_pSaved->SendAll();
    QString strText;
    switch (eWhence) {
    case CQuenleyDoc::ESaved::kFile:
        strText = tr("Comparing %1 with the saved project.");
        break;
    case CQuenleyDoc::ESaved::kNotInFile:
        strText = tr("Comparing %1 with the default sound: the saved project does not hold it.");
        break;
    case CQuenleyDoc::ESaved::kNeverSaved:
        strText = tr("Comparing %1 with the default sound: the project has not been saved.");
        break;
    case CQuenleyDoc::ESaved::kUnreadable:
        strText = tr("Comparing %1 with the default sound: the saved project file cannot be read.");
        break;
    }
    strText = strText.arg(m_strTitle);
    if (!bSent)
        strText += QLatin1Char(' ') + tr("Its saved values cannot be sent to the module.");
    m_pFrame->ShowStatus(strText);
}

void CCompareSession::End() {
    if (!m_pSaved || m_bEnding)
        return;
    m_bEnding = true;
    if (m_pChild)
        m_pChild->removeEventFilter(this);
    CSection* pOwn = m_pView && m_pApp->Document() ? m_pView->GetVariation() : nullptr;
    if (m_pView) {
        disconnect(m_pView, &CDView::CompareEndWanted, this, &CCompareSession::End);
        m_pView->SetCompared(nullptr);
    }
    m_pView = nullptr;
    m_pChild = nullptr;
    m_pSaved.reset();
    if (pOwn)
        pOwn->SendAll();
    m_pFrame->ShowStatus(tr("%1 is back to its edited values.").arg(m_strTitle));
    m_bEnding = false;
    UpdateAction();
}

void CCompareSession::Drop() {
    if (m_pView) {
        disconnect(m_pView, &CDView::CompareEndWanted, this, &CCompareSession::End);
        m_pView->SetCompared(nullptr);
    }
    if (m_pChild)
        m_pChild->removeEventFilter(this);
    m_pView = nullptr;
    m_pChild = nullptr;
    m_pSaved.reset();
}

bool CCompareSession::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pChild && pEvent->type() == QEvent::Close)
        End();
    return QObject::eventFilter(pWatched, pEvent);
}

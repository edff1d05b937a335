#include "CAudition.h"

#include "CAuditionDlg.h"
#include "CChildFrame.h"
#include "CDView.h"
#include "CMainFrame.h"
#include "CMdiClient.h"
#include "CMidiWnd.h"
#include "CProjectChange.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "PanelTables.h"
#include "SectionKinds.h"
#include "ViewTypes.h"

#include <QAction>
#include <QChildEvent>

CAudition::CAudition(CQuenleyApp* pApp, CMainFrame* pFrame)
    : QObject(pFrame), m_pApp(pApp), m_pFrame(pFrame) {
    m_patternTimer.setInterval(kPatternStepMs);
    connect(&m_patternTimer, &QTimer::timeout, this, &CAudition::PatternStep);
    m_autoTimer.setSingleShot(true);
    connect(&m_autoTimer, &QTimer::timeout, this, &CAudition::AutoPlay);
}

CAudition::~CAudition() = default;

void CAudition::Attach() {
    // Every editor window comes into the work area's viewport, whoever makes it.
    m_pFrame->MdiClient()->viewport()->installEventFilter(this);
    connect(m_pFrame->MdiClient(), &QMdiArea::subWindowActivated, this, &CAudition::UpdateAction);
    // After the frame's own menu update, which enables every toolbar button of a project.
    connect(m_pApp, &CQuenleyApp::DocumentChanged, this, [this] {
        if (m_pApp->Document() != m_pPatternDoc)
            StopPattern();
        UpdateAction();
    });
    UpdateAction();
}

bool CAudition::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::ChildAdded)
        if (auto* pChild = qobject_cast<CChildFrame*>(static_cast<QChildEvent*>(pEvent)->child()))
            connect(pChild->View(), &CDView::GestureEnded, this, &CAudition::OnGestureEnded,
                    Qt::UniqueConnection);
    return QObject::eventFilter(pWatched, pEvent);
}

bool CAudition::CanPlay() const {
    const CDView* pView = m_pFrame->ActiveView();
    return pView && pView->GetViewType() != ViewTypes::kLfos;
}

void CAudition::UpdateAction() {
    if (QAction* pAction = m_pFrame->Action(Commands::ECommand::Play))
        pAction->setEnabled(CanPlay());
}

void CAudition::Play() {
    CDView* pView = m_pFrame->ActiveView();
    if (!pView || !CanPlay())
        return;
    PlayView(*pView, 0);
}

void CAudition::PlayView(CDView& view, unsigned nControlId) {
    StopPattern();
    const int nType = view.GetViewType();
    if (nType == ViewTypes::kLfos)
        return;
    const SAuditionSettings settings = SAuditionSettings::Load();
    const bool bKit = nType == ViewTypes::kKit || nType == ViewTypes::kQuick;
    const int nSubjectKind = bKit ? int(Kinds::kKit) : nType - 1;
    bool bQueued = false;
    if (bKit) {
        // A change in a kit window's instrument column plays that column's instrument.
        const Panels::SControl* pRow =
            nControlId ? Panels::FindControl(view.PanelTable(), nControlId) : nullptr;
        const int nColumn = pRow && (pRow->binding.eRole == Panels::ERole::KitLevel ||
                                     pRow->binding.eRole == Panels::ERole::KitVariation)
                                ? pRow->binding.nColumn
                                : -1;
        if (nColumn >= 0 && nColumn < SAuditionSettings::kInstruments)
            bQueued = QueueKind(settings, Kinds::kKick + nColumn);
        else
            bQueued = StartPattern(settings);
    } else {
        bQueued = QueueKind(settings, nSubjectKind);
    }
    SayWhatSounds(nSubjectKind, view, bQueued);
}

bool CAudition::QueueKind(const SAuditionSettings& settings, int nKind) {
    CMidiWnd* pMidi = m_pApp->GetMidiWnd();
    const int nNote = settings.Note(nKind);
    if (!pMidi || nNote < 0)
        return false;
    const int nChannel = settings.nChannel ? settings.nChannel - 1 : pMidi->GetMidiChannel();
    return pMidi->QueueNote(nChannel, nNote, settings.nVelocity, settings.nLengthMs);
}

void CAudition::SayWhatSounds(int nKind, const CDView& view, bool bQueued) {
    const CSection* pShown = view.GetVariation();
    int nNumber = -1;
    if (pShown)
        nNumber = pShown->GetNumber();
    else if (!view.GetShownNumber(nNumber))
        nNumber = -1;
    const QString strShown =
        nNumber >= 0 ? CProjectChange::Title(nKind, nNumber) : ViewTypes::ViewTypeName(nKind + 1);
    if (!bQueued) {
        // Nothing is kept for later: a note long after the gesture would only confuse.
        m_pFrame->ShowStatus(tr("Midi is not active: activate it to hear %1.").arg(strShown));
        return;
    }
    CQuenleyDoc* pDoc = view.GetDocument();
    const CSection* pActive = pDoc ? pDoc->FindActiveVariationOfKind(nKind) : nullptr;
    if (pShown && pActive == pShown)
        return;
    // The module sounds the active variation of a kind, not the one the window shows.
    const QString strPlays =
        pActive ? tr("the module plays %1").arg(CProjectChange::Title(nKind, pActive->GetNumber()))
                : tr("no %1 is active").arg(ViewTypes::ViewTypeName(nKind + 1));
    const QString strHint = pShown ? tr("make %1 active to hear it").arg(strShown)
                                   : tr("%1 is not in the project").arg(strShown);
    m_pFrame->ShowStatus(strPlays + QStringLiteral("; ") + strHint);
}

bool CAudition::StartPattern(const SAuditionSettings& settings) {
    m_patternSettings = settings;
    m_pPatternDoc = m_pApp->Document();
    m_nPatternStep = 0;
    if (!QueueKind(m_patternSettings, Kinds::kKick))
        return false;
    // Each later note is queued at its own step, behind only what waits then.
    m_nPatternStep = 1;
    m_patternTimer.start();
    return true;
}

void CAudition::PatternStep() {
    CMidiWnd* pMidi = m_pApp->GetMidiWnd();
    // A port closed meanwhile ends the pattern without a word; Play says why when asked again.
    if (m_nPatternStep >= SAuditionSettings::kInstruments || !pMidi || !pMidi->IsOpen() ||
        m_pApp->Document() != m_pPatternDoc ||
        !QueueKind(m_patternSettings, Kinds::kKick + m_nPatternStep)) {
        StopPattern();
        return;
    }
    if (++m_nPatternStep >= SAuditionSettings::kInstruments)
        StopPattern();
}

void CAudition::StopPattern() {
    m_patternTimer.stop();
    m_nPatternStep = 0;
    m_pPatternDoc = nullptr;
}

void CAudition::OnGestureEnded(unsigned nId) {
    auto* pView = qobject_cast<CDView*>(sender());
    if (!pView || !SAuditionSettings::Load().bPlayAfterChange)
        return;
    m_pAutoView = pView;
    m_nAutoId = nId;
    const qint64 nSince = m_sinceAuto.isValid() ? m_sinceAuto.elapsed() : kMinAutoGapMs;
    if (nSince >= kMinAutoGapMs)
        AutoPlay();
    else if (!m_autoTimer.isActive())
        m_autoTimer.start(int(kMinAutoGapMs - nSince));
}

void CAudition::AutoPlay() {
    m_autoTimer.stop();
    m_sinceAuto.start();
    // The window may have closed meanwhile, its project with it.
    if (m_pAutoView && m_pAutoView->GetDocument() && m_pAutoView->GetDocument() == m_pApp->Document())
        PlayView(*m_pAutoView, m_nAutoId);
}

void CAudition::SettingsDialog() {
    CAuditionDlg dialog(SAuditionSettings::Load(), m_pFrame);
    if (dialog.exec() == QDialog::Accepted)
        dialog.Settings().Save();
}

#include "CQuenleyApp.h"

#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CDView.h"
#include "CMainFrame.h"
#include "CMdiClient.h"
#include "CMidiCommands.h"
#include "CMidiInput.h"
#include "CMidiOutDriver.h"
#include "CMidiWnd.h"
#include "CMultiDocTpl.h"
#include "CProjectHistory.h"
#include "CQuenleyDoc.h"
#include "CRecoveryStore.h"
#include "CSysExReader.h"
#include "CWorkspace.h"
#include "ProjectFile.h"
#include "QuenleyMessage.h"
#include "ViewTypes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

CQuenleyApp* s_pApp = nullptr;

CQuenleyApp::FileDialogHook& DialogHook() {
    static CQuenleyApp::FileDialogHook hook;
    return hook;
}

constexpr unsigned kNone = 256;
// A saved number that is no number, negative or too large for its type: no choice at all, and
// not one that any device or channel has.
constexpr std::uint32_t kDamaged = 0xFFFFFFFFu;

// A whole number the settings hold under the key; kNone when there is none, kDamaged when the
// value is something else or larger than nMax.
std::uint32_t SavedNumber(const QSettings& settings, const char* pszKey, std::uint32_t nMax) {
    const QVariant value = settings.value(QLatin1String(pszKey));
    if (!value.isValid())
        return kNone;
    bool bOk = false;
    const qulonglong n = value.toString().trimmed().toULongLong(&bOk);
    return bOk && n <= nMax ? std::uint32_t(n) : kDamaged;
}

// A file of MIDI bytes that holds values for the module, as Receive Dump takes it.
bool ReadSysExDump(const QString& strPath, QByteArray& bytes) {
    QString strError;
    if (!ProjectFile::ReadRegular(strPath, bytes, strError) || !bytes.startsWith('\xF0'))
        return false;
    CSysExReader reader;
    reader.Read(bytes);
    return reader.Messages() > 0;
}

// One value of the settings group, on disk before this returns.
void WriteSettingNow(const char* pszKey, const QVariant& value) {
    QSettings settings;
    settings.beginGroup(QLatin1String(CQuenleyApp::kSettingsGroup));
    settings.setValue(QLatin1String(pszKey), value);
    settings.endGroup();
    settings.sync();
}

} // namespace

CQuenleyApp::CQuenleyApp(std::unique_ptr<CMidiOutDriver> pDriver,
                         std::unique_ptr<CMidiInDriver> pInDriver)
    : m_pDriver(std::move(pDriver)), m_pInDriver(std::move(pInDriver)) {
    if (!m_pDriver)
        m_systemDriver = std::async(std::launch::async, &CreateSystemMidiDriver);
    s_pApp = this;
}

CQuenleyApp::~CQuenleyApp() {
    // Ending with changes nobody saved or gave up keeps their copy, as a crash would.
    if (m_pRecovery) {
        m_pRecovery->WritePendingNow();
        m_pRecovery.reset();
    }
    if (m_bStarted && !m_bExited)
        ExitInstance();
    // Views go before the project they show, the project before the MIDI link it sends to.
    if (m_pDoc) {
        m_bClosingProject = true;
        CloseDocumentNow();
    }
    m_pMainFrame.reset();
    m_pMidiInput.reset();
    m_pMidiWnd.reset();
    if (m_systemDriver.valid())
        m_systemDriver.get();
    if (s_pApp == this)
        s_pApp = nullptr;
}

CQuenleyApp* CQuenleyApp::Instance() {
    return s_pApp;
}

CMidiWnd* CQuenleyApp::GetMidiWnd() const {
    return m_pMidiWnd.get();
}

CMidiInput* CQuenleyApp::MidiInput() {
    // Started only when wanted, so that an editor that never receives never opens a client of
    // the sound system for it.
    if (!m_pMidiInput)
        m_pMidiInput = std::make_unique<CMidiInput>(
            m_pInDriver ? std::move(m_pInDriver) : CreateSystemMidiInDriver());
    return m_pMidiInput.get();
}

void CQuenleyApp::SetInputDeviceName(const QString& strName) {
    if (strName == m_strInputDevice)
        return;
    m_strInputDevice = strName;
    WriteSettingNow(kInputDeviceNameKey, strName);
}

int CQuenleyApp::ReceiveQuietMs() {
    constexpr double kDefault = 2.0;
    QSettings settings;
    bool bOk = false;
    double dSeconds = settings.value(QLatin1String(kSettingsGroup) + QLatin1Char('/') +
                                     QLatin1String(kReceiveQuietKey))
                          .toString()
                          .toDouble(&bOk);
    // Not a number, or too short or too long to make sense: the usual spell.
    if (!bOk || !(dSeconds >= 0.1 && dSeconds <= 600.0))
        dSeconds = kDefault;
    return int(dSeconds * 1000.0 + 0.5);
}

const CMultiDocTpl* CQuenleyApp::GetViewTemplate(int nViewType) const {
    if (nViewType < 1 || nViewType > int(m_templates.size()))
        return nullptr;
    return m_templates[nViewType - 1].get();
}

void CQuenleyApp::SetFileDialogHook(FileDialogHook hook) {
    DialogHook() = std::move(hook);
}

bool CQuenleyApp::InitInstance(const QStringList& arguments) {
    m_bStarted = true;
    ReadSettings();

    // Kit first: it is the template a new project opens with.
    constexpr int kTemplateOrder[] = {2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int nViewType : kTemplateOrder)
        m_templates[nViewType - 1] = std::make_unique<CMultiDocTpl>(nViewType);

    m_pMainFrame = std::make_unique<CMainFrame>(this);
    if (!m_pMainFrame->Create())
        return false;
    ReadWindowSettings();

    m_pMidiWnd =
        std::make_unique<CMidiWnd>(m_pDriver ? std::move(m_pDriver) : m_systemDriver.get());
    if (!m_pMidiWnd->Create(m_pMainFrame.get())) {
        QuenleyMessage::Show(tr("Sorry ;-)"), EIcon::Critical);
        return false;
    }
    m_pMainFrame->AttachMidi(m_pMidiWnd.get());

    if (!m_pMidiWnd->DMidiOutInit()) {
        QuenleyMessage::Show(tr("Midi Device init. failed !"), EIcon::Critical);
        return false;
    }
    ApplySavedDevice();
    m_bChoiceApplied = true;
    m_pMainFrame->UpdateStatusPanes();

    m_pRecovery = std::make_unique<CRecoveryStore>();
    m_pRecovery->SetSource([this] {
        CRecoveryStore::SCopy copy;
        // Not while a load is taking up the saved windows: those records are the load's.
        if (!m_pDoc || !m_pDoc->IsModified() || !m_pDoc->GetWorkspaces().empty())
            return copy;
        m_pDoc->SaveWindowLayout();
        copy.project = m_pDoc->SaveToBytes();
        m_pDoc->DiscardWindowLayout();
        copy.strPath = m_pDoc->GetPathName();
        copy.strTitle = m_strTitle;
        copy.stamp = m_pDoc->FileStamp();
        return copy;
    });
    connect(m_pRecovery.get(), &CRecoveryStore::WriteFailed, this, &CQuenleyApp::StatusMessage);

    const QStringList files = CommandLineFiles(arguments);
    // Shown before the command line is followed, so that its messages sit over the window.
    m_pMainFrame->show();
    // Before the command line's project, so that its edits go out at once.
    if (m_bActivateAtStart)
        m_pMainFrame->MidiCommands().ActivateAtStart();
    // Unsaved work comes first; the command line's project, when it is the one recovered, is
    // open already.
    const bool bRecovered = OfferRecovery();
    // A project that cannot be opened has said why; the editor stays open without it.
    if (const QStringList named = WithoutEmptyNames(files);
        !named.isEmpty() &&
        !(bRecovered && QFileInfo(named.front()).absoluteFilePath() ==
                            QFileInfo(m_pDoc->GetPathName()).absoluteFilePath()))
        OpenDocumentFile(named.front());
    return true;
}

bool CQuenleyApp::OfferRecovery() {
    for (const QString& strFile : m_pRecovery->Leftovers()) {
        CRecoveryStore::SCopy copy;
        QString strReason;
        const bool bRead = CRecoveryStore::ReadCopy(strFile, copy, strReason);
        // One project at a time: further copies wait for the next start.
        if (bRead && m_pDoc)
            continue;
        if (bRead) {
            const QString strName =
                copy.strPath.isEmpty() ? copy.strTitle : QFileInfo(copy.strPath).fileName();
            if (QuenleyMessage::Show(
                    tr("Quenley did not close properly. Recover the unsaved changes to %1?")
                        .arg(strName),
                    EIcon::Question, EButtons::YesNo) != EAnswer::Yes) {
                m_pRecovery->RemoveLeftover(strFile);
                continue;
            }
            // Refused (no MIDI output chosen): the copy stays for the next start.
            if (!MayOpenProject())
                continue;
            if (OpenRecovered(copy)) {
                // This editor's own copy is on disk before the old one goes.
                m_pRecovery->WritePendingNow();
                m_pRecovery->RemoveLeftover(strFile);
                continue;
            }
            strReason = tr("it holds no project Quenley can read");
        }
        const QString strAside = m_pRecovery->KeepAside(strFile);
        QuenleyMessage::Show(tr("A recovery copy of unsaved changes is damaged (%1) and cannot be "
                                "recovered. It has been kept as %2.")
                                 .arg(strReason, QDir::toNativeSeparators(strAside)),
                             EIcon::Warning);
    }
    return m_pDoc != nullptr;
}

bool CQuenleyApp::OpenRecovered(const CRecoveryStore::SCopy& copy) {
    const QString& strPath = copy.strPath;
    const QString& strTitle = copy.strTitle;
    m_pDoc = std::make_unique<CQuenleyDoc>(m_pMidiWnd.get());
    m_pDoc->SetHost(this);
    m_pDoc->SetHistory(std::make_unique<CProjectHistory>(*m_pDoc));
    if (!m_pDoc->LoadFromBytes(copy.project)) {
        m_bClosingProject = true;
        CloseDocumentNow();
        return false;
    }
    m_pDoc->SetPathName(strPath);
    m_pDoc->SetFileStamp(copy.stamp);
    m_strTitle = !strPath.isEmpty()    ? QFileInfo(strPath).fileName()
                 : !strTitle.isEmpty() ? strTitle
                                       : QStringLiteral("QLY%1").arg(++m_nUntitled);
    m_pDoc->RestoreWindowLayout();
    if (m_pMainFrame->Frames().isEmpty()) {
        if (CChildFrame* pFrame = NewFrame(ViewTypes::kKit)) {
            pFrame->InitialUpdate();
            pFrame->ActivateFrame();
        }
    }
    // It differs from its file (or has none) until saved.
    m_pDoc->SetModifiedFlag(true);
    const QString strNotReopened =
        NotReopenedText(m_pDoc->UnknownWindows(), m_pDoc->UnmadeWindows(),
                        m_pDoc->WindowsOverLimit());
    if (!strNotReopened.isEmpty())
        emit StatusMessage(strNotReopened);
    emit DocumentChanged();
    return true;
}

QStringList CQuenleyApp::CommandLineFiles(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Sound editor and librarian for the Zandrel drum module."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"), tr("A project file (.qly) to open."),
                                 QStringLiteral("[project]"));
    parser.process(arguments);
    return parser.positionalArguments();
}

void CQuenleyApp::OnOpenRequest(const QStringList& files) {
    if (!m_pMainFrame)
        return;
    m_pMainFrame->setWindowState(m_pMainFrame->windowState() & ~Qt::WindowMinimized);
    m_pMainFrame->show();
    m_pMainFrame->raise();
    m_pMainFrame->activateWindow();
    OpenWhenNoDialog(files);
}

void CQuenleyApp::OpenWhenNoDialog(const QStringList& files) {
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, [this, files] { OpenWhenNoDialog(files); });
        return;
    }
    for (const QString& strFile : WithoutEmptyNames(files)) {
        m_pMainFrame->CommitPendingEdits();
        OpenDocumentFile(strFile);
    }
}

QStringList CQuenleyApp::WithoutEmptyNames(const QStringList& files) {
    QStringList named = files;
    // A script's unset variable, or quotes around nothing: opening it would only say that a
    // file without a name was not found.
    if (named.removeAll(QString()) > 0)
        QuenleyMessage::Show(tr("The command line holds an empty file name (\"\"), which names "
                                "no file: nothing is opened for it."),
                             EIcon::Warning);
    return named;
}

void CQuenleyApp::ExitInstance() {
    if (m_bExited)
        return;
    m_bExited = true;
    WriteSettings();
}

void CQuenleyApp::ReadSettings() {
    QSettings settings;
    settings.beginGroup(QLatin1String(kSettingsGroup));
    m_nSavedDevice = SavedNumber(settings, kDeviceKey, kDamaged - 1);
    // The channel was always kept as a 16-bit value.
    m_nSavedChannel = SavedNumber(settings, kChannelKey, 0xFFFF);
    m_strSavedDeviceName = settings.value(QLatin1String(kDeviceNameKey)).toString();
    m_strInputDevice = settings.value(QLatin1String(kInputDeviceNameKey)).toString();
    // A zoom the menu does not offer, edited in by hand or from another version, is ignored.
    const int nZoom = settings.value(QLatin1String(kZoomKey), 100).toInt();
    m_nZoom = IsZoomLevel(nZoom) ? nZoom : 100;
    // Only what the editor writes turns it on; anything else leaves the port closed.
    m_bActivateAtStart =
        settings.value(QLatin1String(kActivateAtStartKey)).toString() == QLatin1String("true");
    settings.endGroup();

    settings.beginGroup(QLatin1String(kRecentGroup));
    for (int i = 1; i <= Commands::kRecentCount; ++i) {
        const QString strPath = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!strPath.isEmpty())
            m_recentFiles << strPath;
    }
    settings.endGroup();
}

void CQuenleyApp::ReadWindowSettings() {
    QSettings settings;
    settings.beginGroup(QLatin1String(kMainWindowGroup));
    m_pMainFrame->RestoreLayout(settings.value(QLatin1String(kGeometryKey)).toByteArray(),
                                settings.value(QLatin1String(kStateKey)).toByteArray());
    settings.endGroup();
}

void CQuenleyApp::WriteWindowSettings() const {
    if (!m_pMainFrame)
        return;
    QSettings settings;
    settings.beginGroup(QLatin1String(kMainWindowGroup));
    settings.setValue(QLatin1String(kGeometryKey), m_pMainFrame->saveGeometry());
    settings.setValue(QLatin1String(kStateKey), m_pMainFrame->saveState());
    settings.endGroup();
    settings.sync();
}

void CQuenleyApp::ApplySavedDevice() {
    if (m_nSavedChannel == kNone || (m_nSavedDevice == kNone && m_strSavedDeviceName.isEmpty()))
        return;
    // A damaged channel is refused as one out of range is, and the link is not ready.
    const bool bChannel = m_pMidiWnd->SetMidiChannel(
        static_cast<std::uint16_t>(std::min<std::uint32_t>(m_nSavedChannel, 0xFFFF)));
    // Devices come and go and the list is renumbered: the name says which one was meant. A
    // device not plugged in now stays chosen by name and is found when the list is read again.
    const bool bFound = m_strSavedDeviceName.isEmpty()
                            ? m_pMidiWnd->SetMidiDevice(m_nSavedDevice)
                            : m_pMidiWnd->SetMidiDeviceByName(m_strSavedDeviceName.toStdString());
    // What could not be used is left in the settings as it is, for the user to choose again.
    if (!bFound || !bChannel)
        m_bKeepSavedChoice = true;
}

void CQuenleyApp::NoteDeviceChosen() {
    m_bKeepSavedChoice = false;
}

void CQuenleyApp::SetActivateAtStart(bool bOn) {
    if (bOn == m_bActivateAtStart)
        return;
    m_bActivateAtStart = bOn;
    // Written at once, as the zoom is: it does not depend on how this run ends.
    WriteSettingNow(kActivateAtStartKey, bOn);
}

void CQuenleyApp::WriteSettings() {
    // A start that ended before the saved choice was taken up knows nothing better than it.
    if (!m_pMidiWnd || !m_bChoiceApplied)
        return;
    QSettings settings;
    settings.beginGroup(QLatin1String(kSettingsGroup));
    const QString strChosen = QString::fromStdString(m_pMidiWnd->GetMidiDeviceName());
    if (m_pMidiWnd->IsReady()) {
        const std::uint32_t nDevice = m_pMidiWnd->GetMidiDevice();
        settings.setValue(QLatin1String(kDeviceKey), nDevice);
        settings.setValue(QLatin1String(kChannelKey), unsigned(m_pMidiWnd->GetMidiChannel()));
        settings.setValue(QLatin1String(kDeviceNameKey), strChosen);
    } else if (!strChosen.isEmpty() && (m_pMidiWnd->GetState() & DMIDI_CHANNEL)) {
        // Chosen, and unplugged at the moment: the choice stays for the next start. Its number
        // is unknown while it is away, so the one stored before stays.
        settings.setValue(QLatin1String(kChannelKey), unsigned(m_pMidiWnd->GetMidiChannel()));
        settings.setValue(QLatin1String(kDeviceNameKey), strChosen);
    } else if (!m_bKeepSavedChoice) {
        settings.setValue(QLatin1String(kDeviceKey), kNone);
        settings.setValue(QLatin1String(kChannelKey), kNone);
        settings.remove(QLatin1String(kDeviceNameKey));
    }
    settings.endGroup();
    settings.sync();
}

void CQuenleyApp::WriteRecentFiles() {
    QSettings settings;
    settings.beginGroup(QLatin1String(kRecentGroup));
    settings.remove(QString());
    for (int i = 0; i < m_recentFiles.size(); ++i)
        settings.setValue(QStringLiteral("File%1").arg(i + 1), m_recentFiles.at(i));
    settings.endGroup();
    emit RecentFilesChanged();
}

void CQuenleyApp::AddToRecentFiles(const QString& strPath) {
    const QString strAbsolute = QFileInfo(strPath).absoluteFilePath();
    m_recentFiles.removeAll(strAbsolute);
    m_recentFiles.prepend(strAbsolute);
    while (m_recentFiles.size() > Commands::kRecentCount)
        m_recentFiles.removeLast();
    WriteRecentFiles();
}

void CQuenleyApp::RemoveFromRecentFiles(const QString& strPath) {
    if (m_recentFiles.removeAll(QFileInfo(strPath).absoluteFilePath()) > 0)
        WriteRecentFiles();
}

void CQuenleyApp::OpenRecentFile(int nIndex) {
    if (nIndex < 0 || nIndex >= m_recentFiles.size())
        return;
    const QString strPath = m_recentFiles.at(nIndex);
    // An entry whose file has gone is of no more use; one that merely failed to open stays.
    if (OpenDocumentFile(strPath) == EOpen::Failed && !QFileInfo::exists(strPath))
        RemoveFromRecentFiles(strPath);
}

bool CQuenleyApp::MayOpenProject() {
    if (m_pDoc) {
        QuenleyMessage::Show(
            tr("Only one project at time !\n Close existing Project\n and try again"),
            EIcon::Warning);
        return false;
    }
    if (!m_pMidiWnd->IsReady()) {
        QuenleyMessage::Show(tr("Choose Midi-Device first !"), EIcon::Warning);
        return false;
    }
    return true;
}

CChildFrame* CQuenleyApp::NewFrame(int nViewType) {
    const CMultiDocTpl* pTemplate = GetViewTemplate(nViewType);
    if (!pTemplate || !m_pDoc)
        return nullptr;
    CChildFrame* pFrame = pTemplate->CreateNewFrame(m_pDoc.get(), m_pMainFrame->MdiClient());
    if (!pFrame)
        return nullptr;
    pFrame->SetCloseGuard([this](CChildFrame* p) { return CanCloseFrame(p); });
    pFrame->SetZoom(m_nZoom);
    // The project closes with its last window, once that window is gone.
    connect(pFrame, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &CQuenleyApp::CloseIfNoFrames); });
    return pFrame;
}

CProjectHistory* CQuenleyApp::History() const {
    return m_pDoc ? dynamic_cast<CProjectHistory*>(m_pDoc->History()) : nullptr;
}

bool CQuenleyApp::IsZoomLevel(int nPercent) {
    for (int n : kZoomLevels)
        if (n == nPercent)
            return true;
    return false;
}

bool CQuenleyApp::SetZoom(int nPercent) {
    if (!IsZoomLevel(nPercent))
        return false;
    if (nPercent == m_nZoom)
        return true;
    m_nZoom = nPercent;
    // Written at once: a choice of the look should survive a crash too.
    WriteSettingNow(kZoomKey, m_nZoom);
    if (m_pMainFrame) {
        for (CChildFrame* pFrame : m_pMainFrame->Frames())
            pFrame->SetZoom(m_nZoom);
        m_pMainFrame->MdiClient()->RepaintAll();
    }
    emit ZoomChanged(m_nZoom);
    return true;
}

void CQuenleyApp::OnFileNew() {
    if (MayOpenProject())
        MakeNewDocument();
}

bool CQuenleyApp::MakeNewDocument() {
    m_pDoc = std::make_unique<CQuenleyDoc>(m_pMidiWnd.get());
    m_pDoc->SetHost(this);
    m_pDoc->SetHistory(std::make_unique<CProjectHistory>(*m_pDoc));
    m_pDoc->OnNewDocument();
    m_strTitle = QStringLiteral("QLY%1").arg(++m_nUntitled);
    CChildFrame* pFrame = NewFrame(ViewTypes::kKit);
    if (!pFrame) {
        m_pDoc.reset();
        m_strTitle.clear();
        QuenleyMessage::Show(tr("Failed to create empty document."), EIcon::Warning);
        return false;
    }
    pFrame->InitialUpdate();
    pFrame->ActivateFrame();
    emit DocumentChanged();
    return true;
}

QString CQuenleyApp::AskFileName(EFile eFile, bool bSave, const QString& strSuggested) {
    if (const FileDialogHook& hook = DialogHook())
        return hook(bSave, strSuggested);
    const bool bDump = eFile == EFile::Dump;
    const QString strFilter =
        bDump ? tr("SysEx Dumps (*.syx);;All Files (*)") : tr("Quenley Projects (*.qly)");
    if (!bSave)
        return QFileDialog::getOpenFileName(
            m_pMainFrame.get(), bDump ? tr("Receive Dump") : tr("Open"), strSuggested, strFilter);
    QString strPath = QFileDialog::getSaveFileName(
        m_pMainFrame.get(), bDump ? tr("Transmit Dump") : tr("Save As"), strSuggested, strFilter);
    if (!strPath.isEmpty() && QFileInfo(strPath).suffix().isEmpty())
        strPath += bDump ? QStringLiteral(".syx") : QStringLiteral(".qly");
    return strPath;
}

void CQuenleyApp::OnFileOpen() {
    if (!MayOpenProject())
        return;
    const QString strStart =
        m_recentFiles.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : QFileInfo(m_recentFiles.front()).absolutePath();
    const QString strPath = AskFileName(EFile::Project, false, strStart);
    if (!strPath.isEmpty())
        OpenDocumentFile(strPath);
}

CQuenleyApp::EOpen CQuenleyApp::OpenDocumentFile(const QString& strPath) {
    if (!MayOpenProject())
        return EOpen::Refused;
    m_pDoc = std::make_unique<CQuenleyDoc>(m_pMidiWnd.get());
    m_pDoc->SetHost(this);
    m_pDoc->SetHistory(std::make_unique<CProjectHistory>(*m_pDoc));
    m_strTitle = QFileInfo(strPath).fileName();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool bOpened = m_pDoc->OnOpenDocument(strPath);
    QGuiApplication::restoreOverrideCursor();
    if (!bOpened) {
        const QString strError = m_pDoc->LastError();
        m_bClosingProject = true;
        CloseDocumentNow();
        QByteArray dump;
        if (ReadSysExDump(strPath, dump))
            return OpenDumpAsProject(strPath, dump);
        QuenleyMessage::Show(strError, EIcon::Warning);
        return EOpen::Failed;
    }
    // A project none of whose windows could be reopened still gets one, or it could not be
    // seen or closed.
    if (m_pMainFrame->Frames().isEmpty()) {
        if (CChildFrame* pFrame = NewFrame(ViewTypes::kKit)) {
            pFrame->InitialUpdate();
            pFrame->ActivateFrame();
        }
    }
    AddToRecentFiles(strPath);
    const QString strNotReopened = NotReopenedText(
        m_pDoc->UnknownWindows(), m_pDoc->UnmadeWindows(), m_pDoc->WindowsOverLimit());
    if (!strNotReopened.isEmpty())
        emit StatusMessage(strNotReopened);
    emit DocumentChanged();
    return EOpen::Opened;
}

CQuenleyApp::EOpen CQuenleyApp::OpenDumpAsProject(const QString& strPath, const QByteArray& dump) {
    if (QuenleyMessage::Show(tr("%1 is a SysEx dump, not a project. Make a new project from it?")
                                 .arg(QFileInfo(strPath).fileName()),
                             EIcon::Question, EButtons::YesNo) != EAnswer::Yes)
        return EOpen::Refused;
    const int nUntitled = m_nUntitled;
    if (!MakeNewDocument())
        return EOpen::Failed;
    if (m_pMainFrame->MidiCommands().ReceiveDumpBytes(dump))
        return EOpen::Opened;
    // Nothing was taken: nothing was made, not even a project number.
    m_bClosingProject = true;
    CloseDocumentNow();
    m_nUntitled = nUntitled;
    return EOpen::Refused;
}

QString CQuenleyApp::NotReopenedText(int nUnknown, int nUnmade, int nOverLimit) {
    const int nMax = CQuenleyDoc::kMaxReopenedWindows;
    if (nOverLimit > 0) {
        if (nUnknown == 0 && nUnmade == 0)
            return nOverLimit == 1
                       ? tr("1 saved window was not reopened: a project reopens only the first "
                            "%1.")
                             .arg(nMax)
                       : tr("%1 saved windows were not reopened: a project reopens only the "
                            "first %2.")
                             .arg(nOverLimit)
                             .arg(nMax);
        QStringList parts{tr("%1 past the first %2").arg(nOverLimit).arg(nMax)};
        if (nUnknown > 0)
            parts << tr("%1 of an unknown editor type (the file may be damaged)").arg(nUnknown);
        if (nUnmade > 0)
            parts << tr("%1 whose windows could not be made").arg(nUnmade);
        return tr("%1 saved windows were not reopened: %2.")
            .arg(nOverLimit + nUnknown + nUnmade)
            .arg(parts.join(QStringLiteral(", ")));
    }
    // View types are fixed in the file format, so a type this program lacks means damage.
    if (nUnknown > 0 && nUnmade > 0)
        return tr("%1 saved windows could not be reopened: %2 are of an unknown editor type (the "
                  "file may be damaged), %3 could not be made.")
            .arg(nUnknown + nUnmade)
            .arg(nUnknown)
            .arg(nUnmade);
    if (nUnknown == 1)
        return tr("1 saved window could not be reopened: its editor type is unknown (the file "
                  "may be damaged).");
    if (nUnknown > 1)
        return tr("%1 saved windows could not be reopened: their editor type is unknown (the "
                  "file may be damaged).")
            .arg(nUnknown);
    if (nUnmade == 1)
        return tr("1 saved window could not be reopened: its window could not be made.");
    if (nUnmade > 1)
        return tr("%1 saved windows could not be reopened: their windows could not be made.")
            .arg(nUnmade);
    return {};
}

bool CQuenleyApp::HasViewTemplate(int nViewType) const {
    return GetViewTemplate(nViewType) != nullptr;
}

bool CQuenleyApp::OpenSavedWindow(CQuenleyDoc& doc, const CWorkspace& record) {
    if (&doc != m_pDoc.get())
        return false;
    CChildFrame* pFrame = NewFrame(record.m_nViewType);
    if (!pFrame)
        return false;
    pFrame->RestoreWindow(record);
    return true;
}

void CQuenleyApp::OnModifiedChanged(CQuenleyDoc& doc) {
    if (&doc == m_pDoc.get())
        emit DocumentChanged();
}

void CQuenleyApp::OnContentChanged(CQuenleyDoc& doc) {
    if (&doc != m_pDoc.get())
        return;
    if (m_pRecovery)
        m_pRecovery->NoteChange(doc.IsModified());
    emit ContentChanged();
}

bool CQuenleyApp::DoSave(bool bAskName) {
    if (!m_pDoc)
        return false;
    m_pMainFrame->CommitPendingEdits();
    QString strPath = m_pDoc->GetPathName();
    if (bAskName || strPath.isEmpty()) {
        const QString strSuggested =
            strPath.isEmpty()
                ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                      .filePath(m_strTitle + QStringLiteral(".qly"))
                : strPath;
        strPath = AskFileName(EFile::Project, true, strSuggested);
        if (strPath.isEmpty())
            return false;
    }
    // What another program wrote there since is never overwritten unasked.
    if (QFileInfo(strPath).absoluteFilePath() ==
            QFileInfo(m_pDoc->GetPathName()).absoluteFilePath() &&
        m_pDoc->FileChangedOnDisk()) {
        switch (QuenleyMessage::Show(
            tr("%1 has been changed by another program since it was opened or last saved "
               "here.\n\nYes: overwrite it, losing that program's changes.\nNo: save the "
               "project under another name.\nCancel: do not save.")
                .arg(QDir::toNativeSeparators(strPath)),
            EIcon::Warning, EButtons::YesNoCancel)) {
        case EAnswer::Yes:
            break;
        case EAnswer::No:
            return DoSave(true);
        default:
            return false;
        }
    }
    if (!m_pDoc->OnSaveDocument(strPath)) {
        QuenleyMessage::Show(m_pDoc->LastError(), EIcon::Warning);
        return false;
    }
    m_strTitle = QFileInfo(strPath).fileName();
    AddToRecentFiles(strPath);
    emit DocumentChanged();
    return true;
}

bool CQuenleyApp::SaveModified() {
    if (!m_pDoc || !m_pDoc->IsModified())
        return true;
    switch (QuenleyMessage::Show(tr("Save changes to %1?").arg(m_strTitle), EIcon::Warning,
                                 EButtons::YesNoCancel)) {
    case EAnswer::Yes:
        return DoSave(false);
    case EAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CQuenleyApp::CloseDocument() {
    if (!m_pDoc)
        return true;
    m_pMainFrame->CommitPendingEdits();
    if (!SaveModified())
        return false;
    m_bClosingProject = true;
    CloseDocumentNow();
    return true;
}

bool CQuenleyApp::CanCloseFrame(CChildFrame* pFrame) {
    if (m_bClosingProject || !m_pDoc)
        return true;
    const QList<CChildFrame*> frames = m_pMainFrame->Frames();
    if (frames.size() > 1 || !frames.contains(pFrame))
        return true;
    // The last window of the project: closing it closes the project.
    if (!SaveModified())
        return false;
    m_bLastFrameClosing = true;
    return true;
}

void CQuenleyApp::CloseIfNoFrames() {
    if (!m_pDoc || !m_pMainFrame || !m_pMainFrame->Frames().isEmpty())
        return;
    if (!m_bLastFrameClosing && !m_bClosingProject)
        return;
    m_bClosingProject = true;
    CloseDocumentNow();
}

void CQuenleyApp::CloseDocumentNow() {
    // The views leave the project before it goes, so none of them outlives what it shows: also
    // a window closed a moment ago, which the work area no longer lists but has not deleted yet.
    if (m_pMainFrame) {
        for (CChildFrame* pFrame : m_pMainFrame->findChildren<CChildFrame*>()) {
            pFrame->View()->DetachDocument();
            delete pFrame;
        }
    }
    // A closed project sends nothing more: the port closes and what waits is dropped.
    if (m_pMidiWnd)
        m_pMidiWnd->CloseAndClear();
    if (m_pDoc)
        m_pDoc->OnCloseDocument();
    m_pDoc.reset();
    // Saved or given up: nothing is left to recover.
    if (m_pRecovery)
        m_pRecovery->Discard();
    m_strTitle.clear();
    m_bClosingProject = false;
    m_bLastFrameClosing = false;
    emit DocumentChanged();
}

void CQuenleyApp::OnAppAbout() {
    CAboutDlg dialog(m_pMainFrame.get());
    dialog.exec();
}

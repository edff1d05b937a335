#include "CMidiCommands.h"

#include "CChildFrame.h"
#include "CDView.h"
#include "CDumpPlan.h"
#include "CMainFrame.h"
#include "CMidiInDeviceDlg.h"
#include "CMidiInput.h"
#include "CMidiOutDeviceDlg.h"
#include "CMidiWnd.h"
#include "CModuleRecordKeeper.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CReceiveDumpDlg.h"
#include "CSection.h"
#include "CSysExReader.h"
#include "MidiErrors.h"
#include "ModuleChanges.h"
#include "ProjectFile.h"
#include "ProjectSysEx.h"
#include "QuenleyMessage.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>
#include <vector>

using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

// How many sections a message about unsendable ones names.
constexpr int kListedFaults = 8;

} // namespace

CMidiCommands::CMidiCommands(CQuenleyApp* pApp, CMainFrame* pFrame)
    : QObject(pFrame), m_pApp(pApp), m_pFrame(pFrame) {}

void CMidiCommands::AttachMidi(CMidiWnd* pMidiWnd) {
    m_pMidiWnd = pMidiWnd;
    if (!pMidiWnd)
        return;
    // Queued: the loop that reports a failure must not wait for a message box.
    connect(pMidiWnd, &CMidiWnd::SendFailed, this, &CMidiCommands::OnSendFailed,
            Qt::QueuedConnection);
    connect(pMidiWnd, &CMidiWnd::DeviceGone, this, &CMidiCommands::OnDeviceGone,
            Qt::QueuedConnection);
    m_pRecord = new CModuleRecordKeeper(pMidiWnd);
    connect(m_pRecord, &CModuleRecordKeeper::Problem, m_pFrame, &CMainFrame::ShowStatus);
}

bool CMidiCommands::IsPortOpen() const {
    return m_pMidiWnd && m_pMidiWnd->IsOpen();
}

bool CMidiCommands::IsSending() const {
    return m_pMidiWnd && m_pMidiWnd->QueueLength() > 0;
}

void CMidiCommands::OnPortOpened() {
    m_bSendFailureShown = false;
    m_pFrame->ShowPortState(true);
}

void CMidiCommands::OnPortClosed() {
    m_pFrame->ShowPortState(IsPortOpen());
}

void CMidiCommands::SendVariation() {
    CChildFrame* pFrame = m_pFrame->ActiveFrame();
    CDView* pView = m_pFrame->ActiveView();
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

QString CMidiCommands::SendFaultText(const CSection& section) {
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

QString CMidiCommands::SkippedText(const std::vector<const CSection*>& skipped) {
    QStringList lines;
    for (const CSection* pSection : skipped)
        if (lines.size() < kListedFaults)
            lines << SendFaultText(*pSection);
    if (int(skipped.size()) > kListedFaults)
        lines << tr("and %1 more").arg(int(skipped.size()) - kListedFaults);
    return lines.join('\n');
}

void CMidiCommands::SendProject() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!m_pFrame->ActiveFrame() || !pDoc || pDoc->GetSectionList().empty())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to send the entire project ?"), EIcon::Question,
                             EButtons::YesNo) != EAnswer::Yes)
        return;
    // A damaged file may hold sections the module cannot take; the rest still go.
    std::vector<const CSection*> skipped;
    pDoc->SendProject(&skipped);
    if (skipped.empty())
        return;
    QuenleyMessage::Show(tr("Not sent, the rest of the project was:\n%1").arg(SkippedText(skipped)),
                         EIcon::Warning);
}

void CMidiCommands::SendSections(const std::vector<SSectionKey>& keys) {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return;
    std::vector<const CSection*> skipped;
    const int nSent = pDoc->SendSections(keys, &skipped);
    if (nSent > 0)
        m_pFrame->ShowStatus(nSent == 1 ? tr("Sending 1 variation.")
                                        : tr("Sending %1 variations.").arg(nSent));
    else if (skipped.empty())
        m_pFrame->ShowStatus(tr("The chosen variations are no longer in the project."));
    if (!skipped.empty())
        QuenleyMessage::Show(
            tr("Not sent, the rest of the project was:\n%1").arg(SkippedText(skipped)),
            EIcon::Warning);
}

void CMidiCommands::SendChanges() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!m_pFrame->ActiveFrame() || !pDoc || !m_pRecord)
        return;
    std::vector<const CSection*> skipped;
    const ModuleChanges::SPlan plan = ModuleChanges::Make(*pDoc, m_pRecord->Record(), &skipped);
    if (plan.sends.empty()) {
        if (skipped.empty())
            m_pFrame->ShowStatus(tr("Nothing to send: the module holds the project as it is."));
    } else {
        ModuleChanges::Send(plan);
        m_pFrame->ShowStatus(plan.nValues == 1
                                 ? tr("Sending 1 value the module does not hold.")
                                 : tr("Sending %1 values the module does not hold.")
                                       .arg(plan.nValues));
    }
    if (!skipped.empty())
        QuenleyMessage::Show(
            tr("Not sent, the rest of the project was:\n%1").arg(SkippedText(skipped)),
            EIcon::Warning);
}

void CMidiCommands::ForgetModule() {
    if (!m_pRecord)
        return;
    m_pRecord->Forget();
    m_pFrame->ShowStatus(
        tr("What the module holds is forgotten: Send Changes sends the whole project next."));
}

QString CMidiCommands::ModuleText() const {
    if (!m_pRecord)
        return {};
    // Read even while closed, so that a record is loaded, and a damaged one reported, at start.
    const CModuleRecord& record = m_pRecord->Record();
    const CQuenleyDoc* pDoc = m_pApp->Document();
    if (!IsPortOpen() || !pDoc)
        return {};
    const int nValues = ModuleChanges::ValuesToSend(*pDoc, record);
    if (nValues == 0)
        return tr("module in step");
    return nValues == 1 ? tr("1 value to send") : tr("%1 values to send").arg(nValues);
}

QString CMidiCommands::DumpFileSuggestion() const {
    const QString strProject = m_pApp->Document() ? m_pApp->Document()->GetPathName() : QString();
    if (strProject.isEmpty())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(m_pApp->DocumentTitle() + QStringLiteral(".syx"));
    const QFileInfo info(strProject);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".syx"));
}

void CMidiCommands::TransmitDump() {
    WriteDump(nullptr);
}

void CMidiCommands::TransmitDumpOf(const std::vector<SSectionKey>& keys) {
    WriteDump(&keys);
}

void CMidiCommands::WriteDump(const std::vector<SSectionKey>* pSelection) {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        return;
    }
    if (pSelection ? pDoc->FindSections(*pSelection).empty() : pDoc->GetSectionList().empty()) {
        QuenleyMessage::Show(pSelection ? tr("The chosen variations are no longer in the project.")
                                        : tr("The project holds no variations to transmit."),
                             EIcon::Information);
        return;
    }
    const QString strPath =
        m_pApp->AskFileName(CQuenleyApp::EFile::Dump, true, DumpFileSuggestion());
    if (strPath.isEmpty())
        return;
    // The channel byte Send project puts into its messages.
    const auto nChannel = static_cast<std::uint8_t>(m_pMidiWnd ? m_pMidiWnd->GetMidiChannel() : 0);
    std::vector<const CSection*> skipped;
    const QByteArray bytes = pSelection
                                 ? ProjectSysEx::Messages(*pDoc, *pSelection, nChannel, &skipped)
                                 : ProjectSysEx::Messages(*pDoc, nChannel, &skipped);
    QString strError;
    if (!ProjectFile::Write(strPath, bytes, strError)) {
        QuenleyMessage::Show(strError, EIcon::Warning);
        return;
    }
    m_pFrame->ShowStatus(tr("Dump written to %1.").arg(QDir::toNativeSeparators(strPath)));
    if (skipped.empty())
        return;
    QuenleyMessage::Show(
        tr("Left out of the dump, the rest of the project is in it:\n%1").arg(SkippedText(skipped)),
        EIcon::Warning);
}

void CMidiCommands::ReceiveDump() {
    if (!m_pApp->Document()) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        return;
    }
    const QString strInput = m_pApp->InputDeviceName();
    if (strInput.isEmpty()) {
        if (QuenleyMessage::Choose(tr("Receive the dump from a file?\nTo receive it from the "
                                      "module, choose its MIDI input first: Settings > Midi "
                                      "Devices > Input Device."),
                                   {tr("From a file")}) == 0)
            ReceiveDumpFromFile();
        return;
    }
    switch (QuenleyMessage::Choose(
        tr("Receive the dump from the module, through \"%1\", or from a file?").arg(strInput),
        {tr("From the module"), tr("From a file")})) {
    case 0:
        ReceiveDumpFromModule();
        break;
    case 1:
        ReceiveDumpFromFile();
        break;
    default:
        break;
    }
}

void CMidiCommands::ReceiveDumpFromFile() {
    const QString strPath = m_pApp->AskFileName(CQuenleyApp::EFile::Dump, false,
                                                QFileInfo(DumpFileSuggestion()).absolutePath());
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

void CMidiCommands::ReceiveDumpFromModule() {
    CQuenleyDoc* pDoc = m_pApp->Document();
    CMidiInput* pInput = m_pApp->MidiInput();
    if (!pDoc || !pInput)
        return;
    const QString strInput = m_pApp->InputDeviceName();
    QString strError;
    if (!pInput->Open(strInput, &strError)) {
        QuenleyMessage::Show(strError + tr("\nNothing was received."), EIcon::Warning);
        return;
    }
    QList<QByteArray> messages;
    CReceiveDumpDlg::EEnd eEnd = CReceiveDumpDlg::EEnd::Cancelled;
    {
        CReceiveDumpDlg dialog(*pInput, *pDoc, CQuenleyApp::ReceiveQuietMs(), m_pFrame);
        dialog.exec();
        eEnd = dialog.End();
        messages = dialog.Messages();
    }
    // Closed first: a message cut off by the end is counted with the broken ones.
    pInput->Close();
    const int nOther = pInput->OtherMessages();
    const int nBroken = pInput->BrokenMessages();
    // What the module sent is what it holds, whether or not the project takes it.
    if (eEnd != CReceiveDumpDlg::EEnd::Cancelled && eEnd != CReceiveDumpDlg::EEnd::Running)
        for (const QByteArray& message : messages)
            m_pRecord->Absorb(reinterpret_cast<const std::uint8_t*>(message.constData()),
                              std::size_t(message.size()));
    switch (eEnd) {
    case CReceiveDumpDlg::EEnd::Cancelled:
    case CReceiveDumpDlg::EEnd::Running:
        return;
    case CReceiveDumpDlg::EEnd::DeviceGone:
        QuenleyMessage::Show(tr("The MIDI input \"%1\" is no longer there, so the receive "
                                "was stopped.\nThe project stays as it is.")
                                 .arg(strInput),
                             EIcon::Warning);
        return;
    case CReceiveDumpDlg::EEnd::Quiet:
    case CReceiveDumpDlg::EEnd::Done:
        break;
    }
    if (messages.isEmpty()) {
        QuenleyMessage::Show(tr("Nothing came from the module through \"%1\".\nThe project "
                                "stays as it is.")
                                 .arg(strInput),
                             EIcon::Information);
        return;
    }
    CSysExReader reader;
    for (const QByteArray& message : messages)
        reader.Read(message);
    // What the input only counted is told as a file's dump would tell it.
    reader.AddSkipped(CSysExReader::kOtherMessage, nOther);
    reader.AddSkipped(CSysExReader::kTruncated, nBroken);
    TakeDump(reader);
}

bool CMidiCommands::ReceiveDumpBytes(const QByteArray& bytes) {
    CSysExReader reader;
    reader.Read(bytes);
    return TakeDump(reader);
}

bool CMidiCommands::TakeDump(const CSysExReader& reader) {
    CQuenleyDoc* pDoc = m_pApp->Document();
    if (!pDoc)
        return false;
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
    m_pFrame->ShowStatus(tr("Dump received: %1 of %2 variations changed.")
                             .arg(nChanged)
                             .arg(plan.Variations().size()));
    return true;
}

void CMidiCommands::ClearBuffer() {
    if (!m_pMidiWnd || !m_pFrame->ActiveFrame() || !m_pApp->Document())
        return;
    if (QuenleyMessage::Show(tr("Are you sure to clear the send buffer ?"), EIcon::Warning,
                             EButtons::YesNo) != EAnswer::Yes)
        return;
    m_pMidiWnd->DestroySysExList();
}

void CMidiCommands::Activate() {
    if (!m_pMidiWnd)
        return;
    // Opened at start-up, the port is open before any project is.
    if (m_pMidiWnd->IsOpen()) {
        m_pFrame->ShowPortState(true);
        return;
    }
    if (!m_pFrame->ActiveFrame() || !m_pApp->Document()) {
        QuenleyMessage::Show(tr("No existing project !\n"), EIcon::Warning);
        m_pFrame->ShowPortState(false);
        return;
    }
    OpenPort();
}

void CMidiCommands::ActivateAtStart() {
    if (m_pMidiWnd && !m_pMidiWnd->IsOpen() && IsPortChosen())
        OpenPort();
}

bool CMidiCommands::IsPortChosen() const {
    // A device chosen and missing at the moment is looked for again by the open.
    return m_pMidiWnd->IsReady() ||
           (!m_pMidiWnd->GetMidiDeviceName().empty() && (m_pMidiWnd->GetState() & DMIDI_CHANNEL));
}

void CMidiCommands::OpenPort() {
    if (!IsPortChosen()) {
        QuenleyMessage::Show(tr("Choose Midi-Device first !"), EIcon::Warning);
        m_pFrame->ShowPortState(false);
        return;
    }
    if (!m_pMidiWnd->DMidiOutActivate() && !m_pMidiWnd->IsOpen()) {
        m_pFrame->ShowPortState(false);
        QuenleyMessage::Show(tr("The MIDI output \"%1\" could not be opened: %2.")
                                 .arg(DeviceName(), OpenFailureText()),
                             EIcon::Warning);
        return;
    }
    m_pFrame->ShowPortState(m_pMidiWnd->IsOpen());
}

void CMidiCommands::Deactivate() {
    if (!m_pMidiWnd)
        return;
    if (m_pMidiWnd->IsReady() && m_pMidiWnd->IsOpen() && !m_pMidiWnd->DMidiOutDeactivate())
        m_pFrame->ShowStatus(tr("The port stays open: %1.")
                                 .arg(tr(MidiErrors::ReasonText(m_pMidiWnd->LastResult()))));
    m_pFrame->ShowPortState(m_pMidiWnd->IsOpen());
}

void CMidiCommands::ResetPort() {
    if (m_pMidiWnd && m_pMidiWnd->IsReady())
        m_pMidiWnd->ResetPort();
    m_pFrame->ShowPortState(IsPortOpen());
}

QString CMidiCommands::DeviceName() const {
    return m_pMidiWnd ? QString::fromStdString(m_pMidiWnd->GetMidiDeviceName()) : QString();
}

QString CMidiCommands::OpenFailureText() const {
    return QString::fromStdString(
        MidiErrors::OpenFailureText(m_pMidiWnd->LastOpenError(), m_pMidiWnd->LastResult()));
}

void CMidiCommands::OnDeviceGone(const QString& strDevice, int nKept) {
    if (!m_pMidiWnd)
        return;
    m_pFrame->ShowPortState(m_pMidiWnd->IsOpen());
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
    m_pFrame->ShowStatus(strText);
    QuenleyMessage::Show(strText + QLatin1Char('\n') + strKept, EIcon::Warning);
}

void CMidiCommands::OnSendFailed(unsigned nResult) {
    if (!m_pMidiWnd)
        return;
    const QString strText = tr("A message to \"%1\" could not be sent: %2.")
                                .arg(DeviceName(), tr(MidiErrors::ReasonText(nResult)));
    // Told once with a box; after that a failing device would bury the user in them.
    if (!m_bSendFailureShown) {
        m_bSendFailureShown = true;
        QuenleyMessage::Show(strText, EIcon::Warning);
    }
    m_pFrame->ShowStatus(strText);
    m_pFrame->UpdateStatusPanes();
}

void CMidiCommands::DeviceDialog() {
    if (!m_pMidiWnd)
        return;
    CMidiOutDeviceDlg dialog(m_pMidiWnd, m_pFrame);
    dialog.SetActivateAtStart(m_pApp->ActivateAtStart());
    if (dialog.exec() == QDialog::Accepted) {
        m_pApp->NoteDeviceChosen();
        m_pApp->SetActivateAtStart(dialog.ActivateAtStart());
    }
    m_pFrame->UpdateStatusPanes();
}

void CMidiCommands::InputDeviceDialog() {
    CMidiInDeviceDlg dialog(m_pApp->MidiInput(), m_pApp->InputDeviceName(), m_pFrame);
    if (dialog.exec() == QDialog::Accepted)
        m_pApp->SetInputDeviceName(dialog.ChosenName());
}

QString CMidiCommands::PortText() const {
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

QString CMidiCommands::QueueText() const {
    if (!m_pMidiWnd || m_pMidiWnd->QueueLength() == 0)
        return {};
    const int nSeconds = int(std::ceil(double(m_pMidiWnd->EstimatedMsLeft()) / 1000.0));
    const int nWaiting = m_pMidiWnd->QueueLength();
    const QString strCount = nWaiting == 1 ? tr("1 message") : tr("%1 messages").arg(nWaiting);
    if (!m_pMidiWnd->IsOpen())
        return tr("%1 waiting for the port").arg(strCount);
    return tr("%1 waiting, about %2 s left").arg(strCount).arg(nSeconds);
}

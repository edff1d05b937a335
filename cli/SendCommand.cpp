#include "CliArgs.h"
#include "CliCommands.h"
#include "StopSignals.h"

#include "CMidiWnd.h"
#include "CModuleRecordKeeper.h"
#include "CMsgEvent.h"
#include "CQuenleyDoc.h"
#include "CRtMidiDriver.h"
#include "CSysExFileDriver.h"
#include "CSysExItem.h"
#include "MidiErrors.h"
#include "ModuleChanges.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>


namespace Cli {

namespace {

constexpr int kPollMs = 50;
// How long a port may take to open, or to give back what it holds before we close it regardless.
constexpr int kCloseGraceMs = 5000;

// Drives one send of a whole project through the transmit queue: watches the port, shows the
// progress, and ends when the queue is empty, the port fails, or the user stops it. It is the
// queue's parent, so the port's open and close notifications come here.
class CProjectSender : public QObject {
public:
    CProjectSender(CMidiWnd& wnd, QTextStream& err)
        : m_wnd(wnd), m_err(err), m_bTerminal(StderrIsTerminal()) {
        connect(&m_poll, &QTimer::timeout, this, &CProjectSender::Poll);
    }

    void SetPortName(const QString& strPort) { m_strPort = strPort; }

    // Runs the event loop until the send is over; returns the exit code.
    int Run(int nTotal) {
        m_nTotal = nTotal;
        // A done message that came back failed means the device is gone; the window itself
        // would just carry on with the next message.
        m_wnd.installEventFilter(this);
        m_poll.start(kPollMs);
        m_startClock.start();
        m_progressClock.start();
        ShowProgress(true);
        const int nCode = m_loop.exec();
        m_wnd.removeEventFilter(this);
        return nCode;
    }

protected:
    bool event(QEvent* pEvent) override {
        if (CMsgEvent* pMsg = Msg::From(pEvent)) {
            if (pMsg->Message() == WM_MIDIOUT_OPEN)
                m_bOpened = true;
            else if (pMsg->Message() == WM_MIDIOUT_CLOSE && m_eState == kSending)
                NoteFailure(QStringLiteral("the port closed while sending"));
            return true;
        }
        return QObject::event(pEvent);
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pWatched == &m_wnd) {
            const CMsgEvent* pMsg = Msg::From(pEvent);
            if (pMsg && pMsg->Message() == WM_MIDIOUT_DONE && pMsg->WParam() != 0) {
                // Still ours here: the window releases the header only after this filter.
                const auto* pHeader = reinterpret_cast<const DMidiHeader*>(pMsg->WParam());
                if (pHeader->dwFlags & MHDR_FAILED)
                    NoteFailure(QStringLiteral("the device stopped taking messages"));
                else
                    ++m_nSent;
            }
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    enum EState { kSending, kClosing };

    void NoteFailure(const QString& strWhat) {
        if (m_strFailure.isEmpty())
            m_strFailure = strWhat;
    }

    void Poll() {
        if (m_eState == kSending) {
            // A refused send leaves the queue waiting for a done that never comes.
            if (m_strFailure.isEmpty() && m_wnd.LastResult() != MMSYSERR_NOERROR)
                NoteFailure(QStringLiteral("the port refused a message (error %1)")
                                .arg(m_wnd.LastResult()));
            if (!m_bOpened && m_startClock.elapsed() > kCloseGraceMs)
                NoteFailure(QStringLiteral("the port never reported that it opened"));
            if (const int nSignal = StopSignal()) {
                // Told once the port is closed, when the count can no longer change.
                m_strStopped = QStringLiteral("stopped by signal %1 (%2)")
                                   .arg(nSignal)
                                   .arg(QLatin1String(SignalName(nSignal)));
                StartClosing(kExitInterrupted);
            } else if (!m_strFailure.isEmpty()) {
                EndLine();
                m_err << "quenley-cli send: " << m_strPort << ": " << m_strFailure << "\n";
                StartClosing(kExitFailure);
            } else if (m_bOpened && m_wnd.IsIdle() && m_wnd.QueueLength() == 0) {
                ShowProgress(true);
                EndLine();
                StartClosing(kExitOk);
            } else {
                ShowProgress(false);
            }
        }
        if (m_eState == kClosing)
            TryClose();
    }

    void StartClosing(int nCode) {
        m_eState = kClosing;
        m_nExitCode = nCode;
        m_closeClock.start();
        // The window hands the port one message at a time, so once that one is done the port
        // holds nothing and lets itself be closed.
        if (nCode != kExitOk)
            m_wnd.DestroySysExList();
    }

    void TryClose() {
        if (m_wnd.IsOpen()) {
            // Each close attempt sends All Notes Off, so wait for the message in flight first.
            if (!m_wnd.IsIdle() && m_closeClock.elapsed() < kIdleWaitMs)
                return;
            if (!m_wnd.DMidiOutDeactivate()) {
                if (m_closeClock.elapsed() < kCloseGraceMs)
                    return;
                m_err << "quenley-cli send: " << m_strPort << ": the port would not close\n";
                if (m_nExitCode == kExitOk)
                    m_nExitCode = kExitFailure;
            }
        }
        m_poll.stop();
        if (!m_strStopped.isEmpty()) {
            // The message in flight when the signal came has gone out by now: the last
            // progress line and the count below say what the module really got.
            ShowProgress(true);
            EndLine();
            m_err << "quenley-cli send: " << m_strStopped << " after " << m_nSent << " of "
                  << m_nTotal << " messages; the rest of the project was not sent\n";
        }
        m_loop.exit(m_nExitCode);
    }

    void ShowProgress(bool bForce) {
        // A terminal line is redrawn often; a log gets a line about every second.
        const qint64 nInterval = m_bTerminal ? 100 : 1000;
        if (!bForce && m_progressClock.elapsed() < nInterval)
            return;
        m_progressClock.restart();
        qint64 nMicros = 0;
        for (const auto& pItem : m_wnd.Queue()) {
            nMicros += static_cast<qint64>(pItem->nLength) * CRtMidiDriver::kMicrosPerByte;
            if (pItem->IsBlock())
                nMicros += CMidiWnd::kBlockPauseMs * 1000;
        }
        QString strLine = QStringLiteral("sent %1/%2 messages").arg(m_nSent).arg(m_nTotal);
        // Once stopped, nothing more is coming.
        if (m_eState == kSending)
            strLine += QStringLiteral(", about %1 s left")
                           .arg(static_cast<double>(nMicros) / 1e6, 0, 'f', 1);
        if (m_bTerminal) {
            m_err << "\r" << strLine.leftJustified(m_nLineWidth);
            m_nLineWidth = static_cast<int>(strLine.size());
            m_bLineOpen = true;
        } else {
            m_err << strLine << "\n";
        }
        m_err.flush();
    }

    void EndLine() {
        if (m_bLineOpen)
            m_err << "\n";
        m_bLineOpen = false;
        m_err.flush();
    }

    static constexpr int kIdleWaitMs = 1000;

    CMidiWnd& m_wnd;
    QTextStream& m_err;
    QString m_strPort;
    QString m_strFailure;
    QString m_strStopped; // how the user stopped the send; empty while nobody did
    int m_nSent = 0;      // messages the port reported done without failure
    bool m_bTerminal;
    bool m_bLineOpen = false;
    int m_nLineWidth = 0;
    bool m_bOpened = false;
    int m_nTotal = 0;
    EState m_eState = kSending;
    int m_nExitCode = kExitOk;
    QTimer m_poll;
    QEventLoop m_loop;
    QElapsedTimer m_startClock;
    QElapsedTimer m_progressClock;
    QElapsedTimer m_closeClock;
};

} // namespace

int Send(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "send",
        "FILE.qly --port N [--channel C] [--changes]",
        "Sends the whole project to the module through MIDI output N (numbered as\n"
        "'quenley-cli ports' lists them) on MIDI channel C, 1 to 16 (1 when not given),\n"
        "as the editor's \"Send project\" does, and shows the progress. Ctrl-C (or\n"
        "SIGTERM, or SIGHUP) stops the send, drops what was not sent yet and says how\n"
        "much went out (exit code 130). A section that cannot be sent as it is (a number\n"
        "or value out of range) is named and left out, and the exit code is 1. FILE.qly\n"
        "may be - for standard input.\n"
        "With --changes only the values the module does not hold yet are sent, as the\n"
        "editor's \"Send Changes\" sends them: the editor and this command keep one record\n"
        "of what the module on each output and channel holds, and every send adds to it\n"
        "what the port confirmed. A send that fails or is stopped drops that record.\n",
        {QStringLiteral("port"), QStringLiteral("channel")},
        1};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err, {QStringLiteral("changes")});
        nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const bool bChanges = a.options.contains(QStringLiteral("changes"));
    if (!a.options.contains(QStringLiteral("port"))) {
        err << strPrefix << ": --port N is needed; 'quenley-cli ports' lists the outputs\n";
        return kExitUsage;
    }
    int nPort = 0;
    int nChannel = 1;
    if (!IntOption(a, QStringLiteral("port"), 0, 0xFFFF, 0, nPort, strPrefix, err) ||
        !IntOption(a, QStringLiteral("channel"), 1, 16, 1, nChannel, strPrefix, err))
        return kExitUsage;
    const QString& strPath = a.positional.first();

    CMidiWnd wnd;
    CProjectSender sender(wnd, err);
    if (!wnd.Create(&sender) || !wnd.DMidiOutInit()) {
        err << strPrefix << ": no MIDI output device found\n";
        return kExitFailure;
    }
    if (!wnd.SetMidiDevice(static_cast<std::uint32_t>(nPort))) {
        err << strPrefix << ": there is no MIDI output " << nPort << "; 'quenley-cli ports' lists "
            << wnd.GetNumDevs() << " (0 to " << wnd.GetNumDevs() - 1 << ")\n";
        return kExitFailure;
    }
    wnd.SetMidiChannel(static_cast<std::uint16_t>(nChannel - 1));
    const QString strDevice =
        QString::fromUtf8(wnd.GetDeviceName(static_cast<std::uint32_t>(nPort)));
    const QString strPort = QStringLiteral("port %1 (%2)").arg(nPort).arg(strDevice);
    sender.SetPortName(strPort);

    CQuenleyDoc doc(&wnd);
    if (!LoadProject(strPath, doc, strPrefix, err))
        return kExitFailure;
    const QString strName = InputName(strPath);
    if (doc.GetSectionList().empty()) {
        err << strPrefix << ": " << strName << ": the project is empty; nothing to send\n";
        return kExitOk;
    }
    // Named before anything goes out, so that a send that cannot be complete is known as such.
    std::size_t nSkipped = 0;
    for (const auto& pSection : doc.GetSectionList()) {
        if (const QString strFault = SendFaultText(*pSection); !strFault.isEmpty()) {
            err << strPrefix << ": " << strName << ": " << SectionName(*pSection)
                << " is not sent: " << strFault << "\n";
            ++nSkipped;
        }
    }
    if (nSkipped == doc.GetSectionList().size()) {
        err << strPrefix << ": " << strName << ": nothing in the project can be sent\n";
        return kExitFailure;
    }

    // The record of this port and channel: what goes out is added to it, a cut-off send drops it.
    auto* pRecord = new CModuleRecordKeeper(&wnd);
    QObject::connect(pRecord, &CModuleRecordKeeper::Problem, pRecord,
                     [&err, &strPrefix](const QString& strText) {
                         err << strPrefix << ": " << strText << "\n";
                         err.flush();
                     });
    ModuleChanges::SPlan plan;
    if (bChanges) {
        plan = ModuleChanges::Make(doc, pRecord->Record());
        if (plan.sends.empty()) {
            err << strPrefix << ": " << strName
                << ": nothing to send: the module holds the project as it is\n";
            return nSkipped > 0 ? kExitFailure : kExitOk;
        }
    }

    CStopSignals stopSignals;
    if (!wnd.DMidiOutActivate()) {
        const bool bBusy = wnd.LastResult() == MMSYSERR_ALLOCATED;
        const bool bFile = strDevice == QLatin1String(CSysExFileDriver::kDeviceName);
        // In the editor's words, which name the program holding the port where the driver can.
        err << strPrefix << ": " << strPort << ": the port could not be opened: "
            << QString::fromStdString(
                   MidiErrors::OpenFailureText(wnd.LastOpenError(), wnd.LastResult()))
            << " (error " << wnd.LastResult() << ")";
        if (bFile && bBusy)
            err << "; its lock is " << CSysExFileDriver().LockPath();
        else if (bFile && wnd.LastOpenError().empty())
            err << "; cannot write " << CSysExFileDriver::DefaultPath();
        err << "\n";
        return kExitFailure;
    }
    // Messages collect until the port reports open; then the send loop takes them oldest first.
    if (bChanges) {
        ModuleChanges::Send(plan);
        err << strPrefix << ": " << strName << ": " << plan.nValues
            << " values the module does not hold yet\n";
    } else {
        doc.SendProject();
    }
    int nCode = sender.Run(wnd.QueueLength());
    // Nothing may be left for the window's destructor to send after we report.
    wnd.DestroySysExList();
    if (!pRecord->Flush() && nCode == kExitOk)
        nCode = kExitFailure;
    if (nCode == kExitOk && nSkipped > 0)
        nCode = kExitFailure;
    return nCode;
}

} // namespace Cli

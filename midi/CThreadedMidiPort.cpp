#include "CThreadedMidiPort.h"

#include "CMidiSink.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Job {
    enum Kind { Short, Long, Return, Close } eKind = Short;
    std::vector<std::uint8_t> bytes; // a private copy: the caller's buffer may go away
    DMidiHeader* pHeader = nullptr;
};
} // namespace

struct CThreadedMidiPort::State {
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Job> jobs;
    std::unique_ptr<CMidiSink> pSink;
    MidiOutProc pProc = nullptr;
    void* pInstance = nullptr;
    std::chrono::milliseconds stallBound{2000};

    int nLongPending = 0; // long messages queued or in flight
    bool bCloseQueued = false;
    bool bStop = false;     // the port object is going away
    bool bSilenced = false; // nobody may be notified any more
    bool bDead = false;     // the watchdog gave up on the sink
    bool bWriting = false;
    unsigned nWriteSeq = 0;
    Clock::time_point writeStart;
    DMidiHeader* pWriting = nullptr;
    bool bWorkerDone = false;
    bool bWatchdogDone = false;

    void NotifyLocked(EMidiNotify eNotify, DMidiHeader* pHeader) {
        if (!bSilenced && pProc)
            pProc(pInstance, eNotify, pHeader);
    }
    // Gives up on the sink: everything handed over comes back failed, later sends are refused,
    // and a close already asked for is still announced.
    void DeclareDeadLocked() {
        bDead = true;
        if (pWriting)
            CompleteLocked(pWriting, false, MHDR_NODEVICE);
        pWriting = nullptr;
        std::deque<Job> dropped;
        dropped.swap(jobs);
        for (Job& job : dropped) {
            if (job.eKind == Job::Long)
                CompleteLocked(job.pHeader, false, MHDR_NODEVICE);
            else if (job.eKind == Job::Return)
                CompleteLocked(job.pHeader, false);
            else if (job.eKind == Job::Close)
                NotifyLocked(EMidiNotify::Close, nullptr);
        }
        cv.notify_all();
    }
    void CompleteLocked(DMidiHeader* pHeader, bool bOk, std::uint32_t nWhy = 0) {
        pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        if (!bOk)
            pHeader->dwFlags |= MHDR_FAILED | nWhy;
        --nLongPending;
        NotifyLocked(EMidiNotify::Done, pHeader);
    }
};

CThreadedMidiPort::CThreadedMidiPort(std::unique_ptr<CMidiSink> pSink, MidiOutProc pProc,
                                     void* pInstance, std::chrono::milliseconds stallBound)
    : m_pState(std::make_shared<State>()) {
    m_pState->pSink = std::move(pSink);
    m_pState->pProc = pProc;
    m_pState->pInstance = pInstance;
    m_pState->stallBound = stallBound;
    m_worker = std::thread(RunWorker, m_pState);
    m_watchdog = std::thread(RunWatchdog, m_pState);
}

CThreadedMidiPort::~CThreadedMidiPort() {
    // A close announced from its own thread must be out before everything is silenced.
    if (m_notifier.joinable())
        m_notifier.join();
    State& s = *m_pState;
    std::unique_lock lock(s.mutex);
    if (!s.bCloseQueued) {
        // Destroyed without a close: drop what waits, tell nobody.
        s.jobs.clear();
        s.bSilenced = true;
    }
    s.bStop = true;
    s.cv.notify_all();
    auto finished = [&] { return s.bWorkerDone && s.bWatchdogDone; };
    // A dead sink may hold its thread for good: do not wait for it.
    const bool bFinished = s.bDead ? finished() : s.cv.wait_for(lock, s.stallBound, finished);
    s.bSilenced = true;
    lock.unlock();
    if (bFinished) {
        m_worker.join();
        m_watchdog.join();
    } else {
        // A sink stuck inside the back end cannot be interrupted; the threads keep the state
        // alive and end with the process.
        m_worker.detach();
        m_watchdog.detach();
    }
}

void CThreadedMidiPort::RunWorker(std::shared_ptr<State> pState) {
    State& s = *pState;
    std::unique_lock lock(s.mutex);
    s.NotifyLocked(EMidiNotify::Open, nullptr);
    for (;;) {
        s.cv.wait(lock, [&] { return !s.jobs.empty() || s.bStop; });
        if (s.jobs.empty() || s.bDead)
            break;
        Job job = std::move(s.jobs.front());
        s.jobs.pop_front();
        if (job.eKind == Job::Return) {
            s.CompleteLocked(job.pHeader, false);
            continue;
        }
        if (job.eKind == Job::Close) {
            lock.unlock();
            s.pSink->Close();
            lock.lock();
            s.NotifyLocked(EMidiNotify::Close, nullptr);
            break;
        }
        if (s.pSink->IsGone()) {
            if (job.eKind == Job::Long)
                s.CompleteLocked(job.pHeader, false, MHDR_NODEVICE);
            s.DeclareDeadLocked();
            break;
        }
        const Clock::time_point start = Clock::now();
        s.bWriting = true;
        s.writeStart = start;
        s.pWriting = job.pHeader;
        ++s.nWriteSeq;
        s.cv.notify_all();
        lock.unlock();
        const bool bOk = s.pSink->Write(job.bytes.data(), job.bytes.size());
        const Clock::time_point taken = Clock::now();
        lock.lock();
        s.bWriting = false;
        s.pWriting = nullptr;
        s.cv.notify_all();
        if (s.bDead)
            break; // the watchdog has reported this message already
        // Never report done sooner than the device can carry the bytes, counted from when the
        // sink had them all: from the call's start, done could come a little earlier than the
        // pace after the device first saw them.
        const Clock::time_point due = taken + s.pSink->Pace(job.bytes.size());
        if (bOk)
            s.cv.wait_until(lock, due, [&] { return s.bSilenced; });
        if (job.eKind == Job::Long)
            s.CompleteLocked(job.pHeader, bOk);
    }
    if (s.bDead) {
        // Letting go of a back end whose server died can take a second: that is done here,
        // not in whichever thread drops the port last, which is usually the user interface's.
        std::unique_ptr<CMidiSink> pDeadSink = std::move(s.pSink);
        lock.unlock();
        pDeadSink.reset();
        lock.lock();
    }
    s.bWorkerDone = true;
    s.cv.notify_all();
}

void CThreadedMidiPort::RunWatchdog(std::shared_ptr<State> pState) {
    State& s = *pState;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.cv.wait(lock, [&] { return s.bWorkerDone || s.bWriting; });
        if (s.bWorkerDone)
            break;
        const unsigned nSeq = s.nWriteSeq;
        const Clock::time_point deadline = s.writeStart + s.stallBound;
        const bool bMoved = s.cv.wait_until(
            lock, deadline, [&] { return s.bWorkerDone || !s.bWriting || s.nWriteSeq != nSeq; });
        if (bMoved)
            continue;
        // The sink is stuck (a back end waiting forever on a server that died).
        s.DeclareDeadLocked();
        break;
    }
    s.bWatchdogDone = true;
    s.cv.notify_all();
}

bool CThreadedMidiPort::IsDead() const {
    std::lock_guard lock(m_pState->mutex);
    return m_pState->bDead;
}

std::size_t CThreadedMidiPort::ShortMsgLength(std::uint8_t nStatus) {
    if (nStatus < 0x80)
        return 0;
    if (nStatus < 0xF0)
        return (nStatus & 0xE0) == 0xC0 ? 2 : 3; // program change and channel pressure: 2
    switch (nStatus) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}

MMRESULT CThreadedMidiPort::Close() {
    State& s = *m_pState;
    std::lock_guard lock(s.mutex);
    if (s.bCloseQueued)
        return MMSYSERR_INVALHANDLE;
    if (s.nLongPending > 0)
        return MIDIERR_STILLPLAYING;
    s.bCloseQueued = true;
    if (s.bDead) {
        // The worker is stuck; announce the close from a thread of our own.
        std::shared_ptr<State> pState = m_pState;
        m_notifier = std::thread([pState] {
            std::lock_guard inner(pState->mutex);
            pState->NotifyLocked(EMidiNotify::Close, nullptr);
        });
        return MMSYSERR_NOERROR;
    }
    Job job;
    job.eKind = Job::Close;
    s.jobs.push_back(std::move(job));
    s.cv.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT CThreadedMidiPort::Reset() {
    State& s = *m_pState;
    std::lock_guard lock(s.mutex);
    if (s.bCloseQueued)
        return MMSYSERR_INVALHANDLE;
    // Waiting long messages go back in their order, after the one in flight.
    std::deque<Job> kept;
    std::deque<Job> returned;
    for (Job& job : s.jobs) {
        if (job.eKind == Job::Long) {
            Job ret;
            ret.eKind = Job::Return;
            ret.pHeader = job.pHeader;
            returned.push_back(std::move(ret));
        } else {
            kept.push_back(std::move(job));
        }
    }
    for (Job& job : kept)
        returned.push_back(std::move(job));
    s.jobs.swap(returned);
    s.cv.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT CThreadedMidiPort::ShortMsg(std::uint32_t dwMsg) {
    State& s = *m_pState;
    const std::size_t nLength = ShortMsgLength(static_cast<std::uint8_t>(dwMsg & 0xFF));
    if (nLength == 0)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(s.mutex);
    if (s.bCloseQueued)
        return MMSYSERR_INVALHANDLE;
    if (s.bDead)
        return MIDIERR_NODEVICE;
    Job job;
    for (std::size_t i = 0; i < nLength; ++i)
        job.bytes.push_back(static_cast<std::uint8_t>((dwMsg >> (8 * i)) & 0xFF));
    s.jobs.push_back(std::move(job));
    s.cv.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT CThreadedMidiPort::PrepareHeader(DMidiHeader* pHeader) {
    if (!pHeader || !pHeader->lpData)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(m_pState->mutex);
    if (m_pState->bCloseQueued)
        return MMSYSERR_INVALHANDLE;
    pHeader->dwFlags =
        (pHeader->dwFlags | MHDR_PREPARED) & ~(MHDR_DONE | MHDR_FAILED | MHDR_NODEVICE);
    return MMSYSERR_NOERROR;
}

MMRESULT CThreadedMidiPort::LongMsg(DMidiHeader* pHeader) {
    if (!pHeader)
        return MMSYSERR_INVALPARAM;
    State& s = *m_pState;
    std::lock_guard lock(s.mutex);
    if (s.bCloseQueued)
        return MMSYSERR_INVALHANDLE;
    if (!(pHeader->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if (pHeader->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    if (s.bDead)
        return MIDIERR_NODEVICE;
    Job job;
    job.eKind = Job::Long;
    job.pHeader = pHeader;
    job.bytes.assign(pHeader->lpData, pHeader->lpData + pHeader->dwBufferLength);
    pHeader->dwFlags =
        (pHeader->dwFlags | MHDR_INQUEUE) & ~(MHDR_DONE | MHDR_FAILED | MHDR_NODEVICE);
    ++s.nLongPending;
    s.jobs.push_back(std::move(job));
    s.cv.notify_all();
    return MMSYSERR_NOERROR;
}

MMRESULT CThreadedMidiPort::UnprepareHeader(DMidiHeader* pHeader) {
    if (!pHeader)
        return MMSYSERR_INVALPARAM;
    std::lock_guard lock(m_pState->mutex);
    if (pHeader->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    pHeader->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

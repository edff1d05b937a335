#include "CRtMidiDriver.h"

#include "CMidiSink.h"
#include "CThreadedMidiPort.h"

#include <RtMidi.h>

#ifdef QUENLEY_WITH_JACK
#include <jack/jack.h>
#endif

#include <atomic>
#include <chrono>

#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_UNIX) || defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define QUENLEY_CAN_MUTE_STDERR 1
#endif

namespace {

const char kClientName[] = "Quenley";

// Records the errors RtMidi reports through its callback; with a callback installed RtMidi
// reports instead of throwing.
struct ErrorTrap {
    bool bFailed = false;
    std::string strText;

    static void Callback(RtMidiError::Type eType, const std::string& strText, void* pUser) {
        auto* pTrap = static_cast<ErrorTrap*>(pUser);
        if (eType == RtMidiError::WARNING || eType == RtMidiError::DEBUG_WARNING)
            return;
        pTrap->bFailed = true;
        pTrap->strText = strText;
    }
};

// The sound libraries behind RtMidi print their own complaints (no sequencer device, no JACK
// server) straight to stderr while a client starts; we report failures through result codes,
// so they are muted unless QUENLEY_MIDI_DEBUG is set.
class CStderrMute {
public:
    CStderrMute() {
#ifdef QUENLEY_CAN_MUTE_STDERR
        if (std::getenv("QUENLEY_MIDI_DEBUG"))
            return;
        std::fflush(stderr);
        m_nSaved = dup(STDERR_FILENO);
        const int nNull = open("/dev/null", O_WRONLY);
        if (m_nSaved >= 0 && nNull >= 0)
            dup2(nNull, STDERR_FILENO);
        if (nNull >= 0)
            close(nNull);
#endif
    }
    ~CStderrMute() {
#ifdef QUENLEY_CAN_MUTE_STDERR
        if (m_nSaved >= 0) {
            std::fflush(stderr);
            dup2(m_nSaved, STDERR_FILENO);
            close(m_nSaved);
        }
#endif
    }
    CStderrMute(const CStderrMute&) = delete;
    CStderrMute& operator=(const CStderrMute&) = delete;

private:
    int m_nSaved = -1;
};

std::unique_ptr<RtMidiOut> MakeOut(RtMidi::Api eApi, std::string& strError) {
    try {
        return std::make_unique<RtMidiOut>(eApi, kClientName);
    } catch (const RtMidiError& e) {
        strError = e.getMessage();
    } catch (...) {
        strError = "MIDI back end failed to start";
    }
    return nullptr;
}

// Hears the JACK server shut down. RtMidi does not, and its send then waits for buffer space
// forever; with this the port stops handing it messages as soon as the server is gone. It also
// knows the server's period: a message handed to RtMidi leaves only with the next period, so a
// message counts as done only after that, and the pause before a block really separates it
// from the message before.
class CJackWatch {
public:
    CJackWatch() {
#ifdef QUENLEY_WITH_JACK
        m_pClient = jack_client_open("Quenley-watch", JackNoStartServer, nullptr);
        if (m_pClient) {
            jack_on_shutdown(m_pClient, &CJackWatch::OnShutdown, this);
            jack_set_buffer_size_callback(m_pClient, &CJackWatch::OnBufferSize, this);
            OnBufferSize(jack_get_buffer_size(m_pClient), this);
            jack_activate(m_pClient);
        }
#endif
    }
    ~CJackWatch() {
#ifdef QUENLEY_WITH_JACK
        if (m_pClient && !m_bGone)
            jack_client_close(m_pClient);
#endif
    }
    CJackWatch(const CJackWatch&) = delete;
    CJackWatch& operator=(const CJackWatch&) = delete;

    bool Gone() const {
        return m_bGone;
    }
    std::chrono::microseconds Period() const {
        return std::chrono::microseconds(m_nPeriodMicros.load());
    }

private:
    static void OnShutdown(void* pArg) {
        static_cast<CJackWatch*>(pArg)->m_bGone = true;
    }
#ifdef QUENLEY_WITH_JACK
    static int OnBufferSize(jack_nframes_t nFrames, void* pArg) {
        auto* pSelf = static_cast<CJackWatch*>(pArg);
        const jack_nframes_t nRate = jack_get_sample_rate(pSelf->m_pClient);
        if (nRate > 0)
            pSelf->m_nPeriodMicros = static_cast<long long>(nFrames) * 1000000 / nRate + 1;
        return 0;
    }

    jack_client_t* m_pClient = nullptr;
#endif
    std::atomic<bool> m_bGone{false};
    std::atomic<long long> m_nPeriodMicros{0};
};

class CRtMidiSink : public CMidiSink {
public:
    CRtMidiSink(std::unique_ptr<RtMidiOut> pOut, std::unique_ptr<CJackWatch> pWatch,
                std::string strDevice)
        : m_pOut(std::move(pOut)), m_pWatch(std::move(pWatch)), m_strDevice(std::move(strDevice)) {
        m_pOut->setErrorCallback(&ErrorTrap::Callback, &m_trap);
    }
    ~CRtMidiSink() override { CRtMidiSink::Close(); }

    bool Write(const std::uint8_t* pData, std::size_t nLength) override {
        m_trap.bFailed = false;
        try {
            m_pOut->sendMessage(pData, nLength);
        } catch (...) {
            return false;
        }
        return !m_trap.bFailed;
    }
    void Close() override {
        try {
            if (m_pOut)
                m_pOut->closePort();
        } catch (...) {
        }
        m_pOut.reset();
    }
    std::chrono::microseconds Pace(std::size_t nLength) const override {
        const std::chrono::microseconds wire(CRtMidiDriver::kMicrosPerByte *
                                             static_cast<long long>(nLength));
        return m_pWatch ? wire + m_pWatch->Period() : wire;
    }
    bool IsGone() const override {
        if (m_bGone || (m_pWatch && m_pWatch->Gone()))
            return true;
        // The back ends say nothing when the device at the other end goes: what is sent to it
        // just disappears. So the device list is looked at before sending, at most this often.
        constexpr std::chrono::milliseconds kLookEvery(100);
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastLook < kLookEvery)
            return false;
        m_lastLook = now;
        m_bGone = !StillListed();
        return m_bGone;
    }

private:
    // False only when the list could be read and the device is not in it.
    bool StillListed() const {
        if (!m_pOut)
            return true;
        m_trap.bFailed = false;
        try {
            const unsigned nCount = m_pOut->getPortCount();
            for (unsigned i = 0; i < nCount; ++i)
                if (m_pOut->getPortName(i) == m_strDevice)
                    return true;
        } catch (...) {
            return true;
        }
        return m_trap.bFailed;
    }

    std::unique_ptr<RtMidiOut> m_pOut;
    std::unique_ptr<CJackWatch> m_pWatch;
    std::string m_strDevice;
    mutable ErrorTrap m_trap;
    mutable bool m_bGone = false;
    mutable std::chrono::steady_clock::time_point m_lastLook{};
};

} // namespace

CRtMidiDriver::CRtMidiDriver() {
    CStderrMute mute;
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    if (const char* pszForced = std::getenv("QUENLEY_MIDI_API"); pszForced && *pszForced) {
        const RtMidi::Api eForced = RtMidi::getCompiledApiByName(pszForced);
        apis.clear();
        if (eForced != RtMidi::UNSPECIFIED)
            apis.push_back(eForced);
        else
            m_strLastError = std::string("unknown MIDI back end \"") + pszForced + "\"";
    }
    // RtMidi's own fallback gives up at the first back end that throws, so try each in turn.
    for (RtMidi::Api eApi : apis) {
        std::string strError;
        if (std::unique_ptr<RtMidiOut> pOut = MakeOut(eApi, strError)) {
            m_nApi = eApi;
            m_strLastError.clear();
            // Starting a client is the slow part: the one that found the back end lists the
            // devices too, for the first GetNumDevs.
            m_bListed = ListPorts(*pOut, m_names);
            break;
        }
        m_strLastError = strError;
    }
}

bool CRtMidiDriver::ListPorts(RtMidiOut& out, std::vector<std::string>& names) {
    names.clear();
    ErrorTrap trap;
    out.setErrorCallback(&ErrorTrap::Callback, &trap);
    bool bListed = true;
    try {
        const unsigned nCount = out.getPortCount();
        for (unsigned i = 0; i < nCount; ++i)
            names.push_back(out.getPortName(i));
    } catch (...) {
        names.clear();
        bListed = false;
    }
    out.setErrorCallback(nullptr, nullptr);
    return bListed;
}

CRtMidiDriver::~CRtMidiDriver() = default;

std::string CRtMidiDriver::ApiName() const {
    return m_nApi < 0 ? std::string() : RtMidi::getApiName(static_cast<RtMidi::Api>(m_nApi));
}

unsigned CRtMidiDriver::GetNumDevs() {
    if (m_bListed) {
        m_bListed = false;
        return static_cast<unsigned>(m_names.size());
    }
    m_names.clear();
    if (m_nApi < 0)
        return 0;
    CStderrMute mute;
    std::unique_ptr<RtMidiOut> pOut = MakeOut(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pOut)
        return 0;
    ListPorts(*pOut, m_names);
    return static_cast<unsigned>(m_names.size());
}

MMRESULT CRtMidiDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_names[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiDriver::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                             void* pInstance) {
    m_strOpenError.clear();
    if (nId >= m_names.size() || m_nApi < 0)
        return MMSYSERR_BADDEVICEID;
    CStderrMute mute;
    std::unique_ptr<RtMidiOut> pOut = MakeOut(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pOut) {
        m_strOpenError = "the " + ApiName() + " MIDI system did not answer (" +
                         WithoutFullStop(m_strLastError) + ")";
        return MMSYSERR_ERROR;
    }
    ErrorTrap trap;
    pOut->setErrorCallback(&ErrorTrap::Callback, &trap);
    // Ports come and go after the list was made: open the device by its name, not its place.
    const std::string& strWanted = m_names[nId];
    try {
        const unsigned nCount = pOut->getPortCount();
        unsigned nPort = nCount;
        if (nId < nCount && pOut->getPortName(nId) == strWanted)
            nPort = nId;
        for (unsigned i = 0; i < nCount && nPort == nCount; ++i)
            if (pOut->getPortName(i) == strWanted)
                nPort = i;
        if (nPort == nCount) {
            m_strLastError = "MIDI device \"" + strWanted + "\" is no longer there";
            return MIDIERR_NODEVICE;
        }
        pOut->openPort(nPort, "out");
    } catch (const RtMidiError& e) {
        m_strLastError = e.getMessage();
        m_strOpenError = RefusedText(m_strLastError);
        return MMSYSERR_ERROR;
    } catch (...) {
        return MMSYSERR_ERROR;
    }
    if (trap.bFailed || !pOut->isPortOpen()) {
        // A device another program holds exclusively refuses the connection; the sound
        // system's own words say more than a code could.
        m_strLastError = trap.strText;
        m_strOpenError = RefusedText(trap.strText);
        return MMSYSERR_ALLOCATED;
    }
    std::unique_ptr<CJackWatch> pWatch;
    if (m_nApi == RtMidi::UNIX_JACK)
        pWatch = std::make_unique<CJackWatch>();
    pPort = std::make_unique<CThreadedMidiPort>(
        std::make_unique<CRtMidiSink>(std::move(pOut), std::move(pWatch), strWanted), pProc,
        pInstance);
    return MMSYSERR_NOERROR;
}

std::string CRtMidiDriver::WithoutFullStop(std::string strText) {
    while (!strText.empty() && (strText.back() == '.' || strText.back() == '\n'))
        strText.pop_back();
    return strText;
}

std::string CRtMidiDriver::RefusedText(const std::string& strDriver) const {
    std::string strText = "the device refused the connection; another program may be holding it";
    if (!strDriver.empty())
        strText += " (" + ApiName() + ": " + WithoutFullStop(strDriver) + ")";
    return strText;
}

#include "RtMidiSupport.h"

#ifdef QUENLEY_WITH_JACK
#include <jack/jack.h>
#endif

#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_UNIX) || defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define QUENLEY_CAN_MUTE_STDERR 1
#endif

namespace RtMidiSupport {

void ErrorTrap::Callback(RtMidiError::Type eType, const std::string& strText, void* pUser) {
    auto* pTrap = static_cast<ErrorTrap*>(pUser);
    if (eType == RtMidiError::WARNING || eType == RtMidiError::DEBUG_WARNING)
        return;
    pTrap->bFailed = true;
    pTrap->strText = strText;
}

CStderrMute::CStderrMute() {
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

CStderrMute::~CStderrMute() {
#ifdef QUENLEY_CAN_MUTE_STDERR
    if (m_nSaved >= 0) {
        std::fflush(stderr);
        dup2(m_nSaved, STDERR_FILENO);
        close(m_nSaved);
    }
#endif
}

std::vector<RtMidi::Api> CandidateApis(std::string& strError) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    if (const char* pszForced = std::getenv("QUENLEY_MIDI_API"); pszForced && *pszForced) {
        const RtMidi::Api eForced = RtMidi::getCompiledApiByName(pszForced);
        apis.clear();
        if (eForced != RtMidi::UNSPECIFIED)
            apis.push_back(eForced);
        else
            strError = std::string("unknown MIDI back end \"") + pszForced + "\"";
    }
    return apis;
}

bool ListPorts(RtMidi& midi, std::vector<std::string>& names) {
    names.clear();
    ErrorTrap trap;
    midi.setErrorCallback(&ErrorTrap::Callback, &trap);
    bool bListed = true;
    try {
        const unsigned nCount = midi.getPortCount();
        for (unsigned i = 0; i < nCount; ++i)
            names.push_back(midi.getPortName(i));
    } catch (...) {
        names.clear();
        bListed = false;
    }
    midi.setErrorCallback(nullptr, nullptr);
    return bListed;
}

bool StillListed(RtMidi& midi, const std::string& strDevice, ErrorTrap& trap) {
    trap.bFailed = false;
    bool bListed = false;
    try {
        const unsigned nCount = midi.getPortCount();
        for (unsigned i = 0; i < nCount && !bListed; ++i)
            bListed = midi.getPortName(i) == strDevice;
    } catch (...) {
        bListed = true;
    }
    return bListed || trap.bFailed;
}

CJackWatch::CJackWatch() {
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

CJackWatch::~CJackWatch() {
#ifdef QUENLEY_WITH_JACK
    if (m_pClient && !m_bGone)
        jack_client_close(m_pClient);
#endif
}

void CJackWatch::OnShutdown(void* pArg) {
    static_cast<CJackWatch*>(pArg)->m_bGone = true;
}

int CJackWatch::OnBufferSize([[maybe_unused]] std::uint32_t nFrames, [[maybe_unused]] void* pArg) {
#ifdef QUENLEY_WITH_JACK
    auto* pSelf = static_cast<CJackWatch*>(pArg);
    const jack_nframes_t nRate = jack_get_sample_rate(pSelf->m_pClient);
    if (nRate > 0)
        pSelf->m_nPeriodMicros = static_cast<long long>(nFrames) * 1000000 / nRate + 1;
#endif
    return 0;
}

} // namespace RtMidiSupport

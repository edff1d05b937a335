#pragma once

// What the RtMidi output and input drivers share: the choice of back end, error trapping, the
// muting of the sound libraries' chatter, the device list and the JACK server watch. Internal
// to the MIDI layer.

#include <RtMidi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

typedef struct _jack_client jack_client_t;

namespace RtMidiSupport {

inline constexpr char kClientName[] = "Quenley";

// Records the errors RtMidi reports through its callback; with a callback installed RtMidi
// reports instead of throwing.
struct ErrorTrap {
    bool bFailed = false;
    std::string strText;

    static void Callback(RtMidiError::Type eType, const std::string& strText, void* pUser);
};

// The sound libraries behind RtMidi print their own complaints (no sequencer device, no JACK
// server) straight to stderr while a client starts; we report failures through result codes,
// so they are muted unless QUENLEY_MIDI_DEBUG is set.
class CStderrMute {
public:
    CStderrMute();
    ~CStderrMute();
    CStderrMute(const CStderrMute&) = delete;
    CStderrMute& operator=(const CStderrMute&) = delete;

private:
    int m_nSaved = -1;
};

// The back ends to try, in order: the one QUENLEY_MIDI_API names (for example "jack" or
// "alsa") if set, otherwise every compiled-in one. An unknown name gives none, and strError
// says why.
std::vector<RtMidi::Api> CandidateApis(std::string& strError);

// Fills names from the back end; false when it failed.
bool ListPorts(RtMidi& midi, std::vector<std::string>& names);

// False only when the list could be read and the device is not in it. trap is the one
// installed on midi.
bool StillListed(RtMidi& midi, const std::string& strDevice, ErrorTrap& trap);

// Hears the JACK server shut down, which RtMidi does not report. It also knows the server's
// period: a message handed to the back end leaves only with the next period.
class CJackWatch {
public:
    CJackWatch();
    ~CJackWatch();
    CJackWatch(const CJackWatch&) = delete;
    CJackWatch& operator=(const CJackWatch&) = delete;

    bool Gone() const { return m_bGone; }
    std::chrono::microseconds Period() const {
        return std::chrono::microseconds(m_nPeriodMicros.load());
    }

private:
    static void OnShutdown(void* pArg);
    static int OnBufferSize(std::uint32_t nFrames, void* pArg);

#ifdef QUENLEY_WITH_JACK
    jack_client_t* m_pClient = nullptr;
#endif
    std::atomic<bool> m_bGone{false};
    std::atomic<long long> m_nPeriodMicros{0};
};

} // namespace RtMidiSupport

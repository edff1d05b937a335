#pragma once

#include "CMidiOutDriver.h"

#include <string>

#include <vector>

// The system's MIDI outputs through RtMidi. Every RtMidi error is caught here and becomes a
// result code; messages go out on a worker thread, paced to the speed of a MIDI cable.
class CRtMidiDriver : public CMidiOutDriver {
public:
    // The back end is chosen once: the one named by QUENLEY_MIDI_API (for example "jack" or
    // "alsa") if set, otherwise the first compiled-in back end that starts without error.
    CRtMidiDriver();
    ~CRtMidiDriver() override;

    unsigned GetNumDevs() override;
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                  void* pInstance) override;

    std::string LastOpenError() const override { return m_strOpenError; }

    // Name of the back end in use ("jack", "alsa", ...), empty when none could start.
    std::string ApiName() const;
    // Why no back end could start, or why the last open failed.
    std::string LastError() const { return m_strLastError; }

    // Time a 31250-baud MIDI cable needs per byte.
    static constexpr int kMicrosPerByte = 320;

private:
    static std::string WithoutFullStop(std::string strText);
    // A refused open in words a user can act on, with the back end's own words after them.
    std::string RefusedText(const std::string& strDriver) const;

    int m_nApi = -1;                  // RtMidi::Api, -1 when no back end started
    std::vector<std::string> m_names; // as listed by the last GetNumDevs
    bool m_bListed = false;           // m_names is fresh from start-up and not yet asked for
    std::string m_strLastError;
    std::string m_strOpenError; // for LastOpenError: empty when the open failed for no reason
};

#pragma once

#include "CMidiInDriver.h"

#include <string>
#include <vector>

// The system's MIDI inputs through RtMidi, on the same back end the output driver chose
// (QUENLEY_MIDI_API, else the first that starts). Every RtMidi error is caught here and becomes
// a result code. Bytes are handed on as RtMidi delivers them, from RtMidi's own thread.
class CRtMidiInDriver : public CMidiInDriver {
public:
    CRtMidiInDriver();
    ~CRtMidiInDriver() override;

    unsigned GetNumDevs() override;
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId, MidiInProc pProc,
                  void* pInstance) override;
    std::string LastOpenError() const override { return m_strOpenError; }

private:
    int m_nApi = -1; // RtMidi::Api, -1 when no back end started
    std::vector<std::string> m_names;
    std::string m_strLastError;
    std::string m_strOpenError;
};

#pragma once

#include "CMidiInDriver.h"

#include <QByteArray>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// What the scripted input driver lists and answers, and the way a test plays bytes into an
// open port. The test keeps a shared pointer after the driver went into the object under test.
struct CMidiInScript {
    std::vector<std::string> deviceNames{"Scripted In A", "Scripted In B"};
    MMRESULT nOpenResult = MMSYSERR_NOERROR;
    std::string strOpenError;
    int nOpens = 0;

    // Plays bytes into the open port as one delivery of the back end; false when none is open.
    // May be called from any thread, as a back end would.
    bool Play(const QByteArray& bytes);
    // The device goes away under the open port.
    bool Vanish();
    bool IsOpen() const;

    // Shared with the port.
    mutable std::mutex mutex;
    MidiInProc pProc = nullptr;
    void* pInstance = nullptr;
};

class CScriptedMidiInDriver : public CMidiInDriver {
public:
    explicit CScriptedMidiInDriver(std::shared_ptr<CMidiInScript> pScript)
        : m_pScript(std::move(pScript)) {}

    unsigned GetNumDevs() override;
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId, MidiInProc pProc,
                  void* pInstance) override;
    std::string LastOpenError() const override { return m_pScript->strOpenError; }

private:
    std::shared_ptr<CMidiInScript> m_pScript;
    std::vector<std::string> m_names;
};

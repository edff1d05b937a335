#pragma once

#include "CMidiOutDriver.h"
#include "MidiDefs.h"

#include <cstdint>
#include <memory>
#include <unordered_set>

class QObject;

// Wraps the one MIDI output port: the device list made at start-up, the chosen device and
// channel, open/close/reset, System Exclusive sends as long messages, and the driver's
// notifications turned into messages posted to one window. Keeps no queue: at most one long
// message is in flight and the transmit queue decides what goes next.
class CDMidi {
public:
    // Without a driver, the system's MIDI outputs followed by the "SysEx file" are used.
    explicit CDMidi(std::unique_ptr<CMidiOutDriver> pDriver = nullptr);
    virtual ~CDMidi();

    CDMidi(const CDMidi&) = delete;
    CDMidi& operator=(const CDMidi&) = delete;

    bool SetCallbackWnd(QObject* pWnd);
    bool DMidiOutInit();
    bool SetMidiChannel(std::uint16_t nChannel);
    bool SetMidiDevice(std::uint32_t nId);
    std::uint16_t GetMidiChannel() const { return m_nChannel; }
    std::uint32_t GetMidiDevice() const { return m_nDeviceId; }
    std::uint32_t GetNumDevs() const { return m_nNumDevs; }
    const char* GetDeviceName(std::uint32_t i) const;
    bool IsReady() const { return (m_nState & DMIDI_READY) == DMIDI_READY; }

    bool DMidiOutActivate();
    bool DMidiOutDeactivate();
    bool DMidiOutReset();
    bool DMidiOutSendSysExBuffer(const std::uint8_t* pData, std::uint32_t nLength);
    bool DMidiOutClearSysExBuffer(DMidiHeader* pHeader);

    // The result code of the last operation above that reached the driver.
    MMRESULT LastResult() const { return m_nLastResult; }
    std::uint8_t GetState() const { return m_nState; }
    bool IsOpen() const { return m_hMidiOut != nullptr; }
    CMidiOutDriver* Driver() const { return m_pDriver.get(); }

    static constexpr std::size_t kNameSize = 32;

protected:
    MMRESULT AllNotesOff();
    static void MidiOutProc(void* pInstance, EMidiNotify eNotify, DMidiHeader* pHeader);
    void ReleaseDeviceNames();

    CMidiOutPort* m_hMidiOut = nullptr; // owned; null while the port is closed
    std::uint32_t m_nDeviceId = DMIDI_NONE;
    std::uint32_t m_nNumDevs = 0;
    std::uint16_t m_nChannel = 0;
    char** m_pDeviceNames = nullptr; // m_nNumDevs buffers of kNameSize bytes
    std::uint8_t m_nState = 0;
    QObject* m_hNotifyWnd = nullptr;

private:
    std::unique_ptr<CMidiOutDriver> m_pDriver;
    MMRESULT m_nLastResult = MMSYSERR_NOERROR;
    // Headers handed to the driver and not yet released; those whose done message never came
    // are released when the wrapper goes.
    std::unordered_set<DMidiHeader*> m_outstanding;
};

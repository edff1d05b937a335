#pragma once

#include "CMidiOutDriver.h"
#include "MidiDefs.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class QObject;

// Wraps the one MIDI output port: the device list, the chosen device and channel,
// open/close/reset, System Exclusive sends as long messages, and the driver's notifications
// turned into messages posted to one window. Keeps no queue: at most one long message is in
// flight and the transmit queue decides what goes next. The list is read again only while the
// port is closed, and the chosen device is held by its name, so that a list in another order
// never sends to another device that now sits at the old place.
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
    // Chooses the device of that name; while it is not in the list nothing is chosen, and the
    // next reading of the list that has it chooses it. False when it is not there now.
    bool SetMidiDeviceByName(const std::string& strName);
    // The name of the chosen device, also while it is missing from the list; empty when none.
    const std::string& GetMidiDeviceName() const { return m_strDevice; }
    std::uint16_t GetMidiChannel() const { return m_nChannel; }
    std::uint32_t GetMidiDevice() const { return m_nDeviceId; }
    std::uint32_t GetNumDevs() const { return m_nNumDevs; }
    const char* GetDeviceName(std::uint32_t i) const;
    bool IsReady() const { return (m_nState & DMIDI_READY) == DMIDI_READY; }

    bool DMidiOutActivate();
    bool DMidiOutDeactivate();
    bool DMidiOutReset();
    // A channel message of up to three bytes, status byte lowest; it goes out after every long
    // message handed over before it.
    bool DMidiOutShortMsg(std::uint32_t dwMsg);
    bool DMidiOutSendSysExBuffer(const std::uint8_t* pData, std::uint32_t nLength);
    bool DMidiOutClearSysExBuffer(DMidiHeader* pHeader);

    // The result code of the last operation above that reached the driver.
    MMRESULT LastResult() const { return m_nLastResult; }
    // The driver's own words for the last failed open; empty when it gave none.
    const std::string& LastOpenError() const { return m_strOpenError; }
    std::uint8_t GetState() const { return m_nState; }
    bool IsOpen() const { return m_hMidiOut != nullptr; }
    // Some buffer handed to the port has not come back yet.
    bool HasBuffersOut() const { return !m_outstanding.empty(); }
    CMidiOutDriver* Driver() const { return m_pDriver.get(); }

    static constexpr std::size_t kNameSize = 32;

protected:
    MMRESULT AllNotesOff();
    static void MidiOutProc(void* pInstance, EMidiNotify eNotify, DMidiHeader* pHeader);
    void ReleaseDeviceNames();
    // The chosen device's place in the list just read, found by its name.
    void FindChosenDevice();

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
    std::string m_strOpenError;
    std::string m_strDevice;              // the chosen device, in full
    std::vector<std::string> m_fullNames; // the list in full; m_pDeviceNames cuts long names
    // Headers handed to the driver and not yet released; those whose done message never came
    // are released when the wrapper goes.
    std::unordered_set<DMidiHeader*> m_outstanding;
};

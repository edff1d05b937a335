#pragma once

#include "MidiDefs.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// What an open input port reports to its callback.
enum class EMidiInNotify {
    // Bytes as the back end delivered them: part of a message, one, or several.
    Data,
    // The device went away (unplugged, its program or server ended); nothing more arrives.
    Gone,
};

// Called from the driver's own context, usually another thread: must not block and must not
// call back into the port. pData is valid only during the call.
using MidiInProc = void (*)(void* pInstance, EMidiInNotify eNotify, const std::uint8_t* pData,
                            std::size_t nLength);

// One open MIDI input port. Destroying it closes it; once the destructor has returned, the
// callback is not called again.
class CMidiInPort {
public:
    virtual ~CMidiInPort() = default;
};

// The list of MIDI input devices of one back end and the way to open them. System Exclusive
// messages are never filtered out.
class CMidiInDriver {
public:
    virtual ~CMidiInDriver() = default;
    // Reads the device list afresh.
    virtual unsigned GetNumDevs() = 0;
    virtual MMRESULT GetDevName(unsigned nId, std::string& strName) = 0;
    virtual MMRESULT Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId, MidiInProc pProc,
                          void* pInstance) = 0;
    // Why the last Open failed, in the driver's own words; empty when it has nothing to add.
    virtual std::string LastOpenError() const { return {}; }
};

// The driver used outside tests: the system's MIDI inputs.
std::unique_ptr<CMidiInDriver> CreateSystemMidiInDriver();

#pragma once

#include "MidiDefs.h"

#include <cstdint>
#include <memory>
#include <string>

// Header of one long (System Exclusive) message handed to a port. The data block belongs to the
// port from LongMsg until the port reports the header done.
struct DMidiHeader {
    std::uint8_t* lpData = nullptr;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwFlags = 0;
};

inline constexpr std::uint32_t MHDR_DONE = 0x01;
inline constexpr std::uint32_t MHDR_PREPARED = 0x02;
inline constexpr std::uint32_t MHDR_INQUEUE = 0x04;
// Reported done without having reached the device (dropped by a reset, or the device failed).
inline constexpr std::uint32_t MHDR_FAILED = 0x100;
// With MHDR_FAILED: the device itself is gone (unplugged, its program or server ended), so no
// later message will reach it either.
inline constexpr std::uint32_t MHDR_NODEVICE = 0x200;

// Notifications a port gives to its callback.
enum class EMidiNotify { Open, Close, Done };

// Called from the driver's own context (possibly another thread): must only post.
using MidiOutProc = void (*)(void* pInstance, EMidiNotify eNotify, DMidiHeader* pHeader);

// One open MIDI output port. Open, close and done are reported through the callback given at
// open, each exactly once, never from inside the call that caused it.
class CMidiOutPort {
public:
    virtual ~CMidiOutPort() = default;

    // Refused with MIDIERR_STILLPLAYING while a long message is queued or in flight. When
    // accepted, the close is reported through the callback and the caller deletes the port.
    virtual MMRESULT Close() = 0;
    // Hands every pending long message back as done.
    virtual MMRESULT Reset() = 0;
    // Status byte in the lowest byte, then up to two data bytes.
    virtual MMRESULT ShortMsg(std::uint32_t dwMsg) = 0;
    virtual MMRESULT PrepareHeader(DMidiHeader* pHeader) = 0;
    virtual MMRESULT LongMsg(DMidiHeader* pHeader) = 0;
    virtual MMRESULT UnprepareHeader(DMidiHeader* pHeader) = 0;
};

// The list of MIDI output devices of one back end and the way to open them.
class CMidiOutDriver {
public:
    virtual ~CMidiOutDriver() = default;

    virtual unsigned GetNumDevs() = 0;
    // The product name of device nId; its result code is never examined by CDMidi.
    virtual MMRESULT GetDevName(unsigned nId, std::string& strName) = 0;
    virtual MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                          void* pInstance) = 0;
    // Why the last Open failed, in the driver's own words (which program holds the device, what
    // the sound system answered); empty when it has nothing to add to the result code.
    virtual std::string LastOpenError() const { return {}; }
};

// The driver used outside tests: the system's MIDI outputs, then the built-in "SysEx file".
std::unique_ptr<CMidiOutDriver> CreateSystemMidiDriver();

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// Where a port's bytes finally go: a device of a MIDI back end, or a file. Called only from the
// port's worker thread, one message at a time.
class CMidiSink {
public:
    virtual ~CMidiSink() = default;

    // Hands one complete message to the device; false when the device refused it.
    virtual bool Write(const std::uint8_t* pData, std::size_t nLength) = 0;
    virtual void Close() {}
    // True once the device is known to be gone for good (its server shut down); the port then
    // stops handing it messages.
    virtual bool IsGone() const { return false; }
    // The time the device needs to carry nLength bytes; a message is not reported done sooner.
    virtual std::chrono::microseconds Pace(std::size_t nLength) const {
        (void)nLength;
        return std::chrono::microseconds(0);
    }
};

#pragma once

#include "CMidiOutDriver.h"

#include <chrono>
#include <memory>
#include <thread>

class CMidiSink;

// An output port that hands every message to its sink on a worker thread of its own, so that a
// slow or stuck device never blocks the user interface. Messages leave in the order given, one
// at a time; a long message is reported done once the sink has taken it and its pacing time has
// passed. A watchdog declares the device dead when one write takes longer than the stall bound:
// the message in flight and all waiting ones are then reported done as failed, later sends are
// refused, and a close still succeeds.
class CThreadedMidiPort : public CMidiOutPort {
public:
    CThreadedMidiPort(std::unique_ptr<CMidiSink> pSink, MidiOutProc pProc, void* pInstance,
                      std::chrono::milliseconds stallBound = std::chrono::milliseconds(2000));
    ~CThreadedMidiPort() override;

    MMRESULT Close() override;
    MMRESULT Reset() override;
    MMRESULT ShortMsg(std::uint32_t dwMsg) override;
    MMRESULT PrepareHeader(DMidiHeader* pHeader) override;
    MMRESULT LongMsg(DMidiHeader* pHeader) override;
    MMRESULT UnprepareHeader(DMidiHeader* pHeader) override;

    // True once the watchdog has given up on the device.
    bool IsDead() const;

    // Number of bytes of a short message with this status byte.
    static std::size_t ShortMsgLength(std::uint8_t nStatus);

private:
    struct State;
    static void RunWorker(std::shared_ptr<State> pState);
    static void RunWatchdog(std::shared_ptr<State> pState);

    std::shared_ptr<State> m_pState;
    std::thread m_worker;
    std::thread m_watchdog;
    std::thread m_notifier;
};

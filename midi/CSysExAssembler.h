#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Puts System Exclusive messages together whole from bytes as a back end delivers them: split
// anywhere, several in one delivery, with real-time bytes (clock, active sensing) between
// their bytes. Other messages are only counted. A message cut short by a new status byte, or
// longer than the limit (counting both ends), is dropped and counted as broken.
class CSysExAssembler {
public:
    using Sink = std::function<void(const std::uint8_t* pData, std::size_t nLength)>;

    // 4 MiB: far beyond any dump of the module, small enough that a runaway sender cannot eat
    // the memory.
    static constexpr std::size_t kDefaultLimit = std::size_t(4) << 20;

    explicit CSysExAssembler(Sink sink, std::size_t nLimit = kDefaultLimit);

    void Feed(const std::uint8_t* pData, std::size_t nLength);
    // Forgets a message begun and not ended (the device went away, the receive ended).
    void Reset();

    void ClearCounts() { m_nOther = m_nBroken = 0; }
    int OtherMessages() const { return m_nOther; }
    int BrokenMessages() const { return m_nBroken; }
    bool InMessage() const { return m_bInSysEx; }

private:
    void Drop();

    Sink m_sink;
    std::size_t m_nLimit;
    std::vector<std::uint8_t> m_message;
    bool m_bInSysEx = false;
    bool m_bOverLimit = false;
    int m_nOther = 0;
    int m_nBroken = 0;
};

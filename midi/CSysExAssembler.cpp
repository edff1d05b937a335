#include "CSysExAssembler.h"

#include <utility>

CSysExAssembler::CSysExAssembler(Sink sink, std::size_t nLimit)
    : m_sink(std::move(sink)), m_nLimit(nLimit) {}

void CSysExAssembler::Reset() {
    if (m_bInSysEx)
        Drop();
}

void CSysExAssembler::Drop() {
    ++m_nBroken;
    m_message.clear();
    m_message.shrink_to_fit();
    m_bInSysEx = false;
    m_bOverLimit = false;
}

void CSysExAssembler::Feed(const std::uint8_t* pData, std::size_t nLength) {
    for (std::size_t i = 0; i < nLength; ++i) {
        const std::uint8_t b = pData[i];
        if (b >= 0xF8) // real-time bytes may sit anywhere, even inside a message
            continue;
        if (b < 0x80) {
            if (!m_bInSysEx)
                continue; // data of a message we only count
            // Room is kept for the end byte.
            if (m_message.size() + 1 >= m_nLimit)
                m_bOverLimit = true;
            else
                m_message.push_back(b);
            continue;
        }
        if (b == 0xF7) {
            if (!m_bInSysEx)
                continue; // an end without a beginning
            if (m_bOverLimit) {
                Drop();
                continue;
            }
            m_message.push_back(b);
            m_bInSysEx = false;
            std::vector<std::uint8_t> whole;
            whole.swap(m_message);
            m_sink(whole.data(), whole.size());
            continue;
        }
        // Any other status byte ends a message that was not ended.
        if (m_bInSysEx)
            Drop();
        if (b == 0xF0) {
            m_bInSysEx = true;
            m_message.push_back(b);
        } else {
            ++m_nOther;
        }
    }
}

#include "CSysExReader.h"

#include <numeric>

namespace {
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kEndOfSysEx = 0xF7;
constexpr std::uint8_t kMaker = 0x31;
constexpr std::uint8_t kModel = 0x56;
constexpr std::uint8_t kFirstRealTime = 0xF8;
constexpr int kHeaderBytes = 6; // maker, area, model, channel, address high, address low
constexpr int kChannels = 16;

// The data bytes that follow a status byte; -1 for those that carry none and are no message.
int DataBytesOf(std::uint8_t nStatus) {
    if (nStatus < 0xF0)
        return (nStatus & 0xE0) == 0xC0 ? 1 : 2; // program change and channel pressure take one
    switch (nStatus) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    case 0xF6:
        return 0;
    default:
        return -1;
    }
}
} // namespace

CSysExReader::CSysExReader()
    : m_instrument(kInstrumentMemory, kUnwritten), m_kit(kKitMemory, kUnwritten) {}

int CSysExReader::Value(std::uint8_t nArea, int nAddress) const {
    const std::vector<std::int16_t>* pMemory = nArea == Kinds::kInstrumentArea ? &m_instrument
                                               : nArea == Kinds::kKitArea      ? &m_kit
                                                                               : nullptr;
    if (!pMemory || nAddress < 0 || nAddress >= int(pMemory->size()))
        return kUnwritten;
    return (*pMemory)[static_cast<std::size_t>(nAddress)];
}

int CSysExReader::SkippedTotal() const {
    return std::accumulate(m_skipped.begin(), m_skipped.end(), 0);
}

void CSysExReader::Read(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const qsizetype n = bytes.size();
    std::uint8_t nRunning = 0; // the status a data byte continues, 0 for none
    // Reads up to nCount data bytes from i on; returns whether all were there.
    auto takeData = [&](qsizetype& i, int nCount) {
        for (; nCount > 0 && i < n && p[i] < 0x80; --nCount)
            ++i;
        return nCount == 0;
    };

    for (qsizetype i = 0; i < n;) {
        const std::uint8_t b = p[i];
        if (b == kSysEx) {
            m_data.clear();
            bool bEnded = false;
            for (++i; i < n; ++i) {
                if (p[i] < 0x80) {
                    m_data.push_back(p[i]);
                } else if (p[i] >= kFirstRealTime) {
                    // Real-time messages may come between any two bytes, also here.
                    ++m_skipped[kOtherMessage];
                } else {
                    // Any other status byte ends the message; only F7 ends it whole. The
                    // status byte is then read again as what it is.
                    bEnded = p[i] == kEndOfSysEx;
                    if (bEnded)
                        ++i;
                    break;
                }
            }
            if (bEnded)
                TakeSysEx(m_data);
            else
                ++m_skipped[kTruncated];
            nRunning = 0;
            continue;
        }
        if (b >= kFirstRealTime) {
            ++m_skipped[kOtherMessage];
            ++i;
            continue;
        }
        if (b < 0x80) {
            if (nRunning == 0) {
                ++m_skipped[kStrayByte];
                ++i;
                continue;
            }
            ++m_skipped[takeData(i, DataBytesOf(nRunning)) ? kRunningStatus : kTruncated];
            continue;
        }
        const int nData = DataBytesOf(b);
        ++i;
        if (nData < 0) {
            // F4, F5, and an F7 without its F0.
            ++m_skipped[kStrayByte];
            nRunning = 0;
            continue;
        }
        nRunning = b < 0xF0 ? b : 0;
        ++m_skipped[takeData(i, nData) ? kOtherMessage : kTruncated];
    }
}

void CSysExReader::TakeSysEx(const std::vector<std::uint8_t>& data) {
    const std::size_t nSize = data.size();
    if (nSize == 0) {
        ++m_skipped[kDamaged];
        return;
    }
    if (data[0] != kMaker || (nSize > 2 && data[2] != kModel)) {
        ++m_skipped[kOtherDevice];
        return;
    }
    if (nSize > 2 && data[1] != Kinds::kInstrumentArea && data[1] != Kinds::kKitArea) {
        ++m_skipped[kOtherArea];
        return;
    }
    const std::size_t nValueBytes = nSize < kHeaderBytes ? 0 : nSize - kHeaderBytes;
    if (nValueBytes == 0 || nValueBytes % 2 != 0 || data[3] >= kChannels) {
        ++m_skipped[kDamaged];
        return;
    }
    // The module keeps one byte per value; a higher one cannot come from it.
    for (std::size_t j = kHeaderBytes; j < nSize; j += 2) {
        if (data[j] > 1) {
            ++m_skipped[kDamaged];
            return;
        }
    }
    std::vector<std::int16_t>& memory = data[1] == Kinds::kInstrumentArea ? m_instrument : m_kit;
    const std::size_t nAddress = std::size_t(data[4]) << 7 | data[5];
    int nWritten = 0;
    for (std::size_t j = 0; j < nValueBytes / 2; ++j) {
        const std::size_t nAt = nAddress + j;
        if (nAt >= memory.size()) {
            ++m_skipped[kBeyondMemory];
            continue;
        }
        memory[nAt] = static_cast<std::int16_t>(data[kHeaderBytes + 2 * j] << 7 |
                                                data[kHeaderBytes + 2 * j + 1]);
        ++nWritten;
    }
    if (nWritten == 0)
        return;
    m_nValues += nWritten;
    ++m_nMessages;
    m_nChannels = static_cast<std::uint16_t>(m_nChannels | 1u << data[3]);
}

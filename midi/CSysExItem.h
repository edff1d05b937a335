#pragma once

#include <cstdint>
#include <memory>

// One queued System Exclusive message with the three keys that decide which waiting message a
// newer one replaces. The queue owns the entry alone, and the entry its bytes.
class CSysExItem {
public:
    CSysExItem() = default;
    virtual ~CSysExItem() = default;

    // A new entry with the initial keys, or null when memory is short.
    static std::unique_ptr<CSysExItem> New();

    // Key 3 of a block message of nValues values. It is above every parameter index and differs
    // per extent, so a block is replaced only by a block that rewrites the same values, never
    // by a single value or a shorter block.
    static constexpr int kBlockKeyBase = 0x10000;
    static constexpr int BlockKey(int nValues) { return kBlockKeyBase + nValues; }
    bool IsBlock() const { return nParam >= kBlockKeyBase; }

    bool SameKeys(const CSysExItem& other) const {
        return nSection == other.nSection && nVariation == other.nVariation &&
               nParam == other.nParam;
    }

    // A note for hearing the module rather than a value for it: its buffer holds the Note On,
    // and nNoteMs is how long the note lasts.
    bool IsNote() const { return nNoteMs >= 0; }
    // Notes are keyed by their own section key, their channel and their key number.
    static constexpr std::int32_t kNoteSection = -1;

    bool bSending = false;
    std::int32_t nNoteMs = -1;
    std::uint64_t nSeq = 0; // the order of arrival
    std::int32_t nSection = 2;
    std::int32_t nVariation = 256;
    std::int32_t nParam = 256;
    std::int32_t nLength = 0;
    std::unique_ptr<std::uint8_t[]> pBuffer;
};

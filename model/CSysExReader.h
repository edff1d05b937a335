#pragma once

#include "SectionKinds.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

// Reads a stream of MIDI bytes, as a .syx file holds them, into an image of the module's two
// memory areas, as the module itself would take the messages: each value of a message goes to
// the next address, so a block longer than a variation runs on into the next variation's
// values, and a later message for an address wins over an earlier one. Everything else in the
// stream is skipped and counted by what it is; nothing in it can make the reading fail.
class CSysExReader {
public:
    // What is skipped. Messages count once each; kBeyondMemory counts values.
    enum ESkip {
        kOtherDevice,   // a System Exclusive message of another maker or model
        kOtherArea,     // ours, for an area other than the instruments' and the kits'
        kOtherMessage,  // channel, system common and real-time messages
        kRunningStatus, // channel messages in running status (data without their status byte)
        kStrayByte,     // a byte that belongs to no message
        kTruncated,     // a System Exclusive message cut off before its end byte
        kDamaged,       // ours but malformed: no address, no value, half a value, a value above
                        // 255 or a channel byte above 15
        kBeyondMemory,  // values whose address lies past the end of their area
        kSkipCount
    };

    // The two areas, by address; kUnwritten where no message wrote.
    static constexpr int kUnwritten = -1;
    static constexpr int kInstrumentMemory = 0x4000;
    static constexpr int kKitMemory =
        Kinds::kKitVariations * Kinds::kKinds[Kinds::kKit].nParams; // 14592

    CSysExReader();

    // Adds what the bytes hold to the image; may be called for several files in turn.
    void Read(const QByteArray& bytes);

    // The value last written at the address of the area (Kinds::kInstrumentArea or kKitArea),
    // or kUnwritten.
    int Value(std::uint8_t nArea, int nAddress) const;
    // The messages for the module that wrote at least one value, and how many they wrote.
    int Messages() const { return m_nMessages; }
    int Values() const { return m_nValues; }
    int Skipped(ESkip eSkip) const { return m_skipped[eSkip]; }
    int SkippedTotal() const;
    // Counts what was skipped before the bytes reached the reader (a MIDI input that put the
    // messages together).
    void AddSkipped(ESkip eSkip, int nCount) { m_skipped[eSkip] += nCount; }
    // Bit n set when a message taken was on channel byte n (MIDI channel n + 1).
    std::uint16_t Channels() const { return m_nChannels; }

private:
    // Takes one System Exclusive message, its data bytes between F0 and F7.
    void TakeSysEx(const std::vector<std::uint8_t>& data);

    std::vector<std::int16_t> m_instrument;
    std::vector<std::int16_t> m_kit;
    std::vector<std::uint8_t> m_data; // the message being read, kept to reuse its room
    std::array<int, kSkipCount> m_skipped{};
    int m_nMessages = 0;
    int m_nValues = 0;
    std::uint16_t m_nChannels = 0;
};

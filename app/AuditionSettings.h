#pragma once

#include <QString>

#include <array>

// What Play sends: the note of each instrument kind, the velocity, the length and the channel,
// and whether the sound plays by itself once a gesture on a panel has ended. Kept in the
// settings group "Audition"; a value out of its range there counts as the default.
struct SAuditionSettings {
    // Kick ... Ride, in kind order.
    static constexpr int kInstruments = 9;
    static constexpr std::array<int, kInstruments> kDefaultNotes{36, 38, 45, 50, 42, 39, 37, 49, 51};
    static constexpr int kDefaultVelocity = 100;
    static constexpr int kDefaultLengthMs = 150;
    static constexpr int kMinLengthMs = 10;
    static constexpr int kMaxLengthMs = 2000;

    std::array<int, kInstruments> notes = kDefaultNotes;
    int nVelocity = kDefaultVelocity;  // 1..127
    int nLengthMs = kDefaultLengthMs;  // kMinLengthMs..kMaxLengthMs
    int nChannel = 0;                  // 0: the link's channel, else 1..16
    bool bPlayAfterChange = false;

    static SAuditionSettings Load();
    void Save() const;

    // The note of an instrument kind (Kinds::kKick ... Kinds::kRide); -1 for any other kind.
    int Note(int nKind) const;
    // The settings key of instrument i (0 = kick): "Kick", ..., "Ride".
    static QString Key(int i);
    // The instrument as the dialog labels it: "Kick", "Low tom", ...
    static QString InstrumentName(int i);
    // "C2" for 36, "F#-1" for 6: middle C (60) is C4.
    static QString NoteName(int nNote);

    bool operator==(const SAuditionSettings&) const = default;
};

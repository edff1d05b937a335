#pragma once

#include <array>
#include <cstdint>

// The constants of every section class: what a kind is called, how many values it has, where
// they live in the module's memory and what a new variation holds. Kind 0 rows are the
// abstract classes, which are never numbered.
namespace Kinds {

constexpr int kMaxParams = 19;

struct SKindInfo {
    int nKind;
    const char* pszClass; // the run-time class name written to project files
    const char* pszLabel; // 4 characters for the concrete kinds
    const char* pszTrace; // the name in the creation trace
    int nParams;
    int nNameLen;
    std::uint8_t nArea;
    std::uint8_t nNameParams; // leading parameters that mirror the name characters
    std::uint16_t nBaseAddress;
    int nBlockValues;      // values sent by a whole-variation send
    int nVariations;       // numbers 0..nVariations-1
    int nKitLevelParam;    // the level parameter the kit view shows; -1 for none
    std::array<std::uint8_t, kMaxParams> defaults;
};

enum EKind : int {
    kNone = 0,
    kKit = 1,
    kKick = 2,
    kSnare = 3,
    kLowTom = 4,
    kHighTom = 5,
    kHiHat = 6,
    kClap = 7,
    kRimshot = 8,
    kCrash = 9,
    kRide = 10,
    kLfos = 11,
};
constexpr int kFirstKind = kKit;
constexpr int kLastKind = kLfos;
constexpr int kInstrumentVariations = 256;
constexpr int kKitVariations = 768;
constexpr int kKitsPerBank = 256;

constexpr std::uint8_t kInstrumentArea = 0x3E;
constexpr std::uint8_t kKitArea = 0x3F;

// The name every new instrument variation gets (16 characters); kits take its first 8.
constexpr char kDefaultName[] = "Untitled        ";

// Abstract classes.
constexpr SKindInfo kSectionInfo{0, "CSection", "Section", "", 256, 8, 0x00, 0, 0x0000, 0, 0, -1, {}};
constexpr SKindInfo kInstrumentInfo{0, "CInstrument", "Inst", "", 256, 16, kInstrumentArea,
                                    0,    0x0000,        0,      0,  -1, {}};
constexpr SKindInfo kTomInfo{0, "CTom", "Tom ", "", 3, 16, kInstrumentArea, 0, 0x0000, 0, 0, -1,
                             {}};
constexpr SKindInfo kSmplInfo{0, "CSmpl", "Smpl", "", 6, 16, kInstrumentArea, 0, 0x0000, 0, 0, -1,
                              {}};

// The eleven kinds, indexed by kind number. Kit defaults 0..7 are the name's character codes.
constexpr std::array<SKindInfo, kLastKind + 1> kKinds{{
    kSectionInfo,
    {kKit, "CKit", "Kit ", "Kit", 19, 8, kKitArea, 8, 0x0000, 18, kKitVariations, -1,
     {'U', 'n', 't', 'i', 't', 'l', 'e', 'd'}},
    {kKick, "CKick", "Kick", "Kick", 9, 16, kInstrumentArea, 0, 0x0000, 9, kInstrumentVariations,
     8, {221, 26, 127, 0, 200, 0, 200, 160, 255}},
    {kSnare, "CSnar", "Snar", "Snare", 6, 16, kInstrumentArea, 0, 0x0900, 6,
     kInstrumentVariations, 5, {200, 253, 3, 201, 7, 200}},
    {kLowTom, "CLoTo", "LoTo", "LoTom", 3, 16, kInstrumentArea, 0, 0x0F00, 3,
     kInstrumentVariations, 2, {200, 207, 200}},
    {kHighTom, "CHiTo", "HiTo", "HiTom", 3, 16, kInstrumentArea, 0, 0x1200, 3,
     kInstrumentVariations, 2, {200, 207, 200}},
    {kHiHat, "CHiHa", "HiHa", "HiHa", 12, 16, kInstrumentArea, 0, 0x1500, 12,
     kInstrumentVariations, 8, {73, 3, 3, 3, 3, 3, 3, 156, 200, 228, 28, 33}},
    {kClap, "CClap", "Clap", "Clap", 6, 16, kInstrumentArea, 0, 0x2100, 6, kInstrumentVariations,
     5, {127, 0, 63, 63, 132, 200}},
    {kRimshot, "CRims", "Rims", "Rims", 6, 16, kInstrumentArea, 0, 0x2700, 6,
     kInstrumentVariations, 5, {127, 0, 63, 63, 132, 200}},
    {kCrash, "CCrsh", "Crsh", "Crsh", 6, 16, kInstrumentArea, 0, 0x2D00, 6,
     kInstrumentVariations, 5, {127, 0, 63, 63, 132, 200}},
    {kRide, "CRide", "Ride", "Ride", 6, 16, kInstrumentArea, 0, 0x3300, 6, kInstrumentVariations,
     5, {127, 0, 63, 63, 132, 200}},
    // The last LFO value is written by single messages only.
    {kLfos, "CLFOs", "LFOs", "LFOs", 7, 16, kInstrumentArea, 0, 0x3900, 6, kInstrumentVariations,
     6, {0, 0, 0, 0, 0, 0, 0}},
}};

constexpr bool IsKind(int nKind) { return nKind >= kFirstKind && nKind <= kLastKind; }
constexpr const SKindInfo& Info(int nKind) { return kKinds[IsKind(nKind) ? nKind : 0]; }

// The kinds as the editor's menus name them ("Snare", "Hand Clap"); empty for no kind.
constexpr std::array<const char*, kLastKind + 1> kKindNames{
    "",      "Kit",       "Kick",    "Snare", "Low Tom", "High Tom",
    "HiHat", "Hand Clap", "Rimshot", "Crash", "Ride",    "LFOs"};
constexpr const char* KindName(int nKind) { return kKindNames[IsKind(nKind) ? nKind : 0]; }

// The order of the variation store: kinds from the LFOs down to the kits, numbers ascending
// within a kind.
constexpr bool StoreOrderLess(int nKindA, long long nNumberA, int nKindB, long long nNumberB) {
    return nKindA != nKindB ? nKindA > nKindB : nNumberA < nNumberB;
}

// The values a parameter holds; the module has one byte for each.
constexpr int kMinValue = 0;
constexpr int kMaxValue = 255;

// The kit parameter holding the variation number of instrument kind k.
constexpr int KitParamOfKind(int nKind) { return nKind + 6; }

// The instrument kinds must tile area 0x3E without gaps up to the top of the 14-bit space, and
// the kits must fit in theirs.
constexpr bool InstrumentAreaIsTiled() {
    for (int k = kKick; k < kLastKind; ++k)
        if (kKinds[k + 1].nBaseAddress !=
            kKinds[k].nBaseAddress + kInstrumentVariations * kKinds[k].nParams)
            return false;
    return kKinds[kKick].nBaseAddress == 0 &&
           kKinds[kLfos].nBaseAddress + kInstrumentVariations * kKinds[kLfos].nParams == 0x4000;
}
static_assert(InstrumentAreaIsTiled());
static_assert(kKitVariations * kKinds[kKit].nParams <= 0x4000);
static_assert(KitParamOfKind(kLfos) == 17 && KitParamOfKind(kKick) == 8);

constexpr bool RowsAreConsistent() {
    for (int k = kFirstKind; k <= kLastKind; ++k) {
        const SKindInfo& i = kKinds[k];
        if (i.nKind != k || i.nParams > kMaxParams || i.nBlockValues > i.nParams ||
            i.nKitLevelParam >= i.nParams || i.nNameParams > i.nNameLen ||
            i.nNameLen >= static_cast<int>(sizeof kDefaultName))
            return false;
    }
    return true;
}
static_assert(RowsAreConsistent());

} // namespace Kinds

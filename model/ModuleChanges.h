#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class CModuleRecord;
class CQuenleyDoc;
class CSection;

// What Send Changes sends: the project's values that the module does not hold as the record
// knows it, in the project's order, each section the quickest way over the cable. Only the
// values Send project sends are looked at, so the two never disagree about what the module
// should hold.
namespace ModuleChanges {

// A byte takes this long on a MIDI cable, and a block waits this long before it goes.
constexpr long long kMicrosPerByte = 320;
constexpr long long kBlockPauseMicros = 200'000;

constexpr int kBlock = -1;

struct SSend {
    CSection* pSection;
    int nParam; // the single value sent, or kBlock for the section's whole block
};

struct SPlan {
    std::vector<SSend> sends;
    int nValues = 0; // values the module lacks or holds otherwise
};

// The messages that bring the module in step with the project. A section the record knows
// nothing of goes as its block, as Send project sends it; sections that cannot be sent as they
// are (CSection::SendFault) are left out and, when pSkipped is given, listed there.
SPlan Make(const CQuenleyDoc& doc, const CModuleRecord& record,
           std::vector<const CSection*>* pSkipped = nullptr);
// How many values Make would send, without building the plan.
int ValuesToSend(const CQuenleyDoc& doc, const CModuleRecord& record);
// The section's share of that count.
int ValuesToSend(const CSection& section, const CModuleRecord& record);

// The plan's messages as one byte string, with the given channel byte.
QByteArray Messages(const SPlan& plan, std::uint8_t nChannel);
// Queues the plan's messages through the sections' transmit queue; the number handed over.
int Send(const SPlan& plan);
// How long the plan takes on the cable, block pauses included.
long long CableMicros(const SPlan& plan);

} // namespace ModuleChanges

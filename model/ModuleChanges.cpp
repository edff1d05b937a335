#include "ModuleChanges.h"

#include "CModuleRecord.h"
#include "CQuenleyDoc.h"
#include "CSection.h"

namespace {

constexpr long long kSingleBytes = 10;

long long BlockMicros(int nValues) {
    return (2LL * nValues + 8) * ModuleChanges::kMicrosPerByte + ModuleChanges::kBlockPauseMicros;
}

bool IsSendable(const CSection& section) {
    return section.SendFault() == CSection::ESendFault::kNone;
}

} // namespace

int ModuleChanges::ValuesToSend(const CSection& section, const CModuleRecord& record) {
    if (!IsSendable(section))
        return 0;
    int nValues = 0;
    const int nBlock = section.Info().nBlockValues;
    for (int i = 0; i < nBlock; ++i)
        nValues += record.Value(section, i) != section.GetParam(i);
    return nValues;
}

ModuleChanges::SPlan ModuleChanges::Make(const CQuenleyDoc& doc, const CModuleRecord& record,
                                         std::vector<const CSection*>* pSkipped) {
    SPlan plan;
    std::vector<int> differing;
    for (const auto& p : doc.GetSectionList()) {
        CSection& section = *p;
        if (!IsSendable(section)) {
            if (pSkipped)
                pSkipped->push_back(&section);
            continue;
        }
        const int nBlock = section.Info().nBlockValues;
        differing.clear();
        bool bAnyKnown = false;
        for (int i = 0; i < nBlock; ++i) {
            const int nHeld = record.Value(section, i);
            bAnyKnown = bAnyKnown || nHeld != CModuleRecord::kUnknown;
            if (nHeld != section.GetParam(i))
                differing.push_back(i);
        }
        if (differing.empty())
            continue;
        plan.nValues += int(differing.size());
        const long long nSingles = kSingleBytes * kMicrosPerByte * (long long)differing.size();
        if (!bAnyKnown || BlockMicros(nBlock) < nSingles) {
            plan.sends.push_back({&section, kBlock});
            continue;
        }
        for (const int i : differing)
            plan.sends.push_back({&section, i});
    }
    return plan;
}

int ModuleChanges::ValuesToSend(const CQuenleyDoc& doc, const CModuleRecord& record) {
    int nValues = 0;
    for (const auto& p : doc.GetSectionList())
        nValues += ValuesToSend(*p, record);
    return nValues;
}

QByteArray ModuleChanges::Messages(const SPlan& plan, std::uint8_t nChannel) {
    QByteArray bytes;
    for (const SSend& send : plan.sends)
        bytes += send.nParam == kBlock ? send.pSection->BlockMessage(nChannel)
                                       : send.pSection->ParamMessage(send.nParam, nChannel);
    return bytes;
}

int ModuleChanges::Send(const SPlan& plan) {
    int nSent = 0;
    for (const SSend& send : plan.sends) {
        const std::uint32_t nBefore = send.pSection->MessagesSent();
        if (send.nParam == kBlock)
            send.pSection->SendAll();
        else
            send.pSection->SendStoredParam(send.nParam);
        nSent += send.pSection->MessagesSent() != nBefore;
    }
    return nSent;
}

long long ModuleChanges::CableMicros(const SPlan& plan) {
    long long nMicros = 0;
    for (const SSend& send : plan.sends)
        nMicros += send.nParam == kBlock ? BlockMicros(send.pSection->Info().nBlockValues)
                                         : kSingleBytes * kMicrosPerByte;
    return nMicros;
}

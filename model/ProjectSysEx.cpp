#include "ProjectSysEx.h"

#include "CQuenleyDoc.h"

namespace {

template <class TSections>
QByteArray BlocksOf(const TSections& sections, std::uint8_t nChannel,
                    std::vector<const CSection*>* pSkipped) {
    QByteArray bytes;
    for (const auto& pSection : sections) {
        const QByteArray message = pSection->BlockMessage(nChannel);
        if (message.isEmpty()) {
            if (pSkipped)
                pSkipped->push_back(&*pSection);
            continue;
        }
        bytes += message;
    }
    return bytes;
}

} // namespace

QByteArray ProjectSysEx::Messages(const CQuenleyDoc& doc, std::uint8_t nChannel,
                                  std::vector<const CSection*>* pSkipped) {
    return BlocksOf(doc.GetSectionList(), nChannel, pSkipped);
}

QByteArray ProjectSysEx::Messages(const CQuenleyDoc& doc, const std::vector<SSectionKey>& selection,
                                  std::uint8_t nChannel, std::vector<const CSection*>* pSkipped) {
    return BlocksOf(doc.FindSections(selection), nChannel, pSkipped);
}

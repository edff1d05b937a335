#include "ProjectSysEx.h"

#include "CQuenleyDoc.h"

QByteArray ProjectSysEx::Messages(const CQuenleyDoc& doc, std::uint8_t nChannel,
                                  std::vector<const CSection*>* pSkipped) {
    QByteArray bytes;
    for (const auto& pSection : doc.GetSectionList()) {
        const QByteArray message = pSection->BlockMessage(nChannel);
        if (message.isEmpty()) {
            if (pSkipped)
                pSkipped->push_back(pSection.get());
            continue;
        }
        bytes += message;
    }
    return bytes;
}

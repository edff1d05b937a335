#pragma once

#include "SectionKey.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

class CQuenleyDoc;
class CSection;

// The messages that sending the whole project queues, as one byte string: what a .syx dump of
// the project holds, for the editor and quenley-cli alike.
namespace ProjectSysEx {

// Every section's whole-variation block in list order, with the given channel byte. A section
// that cannot be sent as it is (CSection::SendFault) is left out and, when pSkipped is given,
// listed there, as sending the project leaves it out.
QByteArray Messages(const CQuenleyDoc& doc, std::uint8_t nChannel,
                    std::vector<const CSection*>* pSkipped = nullptr);
// The same for only the sections the keys name, in store order (CQuenleyDoc::FindSections).
QByteArray Messages(const CQuenleyDoc& doc, const std::vector<SSectionKey>& selection,
                    std::uint8_t nChannel, std::vector<const CSection*>* pSkipped = nullptr);

} // namespace ProjectSysEx

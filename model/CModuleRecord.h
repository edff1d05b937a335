#pragma once

#include "SectionKinds.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

class CSection;

// What one module is known to hold: the value at every address of its two memory areas, as
// the messages that reached it carried them, or unknown. A value is known only once the port
// confirmed the message that carries it (or the module itself sent it in a dump); everything
// else stays unknown, so that sending what differs never leaves out a value the module lacks.
class CModuleRecord {
public:
    static constexpr int kUnknown = -1;
    static constexpr int kInstrumentMemory = 0x4000;
    static constexpr int kKitMemory = Kinds::kKitVariations * Kinds::kKinds[Kinds::kKit].nParams;

    CModuleRecord();

    // Takes one complete message for the module (F0 to F7, one value or a block) and records
    // every value it carries. False, with nothing recorded, for any other bytes.
    bool AbsorbMessage(const std::uint8_t* pBytes, std::size_t nLength);

    // The value the module holds at the address of the area, or kUnknown.
    int ValueAt(std::uint8_t nArea, int nAddress) const;
    // The value the module holds for parameter nParam of the section's variation, or kUnknown.
    int Value(const CSection& section, int nParam) const;
    // How many values are known.
    int Known() const { return m_nKnown; }
    bool IsEmpty() const { return m_nKnown == 0; }
    // Everything unknown again.
    void Forget();
    // Counts every change, so that a reader can tell cheaply whether it must look again.
    std::uint64_t Revision() const { return m_nRevision; }

    // The record as its file holds it, and back. A file that is not a whole record leaves the
    // record empty and says why.
    QByteArray ToBytes() const;
    bool FromBytes(const QByteArray& bytes, QString& strWhy);

    // The file of a device and channel (1..16) in the folder: the name readable, and told
    // apart from every other device's by a hash of the whole name.
    static QString FileName(const QString& strDevice, int nChannel);
    // Reads the file into the record; a file that does not exist is an empty record. False
    // when the file cannot be read or is damaged: the record is then empty and strWhy says so.
    bool Load(const QString& strPath, QString& strWhy);
    // Replaces the file only once the whole new one is written; an empty record removes it.
    bool Save(const QString& strPath, QString& strWhy) const;

private:
    std::vector<std::int16_t>* MemoryOf(std::uint8_t nArea);
    const std::vector<std::int16_t>* MemoryOf(std::uint8_t nArea) const;

    std::vector<std::int16_t> m_instrument;
    std::vector<std::int16_t> m_kit;
    int m_nKnown = 0;
    std::uint64_t m_nRevision = 0;
};

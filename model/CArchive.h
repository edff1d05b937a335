#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class CSerializable;
struct SRuntimeClass;

// The object archive of project files: little-endian fields, and objects preceded by a class
// tag that names the class the first time it occurs and refers back to it afterwards, with one
// index counter for the whole file. Loading is bounds-checked throughout: once anything is
// missing or malformed the archive stays failed and every further read fails too, so a
// damaged file can never make the reader run past its data or allocate beyond its size.
class CArchive {
public:
    enum EMode { kStore, kLoad };
    // Storing appends to the buffer; loading reads it from the start.
    CArchive(QByteArray& buffer, EMode eMode);

    bool IsStoring() const { return m_eMode == kStore; }
    bool IsLoading() const { return m_eMode == kLoad; }
    bool Failed() const { return m_bFailed; }
    void Fail() { m_bFailed = true; }
    // Bytes not yet read.
    qsizetype Remaining() const { return m_bFailed ? 0 : m_buffer.size() - m_nPos; }
    bool AtEnd() const { return Remaining() == 0; }

    void WriteU16(std::uint16_t n);
    void WriteU32(std::uint32_t n);
    void WriteI32(std::int32_t n) { WriteU32(static_cast<std::uint32_t>(n)); }
    void WriteBytes(const char* pData, qsizetype nLength);

    bool ReadU16(std::uint16_t& n);
    bool ReadU32(std::uint32_t& n);
    bool ReadI32(std::int32_t& n);
    bool ReadBytes(char* pData, qsizetype nLength);

    // The object count of a list block.
    void WriteCount(std::uint32_t n);
    // Refuses a count that the rest of the data could not hold.
    bool ReadCount(std::uint32_t& n);

    // False when the object has no stored class.
    bool WriteObject(const CSerializable& obj);
    // A new object of the stored class filled from the archive, or null when the data is not a
    // well-formed object of a known class (the archive is then failed).
    std::unique_ptr<CSerializable> ReadObject();

    // The smallest number of bytes one tagged object takes.
    static constexpr qsizetype kMinObjectSize = 2;

private:
    bool Take(qsizetype nLength);
    const SRuntimeClass* ReadClassTag();

    QByteArray& m_buffer;
    EMode m_eMode;
    qsizetype m_nPos = 0;
    bool m_bFailed = false;
    // One counter for classes and objects alike, starting at 1. Loading: slot i holds the class
    // that took index i, or null where an object took it. Storing: the classes written so far.
    std::vector<const SRuntimeClass*> m_indexMap{nullptr};
    std::uint32_t m_nNextIndex = 1;
    std::vector<std::pair<const SRuntimeClass*, std::uint32_t>> m_storedClasses;
};

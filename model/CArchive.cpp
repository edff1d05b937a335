#include "CArchive.h"

#include "CSerializable.h"

#include <QtEndian>

#include <cstring>
#include <string_view>

namespace {
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;
constexpr std::uint16_t kLongCount = 0xFFFF;
} // namespace

CArchive::CArchive(QByteArray& buffer, EMode eMode) : m_buffer(buffer), m_eMode(eMode) {}

void CArchive::WriteU16(std::uint16_t n) {
    char bytes[2];
    qToLittleEndian(n, bytes);
    m_buffer.append(bytes, 2);
}

void CArchive::WriteU32(std::uint32_t n) {
    char bytes[4];
    qToLittleEndian(n, bytes);
    m_buffer.append(bytes, 4);
}

void CArchive::WriteBytes(const char* pData, qsizetype nLength) { m_buffer.append(pData, nLength); }

bool CArchive::Take(qsizetype nLength) {
    if (m_bFailed || nLength < 0 || nLength > m_buffer.size() - m_nPos) {
        m_bFailed = true;
        return false;
    }
    m_nPos += nLength;
    return true;
}

bool CArchive::ReadU16(std::uint16_t& n) {
    if (!Take(2))
        return false;
    n = qFromLittleEndian<std::uint16_t>(m_buffer.constData() + m_nPos - 2);
    return true;
}

bool CArchive::ReadU32(std::uint32_t& n) {
    if (!Take(4))
        return false;
    n = qFromLittleEndian<std::uint32_t>(m_buffer.constData() + m_nPos - 4);
    return true;
}

bool CArchive::ReadI32(std::int32_t& n) {
    std::uint32_t u = 0;
    if (!ReadU32(u))
        return false;
    n = static_cast<std::int32_t>(u);
    return true;
}

bool CArchive::ReadBytes(char* pData, qsizetype nLength) {
    if (!Take(nLength))
        return false;
    std::memcpy(pData, m_buffer.constData() + m_nPos - nLength, static_cast<size_t>(nLength));
    return true;
}

void CArchive::WriteCount(std::uint32_t n) {
    if (n < kLongCount) {
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        WriteU16(kLongCount);
        WriteU32(n);
    }
}

bool CArchive::ReadCount(std::uint32_t& n) {
    std::uint16_t nShort = 0;
    if (!ReadU16(nShort))
        return false;
    n = nShort;
    if (nShort == kLongCount && !ReadU32(n))
        return false;
    if (static_cast<qsizetype>(n) > Remaining() / kMinObjectSize) {
        m_bFailed = true;
        return false;
    }
    return true;
}

bool CArchive::WriteObject(const CSerializable& obj) {
    const SRuntimeClass* pClass = obj.GetRuntimeClass();
    if (!pClass)
        return false;
    std::uint32_t nIndex = 0;
    for (const auto& [pKnown, nKnown] : m_storedClasses)
        if (pKnown == pClass)
            nIndex = nKnown;
    if (nIndex == 0) {
        const auto nLength = static_cast<std::uint16_t>(std::strlen(pClass->pszName));
        WriteU16(kNewClassTag);
        WriteU16(pClass->nSchema);
        WriteU16(nLength);
        WriteBytes(pClass->pszName, nLength);
        m_storedClasses.emplace_back(pClass, m_nNextIndex++);
    } else if (nIndex < kBigObjectTag) {
        WriteU16(static_cast<std::uint16_t>(kClassTag | nIndex));
    } else {
        WriteU16(kBigObjectTag);
        WriteU32(kBigClassTag | nIndex);
    }
    ++m_nNextIndex; // the object's own number, never referred to
    const_cast<CSerializable&>(obj).Serialize(*this);
    return true;
}

const SRuntimeClass* CArchive::ReadClassTag() {
    std::uint16_t nTag = 0;
    if (!ReadU16(nTag))
        return nullptr;
    const SRuntimeClass* pClass = nullptr;
    if (nTag == kNewClassTag) {
        std::uint16_t nSchema = 0;
        std::uint16_t nLength = 0;
        if (!ReadU16(nSchema) || !ReadU16(nLength))
            return nullptr;
        const char* pName = m_buffer.constData() + m_nPos;
        if (!Take(nLength))
            return nullptr;
        pClass = FindRuntimeClass(std::string_view(pName, nLength));
        if (!pClass || pClass->nSchema != nSchema) {
            m_bFailed = true;
            return nullptr;
        }
        m_indexMap.push_back(pClass);
    } else {
        // Null objects and references to objects never occur in our files.
        std::uint32_t nIndex = 0;
        if (nTag == kBigObjectTag) {
            std::uint32_t nBig = 0;
            if (!ReadU32(nBig) || !(nBig & kBigClassTag)) {
                m_bFailed = true;
                return nullptr;
            }
            nIndex = nBig & ~kBigClassTag;
        } else if (nTag & kClassTag) {
            nIndex = nTag & ~kClassTag;
        }
        if (nIndex == 0 || nIndex >= m_indexMap.size() || !m_indexMap[nIndex]) {
            m_bFailed = true;
            return nullptr;
        }
        pClass = m_indexMap[nIndex];
    }
    m_indexMap.push_back(nullptr); // the object's own number
    return pClass;
}

std::unique_ptr<CSerializable> CArchive::ReadObject() {
    const SRuntimeClass* pClass = ReadClassTag();
    if (!pClass)
        return nullptr;
    std::unique_ptr<CSerializable> pObj(pClass->pCreate());
    if (!pObj) {
        m_bFailed = true;
        return nullptr;
    }
    pObj->Serialize(*this);
    if (m_bFailed)
        return nullptr;
    return pObj;
}

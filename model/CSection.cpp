#include "CSection.h"

#include "CArchive.h"
#include "CTransmitQueue.h"
#include "RuntimeClasses.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

// Creation and destruction of sections, for tracing the store; silent unless enabled with
// QT_LOGGING_RULES="quenley.model.debug=true".
Q_LOGGING_CATEGORY(lcSections, "quenley.model", QtInfoMsg)

namespace {
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kEndOfSysEx = 0xF7;
constexpr std::uint8_t kMaker = 0x31;
constexpr std::uint8_t kModel = 0x56;
constexpr int kHeaderSize = 7;
constexpr int kDisplayLength = 24;

// Writes nValue as three digits at pOut. Numbers a damaged file may hold never overrun the
// field: they show as "???".
void PutThreeDigits(char* pOut, long long nValue) {
    if (nValue < 0 || nValue > 999) {
        std::memcpy(pOut, "???", 3);
        return;
    }
    char digits[4];
    std::snprintf(digits, sizeof digits, "%0*d", 3, static_cast<int>(nValue));
    std::memcpy(pOut, digits, 3);
}

// Copies at most nMax characters of a name, stopping at its NUL.
void PutName(char* pOut, const char* pszName, int nMax) {
    for (int i = 0; i < nMax && pszName && pszName[i]; ++i)
        pOut[i] = pszName[i];
}
} // namespace

CSection::CSection() : CSection(Kinds::kSectionInfo, false) {}

CSection::CSection(const Kinds::SKindInfo& info, bool bAllocate)
    : m_nKind(info.nKind), m_pszLabel(info.pszLabel),
      m_nParams(info.nParams), m_nNameLen(info.nNameLen), m_nArea(info.nArea),
      m_nNameParams(info.nNameParams), m_nBaseAddress(info.nBaseAddress), m_pInfo(&info) {
    if (bAllocate)
        m_bValid = AllocBuffers();
}

CSection::~CSection() {
    if (Kinds::IsKind(m_nKind) && m_nNumber != kNoValue)
        qCDebug(lcSections, "Destroy %s # %i", m_pszLabel, m_nNumber);
    FreeBuffers();
}

const SRuntimeClass* CSection::GetRuntimeClass() const {
    return SectionRuntimeClass(m_nKind);
}

bool CSection::AllocBuffers() {
    FreeBuffers();
    m_pszName.reset(new (std::nothrow) char[static_cast<size_t>(m_nNameLen) + 1]());
    m_pParams.reset(new (std::nothrow) std::int32_t[static_cast<size_t>(m_nParams)]());
    m_bActive = false;
    if (!m_pszName || !m_pParams) {
        FreeBuffers();
        return false;
    }
    return true;
}

void CSection::FreeBuffers() {
    m_pszName.reset();
    m_pParams.reset();
}

CSection* CSection::CreateVariation(int nNumber) const {
    if (!Kinds::IsKind(m_nKind) || nNumber < 0 || nNumber >= m_pInfo->nVariations)
        return nullptr;
    CSection* pNew = NewOfSameClass();
    if (!pNew)
        return nullptr;
    if (!pNew->m_bValid) {
        delete pNew;
        return nullptr;
    }
    pNew->m_nNumber = nNumber;
    pNew->SetDefaults();
    qCDebug(lcSections, "Create %s %i", m_pInfo->pszTrace, nNumber);
    return pNew;
}

void CSection::DestroyVariation(CSection* pSection) const {
    if (Kinds::IsKind(m_nKind))
        delete pSection;
}

bool CSection::SendAll() {
    if (SendFault() != ESendFault::kNone)
        return false;
    SendBlock(m_pParams.get(), m_pInfo->nBlockValues);
    ++m_nBlocksSent;
    return true;
}

bool CSection::SetName(const char* pszName) {
    if (!pszName || !m_pszName || (m_nNameParams > 0 && !m_pParams))
        return false;
    for (int i = 0; i < m_nNameLen && m_pszName[i] && pszName[i]; ++i) {
        m_pszName[i] = pszName[i];
        if (i < m_nNameParams)
            m_pParams[i] = static_cast<unsigned char>(pszName[i]);
    }
    m_pszName[m_nNameLen] = '\0';
    // A kit keeps its name in its first values too, so the module learns it from them.
    if (m_nNameParams > 0)
        SendBlock(m_pParams.get(), m_nNameParams);
    return true;
}

QByteArray CSection::GetDisplayString() const {
    if (!Kinds::IsKind(m_nKind))
        return QByteArray();
    QByteArray text(kDisplayLength, ' ');
    char* p = text.data();
    std::memcpy(p, m_pszLabel, 4);
    if (m_nKind == Kinds::kKit) {
        const long long nBank = m_nNumber / Kinds::kKitsPerBank;
        PutThreeDigits(p + 4, m_nNumber - nBank * Kinds::kKitsPerBank);
        std::memcpy(p + 8, "Bank", 4);
        PutThreeDigits(p + 12, nBank);
        PutName(p + 16, m_pszName.get(), std::min(m_nNameLen, 8));
    } else {
        PutThreeDigits(p + 4, m_nNumber);
        PutName(p + 8, m_pszName.get(), std::min(m_nNameLen, 16));
    }
    return text;
}

bool CSection::SetParam(int nIndex, int nValue) {
    if (!m_pParams || nIndex < 0 || nIndex >= m_nParams || nValue < 0 || nValue > 255)
        return false;
    m_pParams[nIndex] = nValue;
    SendParam(nIndex, static_cast<std::uint8_t>(nValue >> 7), static_cast<std::uint8_t>(nValue));
    return true;
}

int CSection::GetParam(int nIndex) const {
    if (!m_pParams || nIndex < 0 || nIndex >= m_nParams)
        return kNoValue;
    return m_pParams[nIndex];
}

void CSection::SetDefaults() {
    if (!Kinds::IsKind(m_nKind) || !m_pszName || !m_pParams)
        return;
    std::memcpy(m_pszName.get(), Kinds::kDefaultName, static_cast<size_t>(m_nNameLen));
    m_pszName[m_nNameLen] = '\0';
    for (int i = 0; i < m_nParams; ++i)
        m_pParams[i] = i < m_nNameParams ? static_cast<unsigned char>(m_pszName[i])
                                         : m_pInfo->defaults[static_cast<size_t>(i)];
}

bool CSection::CopyFrom(const CSection& source) {
    if (!IsSameKind(source) || !m_pszName || !m_pParams || !source.m_pszName || !source.m_pParams)
        return false;
    std::memcpy(m_pszName.get(), source.m_pszName.get(), static_cast<size_t>(m_nNameLen));
    std::copy_n(source.m_pParams.get(), m_nParams, m_pParams.get());
    return true;
}

bool CSection::SetStoredFields(bool bActive, std::int32_t nNumber, const char* pName,
                               const std::int32_t* pValues) {
    if (!m_pszName || !m_pParams || !pName || !pValues)
        return false;
    m_bActive = bActive;
    m_nNumber = nNumber;
    std::memcpy(m_pszName.get(), pName, static_cast<size_t>(m_nNameLen));
    m_pszName[m_nNameLen] = '\0';
    std::copy_n(pValues, m_nParams, m_pParams.get());
    return true;
}

std::uint16_t CSection::Address(int nIndex) const {
    // Unsigned, so a number from a damaged file wraps instead of overflowing.
    return static_cast<std::uint16_t>(m_nBaseAddress +
                                      static_cast<std::uint32_t>(m_nNumber) *
                                          static_cast<std::uint32_t>(m_nParams) +
                                      static_cast<std::uint32_t>(nIndex));
}

bool CSection::HasAddress() const {
    return Kinds::IsKind(m_nKind) && m_nNumber >= 0 && m_nNumber < m_pInfo->nVariations;
}

CSection::ESendFault CSection::SendFault(int* pParam) const {
    if (!HasAddress())
        return ESendFault::kNumber;
    for (int i = 0; m_pParams && i < m_nParams; ++i) {
        if (m_pParams[i] < Kinds::kMinValue || m_pParams[i] > Kinds::kMaxValue) {
            if (pParam)
                *pParam = i;
            return ESendFault::kValue;
        }
    }
    return ESendFault::kNone;
}

bool CSection::SendParam(int nIndex, std::uint8_t nHigh, std::uint8_t nLow) {
    if (!HasAddress())
        return false;
    const std::int32_t values[1] = {(nHigh & 0x7F) << 7 | (nLow & 0x7F)};
    return QueueMessage(m_nArea, Address(nIndex), values, 1, m_nKind, nIndex);
}

bool CSection::SendAbsolute(int nAddress, std::uint8_t nHigh, std::uint8_t nLow) {
    const std::int32_t values[1] = {(nHigh & 0x7F) << 7 | (nLow & 0x7F)};
    return QueueMessage(Kinds::kKitArea, static_cast<std::uint32_t>(nAddress), values, 1, 0,
                        CSection::kNoValue);
}

bool CSection::SendBlock(const std::int32_t* pValues, int nCount) {
    if (!pValues || nCount < 0 || nCount > m_nParams || !HasAddress())
        return false;
    // Handed over counts as sent, whatever the queue answered.
    bool bHandedOver = false;
    QueueMessage(m_nArea, Address(0), pValues, nCount, m_nKind, nCount, true, &bHandedOver);
    return bHandedOver;
}

QByteArray CSection::BlockMessage(std::uint8_t nChannel) const {
    if (SendFault() != ESendFault::kNone || !m_pParams)
        return QByteArray();
    const int nCount = m_pInfo->nBlockValues;
    QByteArray bytes(2 * nCount + kHeaderSize + 1, '\0');
    FillMessage(reinterpret_cast<std::uint8_t*>(bytes.data()), m_nArea, nChannel, Address(0),
                m_pParams.get(), nCount);
    return bytes;
}

QByteArray CSection::ParamMessage(int nIndex, std::uint8_t nChannel) const {
    if (SendFault() != ESendFault::kNone || !m_pParams || nIndex < 0 || nIndex >= m_nParams)
        return QByteArray();
    QByteArray bytes(2 + kHeaderSize + 1, '\0');
    FillMessage(reinterpret_cast<std::uint8_t*>(bytes.data()), m_nArea, nChannel,
                Address(nIndex), &m_pParams[nIndex], 1);
    return bytes;
}

bool CSection::SendStoredParam(int nIndex) {
    if (!m_pParams || nIndex < 0 || nIndex >= m_nParams)
        return false;
    const int nValue = m_pParams[nIndex];
    return SendParam(nIndex, std::uint8_t((nValue >> 7) & 0x7F), std::uint8_t(nValue & 0x7F));
}

void CSection::FillMessage(std::uint8_t* pBuffer, std::uint8_t nArea, std::uint8_t nChannel,
                           std::uint32_t nAddress, const std::int32_t* pValues, int nCount) {
    // Every byte between F0 and F7 is masked to 7 bits, so no stored value can break the stream.
    pBuffer[0] = kSysEx;
    pBuffer[1] = kMaker;
    pBuffer[2] = nArea & 0x7F;
    pBuffer[3] = kModel;
    pBuffer[4] = nChannel & 0x7F;
    pBuffer[5] = static_cast<std::uint8_t>((nAddress >> 7) & 0x7F);
    pBuffer[6] = static_cast<std::uint8_t>(nAddress & 0x7F);
    for (int i = 0; i < nCount; ++i) {
        const auto nValue = static_cast<std::uint32_t>(pValues[i]);
        pBuffer[kHeaderSize + 2 * i] = static_cast<std::uint8_t>((nValue >> 7) & 0x7F);
        pBuffer[kHeaderSize + 2 * i + 1] = static_cast<std::uint8_t>(nValue & 0x7F);
    }
    pBuffer[2 * nCount + kHeaderSize] = kEndOfSysEx;
}

bool CSection::QueueMessage(std::uint8_t nArea, std::uint32_t nAddress, const std::int32_t* pValues,
                            int nCount, std::int32_t nSectionKey, std::int32_t nParamKey,
                            bool bBlock, bool* pHandedOver) {
    ++m_nMessagesSent;
    if (!m_pQueue)
        return false;
    const int nLength = 2 * nCount + kHeaderSize + 1;
    std::unique_ptr<std::uint8_t[]> pBuffer(new (std::nothrow)
                                                std::uint8_t[static_cast<size_t>(nLength)]);
    if (!pBuffer)
        return false;
    FillMessage(pBuffer.get(), nArea, static_cast<std::uint8_t>(m_pQueue->MessageChannel()),
                nAddress, pValues, nCount);
    if (pHandedOver)
        *pHandedOver = true;
    return m_pQueue->QueueMessage({nSectionKey, m_nNumber, nParamKey, bBlock},
                                  std::move(pBuffer), nLength);
}

void CSection::Serialize(CArchive& ar) {
    if (!m_pszName || !m_pParams) {
        ar.Fail();
        return;
    }
    if (ar.IsStoring()) {
        ar.WriteU32(m_bActive ? 1 : 0);
        ar.WriteI32(m_nNumber);
        ar.WriteBytes(m_pszName.get(), m_nNameLen);
        for (int i = 0; i < m_nParams; ++i)
            ar.WriteI32(m_pParams[i]);
        return;
    }
    std::uint32_t nActive = 0;
    ar.ReadU32(nActive);
    ar.ReadI32(m_nNumber);
    ar.ReadBytes(m_pszName.get(), m_nNameLen);
    m_pszName[m_nNameLen] = '\0';
    for (int i = 0; i < m_nParams; ++i)
        ar.ReadI32(m_pParams[i]);
    m_bActive = nActive != 0;
}

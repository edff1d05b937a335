#pragma once

#include "CSerializable.h"
#include "SectionKinds.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <new>

class CTransmitQueue;

// One sound of the project: a numbered variation of an instrument kind or a numbered kit. Holds
// its name and parameter values, knows where they live in the module's memory, and sends every
// change to the module at once through the transmit queue. The concrete kinds only choose their
// row of the kind table; everything else is here.
class CSection : public CSerializable {
public:
    CSection();
    ~CSection() override;
    CSection(const CSection&) = delete;
    CSection& operator=(const CSection&) = delete;

    const SRuntimeClass* GetRuntimeClass() const override;

    // Where the section's messages go; without a queue it still stores every value.
    void SetTransmitQueue(CTransmitQueue* pQueue) { m_pQueue = pQueue; }
    CTransmitQueue* TransmitQueue() const { return m_pQueue; }
    void Serialize(CArchive& ar) override;

    // A new object of this class with the number set and the defaults applied, or null for the
    // abstract classes, a number out of range or missing memory. Nothing is sent.
    CSection* CreateVariation(int nNumber) const;
    void DestroyVariation(CSection* pSection) const;

    // Queues the whole variation as one block; false, with nothing queued, for one that has a
    // SendFault.
    bool SendAll();
    // How many whole blocks this section has sent; an edit that sent one is undone by one.
    std::uint32_t BlocksSent() const { return m_nBlocksSent; }
    // How many messages of any size it has sent (or meant to, without a transmit queue).
    std::uint32_t MessagesSent() const { return m_nMessagesSent; }
    void SetActive(bool bActive) { m_bActive = bActive; }
    bool IsActive() const { return m_bActive; }
    const char* GetLabel() const { return m_pszLabel; }
    int GetKind() const { return m_nKind; }
    int GetNumber() const { return m_nNumber; }
    bool SetName(const char* pszName);
    // The name buffer: m_nNameLen characters and a NUL; null only when allocation failed.
    const char* GetName() const { return m_pszName.get(); }
    // 24 characters ("Kick012 Untitled        ", "Kit 044 Bank001 Untitled"); null for the
    // abstract classes.
    QByteArray GetDisplayString() const;
    bool SetParam(int nIndex, int nValue);
    int GetParam(int nIndex) const;
    void SetDefaults();

    bool IsSameKind(const CSection& other) const { return m_nKind == other.m_nKind; }
    bool CopyFrom(const CSection& source);

    // Takes the stored fields as a project file holds them, unchecked: the mark, the number,
    // m_nNameLen name bytes and m_nParams values. False without buffers.
    bool SetStoredFields(bool bActive, std::int32_t nNumber, const char* pName,
                         const std::int32_t* pValues);

    bool IsValid() const { return m_bValid; }
    int GetParamCount() const { return m_nParams; }
    int GetNameLength() const { return m_nNameLen; }
    const Kinds::SKindInfo& Info() const { return *m_pInfo; }

    // Message builders. False when there is no transmit queue or memory runs out.
    bool SendParam(int nIndex, std::uint8_t nHigh, std::uint8_t nLow);
    bool SendAbsolute(int nAddress, std::uint8_t nHigh, std::uint8_t nLow);
    bool SendBlock(const std::int32_t* pValues, int nCount);
    // The bytes SendAll queues, with the given channel byte; empty where SendAll refuses.
    QByteArray BlockMessage(std::uint8_t nChannel) const;
    // The bytes SendParam queues for the stored value of parameter nIndex; empty where the
    // section cannot be sent.
    QByteArray ParamMessage(int nIndex, std::uint8_t nChannel) const;
    // Queues the stored value of parameter nIndex as one single-value message.
    bool SendStoredParam(int nIndex);

    // Whether the number names a variation of the kind. A number from a damaged file that does
    // not would address another sound's memory, so nothing is sent for it.
    bool HasAddress() const;

    // Why the variation cannot go to the module as it is, as a damaged file may leave it: its
    // number is outside its kind's range, or a value outside 0..255 would arrive as another
    // value. The editor never makes such a variation; SendAll refuses one.
    enum class ESendFault { kNone, kNumber, kValue };
    // pParam, when given, receives the index of the first value out of range.
    ESendFault SendFault(int* pParam = nullptr) const;
    // The module address of parameter nIndex of this variation (14 significant bits).
    std::uint16_t Address(int nIndex) const;

    static constexpr int kNoValue = 256;

protected:
    // Sets the row of the kind table; classes with buffers then allocate them.
    explicit CSection(const Kinds::SKindInfo& info, bool bAllocate);
    bool AllocBuffers();
    void FreeBuffers();
    // An empty object of the same class, made through its constructor.
    virtual CSection* NewOfSameClass() const { return nullptr; }

    CTransmitQueue* m_pQueue = nullptr;
    std::int32_t m_nKind = 0;
    const char* m_pszLabel = nullptr;
    bool m_bValid = false;
    std::int32_t m_nParams = 0;
    std::int32_t m_nNameLen = 0;
    std::uint8_t m_nArea = 0;
    std::uint8_t m_nNameParams = 0;
    std::uint16_t m_nBaseAddress = 0;
    bool m_bActive = false;
    std::int32_t m_nNumber = kNoValue;
    std::unique_ptr<char[]> m_pszName;
    std::unique_ptr<std::int32_t[]> m_pParams;
    std::uint32_t m_nBlocksSent = 0;
    std::uint32_t m_nMessagesSent = 0;

private:
    // Writes the whole message (2 * nCount + 8 bytes) to pBuffer.
    static void FillMessage(std::uint8_t* pBuffer, std::uint8_t nArea, std::uint8_t nChannel,
                            std::uint32_t nAddress, const std::int32_t* pValues, int nCount);
    bool QueueMessage(std::uint8_t nArea, std::uint32_t nAddress, const std::int32_t* pValues,
                      int nCount, std::int32_t nSectionKey, std::int32_t nParamKey,
                      bool bBlock = false, bool* pHandedOver = nullptr);

    const Kinds::SKindInfo* m_pInfo;
};

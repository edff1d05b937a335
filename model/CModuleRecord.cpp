#include "CModuleRecord.h"

#include "CSection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kEndOfSysEx = 0xF7;
constexpr std::uint8_t kMaker = 0x31;
constexpr std::uint8_t kModel = 0x56;
constexpr std::size_t kHeaderBytes = 7; // F0, maker, area, model, channel, address high, low
constexpr std::uint8_t kChannels = 16;

// The file: this mark, then every address of both areas as two bytes (low first, FFFF for
// unknown), then a checksum of all that comes before it.
constexpr char kMagic[8] = {'Q', 'n', 'l', 'y', 'M', 'o', 'd', '1'};
constexpr std::uint16_t kUnknownWord = 0xFFFF;
constexpr qsizetype kFileSize = sizeof kMagic +
                                2 * (CModuleRecord::kInstrumentMemory + CModuleRecord::kKitMemory) +
                                2;
} // namespace

CModuleRecord::CModuleRecord()
    : m_instrument(kInstrumentMemory, kUnknown), m_kit(kKitMemory, kUnknown) {}

std::vector<std::int16_t>* CModuleRecord::MemoryOf(std::uint8_t nArea) {
    return nArea == Kinds::kInstrumentArea ? &m_instrument
           : nArea == Kinds::kKitArea      ? &m_kit
                                           : nullptr;
}

const std::vector<std::int16_t>* CModuleRecord::MemoryOf(std::uint8_t nArea) const {
    return const_cast<CModuleRecord*>(this)->MemoryOf(nArea);
}

bool CModuleRecord::AbsorbMessage(const std::uint8_t* pBytes, std::size_t nLength) {
    if (!pBytes || nLength < kHeaderBytes + 3 || (nLength - kHeaderBytes - 1) % 2 != 0)
        return false;
    if (pBytes[0] != kSysEx || pBytes[nLength - 1] != kEndOfSysEx || pBytes[1] != kMaker ||
        pBytes[3] != kModel || pBytes[4] >= kChannels)
        return false;
    std::vector<std::int16_t>* pMemory = MemoryOf(pBytes[2]);
    if (!pMemory)
        return false;
    for (std::size_t i = 5; i < nLength - 1; ++i)
        if (pBytes[i] > 0x7F)
            return false;
    // The module keeps one byte per value; a message with a higher one is not its own.
    for (std::size_t i = kHeaderBytes; i < nLength - 1; i += 2)
        if (pBytes[i] > 1)
            return false;
    const std::size_t nAddress = std::size_t(pBytes[5]) << 7 | pBytes[6];
    const std::size_t nValues = (nLength - kHeaderBytes - 1) / 2;
    // Values past the end of the area go nowhere, as in the module.
    for (std::size_t j = 0; j < nValues && nAddress + j < pMemory->size(); ++j) {
        std::int16_t& nAt = (*pMemory)[nAddress + j];
        if (nAt == kUnknown)
            ++m_nKnown;
        nAt = static_cast<std::int16_t>(pBytes[kHeaderBytes + 2 * j] << 7 |
                                        pBytes[kHeaderBytes + 2 * j + 1]);
    }
    ++m_nRevision;
    return true;
}

int CModuleRecord::ValueAt(std::uint8_t nArea, int nAddress) const {
    const std::vector<std::int16_t>* pMemory = MemoryOf(nArea);
    if (!pMemory || nAddress < 0 || nAddress >= int(pMemory->size()))
        return kUnknown;
    return (*pMemory)[static_cast<std::size_t>(nAddress)];
}

int CModuleRecord::Value(const CSection& section, int nParam) const {
    if (!section.HasAddress() || nParam < 0 || nParam >= section.GetParamCount())
        return kUnknown;
    return ValueAt(section.Info().nArea, section.Address(nParam));
}

void CModuleRecord::Forget() {
    std::fill(m_instrument.begin(), m_instrument.end(), kUnknown);
    std::fill(m_kit.begin(), m_kit.end(), kUnknown);
    m_nKnown = 0;
    ++m_nRevision;
}

QByteArray CModuleRecord::ToBytes() const {
    QByteArray bytes;
    bytes.reserve(kFileSize);
    bytes.append(kMagic, sizeof kMagic);
    for (const auto* pMemory : {&m_instrument, &m_kit})
        for (const std::int16_t nValue : *pMemory) {
            const auto nWord = nValue == kUnknown ? kUnknownWord : std::uint16_t(nValue);
            bytes.append(char(nWord & 0xFF));
            bytes.append(char(nWord >> 8));
        }
    const quint16 nSum = qChecksum(bytes);
    bytes.append(char(nSum & 0xFF));
    bytes.append(char(nSum >> 8));
    return bytes;
}

bool CModuleRecord::FromBytes(const QByteArray& bytes, QString& strWhy) {
    Forget();
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (bytes.size() != kFileSize || !bytes.startsWith(QByteArray(kMagic, sizeof kMagic))) {
        strWhy = QStringLiteral("it is not a record of this program");
        return false;
    }
    if (qChecksum(QByteArrayView(bytes).first(kFileSize - 2)) !=
        quint16(p[kFileSize - 2] | p[kFileSize - 1] << 8)) {
        strWhy = QStringLiteral("its checksum does not match");
        return false;
    }
    qsizetype nAt = sizeof kMagic;
    int nKnown = 0;
    for (auto* pMemory : {&m_instrument, &m_kit}) {
        for (std::int16_t& nValue : *pMemory) {
            const std::uint16_t nWord = std::uint16_t(p[nAt] | p[nAt + 1] << 8);
            nAt += 2;
            if (nWord == kUnknownWord)
                continue;
            if (nWord > Kinds::kMaxValue) {
                Forget();
                strWhy = QStringLiteral("it holds a value the module cannot hold");
                return false;
            }
            nValue = static_cast<std::int16_t>(nWord);
            ++nKnown;
        }
    }
    m_nKnown = nKnown;
    ++m_nRevision;
    return true;
}

QString CModuleRecord::FileName(const QString& strDevice, int nChannel) {
    QString strReadable;
    for (const QChar c : strDevice.left(40))
        strReadable += c.isLetterOrNumber() && c.unicode() < 0x80 ? c : QChar('_');
    const QByteArray hash =
        QCryptographicHash::hash(strDevice.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QStringLiteral("%1-%2-ch%3.record")
        .arg(strReadable, QString::fromLatin1(hash))
        .arg(nChannel, 2, 10, QChar('0'));
}

bool CModuleRecord::Load(const QString& strPath, QString& strWhy) {
    Forget();
    QFile file(strPath);
    if (!file.exists())
        return true;
    if (!QFileInfo(strPath).isFile()) {
        strWhy = QStringLiteral("it is not a regular file");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        strWhy = file.errorString();
        return false;
    }
    // Never more than a record holds, whatever sits there.
    return FromBytes(file.read(kFileSize + 1), strWhy);
}

bool CModuleRecord::Save(const QString& strPath, QString& strWhy) const {
    if (IsEmpty()) {
        if (QFile::exists(strPath) && !QFile::remove(strPath)) {
            strWhy = QStringLiteral("the old record could not be removed");
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(QFileInfo(strPath).absolutePath())) {
        strWhy = QStringLiteral("its folder could not be made");
        return false;
    }
    QSaveFile file(strPath);
    const QByteArray bytes = ToBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        strWhy = file.errorString();
        return false;
    }
    return true;
}

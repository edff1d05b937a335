#pragma once

#include "ProjectFile.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtEndian>

#include <cstdio>

// The device under quenley-cli's message stream. It takes the text as UTF-16 (little-endian)
// and writes it as UTF-8 to a C stream, except that the bytes of a file name that is not UTF-8
// go out as they were given, so that a name shows as the shell shows it.
class CRawNameOutput : public QIODevice {
public:
    explicit CRawNameOutput(std::FILE* pStream) : m_pStream(pStream) {}

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* pData, qint64 nLength) override {
        m_pending.append(pData, static_cast<qsizetype>(nLength));
        qsizetype nUnits = m_pending.size() / 2;
        QString text(nUnits, Qt::Uninitialized);
        for (qsizetype i = 0; i < nUnits; ++i)
            text[i] = QChar(qFromLittleEndian<char16_t>(m_pending.constData() + 2 * i));
        // The second half of a pair may come with the next write.
        if (nUnits > 0 && text[nUnits - 1].isHighSurrogate())
            text.truncate(--nUnits);
        m_pending.remove(0, 2 * nUnits);
        const QByteArray bytes = ProjectFile::EncodeName(text);
        if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_pStream) !=
                static_cast<size_t>(bytes.size()) ||
            std::fflush(m_pStream) != 0)
            return -1;
        return nLength;
    }

private:
    std::FILE* m_pStream;
    QByteArray m_pending; // bytes of a code unit or pair not yet complete
};

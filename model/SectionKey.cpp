#include "SectionKey.h"

#include "SectionKinds.h"

#include <QList>

namespace SectionKeys {

QByteArray Encode(const std::vector<SSectionKey>& keys) {
    QByteArray bytes;
    for (const SSectionKey& key : keys)
        bytes += QByteArray::number(key.nKind) + ' ' + QByteArray::number(key.nNumber) + '\n';
    return bytes;
}

std::vector<SSectionKey> Decode(const QByteArray& bytes) {
    std::vector<SSectionKey> keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2)
            continue;
        bool bKind = false;
        bool bNumber = false;
        const int nKind = fields[0].toInt(&bKind);
        const int nNumber = fields[1].toInt(&bNumber);
        // A drop may come from anywhere; only what could name a variation is taken.
        if (bKind && bNumber && Kinds::IsKind(nKind) && nNumber >= 0 &&
            nNumber < Kinds::Info(nKind).nVariations)
            keys.push_back({nKind, nNumber});
    }
    return keys;
}

} // namespace SectionKeys

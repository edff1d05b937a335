#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

class CQuenleyDoc;

// A text form of a project file that keeps every field: the sections in list order with their
// names byte for byte, and the records of the saved windows. Reading it back gives the same
// file bytes the editor would write.
namespace ProjectJson {

QJsonDocument FromDocument(const CQuenleyDoc& doc);

// The project file bytes the JSON describes. On failure strError names the bad field by its
// path ("sections[3].params[2]: ...") and nothing is produced.
bool ToProjectBytes(const QJsonDocument& json, QByteArray& bytes, QString& strError);

} // namespace ProjectJson

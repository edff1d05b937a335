#pragma once

#include <QByteArray>
#include <QString>

// Reading and writing a project file's bytes. A write goes to a temporary file that replaces
// the old one only once every byte is on disk, so a failed save leaves the old file as it was.
// Failures come back as the message the user sees, with the file name in it.
namespace ProjectFile {

// Larger than any project can be; a bigger file is not a project.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool Read(const QString& strPath, QByteArray& bytes, QString& strError);
bool Write(const QString& strPath, const QByteArray& bytes, QString& strError);

extern const char* const kUnexpectedFormat; // "Unexpected file format."
extern const char* const kFailedToOpen;     // "Failed to open document."
extern const char* const kFailedToSave;     // "Failed to save document."

} // namespace ProjectFile

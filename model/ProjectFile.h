#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFile;

// Reading and writing a project file's bytes. A write to a regular file goes to a temporary file
// that replaces the old one only once every byte is on disk, so a failed save leaves the old file
// as it was; a FIFO or character device (a pipe, a terminal, /dev/null) is written straight into
// and never replaced, and other special files are refused. Failures come back as the message the
// user sees, with the file name in it.
namespace ProjectFile {

// Larger than any project can be; a bigger file is not a project.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// What a read is meant to hold, which the message about a file too large for it names.
enum class EContent { Project, Dump };

// Reads the whole file, refusing one larger than nMaxSize without reserving that much first. A
// FIFO or device is read until its end.
bool Read(const QString& strPath, QByteArray& bytes, QString& strError,
          qint64 nMaxSize = kMaxFileSize, EContent eContent = EContent::Project);
bool Write(const QString& strPath, const QByteArray& bytes, QString& strError);

// The same on a device that is open already (standard input or output); strName stands for it
// in the messages.
bool ReadDevice(QFile& file, const QString& strName, qint64 nMaxSize, QByteArray& bytes,
                QString& strError, EContent eContent = EContent::Project);
bool WriteDevice(QFile& file, const QString& strName, const QByteArray& bytes, QString& strError);

// File names as the system stores them are bytes, usually but not always UTF-8. A byte that is
// not part of valid UTF-8 is carried as the lone surrogate U+DC80..U+DCFF, which no UTF-8 text
// decodes to, so such a name opens and prints exactly as it was given.
QString DecodeName(const QByteArray& name);
QByteArray EncodeName(const QString& strName);
bool HasUndecodableBytes(const QString& strName);
// The program's command line, argv[0] first, each argument decoded as DecodeName does. Take it
// after the application object has removed its own options from argv.
QStringList DecodeArguments(int argc, const char* const* argv);

extern const char* const kUnexpectedFormat; // "Unexpected file format."
extern const char* const kFailedToOpen;     // "Failed to open document."
extern const char* const kFailedToSave;     // "Failed to save document."

} // namespace ProjectFile

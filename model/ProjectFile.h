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

// What a read or a save saw of a regular file, to tell later whether another program has
// written it since.
struct SFileStamp {
    qint64 nSize = -1; // -1: nothing known
    QByteArray hash;   // of the bytes themselves
    bool IsKnown() const { return nSize >= 0; }
};

// The editor's reading and writing: only a regular file is a project. A pipe, device or socket
// is refused by what it is, before anything opens it, so that nothing can wait for a writer or
// a reader. pStamp, when given, receives what was read or written.
bool ReadRegular(const QString& strPath, QByteArray& bytes, QString& strError,
                 SFileStamp* pStamp = nullptr, EContent eContent = EContent::Project);
bool WriteRegular(const QString& strPath, const QByteArray& bytes, QString& strError,
                  SFileStamp* pStamp = nullptr);
// True when the file no longer holds what stamp saw. One that is gone, or is no longer a regular
// file, has nothing of another program's to lose here: a save recreates it, or refuses it.
bool ChangedSince(const QString& strPath, const SFileStamp& stamp);

// A file size limit (ulimit -f) otherwise ends the program with SIGXFSZ in the middle of a
// write; ignored, the write fails with EFBIG and is reported like a full disk.
void IgnoreFileSizeSignal();

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

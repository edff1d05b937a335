#include "ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

const char* const ProjectFile::kUnexpectedFormat = "Unexpected file format.";
const char* const ProjectFile::kFailedToOpen = "Failed to open document.";
const char* const ProjectFile::kFailedToSave = "Failed to save document.";

namespace {

// The file error texts; null where only the general failure text fits.
const char* ErrnoText(int nErrno) {
    switch (nErrno) {
    case ENOENT:
        return "%1 was not found.";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "%1 contains an invalid path.";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "Access to %1 was denied.";
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "Disk full while accessing %1.";
    case EMFILE:
    case ENFILE:
        return "%1 could not be opened because there are too many open files.";
    case EIO:
        return "A hardware I/O error was reported while accessing %1.";
    default:
        return nullptr;
    }
}

QString Describe(int nErrno, const QString& strPath, const char* pszFallback) {
    // A missing folder is a wrong path rather than a missing file.
    if (nErrno == ENOENT && !QFileInfo(strPath).absoluteDir().exists())
        nErrno = ENOTDIR;
    const char* pszText = ErrnoText(nErrno);
    return pszText ? QString::fromLatin1(pszText).arg(QDir::toNativeSeparators(strPath))
                   : QString::fromLatin1(pszFallback);
}

} // namespace

bool ProjectFile::Read(const QString& strPath, QByteArray& bytes, QString& strError) {
    const QFileInfo info(strPath);
    if (info.isDir()) {
        strError = Describe(EISDIR, strPath, kFailedToOpen);
        return false;
    }
    QFile file(strPath);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int nErrno = errno ? errno : (info.exists() ? EACCES : ENOENT);
        strError = Describe(nErrno, strPath, kFailedToOpen);
        return false;
    }
    if (file.size() > kMaxFileSize) {
        strError = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    errno = 0;
    bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        strError = Describe(errno, strPath, kFailedToOpen);
        return false;
    }
    if (bytes.size() > kMaxFileSize) {
        strError = QString::fromLatin1(kUnexpectedFormat);
        return false;
    }
    return true;
}

bool ProjectFile::Write(const QString& strPath, const QByteArray& bytes, QString& strError) {
    // A folder where the file should be would otherwise only fail at the final rename.
    if (QFileInfo(strPath).isDir()) {
        strError = Describe(EISDIR, strPath, kFailedToSave);
        return false;
    }
    QSaveFile file(strPath);
    file.setDirectWriteFallback(false);
    errno = 0;
    // Unbuffered: a buffered save file can report a commit as done although its final flush
    // ran out of space, and the old file would be replaced by a cut one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        strError = Describe(errno, strPath, kFailedToSave);
        return false;
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int nErrno = errno;
        file.cancelWriting();
        strError = Describe(nErrno, strPath, kFailedToSave);
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        strError = Describe(errno, strPath, kFailedToSave);
        return false;
    }
    return true;
}

#include "ProjectFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

const char* const ProjectFile::kUnexpectedFormat = "Unexpected file format.";
const char* const ProjectFile::kFailedToOpen = "Failed to open document.";
const char* const ProjectFile::kFailedToSave = "Failed to save document.";

namespace {

// What a name leads to, symbolic links followed. Missing also stands for a name that cannot be
// looked at; opening it then tells why.
enum class EKind { Missing, Regular, Folder, Fifo, CharDevice, BlockDevice, Socket, Other };

EKind KindOf(const QString& strPath) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(ProjectFile::EncodeName(strPath).constData(), &st) != 0)
        return EKind::Missing;
    if (S_ISREG(st.st_mode))
        return EKind::Regular;
    if (S_ISDIR(st.st_mode))
        return EKind::Folder;
    if (S_ISFIFO(st.st_mode))
        return EKind::Fifo;
    if (S_ISCHR(st.st_mode))
        return EKind::CharDevice;
    if (S_ISBLK(st.st_mode))
        return EKind::BlockDevice;
    if (S_ISSOCK(st.st_mode))
        return EKind::Socket;
    return EKind::Other;
#else
    const QFileInfo info(strPath);
    if (!info.exists())
        return EKind::Missing;
    if (info.isDir())
        return EKind::Folder;
    return info.isFile() ? EKind::Regular : EKind::Other;
#endif
}

// Opens by the name's own bytes, so that a name that is not UTF-8 opens too. Never creates or
// truncates: it is for files that exist, and for devices, which must stay what they are.
bool OpenExisting(QFile& file, const QString& strPath, QIODevice::OpenMode eMode) {
#ifdef Q_OS_UNIX
    const int nFlags =
        ((eMode & QIODevice::WriteOnly) ? O_WRONLY : O_RDONLY) | O_CLOEXEC | O_NOCTTY;
    const int fd = ::open(ProjectFile::EncodeName(strPath).constData(), nFlags);
    if (fd < 0)
        return false;
    if (!file.open(fd, eMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    return true;
#else
    file.setFileName(strPath);
    return file.open(eMode | QIODevice::ExistingOnly);
#endif
}

QString ParentOf(const QString& strPath) {
    const qsizetype nSlash = strPath.lastIndexOf(QLatin1Char('/'));
    return nSlash < 0 ? QStringLiteral(".") : strPath.left(std::max<qsizetype>(nSlash, 1));
}

bool NoSuchName(const QString& strPath) {
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::stat(ProjectFile::EncodeName(strPath).constData(), &st) != 0 && errno == ENOENT;
#else
    return !QFileInfo::exists(strPath);
#endif
}

// The outermost folder on the way to the file that does not exist, which is where the path
// goes wrong; empty when every folder is there.
QString MissingFolder(const QString& strPath) {
    QString strMissing;
    for (QString strFolder = ParentOf(strPath); NoSuchName(strFolder);) {
        strMissing = strFolder;
        const QString strUp = ParentOf(strFolder);
        if (strUp == strFolder)
            break;
        strFolder = strUp;
    }
    return strMissing;
}

// The file error texts; null where only the general failure text fits.
const char* ErrnoText(int nErrno) {
    switch (nErrno) {
    case ENOENT:
        return "%1 was not found.";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "%1 contains an invalid path.";
    case EISDIR:
        return "%1 is a folder, not a file.";
    case EACCES:
    case EPERM:
    case EROFS:
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
    // A missing folder is a wrong path rather than a missing file: name the folder.
    if (nErrno == ENOENT) {
        const QString strFolder = MissingFolder(strPath);
        if (!strFolder.isEmpty())
            return QStringLiteral("%1: the folder %2 does not exist.")
                .arg(QDir::toNativeSeparators(strPath), QDir::toNativeSeparators(strFolder));
    }
    const char* pszText = ErrnoText(nErrno);
    return pszText ? QString::fromLatin1(pszText).arg(QDir::toNativeSeparators(strPath))
                   : QString::fromLatin1(pszFallback);
}

QString TooLarge(const QString& strPath, qint64 nMaxSize, ProjectFile::EContent eContent) {
    return QStringLiteral("%1 is too large for %2: the limit is %3 bytes.")
        .arg(QDir::toNativeSeparators(strPath),
             eContent == ProjectFile::EContent::Dump ? QStringLiteral("a dump")
                                                     : QStringLiteral("a project"),
             QString::number(nMaxSize));
}

// For what is neither a file nor a device we write straight into.
QString NotAFile(EKind eKind, const QString& strPath) {
    const char* pszWhat = eKind == EKind::BlockDevice ? "a block device"
                          : eKind == EKind::Socket    ? "a socket"
                                                      : "not a regular file";
    return QStringLiteral("%1 is %2, not a file; nothing was written to it.")
        .arg(QDir::toNativeSeparators(strPath), QLatin1String(pszWhat));
}

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

// The length of the valid UTF-8 sequence at p (at most nLeft bytes) and its code point; 0 when
// the bytes there are not one.
int Utf8Sequence(const unsigned char* p, qsizetype nLeft, char32_t& cp) {
    const unsigned char c = p[0];
    int nLength = 0;
    char32_t nMin = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        nLength = 2, cp = c & 0x1F, nMin = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        nLength = 3, cp = c & 0x0F, nMin = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        nLength = 4, cp = c & 0x07, nMin = 0x10000;
    } else {
        return 0;
    }
    if (nLength > nLeft)
        return 0;
    for (int i = 1; i < nLength; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and numbers past Unicode are not UTF-8.
    if (cp < nMin || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return nLength;
}

bool IsEscape(const QString& str, qsizetype i) {
    const char16_t c = str[i].unicode();
    return c >= kFirstEscape && c <= kLastEscape && (i == 0 || !str[i - 1].isHighSurrogate());
}

} // namespace

QString ProjectFile::DecodeName(const QByteArray& name) {
    QString str;
    const auto* p = reinterpret_cast<const unsigned char*>(name.constData());
    for (qsizetype i = 0; i < name.size();) {
        char32_t cp = 0;
        const int nLength = Utf8Sequence(p + i, name.size() - i, cp);
        if (nLength == 0) {
            str.append(QChar(static_cast<char16_t>(0xDC00 + p[i])));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(cp)) {
            str.append(QChar(QChar::highSurrogate(cp)));
            str.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            str.append(QChar(static_cast<char16_t>(cp)));
        }
        i += nLength;
    }
    return str;
}

QByteArray ProjectFile::EncodeName(const QString& strName) {
    QByteArray bytes;
    qsizetype nStart = 0;
    for (qsizetype i = 0; i < strName.size(); ++i) {
        if (!IsEscape(strName, i))
            continue;
        bytes += QStringView(strName).mid(nStart, i - nStart).toUtf8();
        bytes += static_cast<char>(strName[i].unicode() - 0xDC00);
        nStart = i + 1;
    }
    bytes += QStringView(strName).mid(nStart).toUtf8();
    return bytes;
}

bool ProjectFile::HasUndecodableBytes(const QString& strName) {
    for (qsizetype i = 0; i < strName.size(); ++i)
        if (IsEscape(strName, i))
            return true;
    return false;
}

QStringList ProjectFile::DecodeArguments(int argc, const char* const* argv) {
#ifdef Q_OS_UNIX
    // Qt's own list would turn bytes that are not UTF-8 into U+FFFD, which names no file.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << DecodeName(QByteArray(argv[i]));
    return args;
#else
    (void)argc;
    (void)argv;
    return QCoreApplication::arguments();
#endif
}

bool ProjectFile::Read(const QString& strPath, QByteArray& bytes, QString& strError,
                       qint64 nMaxSize, EContent eContent) {
    const EKind eKind = KindOf(strPath);
    if (eKind == EKind::Folder) {
        strError = Describe(EISDIR, strPath, kFailedToOpen);
        return false;
    }
    if (eKind == EKind::Socket) {
        strError =
            QStringLiteral("%1 is a socket, not a file.").arg(QDir::toNativeSeparators(strPath));
        return false;
    }
    QFile file;
    errno = 0;
    if (!OpenExisting(file, strPath, QIODevice::ReadOnly)) {
        const int nErrno = errno ? errno : (eKind != EKind::Missing ? EACCES : ENOENT);
        strError = Describe(nErrno, strPath, kFailedToOpen);
        return false;
    }
    return ReadDevice(file, strPath, nMaxSize, bytes, strError, eContent);
}

bool ProjectFile::ReadDevice(QFile& file, const QString& strName, qint64 nMaxSize,
                             QByteArray& bytes, QString& strError, EContent eContent) {
    if (!file.isSequential() && file.size() > nMaxSize) {
        strError = TooLarge(strName, nMaxSize, eContent);
        return false;
    }
    // Grows with what arrives: a pipe or device tells no size, and reserving the limit up front
    // would cost its whole size for every small file.
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray data;
    for (;;) {
        const qsizetype nOld = data.size();
        const qint64 nWant = std::min<qint64>(kChunk, nMaxSize + 1 - nOld);
        data.resize(nOld + static_cast<qsizetype>(nWant));
        errno = 0;
        const qint64 nRead = file.read(data.data() + nOld, nWant);
        if (nRead < 0) {
            strError = Describe(errno ? errno : EIO, strName, kFailedToOpen);
            return false;
        }
        data.resize(nOld + static_cast<qsizetype>(nRead));
        if (data.size() > nMaxSize) {
            strError = TooLarge(strName, nMaxSize, eContent);
            return false;
        }
        if (nRead == 0)
            break;
    }
    bytes = data;
    return true;
}

bool ProjectFile::WriteDevice(QFile& file, const QString& strName, const QByteArray& bytes,
                              QString& strError) {
    qint64 nDone = 0;
    while (nDone < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.constData() + nDone, bytes.size() - nDone);
        if (n <= 0) {
            strError = Describe(errno ? errno : EIO, strName, kFailedToSave);
            return false;
        }
        nDone += n;
    }
    errno = 0;
    if (!file.flush()) {
        strError = Describe(errno ? errno : EIO, strName, kFailedToSave);
        return false;
    }
    return true;
}

bool ProjectFile::Write(const QString& strPath, const QByteArray& bytes, QString& strError) {
    switch (const EKind eKind = KindOf(strPath)) {
    case EKind::Missing:
    case EKind::Regular:
        break;
    case EKind::Folder:
        // It would otherwise only fail at the final rename.
        strError = Describe(EISDIR, strPath, kFailedToSave);
        return false;
    case EKind::Fifo:
    case EKind::CharDevice: {
        // A rename would put a plain file where the pipe or device was.
        QFile file;
        errno = 0;
        if (!OpenExisting(file, strPath, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            strError = Describe(errno, strPath, kFailedToSave);
            return false;
        }
        return WriteDevice(file, strPath, bytes, strError);
    }
    default:
        strError = NotAFile(eKind, strPath);
        return false;
    }
    // The temporary file and the rename take the name as text, which cannot hold these bytes.
    if (HasUndecodableBytes(strPath)) {
        strError = QStringLiteral("%1: a name that is not valid UTF-8 cannot be saved to; "
                                  "choose another name.")
                       .arg(QDir::toNativeSeparators(strPath));
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

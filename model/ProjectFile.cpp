#include "ProjectFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
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

const char* KindName(EKind eKind) {
    switch (eKind) {
    case EKind::Fifo:
        return "a named pipe";
    case EKind::CharDevice:
        return "a character device";
    case EKind::BlockDevice:
        return "a block device";
    case EKind::Socket:
        return "a socket";
    default:
        return "not a regular file";
    }
}

// For what is neither a file nor a device we write straight into.
QString NotAFile(EKind eKind, const QString& strPath) {
    return QStringLiteral("%1 is %2, not a file; nothing was written to it.")
        .arg(QDir::toNativeSeparators(strPath), QLatin1String(KindName(eKind)));
}

QString NotAFileToRead(EKind eKind, const QString& strPath) {
    return QStringLiteral("%1 is %2, not a file.")
        .arg(QDir::toNativeSeparators(strPath), QLatin1String(KindName(eKind)));
}

QByteArray Hash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

#ifdef Q_OS_LINUX
// Set on the temporary file of a save while it is written and until it has replaced the old one.
constexpr char kSavingMark[] = "user.quenley.saving";
#endif

// The name the save file really replaces: a symbolic link is followed to its target, as
// QSaveFile does, so that its temporary files sit beside the target.
QString FinalName(const QString& strPath) {
    QFileInfo info(strPath);
    for (int nDepth = 0; nDepth < 128 && info.isSymLink(); ++nDepth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? strPath : info.filePath();
}

// QSaveFile writes into "NAME.xxxxxx" (six letters) beside the file, or, where the file system
// has unnamed files, into one that takes such a name only for the moment of replacing the old
// file. A save killed there leaves it behind.
bool IsSaveFileName(const char* pszEntry, const QByteArray& base) {
    const qsizetype nLength = qsizetype(std::strlen(pszEntry));
    if (nLength != base.size() + 7 || std::memcmp(pszEntry, base.constData(), base.size()) != 0 ||
        pszEntry[base.size()] != '.')
        return false;
    for (qsizetype i = base.size() + 1; i < nLength; ++i) {
        const char c = pszEntry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

// Removes what killed saves of this file left. A name alone could be the user's own
// ("song.qly.backup"): only a file of ours that still carries the mark goes.
void RemoveLeftovers(const QString& strFinal) {
#ifdef Q_OS_LINUX
    const QByteArray path = ProjectFile::EncodeName(strFinal);
    const qsizetype nSlash = path.lastIndexOf('/');
    const QByteArray folder =
        nSlash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(nSlash, 1));
    const QByteArray base = path.mid(nSlash + 1);
    DIR* pDir = ::opendir(folder.constData());
    if (!pDir)
        return;
    const int nFolder = ::dirfd(pDir);
    while (const dirent* pEntry = ::readdir(pDir)) {
        if (!IsSaveFileName(pEntry->d_name, base))
            continue;
        struct stat st {};
        if (::fstatat(nFolder, pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1)
            continue;
        const QByteArray entry = folder + '/' + pEntry->d_name;
        char mark = 0;
        if (::lgetxattr(entry.constData(), kSavingMark, &mark, 1) == 1 && mark == '1')
            ::unlinkat(nFolder, pEntry->d_name, 0);
    }
    ::closedir(pDir);
#else
    (void)strFinal;
#endif
}

// Gives the new file what the old one had: its group and owner (where the system lets us) and
// its permissions, which a change of owner may have cut.
void KeepOwnerAndMode(int fd, const struct stat& old) {
#ifdef Q_OS_UNIX
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return;
    // Only root may give the file to its old owner; a member of the old group may still give it
    // that group. Otherwise it stays ours.
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && now.st_gid != old.st_gid &&
        ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
    }
    ::fchmod(fd, old.st_mode & 07777);
#else
    (void)fd;
    (void)old;
#endif
}

// Every save of a regular file: a temporary file beside it that replaces it once complete.
bool SaveRegular(const QString& strPath, const QByteArray& bytes, QString& strError,
                 ProjectFile::SFileStamp* pStamp) {
    using namespace ProjectFile;
    // The temporary file and the rename take the name as text, which cannot hold these bytes.
    if (HasUndecodableBytes(strPath)) {
        strError = QStringLiteral("%1: a name that is not valid UTF-8 cannot be saved to; "
                                  "choose another name.")
                       .arg(QDir::toNativeSeparators(strPath));
        return false;
    }
    const QString strFinal = FinalName(strPath);
    RemoveLeftovers(strFinal);
#ifdef Q_OS_UNIX
    struct stat old {};
    const bool bOld = ::stat(EncodeName(strFinal).constData(), &old) == 0 && S_ISREG(old.st_mode);
#endif
    QSaveFile file(strPath);
    file.setDirectWriteFallback(false);
    errno = 0;
    // Unbuffered: a buffered save file can report a commit as done although its final flush
    // ran out of space, and the old file would be replaced by a cut one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        strError = Describe(errno, strPath, kFailedToSave);
        return false;
    }
#ifdef Q_OS_LINUX
    bool bMarked = ::fsetxattr(file.handle(), kSavingMark, "1", 1, 0) == 0;
#endif
#ifdef Q_OS_UNIX
    if (bOld)
        KeepOwnerAndMode(file.handle(), old);
#endif
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
#ifdef Q_OS_LINUX
    // Only now: the commit itself may give the file a temporary name for a moment.
    if (bMarked)
        ::removexattr(EncodeName(strFinal).constData(), kSavingMark);
#endif
    if (pStamp) {
        pStamp->nSize = bytes.size();
        pStamp->hash = Hash(bytes);
    }
    return true;
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
        strError = NotAFileToRead(eKind, strPath);
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
    return SaveRegular(strPath, bytes, strError, nullptr);
}

namespace {

// Opens a regular file to read, without waiting: what turned out to be something else since it
// was looked at is closed again unread, and eKind says what it is.
bool OpenRegular(QFile& file, const QString& strPath, EKind& eKind) {
#ifdef Q_OS_UNIX
    const int fd = ::open(ProjectFile::EncodeName(strPath).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        eKind = S_ISFIFO(st.st_mode)  ? EKind::Fifo
                : S_ISCHR(st.st_mode) ? EKind::CharDevice
                : S_ISBLK(st.st_mode) ? EKind::BlockDevice
                : S_ISDIR(st.st_mode) ? EKind::Folder
                                      : EKind::Other;
        ::close(fd);
        errno = 0;
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    eKind = EKind::Regular;
    return true;
#else
    eKind = EKind::Regular;
    return OpenExisting(file, strPath, QIODevice::ReadOnly);
#endif
}

} // namespace

bool ProjectFile::ReadRegular(const QString& strPath, QByteArray& bytes, QString& strError,
                              SFileStamp* pStamp, EContent eContent) {
    EKind eKind = KindOf(strPath);
    QFile file;
    errno = 0;
    if (eKind == EKind::Missing || eKind == EKind::Regular) {
        if (OpenRegular(file, strPath, eKind)) {
            if (!ReadDevice(file, strPath, kMaxFileSize, bytes, strError, eContent))
                return false;
            if (pStamp) {
                pStamp->nSize = bytes.size();
                pStamp->hash = Hash(bytes);
            }
            return true;
        }
        if (errno != 0 || eKind == EKind::Missing || eKind == EKind::Regular) {
            const int nErrno = errno ? errno : EIO;
            strError = Describe(nErrno, strPath, kFailedToOpen);
            return false;
        }
    }
    strError = eKind == EKind::Folder ? Describe(EISDIR, strPath, kFailedToOpen)
                                      : NotAFileToRead(eKind, strPath);
    return false;
}

bool ProjectFile::WriteRegular(const QString& strPath, const QByteArray& bytes, QString& strError,
                               SFileStamp* pStamp) {
    const EKind eKind = KindOf(strPath);
    if (eKind == EKind::Folder) {
        strError = Describe(EISDIR, strPath, kFailedToSave);
        return false;
    }
    if (eKind != EKind::Missing && eKind != EKind::Regular) {
        strError = NotAFile(eKind, strPath);
        return false;
    }
    return SaveRegular(strPath, bytes, strError, pStamp);
}

bool ProjectFile::ChangedSince(const QString& strPath, const SFileStamp& stamp) {
    if (!stamp.IsKnown() || KindOf(strPath) != EKind::Regular)
        return false;
    QFile file;
    EKind eKind = EKind::Missing;
    if (!OpenRegular(file, strPath, eKind))
        return false;
    if (file.size() != stamp.nSize)
        return true;
    // The same size says little: a change of one value keeps it. The time is no better either
    // way: a checkout of the same version changes it and nothing would be lost, and a rewrite
    // within one tick of the clock keeps it. The bytes decide.
    QByteArray bytes;
    QString strError;
    if (!ReadDevice(file, strPath, kMaxFileSize, bytes, strError))
        return true;
    return Hash(bytes) != stamp.hash;
}

void ProjectFile::IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

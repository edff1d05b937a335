#include "ProjectFile.h"
#include "TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
mode_t TypeOf(const QString& strPath) {
    struct stat st {};
    return ::stat(QFile::encodeName(strPath).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Reads a FIFO to its end on a thread of its own, as the program at the other end would. Both
// ends are open before the code under test runs (the test holds the writing end until Finish),
// so that nothing blocks for good and nothing written is lost, however the threads are timed.
class CFifoReader {
public:
    explicit CFifoReader(const QString& strPath)
        : m_nRead(OpenReadEnd(strPath)),
          m_nKeeper(::open(QFile::encodeName(strPath).constData(), O_WRONLY)), m_thread([this] {
              char buffer[4096];
              for (ssize_t n; m_nRead >= 0 && (n = ::read(m_nRead, buffer, sizeof buffer)) > 0;)
                  m_received.append(buffer, n);
          }) {}
    ~CFifoReader() {
        if (m_thread.joinable())
            Finish();
    }
    QByteArray Finish() {
        if (m_nKeeper >= 0)
            ::close(m_nKeeper);
        m_thread.join();
        if (m_nRead >= 0)
            ::close(m_nRead);
        return m_received;
    }

private:
    static int OpenReadEnd(const QString& strPath) {
        // Non-blocking only to open without a writer; reading then waits as usual.
        const int fd = ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_NONBLOCK);
        if (fd >= 0)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return fd;
    }

    int m_nRead;
    int m_nKeeper;
    QByteArray m_received;
    std::thread m_thread;
};

// Feeds bytes into a FIFO on a thread of its own, once a reader has opened it; gives up after
// ten seconds without one.
class CFifoWriter {
public:
    CFifoWriter(const QString& strPath, QByteArray bytes)
        : m_thread([path = QFile::encodeName(strPath), bytes] {
              int fd = -1;
              for (int i = 0; i < 1000 && fd < 0; ++i) {
                  fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd < 0)
                      std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
              if (fd < 0)
                  return;
              ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
              for (qsizetype nDone = 0; nDone < bytes.size();) {
                  const ssize_t n = ::write(fd, bytes.constData() + nDone,
                                            static_cast<size_t>(bytes.size() - nDone));
                  if (n <= 0)
                      break;
                  nDone += n;
              }
              ::close(fd);
          }) {}
    ~CFifoWriter() { m_thread.join(); }

private:
    std::thread m_thread;
};
} // namespace

// Project files on whatever a name leads to: pipes and devices are written into, never
// replaced; sockets and folders are refused with a message that says what they are; reading
// takes what is there up to a limit; names need not be UTF-8.
class TestFileAccess : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Path(const char* pszName) const { return m_dir.filePath(QLatin1String(pszName)); }

private slots:
    void specialFilesAreWrittenIntoNotReplaced_data() {
        QTest::addColumn<QString>("strKind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to a FIFO") << "link";
        QTest::newRow("character device") << "device";
    }
    void specialFilesAreWrittenIntoNotReplaced() {
        QFETCH(QString, strKind);
        const QString strPath = m_dir.filePath(strKind);
        const QByteArray bytes("project bytes\0\xff", 15);
        if (strKind == "device") {
            // A private null device: a mistake here must not replace the system's own.
            if (::mknod(QFile::encodeName(strPath).constData(), S_IFCHR | 0666, makedev(1, 3)))
                QSKIP("making a device node needs root");
            QString strError;
            QVERIFY2(ProjectFile::Write(strPath, bytes, strError), qPrintable(strError));
            QCOMPARE(TypeOf(strPath), mode_t(S_IFCHR));
            return;
        }
        const QString strFifo = m_dir.filePath(strKind + ".fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(strFifo).constData(), 0600), 0);
        if (strKind == "link")
            QVERIFY(QFile::link(strFifo, strPath));
        const QString strTarget = strKind == "link" ? strPath : strFifo;
        CFifoReader reader(strFifo);
        QString strError;
        const bool bWritten = ProjectFile::Write(strTarget, bytes, strError);
        QCOMPARE(reader.Finish(), bytes);
        QVERIFY2(bWritten, qPrintable(strError));
        QCOMPARE(TypeOf(strFifo), mode_t(S_IFIFO));
    }

    void socketsAndFoldersAreRefused() {
        const QString strSocket = Path("socket");
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(strSocket);
        QVERIFY(name.size() < qsizetype(sizeof address.sun_path));
        std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QString strError;
        QVERIFY(!ProjectFile::Write(strSocket, "x", strError));
        QCOMPARE(strError, strSocket + " is a socket, not a file; nothing was written to it.");
        QByteArray bytes;
        QVERIFY(!ProjectFile::Read(strSocket, bytes, strError));
        QCOMPARE(strError, strSocket + " is a socket, not a file.");
        ::close(fd);
        QCOMPARE(TypeOf(strSocket), mode_t(S_IFSOCK));

        QVERIFY(!ProjectFile::Read(m_dir.path(), bytes, strError));
        QCOMPARE(strError, m_dir.path() + " is a folder, not a file.");
        QVERIFY(!ProjectFile::Write(m_dir.path(), "x", strError));
        QCOMPARE(strError, m_dir.path() + " is a folder, not a file.");
    }

    // Only what is there is taken: a limit far beyond memory costs nothing for a small file,
    // and more than the limit is refused with the limit named.
    void readingTakesWhatIsThereUpToTheLimit() {
        const QString strSmall = Path("small.qly");
        QFile small(strSmall);
        QVERIFY(small.open(QIODevice::WriteOnly));
        small.write("0123456789");
        small.close();
        QByteArray bytes;
        QString strError;
        QVERIFY(ProjectFile::Read(strSmall, bytes, strError, qint64(1) << 40));
        QCOMPARE(bytes, QByteArray("0123456789"));
        QVERIFY(!ProjectFile::Read(strSmall, bytes, strError, 9));
        QCOMPARE(strError, strSmall + " is too large for a project: the limit is 9 bytes.");

        const QString strLarge = Path("large.qly");
        QFile large(strLarge);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(ProjectFile::kMaxFileSize + 1));
        large.close();
        QVERIFY(!ProjectFile::Read(strLarge, bytes, strError));
        QCOMPARE(strError, strLarge + " is too large for a project: the limit is 16777216 bytes.");
        // A dump of that size is no project either, and is not called one.
        QVERIFY(!ProjectFile::Read(strLarge, bytes, strError, ProjectFile::kMaxFileSize,
                                   ProjectFile::EContent::Dump));
        QCOMPARE(strError, strLarge + " is too large for a dump: the limit is 16777216 bytes.");

        // A pipe tells no size: it is read to its end, or until the limit is passed.
        const QString strFifo = Path("in.fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(strFifo).constData(), 0600), 0);
        const QByteArray sent(200000, 'p');
        {
            CFifoWriter writer(strFifo, sent);
            QVERIFY2(ProjectFile::Read(strFifo, bytes, strError), qPrintable(strError));
            QCOMPARE(bytes, sent);
        }
        {
            CFifoWriter writer(strFifo, sent);
            QVERIFY(!ProjectFile::Read(strFifo, bytes, strError, sent.size() - 1));
            QCOMPARE(strError, strFifo + " is too large for a project: the limit is 199999 bytes.");
        }
    }

    // A path through a folder that is not there names the first such folder, for reading and
    // for saving alike; a regular file standing where a folder should be is a wrong path.
    void missingFolders_data() {
        QTest::addColumn<QString>("path");    // under the test's folder
        QTest::addColumn<QString>("message"); // %1: the path, %2: the test's folder
        QTest::newRow("a folder") << QStringLiteral("nowhere/x.qly")
                                  << QStringLiteral("%1: the folder %2/nowhere does not exist.");
        QTest::newRow("three folders") << QStringLiteral("a/b/c/x.qly")
                                       << QStringLiteral("%1: the folder %2/a does not exist.");
        QTest::newRow("a file in the way") << QStringLiteral("file/x.qly")
                                           << QStringLiteral("%1 contains an invalid path.");
    }
    void missingFolders() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QFile file(Path("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString strPath = m_dir.filePath(path);
        const QString strExpected =
            message.replace(QLatin1String("%1"), strPath).replace(QLatin1String("%2"), m_dir.path());
        QByteArray bytes;
        QString strError;
        QVERIFY(!ProjectFile::Read(strPath, bytes, strError));
        QCOMPARE(strError, strExpected);
        QVERIFY(!ProjectFile::Write(strPath, "x", strError));
        QCOMPARE(strError, strExpected);
    }

    // The new file replacing the old one gets its permissions and, where allowed, its group.
    void saveKeepsModeAndGroup_data() {
        QTest::addColumn<int>("nMode");
        QTest::addColumn<bool>("bOtherGroup");
        QTest::newRow("0640") << 0640 << false;
        QTest::newRow("0600") << 0600 << false;
        QTest::newRow("another group") << 0640 << true;
    }
    void saveKeepsModeAndGroup() {
        QFETCH(int, nMode);
        QFETCH(bool, bOtherGroup);
        gid_t nGroup = ::getegid();
        if (bOtherGroup) {
            // One of the user's other groups; root may give a file any group.
            gid_t groups[256];
            const int nGroups = ::getgroups(256, groups);
            for (int i = 0; i < nGroups && nGroup == ::getegid(); ++i)
                nGroup = groups[i];
            if (nGroup == ::getegid() && ::geteuid() == 0) {
                ::setgrent();
                while (const group* pGroup = ::getgrent())
                    if (pGroup->gr_gid != nGroup) {
                        nGroup = pGroup->gr_gid;
                        break;
                    }
                ::endgrent();
            }
            if (nGroup == ::getegid())
                QSKIP("the user has no second group to give the file");
        }
        const QString strPath = Path("kept.qly");
        QString strError;
        QVERIFY2(ProjectFile::Write(strPath, "old", strError), qPrintable(strError));
        const QByteArray path = QFile::encodeName(strPath);
        QCOMPARE(::chmod(path.constData(), mode_t(nMode)), 0);
        QCOMPARE(::chown(path.constData(), uid_t(-1), nGroup), 0);
        QVERIFY2(ProjectFile::Write(strPath, "new", strError), qPrintable(strError));
        struct stat st {};
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), nMode);
        QCOMPARE(st.st_gid, nGroup);
        QFile::remove(strPath);
    }

    void namesThatAreNotUtf8_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("bValid");
        QTest::newRow("ASCII") << QByteArray("plain.qly") << true;
        QTest::newRow("umlaut") << QByteArray("K\xc3\xa4se.qly") << true;
        QTest::newRow("beyond the BMP") << QByteArray("\xf0\x9f\xa5\x81.qly") << true;
        QTest::newRow("Latin-1 byte") << QByteArray("k\xff.qly") << false;
        QTest::newRow("cut sequence") << QByteArray("a\xe2\x82.qly") << false;
        QTest::newRow("overlong slash") << QByteArray("b\xc0\xaf.qly") << false;
        QTest::newRow("encoded surrogate") << QByteArray("c\xed\xa0\x80.qly") << false;
        QTest::newRow("beyond Unicode") << QByteArray("d\xf4\x90\x80\x80.qly") << false;
    }
    void namesThatAreNotUtf8() {
        QFETCH(QByteArray, name);
        QFETCH(bool, bValid);
        const QString strName = ProjectFile::DecodeName(name);
        QCOMPARE(ProjectFile::EncodeName(strName), name);
        QCOMPARE(ProjectFile::HasUndecodableBytes(strName), !bValid);
        if (bValid)
            QCOMPARE(strName, QString::fromUtf8(name));

        const QString strPath = m_dir.path() + '/' + strName;
        const QByteArray raw = QFile::encodeName(m_dir.path()) + '/' + name;
        QString strError;
        QByteArray bytes;
        QVERIFY(!ProjectFile::Read(strPath, bytes, strError));
        QCOMPARE(ProjectFile::EncodeName(strError), raw + " was not found.");

        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "old", 3), ssize_t(3));
        ::close(fd);
        QVERIFY2(ProjectFile::Read(strPath, bytes, strError), qPrintable(strError));
        QCOMPARE(bytes, QByteArray("old"));
        // A save goes through a temporary file and a rename, which take the name as text.
        QCOMPARE(ProjectFile::Write(strPath, "new", strError), bValid);
        QVERIFY(ProjectFile::Read(strPath, bytes, strError));
        QCOMPARE(bytes, QByteArray(bValid ? "new" : "old"));
        ::unlink(raw.constData());
    }
};

QUENLEY_REGISTER_TEST(TestFileAccess)
#include "TestFileAccess.moc"

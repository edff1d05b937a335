// Saves that cannot destroy what is on disk: a file another program wrote since is not
// overwritten unasked, only regular files are opened or saved to, and a file size limit is a
// failed save, not the end of the editor.

#include "AppFixture.h"
#include "ProjectFile.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using Commands::ECommand;
using QuenleyMessage::EAnswer;

namespace {

CKick s_kick;

QByteArray Contents(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void Put(const QString& strPath, const QByteArray& bytes) {
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Should the code under test open the FIFO and wait for its other end, this becomes that end a
// while later, so that a fault fails the test instead of hanging it.
class CFifoRescue {
public:
    explicit CFifoRescue(const QString& strPath)
        : m_path(QFile::encodeName(strPath)), m_thread([this] {
              std::unique_lock lock(m_mutex);
              if (m_wake.wait_for(lock, std::chrono::seconds(3), [this] { return m_bDone; }))
                  return;
              const int fd = ::open(m_path.constData(), O_RDWR | O_NONBLOCK);
              std::this_thread::sleep_for(std::chrono::milliseconds(100));
              if (fd >= 0)
                  ::close(fd);
          }) {}
    ~CFifoRescue() {
        {
            std::lock_guard lock(m_mutex);
            m_bDone = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bDone = false;
    std::thread m_thread;
};

} // namespace

class TestSaving : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // A saved project with one kick, open and modified by a second one.
    QString OpenModified(CAppFixture& f, const char* pszName) {
        f.StartWithProject();
        f.Doc()->FindOrCreateVariation(&s_kick, 1);
        const QString strPath = m_dir.filePath(QLatin1String(pszName));
        f.files = {strPath};
        f.Trigger(ECommand::SaveAs);
        f.Doc()->FindOrCreateVariation(&s_kick, 2);
        return strPath;
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    void saveAsksBeforeOverwritingAnotherProgramsChanges_data() {
        QTest::addColumn<QString>("strChange");
        QTest::addColumn<bool>("bClose"); // through "Save changes?" on closing
        QTest::addColumn<EAnswer>("eAnswer");
        QTest::addColumn<bool>("bAsked");
        QTest::addColumn<bool>("bOverwritten");
        // A change of one value keeps the size: the bytes must tell it.
        QTest::newRow("same size, Cancel")
            << "same size" << false << EAnswer::Cancel << true << false;
        QTest::newRow("same size, Yes") << "same size" << false << EAnswer::Yes << true << true;
        QTest::newRow("other size, No") << "other size" << false << EAnswer::No << true << false;
        QTest::newRow("closing, Cancel") << "same size" << true << EAnswer::Cancel << true << false;
        // Rewritten as it was (a checkout of the same version): nothing to lose, nothing asked.
        QTest::newRow("same bytes") << "same bytes" << false << EAnswer::Cancel << false << true;
        QTest::newRow("deleted") << "deleted" << false << EAnswer::Cancel << false << true;
        QTest::newRow("unchanged") << "none" << false << EAnswer::Cancel << false << true;
    }
    void saveAsksBeforeOverwritingAnotherProgramsChanges() {
        QFETCH(QString, strChange);
        QFETCH(bool, bClose);
        QFETCH(EAnswer, eAnswer);
        QFETCH(bool, bAsked);
        QFETCH(bool, bOverwritten);
        CAppFixture f;
        const QString strPath = OpenModified(f, "changed.qly");
        QByteArray theirs = Contents(strPath);
        if (strChange == "same size")
            theirs[theirs.size() - 20] = char(theirs[theirs.size() - 20] ^ 1);
        else if (strChange == "other size")
            theirs += "x";
        if (strChange == "deleted")
            QVERIFY(QFile::remove(strPath));
        else if (strChange != "none")
            Put(strPath, theirs);

        const QString strOther = m_dir.filePath(QStringLiteral("other.qly"));
        f.files = {strOther};
        f.shown.clear();
        f.answers = {eAnswer};
        if (bClose)
            f.answers.push_front(EAnswer::Yes); // Save changes? Yes
        f.Trigger(bClose ? ECommand::Close : ECommand::Save);

        const QString strQuestion =
            strPath + " has been changed by another program since it was opened or last saved "
                      "here.\n\nYes: overwrite it, losing that program's changes.\nNo: save the "
                      "project under another name.\nCancel: do not save.";
        QCOMPARE(f.Texts().contains(strQuestion), bAsked);
        QVERIFY(f.Doc());
        QCOMPARE(Contents(strPath) != theirs, bOverwritten);
        if (eAnswer == EAnswer::No && bAsked) {
            QVERIFY(QFile::exists(strOther));
            QCOMPARE(f.Doc()->GetPathName(), strOther);
        }
        // Whatever was not written stays unsaved.
        QCOMPARE(f.Doc()->IsModified(), !bOverwritten && eAnswer == EAnswer::Cancel);
        QFile::remove(strOther);
    }

    // Pipes, devices and sockets are refused at once by every way a file comes in.
    void onlyRegularFilesAreProjects_data() {
        QTest::addColumn<QString>("strKind");
        QTest::addColumn<QString>("strWay");
        for (const char* pszWay :
             {"open", "recent", "command line", "drop", "receive dump", "save as"})
            QTest::addRow("FIFO, %s", pszWay) << "fifo" << pszWay;
        QTest::newRow("socket, open") << "socket"
                                      << "open";
        QTest::newRow("device, save as") << "device"
                                         << "save as";
        QTest::newRow("device, open") << "device"
                                      << "open";
    }
    void onlyRegularFilesAreProjects() {
        QFETCH(QString, strKind);
        QFETCH(QString, strWay);
        const QString strPath = m_dir.filePath(strKind);
        QFile::remove(strPath);
        const QByteArray path = QFile::encodeName(strPath);
        int nSocket = -1;
        QString strWhat;
        if (strKind == "fifo") {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
            strWhat = "a named pipe";
        } else if (strKind == "device") {
            if (::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)))
                QSKIP("making a device node needs root");
            strWhat = "a character device";
        } else {
            nSocket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            QCOMPARE(::bind(nSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            strWhat = "a socket";
        }
        const mode_t eType = [&] {
            struct stat st {};
            ::stat(path.constData(), &st);
            return st.st_mode & S_IFMT;
        }();

        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        if (strWay == "recent") {
            QSettings settings;
            settings.setValue(QStringLiteral("Recent File List/File1"), strPath);
            settings.sync();
        }
        {
            CFifoRescue rescue(strPath);
            QVERIFY(f.Start(strWay == "command line" ? QStringList{strPath} : QStringList{}));
            if (strWay == "open") {
                f.files = {strPath};
                f.Trigger(ECommand::Open);
            } else if (strWay == "recent") {
                f.App().OpenRecentFile(0);
            } else if (strWay == "drop") {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(strPath)});
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
                QCoreApplication::sendEvent(&f.Frame(), &enter);
                QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
                QCoreApplication::sendEvent(&f.Frame(), &drop);
            } else if (strWay != "command line") {
                f.App().OnFileNew();
                f.Doc()->FindOrCreateVariation(&s_kick, 1);
                f.files = {strPath};
                if (strWay != "save as")
                    f.answers = {EAnswer::Ok}; // from a file
                f.Trigger(strWay == "save as" ? ECommand::SaveAs : ECommand::ReceiveDump);
            }
        }
        const QString strEnd = strWay == "save as" ? "; nothing was written to it." : ".";
        QCOMPARE(f.Texts().last(), strPath + " is " + strWhat + ", not a file" + strEnd);
        QCOMPARE(f.Texts().size(), strWay == "receive dump" ? 2 : 1);
        QCOMPARE(f.Doc() != nullptr, strWay == "save as" || strWay == "receive dump");
        if (f.Doc())
            QVERIFY(f.Doc()->IsModified());
        struct stat st {};
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(st.st_mode & S_IFMT, eType);
        if (nSocket >= 0)
            ::close(nSocket);
        QFile::remove(strPath);
    }

    // The limit a shell's "ulimit -f" sets: the save fails as on a full disk, the old file and
    // the unsaved edits stay.
    void fileSizeLimitFailsTheSave() {
        CAppFixture f;
        const QString strPath = OpenModified(f, "limited.qly");
        const QByteArray old = Contents(strPath);
        for (int n = 3; n < 40; ++n)
            f.Doc()->FindOrCreateVariation(&s_kick, n);
        ProjectFile::IgnoreFileSizeSignal();
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit saved = limit;
        limit.rlim_cur = rlim_t(old.size());
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        f.shown.clear();
        f.Trigger(ECommand::Save);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(f.Texts(), QStringList{"Disk full while accessing " + strPath + "."});
        QVERIFY(f.Doc()->IsModified());
        QCOMPARE(Contents(strPath), old);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("limited.qly*")}, QDir::Files),
                 QStringList{QStringLiteral("limited.qly")});
    }
};

QUENLEY_REGISTER_TEST(TestSaving)
#include "TestSaving.moc"

// One editor at a time: a second start hands its file to the running editor and ends, a crashed
// editor's claim is taken over, and what arrives on the channel is checked before it is used.

#include "AppFixture.h"
#include "CInstanceChannel.h"
#include "ProjectFile.h"
#include "TestMain.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Decode = CInstanceChannel::EDecode;

class TestInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The real editor, started as the file manager would start it, from the test's folder.
    static bool RunSecondStart(const QStringList& args, const QString& strFolder, int& rnExit,
                               const QString& strProgram = QStringLiteral(QUENLEY_EDITOR)) {
        QProcess process;
        process.setWorkingDirectory(strFolder);
        // The editor that answers runs in this thread: wait with its event loop going.
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(strProgram, args);
        if (!finished.wait(30000)) {
            process.kill();
            process.waitForFinished();
            return false;
        }
        rnExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return true;
    }

    // The same, with the folder and the argument given as bytes, which need not be UTF-8.
    static bool RunSecondStartRaw(const QByteArray& folder, const QByteArray& argument,
                                  int& rnExit) {
        // printf turns the octal escapes back into the bytes on the way into the arguments.
        auto escaped = [](const QByteArray& bytes) {
            QString str;
            for (char c : bytes)
                str += QStringLiteral("\\%1").arg(uchar(c), 3, 8, QLatin1Char('0'));
            return str;
        };
        return RunSecondStart({QStringLiteral("-c"),
                               QStringLiteral("cd \"$(printf '%1')\" && exec \"$0\" \"$(printf "
                                              "'%2')\"")
                                   .arg(escaped(folder), escaped(argument)),
                               QStringLiteral(QUENLEY_EDITOR)},
                              QDir::rootPath(), rnExit, QStringLiteral("/bin/sh"));
    }

    static bool Answers(const QString& strPath) {
        QLocalSocket probe;
        probe.connectToServer(strPath);
        return probe.waitForConnected(100);
    }

    QString SavedProject(const QString& strName) {
        const QString strPath = m_dir.filePath(strName);
        CQuenleyDoc doc;
        return doc.OnSaveDocument(strPath) ? strPath : QString();
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Every way a request can arrive damaged or in pieces: a piece is never taken for the
    // whole, and a malformed one is never taken at all.
    void decodeRequest_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("eExpected");
        QTest::addColumn<QStringList>("files");
        const QStringList two{QStringLiteral("/a/b c.qly"), QStringLiteral("/x/\u00e9t\u00e9.qly")};
        const QByteArray whole = CInstanceChannel::EncodeRequest(two);
        QTest::newRow("whole") << whole << int(Decode::Complete) << two;
        QTest::newRow("no files") << CInstanceChannel::EncodeRequest({}) << int(Decode::Complete)
                                  << QStringList();
        const QStringList raw{ProjectFile::DecodeName("/x/caf\xe9\xff.qly")};
        QTest::newRow("a name that is not UTF-8")
            << CInstanceChannel::EncodeRequest(raw) << int(Decode::Complete) << raw;
        for (qsizetype n :
             {qsizetype(0), qsizetype(3), qsizetype(8), qsizetype(11), whole.size() - 1})
            QTest::addRow("first %d bytes", int(n))
                << whole.left(n) << int(Decode::Incomplete) << QStringList();
        QTest::newRow("another program")
            << QByteArray("GET / HTTP/1.0\r\n\r\n") << int(Decode::Malformed) << QStringList();
        QTest::newRow("trailing bytes") << whole + "x" << int(Decode::Malformed) << QStringList();
        QByteArray many("QLYOPEN1");
        many += QByteArray::fromHex("00010000"); // 65536 files
        QTest::newRow("too many files") << many << int(Decode::Malformed) << QStringList();
        QByteArray huge("QLYOPEN1");
        huge += QByteArray::fromHex("00000001"
                                    "7fffffff");
        QTest::newRow("a name of 2 GB") << huge << int(Decode::Malformed) << QStringList();
    }
    void decodeRequest() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, eExpected);
        QFETCH(QStringList, files);
        QStringList decoded{QStringLiteral("stale")};
        QCOMPARE(int(CInstanceChannel::DecodeRequest(bytes, decoded)), eExpected);
        QCOMPARE(decoded, files);
    }

    // A second start with a file, from another folder, opens it in the running editor through
    // the one-project guard, and ends at once with success; a third while a project is open gets
    // the guard's message in the running editor and still ends.
    void secondStartHandsItsFileOver() {
        const QString strProject = SavedProject(QStringLiteral("handed.qly"));
        QVERIFY(!strProject.isEmpty());
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        CInstanceChannel channel;
        QCOMPARE(channel.Claim({}), CInstanceChannel::EClaim::Primary);
        channel.SetHandler([&f](const QStringList& files) { f.App().OnOpenRequest(files); });

        int nExit = -2;
        QVERIFY(RunSecondStart({QStringLiteral("handed.qly")}, m_dir.path(), nExit));
        QCOMPARE(nExit, 0);
        QTRY_VERIFY(f.Doc());
        QCOMPARE(f.Doc()->GetPathName(), QFileInfo(strProject).absoluteFilePath());
        QCOMPARE(f.App().DocumentTitle(), QStringLiteral("handed.qly"));
        QVERIFY(f.shown.empty());

        QVERIFY(RunSecondStart({strProject}, QDir::rootPath(), nExit));
        QCOMPARE(nExit, 0);
        QTRY_COMPARE(f.Texts(), QStringList{QStringLiteral(
                                    "Only one project at time !\n Close existing Project\n and "
                                    "try again")});
    }

    // Names reach the running editor byte for byte, from a folder whose name need not be UTF-8
    // either; an empty name is reported there instead of being looked for.
    void secondStartHandsRawNamesOver_data() {
        QTest::addColumn<QByteArray>("folder"); // under the test's folder
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QString>("message");
        QTest::newRow("a name that is not UTF-8") << QByteArray("plain") << QByteArray("caf\xe9.qly")
                                                  << QString();
        QTest::newRow("a folder that is not UTF-8")
            << QByteArray("d\xe9j\xe0") << QByteArray("p.qly") << QString();
        QTest::newRow("an empty name")
            << QByteArray("plain") << QByteArray()
            << QStringLiteral("The command line holds an empty file name (\"\"), which names no "
                              "file: nothing is opened for it.");
    }
    void secondStartHandsRawNamesOver() {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, argument);
        QFETCH(QString, message);
        const QByteArray path = ProjectFile::EncodeName(m_dir.path()) + '/' + folder;
        QVERIFY(::mkdir(path.constData(), 0700) == 0 || errno == EEXIST);
        const QByteArray file = path + '/' + argument;
        // Qt cannot remove names that are not UTF-8 with the test's folder.
        const auto removeRaw = qScopeGuard([&] {
            ::unlink(file.constData());
            ::rmdir(path.constData());
        });
        if (!argument.isEmpty()) {
            QFile project;
            const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            QVERIFY(fd >= 0);
            QVERIFY(project.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
            QVERIFY(project.write(CQuenleyDoc().SaveToBytes()) >= 0);
        }
        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        CInstanceChannel channel;
        QCOMPARE(channel.Claim({}), CInstanceChannel::EClaim::Primary);
        channel.SetHandler([&f](const QStringList& files) { f.App().OnOpenRequest(files); });

        int nExit = -2;
        QVERIFY(RunSecondStartRaw(path, argument, nExit));
        QCOMPARE(nExit, 0);
        if (message.isEmpty()) {
            QTRY_VERIFY(f.Doc() || !f.shown.empty());
            QCOMPARE(f.Texts(), QStringList());
            QCOMPARE(ProjectFile::EncodeName(f.Doc()->GetPathName()), file);
        } else {
            QTRY_COMPARE(f.Texts(), QStringList{message});
            QVERIFY(!f.Doc());
        }
    }

    // An editor killed outright leaves its socket and lock behind; the next start is the editor,
    // and later starts hand their files to it.
    void aCrashedEditorsClaimIsTakenOver() {
        QProcess first;
        first.start(QStringLiteral(QUENLEY_EDITOR), {});
        QVERIFY(first.waitForStarted());
        const QString strPath = CInstanceChannel::DefaultPath();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(strPath + QStringLiteral(".lock")), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(Answers(strPath), 20000);
        first.kill();
        QVERIFY(first.waitForFinished());
        QVERIFY(QFileInfo::exists(strPath + QStringLiteral(".lock")));

        CInstanceChannel channel;
        QCOMPARE(channel.Claim({}), CInstanceChannel::EClaim::Primary);
        QList<QStringList> received;
        channel.SetHandler([&received](const QStringList& files) { received << files; });
        int nExit = -2;
        QVERIFY(RunSecondStart({QStringLiteral("a.qly"), QStringLiteral("sub/b.qly")}, m_dir.path(),
                               nExit));
        QCOMPARE(nExit, 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.front(), QStringList({m_dir.filePath(QStringLiteral("a.qly")),
                                                m_dir.filePath(QStringLiteral("sub/b.qly"))}));
    }

    // What a foreign program writes to the socket is dropped without reaching the editor; a
    // request that comes in pieces arrives whole, and one that came before the editor was ready
    // waits for it.
    void theChannelTakesOnlyWholeRequests() {
        CInstanceChannel channel(m_dir.filePath(QStringLiteral("channel")));
        QCOMPARE(channel.Claim({}), CInstanceChannel::EClaim::Primary);

        QLocalSocket foreign;
        foreign.connectToServer(channel.Path());
        QVERIFY(foreign.waitForConnected(2000));
        foreign.write("GET / HTTP/1.0\r\n\r\n");
        QTRY_COMPARE(foreign.state(), QLocalSocket::UnconnectedState);

        const QByteArray request = CInstanceChannel::EncodeRequest({QStringLiteral("/p/one.qly")});
        QLocalSocket client;
        client.connectToServer(channel.Path());
        QVERIFY(client.waitForConnected(2000));
        client.write(request.left(10));
        client.flush();
        QTest::qWait(50);
        client.write(request.mid(10));
        QTRY_VERIFY(client.bytesAvailable() > 0);
        QCOMPARE(client.read(1), QByteArray(1, CInstanceChannel::kAck));

        QList<QStringList> received;
        QTest::qWait(50);
        channel.SetHandler([&received](const QStringList& files) { received << files; });
        QCOMPARE(received, QList<QStringList>{{QStringLiteral("/p/one.qly")}});
    }
};

QUENLEY_REGISTER_TEST(TestInstance)
#include "TestInstance.moc"

// One editor at a time: a second start hands its file to the running editor and ends, a crashed
// editor's claim is taken over, and what arrives on the channel is checked before it is used.

#include "AppFixture.h"
#include "CInstanceChannel.h"
#include "TestMain.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Decode = CInstanceChannel::EDecode;

class TestInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The real editor, started as the file manager would start it, from the test's folder.
    static bool RunSecondStart(const QStringList& args, const QString& strFolder, int& rnExit) {
        QProcess process;
        process.setWorkingDirectory(strFolder);
        // The editor that answers runs in this thread: wait with its event loop going.
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QStringLiteral(QUENLEY_EDITOR), args);
        if (!finished.wait(30000)) {
            process.kill();
            process.waitForFinished();
            return false;
        }
        rnExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return true;
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

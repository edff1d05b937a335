#include "CJackSender.h"
#include "CMidiInput.h"
#include "TestMain.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Runs quenley-cli to its end; false when it failed.
bool RunCli(const QStringList& args, QByteArray* pOut = nullptr) {
    QProcess cli;
    cli.start(QStringLiteral(QUENLEY_CLI), args);
    if (!cli.waitForFinished(30000) || cli.exitStatus() != QProcess::NormalExit ||
        cli.exitCode() != 0) {
        qWarning("quenley-cli %s: %s", qPrintable(args.join(' ')),
                 cli.readAllStandardError().constData());
        return false;
    }
    if (pOut)
        *pOut = cli.readAllStandardOutput();
    return true;
}

// A dump as the module might send it, and longer: the messages of a project, a long message
// of another maker, and the project's messages once more.
QByteArray MakeDump(const QTemporaryDir& dir) {
    const QString strProject = dir.filePath(QStringLiteral("played.qly"));
    const QString strSyx = dir.filePath(QStringLiteral("played.syx"));
    if (!RunCli({QStringLiteral("from-json"),
                 QStringLiteral(QUENLEY_TEST_DATA_DIR "/cli/project.json"), strProject}) ||
        !RunCli({QStringLiteral("syx"), strProject, strSyx}))
        return {};
    const QByteArray project = ReadAll(strSyx);
    QByteArray foreign = QByteArray::fromHex("F07D");
    for (int i = 0; i < 6000; ++i)
        foreign += char(i % 128);
    foreign += '\xF7';
    return project + foreign + project;
}

// The bytes as a back end would see them: each message its own events, a long one cut into
// events of nPiece bytes, with clock and active-sensing events between them and notes before
// and after.
QList<QByteArray> Events(const QByteArray& bytes, int nPiece) {
    QList<QByteArray> events{QByteArray::fromHex("903C40")};
    QByteArray piece;
    for (const char b : bytes) {
        piece += b;
        if (piece.size() < nPiece && b != '\xF7')
            continue;
        events << piece << QByteArray(1, events.size() % 4 ? '\xF8' : '\xFE');
        piece.clear();
    }
    if (!piece.isEmpty())
        events << piece;
    events << QByteArray::fromHex("803C00");
    return events;
}

} // namespace

// A second JACK client of ours plays a dump into the editor's input and into quenley-cli
// receive, through RtMidi's JACK back end.
class TestJackInput : public QObject {
    Q_OBJECT

    CJackSender m_sender;
    QTemporaryDir m_dir;
    QByteArray m_dump;
    QString m_strCliPort;

private slots:
    void initTestCase() {
        QString strWhy;
        if (!m_sender.Start("quenley-player", strWhy))
            QSKIP(qPrintable(strWhy));
        m_dump = MakeDump(m_dir);
        QVERIFY(m_dump.size() > 6000);
        QByteArray ports;
        QVERIFY(RunCli({QStringLiteral("ports"), QStringLiteral("--inputs")}, &ports));
        for (const QByteArray& line : ports.split('\n'))
            if (line.endsWith(": " + m_sender.PortName().toUtf8()))
                m_strCliPort = QString::fromLatin1(line.left(line.indexOf(':')));
        QVERIFY2(!m_strCliPort.isEmpty(), ports.constData());
    }

    void editorInputTakesTheDumpWhole_data() {
        QTest::addColumn<int>("nPiece");
        QTest::newRow("small pieces") << 7;
        QTest::newRow("large pieces") << 256;
    }
    void editorInputTakesTheDumpWhole() {
        QFETCH(int, nPiece);
        CMidiInput input(CreateSystemMidiInDriver());
        QString strError;
        QVERIFY2(input.Open(m_sender.PortName(), &strError), qPrintable(strError));
        QByteArray received;
        QObject::connect(&input, &CMidiInput::SysExReceived,
                         [&received](const QByteArray& message) { received += message; });
        QVERIFY(m_sender.WaitConnected(10000));
        m_sender.Play(Events(m_dump, nPiece));
        QVERIFY(m_sender.WaitPlayed(20000));
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), m_dump.size(), 10000);
        QCOMPARE(received, m_dump);
        QCOMPARE(input.OtherMessages(), 2);
        QCOMPARE(input.BrokenMessages(), 0);
    }

    void receiveWritesWhatArrived_data() {
        QTest::addColumn<int>("nPlayed"); // bytes of the dump played
        QTest::addColumn<bool>("bStop");  // stopped by SIGTERM rather than by the quiet
        QTest::addColumn<int>("nExit");
        QTest::addColumn<int>("nWritten"); // bytes of the dump in the file; -1: left alone
        const int nWhole = int(m_dump.size());
        const int nFirst = int(m_dump.indexOf('\xF7')) + 1;
        QTest::newRow("whole dump, ends by the quiet") << nWhole << false << 0 << nWhole;
        QTest::newRow("stopped in a message") << nFirst + 5 << true << 130 << nFirst;
        QTest::newRow("stopped before anything") << 0 << true << 130 << -1;
    }
    void receiveWritesWhatArrived() {
        QFETCH(int, nPlayed);
        QFETCH(bool, bStop);
        QFETCH(int, nExit);
        QFETCH(int, nWritten);
        const QString strOut = m_dir.filePath(QStringLiteral("received.syx"));
        QFile old(strOut);
        QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("kept");
        old.close();

        QProcess cli;
        cli.setReadChannel(QProcess::StandardError);
        cli.start(QStringLiteral(QUENLEY_CLI),
                  {QStringLiteral("receive"), QStringLiteral("--port"), m_strCliPort, strOut,
                   QStringLiteral("--timeout"), QStringLiteral("3")});
        QByteArray errText;
        while (!errText.contains("waiting") && cli.waitForReadyRead(10000))
            errText += cli.readAllStandardError();
        QVERIFY2(errText.contains("waiting"), errText.constData());
        QVERIFY(m_sender.WaitConnected(10000));
        m_sender.Play(Events(m_dump.left(nPlayed), 64));
        QVERIFY(m_sender.WaitPlayed(20000));
        if (bStop) {
            // What came whole must have reached it before the stop.
            while (nWritten > 0 && !errText.contains("received 1 message") &&
                   cli.waitForReadyRead(10000))
                errText += cli.readAllStandardError();
            cli.terminate();
        }
        QVERIFY(cli.waitForFinished(20000));
        errText += cli.readAllStandardError();
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QVERIFY2(cli.exitCode() == nExit, errText.constData());
        QCOMPARE(ReadAll(strOut), nWritten < 0 ? QByteArray("kept") : m_dump.left(nWritten));
        if (nWritten != m_dump.size())
            return;
        // What the musician does with it next.
        const QString strPlayed = m_dir.filePath(QStringLiteral("played-dump.syx"));
        QFile played(strPlayed);
        QVERIFY(played.open(QIODevice::WriteOnly));
        played.write(m_dump);
        played.close();
        const QString strFromReceived = m_dir.filePath(QStringLiteral("from-received.qly"));
        const QString strFromPlayed = m_dir.filePath(QStringLiteral("from-played.qly"));
        QVERIFY(RunCli({QStringLiteral("from-syx"), strOut, strFromReceived}));
        QVERIFY(RunCli({QStringLiteral("from-syx"), strPlayed, strFromPlayed}));
        QCOMPARE(ReadAll(strFromReceived), ReadAll(strFromPlayed));
    }

    void senderThatGoesIsReportedOnce() {
        CJackSender sender;
        QString strWhy;
        QVERIFY2(sender.Start("quenley-leaving", strWhy), qPrintable(strWhy));
        CMidiInput input(CreateSystemMidiInDriver());
        QString strError;
        QVERIFY2(input.Open(sender.PortName(), &strError), qPrintable(strError));
        QSignalSpy gone(&input, &CMidiInput::DeviceGone);
        const QString strName = sender.PortName();
        sender.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, 5000);
        QCOMPARE(gone.front().at(0).toString(), strName);
        QVERIFY(!input.IsOpen());
        QTest::qWait(500);
        QCOMPARE(gone.size(), 1);
    }
};

QUENLEY_REGISTER_TEST(TestJackInput)
#include "TestJackInput.moc"

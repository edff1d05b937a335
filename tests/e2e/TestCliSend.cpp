#include "CJackReceiver.h"
#include "TestMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Runs quenley-cli to its end; false when it failed. Its standard output goes to pOut.
bool RunCli(const QStringList& args, QByteArray* pOut = nullptr, int nTimeoutMs = 30000) {
    QProcess cli;
    cli.start(QStringLiteral(QUENLEY_CLI), args);
    if (!cli.waitForFinished(nTimeoutMs) || cli.exitStatus() != QProcess::NormalExit ||
        cli.exitCode() != 0) {
        qWarning("quenley-cli %s: %s", qPrintable(args.join(' ')),
                 cli.readAllStandardError().constData());
        return false;
    }
    if (pOut)
        *pOut = cli.readAllStandardOutput();
    return true;
}

QList<QByteArray> SplitMessages(const QByteArray& syx) {
    QList<QByteArray> list;
    for (qsizetype nStart = 0; nStart < syx.size();) {
        const qsizetype nEnd = syx.indexOf('\xF7', nStart);
        list << syx.mid(nStart, nEnd - nStart + 1);
        nStart = nEnd + 1;
    }
    return list;
}
} // namespace

// quenley-cli send as a musician runs it, into a JACK client of ours through the real output:
// what arrives is exactly what syx writes, between the two All Notes Off.
class TestCliSend : public QObject {
    Q_OBJECT

    CJackReceiver m_receiver;

private slots:
    void initTestCase() {
        QString strWhy;
        if (!m_receiver.Start("quenley-cli-recorder", strWhy))
            QSKIP(qPrintable(strWhy));
    }

    void sendDeliversWhatSyxWrites() {
        QTemporaryDir dir;
        const QString strProject = dir.filePath(QStringLiteral("project.qly"));
        const QString strSyx = dir.filePath(QStringLiteral("project.syx"));
        QVERIFY(RunCli({QStringLiteral("from-json"),
                        QStringLiteral(QUENLEY_TEST_DATA_DIR "/cli/project.json"), strProject}));
        QVERIFY(RunCli({QStringLiteral("syx"), strProject, strSyx, QStringLiteral("--channel"),
                        QStringLiteral("4")}));
        QFile syx(strSyx);
        QVERIFY(syx.open(QIODevice::ReadOnly));
        const QList<QByteArray> expected = SplitMessages(syx.readAll());
        QVERIFY(expected.size() >= 2);

        QString strPort;
        QByteArray ports;
        QVERIFY(RunCli({QStringLiteral("ports")}, &ports));
        for (const QByteArray& line : ports.split('\n'))
            if (line.endsWith(": " + m_receiver.PortName().toUtf8()))
                strPort = QString::fromLatin1(line.left(line.indexOf(':')));
        QVERIFY2(!strPort.isEmpty(), ports.constData());

        m_receiver.Clear();
        QVERIFY(RunCli({QStringLiteral("send"), strProject, QStringLiteral("--port"), strPort,
                        QStringLiteral("--channel"), QStringLiteral("4")}));
        const qsizetype nTotal = expected.size() + 2;
        QVERIFY(m_receiver.WaitFor(static_cast<std::size_t>(nTotal), 5000));
        QList<QByteArray> received;
        for (const auto& e : m_receiver.Events())
            received << e.bytes;
        QCOMPARE(received, QList<QByteArray>{QByteArray::fromHex("B37B00")} + expected +
                               QList<QByteArray>{QByteArray::fromHex("B37B00")});
    }
};

QUENLEY_REGISTER_TEST(TestCliSend)
#include "TestCliSend.moc"

#include "CInstanceChannel.h"

#include "ProjectFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdlib>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr char kMagic[] = "QLYOPEN1";
constexpr qsizetype kMagicLength = sizeof kMagic - 1;
// A request is a few file names; anything larger is not one of ours.
constexpr quint32 kMaxFiles = 256;
constexpr quint32 kMaxNameBytes = 64 * 1024;
// How long a start waits for the running editor: it may be busy loading a large project.
constexpr int kConnectWaitMs = 5000;
constexpr int kAnswerWaitMs = 10000;
// A client that connects and never finishes its request is dropped.
constexpr int kRequestTimeoutMs = 5000;

} // namespace

CInstanceChannel::CInstanceChannel(const QString& strPath)
    : m_strPath(strPath.isEmpty() ? DefaultPath() : strPath) {}

CInstanceChannel::~CInstanceChannel() {
    if (m_pServer)
        m_pServer->close();
}

QString CInstanceChannel::DefaultPath() {
    // One editor per settings file: the same user with another settings folder (a test, a second
    // set-up) is another editor. The home folder tells users apart where settings are shared.
    const QByteArray key = (QSettings().fileName() + QLatin1Char('\n') + QDir::homePath()).toUtf8();
    const QString strName =
        QStringLiteral("quenley-") +
        QString::fromLatin1(
            QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
#ifdef Q_OS_UNIX
    // The runtime folder is the user's own; without one, the shared temporary folder, under a
    // name that says whose it is.
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const QString strRuntime =
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!strRuntime.isEmpty())
            return QDir(strRuntime).filePath(strName);
    }
    return QDir(QDir::tempPath()).filePath(strName + QStringLiteral("-%1").arg(::getuid()));
#else
    return strName;
#endif
}

QByteArray CInstanceChannel::EncodeRequest(const QStringList& files) {
    QByteArray bytes(kMagic, kMagicLength);
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(files.size());
    for (const QString& strFile : files) {
        const QByteArray name = ProjectFile::EncodeName(strFile);
        out << quint32(name.size());
        out.writeRawData(name.constData(), int(name.size()));
    }
    return bytes;
}

CInstanceChannel::EDecode CInstanceChannel::DecodeRequest(const QByteArray& bytes,
                                                          QStringList& rFiles) {
    rFiles.clear();
    const qsizetype nMagic = std::min(bytes.size(), kMagicLength);
    if (bytes.left(nMagic) != QByteArray(kMagic, nMagic))
        return EDecode::Malformed;
    QDataStream in(bytes.mid(kMagicLength));
    in.setVersion(QDataStream::Qt_6_0);
    quint32 nFiles = 0;
    in >> nFiles;
    if (in.status() != QDataStream::Ok)
        return EDecode::Incomplete;
    if (nFiles > kMaxFiles)
        return EDecode::Malformed;
    QStringList files;
    for (quint32 i = 0; i < nFiles; ++i) {
        quint32 nLength = 0;
        in >> nLength;
        if (in.status() != QDataStream::Ok)
            return EDecode::Incomplete;
        if (nLength > kMaxNameBytes)
            return EDecode::Malformed;
        QByteArray name(qsizetype(nLength), Qt::Uninitialized);
        if (in.readRawData(name.data(), int(nLength)) != int(nLength))
            return EDecode::Incomplete;
        files << ProjectFile::DecodeName(name);
    }
    if (!in.atEnd())
        return EDecode::Malformed;
    rFiles = files;
    return EDecode::Complete;
}

namespace {

// Qt's current folder is text, which a folder's name need not be: the system's bytes instead.
QString AbsoluteName(const QString& strFile) {
    if (strFile.isEmpty())
        return strFile;
#ifdef Q_OS_UNIX
    if (strFile.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(strFile);
    if (char* pszFolder = ::getcwd(nullptr, 0)) {
        const QString strFolder = ProjectFile::DecodeName(QByteArray(pszFolder));
        std::free(pszFolder);
        return QDir::cleanPath(strFolder + QLatin1Char('/') + strFile);
    }
#endif
    return QFileInfo(strFile).absoluteFilePath();
}

} // namespace

CInstanceChannel::EClaim CInstanceChannel::Claim(const QStringList& files) {
    QStringList absolute;
    for (const QString& strFile : files)
        absolute << AbsoluteName(strFile);

    m_pLock = std::make_unique<QLockFile>(m_strPath + QStringLiteral(".lock"));
    // The lock is held as long as the editor runs; only a dead holder makes it stale.
    m_pLock->setStaleLockTime(0);
    if (m_pLock->tryLock(0)) {
        Listen();
        return EClaim::Primary;
    }
    if (m_pLock->error() != QLockFile::LockFailedError) {
        // No lock can be made here (a folder without write access): nothing can be shared, and
        // the editor is better started alone than not at all.
        if (HandOff(absolute, 0))
            return EClaim::HandedOff;
        return EClaim::Primary;
    }
    if (HandOff(absolute, kConnectWaitMs))
        return EClaim::HandedOff;
    // The holder may have ended while we waited.
    if (m_pLock->tryLock(0)) {
        Listen();
        return EClaim::Primary;
    }
    m_strError = tr("Quenley is already running but does not answer, so the project was not "
                    "opened. Close the other Quenley, or wait until it is ready, and try again.");
    return EClaim::Failed;
}

bool CInstanceChannel::HandOff(const QStringList& files, int nWaitMs) {
    const QDeadlineTimer connectDeadline(nWaitMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_strPath);
        if (socket.waitForConnected(500))
            break;
        socket.abort();
        if (connectDeadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    socket.write(EncodeRequest(files));
    const QDeadlineTimer answerDeadline(kAnswerWaitMs);
    while (socket.bytesToWrite() > 0 && !answerDeadline.hasExpired())
        if (!socket.waitForBytesWritten(int(answerDeadline.remainingTime())))
            break;
    while (!answerDeadline.hasExpired()) {
        if (socket.bytesAvailable() > 0 ||
            socket.waitForReadyRead(int(answerDeadline.remainingTime())))
            return socket.read(1) == QByteArray(1, kAck);
        if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    return false;
}

bool CInstanceChannel::Listen() {
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CInstanceChannel::OnConnection);
    if (m_pServer->listen(m_strPath))
        return true;
    // The socket of an editor that crashed is still there; we hold the lock, so it is nobody's.
    QLocalServer::removeServer(m_strPath);
    return m_pServer->listen(m_strPath);
}

void CInstanceChannel::OnConnection() {
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        auto pBuffer = std::make_shared<QByteArray>();
        QTimer::singleShot(kRequestTimeoutMs, pSocket, [pSocket] { pSocket->abort(); });
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket, pBuffer] {
            pBuffer->append(pSocket->readAll());
            QStringList files;
            switch (DecodeRequest(*pBuffer, files)) {
            case EDecode::Incomplete:
                return;
            case EDecode::Malformed:
                pSocket->abort();
                return;
            case EDecode::Complete:
                break;
            }
            pSocket->write(QByteArray(1, kAck));
            pSocket->flush();
            pSocket->disconnectFromServer();
            // Opening a project may ask questions; that waits until this socket is done with.
            QMetaObject::invokeMethod(
                this, [this, files] { Deliver(files); }, Qt::QueuedConnection);
        });
    }
}

void CInstanceChannel::SetHandler(Handler handler) {
    m_handler = std::move(handler);
    const QList<QStringList> pending = std::exchange(m_pending, {});
    for (const QStringList& files : pending)
        Deliver(files);
}

void CInstanceChannel::Deliver(const QStringList& files) {
    if (!m_handler) {
        m_pending << files;
        return;
    }
    m_handler(files);
}

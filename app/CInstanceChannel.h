#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps the editor to one running copy per user and settings file. The first start claims the
// channel and listens; a later start (the file manager, the desktop entry, a terminal) hands its
// files to the running editor and ends, so that only one editor ever writes the settings. The
// claim is a lock file, which a crashed editor does not hold any more, and a local socket, which
// a crashed editor leaves behind and the next claim replaces.
class CInstanceChannel : public QObject {
    Q_OBJECT

public:
    // strPath: where the socket lies (a path; its lock file lies beside it). Empty: the path for
    // this user and the application's settings file (DefaultPath).
    explicit CInstanceChannel(const QString& strPath = {});
    ~CInstanceChannel() override;

    enum class EClaim {
        Primary,   // this process is the editor and listens for the files of later starts
        HandedOff, // a running editor took the files; this process should end
        Failed     // a running editor holds the claim but did not answer; Error() says so
    };
    // The files are handed over as absolute paths, byte for byte as the file system names them.
    EClaim Claim(const QStringList& files);
    QString Error() const { return m_strError; }

    // Where the editor's requests go. Requests that came before a handler was set wait for it.
    using Handler = std::function<void(const QStringList& files)>;
    void SetHandler(Handler handler);

    static QString DefaultPath();
    QString Path() const { return m_strPath; }

    // How a request travels: a length, then the paths' bytes; the editor answers with kAck.
    static QByteArray EncodeRequest(const QStringList& files);
    enum class EDecode { Incomplete, Complete, Malformed };
    static EDecode DecodeRequest(const QByteArray& bytes, QStringList& rFiles);
    static constexpr char kAck = '\x06';

private:
    bool HandOff(const QStringList& files, int nWaitMs);
    bool Listen();
    void OnConnection();
    void Deliver(const QStringList& files);

    QString m_strPath;
    QString m_strError;
    std::unique_ptr<QLockFile> m_pLock;
    QLocalServer* m_pServer = nullptr;
    Handler m_handler;
    QList<QStringList> m_pending;
};

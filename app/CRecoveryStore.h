#pragma once

#include "ProjectFile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QLockFile;

// The recovery copy of a project with unsaved changes: written a moment after the last change
// into a folder in the user's data, removed when the changes are saved or given up, and left
// behind only when the editor ends without either. One editor at a time owns the folder (a lock
// file in it); an editor that cannot own it keeps no copies. The project is serialised on the
// caller's thread, but every file operation runs on a worker thread, in the order asked for, so
// a slow or stalled disk never holds up the interface.
class CRecoveryStore : public QObject {
    Q_OBJECT

public:
    // What a copy holds: the project file's bytes with its saved windows, the path it belongs to
    // (empty for a project never saved) and the name the editor gave it.
    struct SCopy {
        QString strPath;
        QString strTitle;
        QByteArray project;
        ProjectFile::SFileStamp stamp; // what the file held when the project last read or wrote it
    };

    // Quiet time after a change before the copy is written, and the longest a change waits
    // while changes keep coming.
    static constexpr int kQuietMs = 1500;
    static constexpr int kMaxDelayMs = 5000;

    explicit CRecoveryStore(const QString& strFolder = DefaultFolder());
    // Finishes every file operation asked for; a change not yet written is not written.
    ~CRecoveryStore() override;

    static QString DefaultFolder();
    bool IsOwner() const { return m_bOwner; }
    const QString& Folder() const { return m_strFolder; }
    // This editor's copy (whether it exists now or not).
    const QString& CopyPath() const { return m_strCopyPath; }

    // Copies other editors left behind, newest first; empty unless this editor owns the folder.
    QStringList Leftovers() const;
    // Reads a copy; false with the reason when it is damaged.
    static bool ReadCopy(const QString& strFile, SCopy& copy, QString& strReason);
    static QByteArray Encode(const SCopy& copy);
    static bool Decode(const QByteArray& bytes, SCopy& copy, QString& strReason);
    // Moves a damaged copy out of the way under a name that is never offered; gives where it is
    // now.
    QString KeepAside(const QString& strFile);
    // Removes a copy left behind, after whatever was asked for before.
    void RemoveLeftover(const QString& strFile);

    // Where the copy's contents come from when it is written.
    void SetSource(std::function<SCopy()> source) { m_source = std::move(source); }
    // The project changed: while it is modified a copy is written soon; once it is not (saved,
    // or undone to the saved state) the copy goes.
    void NoteChange(bool bModified);
    // The changes were saved or given up: the copy goes, and none is pending.
    void Discard();
    // Writes a pending copy now instead of when its time comes.
    void WritePendingNow();
    // Milliseconds until a pending copy is written; -1 when none is pending.
    int PendingMs() const;
    // Blocks until every file operation asked for so far is done.
    void WaitIdle();

signals:
    // A copy could not be written (a full disk, a folder without write access).
    void WriteFailed(const QString& strMessage);

private:
    struct SJob {
        enum class EKind { Write, Remove } eKind;
        QString strPath;
        QByteArray bytes;
    };
    void Queue(SJob job);
    void Run();
    void Execute(const SJob& job);
    void WriteCopy();

    QString m_strFolder;
    QString m_strCopyPath;
    std::unique_ptr<QLockFile> m_pLock;
    bool m_bOwner = false;
    std::function<SCopy()> m_source;
    QTimer m_timer;
    QElapsedTimer m_pendingSince;
    bool m_bReportedFailure = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<SJob> m_jobs;
    bool m_bBusy = false;
    bool m_bStop = false;
    std::thread m_worker;
};

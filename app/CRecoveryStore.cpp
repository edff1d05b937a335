#include "CRecoveryStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr quint32 kMagic = 0x514C5952; // "QLYR"
constexpr quint16 kVersion = 1;
constexpr auto kHash = QCryptographicHash::Sha256;
const QLatin1String kSuffix(".qlyrec");
const QLatin1String kDamagedSuffix(".damaged");
// Far larger than any project with its windows; a bigger file is no copy of ours.
constexpr qint64 kMaxCopySize = 64 * 1024 * 1024;

} // namespace

CRecoveryStore::CRecoveryStore(const QString& strFolder) : m_strFolder(strFolder) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryStore::WriteCopy);
    if (QDir().mkpath(m_strFolder)) {
        m_pLock =
            std::make_unique<QLockFile>(QDir(m_strFolder).filePath(QStringLiteral("owner.lock")));
        // Held as long as the editor runs; only a holder that died leaves it stale.
        m_pLock->setStaleLockTime(0);
        m_bOwner = m_pLock->tryLock(0);
    }
    // Named by this start, so that a copy left by an earlier one is never written over.
    m_strCopyPath =
        QDir(m_strFolder)
            .filePath(
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")) +
                QStringLiteral("-%1").arg(QCoreApplication::applicationPid()) + kSuffix);
    m_worker = std::thread([this] { Run(); });
}

CRecoveryStore::~CRecoveryStore() {
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

QString CRecoveryStore::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

QStringList CRecoveryStore::Leftovers() const {
    if (!m_bOwner)
        return {};
    const QFileInfoList found =
        QDir(m_strFolder)
            .entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files | QDir::Hidden, QDir::Time);
    QStringList files;
    for (const QFileInfo& info : found)
        if (info.absoluteFilePath() != QFileInfo(m_strCopyPath).absoluteFilePath())
            files << info.absoluteFilePath();
    return files;
}

QByteArray CRecoveryStore::Encode(const SCopy& copy) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << copy.strPath << copy.strTitle << copy.project << copy.stamp.nSize
        << copy.stamp.hash;
    return bytes + QCryptographicHash::hash(bytes, kHash);
}

bool CRecoveryStore::Decode(const QByteArray& bytes, SCopy& copy, QString& strReason) {
    const qsizetype nHash = QCryptographicHash::hashLength(kHash);
    const QByteArray body = bytes.left(std::max<qsizetype>(0, bytes.size() - nHash));
    if (bytes.size() <= nHash || QCryptographicHash::hash(body, kHash) != bytes.right(nHash)) {
        strReason = tr("it is incomplete or was changed");
        return false;
    }
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 nMagic = 0;
    quint16 nVersion = 0;
    in >> nMagic >> nVersion;
    if (nMagic != kMagic || nVersion != kVersion) {
        strReason = tr("it is not a recovery copy this version of Quenley can read");
        return false;
    }
    SCopy read;
    in >> read.strPath >> read.strTitle >> read.project >> read.stamp.nSize >> read.stamp.hash;
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        strReason = tr("it is incomplete or was changed");
        return false;
    }
    copy = read;
    return true;
}

bool CRecoveryStore::ReadCopy(const QString& strFile, SCopy& copy, QString& strReason) {
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly)) {
        strReason = file.errorString();
        return false;
    }
    if (file.size() > kMaxCopySize) {
        strReason = tr("it is too large");
        return false;
    }
    return Decode(file.readAll(), copy, strReason);
}

QString CRecoveryStore::KeepAside(const QString& strFile) {
    QString strAside = strFile + kDamagedSuffix;
    for (int n = 2; QFileInfo::exists(strAside); ++n)
        strAside = strFile + QStringLiteral(".%1").arg(n) + kDamagedSuffix;
    return QFile::rename(strFile, strAside) ? strAside : strFile;
}

void CRecoveryStore::RemoveLeftover(const QString& strFile) {
    Queue({SJob::EKind::Remove, strFile, {}});
}

void CRecoveryStore::NoteChange(bool bModified) {
    if (!m_bOwner)
        return;
    if (!bModified) {
        Discard();
        return;
    }
    // Written once the changes pause, but never later than kMaxDelayMs after the first change
    // not yet written, so a long run of edits is not left without a copy.
    if (!m_timer.isActive())
        m_pendingSince.start();
    const int nLeft = kMaxDelayMs - int(m_pendingSince.elapsed());
    m_timer.start(std::clamp(nLeft, 0, kQuietMs));
}

void CRecoveryStore::Discard() {
    if (!m_bOwner)
        return;
    m_timer.stop();
    Queue({SJob::EKind::Remove, m_strCopyPath, {}});
}

void CRecoveryStore::WritePendingNow() {
    if (m_timer.isActive()) {
        m_timer.stop();
        WriteCopy();
    }
}

int CRecoveryStore::PendingMs() const {
    return m_timer.isActive() ? m_timer.remainingTime() : -1;
}

void CRecoveryStore::WriteCopy() {
    if (!m_source)
        return;
    const SCopy copy = m_source();
    if (copy.project.isEmpty())
        return;
    Queue({SJob::EKind::Write, m_strCopyPath, Encode(copy)});
}

void CRecoveryStore::Queue(SJob job) {
    {
        std::lock_guard lock(m_mutex);
        // What is asked for last about a file is all that matters of what still waits.
        std::erase_if(m_jobs, [&job](const SJob& j) { return j.strPath == job.strPath; });
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void CRecoveryStore::WaitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_bBusy; });
}

void CRecoveryStore::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStop || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            if (m_bStop)
                return;
            continue;
        }
        const SJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_bBusy = true;
        lock.unlock();
        Execute(job);
        lock.lock();
        m_bBusy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

void CRecoveryStore::Execute(const SJob& job) {
    if (job.eKind == SJob::EKind::Remove) {
        QFile::remove(job.strPath);
        return;
    }
    // A crash in the middle of this leaves the previous copy: the new one replaces it only once
    // it is complete on disk.
    QSaveFile file(job.strPath);
    if (file.open(QIODevice::WriteOnly) && file.write(job.bytes) == job.bytes.size() &&
        file.commit())
        return;
    const QString strMessage =
        tr("The recovery copy of the unsaved changes could not be written to %1: %2")
            .arg(QDir::toNativeSeparators(job.strPath), file.errorString());
    QMetaObject::invokeMethod(
        this,
        [this, strMessage] {
            // Once is enough: the next attempts would say the same every few seconds.
            if (!m_bReportedFailure)
                emit WriteFailed(strMessage);
            m_bReportedFailure = true;
        },
        Qt::QueuedConnection);
}

#include "CSysExFileDriver.h"

#include "CMidiSink.h"
#include "CThreadedMidiPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class CFileSink : public CMidiSink {
public:
    CFileSink(std::FILE* pFile, std::unique_ptr<QLockFile> pLock)
        : m_pFile(pFile), m_pLock(std::move(pLock)) {}
    ~CFileSink() override { CFileSink::Close(); }

    bool Write(const std::uint8_t* pData, std::size_t nLength) override {
        if (!m_pFile)
            return false;
        // Flushed at once, so whoever reads the file sees every message that was reported done.
        return std::fwrite(pData, 1, nLength, m_pFile) == nLength && std::fflush(m_pFile) == 0;
    }
    void Close() override {
        if (m_pFile)
            std::fclose(m_pFile);
        m_pFile = nullptr;
        m_pLock.reset(); // only once every byte is out
    }

private:
    std::FILE* m_pFile;
    std::unique_ptr<QLockFile> m_pLock;
};

} // namespace

CSysExFileDriver::CSysExFileDriver(QString strPath)
    : m_strPath(strPath.isEmpty() ? DefaultPath() : strPath) {}

QString CSysExFileDriver::DefaultPath() {
    QString strDir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (strDir.isEmpty())
        strDir = QDir::tempPath();
    return QDir(strDir).filePath(QStringLiteral("sysex-out.syx"));
}

QString CSysExFileDriver::LockPath() const {
    return m_strPath + QStringLiteral(".lock");
}

MMRESULT CSysExFileDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId != 0)
        return MMSYSERR_BADDEVICEID;
    strName = kDeviceName;
    return MMSYSERR_NOERROR;
}

MMRESULT CSysExFileDriver::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId,
                                MidiOutProc pProc, void* pInstance) {
    m_strOpenError.clear();
    if (nId != 0)
        return MMSYSERR_BADDEVICEID;
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    // The port is one device, as a real one is: a second writer would interleave its messages
    // with ours. The lock is held until the port closes; one left by a holder that crashed is
    // recognised as stale and taken over.
    auto pLock = std::make_unique<QLockFile>(LockPath());
    if (!pLock->tryLock(0)) {
        if (pLock->error() != QLockFile::LockFailedError) {
            m_strOpenError = QStringLiteral("the lock file %1 cannot be made")
                                 .arg(QDir::toNativeSeparators(LockPath()))
                                 .toStdString();
            return MMSYSERR_ERROR;
        }
        qint64 nPid = 0;
        QString strHost;
        QString strApp;
        // Who holds it tells the user which window or command to finish first.
        if (pLock->getLockInfo(&nPid, &strHost, &strApp))
            m_strOpenError = QStringLiteral("%1 (process %2) is writing to %3")
                                 .arg(strApp.isEmpty() ? QStringLiteral("another program") : strApp)
                                 .arg(nPid)
                                 .arg(QDir::toNativeSeparators(m_strPath))
                                 .toStdString();
        return MMSYSERR_ALLOCATED;
    }
    std::FILE* pFile = std::fopen(QFile::encodeName(m_strPath).constData(), "wb");
    if (!pFile) {
        m_strOpenError = QStringLiteral("%1 cannot be written (%2)")
                             .arg(QDir::toNativeSeparators(m_strPath),
                                  QString::fromLocal8Bit(std::strerror(errno)))
                             .toStdString();
        return MMSYSERR_ERROR;
    }
    pPort = std::make_unique<CThreadedMidiPort>(
        std::make_unique<CFileSink>(pFile, std::move(pLock)), pProc, pInstance);
    return MMSYSERR_NOERROR;
}

#include "CSysExFileDriver.h"

#include "CMidiSink.h"
#include "CThreadedMidiPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace {

class CFileSink : public CMidiSink {
public:
    explicit CFileSink(std::FILE* pFile) : m_pFile(pFile) {}
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
    }

private:
    std::FILE* m_pFile;
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

MMRESULT CSysExFileDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId != 0)
        return MMSYSERR_BADDEVICEID;
    strName = kDeviceName;
    return MMSYSERR_NOERROR;
}

MMRESULT CSysExFileDriver::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId,
                                MidiOutProc pProc, void* pInstance) {
    if (nId != 0)
        return MMSYSERR_BADDEVICEID;
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    std::FILE* pFile = std::fopen(QFile::encodeName(m_strPath).constData(), "wb");
    if (!pFile)
        return MMSYSERR_ERROR;
    pPort =
        std::make_unique<CThreadedMidiPort>(std::make_unique<CFileSink>(pFile), pProc, pInstance);
    return MMSYSERR_NOERROR;
}

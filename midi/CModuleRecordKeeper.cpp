#include "CModuleRecordKeeper.h"

#include "CMidiWnd.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

CModuleRecordKeeper::CModuleRecordKeeper(CMidiWnd* pMidiWnd, QString strFolder)
    : QObject(pMidiWnd), m_pMidiWnd(pMidiWnd),
      m_strFolder(strFolder.isEmpty() ? DefaultFolder() : std::move(strFolder)) {
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &CModuleRecordKeeper::Flush);
    connect(pMidiWnd, &CMidiWnd::MessageConfirmed, this, [this](const QByteArray& bytes) {
        Absorb(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
               static_cast<std::size_t>(bytes.size()));
    });
    connect(pMidiWnd, &CMidiWnd::ModuleInDoubt, this, &CModuleRecordKeeper::Forget);
}

CModuleRecordKeeper::~CModuleRecordKeeper() {
    Flush();
}

QString CModuleRecordKeeper::DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("module"));
}

QString CModuleRecordKeeper::Path() const {
    if (m_strDevice.isEmpty() || m_nChannel < 0)
        return QString();
    return QDir(m_strFolder).filePath(CModuleRecord::FileName(m_strDevice, m_nChannel + 1));
}

QString CModuleRecordKeeper::Describe() const {
    return tr("\"%1\", channel %2").arg(m_strDevice).arg(m_nChannel + 1);
}

void CModuleRecordKeeper::Follow() {
    const QString strDevice = QString::fromStdString(m_pMidiWnd->GetMidiDeviceName());
    const int nChannel = m_pMidiWnd->GetMidiChannel();
    if (m_bLoaded && strDevice == m_strDevice && nChannel == m_nChannel) {
        // quenley-cli send shares the file: what it recorded meanwhile is read, not overwritten.
        if (!m_bDirty && FileStamp() != m_fileStamp)
            Load();
        return;
    }
    Flush();
    m_strDevice = strDevice;
    m_nChannel = nChannel;
    m_bLoaded = true;
    m_bDirty = false;
    Load();
}

void CModuleRecordKeeper::Load() {
    const QString strPath = Path();
    QString strWhy;
    if (strPath.isEmpty())
        m_record.Forget();
    else if (!m_record.Load(strPath, strWhy))
        emit Problem(tr("The record of what %1 holds is ignored (%2): Send Changes sends "
                        "everything.")
                         .arg(Describe(), strWhy));
    m_fileStamp = FileStamp();
    emit Changed();
}

CModuleRecordKeeper::SFileStamp CModuleRecordKeeper::FileStamp() const {
    const QString strPath = Path();
    if (strPath.isEmpty())
        return {};
    const QFileInfo info(strPath);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

const CModuleRecord& CModuleRecordKeeper::Record() {
    Follow();
    return m_record;
}

void CModuleRecordKeeper::Absorb(const std::uint8_t* pBytes, std::size_t nLength) {
    Follow();
    // Each record holds one channel's module; a message on another reached another one.
    if (nLength > 4 && pBytes[4] != m_nChannel)
        return;
    if (!m_record.AbsorbMessage(pBytes, nLength))
        return;
    m_bDirty = true;
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
    emit Changed();
}

void CModuleRecordKeeper::Forget() {
    Follow();
    m_record.Forget();
    // Written at once: a record that cannot be trusted must not outlive a crash.
    m_bDirty = true;
    Flush();
    emit Changed();
}

bool CModuleRecordKeeper::Flush() {
    m_writeTimer.stop();
    if (!m_bDirty)
        return true;
    m_bDirty = false;
    const QString strPath = Path();
    if (strPath.isEmpty())
        return true;
    QString strWhy;
    const bool bSaved = m_record.Save(strPath, strWhy);
    m_fileStamp = FileStamp();
    if (bSaved)
        return true;
    emit Problem(tr("The record of what %1 holds could not be written to %2: %3.")
                     .arg(Describe(), QDir::toNativeSeparators(strPath), strWhy));
    return false;
}

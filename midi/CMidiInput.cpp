#include "CMidiInput.h"

#include <QMetaObject>

#include <algorithm>

CMidiInput::CMidiInput(std::unique_ptr<CMidiInDriver> pDriver, QObject* pParent)
    : QObject(pParent), m_pDriver(std::move(pDriver)),
      m_assembler([this](const std::uint8_t* pData, std::size_t nLength) {
          m_ready.emplace_back(reinterpret_cast<const char*>(pData), qsizetype(nLength));
      }) {}

CMidiInput::~CMidiInput() {
    Close();
}

QStringList CMidiInput::DeviceNames() {
    QStringList names;
    if (!m_pDriver)
        return names;
    const unsigned nCount = m_pDriver->GetNumDevs();
    for (unsigned i = 0; i < nCount; ++i) {
        std::string strName;
        if (m_pDriver->GetDevName(i, strName) == MMSYSERR_NOERROR)
            names << QString::fromStdString(strName);
    }
    return names;
}

bool CMidiInput::Open(const QString& strName, QString* pError) {
    Close();
    const int nIndex = DeviceNames().indexOf(strName);
    if (nIndex < 0) {
        if (pError)
            *pError = tr("The MIDI input device \"%1\" is not connected.").arg(strName);
        return false;
    }
    std::unique_ptr<CMidiInPort> pPort;
    const MMRESULT nResult = m_pDriver->Open(pPort, unsigned(nIndex), &CMidiInput::OnInput, this);
    if (nResult != MMSYSERR_NOERROR || !pPort) {
        if (pError) {
            const QString strWhy = QString::fromStdString(m_pDriver->LastOpenError());
            *pError = strWhy.isEmpty()
                          ? tr("The MIDI input device \"%1\" could not be opened (error %2).")
                                .arg(strName)
                                .arg(nResult)
                          : tr("The MIDI input device \"%1\" could not be opened: %2.")
                                .arg(strName, strWhy);
        }
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_assembler.Reset();
        m_assembler.ClearCounts();
        m_ready.clear();
        m_bGone = false;
    }
    m_nBytes = 0;
    m_lastByteNs = 0;
    m_pPort = std::move(pPort);
    m_strDevice = strName;
    return true;
}

void CMidiInput::Close() {
    // The port's destructor waits for its callback to finish, so nothing is fed afterwards.
    m_pPort.reset();
    std::lock_guard lock(m_mutex);
    m_assembler.Reset();
    m_ready.clear();
}

void CMidiInput::Finish() {
    m_pPort.reset();
    std::vector<QByteArray> ready;
    {
        std::lock_guard lock(m_mutex);
        ready.swap(m_ready);
    }
    for (const QByteArray& message : ready)
        emit SysExReceived(message);
    Close();
}

int CMidiInput::OtherMessages() const {
    std::lock_guard lock(m_mutex);
    return m_assembler.OtherMessages();
}

int CMidiInput::BrokenMessages() const {
    std::lock_guard lock(m_mutex);
    return m_assembler.BrokenMessages();
}

qint64 CMidiInput::MsSinceLastByte() const {
    const std::int64_t nLast = m_lastByteNs.load();
    if (nLast == 0)
        return -1;
    const std::int64_t nNow = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count();
    return (nNow - nLast) / 1000000;
}

void CMidiInput::OnInput(void* pInstance, EMidiInNotify eNotify, const std::uint8_t* pData,
                         std::size_t nLength) {
    auto* pSelf = static_cast<CMidiInput*>(pInstance);
    bool bPost = false;
    {
        std::lock_guard lock(pSelf->m_mutex);
        if (eNotify == EMidiInNotify::Gone) {
            pSelf->m_bGone = true;
        } else {
            pSelf->m_nBytes += qint64(nLength);
            if (std::any_of(pData, pData + nLength, [](std::uint8_t b) { return b < 0xF8; }))
                pSelf->m_lastByteNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count();
            pSelf->m_assembler.Feed(pData, nLength);
        }
        // One drain at a time is waiting in the owner's queue however fast bytes come.
        bPost = !pSelf->m_bDrainPosted;
        pSelf->m_bDrainPosted = true;
    }
    if (bPost)
        QMetaObject::invokeMethod(pSelf, &CMidiInput::Drain, Qt::QueuedConnection);
}

void CMidiInput::Drain() {
    std::vector<QByteArray> ready;
    bool bGone = false;
    {
        std::lock_guard lock(m_mutex);
        ready.swap(m_ready);
        bGone = m_bGone;
        m_bGone = false;
        m_bDrainPosted = false;
    }
    for (const QByteArray& message : ready)
        emit SysExReceived(message);
    if (!ready.empty() || !bGone)
        emit Activity();
    if (bGone && m_pPort) {
        const QString strDevice = m_strDevice;
        Close();
        emit DeviceGone(strDevice);
    }
}

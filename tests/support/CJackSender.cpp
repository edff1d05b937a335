#include "CJackSender.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <chrono>
#include <thread>

CJackSender::~CJackSender() {
    Stop();
}

bool CJackSender::Start(const char* pszClientName, QString& strWhy) {
    jack_status_t status{};
    m_pClient = jack_client_open(pszClientName, JackNoStartServer, &status);
    if (!m_pClient) {
        strWhy = QStringLiteral("no JACK server is running (status 0x%1)").arg(int(status), 0, 16);
        return false;
    }
    m_pPort = jack_port_register(m_pClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!m_pPort || jack_set_process_callback(m_pClient, &CJackSender::Process, this) != 0 ||
        jack_activate(m_pClient) != 0) {
        strWhy = QStringLiteral("the JACK sender could not start");
        return false;
    }
    return true;
}

QString CJackSender::PortName() const {
    return m_pPort ? QString::fromUtf8(jack_port_name(m_pPort)) : QString();
}

bool CJackSender::WaitConnected(int nTimeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (jack_port_connected(m_pPort) <= 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const unsigned nThen = m_nPeriods.load();
    while (m_nPeriods.load() < nThen + 2) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void CJackSender::Play(const QList<QByteArray>& events) {
    std::lock_guard lock(m_mutex);
    m_waiting.insert(m_waiting.end(), events.begin(), events.end());
}

bool CJackSender::WaitPlayed(int nTimeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_waiting.empty())
                return true;
        }
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CJackSender::Stop() {
    if (m_pClient) {
        jack_deactivate(m_pClient);
        jack_client_close(m_pClient);
    }
    m_pClient = nullptr;
    m_pPort = nullptr;
}

int CJackSender::Process(jack_nframes_t nFrames, void* pArg) {
    auto* pSelf = static_cast<CJackSender*>(pArg);
    void* pBuffer = jack_port_get_buffer(pSelf->m_pPort, nFrames);
    jack_midi_clear_buffer(pBuffer);
    ++pSelf->m_nPeriods;
    // The process thread must not wait: a period the test holds the lock in sends nothing.
    std::unique_lock lock(pSelf->m_mutex, std::try_to_lock);
    if (!lock.owns_lock())
        return 0;
    // A few events a period, spread over it, stay far inside a port buffer of any size.
    constexpr jack_nframes_t kPerPeriod = 8;
    for (jack_nframes_t i = 0; i < kPerPeriod && !pSelf->m_waiting.empty(); ++i) {
        const QByteArray& event = pSelf->m_waiting.front();
        if (jack_midi_event_write(pBuffer, i * (nFrames / kPerPeriod),
                                  reinterpret_cast<const jack_midi_data_t*>(event.constData()),
                                  std::size_t(event.size())) != 0)
            break;
        pSelf->m_waiting.pop_front();
    }
    return 0;
}

#include "CJackReceiver.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <chrono>
#include <thread>

CJackReceiver::~CJackReceiver() {
    if (m_pClient) {
        jack_deactivate(m_pClient);
        jack_client_close(m_pClient);
    }
}

bool CJackReceiver::Start(const char* pszClientName, QString& strWhy, const char* pszServer) {
    jack_status_t status{};
    m_pClient = pszServer ? jack_client_open(pszClientName,
                                             jack_options_t(JackNoStartServer | JackServerName),
                                             &status, pszServer)
                          : jack_client_open(pszClientName, JackNoStartServer, &status);
    if (!m_pClient) {
        strWhy = QStringLiteral("no JACK server is running (status 0x%1)").arg(int(status), 0, 16);
        return false;
    }
    m_events.reserve(100000);
    m_pPort = jack_port_register(m_pClient, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (!m_pPort || jack_set_process_callback(m_pClient, &CJackReceiver::Process, this) != 0 ||
        jack_activate(m_pClient) != 0) {
        strWhy = QStringLiteral("the JACK receiver could not start");
        return false;
    }
    return true;
}

QString CJackReceiver::PortName() const {
    return m_pPort ? QString::fromUtf8(jack_port_name(m_pPort)) : QString();
}

std::uint64_t CJackReceiver::Now() const {
    return jack_get_time();
}

double CJackReceiver::PeriodMicros() const {
    return 1e6 * jack_get_buffer_size(m_pClient) / jack_get_sample_rate(m_pClient);
}

int CJackReceiver::Process(jack_nframes_t nFrames, void* pArg) {
    auto* pSelf = static_cast<CJackReceiver*>(pArg);
    void* pBuffer = jack_port_get_buffer(pSelf->m_pPort, nFrames);
    const jack_nframes_t nStart = jack_last_frame_time(pSelf->m_pClient);
    const std::uint32_t nCount = jack_midi_get_event_count(pBuffer);
    std::lock_guard lock(pSelf->m_mutex);
    for (std::uint32_t i = 0; i < nCount; ++i) {
        jack_midi_event_t ev;
        if (jack_midi_event_get(&ev, pBuffer, i) != 0)
            continue;
        pSelf->m_events.push_back(
            {QByteArray(reinterpret_cast<const char*>(ev.buffer), static_cast<int>(ev.size)),
             jack_frames_to_time(pSelf->m_pClient, nStart + ev.time)});
    }
    return 0;
}

std::vector<CJackReceiver::Event> CJackReceiver::Events() {
    std::lock_guard lock(m_mutex);
    return m_events;
}

std::size_t CJackReceiver::Count() {
    std::lock_guard lock(m_mutex);
    return m_events.size();
}

void CJackReceiver::Clear() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

bool CJackReceiver::WaitFor(std::size_t n, int nTimeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (Count() < n) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

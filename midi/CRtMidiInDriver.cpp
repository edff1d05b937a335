#include "CRtMidiInDriver.h"

#include "RtMidiSupport.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using RtMidiSupport::CJackWatch;
using RtMidiSupport::CStderrMute;
using RtMidiSupport::ErrorTrap;

// With a callback set RtMidi never uses its queue; the size matters only for what arrives in
// the moment between opening and setting the callback, which the port below avoids anyway.
constexpr unsigned kQueueSize = 1024;
constexpr unsigned kSysExBufferSize = 64 * 1024;
constexpr unsigned kSysExBuffers = 8;

std::unique_ptr<RtMidiIn> MakeIn(RtMidi::Api eApi, std::string& strError) {
    try {
        return std::make_unique<RtMidiIn>(eApi, RtMidiSupport::kClientName, kQueueSize);
    } catch (const RtMidiError& e) {
        strError = e.getMessage();
    } catch (...) {
        strError = "MIDI back end failed to start";
    }
    return nullptr;
}

// An open input. Bytes come from RtMidi's thread as RtMidi hands them on: the ALSA back end
// joins the sequencer's pieces of a long message itself, the JACK one joins JACK's events, but
// either hands on a message cut by other bytes in two, and JACK leaves real-time bytes inside a
// message; the assembler behind the callback copes with all of it.
//
// RtMidi says nothing when the device goes away, so a thread of the port's own looks at the
// device list (through a client of its own, as the back ends' clients are not safe to share
// between threads) and, on JACK, listens for the server shutting down.
class CRtMidiInPort : public CMidiInPort {
public:
    CRtMidiInPort(std::unique_ptr<RtMidiIn> pIn, std::unique_ptr<RtMidiIn> pLister,
                  std::unique_ptr<CJackWatch> pWatch, std::string strDevice, MidiInProc pProc,
                  void* pInstance)
        : m_pIn(std::move(pIn)), m_pLister(std::move(pLister)), m_pWatch(std::move(pWatch)),
          m_strDevice(std::move(strDevice)), m_pProc(pProc), m_pInstance(pInstance) {
        // RtMidi reports errors of its own thread to this callback; without one it would throw
        // there, where nothing can catch it.
        m_pIn->setErrorCallback(&ErrorTrap::Callback, &m_trap);
        m_pIn->setCallback(&CRtMidiInPort::OnMessage, this);
        if (m_pLister)
            m_pLister->setErrorCallback(&ErrorTrap::Callback, &m_listerTrap);
    }
    ~CRtMidiInPort() override {
        {
            std::lock_guard lock(m_mutex);
            m_bStop = true;
        }
        m_wake.notify_all();
        if (m_watcher.joinable())
            m_watcher.join();
        // Closing the port and the client stops RtMidi's thread, so no callback runs after this.
        try {
            m_pIn->closePort();
            m_pIn->cancelCallback();
        } catch (...) {
        }
        m_pIn.reset();
        m_pLister.reset();
    }
    CRtMidiInPort(const CRtMidiInPort&) = delete;
    CRtMidiInPort& operator=(const CRtMidiInPort&) = delete;

    // Opens the device at nPort of the back end; the callback is in place before anything can
    // arrive. False with the reason when refused.
    bool Open(unsigned nPort, std::string& strError) {
        try {
            m_pIn->openPort(nPort, "in");
        } catch (const RtMidiError& e) {
            strError = e.getMessage();
            return false;
        } catch (...) {
            strError = "the device could not be opened";
            return false;
        }
        if (m_trap.bFailed || !m_pIn->isPortOpen()) {
            strError = m_trap.strText;
            return false;
        }
        m_watcher = std::thread(&CRtMidiInPort::Watch, this);
        return true;
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* pMessage, void* pUser) {
        auto* pSelf = static_cast<CRtMidiInPort*>(pUser);
        if (pMessage && !pMessage->empty())
            pSelf->m_pProc(pSelf->m_pInstance, EMidiInNotify::Data, pMessage->data(),
                           pMessage->size());
    }

    void Watch() {
        // Often enough that a pulled cable is noticed at once, rarely enough to cost nothing.
        constexpr std::chrono::milliseconds kLookEvery(200);
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, kLookEvery, [this] { return m_bStop; })) {
            const bool bGone =
                (m_pWatch && m_pWatch->Gone()) ||
                (m_pLister && !RtMidiSupport::StillListed(*m_pLister, m_strDevice, m_listerTrap));
            if (bGone) {
                // Once: the owner closes the port on hearing it, which waits for this thread.
                lock.unlock();
                m_pProc(m_pInstance, EMidiInNotify::Gone, nullptr, 0);
                return;
            }
        }
    }

    ErrorTrap m_trap;
    ErrorTrap m_listerTrap;
    std::unique_ptr<RtMidiIn> m_pIn;
    std::unique_ptr<RtMidiIn> m_pLister;
    std::unique_ptr<CJackWatch> m_pWatch;
    std::string m_strDevice;
    MidiInProc m_pProc;
    void* m_pInstance;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    std::thread m_watcher;
};

} // namespace

CRtMidiInDriver::CRtMidiInDriver() {
    CStderrMute mute;
    // RtMidi's own fallback gives up at the first back end that throws, so try each in turn.
    for (RtMidi::Api eApi : RtMidiSupport::CandidateApis(m_strLastError)) {
        if (std::unique_ptr<RtMidiIn> pIn = MakeIn(eApi, m_strLastError)) {
            m_nApi = eApi;
            m_strLastError.clear();
            break;
        }
    }
}

CRtMidiInDriver::~CRtMidiInDriver() = default;

unsigned CRtMidiInDriver::GetNumDevs() {
    m_names.clear();
    if (m_nApi < 0)
        return 0;
    CStderrMute mute;
    std::unique_ptr<RtMidiIn> pIn = MakeIn(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pIn)
        return 0;
    RtMidiSupport::ListPorts(*pIn, m_names);
    return static_cast<unsigned>(m_names.size());
}

MMRESULT CRtMidiInDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_names[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiInDriver::Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId, MidiInProc pProc,
                               void* pInstance) {
    m_strOpenError.clear();
    if (nId >= m_names.size() || m_nApi < 0)
        return MMSYSERR_BADDEVICEID;
    const auto eApi = static_cast<RtMidi::Api>(m_nApi);
    CStderrMute mute;
    std::unique_ptr<RtMidiIn> pIn = MakeIn(eApi, m_strLastError);
    std::unique_ptr<RtMidiIn> pLister = pIn ? MakeIn(eApi, m_strLastError) : nullptr;
    if (!pIn || !pLister) {
        m_strOpenError = m_strLastError;
        return MMSYSERR_ERROR;
    }
    // Ports come and go after the list was made: open the device by its name, not its place.
    const std::string& strWanted = m_names[nId];
    unsigned nPort = 0;
    {
        std::vector<std::string> names;
        if (!RtMidiSupport::ListPorts(*pIn, names))
            return MMSYSERR_ERROR;
        while (nPort < names.size() && names[nPort] != strWanted)
            ++nPort;
        if (nPort == names.size()) {
            m_strOpenError = "MIDI device \"" + strWanted + "\" is no longer there";
            return MIDIERR_NODEVICE;
        }
    }
    try {
        // System Exclusive is what we are here for; timing and active sensing stay filtered.
        pIn->ignoreTypes(false, true, true);
        // Only back ends that take System Exclusive into fixed buffers (not ALSA or JACK,
        // which grow theirs) look at this: larger buffers, fewer pieces of a long dump.
        pIn->setBufferSize(kSysExBufferSize, kSysExBuffers);
    } catch (...) {
        return MMSYSERR_ERROR;
    }
    std::unique_ptr<CJackWatch> pWatch;
    if (eApi == RtMidi::UNIX_JACK)
        pWatch = std::make_unique<CJackWatch>();
    auto pOpen = std::make_unique<CRtMidiInPort>(std::move(pIn), std::move(pLister),
                                                 std::move(pWatch), strWanted, pProc, pInstance);
    if (!pOpen->Open(nPort, m_strOpenError))
        return MMSYSERR_ALLOCATED;
    pPort = std::move(pOpen);
    return MMSYSERR_NOERROR;
}

std::unique_ptr<CMidiInDriver> CreateSystemMidiInDriver() {
    return std::make_unique<CRtMidiInDriver>();
}

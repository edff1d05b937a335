#include "CRtMidiInDriver.h"

#include <RtMidi.h>

#include <cstdlib>

namespace {

const char kClientName[] = "Quenley";

struct InErrorTrap {
    bool bFailed = false;
    std::string strText;

    static void Callback(RtMidiError::Type eType, const std::string& strText, void* pUser) {
        auto* pTrap = static_cast<InErrorTrap*>(pUser);
        if (eType == RtMidiError::WARNING || eType == RtMidiError::DEBUG_WARNING)
            return;
        pTrap->bFailed = true;
        pTrap->strText = strText;
    }
};

std::unique_ptr<RtMidiIn> MakeIn(RtMidi::Api eApi, std::string& strError) {
    try {
        // A large queue: a dump arrives faster than nothing, and RtMidi drops what overflows.
        return std::make_unique<RtMidiIn>(eApi, kClientName, 1024);
    } catch (const RtMidiError& e) {
        strError = e.getMessage();
    } catch (...) {
        strError = "MIDI back end failed to start";
    }
    return nullptr;
}

class CRtMidiInPort : public CMidiInPort {
public:
    CRtMidiInPort(std::unique_ptr<RtMidiIn> pIn, MidiInProc pProc, void* pInstance)
        : m_pIn(std::move(pIn)), m_pProc(pProc), m_pInstance(pInstance) {
        // RtMidi reports errors of its own thread to this callback; without one it would throw
        // there, where nothing can catch it.
        m_pIn->setErrorCallback(&InErrorTrap::Callback, &m_trap);
        m_pIn->setCallback(&CRtMidiInPort::OnMessage, this);
    }
    ~CRtMidiInPort() override {
        // Closing the port stops RtMidi's thread, so no callback runs after this.
        try {
            m_pIn->cancelCallback();
            m_pIn->closePort();
        } catch (...) {
        }
        m_pIn.reset();
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* pMessage, void* pUser) {
        auto* pSelf = static_cast<CRtMidiInPort*>(pUser);
        if (pMessage && !pMessage->empty())
            pSelf->m_pProc(pSelf->m_pInstance, EMidiInNotify::Data, pMessage->data(),
                           pMessage->size());
    }

    InErrorTrap m_trap;
    std::unique_ptr<RtMidiIn> m_pIn;
    MidiInProc m_pProc;
    void* m_pInstance;
};

} // namespace

CRtMidiInDriver::CRtMidiInDriver() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    if (const char* pszForced = std::getenv("QUENLEY_MIDI_API"); pszForced && *pszForced) {
        const RtMidi::Api eForced = RtMidi::getCompiledApiByName(pszForced);
        apis.clear();
        if (eForced != RtMidi::UNSPECIFIED)
            apis.push_back(eForced);
    }
    for (RtMidi::Api eApi : apis) {
        if (MakeIn(eApi, m_strLastError)) {
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
    std::unique_ptr<RtMidiIn> pIn = MakeIn(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pIn)
        return 0;
    InErrorTrap trap;
    pIn->setErrorCallback(&InErrorTrap::Callback, &trap);
    try {
        const unsigned nCount = pIn->getPortCount();
        for (unsigned i = 0; i < nCount; ++i)
            m_names.push_back(pIn->getPortName(i));
    } catch (...) {
        m_names.clear();
    }
    return static_cast<unsigned>(m_names.size());
}

MMRESULT CRtMidiInDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_names[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiInDriver::Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId,
                               MidiInProc pProc, void* pInstance) {
    m_strOpenError.clear();
    if (nId >= m_names.size() || m_nApi < 0)
        return MMSYSERR_BADDEVICEID;
    std::unique_ptr<RtMidiIn> pIn = MakeIn(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pIn) {
        m_strOpenError = m_strLastError;
        return MMSYSERR_ERROR;
    }
    InErrorTrap trap;
    pIn->setErrorCallback(&InErrorTrap::Callback, &trap);
    const std::string& strWanted = m_names[nId];
    try {
        // System Exclusive is what we are here for; timing and active sensing stay filtered.
        pIn->ignoreTypes(false, true, true);
        const unsigned nCount = pIn->getPortCount();
        unsigned nPort = nCount;
        for (unsigned i = 0; i < nCount && nPort == nCount; ++i)
            if (pIn->getPortName(i) == strWanted)
                nPort = i;
        if (nPort == nCount) {
            m_strOpenError = "MIDI device \"" + strWanted + "\" is no longer there";
            return MIDIERR_NODEVICE;
        }
        pIn->openPort(nPort, "in");
    } catch (const RtMidiError& e) {
        m_strOpenError = e.getMessage();
        return MMSYSERR_ERROR;
    } catch (...) {
        return MMSYSERR_ERROR;
    }
    if (trap.bFailed || !pIn->isPortOpen()) {
        m_strOpenError = trap.strText;
        return MMSYSERR_ALLOCATED;
    }
    pPort = std::make_unique<CRtMidiInPort>(std::move(pIn), pProc, pInstance);
    return MMSYSERR_NOERROR;
}

std::unique_ptr<CMidiInDriver> CreateSystemMidiInDriver() {
    return std::make_unique<CRtMidiInDriver>();
}

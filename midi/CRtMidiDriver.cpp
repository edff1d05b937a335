#include "CRtMidiDriver.h"

#include "CMidiSink.h"
#include "CThreadedMidiPort.h"

#include "RtMidiSupport.h"

#include <chrono>
#include <cstdlib>

namespace {

using RtMidiSupport::CJackWatch;
using RtMidiSupport::CStderrMute;
using RtMidiSupport::ErrorTrap;
using RtMidiSupport::kClientName;

std::unique_ptr<RtMidiOut> MakeOut(RtMidi::Api eApi, std::string& strError) {
    try {
        return std::make_unique<RtMidiOut>(eApi, kClientName);
    } catch (const RtMidiError& e) {
        strError = e.getMessage();
    } catch (...) {
        strError = "MIDI back end failed to start";
    }
    return nullptr;
}

// The JACK watch stops the port handing RtMidi messages as soon as the server is gone (RtMidi's
// send would then wait for buffer space forever), and with its period a message counts as done
// only once it left, so the pause before a block really separates it from the message before.
class CRtMidiSink : public CMidiSink {
public:
    CRtMidiSink(std::unique_ptr<RtMidiOut> pOut, std::unique_ptr<CJackWatch> pWatch,
                std::string strDevice)
        : m_pOut(std::move(pOut)), m_pWatch(std::move(pWatch)), m_strDevice(std::move(strDevice)) {
        m_pOut->setErrorCallback(&ErrorTrap::Callback, &m_trap);
    }
    ~CRtMidiSink() override { CRtMidiSink::Close(); }

    bool Write(const std::uint8_t* pData, std::size_t nLength) override {
        m_trap.bFailed = false;
        try {
            m_pOut->sendMessage(pData, nLength);
        } catch (...) {
            return false;
        }
        return !m_trap.bFailed;
    }
    void Close() override {
        try {
            if (m_pOut)
                m_pOut->closePort();
        } catch (...) {
        }
        m_pOut.reset();
    }
    std::chrono::microseconds Pace(std::size_t nLength) const override {
        const std::chrono::microseconds wire(CRtMidiDriver::kMicrosPerByte *
                                             static_cast<long long>(nLength));
        return m_pWatch ? wire + m_pWatch->Period() : wire;
    }
    bool IsGone() const override {
        if (m_bGone || (m_pWatch && m_pWatch->Gone()))
            return true;
        // The back ends say nothing when the device at the other end goes: what is sent to it
        // just disappears. So the device list is looked at before sending, at most this often.
        constexpr std::chrono::milliseconds kLookEvery(100);
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastLook < kLookEvery)
            return false;
        m_lastLook = now;
        m_bGone = !StillListed();
        return m_bGone;
    }

private:
    bool StillListed() const {
        return !m_pOut || RtMidiSupport::StillListed(*m_pOut, m_strDevice, m_trap);
    }

    std::unique_ptr<RtMidiOut> m_pOut;
    std::unique_ptr<CJackWatch> m_pWatch;
    std::string m_strDevice;
    mutable ErrorTrap m_trap;
    mutable bool m_bGone = false;
    mutable std::chrono::steady_clock::time_point m_lastLook{};
};

} // namespace

CRtMidiDriver::CRtMidiDriver() {
    CStderrMute mute;
    const std::vector<RtMidi::Api> apis = RtMidiSupport::CandidateApis(m_strLastError);
    // RtMidi's own fallback gives up at the first back end that throws, so try each in turn.
    for (RtMidi::Api eApi : apis) {
        std::string strError;
        if (std::unique_ptr<RtMidiOut> pOut = MakeOut(eApi, strError)) {
            m_nApi = eApi;
            m_strLastError.clear();
            // Starting a client is the slow part: the one that found the back end lists the
            // devices too, for the first GetNumDevs.
            m_bListed = RtMidiSupport::ListPorts(*pOut, m_names);
            break;
        }
        m_strLastError = strError;
    }
}

CRtMidiDriver::~CRtMidiDriver() = default;

std::string CRtMidiDriver::ApiName() const {
    return m_nApi < 0 ? std::string() : RtMidi::getApiName(static_cast<RtMidi::Api>(m_nApi));
}

unsigned CRtMidiDriver::GetNumDevs() {
    if (m_bListed) {
        m_bListed = false;
        return static_cast<unsigned>(m_names.size());
    }
    m_names.clear();
    if (m_nApi < 0)
        return 0;
    CStderrMute mute;
    std::unique_ptr<RtMidiOut> pOut = MakeOut(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pOut)
        return 0;
    RtMidiSupport::ListPorts(*pOut, m_names);
    return static_cast<unsigned>(m_names.size());
}

MMRESULT CRtMidiDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_names[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CRtMidiDriver::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                             void* pInstance) {
    m_strOpenError.clear();
    if (nId >= m_names.size() || m_nApi < 0)
        return MMSYSERR_BADDEVICEID;
    CStderrMute mute;
    std::unique_ptr<RtMidiOut> pOut = MakeOut(static_cast<RtMidi::Api>(m_nApi), m_strLastError);
    if (!pOut) {
        m_strOpenError = "the " + ApiName() + " MIDI system did not answer (" +
                         WithoutFullStop(m_strLastError) + ")";
        return MMSYSERR_ERROR;
    }
    ErrorTrap trap;
    pOut->setErrorCallback(&ErrorTrap::Callback, &trap);
    // Ports come and go after the list was made: open the device by its name, not its place.
    const std::string& strWanted = m_names[nId];
    try {
        const unsigned nCount = pOut->getPortCount();
        unsigned nPort = nCount;
        if (nId < nCount && pOut->getPortName(nId) == strWanted)
            nPort = nId;
        for (unsigned i = 0; i < nCount && nPort == nCount; ++i)
            if (pOut->getPortName(i) == strWanted)
                nPort = i;
        if (nPort == nCount) {
            m_strLastError = "MIDI device \"" + strWanted + "\" is no longer there";
            return MIDIERR_NODEVICE;
        }
        pOut->openPort(nPort, "out");
    } catch (const RtMidiError& e) {
        m_strLastError = e.getMessage();
        m_strOpenError = RefusedText(m_strLastError);
        return MMSYSERR_ERROR;
    } catch (...) {
        return MMSYSERR_ERROR;
    }
    if (trap.bFailed || !pOut->isPortOpen()) {
        // A device another program holds exclusively refuses the connection; the sound
        // system's own words say more than a code could.
        m_strLastError = trap.strText;
        m_strOpenError = RefusedText(trap.strText);
        return MMSYSERR_ALLOCATED;
    }
    std::unique_ptr<CJackWatch> pWatch;
    if (m_nApi == RtMidi::UNIX_JACK)
        pWatch = std::make_unique<CJackWatch>();
    pPort = std::make_unique<CThreadedMidiPort>(
        std::make_unique<CRtMidiSink>(std::move(pOut), std::move(pWatch), strWanted), pProc,
        pInstance);
    return MMSYSERR_NOERROR;
}

std::string CRtMidiDriver::WithoutFullStop(std::string strText) {
    while (!strText.empty() && (strText.back() == '.' || strText.back() == '\n'))
        strText.pop_back();
    return strText;
}

std::string CRtMidiDriver::RefusedText(const std::string& strDriver) const {
    std::string strText = "the device refused the connection; another program may be holding it";
    if (!strDriver.empty())
        strText += " (" + ApiName() + ": " + WithoutFullStop(strDriver) + ")";
    return strText;
}

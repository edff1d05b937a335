#include "CScriptedMidiInDriver.h"

namespace {

class CScriptedInPort : public CMidiInPort {
public:
    explicit CScriptedInPort(std::shared_ptr<CMidiInScript> pScript)
        : m_pScript(std::move(pScript)) {}
    ~CScriptedInPort() override {
        std::lock_guard lock(m_pScript->mutex);
        m_pScript->pProc = nullptr;
        m_pScript->pInstance = nullptr;
    }

private:
    std::shared_ptr<CMidiInScript> m_pScript;
};

} // namespace

bool CMidiInScript::Play(const QByteArray& bytes) {
    std::lock_guard lock(mutex);
    if (!pProc)
        return false;
    pProc(pInstance, EMidiInNotify::Data, reinterpret_cast<const std::uint8_t*>(bytes.data()),
          std::size_t(bytes.size()));
    return true;
}

bool CMidiInScript::Vanish() {
    std::lock_guard lock(mutex);
    if (!pProc)
        return false;
    pProc(pInstance, EMidiInNotify::Gone, nullptr, 0);
    return true;
}

bool CMidiInScript::IsOpen() const {
    std::lock_guard lock(mutex);
    return pProc != nullptr;
}

unsigned CScriptedMidiInDriver::GetNumDevs() {
    m_names = m_pScript->deviceNames;
    return unsigned(m_names.size());
}

MMRESULT CScriptedMidiInDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_names[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CScriptedMidiInDriver::Open(std::unique_ptr<CMidiInPort>& pPort, unsigned nId,
                                     MidiInProc pProc, void* pInstance) {
    if (nId >= m_names.size())
        return MMSYSERR_BADDEVICEID;
    if (m_pScript->nOpenResult != MMSYSERR_NOERROR)
        return m_pScript->nOpenResult;
    {
        std::lock_guard lock(m_pScript->mutex);
        m_pScript->pProc = pProc;
        m_pScript->pInstance = pInstance;
    }
    ++m_pScript->nOpens;
    pPort = std::make_unique<CScriptedInPort>(m_pScript);
    return MMSYSERR_NOERROR;
}

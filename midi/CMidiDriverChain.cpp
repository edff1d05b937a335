#include "CMidiDriverChain.h"

#include "CRtMidiDriver.h"
#include "CSysExFileDriver.h"

void CMidiDriverChain::Append(std::unique_ptr<CMidiOutDriver> pDriver) {
    m_drivers.push_back(std::move(pDriver));
    m_counts.push_back(0);
}

unsigned CMidiDriverChain::GetNumDevs() {
    unsigned nTotal = 0;
    for (std::size_t i = 0; i < m_drivers.size(); ++i) {
        m_counts[i] = m_drivers[i]->GetNumDevs();
        nTotal += m_counts[i];
    }
    return nTotal;
}

CMidiOutDriver* CMidiDriverChain::Find(unsigned nId, unsigned& nLocal) const {
    for (std::size_t i = 0; i < m_drivers.size(); ++i) {
        if (nId < m_counts[i]) {
            nLocal = nId;
            return m_drivers[i].get();
        }
        nId -= m_counts[i];
    }
    return nullptr;
}

MMRESULT CMidiDriverChain::GetDevName(unsigned nId, std::string& strName) {
    unsigned nLocal = 0;
    CMidiOutDriver* pDriver = Find(nId, nLocal);
    return pDriver ? pDriver->GetDevName(nLocal, strName) : MMSYSERR_BADDEVICEID;
}

MMRESULT CMidiDriverChain::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId,
                                MidiOutProc pProc, void* pInstance) {
    unsigned nLocal = 0;
    CMidiOutDriver* pDriver = Find(nId, nLocal);
    m_pLastOpen = pDriver;
    return pDriver ? pDriver->Open(pPort, nLocal, pProc, pInstance) : MMSYSERR_BADDEVICEID;
}

std::string CMidiDriverChain::LastOpenError() const {
    return m_pLastOpen ? m_pLastOpen->LastOpenError() : std::string();
}

std::unique_ptr<CMidiOutDriver> CreateSystemMidiDriver() {
    auto pChain = std::make_unique<CMidiDriverChain>();
    pChain->Append(std::make_unique<CRtMidiDriver>());
    pChain->Append(std::make_unique<CSysExFileDriver>());
    return pChain;
}

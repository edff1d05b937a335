#pragma once

#include "CMidiOutDriver.h"

#include <vector>

// Several drivers shown as one device list: the devices of the first driver, then those of the
// next, and so on. Used to put the "SysEx file" after the system's MIDI outputs.
class CMidiDriverChain : public CMidiOutDriver {
public:
    void Append(std::unique_ptr<CMidiOutDriver> pDriver);

    unsigned GetNumDevs() override;
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                  void* pInstance) override;
    std::string LastOpenError() const override;

private:
    // The driver that lists device nId, and the device's number within that driver.
    CMidiOutDriver* Find(unsigned nId, unsigned& nLocal) const;

    std::vector<std::unique_ptr<CMidiOutDriver>> m_drivers;
    std::vector<unsigned> m_counts;        // as of the last GetNumDevs
    CMidiOutDriver* m_pLastOpen = nullptr; // the driver asked by the last Open
};

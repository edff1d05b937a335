#pragma once

#include "CMidiOutDriver.h"

#include <QString>

// The built-in output "SysEx file": every message given to it is appended unchanged to one file
// in the user's data folder, which each open truncates. It lets the editor work where no MIDI
// hardware exists and shows exactly what would have gone to the module. Like a real port it
// has one user at a time: while it is open, a lock file beside it makes every other open, in
// this process or another, fail with MMSYSERR_ALLOCATED.
class CSysExFileDriver : public CMidiOutDriver {
public:
    // An empty path means the default file in the user's data folder.
    explicit CSysExFileDriver(QString strPath = QString());

    unsigned GetNumDevs() override { return 1; }
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                  void* pInstance) override;
    std::string LastOpenError() const override { return m_strOpenError; }

    QString Path() const { return m_strPath; }
    // The lock file held while the port is open.
    QString LockPath() const;
    static QString DefaultPath();
    static constexpr const char* kDeviceName = "SysEx file";

private:
    QString m_strPath;
    std::string m_strOpenError;
};

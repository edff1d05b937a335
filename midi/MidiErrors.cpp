#include "MidiErrors.h"

namespace MidiErrors {

const char* ReasonText(MMRESULT nResult) {
    switch (nResult) {
    case MMSYSERR_NOERROR:
        return "no error";
    case MMSYSERR_ALLOCATED:
        return "the device is busy: another program is using it";
    case MMSYSERR_BADDEVICEID:
    case MIDIERR_NODEVICE:
    case MMSYSERR_NODRIVER:
        return "the device is no longer there";
    case MMSYSERR_NOMEM:
        return "there is not enough memory";
    case MIDIERR_NOTREADY:
        return "the device is not ready";
    case MIDIERR_STILLPLAYING:
        return "the device is still sending";
    case MMSYSERR_INVALHANDLE:
        return "the port is not open";
    default:
        return "the driver refused it";
    }
}

std::string OpenFailureText(const std::string& strDriver, MMRESULT nResult) {
    return strDriver.empty() ? std::string(ReasonText(nResult)) : strDriver;
}

} // namespace MidiErrors

#pragma once

#include "MidiDefs.h"

#include <string>

// What a result code of the MIDI link means, in words a user can act on ("the device is busy").
namespace MidiErrors {

const char* ReasonText(MMRESULT nResult);
// Why a port could not be opened: the driver's own words when it has some (which program holds
// the port, what the sound system answered), otherwise what the result code means.
std::string OpenFailureText(const std::string& strDriver, MMRESULT nResult);

} // namespace MidiErrors

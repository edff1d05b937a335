#pragma once

#include "MidiDefs.h"

// What a result code of the MIDI link means, in words a user can act on ("the device is busy").
namespace MidiErrors {

const char* ReasonText(MMRESULT nResult);

} // namespace MidiErrors

#pragma once

#include "MsgNumbers.h"

#include <cstdint>

// Result codes and message numbers of the MIDI link. The numeric values are those of the
// platform MIDI API the program was first written against; callers and stored settings rely on
// them, so they are kept even where the platform is a different one.

using MMRESULT = unsigned int;

#ifndef MMSYSERR_NOERROR
inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
inline constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
#endif
#ifndef MIDIERR_UNPREPARED
inline constexpr MMRESULT MIDIERR_UNPREPARED = 64;
inline constexpr MMRESULT MIDIERR_STILLPLAYING = 65;
inline constexpr MMRESULT MIDIERR_NOTREADY = 67;
inline constexpr MMRESULT MIDIERR_NODEVICE = 68;
#endif


// Notifications from CDMidi to its window, and from CMidiWnd on to the main frame.
inline constexpr unsigned WM_MIDIOUT_DONE = WM_USER + 50;
inline constexpr unsigned WM_MIDIOUT_OPEN = WM_USER + 55;
inline constexpr unsigned WM_MIDIOUT_CLOSE = WM_USER + 60;

// Readiness bits of CDMidi::m_nState.
inline constexpr std::uint8_t DMIDI_DEVICE = 1;
inline constexpr std::uint8_t DMIDI_CHANNEL = 2;
inline constexpr std::uint8_t DMIDI_DEVLIST = 4;
inline constexpr std::uint8_t DMIDI_WINDOW = 8;
inline constexpr std::uint8_t DMIDI_READY = 15;

// The value that stands for "none chosen" (device, channel, keys).
inline constexpr unsigned DMIDI_NONE = 256;

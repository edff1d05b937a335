#pragma once

// Where the program's own message numbers start. The value is that of the platform API the
// program was first written against; stored message numbers and callers rely on it.
#ifndef WM_USER
inline constexpr unsigned WM_USER = 0x0400;
#endif

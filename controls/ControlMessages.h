#pragma once

#include "MsgNumbers.h"

#include <QColor>

// Notifications a control sends to its parent: wParam 0, lParam the sending control.
inline constexpr unsigned WM_DLED_CHANGED = WM_USER + 5;
inline constexpr unsigned WM_DPOTI_CHANGED = WM_USER + 10;
inline constexpr unsigned WM_DLCD_CHANGED = WM_USER + 15;
inline constexpr unsigned WM_DFADER_CHANGED = WM_USER + 20;

// The LCD colour of the panel artwork, behind the cells of every LCD.
inline const QColor kLcdBackground{231, 231, 214};
// The grey of the panel artwork around the controls.
inline const QColor kPanelPlate{58, 61, 66};

#pragma once

#include <windows.h>
#include <oleidl.h>

#include <cstdint>

#include "host/input.h"

namespace vantorel::host {

// Mouse buttons (1 left, 2 right, 4 middle) and shift state (1 Shift, 2 Ctrl,
// 4 Alt) from the MK_ flags that mouse messages and drag-and-drop calls carry.
inline std::int16_t ButtonsFromKeyFlags(DWORD flags) {
  std::int16_t b = 0;
  if (flags & MK_LBUTTON) b |= kLeftButton;
  if (flags & MK_RBUTTON) b |= kRightButton;
  if (flags & MK_MBUTTON) b |= kMiddleButton;
  return b;
}

// Only drag and drop sets MK_ALT; in a mouse message that bit is the first
// extra button, so mouse messages pass the Alt key's state instead.
inline std::int16_t ShiftFromKeyFlags(DWORD flags) {
  std::int16_t s = 0;
  if (flags & MK_SHIFT) s |= kShiftMask;
  if (flags & MK_CONTROL) s |= kCtrlMask;
  if (flags & MK_ALT) s |= kAltMask;
  return s;
}

}  // namespace vantorel::host

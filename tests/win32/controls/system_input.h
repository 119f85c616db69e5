#pragma once

// Input as a user makes it: keys and mouse buttons through SendInput and the
// pointer through SetCursorPos, so every message comes out of the system's own
// input queue (key repeat, the moves that follow a press, capture changes)
// rather than being sent straight to a window.
#include <windows.h>

#include "host_support.h"

namespace vantorel::host::test {

inline void SendOne(INPUT in) { SendInput(1, &in, sizeof in); }

inline void KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendOne(in);
}

// MOUSEEVENTF_LEFTDOWN and the like, where the pointer is.
inline void ButtonInput(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendOne(in);
}

// Lets input just sent reach the queue and be handled: the system delivers it
// on its own time, so a few short waits for input, each followed by a drain.
inline void Settle() {
  for (int i = 0; i < 5; ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Drain();
  }
}

// Puts the real pointer on a client point of the window and lets the system
// report the move.
inline void PointerTo(HWND hwnd, int x, int y) {
  PlacePointer(hwnd, x, y);
  Settle();
}

}  // namespace vantorel::host::test

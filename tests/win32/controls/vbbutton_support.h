#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "backing_pixels.h"
#include "host_support.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls::test {

// A vbButton of its design-time size, 1305 x 480 twips (87 x 32 pixels at 96 dpi).
inline HostPlacement VbPlacement(HWND parent, int leftPx = 10, int topPx = 10, int widthPx = 87, int heightPx = 32) {
  HostPlacement p = Placement(parent, leftPx * 15, topPx * 15, widthPx * 15, heightPx * 15);
  p.ambient.displayName = L"vbButton1";
  return p;
}

// Runs the message loop until the condition holds or two seconds pass; for what
// the platform reports on its own time (a pointer's leave). Waits for input at
// most waitMs at a time.
template <class F>
bool PumpUntil(F done, DWORD waitMs = 20) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 2000) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
    Drain();
  }
  return true;
}

// The process's GDI objects. Wine answers GetGuiResources with 0, so there the
// handle table is probed instead: Wine accepts a handle's low word alone (the
// slot) for the object that holds that slot now.
inline DWORD GdiObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  DWORD n = 0;
  for (ULONG_PTR slot = 1; slot < 65536; ++slot) n += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
  return n;
}

}  // namespace vantorel::controls::test

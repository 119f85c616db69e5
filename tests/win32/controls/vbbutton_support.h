#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "backing_pixels.h"
#include "host_support.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls::test {

// A vbButton of its design-time size, 1305 x 480 twips (87 x 32 pixels at 96 dpi).
inline host::HostPlacement VbPlacement(HWND parent, int leftPx = 10, int topPx = 10, int widthPx = 87,
                                       int heightPx = 32) {
  host::HostPlacement p = host::test::Placement(parent, leftPx * 15, topPx * 15, widthPx * 15, heightPx * 15);
  p.ambient.displayName = L"vbButton1";
  return p;
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

#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host_support.h"
#include "vbbutton/vbbutton.h"

namespace vantorel::controls::test {

// A vbButton of its design-time size, 1305 x 480 twips (87 x 32 pixels at 96 dpi).
inline HostPlacement VbPlacement(HWND parent, int leftPx = 10, int topPx = 10, int widthPx = 87, int heightPx = 32) {
  HostPlacement p = Placement(parent, leftPx * 15, topPx * 15, widthPx * 15, heightPx * 15);
  p.ambient.displayName = L"vbButton1";
  return p;
}

inline COLORREF Pixel(vbButton* b, int x, int y) { return DibToColorRef(b->surface().PixelAt(x, y)); }

// How many pixels of the area differ from the colour.
inline int PixelsNotOf(vbButton* b, COLORREF colour, RECT area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += Pixel(b, x, y) != colour;
  return n;
}

// Records every event a vbButton raises, with its arguments.
struct VbEventLog {
  std::vector<std::wstring> log;
  void Attach(vbButton* b) {
    auto mouse = [this](const wchar_t* name) {
      return [this, name](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        log.push_back(std::wstring(name) + L" " + std::to_wstring(button) + L" " + std::to_wstring(shift) + L" " +
                      std::to_wstring(static_cast<int>(x)) + L" " + std::to_wstring(static_cast<int>(y)));
      };
    };
    b->events.MouseDown = mouse(L"MouseDown");
    b->events.MouseUp = mouse(L"MouseUp");
    b->events.Click = [this] { log.push_back(L"Click"); };
    b->events.KeyDown = [this](std::int16_t& k, std::int16_t& s) {
      log.push_back(L"KeyDown " + std::to_wstring(k) + L" " + std::to_wstring(s));
    };
    b->events.KeyUp = [this](std::int16_t& k, std::int16_t& s) {
      log.push_back(L"KeyUp " + std::to_wstring(k) + L" " + std::to_wstring(s));
    };
    b->events.KeyPress = [this](std::int16_t& a) { log.push_back(L"KeyPress " + std::to_wstring(a)); };
    b->events.MouseOver = [this] { log.push_back(L"MouseOver"); };
    b->events.MouseOut = [this] { log.push_back(L"MouseOut"); };
  }
};

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

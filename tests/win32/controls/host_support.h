#pragma once

// What the tests of the host and of both controls share: a stage window at a
// known place on the screen, the message queue drained, placements, pictures
// and icon files made in memory, and the real pointer moved.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "host/gdi_guards.h"
#include "host/hosted_control.h"
#include "host/picture.h"
#include "host/property_bag.h"

namespace vantorel::host::test {

// Runs every message already queued for this thread, so that what a test sent has
// been handled before it asserts.
inline void Drain() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
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

// A visible stage that hosts the controls under test, at a fixed place on the
// screen so that pointer positions are known. The stage is a child of one
// top-level window kept for the whole run: Wine takes seconds to withdraw a
// top-level window when no window manager runs, a child goes at once.
class TestParent {
 public:
  explicit TestParent(int width = 640, int height = 400) {
    HWND top = TopLevel();
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"VantorelTestParent", L"stage",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, top, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetFocus(hwnd_);
    UpdateWindow(hwnd_);
    Drain();
  }
  ~TestParent() {
    DestroyWindow(hwnd_);
    Drain();
  }
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  static HWND TopLevel() {
    static const HWND top = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = L"VantorelTestParent";
      RegisterClassExW(&wc);
      RECT rc{0, 0, 660, 420};
      AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
      HWND h = CreateWindowExW(WS_EX_CONTROLPARENT, L"VantorelTestParent", L"controls under test",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, rc.right - rc.left,
                               rc.bottom - rc.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      ShowWindow(h, SW_SHOW);
      SetForegroundWindow(h);
      UpdateWindow(h);
      Drain();
      return h;
    }();
    return top;
  }

  HWND hwnd_ = nullptr;
};

inline HostPlacement Placement(HWND parent, int leftTwips = 150, int topTwips = 150, int widthTwips = 1335,
                               int heightTwips = 375) {
  HostPlacement p;
  p.parent = parent;
  p.left = leftTwips;
  p.top = topTwips;
  p.width = widthTwips;
  p.height = heightTwips;
  p.ambient.displayName = L"Button1";
  p.ambient.font = FontDesc{L"Tahoma", 8.25, 400, false, false, false, 0};
  return p;
}

// A bitmap picture of one colour (0x00BBGGRR).
inline PictureRef SolidPicture(int w, int h, COLORREF colour) {
  WindowDc screen;
  GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.get(), w, h));
  {
    MemoryDc mem(screen.get());
    ScopedSelect selected(mem.get(), bmp.get());
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    RECT rc{0, 0, w, h};
    FillRect(mem.get(), &rc, brush.get());
  }
  return Picture::FromBitmap(bmp.get());
}

// An icon (type 1) or cursor (type 2) file with one 16 x 16 image of 32 bits per
// pixel in a single colour, opaque except for its first clearColumns columns.
inline std::vector<std::uint8_t> IconFile(int type, std::uint8_t b, std::uint8_t g, std::uint8_t r,
                                          int clearColumns = 0) {
  std::vector<std::uint8_t> f;
  auto put16 = [&](int v) {
    f.push_back(static_cast<std::uint8_t>(v));
    f.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(static_cast<int>(v & 0xFFFF));
    put16(static_cast<int>(v >> 16));
  };
  const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
  put16(0);
  put16(type);
  put16(1);
  f.push_back(16);
  f.push_back(16);
  f.push_back(0);
  f.push_back(0);
  put16(type == 2 ? 3 : 1);  // hot spot x for a cursor, planes for an icon
  put16(type == 2 ? 2 : 32);
  put32(imageSize);
  put32(22);
  put32(40);
  put32(16);
  put32(32);  // colour and mask rows
  put16(1);
  put16(32);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int i = 0; i < 16 * 16; ++i) {
    bool clear = i % 16 < clearColumns;
    f.push_back(clear ? 0 : b);
    f.push_back(clear ? 0 : g);
    f.push_back(clear ? 0 : r);
    f.push_back(clear ? 0 : 0xFF);
  }
  // The AND mask, rows of 32 bits: a set bit leaves the background.
  std::uint32_t row = 0;
  for (int x = 0; x < clearColumns; ++x) row |= 0x80000000u >> x;
  for (int y = 0; y < 16; ++y) {
    f.push_back(static_cast<std::uint8_t>(row >> 24));
    f.push_back(static_cast<std::uint8_t>(row >> 16));
    f.push_back(static_cast<std::uint8_t>(row >> 8));
    f.push_back(static_cast<std::uint8_t>(row));
  }
  return f;
}

// A screen-compatible bitmap to print a window into, with its DC.
struct PrintTarget {
  PrintTarget(int w, int h) : bitmap(CreateCompatibleBitmap(WindowDc().get(), w, h)), selected(dc.get(), bitmap.get()) {}
  HDC get() const { return dc.get(); }
  MemoryDc dc;
  GdiObject<HBITMAP> bitmap;
  ScopedSelect selected;
};

// Puts the real pointer on a client point of the window. The system tells the
// window under it when messages next run.
inline void PlacePointer(HWND hwnd, int x, int y) {
  POINT pt{x, y};
  ClientToScreen(hwnd, &pt);
  SetCursorPos(pt.x, pt.y);
}

// Puts the real pointer on a client point and runs what the move brings.
inline void PointerAt(HWND hwnd, int x, int y) {
  PlacePointer(hwnd, x, y);
  Drain();
}

// A screen point over nothing of ours: the stage's bottom-right area.
inline void PointerAway(HWND stage) { PointerAt(stage, 600, 380); }

// Moves the real pointer to a point of the control's client area and tells the
// control, as the platform does after a pointer movement.
inline void MovePointer(HWND control, int x, int y) {
  PointerAt(control, x, y);
  SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  Drain();
}

}  // namespace vantorel::host::test

#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "button/button.h"
#include "host/gdi_guards.h"
#include "host/property_bag.h"

namespace vantorel::controls::test {

// Runs every message already queued for this thread, so that what a test sent has
// been handled before it asserts.
inline void Drain() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
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

// The stored values of the main window's buttons, as its form data holds them
// (keys in lower case), for a button 89 x 25 pixels.
inline PropertyBag MainWindowBag(const std::wstring& caption = L"Replace") {
  std::wstring text =
      L"_extentx = i32 2355\n"
      L"_extenty = i32 661\n"
      L"buttonstyle = i32 7\n"
      L"buttontheme = i32 1\n"
      L"backcolor = i32 0x00F1B39A\n"
      L"backcolorpressed = i32 0x00FAE6DD\n"
      L"backcolorhover = i32 0x00FDF7F4\n"
      L"bordercolor = i32 0x008F8F8E\n"
      L"bordercolorpressed = i32 0x005C411D\n"
      L"bordercolorhover = i32 0x00B17F3C\n"
      L"caption = str \"" + caption + L"\"\n"
      L"font = font \"Tahoma\" 8.25 700 0 0 0 0\n";
  std::wstring error;
  return *BagFromText(text, &error);
}

// Pixel of the backing image as a COLORREF (0x00BBGGRR).
inline COLORREF Pixel(Button* b, int x, int y) { return DibToColorRef(b->surface().PixelAt(x, y)); }

// The smallest rectangle (inclusive) holding every pixel of the given colour inside
// the area; empty (right < left) when there is none.
struct Bounds {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool empty() const { return right < left; }
};
inline Bounds ColourBounds(Button* b, COLORREF colour, RECT area) {
  Bounds r;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Pixel(b, x, y) == colour) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
  return r;
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

// FNV-1a over the size and the colour of every pixel of the backing image.
inline std::uint32_t ImageHash(Button* b) {
  Surface& s = b->surface();
  std::uint32_t h = 2166136261u;
  auto mix = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 16777619u;
    }
  };
  mix(static_cast<std::uint32_t>(s.ScaleWidth()));
  mix(static_cast<std::uint32_t>(s.ScaleHeight()));
  const std::uint32_t* px = s.Pixels();
  for (int i = 0; i < s.ScaleWidth() * s.ScaleHeight(); ++i) mix(px[i] & 0x00FFFFFFu);
  return h;
}

// Moves the real pointer to a point of the control's client area and tells the
// control, as the platform does after a pointer movement.
inline void MovePointer(HWND control, int x, int y) {
  POINT pt{x, y};
  ClientToScreen(control, &pt);
  SetCursorPos(pt.x, pt.y);
  Drain();
  SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  Drain();
}

}  // namespace vantorel::controls::test

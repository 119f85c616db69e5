#pragma once

// The window both galleries show their controls in, and the loop that runs it:
// a top-level window of a given client size whose labels the gallery paints,
// live controls (access keys, Tab and the arrow keys work as in use), and an end
// after the number of seconds its command line names (none: when it is closed).
#include <windows.h>

#include <cwchar>
#include <functional>

#include "host/gdi_guards.h"
#include "host/hosted_control.h"
#include "host_support.h"

namespace vantorel::host::test {

struct GalleryWindow {
  const wchar_t* className;
  const wchar_t* title;
  SIZE client;  // pixels
  HBRUSH background;
  // Draws the labels, transparent, in the default GUI font.
  void (*paintLabels)(HDC);
};

// A control of the gallery at (x, y), w x h pixels.
inline HostPlacement GalleryPlacement(HWND parent, int x, int y, int w, int h, const wchar_t* displayName) {
  HostPlacement p = Placement(parent, x * 15, y * 15, w * 15, h * 15);
  p.ambient.displayName = displayName;
  return p;
}

inline LRESULT CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_TIMER: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_PAINT: {
      const auto* gallery = reinterpret_cast<const GalleryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      {
        SetBkMode(dc, TRANSPARENT);
        ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
        gallery->paintLabels(dc);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// The window, not shown yet, so that every control is made before the first
// picture of it. The description must outlive the window.
inline HWND MakeGalleryWindow(const GalleryWindow& gallery, HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = gallery.background;
  wc.lpszClassName = gallery.className;
  RegisterClassExW(&wc);
  RECT rc{0, 0, gallery.client.cx, gallery.client.cy};
  AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExW(WS_EX_CONTROLPARENT, gallery.className, gallery.title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         0, 0, rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, instance,
                         const_cast<GalleryWindow*>(&gallery));
}

// Shows the window, lets the gallery set the scene (focus, pointer), and runs
// the loop until the window is closed.
inline int RunGallery(HWND win, PWSTR args, const std::function<void()>& whenShown = {}) {
  ShowWindow(win, SW_SHOW);
  UpdateWindow(win);
  if (whenShown) whenShown();
  int seconds = args && *args ? _wtoi(args) : 0;
  if (seconds > 0) SetTimer(win, 1, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (TranslateAccessKey(m) || IsDialogMessageW(win, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}

}  // namespace vantorel::host::test

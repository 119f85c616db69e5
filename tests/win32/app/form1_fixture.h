#pragma once

// The window tests' fixture: one shared Form1, and what the tests read of it
// (where a control sits, its font, a pixel on screen) or do to it (Tab).
#include <gtest/gtest.h>
#include <windows.h>

#include "app_test_support.h"
#include "button/button.h"

namespace vantorel::app::test {

class Form1Test : public SharedFormTest {
 protected:
  RECT ClientRectOf(Form1Control id) {
    RECT r{};
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, form().hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  LOGFONTW FontOf(Form1Control id) {
    LOGFONTW lf{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(Control(id), WM_GETFONT, 0, 0));
    if (controls::Button* button = controls::Button::FromHwnd(Control(id)))
      font = button->Font()->Handle(form().PixelsPerInch().y);
    EXPECT_NE(font, nullptr);
    GetObjectW(font, sizeof lf, &lf);
    return lf;
  }

  // A pixel of the window as it is on screen, in client coordinates.
  COLORREF PixelAt(POINT at) {
    RedrawWindow(form().hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC dc = GetDC(form().hwnd());
    COLORREF pixel = GetPixel(dc, at.x, at.y);
    ReleaseDC(form().hwnd(), dc);
    return pixel;
  }

  void PressTab() {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(GetFocus(), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001u));
    Drain();
  }
};

}  // namespace vantorel::app::test

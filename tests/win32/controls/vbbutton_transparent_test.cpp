// vbButton's type 11, transparent: it captures what its parent shows behind it,
// printed by the parent where it can print itself and copied from the screen
// where it cannot, without running the message loop meanwhile.
#include <gtest/gtest.h>

#include "vbbutton_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::TestParent;
using test::VbPlacement;

// A parent that paints stripes when asked to print itself, as a window that
// draws a picture behind its controls would.
LRESULT CALLBACK StripedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto stripes = [](HDC dc) {
    for (int x = 0; x < 400; x += 10) {
      RECT r{x, 0, x + 5, 300};
      HBRUSH brush = CreateSolidBrush(RGB(200, 30, 40));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
    }
  };
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r{0, 0, 400, 300};
      HBRUSH brush = CreateSolidBrush(RGB(20, 200, 60));
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_PRINTCLIENT: stripes(reinterpret_cast<HDC>(wp)); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      stripes(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HWND StripedParent(HWND stage) {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StripedProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VbStriped";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  return CreateWindowExW(0, L"VbStriped", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, stage,
                         nullptr, nullptr, nullptr);
}

TEST(VbButtonTransparent, CapturesWhatTheParentPrintsWithoutRunningMessages) {
  host::test::TestParent stage;
  HWND striped = StripedParent(stage.hwnd());
  host::test::Drain();
  vbButton* b = vbButton::Create(VbPlacement(striped, 13, 20));
  b->SetCaption(L"");
  // A message waiting in the queue must still be waiting after the capture.
  PostMessageW(stage.hwnd(), WM_APP + 7, 0, 0);
  b->SetButtonType(11);
  MSG m;
  EXPECT_TRUE(PeekMessageW(&m, stage.hwnd(), WM_APP + 7, WM_APP + 7, PM_NOREMOVE)) << "no messages were pumped";
  host::test::Drain();
  ASSERT_TRUE(b->CaptureDc());
  // The control stands at x = 13 in the parent: its pixel x is the parent's x + 13.
  for (int x = 0; x < 30; ++x) {
    bool stripe = (x + 13) % 10 < 5;
    EXPECT_EQ(host::test::Pixel(b, x, 16), stripe ? RGB(200, 30, 40) : RGB(20, 200, 60)) << x;
  }
  DestroyWindow(striped);
}

// A parent that draws only when it paints: it cannot print itself.
LRESULT CALLBACK PaintOnlyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(RGB(90, 10, 160));
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

TEST(VbButtonTransparent, ParentThatCannotPrintIsCopiedFromWhatItShows) {
  host::test::TestParent stage;
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintOnlyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VbPaintOnly";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  HWND plain = CreateWindowExW(0, L"VbPaintOnly", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                               stage.hwnd(), nullptr, nullptr, nullptr);
  UpdateWindow(plain);
  host::test::Drain();
  vbButton* b = vbButton::Create(VbPlacement(plain, 13, 20));
  b->SetCaption(L"");
  b->SetButtonType(11);
  host::test::Drain();
  EXPECT_EQ(host::test::Pixel(b, 5, 16), RGB(90, 10, 160));
  RECT rc;
  GetClientRect(b->hwnd(), &rc);
  EXPECT_EQ(rc.bottom, 32) << "the control's height is put back";
  DestroyWindow(plain);
}

}  // namespace
}  // namespace vantorel::controls::test

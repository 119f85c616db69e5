// Hover and press looks end when the focus, the mouse capture or the enabled
// state is taken away from outside: a message box from Click, another window
// taking the capture, Tab in the middle of a Space press, EnableWindow.
#include <gtest/gtest.h>

#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::MovePointer;
using host::test::Pixel;
using host::test::Placement;
using host::test::PointerAt;
using host::test::TestParent;
using test::MainButton;

// The main window's colours (stored values) and style-7 fill colours at row 12
// of a 25-pixel face, where the second fill starts with the state colour.
constexpr COLORREF kAtRest = 0xF1B39A;
constexpr COLORREF kHover = 0xFDF7F4;
constexpr COLORREF kPressed = 0xFAE6DD;
constexpr COLORREF kDisabled = 0xF0F0F0;
// The outline (column 0) by state: style 7's border colours.
constexpr COLORREF kBorderAtRest = 0x8F8F8E;
constexpr COLORREF kBorderHover = 0xB17F3C;

void ExpectAtRest(Button* b) {
  EXPECT_NE(b->Hover(), HoverState::True);
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kAtRest) << std::hex << host::test::Pixel(b, 10, 12);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), kBorderAtRest) << std::hex << host::test::Pixel(b, 0, 12);
}

TEST(ButtonLostState, AnotherWindowTakingTheCaptureEndsTheHover) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  host::test::MovePointer(b->hwnd(), 10, 10);
  ASSERT_TRUE(b->Hovering());
  ASSERT_EQ(host::test::Pixel(b, 10, 12), kHover);
  SetCapture(parent.hwnd());
  host::test::Drain();
  ExpectAtRest(b);
  ReleaseCapture();
  // Coming back is noticed again.
  host::test::MovePointer(b->hwnd(), 12, 10);
  EXPECT_TRUE(b->Hovering());
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kHover);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), kBorderHover);
  ReleaseCapture();
}

// A real message box shown from Click, answered by a timer while it runs.
UINT_PTR gBoxTimer = 0;
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowW(L"#32770", L"stale hover");
  if (!box) return;
  KillTimer(nullptr, gBoxTimer);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(ButtonLostState, AMessageBoxShownFromClickLeavesNoHoverBehind) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  HWND h = b->hwnd();
  int clicks = 0;
  b->events.Click = [&] {
    ++clicks;
    gBoxTimer = SetTimer(nullptr, 0, 20, &AnswerTheBox);
    MessageBoxW(GetAncestor(h, GA_ROOT), L"Error: Change Icon Failed.", L"stale hover", MB_OK);
  };
  host::test::MovePointer(h, 10, 10);
  ASSERT_TRUE(b->Hovering());
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::Drain();
  ASSERT_EQ(clicks, 1);
  // The box took the capture; the pointer now rests elsewhere in the window, so
  // no movement over the button will come to tell it.
  host::test::PointerAt(h, 200, 10);
  ExpectAtRest(b);
  // Back over the button, it lights up again.
  host::test::MovePointer(h, 10, 10);
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kHover);
  ReleaseCapture();
}

TEST(ButtonLostState, DisablingAHoveredButtonEndsTheHover) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  host::test::MovePointer(b->hwnd(), 10, 10);
  ASSERT_TRUE(b->Hovering());
  b->SetEnabled(false);
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kDisabled) << "disabled, not hovered";
  host::test::PointerAt(b->hwnd(), 200, 10);
  b->SetEnabled(true);
  ExpectAtRest(b);
}

TEST(ButtonLostState, TabBetweenSpaceDownAndUpLeavesNoButtonPressed) {
  host::test::TestParent parent;
  Button* a = MainButton(parent, L"First", 150);
  Button* b = MainButton(parent, L"Second", 3000);
  int clicks = 0;
  a->events.Click = b->events.Click = [&] { ++clicks; };
  SetFocus(a->hwnd());
  host::test::Drain();
  // Real keys, through the dialog manager, as the window's message loop does.
  auto key = [&](HWND target, UINT message, WPARAM k) {
    MSG m{target, message, k, 0, GetTickCount(), {}};
    if (!IsDialogMessageW(parent.hwnd(), &m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    host::test::Drain();
  };
  key(a->hwnd(), WM_KEYDOWN, VK_SPACE);
  ASSERT_TRUE(a->Pressed());
  key(a->hwnd(), WM_KEYDOWN, VK_TAB);
  ASSERT_EQ(GetFocus(), b->hwnd());
  key(b->hwnd(), WM_KEYUP, VK_SPACE);
  ExpectAtRest(a);
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(clicks, 0);
}

TEST(ButtonLostState, APressWhoseCaptureIsTakenNeitherStaysPressedNorClicks) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  int clicks = 0;
  b->events.Click = [&] { ++clicks; };
  HWND h = b->hwnd();
  host::test::PointerAt(h, 10, 10);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_EQ(host::test::Pixel(b, 10, 12), kPressed);
  SetCapture(parent.hwnd());
  host::test::Drain();
  EXPECT_FALSE(b->Pressed());
  EXPECT_NE(host::test::Pixel(b, 10, 12), kPressed);
  ReleaseCapture();
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(clicks, 0);
  ReleaseCapture();
}

TEST(ButtonLostState, EnableWindowCalledDirectlyIsFollowedByTheLookAndTheProperty) {
  host::test::TestParent parent;
  std::vector<std::wstring> changed;
  host::PropertyBag bag = test::MainWindowBag();
  host::HostPlacement p = host::test::Placement(parent.hwnd());
  p.onPropertyChanged = [&](std::wstring_view key) { changed.emplace_back(key); };
  Button* b = Button::Create(p, &bag);
  host::test::Drain();
  changed.clear();
  EnableWindow(b->hwnd(), FALSE);
  EXPECT_FALSE(b->Enabled());
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kDisabled);
  EXPECT_EQ(b->BorderColor(), 0xB5B2ADu) << "style 7's disabled border";
  EXPECT_EQ(changed, (std::vector<std::wstring>{L"Enabled"}));
  EnableWindow(b->hwnd(), TRUE);
  EXPECT_EQ(host::test::Pixel(b, 10, 12), kAtRest);
  EXPECT_EQ(b->BorderColor(), kBorderAtRest);
  // Through the property: one notification, not one more from the window.
  changed.clear();
  b->SetEnabled(false);
  EXPECT_EQ(changed, (std::vector<std::wstring>{L"Enabled"}));
}

}  // namespace
}  // namespace vantorel::controls::test

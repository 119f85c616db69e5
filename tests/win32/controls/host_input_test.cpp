// The host's translation of window messages into notifications: life requests,
// the mouse, the keys, focus moves through the dialog manager and access keys.
#include <gtest/gtest.h>

#include <functional>

#include "host_probe.h"
#include "system_input.h"

namespace vantorel::host::test {
namespace {

using test::Drain;
using test::Probe;
using test::TestParent;

using Log = std::vector<std::wstring>;

TEST(HostInput, LifeRequestsComeInOrder) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  ASSERT_TRUE(p);
  EXPECT_EQ(p->log, (Log{L"InitNew", L"Show"}));
  p->log.clear();
  SetWindowPos(p->Hwnd(), nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(p->log, (Log{L"Resize"}));
  EXPECT_EQ(p->surface().ScaleWidth(), 50);
  EXPECT_EQ(p->surface().ScaleHeight(), 40);
  PropertyBag bag;
  bag.Write(L"_extentx", std::int32_t{2355});
  bag.Write(L"_extenty", std::int32_t{661});
  Probe* q = Probe::Make(parent.hwnd(), &bag);
  EXPECT_EQ(q->log, (Log{L"ReadProperties", L"Show"}));
  EXPECT_EQ(q->surface().ScaleWidth(), 89);
  EXPECT_EQ(q->surface().ScaleHeight(), 25);
  EXPECT_EQ(q->ExtenderLeft(), 300);
  EXPECT_EQ(q->ExtenderTop(), 300);
  PropertyBag saved;
  q->Save(saved);
  EXPECT_EQ(saved.Entries()[0].first, L"_extentx");
  EXPECT_EQ(saved.ReadInt32(L"_extentx", 0), 2355);
  EXPECT_EQ(saved.ReadInt32(L"_extenty", 0), 661);
  p->SetAmbient(Ambient{false, L"Probe1", FontDesc{}, true}, L"UserMode");
  EXPECT_EQ(p->log.back(), L"AmbientChanged UserMode");
  EXPECT_FALSE(p->ambient().userMode);
}

TEST(HostInput, MouseMessagesBecomeDownUpClickAndDoubleClickInOrder) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  HWND h = p->Hwnd();
  Drain();
  p->log.clear();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
  SendMessageW(h, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(5, 6));
  // The right button presses and releases, but only the left one clicks.
  SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
  SendMessageW(h, WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(1, 2));
  SendMessageW(h, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(0, 0));
  // Released outside the control: no click.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(89, 6));
  Drain();
  EXPECT_EQ(p->log, (Log{
                        L"GotFocus",
                        L"MouseDown 1 0 75 90",
                        L"MouseUp 1 0 75 90",
                        L"Click",
                        L"DblClick",
                        L"MouseUp 1 1 75 90",
                        L"MouseDown 2 2 15 30",
                        L"MouseUp 2 2 15 30",
                        L"MouseMove 4 0 0 0",
                        L"MouseDown 1 0 75 90",
                        L"MouseUp 1 0 1335 90",
                    }));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(HostInput, ReleaseAfterLosingTheCaptureDoesNotClick) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  HWND h = p->Hwnd();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  ReleaseCapture();
  Drain();
  p->log.clear();
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  EXPECT_EQ(p->log, (Log{L"MouseUp 1 0 75 90"}));
}

TEST(HostInput, KeysCarryCodeAndShiftState) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  HWND h = p->Hwnd();
  SetFocus(h);
  Drain();
  p->log.clear();
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE saved[256];
  std::copy(std::begin(keys), std::end(keys), saved);
  keys[VK_SHIFT] = keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(h, WM_KEYDOWN, 'A', 0);
  SendMessageW(h, WM_CHAR, 'A', 0);
  SendMessageW(h, WM_KEYUP, 'A', 0);
  keys[VK_SHIFT] = keys[VK_MENU] = 0;
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  SetKeyboardState(saved);
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(p->log, (Log{L"KeyDown 65 5", L"KeyPress 65", L"KeyUp 65 5", L"KeyDown 32 2", L"KeyUp 32 0"}));
}

TEST(HostInput, TabMovesFocusAndEnterReachesTheControlThroughTheDialogManager) {
  TestParent parent;
  Probe* a = Probe::Make(parent.hwnd());
  Probe* b = Probe::Make(parent.hwnd());
  SetFocus(a->Hwnd());
  Drain();
  a->log.clear();
  b->log.clear();
  MSG tab{a->Hwnd(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(parent.hwnd(), &tab));
  Drain();
  EXPECT_EQ(GetFocus(), b->Hwnd());
  EXPECT_EQ(a->log, (Log{L"LostFocus"}));
  MSG enter{b->Hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  IsDialogMessageW(parent.hwnd(), &enter);
  MSG space{b->Hwnd(), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
  IsDialogMessageW(parent.hwnd(), &space);
  Drain();
  // The dialog manager translates what it passes on, so the characters follow.
  EXPECT_EQ(b->log, (Log{L"GotFocus", L"KeyDown 13 0", L"KeyDown 32 0", L"KeyPress 13", L"KeyPress 32"}));
}

TEST(HostInput, AccessKeysReachTheirControl) {
  TestParent parent;
  Probe* a = Probe::Make(parent.hwnd());
  Probe* b = Probe::Make(parent.hwnd());
  b->SetAccessKeys(L"R");
  a->log.clear();
  b->log.clear();
  MSG alt{a->Hwnd(), WM_SYSCHAR, 'r', 0, 0, {}};
  EXPECT_TRUE(TranslateAccessKey(alt));
  MSG other{a->Hwnd(), WM_SYSCHAR, 'x', 0, 0, {}};
  EXPECT_FALSE(TranslateAccessKey(other));
  EXPECT_TRUE(a->log.empty());
  EXPECT_EQ(b->log, (Log{L"AccessKey 114"}));
}

TEST(HostInput, TheHoverWatchAsksOnEveryWayThePointerCanLeave) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  ASSERT_TRUE(p);
  HWND h = p->Hwnd();
  // Moving, hiding and disabling the window are told at once; the pointer's own
  // leave comes when the platform reports it, or at the next timer check.
  struct Case {
    const char* what;
    bool atOnce;
    std::function<void()> act;
    std::function<void()> undo;
  } cases[] = {
      {"pointer gone", false, [&] { test::PointerAway(parent.hwnd()); }, [] {}},
      {"moved away", true, [&] { SetWindowPos(h, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       [&] { SetWindowPos(h, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
      {"hidden", true, [&] { ShowWindow(h, SW_HIDE); }, [&] { ShowWindow(h, SW_SHOWNA); }},
      {"disabled", true, [&] { EnableWindow(h, FALSE); }, [&] { EnableWindow(h, TRUE); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::PointerAt(h, 10, 10);
    p->WatchHoverNow();
    test::Settle();
    p->log.clear();
    EXPECT_TRUE(p->WatchingHover());
    c.act();
    if (c.atOnce)
      Drain();
    else
      EXPECT_TRUE(test::PumpUntil([&] { return !p->log.empty(); }));
    EXPECT_EQ(p->log, (Log{L"HoverEnded"}));
    EXPECT_FALSE(p->WatchingHover());
    c.undo();
    Drain();
    // Not watched: the same leave asks nothing.
    test::PointerAt(h, 10, 10);
    test::Settle();
    p->log.clear();
    c.act();
    test::Settle();
    EXPECT_TRUE(p->log.empty());
    c.undo();
    Drain();
  }
}

}  // namespace
}  // namespace vantorel::host::test

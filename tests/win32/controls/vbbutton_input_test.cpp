// vbButton's interaction: recorded event sequences against expected tables, the
// looks it asks for, hover tracking and focus moves.
#include <gtest/gtest.h>

#include "event_log.h"
#include "vbbutton_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::EventLog;
using host::test::MouseMoves;
using host::test::MovePointer;
using host::test::PointerAway;
using host::test::PumpUntil;
using host::test::TestParent;
using test::VbPlacement;
using Log = std::vector<std::wstring>;

vbButton* Make(host::test::TestParent& parent, host::test::EventLog& ev, int left = 10) {
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd(), left));
  ev.Attach(b, host::test::MouseMoves::kLeftOut);
  host::test::Drain();
  return b;
}

void Down(HWND h, int x = 5, int y = 5) { SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void Up(HWND h, int x = 5, int y = 5) { SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void Click(HWND h) {
  Down(h);
  Up(h);
}
MSG SysChar(HWND hwnd, wchar_t c) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = WM_SYSCHAR;
  m.wParam = c;
  return m;
}

// Moves the real pointer to a client point and tells the control, with buttons held.
void DragTo(HWND h, int x, int y) {
  host::test::PlacePointer(h, x, y);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

TEST(VbButtonEvents, PressReleaseClick) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  Down(b->hwnd());
  EXPECT_EQ(b->LastLook(), vb::kLookPressed);
  Up(b->hwnd());
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  EXPECT_EQ(ev.log, (Log{L"MouseDown 1 0 5 5", L"MouseUp 1 0 5 5", L"Click"})) << "positions in pixels";
}

TEST(VbButtonEvents, DragOffAndBackThenReleaseOutsideDoesNotClick) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  host::test::MovePointer(h, 5, 5);
  Down(h);
  DragTo(h, 150, 10);
  EXPECT_EQ(b->LastLook(), vb::kLookNormal) << "released while outside";
  DragTo(h, 20, 10);
  EXPECT_EQ(b->LastLook(), vb::kLookPressed) << "pressed again inside";
  DragTo(h, 150, 10);
  Up(h, 150, 10);
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), L"Click"), 0);
  host::test::PointerAway(parent.hwnd());
}

TEST(VbButtonEvents, RightButtonNeitherPressesNorClicks) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  SetFocus(b->hwnd());  // a press takes the focus, which redraws
  std::uint32_t draws = b->DrawCount();
  SendMessageW(b->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  SendMessageW(b->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(b->DrawCount(), draws) << "no pressed look was drawn";
  EXPECT_EQ(ev.log, (Log{L"MouseDown 2 0 5 5", L"MouseUp 2 0 5 5"}));
}

TEST(VbButtonEvents, DoubleClickActsAsAPressAtTheOrigin) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  Click(h);
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(b->LastLook(), vb::kLookPressed);
  EXPECT_EQ(GetCapture(), h);
  Up(h);
  EXPECT_EQ(ev.log, (Log{L"MouseDown 1 0 5 5", L"MouseUp 1 0 5 5", L"Click", L"MouseDown 1 0 0 0",
                         L"MouseUp 1 0 5 5"}));
  EXPECT_NE(GetCapture(), h);
}

TEST(VbButtonEvents, SpaceBarPressesAndClicksOnRelease) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  SetFocus(h);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(b->LastLook(), vb::kLookPressed);
  SendMessageW(h, WM_CHAR, ' ', 0);
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);  // a second release without a press
  SendMessageW(h, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(h, WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(ev.log, (Log{L"KeyDown 32 0", L"KeyPress 32", L"KeyUp 32 0", L"Click", L"KeyUp 32 0", L"KeyDown 13 0",
                         L"KeyUp 13 0"}))
      << "Enter has no meaning of its own";
}

TEST(VbButtonEvents, AccessKeyClicks) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  b->SetCaption(L"&Go");
  MSG m = SysChar(parent.hwnd(), 'g');
  EXPECT_TRUE(host::TranslateAccessKey(m));
  MSG other = SysChar(parent.hwnd(), 'x');
  EXPECT_FALSE(host::TranslateAccessKey(other));
  EXPECT_EQ(ev.log, (Log{L"Click"}));
}

TEST(VbButtonEvents, DisabledControlDoesNotClick) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  b->SetEnabled(false);
  Click(b->hwnd());
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), L"Click"), 0);
}

TEST(VbButtonEvents, CheckBoxModeTogglesByMouseSpaceAndAccessKey) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  b->SetCaption(L"&Check");
  b->SetCheckBoxBehaviour(true);
  Click(h);
  EXPECT_TRUE(b->Value());
  EXPECT_EQ(b->LastLook(), vb::kLookPressed) << "stays pressed while Value is true";
  b->Draw(vb::kLookNormal, true);
  EXPECT_EQ(b->LastLook(), vb::kLookPressed);
  SetFocus(h);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(b->Value());
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  MSG m = SysChar(parent.hwnd(), 'c');
  host::TranslateAccessKey(m);
  EXPECT_TRUE(b->Value());
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), L"Click"), 3);
}

TEST(VbButtonEvents, HandlersChangeWhatTheControlDoesNext) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  vbButton* next = Make(parent, ev, 120);
  HWND h = b->hwnd();
  // A MouseDown handler that makes the press a right-button one: no pressed look,
  // and the click that follows is not a left click.
  b->events.MouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) { button = host::kRightButton; };
  Click(h);
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), L"Click"), 0);
  // A KeyDown handler that turns a letter into the right arrow moves the focus.
  b->events.KeyDown = [](std::int16_t& key, std::int16_t&) { key = VK_RIGHT; };
  SetFocus(h);
  SendMessageW(h, WM_KEYDOWN, 'A', 0);
  host::test::Drain();
  EXPECT_EQ(GetFocus(), next->hwnd());
}

TEST(VbButtonHover, MouseOverOnceAndMouseOutOnce) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  host::test::PointerAway(parent.hwnd());
  host::test::MovePointer(h, 10, 10);
  EXPECT_TRUE(b->Hot());
  host::test::MovePointer(h, 20, 12);
  host::test::MovePointer(h, 30, 14);
  // A press and release inside is not a new visit.
  Click(h);
  host::test::MovePointer(h, 31, 14);
  EXPECT_EQ(ev.log, (Log{L"MouseOver", L"MouseDown 1 0 5 5", L"MouseUp 1 0 5 5", L"Click"}));
  ev.log.clear();
  host::test::PointerAway(parent.hwnd());
  EXPECT_TRUE(host::test::PumpUntil([&] { return !ev.log.empty(); })) << "the platform reports the leave";
  host::test::Drain();
  EXPECT_EQ(ev.log, (Log{L"MouseOut"}));
  EXPECT_FALSE(b->Hot());
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
}

TEST(VbButtonHover, LeavesWithoutAPointerMoveAreNotMissed) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  HWND h = b->hwnd();
  struct Case {
    const wchar_t* what;
    std::function<void()> act;
    std::function<void()> undo;
  } cases[] = {
      {L"moved away", [&] { SetWindowPos(h, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       [&] { SetWindowPos(h, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }},
      {L"hidden", [&] { ShowWindow(h, SW_HIDE); }, [&] { ShowWindow(h, SW_SHOWNA); }},
      {L"disabled", [&] { b->SetEnabled(false); }, [&] { b->SetEnabled(true); }},
  };
  for (const Case& c : cases) {
    host::test::PointerAway(parent.hwnd());
    host::test::MovePointer(h, 10, 10);
    ASSERT_TRUE(b->Hot()) << c.what;
    ev.log.clear();
    c.act();
    host::test::Drain();
    EXPECT_EQ(ev.log, (Log{L"MouseOut"})) << c.what << ": at once, no poll needed";
    EXPECT_FALSE(b->Hot()) << c.what;
    c.undo();
    host::test::Drain();
  }
  // Covered by another window (one that takes hits: a static would let them
  // through): the platform's leave or the slow check ends it, once.
  host::test::PointerAway(parent.hwnd());
  host::test::MovePointer(h, 10, 10);
  ev.log.clear();
  RECT rc;
  GetWindowRect(h, &rc);
  HWND cover = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"VantorelTestParent", L"", WS_POPUP | WS_VISIBLE, rc.left,
                               rc.top, 200, 100, parent.hwnd(), nullptr, nullptr, nullptr);
  EXPECT_TRUE(host::test::PumpUntil([&] { return !ev.log.empty(); }));
  host::test::PumpUntil([] { return false; });  // nothing more may come
  EXPECT_EQ(ev.log, (Log{L"MouseOut"}));
  DestroyWindow(cover);
  host::test::PointerAway(parent.hwnd());
}

TEST(VbButtonFocus, FocusMakesHotOnlyWithShowFocusRect) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  host::test::PointerAway(parent.hwnd());
  SetFocus(b->hwnd());
  EXPECT_TRUE(b->HasFocus());
  EXPECT_TRUE(b->Hot());
  SetFocus(parent.hwnd());
  EXPECT_FALSE(b->Hot());
  b->SetShowFocusRect(false);
  SetFocus(b->hwnd());
  EXPECT_TRUE(b->HasFocus());
  EXPECT_FALSE(b->Hot());
  EXPECT_TRUE(ev.log.empty()) << "focus raises no MouseOver";
}

TEST(VbButtonFocus, LosingFocusMidPressEndsThePress) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  SetFocus(b->hwnd());
  SendMessageW(b->hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(b->LastLook(), vb::kLookPressed);
  SetFocus(parent.hwnd());
  EXPECT_EQ(b->LastLook(), vb::kLookNormal);
  SetFocus(b->hwnd());
  SendMessageW(b->hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), L"Click"), 0) << "the press went with the focus";
}

TEST(VbButtonFocus, ArrowKeysMoveTheFocusDirectly) {
  host::test::TestParent parent;
  host::test::EventLog ev[3];
  vbButton* b[3];
  for (int i = 0; i < 3; ++i) b[i] = Make(parent, ev[i], 10 + 100 * i);
  struct Step {
    WPARAM key;
    int expected;
  } steps[] = {{VK_LEFT, 0}, {VK_RIGHT, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_UP, 0}, {VK_LEFT, 2}};
  SetFocus(b[1]->hwnd());
  for (const Step& s : steps) {
    HWND from = GetFocus();
    SendMessageW(from, WM_KEYDOWN, s.key, 0);
    // Nothing is queued: the focus has moved before the key-down returns.
    EXPECT_EQ(GetFocus(), b[s.expected]->hwnd()) << "key " << s.key;
    SendMessageW(GetFocus(), WM_KEYUP, s.key, 0);
    host::test::Drain();
  }
  // No Tab keystroke was made up on the way: each control saw only its arrows.
  EXPECT_EQ(ev[1].log, (Log{L"KeyDown 37 0", L"KeyUp 39 0", L"KeyDown 40 0", L"KeyUp 38 0", L"KeyDown 38 0"}));
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(VbButtonFocus, ArrowKeysInADialogGoThroughTheDialogManager) {
  host::test::TestParent parent;
  // An empty dialog template: the dialog's own class, the dialog manager's keys.
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl{{WS_POPUP | WS_VISIBLE | DS_MODALFRAME, WS_EX_CONTROLPARENT, 0, 40, 300, 200, 60}, 0, 0, 0};
  HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, parent.hwnd(),
                                        &EmptyDialogProc, 0);
  ASSERT_TRUE(dlg);
  host::test::EventLog ev[2];
  vbButton* b[2];
  for (int i = 0; i < 2; ++i) {
    b[i] = vbButton::Create(VbPlacement(dlg, 10 + 100 * i));
    ev[i].Attach(b[i], host::test::MouseMoves::kLeftOut);
  }
  host::test::Drain();
  SetFocus(b[0]->hwnd());
  MSG m{};
  m.hwnd = b[0]->hwnd();
  m.message = WM_KEYDOWN;
  m.wParam = VK_RIGHT;
  EXPECT_TRUE(IsDialogMessageW(dlg, &m));
  host::test::Drain();
  EXPECT_EQ(ev[0].log, (Log{L"KeyDown 39 0"})) << "the control wants the arrows and raises KeyDown first";
  EXPECT_EQ(GetFocus(), b[1]->hwnd());
  DestroyWindow(dlg);
  host::test::Drain();
}

TEST(VbButtonLife, AmbientChangeRedrawsTheDefaultLook) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  vbButton* b = Make(parent, ev);
  b->SetColorScheme(3);
  EXPECT_EQ(host::test::Pixel(b, 0, 15), 0x00FFFFFFu);
  host::Ambient a = b->ambient();
  a.displayAsDefault = true;
  b->SetAmbient(a, L"DisplayAsDefault");
  EXPECT_EQ(host::test::Pixel(b, 0, 15), 0u) << "type 2 framed in dark as the default button";
}

}  // namespace
}  // namespace vantorel::controls::test

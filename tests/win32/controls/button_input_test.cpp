// Button interaction: recorded event sequences against expected tables.
#include <gtest/gtest.h>

#include "event_log.h"
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::EventLog;
using host::test::MovePointer;
using host::test::Placement;
using host::test::TestParent;
using Log = std::vector<std::wstring>;

Button* Make(host::test::TestParent& parent, host::test::EventLog& events) {
  host::PropertyBag bag = test::MainWindowBag();
  Button* b = Button::Create(host::test::Placement(parent.hwnd()), &bag);
  events.Attach(b);
  host::test::Drain();
  return b;
}

void Click(HWND h, int x = 5, int y = 5) {
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Key(HWND h, WPARAM key) {
  SendMessageW(h, WM_KEYDOWN, key, 0);
  SendMessageW(h, WM_KEYUP, key, 0);
}

TEST(ButtonEvents, ClickAndDoubleClickRaiseTheirEventsInOrder) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Pressed());
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(GetCapture(), h) << "the capture is taken back for hover tracking";
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Pressed());
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(ev.log, (Log{L"MouseDown 1 0 75 75", L"MouseUp 1 0 75 75", L"Click", L"DblClick", L"MouseUp 1 0 75 75"}));
  ReleaseCapture();
}

TEST(ButtonEvents, PushButtonClicksLeaveValueAlone) {
  // From either value: a toggle would turn False into True and True into False.
  for (bool start : {false, true}) {
    host::test::TestParent parent;
    host::test::EventLog ev;
    Button* b = Make(parent, ev);
    b->SetValue(start);
    Click(b->hwnd());
    EXPECT_EQ(b->Value(), start);
    Click(b->hwnd());
    EXPECT_EQ(b->Value(), start);
    EXPECT_EQ(ev.log, (Log{L"MouseDown 1 0 75 75", L"MouseUp 1 0 75 75", L"Click", L"MouseDown 1 0 75 75",
                           L"MouseUp 1 0 75 75", L"Click"}));
    ReleaseCapture();
  }
}

TEST(ButtonEvents, ToggleClicksInvertValue) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  b->SetButtonType(1);
  Click(b->hwnd());
  EXPECT_TRUE(b->Value());
  EXPECT_TRUE(b->Pressed());
  Click(b->hwnd());
  EXPECT_FALSE(b->Value());
  // Switched off, the face stays pressed until the next hover change or release.
  EXPECT_TRUE(b->Pressed());
  ReleaseCapture();
}

TEST(ButtonEvents, SpaceAndEnterClickAFocusedButton) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  SetFocus(h);
  host::test::Drain();
  EXPECT_TRUE(b->Focused());
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(b->Pressed());
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(b->Pressed());
  SendMessageW(h, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(b->Pressed());
  SendMessageW(h, WM_KEYUP, VK_RETURN, 0);
  EXPECT_FALSE(b->Pressed()) << "Enter must not leave the face stuck pressed";
  SendMessageW(h, WM_KEYDOWN, 'A', 0);
  SendMessageW(h, WM_CHAR, 'a', 0);
  SendMessageW(h, WM_KEYUP, 'A', 0);
  EXPECT_EQ(ev.log, (Log{L"KeyDown 32 0", L"Click", L"KeyUp 32 0", L"KeyDown 13 0", L"Click", L"KeyUp 13 0",
                         L"KeyDown 65 0", L"KeyPress 97", L"KeyUp 65 0"}));
}

TEST(ButtonEvents, KeyUpWithoutItsKeyDownDoesNotClick) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(h, WM_KEYUP, VK_RETURN, 0);  // another key releases the face
  SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(ev.log, (Log{L"KeyUp 32 0", L"KeyDown 32 0", L"KeyUp 13 0", L"KeyUp 32 0"}));
  EXPECT_FALSE(b->Pressed());
}

TEST(ButtonEvents, KeysToggleAToggleButton) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  b->SetButtonType(1);
  Key(b->hwnd(), VK_SPACE);
  EXPECT_TRUE(b->Value());
  Key(b->hwnd(), VK_RETURN);
  EXPECT_FALSE(b->Value());
  Key(b->hwnd(), VK_SPACE);
  EXPECT_TRUE(b->Value());
}

TEST(ButtonEvents, HoverBoundsAreInclusiveOnTheFarSide) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  host::test::MovePointer(h, -1, 5);
  EXPECT_EQ(b->Hover(), HoverState::Unset) << "a first movement outside stores nothing";
  host::test::MovePointer(h, 89, 25);
  EXPECT_EQ(b->Hover(), HoverState::True);
  EXPECT_EQ(GetCapture(), h);
  host::test::MovePointer(h, 90, 5);
  EXPECT_EQ(b->Hover(), HoverState::False);
  EXPECT_NE(GetCapture(), h);
  host::test::MovePointer(h, 0, 0);
  EXPECT_EQ(b->Hover(), HoverState::True);
  host::test::MovePointer(h, 5, -1);
  EXPECT_EQ(b->Hover(), HoverState::False);
}

TEST(ButtonEvents, MouseMoveReportsTheReceivedValuesNotThePointer) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  POINT pt{10, 10};
  ClientToScreen(h, &pt);
  SetCursorPos(pt.x, pt.y);
  host::test::Drain();
  ev.log.clear();
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(3, 4));
  EXPECT_EQ(ev.log, (Log{L"MouseMove 1 1 45 60"}));
  ReleaseCapture();
}

TEST(ButtonEvents, DesignModeIgnoresPointerMovement) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  host::HostPlacement p = host::test::Placement(parent.hwnd());
  p.ambient.userMode = false;
  Button* b = Button::Create(p);
  ev.Attach(b);
  host::test::MovePointer(b->hwnd(), 5, 5);
  EXPECT_EQ(b->Hover(), HoverState::Unset);
  EXPECT_TRUE(ev.log.empty());
  EXPECT_NE(GetCapture(), b->hwnd());
}

TEST(ButtonEvents, LeavingWhilePressedReleasesTheFaceAndDoesNotClick) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  HWND h = b->hwnd();
  host::test::MovePointer(h, 5, 5);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Pressed());
  host::test::MovePointer(h, 120, 5);
  EXPECT_FALSE(b->Pressed());
  host::test::MovePointer(h, 5, 5);
  EXPECT_FALSE(b->Pressed()) << "coming back shows the hover look";
  ev.log.clear();
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(ev.log, (Log{L"MouseUp 1 0 75 75"}));
  ReleaseCapture();
}

TEST(ButtonEvents, DragAndDropNotificationsAreForwardedUnchanged) {
  host::test::TestParent parent;
  host::test::EventLog ev;
  Button* b = Make(parent, ev);
  Log log;
  b->events.OLEDragOver = [&](IDataObject*&, std::int32_t& effect, std::int16_t& button, std::int16_t&, float& x,
                              float&, std::int16_t& state) {
    log.push_back(L"OLEDragOver " + std::to_wstring(effect) + L" " + std::to_wstring(button) + L" " +
                  std::to_wstring(static_cast<int>(x)) + L" " + std::to_wstring(state));
    effect = 0;  // a handler may change its arguments
  };
  b->events.OLECompleteDrag = [&](std::int32_t& effect) { log.push_back(L"OLECompleteDrag " + std::to_wstring(effect)); };
  std::int32_t effect = 1;
  std::int16_t button = 1, shift = 0, state = 2;
  float x = 30, y = 45;
  b->ReportOLEDragOver(nullptr, effect, button, shift, x, y, state);
  EXPECT_EQ(effect, 0);
  std::int32_t done = 7;
  b->ReportOLECompleteDrag(done);
  EXPECT_EQ(log, (Log{L"OLEDragOver 1 1 30 2", L"OLECompleteDrag 7"}));
}

TEST(ButtonEvents, HandPointerFollowsHoverPressAndFocus) {
  // The pointer the user sees after each step. Hover holds the capture, so the
  // platform asks the window for no pointer: the button shows its own. Focus
  // alone never changes the pointer over another window.
  enum class Step { Hover, HoverThenPress, HoverThenHandOff, FocusWithPointerAway };
  struct Case {
    const char* name;
    bool hand;
    std::int16_t mousePointer;
    Step step;
    LPCWSTR shown;
  };
  const Case cases[] = {
      {"hovered", true, 0, Step::Hover, IDC_HAND},
      {"hovered without the hand", false, 0, Step::Hover, IDC_ARROW},
      {"pressed, and so focused", true, 2, Step::HoverThenPress, IDC_HAND},
      {"hand turned off shows the stored pointer", true, 2, Step::HoverThenHandOff, IDC_CROSS},
      {"hand turned off keeps the one shown", true, 0, Step::HoverThenHandOff, IDC_HAND},
      {"focused, pointer elsewhere", true, 0, Step::FocusWithPointerAway, IDC_ARROW},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host::test::TestParent parent;
    host::test::EventLog ev;
    Button* b = Make(parent, ev);
    HWND h = b->hwnd();
    ASSERT_TRUE(b->SetHandPointer(c.hand).ok());
    ASSERT_TRUE(b->SetMousePointer(c.mousePointer).ok());
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (c.step == Step::FocusWithPointerAway) {
      host::test::PointerAway(parent.hwnd());
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      SetFocus(h);
      host::test::Drain();
    } else {
      host::test::MovePointer(h, 5, 5);
      if (c.step == Step::HoverThenPress) SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      if (c.step == Step::HoverThenHandOff) {
        ASSERT_TRUE(b->SetHandPointer(false).ok());
      }
    }
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.shown));
    ReleaseCapture();
  }
}

}  // namespace
}  // namespace vantorel::controls::test

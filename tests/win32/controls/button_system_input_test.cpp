// Button driven through the system's input (system_input.h) with handlers that
// change their arguments: unlike vbButton, a Button raises its events after it
// has acted and does not read them back, so such a handler changes neither the
// look nor the click, and no key or button sequence leaves it pressed.
#include <gtest/gtest.h>

#include <functional>

#include "system_input.h"
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::ButtonInput;
using host::test::KeyInput;
using host::test::PointerAway;
using host::test::PointerTo;
using host::test::Settle;
using host::test::TestParent;

struct Step {
  std::function<void()> input;
  bool pressedAfter;
};

TEST(ButtonSystemInput, HandlersThatChangeTheirArgumentsChangeNothing) {
  host::test::TestParent parent;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()));
  int clicks = 0;
  b->events.Click = [&] { ++clicks; };
  b->events.KeyDown = [](std::int16_t& key, std::int16_t&) { key = 0; };
  b->events.KeyUp = [](std::int16_t& key, std::int16_t&) { key = 0; };
  b->events.MouseDown = [](std::int16_t& button, std::int16_t&, float&, float&) { button = host::kRightButton; };
  HWND h = b->hwnd();
  const Step keys[] = {
      {[] { host::test::KeyInput(VK_SPACE, false); }, true},
      {[] { host::test::KeyInput(VK_SPACE, false); }, true},  // the key's repeat
      {[] { host::test::KeyInput(VK_SPACE, true); }, false},
      {[] { host::test::KeyInput(VK_SPACE, false); }, true},
      {[] { host::test::KeyInput('A', false); }, true},
      {[] { host::test::KeyInput(VK_SPACE, true); }, false},
      {[] { host::test::KeyInput('A', true); }, false},
  };
  SetFocus(h);
  host::test::Settle();
  int n = 0;
  for (const Step& s : keys) {
    s.input();
    host::test::Settle();
    EXPECT_EQ(b->Pressed(), s.pressedAfter) << "key step " << n++;
  }
  EXPECT_EQ(clicks, 2) << "each release of space clicks";
  const Step mouse[] = {
      {[] { host::test::ButtonInput(MOUSEEVENTF_LEFTDOWN); }, true},
      {[h] { host::test::PointerTo(h, 14, 12); }, true},
      {[] { host::test::ButtonInput(MOUSEEVENTF_LEFTUP); }, false},
  };
  host::test::PointerAway(parent.hwnd());
  host::test::PointerTo(h, 10, 10);
  n = 0;
  for (const Step& s : mouse) {
    s.input();
    host::test::Settle();
    EXPECT_EQ(b->Pressed(), s.pressedAfter) << "mouse step " << n++;
  }
  EXPECT_EQ(clicks, 3) << "the left press clicks whatever MouseDown made of it";
  host::test::PointerAway(parent.hwnd());
}

}  // namespace
}  // namespace vantorel::controls::test

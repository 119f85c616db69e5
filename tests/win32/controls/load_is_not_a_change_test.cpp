// Loading is not a change, for both controls: made from stored values, a
// control tells its host of no property and leaves its data clean; the first
// real change afterwards is told.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"
#include "vbbutton_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::TestParent;

struct LoadCase {
  const char* what;
  // A bag of stored values that differ from a new control's wherever they can.
  std::function<host::PropertyBag(HWND parent)> stored;
  // Makes the control from the bag, telling the recorder of every change.
  std::function<host::HostedControl*(host::HostPlacement, const host::PropertyBag&)> load;
  std::function<void(host::HostedControl*)> change;
};

host::PropertyBag ButtonBag(HWND) {
  host::PropertyBag bag = test::MainWindowBag(L"&Replace");
  bag.Write(L"MousePointer", std::int16_t{2});
  bag.Write(L"ButtonShape", std::int32_t{3});
  bag.Write(L"Enabled", false);
  return bag;
}

host::PropertyBag VbButtonBag(HWND parent) {
  vbButton* a = vbButton::Create(test::VbPlacement(parent));
  a->SetButtonType(9);
  a->SetCaption(L"&Go");
  a->SetFont(host::MakeFont(host::FontDesc{L"Tahoma", 10, 700, true, true, false, 0}));
  a->SetColorScheme(2);
  a->SetBackColor(0x00112233);
  a->SetMousePointer(3);
  a->SetPictureNormal(host::test::SolidPicture(8, 8, RGB(255, 0, 0)));
  a->SetCheckBoxBehaviour(true);
  a->SetValue(true);
  a->SetEnabled(false);
  host::PropertyBag bag;
  a->Save(bag);
  DestroyWindow(a->hwnd());
  return bag;
}

TEST(Loading, IsNotAChangeForEitherControl) {
  const LoadCase cases[] = {
      {"Button", ButtonBag,
       [](host::HostPlacement p, const host::PropertyBag& bag) -> host::HostedControl* {
         return Button::Create(p, &bag);
       },
       [](host::HostedControl* c) { static_cast<Button*>(c)->SetCaption(L"x"); }},
      {"vbButton", VbButtonBag,
       [](host::HostPlacement p, const host::PropertyBag& bag) -> host::HostedControl* {
         return vbButton::Create(p, &bag);
       },
       [](host::HostedControl* c) { static_cast<vbButton*>(c)->SetCaption(L"x"); }},
  };
  for (const LoadCase& c : cases) {
    host::test::TestParent parent;
    const host::PropertyBag bag = c.stored(parent.hwnd());
    std::vector<std::wstring> told;
    host::HostPlacement p = host::test::Placement(parent.hwnd());
    p.onPropertyChanged = [&](std::wstring_view key) { told.emplace_back(key); };
    host::HostedControl* control = c.load(p, bag);
    ASSERT_TRUE(control) << c.what;
    host::test::Drain();
    EXPECT_EQ(told, std::vector<std::wstring>{}) << c.what;
    EXPECT_FALSE(control->dirty()) << c.what;
    c.change(control);
    EXPECT_FALSE(told.empty()) << c.what << ": a real change is told";
    EXPECT_TRUE(control->dirty()) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::controls::test

// Loading is not a change, for both controls: made from stored values, a
// control tells its host of no property and leaves its data clean; the first
// real change afterwards is told.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"
#include "vbbutton_support.h"

namespace vantorel::controls {
namespace {

using test::Drain;
using test::TestParent;

struct LoadCase {
  const char* what;
  // A bag of stored values that differ from a new control's wherever they can.
  std::function<PropertyBag(HWND parent)> stored;
  // Makes the control from the bag, telling the recorder of every change.
  std::function<HostedControl*(HostPlacement, const PropertyBag&)> load;
  std::function<void(HostedControl*)> change;
};

PropertyBag ButtonBag(HWND) {
  PropertyBag bag = test::MainWindowBag(L"&Replace");
  bag.Write(L"MousePointer", std::int16_t{2});
  bag.Write(L"ButtonShape", std::int32_t{3});
  bag.Write(L"Enabled", false);
  return bag;
}

PropertyBag VbButtonBag(HWND parent) {
  vbButton* a = vbButton::Create(test::VbPlacement(parent));
  a->SetButtonType(9);
  a->SetCaption(L"&Go");
  a->SetFont(MakeFont(FontDesc{L"Tahoma", 10, 700, true, true, false, 0}));
  a->SetColorScheme(2);
  a->SetBackColor(0x00112233);
  a->SetMousePointer(3);
  a->SetPictureNormal(test::SolidPicture(8, 8, RGB(255, 0, 0)));
  a->SetCheckBoxBehaviour(true);
  a->SetValue(true);
  a->SetEnabled(false);
  PropertyBag bag;
  a->Save(bag);
  DestroyWindow(a->hwnd());
  return bag;
}

TEST(Loading, IsNotAChangeForEitherControl) {
  const LoadCase cases[] = {
      {"Button", ButtonBag, [](HostPlacement p, const PropertyBag& bag) -> HostedControl* { return Button::Create(p, &bag); },
       [](HostedControl* c) { static_cast<Button*>(c)->SetCaption(L"x"); }},
      {"vbButton", VbButtonBag,
       [](HostPlacement p, const PropertyBag& bag) -> HostedControl* { return vbButton::Create(p, &bag); },
       [](HostedControl* c) { static_cast<vbButton*>(c)->SetCaption(L"x"); }},
  };
  for (const LoadCase& c : cases) {
    TestParent parent;
    const PropertyBag bag = c.stored(parent.hwnd());
    std::vector<std::wstring> told;
    HostPlacement p = test::Placement(parent.hwnd());
    p.onPropertyChanged = [&](std::wstring_view key) { told.emplace_back(key); };
    HostedControl* control = c.load(p, bag);
    ASSERT_TRUE(control) << c.what;
    Drain();
    EXPECT_EQ(told, std::vector<std::wstring>{}) << c.what;
    EXPECT_FALSE(control->dirty()) << c.what;
    c.change(control);
    EXPECT_FALSE(told.empty()) << c.what << ": a real change is told";
    EXPECT_TRUE(control->dirty()) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::controls

// What Windows itself sees of a Button: its window text and accessible object,
// its image in a right-to-left window, and the order its saved keys keep.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "host/gdi_guards.h"
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::Pixel;
using host::test::Placement;
using host::test::TestParent;
using test::MainButton;

std::wstring WindowText(HWND h) {
  wchar_t text[64]{};
  GetWindowTextW(h, text, 64);
  return text;
}

// The accessible object as a screen reader gets it: through WM_GETOBJECT.
class Accessible {
 public:
  explicit Accessible(HWND h) {
    EXPECT_EQ(AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&acc_)),
              S_OK);
  }
  ~Accessible() {
    if (acc_) acc_->Release();
  }
  bool ok() const { return acc_ != nullptr; }
  long Role() const {
    VARIANT role{};
    EXPECT_EQ(acc_->get_accRole(Self(), &role), S_OK);
    return role.vt == VT_I4 ? role.lVal : -1;
  }
  long State() const {
    VARIANT state{};
    EXPECT_EQ(acc_->get_accState(Self(), &state), S_OK);
    return state.vt == VT_I4 ? state.lVal : -1;
  }
  std::wstring Name() const {
    BSTR name = nullptr;
    EXPECT_EQ(acc_->get_accName(Self(), &name), S_OK);
    std::wstring out = name ? name : L"";
    SysFreeString(name);
    return out;
  }
  HRESULT DoDefaultAction() const { return acc_->accDoDefaultAction(Self()); }

 private:
  static VARIANT Self() {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
  }
  IAccessible* acc_ = nullptr;
};

TEST(ButtonPlatform, TheWindowTextIsTheCaption) {
  host::test::TestParent parent;
  Button* loaded = MainButton(parent.hwnd());
  EXPECT_EQ(WindowText(loaded->hwnd()), L"Replace");
  loaded->SetCaption(L"Open File (.exe)");
  EXPECT_EQ(WindowText(loaded->hwnd()), L"Open File (.exe)");
  int changes = 0;
  host::HostPlacement p = host::test::Placement(parent.hwnd(), 3000);
  p.onPropertyChanged = [&](std::wstring_view key) { changes += key == L"Caption"; };
  Button* fresh = Button::Create(p);
  EXPECT_EQ(WindowText(fresh->hwnd()), L"Button1") << "a new instance shows its display name";
  // And the other way, as on a system button: text set on the window is the
  // caption, drawn and reported as a change once.
  const std::uint32_t before = host::test::ImageHash(fresh);
  EXPECT_TRUE(SetWindowTextW(fresh->hwnd(), L"Close"));
  EXPECT_EQ(fresh->Caption(), L"Close");
  EXPECT_EQ(WindowText(fresh->hwnd()), L"Close");
  EXPECT_NE(host::test::ImageHash(fresh), before);
  EXPECT_EQ(changes, 1);
}

TEST(ButtonPlatform, TheAccessibleObjectIsAPushButtonWithItsStates) {
  host::test::TestParent parent;
  Button* b = MainButton(parent.hwnd());
  int clicks = 0;
  b->events.Click = [&] { ++clicks; };
  Accessible acc(b->hwnd());
  ASSERT_TRUE(acc.ok());
  EXPECT_EQ(acc.Role(), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(acc.Name(), L"Replace");
  EXPECT_EQ(acc.State(), STATE_SYSTEM_FOCUSABLE);

  SetFocus(b->hwnd());
  host::test::Drain();
  EXPECT_EQ(acc.State(), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  SendMessageW(b->hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(acc.State(), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED);
  SendMessageW(b->hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(clicks, 1);

  // The default action presses the button as a click would.
  EXPECT_EQ(acc.DoDefaultAction(), S_OK);
  EXPECT_EQ(clicks, 2);

  b->SetCaption(L"Go");
  EXPECT_EQ(acc.Name(), L"Go");
  b->SetEnabled(false);
  EXPECT_EQ(acc.State(), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_NE(acc.DoDefaultAction(), S_OK) << "a disabled button cannot be pressed";
  EXPECT_EQ(clicks, 2);
}

// The pixels the screen shows for a window, read back from the screen.
std::vector<COLORREF> ScreenPixels(HWND h, int w, int hgt) {
  RECT r{};
  GetWindowRect(h, &r);
  host::WindowDc screen;
  host::MemoryDc mem(screen.get());
  host::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), w, hgt));
  host::ScopedSelect selected(mem.get(), bitmap.get());
  BitBlt(mem.get(), 0, 0, w, hgt, screen.get(), r.left, r.top, SRCCOPY);
  std::vector<COLORREF> out;
  for (int y = 0; y < hgt; ++y)
    for (int x = 0; x < w; ++x) out.push_back(GetPixel(mem.get(), x, y));
  return out;
}

TEST(ButtonPlatform, ARightToLeftParentShowsTheFaceUnmirrored) {
  host::test::TestParent parent;
  HWND rtl = CreateWindowExW(WS_EX_LAYOUTRTL, L"VantorelTestParent", L"rtl", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100,
                             parent.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(rtl);
  Button* b = MainButton(rtl);
  b->SetDropDown(2);  // the arrow at the right
  UpdateWindow(rtl);
  host::test::Drain();
  EXPECT_FALSE(GetWindowLongW(b->hwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  // Placed from the parent's right edge, as the parent's layout says.
  RECT parentRect{}, buttonRect{};
  GetWindowRect(rtl, &parentRect);
  GetWindowRect(b->hwnd(), &buttonRect);
  EXPECT_EQ(parentRect.right - buttonRect.right, 10);
  // On screen, pixel for pixel the backing image: the arrow still at the right,
  // the caption readable.
  const int w = b->surface().ScaleWidth(), h = b->surface().ScaleHeight();
  std::vector<COLORREF> shown = ScreenPixels(b->hwnd(), w, h);
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differ += shown[static_cast<std::size_t>(y * w + x)] != host::test::Pixel(b, x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(shown[static_cast<std::size_t>((4 + 5) * w + 68 + 6)], 0u) << "a chevron pixel of the arrow";
  DestroyWindow(rtl);
}

int PixelsUnlikeTheImage(Button* b) {
  const int w = b->surface().ScaleWidth(), h = b->surface().ScaleHeight();
  std::vector<COLORREF> shown = ScreenPixels(b->hwnd(), w, h);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool shaped = GetWindowRgn(b->hwnd(), region) != ERROR;
  int differ = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!shaped || PtInRegion(region, x, y))
        differ += shown[static_cast<std::size_t>(y * w + x)] != host::test::Pixel(b, x, y);
  DeleteObject(region);
  return differ;
}

// A change is painted when the setter returns: nothing is left for a later
// WM_PAINT, even what was waiting for one, and once the program is idle the
// screen shows the new image. A control changed while hidden shows the change
// when it is shown again.
TEST(ButtonPlatform, AChangeIsPaintedAtOnceAndShownWhenIdle) {
  host::test::TestParent parent;
  for (int shape : {0, 3, 10}) {
    Button* b = MainButton(parent.hwnd());
    b->SetButtonShape(shape);
    host::test::Drain();
    InvalidateRect(b->hwnd(), nullptr, FALSE);
    b->SetBackColor(RGB(200, 30, 30));
    EXPECT_FALSE(GetUpdateRect(b->hwnd(), nullptr, FALSE)) << shape;
    host::test::Drain();
    EXPECT_EQ(PixelsUnlikeTheImage(b), 0) << shape;
    ShowWindow(b->hwnd(), SW_HIDE);
    b->SetBackColor(RGB(30, 30, 200));
    ShowWindow(b->hwnd(), SW_SHOW);
    host::test::Drain();
    EXPECT_EQ(PixelsUnlikeTheImage(b), 0) << shape;
    DestroyWindow(b->hwnd());
  }
}

std::vector<std::wstring> Keys(const host::PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& e : bag.Entries()) keys.push_back(e.first);
  return keys;
}

TEST(ButtonPlatform, SavingAgainIntoOneBagKeepsThePersistedOrder) {
  host::test::TestParent parent;
  host::PropertyBag empty;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()), &empty);
  b->SetCaption(L"Go");
  host::PropertyBag bag;
  b->Save(bag);
  b->SetDropDown(2);
  b->SetEffectColor(0);
  b->Save(bag);
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"_extentx", L"_extenty", L"DropDown", L"BorderColor",
                                                  L"BorderColorPressed", L"BorderColorHover", L"EffectColor",
                                                  L"Caption"}));
  // A value back at its default leaves the bag.
  b->SetDropDown(0);
  b->Save(bag);
  EXPECT_FALSE(bag.Has(L"DropDown"));
}

}  // namespace
}  // namespace vantorel::controls::test

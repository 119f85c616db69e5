// Button properties: new-instance defaults, presets, setters and persistence.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Placement;
using host::test::TestParent;
using test::MainWindowBag;

struct Recorded {
  std::vector<std::wstring> keys;
};

Button* Make(host::test::TestParent& parent, const host::PropertyBag* bag = nullptr, Recorded* rec = nullptr) {
  host::HostPlacement p = host::test::Placement(parent.hwnd());
  if (rec) p.onPropertyChanged = [rec](std::wstring_view k) { rec->keys.emplace_back(k); };
  return Button::Create(p, bag);
}

TEST(ButtonProperties, NewInstanceTakesTheDefaultsAndTheDisplayName) {
  host::test::TestParent parent;
  host::HostPlacement p = host::test::Placement(parent.hwnd());
  p.width = 1200;
  p.height = 500;
  Button* b = Button::Create(p);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Caption(), L"Button1");
  EXPECT_EQ(b->ButtonShape(), 0);
  EXPECT_EQ(b->ButtonStyle(), 1);
  EXPECT_EQ(b->ButtonStyleColors(), 1);
  EXPECT_EQ(b->CaptionAlignment(), 2);
  EXPECT_EQ(b->PictureAlignment(), 2);
  EXPECT_EQ(b->BackColor(), 0x8000000Fu);
  EXPECT_EQ(b->ForeColorPressed(), 0x0000FFu);
  EXPECT_EQ(b->ForeColorHover(), 0xFF0000u);
  EXPECT_EQ(b->EffectColor(), 0xFFFFFFu);
  EXPECT_TRUE(b->FocusRect());
  EXPECT_FALSE(b->Value());
  EXPECT_TRUE(b->Enabled());
  EXPECT_FALSE(b->Picture());
  ASSERT_TRUE(b->Font());
  EXPECT_EQ(b->Font()->Desc().name, L"Tahoma");
  EXPECT_EQ(b->Font()->Desc().size, 8.25);
  EXPECT_EQ(b->surface().ScaleWidth(), 80);
  EXPECT_EQ(b->surface().ScaleHeight(), 33);
  // Style 1 paints its border colours in.
  EXPECT_EQ(b->BorderColor(), 0x80000015u);
  EXPECT_EQ(b->BorderColorPressed(), 0x80000014u);
}

TEST(ButtonProperties, StylePresetSetsFaceColoursAndBackgroundMode) {
  host::test::TestParent parent;
  Button* b = Make(parent);
  b->SetButtonStyleColors(5);
  b->SetButtonStyle(4);
  EXPECT_EQ(b->ButtonStyleColors(), 1);
  EXPECT_EQ(b->BackColorPressed(), 0x999999u);
  b->SetButtonStyleColors(0);
  b->SetButtonStyle(4);
  EXPECT_EQ(b->ButtonStyleColors(), 0);
  b->SetButtonStyle(6);
  EXPECT_EQ(b->ButtonStyleColors(), 0);
  b->SetButtonStyleColors(7);
  b->SetButtonStyle(6);
  EXPECT_EQ(b->ButtonStyleColors(), 3);
  EXPECT_EQ(b->BackColor(), 0xD2DEDDu);

  struct Row {
    std::int32_t style;
    host::OleColor back, hover, pressed;
  };
  const Row rows[] = {
      {1, 0x8000000F, 0x8000000F, 0x8000000F}, {5, 0x8000000F, 0xB6A59F, 0xAF8C80},
      {7, 0xD8D8D8, 0xF7DBA5, 0xEFCE92},       {8, 0x80000001, 0x80000001, 0x80000001},
  };
  for (const Row& r : rows) {
    b->SetButtonStyle(r.style);
    EXPECT_EQ(b->BackColor(), r.back) << r.style;
    EXPECT_EQ(b->BackColorHover(), r.hover) << r.style;
    EXPECT_EQ(b->BackColorPressed(), r.pressed) << r.style;
  }
  // Outside 1 to 8 nothing changes but the style itself.
  b->SetBackColor(0x123456);
  b->SetButtonStyle(9);
  EXPECT_EQ(b->ButtonStyle(), 9);
  EXPECT_EQ(b->BackColor(), 0x123456u);
}

TEST(ButtonProperties, ThemeOutsideItsRangeChangesNoColourButIsStoredAndNotified) {
  host::test::TestParent parent;
  Recorded rec;
  Button* b = Make(parent, nullptr, &rec);
  b->SetBackColor(0x010203);
  rec.keys.clear();
  for (std::int32_t theme : {0, 9}) {
    EXPECT_TRUE(b->SetButtonTheme(theme).ok());
    EXPECT_EQ(b->ButtonTheme(), theme);
    EXPECT_EQ(b->BackColor(), 0x010203u);
  }
  EXPECT_EQ(rec.keys, (std::vector<std::wstring>{L"ButtonTheme", L"ButtonTheme"}));
  EXPECT_TRUE(b->dirty());
}

TEST(ButtonProperties, EveryThemeSetsItsFaceAndBorderColours) {
  host::test::TestParent parent;
  Recorded rec;
  Button* b = Make(parent, nullptr, &rec);
  b->SetButtonStyle(0);  // no style repaints the borders
  struct Row {
    std::int32_t theme;
    host::OleColor back, hover, pressed, border;
  };
  const Row rows[] = {
      {1, 0xF1B39A, 0xFDF7F4, 0xFAE6DD, 0xF1B39A}, {2, 0x3DB4A2, 0xDFF4F2, 0xB8E7E0, 0x3DB4A2},
      {3, 0xB5A09D, 0xF7F5F4, 0xECE7E6, 0xB5A09D}, {4, 0xABC2C2, 0xF2F8F8, 0xE6EDEE, 0xABC2C2},
      {5, 0x02C5F5, 0xE2F9FF, 0xAFEFFE, 0x02C5F5}, {6, 0x26368B, 0x4763FF, 0x425CEE, 0x0000FF},
      {7, 0x578B2E, 0x9FFF54, 0x80CD43, 0x00FF00}, {8, 0x8B4027, 0xFF7648, 0xCD5F3A, 0xFF0000},
  };
  for (const Row& r : rows) {
    rec.keys.clear();
    EXPECT_TRUE(b->SetButtonTheme(r.theme).ok());
    EXPECT_EQ(b->BackColor(), r.back) << r.theme;
    EXPECT_EQ(b->BackColorHover(), r.hover) << r.theme;
    EXPECT_EQ(b->BackColorPressed(), r.pressed) << r.theme;
    EXPECT_EQ(b->BorderColor(), r.border) << r.theme;
    EXPECT_EQ(b->BorderColorHover(), r.border) << r.theme;
    EXPECT_EQ(b->BorderColorPressed(), r.border) << r.theme;
    // The preset's colours are not notified one by one.
    EXPECT_EQ(rec.keys, (std::vector<std::wstring>{L"ButtonTheme"})) << r.theme;
    // And the repaint shows them: the solid face in BackColor.
    EXPECT_EQ(host::test::Pixel(b, 3, 3), r.back) << r.theme;
  }
}

TEST(ButtonProperties, ThemeBordersLastOnlyWhereNoStyleRepaintsThem) {
  host::test::TestParent parent;
  Button* b = Make(parent);
  b->SetButtonStyle(0);
  b->SetButtonTheme(6);
  EXPECT_EQ(b->BorderColor(), 0x0000FFu);
  EXPECT_EQ(b->BorderColorHover(), 0x0000FFu);
  EXPECT_EQ(b->BorderColorPressed(), 0x0000FFu);
  EXPECT_EQ(b->BackColor(), 0x26368Bu);
  b->SetButtonStyle(1);
  b->SetButtonTheme(6);
  EXPECT_EQ(b->BorderColor(), 0x80000015u);
  EXPECT_EQ(b->BorderColorHover(), 0x80000015u);
  EXPECT_EQ(b->BorderColorPressed(), 0x80000014u);
  EXPECT_EQ(b->BackColor(), 0x26368Bu);
  EXPECT_EQ(b->BackColorHover(), 0x4763FFu);
  EXPECT_EQ(b->BackColorPressed(), 0x425CEEu);
}

TEST(ButtonProperties, StyleSevenAssignsItsBordersOnEveryPaint) {
  host::test::TestParent parent;
  Button* b = Make(parent);
  b->SetButtonStyle(7);
  b->SetBorderColor(0x123456);
  EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu);
  EXPECT_EQ(b->BorderColorHover(), 0xB17F3Cu);
  EXPECT_EQ(b->BorderColorPressed(), 0x5C411Du);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0xB5B2ADu);
  b->SetButtonStyleColors(0);  // no fill, but the colours are still assigned
  EXPECT_EQ(b->BorderColor(), 0xB5B2ADu);
  b->SetEnabled(true);
  EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu);
}

TEST(ButtonProperties, SurfaceSettersRefuseWithoutNotifying) {
  host::test::TestParent parent;
  Recorded rec;
  Button* b = Make(parent, nullptr, &rec);
  rec.keys.clear();
  EXPECT_EQ(b->SetMousePointer(40000), host::kOverflow);
  EXPECT_EQ(b->SetMousePointer(-40000), host::kOverflow);
  EXPECT_EQ(b->SetMousePointer(50), host::kInvalidPropertyValue);
  EXPECT_EQ(b->SetFont(nullptr), host::kInvalidPropertyValue);
  EXPECT_EQ(b->MousePointer(), 0);
  EXPECT_TRUE(rec.keys.empty());
  EXPECT_TRUE(b->SetMousePointer(99).ok());
  EXPECT_EQ(b->MousePointer(), 99);
  host::FontRef f = host::MakeFont(host::FontDesc{L"Tahoma", 8.25, 700});
  EXPECT_TRUE(b->SetFont(f).ok());
  EXPECT_EQ(b->Font(), f);  // kept by reference
  EXPECT_EQ(rec.keys, (std::vector<std::wstring>{L"MousePointer", L"Font"}));
}

TEST(ButtonPersistence, LoadingKeepsStoredColoursWithoutPresets) {
  host::test::TestParent parent;
  host::PropertyBag bag = MainWindowBag();
  Button* b = Make(parent, &bag);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->ButtonStyle(), 7);
  EXPECT_EQ(b->ButtonTheme(), 1);
  EXPECT_EQ(b->BackColor(), 0xF1B39Au);
  EXPECT_EQ(b->BackColorPressed(), 0xFAE6DDu);
  EXPECT_EQ(b->BackColorHover(), 0xFDF7F4u);
  EXPECT_EQ(b->Caption(), L"Replace");
  EXPECT_EQ(b->Font()->Desc().weight, 700);
  EXPECT_EQ(b->surface().ScaleWidth(), 89);
  EXPECT_EQ(b->surface().ScaleHeight(), 25);
}

TEST(ButtonPersistence, MissingKeysTakeTheirDefaults) {
  host::test::TestParent parent;
  host::PropertyBag empty;
  Button* b = Make(parent, &empty);
  EXPECT_EQ(b->Caption(), L"Button");
  EXPECT_EQ(b->Font()->Desc(), host::test::Placement(parent.hwnd()).ambient.font);
  EXPECT_TRUE(b->Enabled());
}

TEST(ButtonPersistence, SavingOmitsDefaultsAndKeepsTheKeyOrder) {
  host::test::TestParent parent;
  host::PropertyBag empty;
  Button* b = Make(parent, &empty);
  host::PropertyBag saved;
  b->Save(saved);
  // Only the size, and the border colours that the style-1 paint assigned.
  std::vector<std::wstring> keys;
  for (const auto& e : saved.Entries()) keys.push_back(e.first);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"_extentx", L"_extenty", L"BorderColor", L"BorderColorPressed",
                                             L"BorderColorHover"}));

  b->SetForeColorPressed(0x0000FF);
  b->SetCaption(L"Go");
  b->SetValue(true);
  b->SetEnabled(false);
  b->SetMousePointer(3);
  b->SetDropDown(2);
  b->SetEffectColor(0);
  host::PropertyBag more;
  b->Save(more);
  keys.clear();
  for (const auto& e : more.Entries()) keys.push_back(e.first);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"_extentx", L"_extenty", L"DropDown", L"BorderColor",
                                             L"BorderColorPressed", L"BorderColorHover", L"EffectColor", L"Caption",
                                             L"Value", L"Enabled", L"MousePointer"}));
  EXPECT_FALSE(more.ReadBool(L"Enabled", true));
  EXPECT_EQ(more.ReadInt16(L"MousePointer", 0), 3);
}

TEST(ButtonPersistence, RoundTripThroughTheTextFormKeepsEveryValue) {
  host::test::TestParent parent;
  host::PropertyBag bag = MainWindowBag(L"Open File (.exe)");
  Button* a = Make(parent, &bag);
  a->SetButtonShape(1);
  a->SetCaptionEffect(3);
  a->SetHandPointer(true);
  a->SetPictureGray(true);
  host::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(host::WindowDc().get(), 16, 16));
  a->SetPicture(host::Picture::FromBitmap(bitmap.get()));
  host::PropertyBag saved;
  a->Save(saved);
  std::wstring error;
  auto text = host::BagToText(saved);
  auto loaded = host::BagFromText(text, &error);
  ASSERT_TRUE(loaded) << error;
  Button* b = Make(parent, &*loaded);
  host::PropertyBag again;
  b->Save(again);
  EXPECT_EQ(host::BagToText(again), text);
  EXPECT_EQ(b->Caption(), L"Open File (.exe)");
  EXPECT_EQ(b->ButtonShape(), 1);
  ASSERT_TRUE(b->Picture());
  EXPECT_EQ(b->Picture()->WidthPixels(), 16);
}

}  // namespace
}  // namespace vantorel::controls::test

namespace vantorel::controls::test {
namespace {

// A setter tells its host the key its value is saved under.
TEST(ButtonPersistence, SettersNameTheKeysTheyAreSavedUnder) {
  host::test::TestParent parent;
  Recorded rec;
  Button* b = Make(parent, nullptr, &rec);
  struct Case {
    std::function<void()> set;
    const wchar_t* key;
  } cases[] = {
      {[&] { b->SetButtonShape(1); }, L"ButtonShape"},
      {[&] { b->SetButtonStyleColors(2); }, L"ButtonStyleColors"},
      {[&] { b->SetButtonType(1); }, L"ButtonType"},
      {[&] { b->SetCaptionAlignment(0); }, L"CaptionAlignment"},
      {[&] { b->SetCaptionEffect(1); }, L"CaptionEffect"},
      {[&] { b->SetCaptionStyle(1); }, L"CaptionStyle"},
      {[&] { b->SetDropDown(1); }, L"DropDown"},
      {[&] { b->SetPictureAlignment(0); }, L"PictureAlignment"},
      {[&] { b->SetBackColor(1); }, L"BackColor"},
      {[&] { b->SetBackColorPressed(1); }, L"BackColorPressed"},
      {[&] { b->SetBackColorHover(1); }, L"BackColorHover"},
      {[&] { b->SetForeColor(1); }, L"ForeColor"},
      {[&] { b->SetForeColorPressed(1); }, L"ForeColorPressed"},
      {[&] { b->SetForeColorHover(1); }, L"ForeColorHover"},
      {[&] { b->SetEffectColor(1); }, L"EffectColor"},
      {[&] { b->SetCaption(L"x"); }, L"Caption"},
      {[&] { b->SetFocusRect(false); }, L"FocusRect"},
      {[&] { b->SetValue(true); }, L"Value"},
      {[&] { b->SetHandPointer(true); }, L"HandPointer"},
      {[&] { b->SetPictureGray(true); }, L"PictureGray"},
      {[&] { b->SetPicture(host::test::SolidPicture(4, 4, RGB(1, 2, 3))); }, L"Picture"},
  };
  for (const Case& c : cases) {
    rec.keys.clear();
    c.set();
    EXPECT_EQ(rec.keys, std::vector<std::wstring>{c.key});
    host::PropertyBag saved;
    b->Save(saved);
    EXPECT_TRUE(saved.Has(c.key)) << c.key;
  }
}

TEST(ButtonProperties, WindowTextIsTheCaptionWithItsAmpersands) {
  host::test::TestParent parent;
  auto text = [](Button* b) {
    wchar_t buf[64] = {};
    GetWindowTextW(b->hwnd(), buf, 64);
    return std::wstring(buf);
  };
  Button* made = Button::Create(host::test::Placement(parent.hwnd()));
  EXPECT_EQ(text(made), L"Button1");
  made->SetCaption(L"&Save && go");
  EXPECT_EQ(text(made), L"&Save && go");
  host::PropertyBag bag = test::MainWindowBag(L"&Replace");
  EXPECT_EQ(text(Button::Create(host::test::Placement(parent.hwnd()), &bag)), L"&Replace");
}

}  // namespace
}  // namespace vantorel::controls::test

// vbButton's properties and persistence: defaults, the stored keys and their
// order, the round trip, fallbacks for missing and bad values, access keys.
#include <gtest/gtest.h>

#include "vbbutton_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::TestParent;
using test::VbPlacement;

const std::vector<std::wstring> kKeyOrder = {
    L"_extentx", L"_extenty", L"BTYPE", L"TX",    L"ENAB",   L"FONT",  L"COLTYPE", L"FOCUSR", L"BCOL",
    L"BCOLO",    L"FCOL",     L"FCOLO", L"MCOL",  L"MPTR",   L"MICON", L"PICN",    L"PICH",   L"UMCOL",
    L"SOFT",     L"PICPOS",   L"NGREY", L"FX",    L"HAND",   L"CHECK", L"VALUE",
};

vbButton* Load(host::test::TestParent& parent, const std::wstring& text) {
  std::wstring error;
  auto bag = host::BagFromText(text, &error);
  EXPECT_TRUE(bag) << error;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()), bag ? &*bag : nullptr);
  host::test::Drain();
  return b;
}

TEST(VbButtonProps, NewControlDefaults) {
  host::test::TestParent parent;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
  ASSERT_TRUE(b);
  host::test::Drain();
  EXPECT_EQ(b->ButtonType(), 2);
  EXPECT_EQ(b->ColorScheme(), 1);
  EXPECT_EQ(b->Caption(), L"vbButton1");
  // Scheme 1's derived face and text colours, as RGB values.
  EXPECT_EQ(b->BackColor(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(b->BackOver(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(b->ForeColor(), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(b->ForeOver(), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(b->MaskColor(), 0x00C0C0C0u);
  EXPECT_TRUE(b->Enabled());
  EXPECT_TRUE(b->ShowFocusRect());
  EXPECT_TRUE(b->UseMaskColor());
  EXPECT_FALSE(b->HandPointer() || b->SoftBevel() || b->UseGreyscale() || b->CheckBoxBehaviour() || b->Value());
  EXPECT_EQ(b->PicturePosition(), 0);
  EXPECT_EQ(b->SpecialEffect(), 0);
  EXPECT_EQ(b->MousePointer(), 0);
  EXPECT_FALSE(b->PictureNormal() || b->PictureOver() || b->MouseIcon());
  EXPECT_EQ(b->Font()->Desc().name, L"Tahoma");
  EXPECT_EQ(std::wstring(vbButton::Version()), L"2.0.6");
  RECT rc;
  GetClientRect(b->hwnd(), &rc);
  EXPECT_EQ(rc.right, 87);
  EXPECT_EQ(rc.bottom, 32);
  EXPECT_EQ(b->hwnd(), b->Hwnd());
  EXPECT_EQ(b->ButtonType(), 2) << "Version is the same whatever the state";
}

TEST(VbButtonProps, SavingWritesEveryKeyInOrderDefaultsIncluded) {
  host::test::TestParent parent;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
  host::PropertyBag bag;
  b->Save(bag);
  ASSERT_EQ(bag.Entries().size(), kKeyOrder.size());
  for (std::size_t i = 0; i < kKeyOrder.size(); ++i) EXPECT_EQ(bag.Entries()[i].first, kKeyOrder[i]) << i;
  // Types as stored: colours and enumerations 32-bit, the pointer 16-bit.
  EXPECT_TRUE(std::holds_alternative<std::int32_t>(*bag.Find(L"BCOL")));
  EXPECT_TRUE(std::holds_alternative<std::int32_t>(*bag.Find(L"PICPOS")));
  EXPECT_TRUE(std::holds_alternative<std::int16_t>(*bag.Find(L"MPTR")));
  EXPECT_TRUE(std::holds_alternative<bool>(*bag.Find(L"VALUE")));
  EXPECT_TRUE(std::holds_alternative<host::FontDesc>(*bag.Find(L"FONT")));
  EXPECT_TRUE(std::holds_alternative<host::PictureRef>(*bag.Find(L"PICN")));
}

TEST(VbButtonProps, StoreThenLoadRestoresEveryPropertyThroughTheTextForm) {
  host::test::TestParent parent;
  vbButton* a = vbButton::Create(VbPlacement(parent.hwnd()));
  host::PictureRef normal = host::test::SolidPicture(16, 16, RGB(255, 0, 0));
  host::PictureRef over = host::test::SolidPicture(8, 8, RGB(0, 0, 255));
  a->SetButtonType(9);
  a->SetCaption(L"&Go && stop");
  a->SetFont(host::MakeFont(host::FontDesc{L"Tahoma", 10, 700, true, true, false, 0}));
  a->SetColorScheme(2);
  a->SetShowFocusRect(false);
  a->SetBackColor(0x00112233);
  a->SetBackOver(0x00445566);
  a->SetForeColor(0x80000012);
  a->SetForeOver(0x00010203);
  a->SetMaskColor(0x00FF00FF);
  a->SetPictureNormal(normal);
  a->SetPictureOver(over);
  a->SetUseMaskColor(false);
  a->SetSoftBevel(true);
  a->SetPicturePosition(3);
  a->SetUseGreyscale(true);
  a->SetSpecialEffect(2);
  a->SetHandPointer(true);
  a->SetCheckBoxBehaviour(true);
  a->SetValue(true);
  a->SetEnabled(false);
  host::PropertyBag bag;
  a->Save(bag);
  std::wstring error;
  auto back = host::BagFromText(host::BagToText(bag), &error);
  ASSERT_TRUE(back) << error;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd(), 200), &*back);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->ButtonType(), 9);
  EXPECT_EQ(b->Caption(), L"&Go && stop");
  EXPECT_EQ(b->Font()->Desc(), (host::FontDesc{L"Tahoma", 10, 700, true, true, false, 0}));
  EXPECT_EQ(b->ColorScheme(), 2);
  EXPECT_FALSE(b->ShowFocusRect());
  EXPECT_EQ(b->BackColor(), 0x00112233u);
  EXPECT_EQ(b->BackOver(), 0x00445566u);
  EXPECT_EQ(b->ForeColor(), 0x80000012u);
  EXPECT_EQ(b->ForeOver(), 0x00010203u);
  EXPECT_EQ(b->MaskColor(), 0x00FF00FFu);
  ASSERT_TRUE(b->PictureNormal() && b->PictureOver());
  EXPECT_EQ(b->PictureNormal()->WidthPixels(), 16);
  EXPECT_EQ(b->PictureOver()->WidthPixels(), 8);
  EXPECT_FALSE(b->UseMaskColor());
  EXPECT_TRUE(b->SoftBevel());
  EXPECT_EQ(b->PicturePosition(), 3);
  EXPECT_TRUE(b->UseGreyscale());
  EXPECT_EQ(b->SpecialEffect(), 2);
  EXPECT_TRUE(b->HandPointer());
  EXPECT_EQ(b->MousePointer(), 99);
  EXPECT_TRUE(b->CheckBoxBehaviour());
  EXPECT_TRUE(b->Value());
  EXPECT_FALSE(b->Enabled());
  EXPECT_FALSE(IsWindowEnabled(b->hwnd()));
  EXPECT_EQ(b->AccessKey(), L'g');
  host::PropertyBag again;
  b->Save(again);
  EXPECT_EQ(host::BagToText(again), host::BagToText(bag)) << "a loaded control saves what it was loaded from";
}

TEST(VbButtonProps, PointerComesBackFromHandPointer) {
  host::test::TestParent parent;
  vbButton* a = vbButton::Create(VbPlacement(parent.hwnd()));
  ASSERT_TRUE(a->SetMousePointer(2).ok());
  host::PropertyBag bag;
  a->Save(bag);
  EXPECT_EQ(bag.ReadInt16(L"MPTR", 0), 2);
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd(), 200), &bag);
  EXPECT_EQ(b->MousePointer(), 1) << "HandPointer false: the arrow, whatever MPTR held";
  EXPECT_FALSE(b->MouseIcon());
  bag.Write(L"HAND", true);
  vbButton* c = vbButton::Create(VbPlacement(parent.hwnd(), 300), &bag);
  EXPECT_EQ(c->MousePointer(), 99);
}

TEST(VbButtonProps, MissingKeysTakeTheirFallbacks) {
  host::test::TestParent parent;
  vbButton* b = Load(parent, L"");
  EXPECT_EQ(b->ButtonType(), 2);
  EXPECT_EQ(b->Caption(), L"");
  EXPECT_TRUE(b->Enabled());
  EXPECT_EQ(b->ColorScheme(), 1);
  EXPECT_TRUE(b->ShowFocusRect());
  // The system colours as RGB values, not as system-colour references.
  EXPECT_EQ(b->BackColor(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(b->BackOver(), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(b->ForeColor(), GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(b->MaskColor(), 0x00C0C0C0u);
  EXPECT_TRUE(b->UseMaskColor());
  EXPECT_EQ(b->MousePointer(), 1);

  vbButton* twins = Load(parent, L"bcol = i32 0x00123456\nfcol = i32 0x00ABCDEF\n");
  EXPECT_EQ(twins->BackOver(), 0x00123456u) << "a colour without its hover twin hovers in the same colour";
  EXPECT_EQ(twins->ForeOver(), 0x00ABCDEFu);
}

TEST(VbButtonProps, BadStoredValuesLoadWithTheirFallbacks) {
  host::test::TestParent parent;
  // Out of range: kept, and drawn by their rules (no face, system colours,
  // a centred picture).
  vbButton* odd = Load(parent, L"btype = i32 99\ncoltype = i32 7\npicpos = i32 -3\nbcol = i32 0x000000FF\n");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->ButtonType(), 99);
  EXPECT_EQ(odd->ColorScheme(), 7);
  EXPECT_EQ(odd->Colors().face, GetSysColor(COLOR_BTNFACE)) << "a scheme outside 1 to 4 uses the system's colours";
  EXPECT_GT(odd->DrawCount(), 0u);
  EXPECT_EQ(host::test::PixelsNotOf(odd, GetSysColor(COLOR_BTNFACE), {0, 0, 87, 32}), 0)
      << "a type outside 1 to 14 draws only the face fill";
  odd->SetPictureNormal(host::test::SolidPicture(10, 10, RGB(0, 0, 255)));
  EXPECT_EQ(host::test::Pixel(odd, 43, 16), RGB(0, 0, 255)) << "the picture of a position outside 0 to 4 is centred";
  // (87 - 10) \ 2 = 38 and (32 - 10) \ 2 = 11: the picture's corners.
  EXPECT_EQ(host::test::Pixel(odd, 38, 11), RGB(0, 0, 255));
  EXPECT_EQ(host::test::Pixel(odd, 47, 20), RGB(0, 0, 255));
  EXPECT_NE(host::test::Pixel(odd, 37, 10), RGB(0, 0, 255));

  // Wrongly typed: the bag reads its fallback.
  vbButton* typed = Load(parent, L"btype = str \"three\"\nfocusr = str \"x\"\nfont = i32 5\ntx = i32 12\n");
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->ButtonType(), 2);
  EXPECT_TRUE(typed->ShowFocusRect());
  EXPECT_EQ(typed->Caption(), L"12");
  EXPECT_EQ(typed->Font()->Desc().name, L"Tahoma") << "the control's current font";

  // A corrupt text form is refused with its line, before any control is made.
  std::wstring error;
  EXPECT_FALSE(host::BagFromText(L"btype = i32 3\nbcol = i32 zz\n", &error));
  EXPECT_NE(error.find(L"2"), std::wstring::npos) << error;
}

TEST(VbButtonProps, SettersNameTheirKeys) {
  host::test::TestParent parent;
  std::vector<std::wstring> keys;
  host::HostPlacement p = VbPlacement(parent.hwnd());
  p.onPropertyChanged = [&](std::wstring_view k) { keys.emplace_back(k); };
  vbButton* b = vbButton::Create(p);
  host::PictureRef pic = host::test::SolidPicture(4, 4, RGB(1, 2, 3));
  struct Case {
    std::function<void()> set;
    const wchar_t* key;
  } cases[] = {
      {[&] { b->SetBackColor(1); }, L"BCOL"},
      {[&] { b->SetBackOver(1); }, L"BCOLO"},
      {[&] { b->SetForeColor(1); }, L"FCOL"},
      {[&] { b->SetForeOver(1); }, L"FCOLO"},
      {[&] { b->SetMaskColor(1); }, L"MCOL"},
      {[&] { b->SetButtonType(4); }, L"BTYPE"},
      {[&] { b->SetCaption(L"x"); }, L"TX"},
      {[&] { b->SetEnabled(true); }, L"ENAB"},
      {[&] { b->SetFont(host::MakeFont({})); }, L"FONT"},
      {[&] { b->SetColorScheme(3); }, L"COLTYPE"},
      {[&] { b->SetShowFocusRect(true); }, L"FOCUSR"},
      {[&] { b->SetMousePointer(2); }, L"MPTR"},
      {[&] { b->SetHandPointer(true); }, L"HAND"},
      {[&] { b->SetSoftBevel(true); }, L"SOFT"},
      {[&] { b->SetPictureNormal(pic); }, L"PICN"},
      {[&] { b->SetPictureOver(pic); }, L"PICO"},
      {[&] { b->SetPicturePosition(2); }, L"PICPOS"},
      {[&] { b->SetUseMaskColor(false); }, L"UMCOL"},
      {[&] { b->SetUseGreyscale(true); }, L"NGREY"},
      {[&] { b->SetSpecialEffect(1); }, L"FX"},
      {[&] { b->SetCheckBoxBehaviour(true); }, L"CHECK"},
      {[&] { b->SetValue(true); }, L"VALUE"},
  };
  for (const Case& c : cases) {
    keys.clear();
    c.set();
    EXPECT_EQ(keys, (std::vector<std::wstring>{c.key})) << c.key;
  }
  keys.clear();
  b->SetFontBold(true);
  b->SetFontSize(12);
  EXPECT_TRUE(keys.empty()) << "the font's parts are not stored on their own";
  EXPECT_TRUE(b->FontBold());
  EXPECT_EQ(b->FontSize(), 12);
}

TEST(VbButtonProps, DesignTimeTwinsAndBoldType5) {
  host::test::TestParent parent;
  host::HostPlacement p = VbPlacement(parent.hwnd());
  p.ambient.userMode = false;
  vbButton* design = vbButton::Create(p);
  design->SetBackColor(0x00102030);
  design->SetForeColor(0x00405060);
  EXPECT_EQ(design->BackOver(), 0x00102030u);
  EXPECT_EQ(design->ForeOver(), 0x00405060u);
  design->SetButtonType(5);
  EXPECT_TRUE(design->FontBold());

  vbButton* run = vbButton::Create(VbPlacement(parent.hwnd(), 200));
  host::OleColor over = run->BackOver();
  run->SetBackColor(0x00102030);
  run->SetForeColor(0x00405060);
  EXPECT_EQ(run->BackOver(), over) << "at run time the hover twin stays";
  run->SetButtonType(5);
  EXPECT_FALSE(run->FontBold());
}

TEST(VbButtonProps, CaptionGivesAccessKeyAndWindowText) {
  host::test::TestParent parent;
  int changes = 0;
  host::HostPlacement p = VbPlacement(parent.hwnd());
  p.onPropertyChanged = [&](std::wstring_view key) { changes += key == L"TX"; };
  vbButton* b = vbButton::Create(p);
  struct Case {
    const wchar_t* caption;
    wchar_t key;
  } cases[] = {{L"&&Save", 0}, {L"Tom && Jerry", 0}, {L"Save &as", L'a'}, {L"A && &B", L'b'}, {L"x&", 0}};
  for (const Case& c : cases) {
    b->SetCaption(c.caption);
    EXPECT_EQ(b->AccessKey(), c.key) << c.caption;
    EXPECT_EQ(b->AccessKeys(), c.key ? std::wstring(1, c.key) : std::wstring()) << c.caption;
    wchar_t text[64];
    GetWindowTextW(b->hwnd(), text, 64);
    EXPECT_STREQ(text, c.caption) << "the window text keeps the ampersands";
  }
  // Text set on the window from outside is the caption, access key included.
  changes = 0;
  EXPECT_TRUE(SetWindowTextW(b->hwnd(), L"&Run"));
  EXPECT_EQ(b->Caption(), L"&Run");
  EXPECT_EQ(b->AccessKey(), L'r');
  EXPECT_EQ(changes, 1);
}

TEST(VbButtonProps, HandPointerShowsTheHand) {
  host::test::TestParent parent;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
  b->SetHandPointer(true);
  SendMessageW(b->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  // This test program has no cursor resource 101: the system's hand stands in.
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  b->SetHandPointer(false);
  EXPECT_EQ(b->MousePointer(), 1);
  SendMessageW(b->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(b->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(VbButtonProps, HandCursorIsTheProgramsOwnWhereItHasOne) {
  HMODULE program = LoadLibraryExW(VANTOREL_PROGRAM_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(program) << "the program file with the hand cursor";
  HCURSOR own = vb::HandCursorOf(program);
  EXPECT_TRUE(own);
  EXPECT_NE(own, LoadCursorW(nullptr, IDC_HAND));
  FreeLibrary(program);
  EXPECT_EQ(vb::HandCursorOf(GetModuleHandleW(L"kernel32.dll")), LoadCursorW(nullptr, IDC_HAND));
}

TEST(VbButtonLife, ThousandControlsLeaveNoGdiObjects) {
  host::test::TestParent parent;
  host::PictureRef pic = host::test::SolidPicture(16, 16, RGB(255, 0, 0));
  auto makeAndDestroy = [&](int i) {
    vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
    ASSERT_TRUE(b);
    b->SetButtonType(1 + i % 14);  // every shape and, for 11, a captured background
    b->SetPictureNormal(pic);
    SetFocus(b->hwnd());
    b->SetButtonType(14);
    b->SetBackColor(0x00FF0000);
    DestroyWindow(b->hwnd());
  };
  // One of each type first, so objects the system makes once on first use (its
  // fonts, brushes, caches) are counted before.
  for (int i = 0; i < 14; ++i) makeAndDestroy(i);
  host::test::Drain();
  DWORD before = test::GdiObjectCount();
  ASSERT_GT(before, 0u);
  for (int i = 0; i < 1000; ++i) makeAndDestroy(i);
  host::test::Drain();
  DWORD after = test::GdiObjectCount();
  EXPECT_EQ(after, before);
  std::printf("GDI objects before %lu, after %lu\n", before, after);
}

}  // namespace
}  // namespace vantorel::controls::test

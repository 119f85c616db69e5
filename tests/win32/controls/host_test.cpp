// The host: property bag and its text form, pictures, the drawing surface, and the
// translation of window messages into notifications.
#include <gtest/gtest.h>

#include "host/hosted_control.h"
#include "host_support.h"

namespace vantorel::controls {
namespace {

using test::Drain;
using test::TestParent;

TEST(PropertyBag, KeysMatchWithoutCaseAndKeepTheirOrder) {
  PropertyBag bag;
  bag.Write(L"ButtonStyle", std::int32_t{7});
  bag.Write(L"Caption", std::wstring(L"Replace"));
  bag.Write(L"BUTTONSTYLE", std::int32_t{3});  // replaces where it stands
  ASSERT_EQ(bag.Entries().size(), 2u);
  EXPECT_EQ(bag.Entries()[0].first, L"ButtonStyle");
  EXPECT_EQ(bag.ReadInt32(L"buttonstyle", 1), 3);
  EXPECT_EQ(bag.ReadText(L"caption", L"Button"), L"Replace");
  EXPECT_EQ(bag.ReadText(L"Missing", L"Button"), L"Button");
}

TEST(PropertyBag, WriteWithDefaultOmitsAndRemovesTheDefault) {
  PropertyBag bag;
  bag.Write(L"ForeColorPressed", std::int32_t{0xFF}, std::int32_t{0xFF});
  EXPECT_FALSE(bag.Has(L"ForeColorPressed"));
  bag.Write(L"ForeColorPressed", std::int32_t{0x10}, std::int32_t{0xFF});
  EXPECT_TRUE(bag.Has(L"ForeColorPressed"));
  bag.Write(L"forecolorpressed", std::int32_t{0xFF}, std::int32_t{0xFF});
  EXPECT_FALSE(bag.Has(L"ForeColorPressed"));
  // Without a default a value is always kept, defaults included.
  bag.Write(L"BTYPE", std::int32_t{0});
  EXPECT_TRUE(bag.Has(L"btype"));
}

TEST(PropertyBag, ReadsConvertBetweenNumberKindsAndFallBackWhenTheyCannot) {
  PropertyBag bag;
  bag.Write(L"Big", std::int32_t{70000});
  bag.Write(L"Small", std::int16_t{-3});
  bag.Write(L"Flag", true);
  bag.Write(L"Text", std::wstring(L"x"));
  EXPECT_EQ(bag.ReadInt16(L"Big", 5), 5);  // does not fit 16 bits
  EXPECT_EQ(bag.ReadInt32(L"Small", 0), -3);
  EXPECT_EQ(bag.ReadInt32(L"Flag", 0), -1);  // True is -1
  EXPECT_TRUE(bag.ReadBool(L"Small", false));
  EXPECT_EQ(bag.ReadInt32(L"Text", 9), 9);
  EXPECT_EQ(bag.ReadFont(L"Text", FontDesc{}).name, FontDesc{}.name);
}

// A colour is its OLE_COLOR bits as a signed 32-bit number: a system colour
// (high bit set) is stored negative and reads back as the same colour.
TEST(PropertyBag, ColoursAreTheirBitsAsSignedNumbers) {
  PropertyBag bag;
  const OleColor buttonFace = kSystemColorFlag | COLOR_BTNFACE;
  bag.WriteColor(L"BackColor", buttonFace, 0x00FFFFFF);
  EXPECT_EQ(bag.ReadInt32(L"BackColor", 0), -0x7FFFFFFF - 1 + COLOR_BTNFACE);
  EXPECT_EQ(bag.ReadColor(L"BackColor", 0), buttonFace);
  bag.WriteColor(L"BackColor", 0x00FFFFFF, 0x00FFFFFF);
  EXPECT_FALSE(bag.Has(L"BackColor"));
  EXPECT_EQ(bag.ReadColor(L"BackColor", 0x00123456), 0x00123456u);
  bag.WriteColor(L"MCOL", 0x00C0C0C0);
  EXPECT_EQ(bag.ReadInt32(L"MCOL", 0), 0xC0C0C0);
  bag.Write(L"FCOL", std::int16_t{-1});  // a number of another width converts
  EXPECT_EQ(bag.ReadColor(L"FCOL", 0), 0xFFFFFFFFu);
}

PropertyBag EveryKindBag() {
  PropertyBag bag;
  bag.Write(L"_extentx", std::int32_t{2355});
  bag.Write(L"BackColor", static_cast<std::int32_t>(0x8000000Fu));
  bag.Write(L"Negative", std::int32_t{-7});
  bag.Write(L"MousePointer", std::int16_t{99});
  bag.Write(L"Value", true);
  bag.Write(L"FocusRect", false);
  bag.Write(L"Caption", std::wstring(L"Say \"hi\"\\\n\tnow \u00e9\x01"));
  bag.Write(L"Font", FontDesc{L"Tahoma", 8.25, 700, true, false, true, 204});
  bag.Write(L"Picture", PictureRef{});
  return bag;
}

TEST(BagText, RoundTripsEveryKindOfValue) {
  PropertyBag bag = EveryKindBag();
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(WindowDc().get(), 3, 2));
  PictureRef pic = Picture::FromBitmap(bitmap.get());
  ASSERT_TRUE(pic);
  bag.Write(L"MouseIcon", pic);

  std::wstring text = BagToText(bag);
  std::wstring error;
  auto back = BagFromText(text, &error);
  ASSERT_TRUE(back) << error;
  EXPECT_TRUE(*back == bag) << text;
  EXPECT_EQ(BagToText(*back), text);
  EXPECT_NE(text.find(L"BackColor = i32 0x8000000F\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"Font = font \"Tahoma\" 8.25 700 1 0 1 204\n"), std::wstring::npos);
  PictureRef loaded = back->ReadPicture(L"MouseIcon", nullptr);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->WidthPixels(), 3);
  EXPECT_EQ(loaded->HeightPixels(), 2);
}

TEST(BagText, RefusesBadLinesAndSaysWhere) {
  struct Case {
    const wchar_t* text;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"a = i32 1\nb i32 2\n", L"line 2: expected \"key = type value\""},
      {L"a = x32 1", L"line 1: unknown type 'x32' (expected i32, i16, bool, str, font or pic)"},
      {L"a = i32 4294967296", L"line 1: expected a 32-bit integer"},
      {L"a = i32 0x123456789", L"line 1: expected a 32-bit integer"},
      {L"a = i16 40000", L"line 1: expected a 16-bit integer"},
      {L"# c\n\na = str \"open", L"line 3: expected a quoted text"},
      {L"a = str \"x\" y", L"line 1: unexpected text after the value"},
      {L"a = bool yes", L"line 1: expected true or false"},
      {L"a = i32 1\nA = i32 2", L"line 2: the key A appears twice"},
      {L"a = pic 0A0", L"line 1: expected none or an even number of hex digits"},
      {L"a = pic 424D00", L"line 1: picture: bitmap file too short"},
      {L"a = font \"T\" 0 400 0 0 0 0", L"line 1: expected a font size in points"},
  };
  for (const Case& c : cases) {
    std::wstring error;
    EXPECT_FALSE(BagFromText(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(BagText, AcceptsHexAndCommentsAndWindowsLineEnds) {
  std::wstring error;
  auto bag = BagFromText(L"# stored values\r\n  BackColor =  i32   0x00F1B39A \r\nMousePointer = i16 0x63\r\n", &error);
  ASSERT_TRUE(bag) << error;
  EXPECT_EQ(bag->ReadInt32(L"backcolor", 0), 0x00F1B39A);
  EXPECT_EQ(bag->ReadInt16(L"mousepointer", 0), 99);
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> v) { return {v.begin(), v.end()}; }

TEST(Picture, RefusesFilesWhoseImageRunsPastTheEnd) {
  std::wstring error;
  // An icon directory with one entry whose image would end past the file.
  auto ico = Bytes({0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0x40, 0, 0, 0, 22, 0, 0, 0});
  EXPECT_FALSE(Picture::FromBytes(ico, &error));
  EXPECT_EQ(error, L"the first image runs past the end of the file");
  EXPECT_FALSE(Picture::FromBytes(Bytes({1, 2, 3}), &error));
  EXPECT_EQ(error, L"not a bitmap, icon or cursor file");
}

TEST(Picture, IconsAndCursorsReadFromTheirFiles) {
  std::wstring error;
  PictureRef icon = Picture::FromBytes(test::IconFile(1, 0x33, 0x66, 0x99), &error);
  ASSERT_TRUE(icon) << error;
  EXPECT_EQ(icon->kind(), Picture::Kind::Icon);
  EXPECT_EQ(icon->WidthPixels(), 16);
  EXPECT_EQ(icon->WidthHimetric(), 423);
  BITMAPINFO bmi{};
  bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  GdiObject<HBITMAP> target(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    MemoryDc dc;
    ScopedSelect selected(dc.get(), target.get());
    ASSERT_TRUE(icon->Draw(dc.get(), 2, 3));
    EXPECT_EQ(GetPixel(dc.get(), 2, 3), RGB(0x99, 0x66, 0x33));
    EXPECT_EQ(GetPixel(dc.get(), 17, 18), RGB(0x99, 0x66, 0x33));
    EXPECT_EQ(GetPixel(dc.get(), 1, 3), 0u);
  }

  PictureRef cursor = Picture::FromBytes(test::IconFile(2, 0, 0, 0), &error);
  ASSERT_TRUE(cursor) << error;
  EXPECT_EQ(cursor->kind(), Picture::Kind::Cursor);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor->Icon(), &info));
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 2u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

// Records every notification the host delivers, in order.
class Probe final : public HostedControl {
 public:
  static Probe* Make(HWND parent, const PropertyBag* bag = nullptr) {
    auto* p = new Probe;
    HostPlacement placement = test::Placement(parent, 300, 300, 1335, 375);
    return p->CreateHosted(placement, bag) ? p : nullptr;
  }
  std::vector<std::wstring> log;

 private:
  void Add(std::wstring s) { log.push_back(std::move(s)); }
  static std::wstring Mouse(const wchar_t* name, std::int16_t b, std::int16_t s, float x, float y) {
    return std::wstring(name) + L" " + std::to_wstring(b) + L" " + std::to_wstring(s) + L" " +
           std::to_wstring(static_cast<int>(x)) + L" " + std::to_wstring(static_cast<int>(y));
  }
  void OnInitNew() override { Add(L"InitNew"); }
  void OnReadProperties(const PropertyBag&) override { Add(L"ReadProperties"); }
  void OnShow() override { Add(L"Show"); }
  void OnResize() override { Add(L"Resize"); }
  void OnMouseDown(std::int16_t b, std::int16_t s, float x, float y) override { Add(Mouse(L"MouseDown", b, s, x, y)); }
  void OnMouseUp(std::int16_t b, std::int16_t s, float x, float y) override { Add(Mouse(L"MouseUp", b, s, x, y)); }
  void OnMouseMove(std::int16_t b, std::int16_t s, float x, float y) override { Add(Mouse(L"MouseMove", b, s, x, y)); }
  void OnClick() override { Add(L"Click"); }
  void OnDblClick() override { Add(L"DblClick"); }
  void OnKeyDown(std::int16_t k, std::int16_t s) override { Add(L"KeyDown " + std::to_wstring(k) + L" " + std::to_wstring(s)); }
  void OnKeyUp(std::int16_t k, std::int16_t s) override { Add(L"KeyUp " + std::to_wstring(k) + L" " + std::to_wstring(s)); }
  void OnKeyPress(std::int16_t a) override { Add(L"KeyPress " + std::to_wstring(a)); }
  void OnGotFocus() override { Add(L"GotFocus"); }
  void OnLostFocus() override { Add(L"LostFocus"); }
  void OnAccessKeyPress(std::int16_t a) override { Add(L"AccessKey " + std::to_wstring(a)); }
  void OnAmbientChanged(std::wstring_view name) override { Add(L"AmbientChanged " + std::wstring(name)); }
};

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

TEST(Surface, SizesInPixelsAndTwips) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  ASSERT_EQ(s.LogPixelsX(), 96) << "the tests expect the default 96 dpi";
  EXPECT_EQ(s.TwipsPerPixelX(), 15.0);
  EXPECT_EQ(s.ScaleWidth(), 89);
  EXPECT_EQ(s.WidthTwips(), 1335);
  EXPECT_EQ(s.HeightTwips(), 375);
  s.SetSizeTwips(300, 1200);
  EXPECT_EQ(s.ScaleWidth(), 20);
  EXPECT_EQ(s.ScaleHeight(), 80);
  EXPECT_EQ(s.HimetricToPixelsX(2540), 96.0);
}

TEST(Surface, ClearsToTheBackColourAndDrawsWithThePen) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  s.SetBackColor(0x8000000F);
  s.Clear();
  EXPECT_EQ(DibToColorRef(s.PixelAt(10, 10)), GetSysColor(COLOR_BTNFACE));
  s.SetBackColor(0x00123456);
  s.Clear();
  EXPECT_EQ(s.PixelAt(0, 0), 0x563412u);
  s.SetForeColor(0x000000FF);
  MoveToEx(s.Hdc(), 0, 3, nullptr);
  LineTo(s.Hdc(), 5, 3);
  EXPECT_EQ(DibToColorRef(s.PixelAt(4, 3)), 0x0000FFu);
  EXPECT_EQ(DibToColorRef(s.PixelAt(5, 3)), 0x123456u) << "the end pixel is not drawn";
  // Figures are outlines only.
  Rectangle(s.Hdc(), 10, 10, 20, 20);
  EXPECT_EQ(DibToColorRef(s.PixelAt(15, 15)), 0x123456u);
  EXPECT_EQ(DibToColorRef(s.PixelAt(10, 15)), 0x0000FFu);
  PictureRef image = s.CurrentImage();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->WidthPixels(), 89);
  EXPECT_EQ(image->WidthHimetric(), 2355);
}

TEST(Surface, TransparentBackStyleShowsTheParentWhereTheMaskColourIs) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  s.SetBackColor(0x00123456);
  s.Clear();
  s.SetForeColor(0);
  MoveToEx(s.Hdc(), 0, 0, nullptr);
  LineTo(s.Hdc(), 10, 0);
  s.SetMaskColor(0x00123456);
  s.CommitMaskPicture();
  s.SetBackStyle(BackStyle::Transparent);
  // Print the window as the screen would show it.
  test::PrintTarget mem(89, 25);
  SendMessageW(p->Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 5, 0), 0u);
  EXPECT_EQ(GetPixel(mem.get(), 5, 5), GetSysColor(COLOR_WINDOW));
  s.SetBackStyle(BackStyle::Opaque);
  SendMessageW(p->Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 5, 5), 0x123456u);
}

TEST(Surface, PointerKindsAndPictures) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  EXPECT_EQ(s.SetMousePointer(16), kInvalidPropertyValue);
  EXPECT_EQ(s.MousePointer(), 0);
  EXPECT_TRUE(s.SetMousePointer(2).ok());
  EXPECT_EQ(s.CurrentPointer(), LoadCursorW(nullptr, IDC_CROSS));
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(WindowDc().get(), 4, 4));
  PictureRef pic = Picture::FromBitmap(bitmap.get());
  EXPECT_EQ(s.SetMouseIcon(pic), kInvalidPicture);
  EXPECT_FALSE(s.MouseIcon());
  std::wstring error;
  PictureRef hand = Picture::FromBytes(test::IconFile(2, 0, 0, 0), &error);
  EXPECT_TRUE(s.SetMouseIcon(hand).ok());
  EXPECT_TRUE(s.SetMousePointer(99).ok());
  EXPECT_EQ(s.CurrentPointer(), static_cast<HCURSOR>(hand->Icon()));
  EXPECT_EQ(s.SetFont(nullptr), kInvalidPropertyValue);
}

}  // namespace
}  // namespace vantorel::controls

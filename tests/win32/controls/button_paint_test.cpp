// The paint pipeline: pixels of the backing image at chosen points, and one hash
// per look over the whole image.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace vantorel {
namespace {

using test::Drain;
using test::ImageHash;
using test::MainWindowBag;
using test::MovePointer;
using test::Pixel;
using test::Placement;
using test::TestParent;

// Colours as COLORREF (0x00BBGGRR), the way the stored values write them.
constexpr COLORREF kMainBack = 0xF1B39A;
constexpr COLORREF kMainHover = 0xFDF7F4;
constexpr COLORREF kMainPressed = 0xFAE6DD;

Button* MainButton(TestParent& parent) {
  PropertyBag bag = MainWindowBag();
  Button* b = Button::Create(Placement(parent.hwnd()), &bag);
  Drain();
  return b;
}

// Channel-wise: is c between a and b (inclusive)?
bool Between(COLORREF c, COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8) {
    int v = (c >> shift) & 0xFF, lo = (a >> shift) & 0xFF, hi = (b >> shift) & 0xFF;
    if (lo > hi) std::swap(lo, hi);
    if (v < lo || v > hi) return false;
  }
  return true;
}

// The two style-7 fills of a 25-pixel-high face: Y at row 0 shading towards the
// state colour, a step at row 12 back to the state colour, shading towards Y.
void ExpectStyleSevenRows(Button* b, COLORREF state, COLORREF y) {
  for (int x : {0, 44, 88}) {
    EXPECT_EQ(Pixel(b, x, 0), y) << "x " << x;
    EXPECT_EQ(Pixel(b, x, 12), state) << "x " << x;
  }
  COLORREF row11 = Pixel(b, 44, 11);
  EXPECT_TRUE(Between(row11, y, state)) << std::hex << row11;
  EXPECT_NE(row11, state) << "the first fill reaches the state colour only at row 17";
  EXPECT_NE(row11, Pixel(b, 44, 12)) << "a step in colour at row 12";
  COLORREF row24 = Pixel(b, 44, 24);
  EXPECT_TRUE(Between(row24, state, y)) << std::hex << row24;
  EXPECT_NE(row24, y) << "the second fill would reach Y only at row 50";
}

TEST(ButtonPaint, MainWindowButtonAtRestHoverPressedAndDisabled) {
  TestParent parent;
  Button* b = MainButton(parent);
  ASSERT_EQ(b->surface().ScaleHeight(), 25);
  ExpectStyleSevenRows(b, kMainBack, 0xEFEFEF);
  EXPECT_EQ(b->surface().MaskColor(), kMainBack);

  MovePointer(b->hwnd(), 10, 10);
  ASSERT_TRUE(b->Hovering());
  ExpectStyleSevenRows(b, kMainHover, 0xFEFCF7);

  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ExpectStyleSevenRows(b, kMainPressed, 0xF8ECD5);
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  MovePointer(b->hwnd(), 200, 10);

  b->SetEnabled(false);
  ExpectStyleSevenRows(b, 0xF0F0F0, 0xF4F4F4);
}

TEST(ButtonPaint, ToggleThatIsOnPaintsPressedWithThePointerElsewhere) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonType(1);
  b->SetValue(true);
  EXPECT_TRUE(b->Pressed());
  ExpectStyleSevenRows(b, kMainPressed, 0xF8ECD5);
}

TEST(ButtonPaint, SizeRules) {
  TestParent parent;
  Button* small = Button::Create(Placement(parent.hwnd(), 0, 0, 300, 300));
  EXPECT_EQ(small->surface().WidthTwips(), 375);
  EXPECT_EQ(small->surface().HeightTwips(), 375);

  Button* tall = Button::Create(Placement(parent.hwnd(), 0, 600, 1200, 500));
  tall->SetButtonShape(5);
  EXPECT_EQ(tall->surface().WidthTwips(), 1200);
  EXPECT_EQ(tall->surface().HeightTwips(), 1200);
  EXPECT_EQ(tall->surface().ScaleHeight(), 80);

  Button* rounded = Button::Create(Placement(parent.hwnd(), 2000, 0, 1200, 500));
  rounded->SetButtonShape(1);
  EXPECT_EQ(rounded->surface().HeightTwips(), 495) << "500 twips is 33 pixels";
  rounded->SetButtonShape(2);
  EXPECT_EQ(rounded->surface().HeightTwips(), 1200);
  // A square made from a wide control shrinks its height too.
  Button* flat = Button::Create(Placement(parent.hwnd(), 4000, 0, 600, 1500));
  flat->SetButtonShape(3);
  EXPECT_EQ(flat->surface().HeightTwips(), 600);
}

TEST(ButtonPaint, BackgroundModesPlaceTheirColoursAtTheVertices) {
  TestParent parent;
  Button* b = Button::Create(Placement(parent.hwnd()));
  b->SetButtonStyle(0);  // no style step: the background alone
  const COLORREF x = 0x0000FF, y = 0xFF0000;
  b->SetBackColor(x);
  b->SetBackColorPressed(y);
  b->SetBackColorHover(0x00FF00);
  struct Probe {
    int mode, px, py;
    COLORREF expected;
  };
  const Probe probes[] = {
      {1, 44, 12, x},  {2, 0, 5, x},  {3, 5, 0, y},   {4, 5, 0, x},  {4, 5, 12, y},
      {5, 5, 0, y},    {5, 5, 12, x}, {6, 0, 5, x},   {6, 44, 5, y}, {7, 0, 5, y},
      {7, 44, 5, x},   {3, 5, 24, 0}, {2, 88, 5, 0},
  };
  for (const Probe& p : probes) {
    b->SetButtonStyleColors(p.mode);
    if (p.expected != 0) {
      EXPECT_EQ(Pixel(b, p.px, p.py), p.expected) << "mode " << p.mode << " at " << p.px << "," << p.py;
    } else {
      // The far edge is one pixel short of the vertex: nearly, not exactly, X or Y.
      COLORREF c = Pixel(b, p.px, p.py);
      EXPECT_TRUE(Between(c, x, y)) << std::hex << c;
      EXPECT_NE(c, x);
      EXPECT_NE(c, y);
    }
  }
  // Modes above 7 leave the surface as cleared; 0 makes it transparent.
  b->SetButtonStyleColors(8);
  EXPECT_EQ(b->surface().GetBackStyle(), BackStyle::Opaque);
  b->SetButtonStyleColors(0);
  EXPECT_EQ(b->surface().GetBackStyle(), BackStyle::Transparent);
}

TEST(ButtonPaint, TransparentBackgroundShowsTheParent) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyleColors(0);
  b->SetDropDown(3);
  EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu) << "no fill, but the border colours are assigned";
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 89, 25);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(b->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem, 40, 12), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(mem, 6, 5), 0u) << "the chevrons stay";
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST(ButtonPaint, DropDownOrigins) {
  TestParent parent;
  Button* b = MainButton(parent);
  struct Case {
    std::int32_t dropDown;
    int x0, y0;
  };
  for (Case c : {Case{2, 68, 4}, Case{1, 2, 4}, Case{3, 0, 0}, Case{-5, 0, 0}}) {
    b->SetDropDown(c.dropDown);
    // Polyline (6,5) -> (9,8) -> (13,4): the end pixel of a line is not drawn.
    EXPECT_EQ(Pixel(b, c.x0 + 6, c.y0 + 5), 0u) << c.dropDown;
    EXPECT_EQ(Pixel(b, c.x0 + 9, c.y0 + 8), 0u) << c.dropDown;
    EXPECT_EQ(Pixel(b, c.x0 + 12, c.y0 + 5), 0u) << c.dropDown;
    EXPECT_NE(Pixel(b, c.x0 + 13, c.y0 + 4), 0u) << c.dropDown;
    EXPECT_EQ(Pixel(b, c.x0 + 9, c.y0 + 12), 0u) << c.dropDown;
    EXPECT_EQ(Pixel(b, c.x0 + 9, c.y0 + 11), 0u) << c.dropDown;
    EXPECT_NE(Pixel(b, c.x0 + 9, c.y0 + 10), 0u) << c.dropDown;
  }
  b->SetDropDown(0);
  EXPECT_NE(Pixel(b, 74, 9), 0u);
}

TEST(ButtonPaint, FocusDotsBlackenPenColouredPixelsOnTwoLattices) {
  TestParent parent;
  Button* b = Button::Create(Placement(parent.hwnd()));
  b->SetButtonStyle(0);
  const COLORREF green = 0x00FF00;
  b->SetBackColor(green);
  b->SetBorderColor(green);  // the pen: every face pixel matches it
  SetFocus(b->hwnd());
  Drain();
  ASSERT_TRUE(b->Focused());
  EXPECT_EQ(Pixel(b, 3, 3), 0u);
  EXPECT_EQ(Pixel(b, 2, 2), 0u);
  EXPECT_EQ(Pixel(b, 86, 22), 0u);
  EXPECT_EQ(Pixel(b, 85, 21), 0u);
  EXPECT_EQ(Pixel(b, 3, 2), green);
  EXPECT_EQ(Pixel(b, 1, 1), green);
  EXPECT_EQ(Pixel(b, 87, 23), green);
  EXPECT_EQ(Pixel(b, 88, 22), green);
  std::uint32_t dotted = ImageHash(b);

  b->SetFocusRect(false);
  EXPECT_EQ(Pixel(b, 3, 3), green);
  b->SetFocusRect(true);
  EXPECT_EQ(ImageHash(b), dotted);
  // A system colour as the pen never matches a pixel.
  b->SetBorderColor(0x8000000F);
  EXPECT_EQ(Pixel(b, 3, 3), green);
  // Styles 4, 6 and 7 mark focus their own way.
  b->SetBorderColor(green);
  b->SetButtonStyle(7);
  EXPECT_NE(Pixel(b, 3, 3), 0u);
  SetFocus(parent.hwnd());
  Drain();
  b->SetButtonStyle(0);
  b->SetBackColor(green);
  b->SetBorderColor(green);
  EXPECT_EQ(Pixel(b, 3, 3), green);
}

TEST(ButtonPaint, StyleFillsAndDisabledBorders) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyle(6);  // preset: back D2DEDD, pressed FFFFFF; mode 3
  EXPECT_EQ(Pixel(b, 5, 0), 0xFFFFFFu);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0x8DABABu);
  EXPECT_EQ(Pixel(b, 5, 0), 0xDBE7E7u);
  EXPECT_EQ(Pixel(b, 5, 24), 0xDBE7E7u);
  b->SetEnabled(true);
  b->SetButtonStyle(8);
  b->SetBackColor(0x0000FF);
  EXPECT_EQ(b->BorderColor(), 0x0000FFu);
  EXPECT_EQ(Pixel(b, 5, 12), 0x0000FFu);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0xA4B6B7u);
  EXPECT_EQ(Pixel(b, 5, 12), 0xA4B6B7u);
  b->SetEnabled(true);
  b->SetButtonStyle(5);
  b->SetBackColor(0x00FF00);
  EXPECT_EQ(b->BorderColor(), 0x8000000Fu);
  EXPECT_EQ(Pixel(b, 5, 0), 0x00FF00u);
  EXPECT_EQ(Pixel(b, 5, 24), 0x00FF00u);
}

TEST(ButtonPaint, PointedShapesTurnTheStyleSevenFillsSideways) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonShape(4);
  ASSERT_EQ(b->surface().ScaleHeight(), 89);
  // Horizontal: Y at the left edge, the second fill starting from X at W/2.
  EXPECT_EQ(Pixel(b, 0, 40), 0xEFEFEFu);
  EXPECT_EQ(Pixel(b, 44, 40), kMainBack);
  EXPECT_EQ(Pixel(b, 44, 0), kMainBack);
}

// Whole-image hashes, one per look; they change only on purpose.
struct Look {
  const char* name;
  std::function<void(Button*, HWND)> setup;
  std::uint32_t hash;
};

TEST(ButtonPaint, HashPerLook) {
  const Look looks[] = {
      {"main at rest", [](Button*, HWND) {}, 0x0CB124E6},
      {"main hover", [](Button* b, HWND) { MovePointer(b->hwnd(), 10, 10); }, 0x26662729},
      {"main pressed", [](Button* b, HWND) { SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }, 0xE1BBC1E6},
      {"main disabled", [](Button* b, HWND) { b->SetEnabled(false); }, 0x5FB4B409},
      {"main drop-down 2", [](Button* b, HWND) { b->SetDropDown(2); }, 0x65EB4F78},
      {"main shape 7", [](Button* b, HWND) { b->SetButtonShape(7); }, 0x5A134B6E},
      {"style 8 shape 8", [](Button* b, HWND) { b->SetButtonStyle(8); b->SetButtonShape(8); }, 0x0ABADDBC},
      {"style 8", [](Button* b, HWND) { b->SetButtonStyle(8); b->SetBackColor(0x336699); }, 0x1A0EA523},
      {"style 5 hover", [](Button* b, HWND) { b->SetButtonStyle(5); MovePointer(b->hwnd(), 10, 10); }, 0x7E1A1587},
      {"style 5 pressed", [](Button* b, HWND) { b->SetButtonStyle(5); SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }, 0xE8F4956C},
      {"style 6 pressed", [](Button* b, HWND) { b->SetButtonStyle(6); SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }, 0x29C1E329},
      {"mode 4", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(4); }, 0x44491394},
      {"mode 5", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(5); }, 0x3D12C4CC},
      {"mode 6", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(6); }, 0xD6F814B3},
      {"mode 7", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(7); }, 0xB3C19967},
  };
  for (const Look& look : looks) {
    TestParent parent;
    Button* b = MainButton(parent);
    look.setup(b, parent.hwnd());
    Drain();
    std::uint32_t h = ImageHash(b);
    EXPECT_EQ(h, look.hash) << look.name << ": 0x" << std::hex << h;
    ReleaseCapture();
  }
}

}  // namespace
}  // namespace vantorel

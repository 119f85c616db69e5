// The paint pipeline: pixels of the backing image at chosen points (the hash of
// each whole look is in button_looks_test.cpp).
#include <gtest/gtest.h>

#include "button_paint_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::ImageHash;
using host::test::MovePointer;
using host::test::Pixel;
using host::test::Placement;
using host::test::TestParent;
using test::kMainBack;
using test::kMainHover;
using test::kMainPressed;
using test::MainButton;
using test::MainWindowBag;
using test::Mix;
using test::Near;

// The two style-7 fills of a 25-pixel-high face, read at column 10 (clear of the
// caption and inside the frame): the first runs from Y at row 0 to the state
// colour at row 17, the second from the state colour at row 12 towards Y, which it
// would reach at row 50. So there is a step at row 12.
void ExpectStyleSevenRows(Button* b, COLORREF state, COLORREF y) {
  EXPECT_EQ(host::test::Pixel(b, 10, 12), state);
  EXPECT_EQ(host::test::Pixel(b, 80, 12), state);
  for (int row = 2; row <= 11; ++row)
    EXPECT_TRUE(Near(host::test::Pixel(b, 10, row), Mix(y, state, row / 17.0)))
        << "row " << row << ": " << std::hex << host::test::Pixel(b, 10, row);
  for (int row = 13; row <= 22; ++row)
    EXPECT_TRUE(Near(host::test::Pixel(b, 10, row), Mix(state, y, (row - 12) / 38.0)))
        << "row " << row << ": " << std::hex << host::test::Pixel(b, 10, row);
  EXPECT_NE(host::test::Pixel(b, 10, 11), state) << "the first fill reaches the state colour only at row 17";
}

TEST(ButtonPaint, MainWindowButtonAtRestHoverPressedAndDisabled) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  ASSERT_EQ(b->surface().ScaleHeight(), 25);
  ExpectStyleSevenRows(b, kMainBack, 0xEFEFEF);
  EXPECT_EQ(b->surface().MaskColor(), kMainBack);

  host::test::MovePointer(b->hwnd(), 10, 10);
  ASSERT_TRUE(b->Hovering());
  ExpectStyleSevenRows(b, kMainHover, 0xFEFCF7);

  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ExpectStyleSevenRows(b, kMainPressed, 0xF8ECD5);
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::MovePointer(b->hwnd(), 200, 10);

  b->SetEnabled(false);
  ExpectStyleSevenRows(b, 0xF0F0F0, 0xF4F4F4);
}

TEST(ButtonPaint, ToggleThatIsOnPaintsPressedWithThePointerElsewhere) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonType(1);
  b->SetValue(true);
  EXPECT_TRUE(b->Pressed());
  ExpectStyleSevenRows(b, kMainPressed, 0xF8ECD5);
}

TEST(ButtonPaint, SizeRules) {
  host::test::TestParent parent;
  Button* small = Button::Create(host::test::Placement(parent.hwnd(), 0, 0, 300, 300));
  EXPECT_EQ(small->surface().WidthTwips(), 375);
  EXPECT_EQ(small->surface().HeightTwips(), 375);

  Button* tall = Button::Create(host::test::Placement(parent.hwnd(), 0, 600, 1200, 500));
  tall->SetButtonShape(5);
  EXPECT_EQ(tall->surface().WidthTwips(), 1200);
  EXPECT_EQ(tall->surface().HeightTwips(), 1200);
  EXPECT_EQ(tall->surface().ScaleHeight(), 80);

  Button* rounded = Button::Create(host::test::Placement(parent.hwnd(), 2000, 0, 1200, 500));
  rounded->SetButtonShape(1);
  EXPECT_EQ(rounded->surface().HeightTwips(), 495) << "500 twips is 33 pixels";
  rounded->SetButtonShape(2);
  EXPECT_EQ(rounded->surface().HeightTwips(), 1200);
  // A square made from a wide control shrinks its height too.
  Button* flat = Button::Create(host::test::Placement(parent.hwnd(), 4000, 0, 600, 1500));
  flat->SetButtonShape(3);
  EXPECT_EQ(flat->surface().HeightTwips(), 600);
}

TEST(ButtonPaint, BackgroundModesPlaceTheirColoursAtTheVertices) {
  host::test::TestParent parent;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()));
  // A shape outside the table draws no face (and squares the control: 89 x 89),
  // so the background alone is seen.
  b->SetCaption(L"");
  b->SetButtonShape(13);
  b->SetButtonStyle(0);  // no style step either
  ASSERT_EQ(b->surface().ScaleHeight(), 89);
  const COLORREF x = 0x0000FF, y = 0xFF0000;
  b->SetBackColor(x);
  b->SetBackColorPressed(y);
  b->SetBackColorHover(0x00FF00);
  struct Probe {
    int mode, px, py;
    COLORREF expected;
  };
  // W / 2 and H / 2 are 44.5, rounded to 44.
  const Probe probes[] = {
      {1, 44, 12, x}, {2, 0, 5, x},  {3, 5, 0, y},  {4, 5, 0, x},  {4, 5, 44, y}, {5, 5, 0, y},  {5, 5, 44, x},
      {6, 0, 5, x},   {6, 44, 5, y}, {7, 0, 5, y},  {7, 44, 5, x},
  };
  for (const Probe& p : probes) {
    b->SetButtonStyleColors(p.mode);
    EXPECT_EQ(host::test::Pixel(b, p.px, p.py), p.expected) << "mode " << p.mode << " at " << p.px << "," << p.py;
  }
  // The far edge is one pixel short of its vertex: nearly, not exactly, its colour.
  b->SetButtonStyleColors(2);
  EXPECT_TRUE(Near(host::test::Pixel(b, 88, 5), Mix(x, y, 88 / 89.0))) << std::hex << host::test::Pixel(b, 88, 5);
  EXPECT_NE(host::test::Pixel(b, 88, 5), y);
  b->SetButtonStyleColors(3);
  EXPECT_TRUE(Near(host::test::Pixel(b, 5, 88), Mix(y, x, 88 / 89.0))) << std::hex << host::test::Pixel(b, 5, 88);
  EXPECT_NE(host::test::Pixel(b, 5, 88), x);
  // Modes above 7 leave the surface as cleared; 0 makes it transparent.
  b->SetButtonStyleColors(8);
  EXPECT_EQ(b->surface().GetBackStyle(), host::BackStyle::Opaque);
  b->SetButtonStyleColors(0);
  EXPECT_EQ(b->surface().GetBackStyle(), host::BackStyle::Transparent);
}

TEST(ButtonPaint, HoveringMakesTheHoverColourTheSecondGradientColour) {
  host::test::TestParent parent;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()));
  b->SetCaption(L"");
  b->SetButtonShape(13);
  b->SetButtonStyle(0);
  const COLORREF x = 0x0000FF, pressed = 0xFF0000, hover = 0x00FF00;
  b->SetBackColor(x);
  b->SetBackColorPressed(pressed);
  b->SetBackColorHover(hover);
  host::test::MovePointer(b->hwnd(), 10, 10);
  ASSERT_TRUE(b->Hovering());
  struct Probe {
    int mode, px, py;
    COLORREF expected;
  };
  // The points where the second colour lies, and where the first still does.
  const Probe probes[] = {
      {3, 5, 0, hover}, {4, 5, 44, hover}, {5, 5, 0, hover}, {6, 44, 5, hover}, {7, 0, 5, hover},
      {2, 0, 5, x},     {4, 5, 0, x},      {6, 0, 5, x},     {7, 44, 5, x},
  };
  for (const Probe& p : probes) {
    b->SetButtonStyleColors(p.mode);
    EXPECT_EQ(host::test::Pixel(b, p.px, p.py), p.expected) << "mode " << p.mode << " at " << p.px << "," << p.py;
  }
  b->SetButtonStyleColors(2);
  EXPECT_TRUE(Near(host::test::Pixel(b, 88, 5), Mix(x, hover, 88 / 89.0))) << std::hex << host::test::Pixel(b, 88, 5);
  // Solid: the hover colour itself.
  b->SetButtonStyleColors(1);
  EXPECT_EQ(host::test::Pixel(b, 40, 40), hover);
  ReleaseCapture();
}

TEST(ButtonPaint, StyleSevenGetsNoFocusDotsAtEvenSizes) {
  host::test::TestParent parent;
  host::PropertyBag bag = MainWindowBag();
  // 90 x 26 pixels: the cyan focus frame's right column (x = 88) and bottom row
  // (y = 24) lie on the even lattice of the dotted pass.
  bag.Remove(L"_extentx");
  bag.Remove(L"_extenty");
  Button* b = Button::Create(host::test::Placement(parent.hwnd(), 150, 150, 1350, 390), &bag);
  SetFocus(b->hwnd());
  host::test::Drain();
  ASSERT_EQ(b->surface().ScaleWidth(), 90);
  ASSERT_EQ(b->surface().ScaleHeight(), 26);
  const COLORREF cyan = RGB(4, 204, 254);
  for (int y = 2; y <= 22; y += 2) EXPECT_EQ(host::test::Pixel(b, 88, y), cyan) << "row " << y;
  for (int x = 2; x <= 86; x += 2) EXPECT_EQ(host::test::Pixel(b, x, 24), cyan) << "column " << x;
  // The same size in style 1 does take the dots (on its grey focus mark).
  b->SetButtonStyle(1);
  EXPECT_EQ(host::test::Pixel(b, 4, 4), 0u);
}

TEST(ButtonPaint, TransparentBackgroundShowsTheParent) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyleColors(0);
  b->SetDropDown(3);
  EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu) << "no fill, but the border colours are assigned";
  host::test::PrintTarget mem(89, 25);
  SendMessageW(b->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 10, 12), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(mem.get(), 6, 5), 0u) << "the chevrons stay";
}

TEST(ButtonPaint, DropDownOrigins) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  struct Case {
    std::int32_t dropDown;
    int x0, y0;
  };
  for (Case c : {Case{2, 68, 4}, Case{1, 2, 4}, Case{3, 0, 0}, Case{-5, 0, 0}}) {
    b->SetDropDown(c.dropDown);
    // Polyline (6,5) -> (9,8) -> (13,4): the end pixel of a line is not drawn.
    EXPECT_EQ(host::test::Pixel(b, c.x0 + 6, c.y0 + 5), 0u) << c.dropDown;
    EXPECT_EQ(host::test::Pixel(b, c.x0 + 9, c.y0 + 8), 0u) << c.dropDown;
    EXPECT_EQ(host::test::Pixel(b, c.x0 + 12, c.y0 + 5), 0u) << c.dropDown;
    EXPECT_NE(host::test::Pixel(b, c.x0 + 13, c.y0 + 4), 0u) << c.dropDown;
    EXPECT_EQ(host::test::Pixel(b, c.x0 + 9, c.y0 + 12), 0u) << c.dropDown;
    EXPECT_EQ(host::test::Pixel(b, c.x0 + 9, c.y0 + 11), 0u) << c.dropDown;
    EXPECT_NE(host::test::Pixel(b, c.x0 + 9, c.y0 + 10), 0u) << c.dropDown;
  }
  b->SetDropDown(0);
  EXPECT_NE(host::test::Pixel(b, 74, 9), 0u);
}

TEST(ButtonPaint, FocusDotsBlackenPenColouredPixelsOnTwoLattices) {
  host::test::TestParent parent;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()));
  // No face renderer: the pen at the dotted pass is the border colour, here the
  // colour of every face pixel. 89 x 89 pixels.
  b->SetCaption(L"");
  b->SetButtonShape(13);
  b->SetButtonStyle(0);
  const COLORREF green = 0x00FF00;
  b->SetBackColor(green);
  b->SetBorderColor(green);
  SetFocus(b->hwnd());
  host::test::Drain();
  ASSERT_TRUE(b->Focused());
  EXPECT_EQ(host::test::Pixel(b, 3, 3), 0u);
  EXPECT_EQ(host::test::Pixel(b, 2, 2), 0u);
  EXPECT_EQ(host::test::Pixel(b, 86, 86), 0u);
  EXPECT_EQ(host::test::Pixel(b, 85, 85), 0u);
  EXPECT_EQ(host::test::Pixel(b, 3, 2), green);
  EXPECT_EQ(host::test::Pixel(b, 1, 1), green);
  EXPECT_EQ(host::test::Pixel(b, 87, 87), green);
  EXPECT_EQ(host::test::Pixel(b, 88, 86), green);
  std::uint32_t dotted = host::test::ImageHash(b);

  b->SetFocusRect(false);
  EXPECT_EQ(host::test::Pixel(b, 3, 3), green);
  b->SetFocusRect(true);
  EXPECT_EQ(host::test::ImageHash(b), dotted);
  // A system colour as the pen never matches a pixel.
  b->SetBorderColor(0x8000000F);
  EXPECT_EQ(host::test::Pixel(b, 3, 3), green);
  // Styles 4, 6 and 7 mark focus their own way. With style 7's border colour
  // (the pen when no face is drawn) as BackColor, row 44 starts the second
  // style-7 fill in exactly that colour: a dotted pass would blacken it.
  b->SetButtonStyle(7);
  b->SetButtonStyleColors(1);
  b->SetBackColor(0x8F8F8E);
  ASSERT_EQ(b->BorderColor(), 0x8F8F8Eu);
  EXPECT_EQ(host::test::Pixel(b, 2, 44), 0x8F8F8Eu);
  EXPECT_EQ(host::test::Pixel(b, 4, 44), 0x8F8F8Eu);
  b->SetButtonStyle(0);  // keeps the colours; the same pixels now take the dots
  b->SetBackColor(0x8F8F8E);
  EXPECT_EQ(host::test::Pixel(b, 2, 44), 0u);
  SetFocus(parent.hwnd());
  host::test::Drain();
  b->SetButtonStyle(0);
  b->SetBackColor(green);
  b->SetBorderColor(green);
  EXPECT_EQ(host::test::Pixel(b, 3, 3), green);
}

TEST(ButtonPaint, StyleFillsAndDisabledBorders) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyle(6);  // preset: back D2DEDD, pressed FFFFFF; mode 3
  EXPECT_EQ(b->ButtonStyleColors(), 3);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0x8DABABu);
  EXPECT_EQ(host::test::Pixel(b, 5, 3), 0xDBE7E7u);
  EXPECT_EQ(host::test::Pixel(b, 5, 21), 0xDBE7E7u);
  b->SetEnabled(true);
  b->SetButtonStyle(8);
  b->SetBackColor(0x0000FF);
  EXPECT_EQ(b->BorderColor(), 0x0000FFu);
  EXPECT_EQ(host::test::Pixel(b, 5, 12), 0x0000FFu);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0xA4B6B7u);
  EXPECT_EQ(host::test::Pixel(b, 5, 12), 0xA4B6B7u);
  b->SetEnabled(true);
  b->SetButtonStyle(5);
  b->SetBackColor(0x00FF00);
  EXPECT_EQ(b->BorderColor(), 0x8000000Fu);
  EXPECT_EQ(host::test::Pixel(b, 5, 2), 0x00FF00u);
  EXPECT_EQ(host::test::Pixel(b, 5, 22), 0x00FF00u);
}

TEST(ButtonPaint, PointedShapesTurnTheStyleSevenFillsSideways) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonShape(4);
  ASSERT_EQ(b->surface().ScaleHeight(), 89);
  // Horizontal: Y at the left edge, the second fill starting from X at W/2.
  EXPECT_EQ(host::test::Pixel(b, 0, 10), 0xEFEFEFu);
  EXPECT_EQ(host::test::Pixel(b, 44, 10), kMainBack);
  EXPECT_EQ(host::test::Pixel(b, 44, 0), kMainBack);
}

}  // namespace
}  // namespace vantorel::controls::test

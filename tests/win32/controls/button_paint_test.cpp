// The paint pipeline: pixels of the backing image at chosen points, and one hash
// per look over the whole image.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "test_support.h"

namespace vantorel::controls {
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

// Channel-wise a + (b - a) * t, the colour a gradient has at fraction t.
COLORREF Mix(COLORREF a, COLORREF b, double t) {
  COLORREF out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    double va = (a >> shift) & 0xFF, vb = (b >> shift) & 0xFF;
    out |= static_cast<COLORREF>(va + (vb - va) * t + 0.5) << shift;
  }
  return out;
}

bool Near(COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  return true;
}

// The two style-7 fills of a 25-pixel-high face, read at column 10 (clear of the
// caption and inside the frame): the first runs from Y at row 0 to the state
// colour at row 17, the second from the state colour at row 12 towards Y, which it
// would reach at row 50. So there is a step at row 12.
void ExpectStyleSevenRows(Button* b, COLORREF state, COLORREF y) {
  EXPECT_EQ(Pixel(b, 10, 12), state);
  EXPECT_EQ(Pixel(b, 80, 12), state);
  for (int row = 2; row <= 11; ++row)
    EXPECT_TRUE(Near(Pixel(b, 10, row), Mix(y, state, row / 17.0)))
        << "row " << row << ": " << std::hex << Pixel(b, 10, row);
  for (int row = 13; row <= 22; ++row)
    EXPECT_TRUE(Near(Pixel(b, 10, row), Mix(state, y, (row - 12) / 38.0)))
        << "row " << row << ": " << std::hex << Pixel(b, 10, row);
  EXPECT_NE(Pixel(b, 10, 11), state) << "the first fill reaches the state colour only at row 17";
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
    EXPECT_EQ(Pixel(b, p.px, p.py), p.expected) << "mode " << p.mode << " at " << p.px << "," << p.py;
  }
  // The far edge is one pixel short of its vertex: nearly, not exactly, its colour.
  b->SetButtonStyleColors(2);
  EXPECT_TRUE(Near(Pixel(b, 88, 5), Mix(x, y, 88 / 89.0))) << std::hex << Pixel(b, 88, 5);
  EXPECT_NE(Pixel(b, 88, 5), y);
  b->SetButtonStyleColors(3);
  EXPECT_TRUE(Near(Pixel(b, 5, 88), Mix(y, x, 88 / 89.0))) << std::hex << Pixel(b, 5, 88);
  EXPECT_NE(Pixel(b, 5, 88), x);
  // Modes above 7 leave the surface as cleared; 0 makes it transparent.
  b->SetButtonStyleColors(8);
  EXPECT_EQ(b->surface().GetBackStyle(), BackStyle::Opaque);
  b->SetButtonStyleColors(0);
  EXPECT_EQ(b->surface().GetBackStyle(), BackStyle::Transparent);
}

TEST(ButtonPaint, HoveringMakesTheHoverColourTheSecondGradientColour) {
  TestParent parent;
  Button* b = Button::Create(Placement(parent.hwnd()));
  b->SetCaption(L"");
  b->SetButtonShape(13);
  b->SetButtonStyle(0);
  const COLORREF x = 0x0000FF, pressed = 0xFF0000, hover = 0x00FF00;
  b->SetBackColor(x);
  b->SetBackColorPressed(pressed);
  b->SetBackColorHover(hover);
  MovePointer(b->hwnd(), 10, 10);
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
    EXPECT_EQ(Pixel(b, p.px, p.py), p.expected) << "mode " << p.mode << " at " << p.px << "," << p.py;
  }
  b->SetButtonStyleColors(2);
  EXPECT_TRUE(Near(Pixel(b, 88, 5), Mix(x, hover, 88 / 89.0))) << std::hex << Pixel(b, 88, 5);
  // Solid: the hover colour itself.
  b->SetButtonStyleColors(1);
  EXPECT_EQ(Pixel(b, 40, 40), hover);
  ReleaseCapture();
}

TEST(ButtonPaint, StyleSevenGetsNoFocusDotsAtEvenSizes) {
  TestParent parent;
  PropertyBag bag = MainWindowBag();
  // 90 x 26 pixels: the cyan focus frame's right column (x = 88) and bottom row
  // (y = 24) lie on the even lattice of the dotted pass.
  bag.Remove(L"_extentx");
  bag.Remove(L"_extenty");
  Button* b = Button::Create(Placement(parent.hwnd(), 150, 150, 1350, 390), &bag);
  SetFocus(b->hwnd());
  Drain();
  ASSERT_EQ(b->surface().ScaleWidth(), 90);
  ASSERT_EQ(b->surface().ScaleHeight(), 26);
  const COLORREF cyan = RGB(4, 204, 254);
  for (int y = 2; y <= 22; y += 2) EXPECT_EQ(Pixel(b, 88, y), cyan) << "row " << y;
  for (int x = 2; x <= 86; x += 2) EXPECT_EQ(Pixel(b, x, 24), cyan) << "column " << x;
  // The same size in style 1 does take the dots (on its grey focus mark).
  b->SetButtonStyle(1);
  EXPECT_EQ(Pixel(b, 4, 4), 0u);
}

TEST(ButtonPaint, TransparentBackgroundShowsTheParent) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyleColors(0);
  b->SetDropDown(3);
  EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu) << "no fill, but the border colours are assigned";
  test::PrintTarget mem(89, 25);
  SendMessageW(b->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 10, 12), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(mem.get(), 6, 5), 0u) << "the chevrons stay";
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
  // No face renderer: the pen at the dotted pass is the border colour, here the
  // colour of every face pixel. 89 x 89 pixels.
  b->SetCaption(L"");
  b->SetButtonShape(13);
  b->SetButtonStyle(0);
  const COLORREF green = 0x00FF00;
  b->SetBackColor(green);
  b->SetBorderColor(green);
  SetFocus(b->hwnd());
  test::Drain();
  ASSERT_TRUE(b->Focused());
  EXPECT_EQ(Pixel(b, 3, 3), 0u);
  EXPECT_EQ(Pixel(b, 2, 2), 0u);
  EXPECT_EQ(Pixel(b, 86, 86), 0u);
  EXPECT_EQ(Pixel(b, 85, 85), 0u);
  EXPECT_EQ(Pixel(b, 3, 2), green);
  EXPECT_EQ(Pixel(b, 1, 1), green);
  EXPECT_EQ(Pixel(b, 87, 87), green);
  EXPECT_EQ(Pixel(b, 88, 86), green);
  std::uint32_t dotted = ImageHash(b);

  b->SetFocusRect(false);
  EXPECT_EQ(Pixel(b, 3, 3), green);
  b->SetFocusRect(true);
  EXPECT_EQ(ImageHash(b), dotted);
  // A system colour as the pen never matches a pixel.
  b->SetBorderColor(0x8000000F);
  EXPECT_EQ(Pixel(b, 3, 3), green);
  // Styles 4, 6 and 7 mark focus their own way. With style 7's border colour
  // (the pen when no face is drawn) as BackColor, row 44 starts the second
  // style-7 fill in exactly that colour: a dotted pass would blacken it.
  b->SetButtonStyle(7);
  b->SetButtonStyleColors(1);
  b->SetBackColor(0x8F8F8E);
  ASSERT_EQ(b->BorderColor(), 0x8F8F8Eu);
  EXPECT_EQ(Pixel(b, 2, 44), 0x8F8F8Eu);
  EXPECT_EQ(Pixel(b, 4, 44), 0x8F8F8Eu);
  b->SetButtonStyle(0);  // keeps the colours; the same pixels now take the dots
  b->SetBackColor(0x8F8F8E);
  EXPECT_EQ(Pixel(b, 2, 44), 0u);
  SetFocus(parent.hwnd());
  test::Drain();
  b->SetButtonStyle(0);
  b->SetBackColor(green);
  b->SetBorderColor(green);
  EXPECT_EQ(Pixel(b, 3, 3), green);
}

TEST(ButtonPaint, StyleFillsAndDisabledBorders) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonStyle(6);  // preset: back D2DEDD, pressed FFFFFF; mode 3
  EXPECT_EQ(b->ButtonStyleColors(), 3);
  b->SetEnabled(false);
  EXPECT_EQ(b->BorderColor(), 0x8DABABu);
  EXPECT_EQ(Pixel(b, 5, 3), 0xDBE7E7u);
  EXPECT_EQ(Pixel(b, 5, 21), 0xDBE7E7u);
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
  EXPECT_EQ(Pixel(b, 5, 2), 0x00FF00u);
  EXPECT_EQ(Pixel(b, 5, 22), 0x00FF00u);
}

TEST(ButtonPaint, PointedShapesTurnTheStyleSevenFillsSideways) {
  TestParent parent;
  Button* b = MainButton(parent);
  b->SetButtonShape(4);
  ASSERT_EQ(b->surface().ScaleHeight(), 89);
  // Horizontal: Y at the left edge, the second fill starting from X at W/2.
  EXPECT_EQ(Pixel(b, 0, 10), 0xEFEFEFu);
  EXPECT_EQ(Pixel(b, 44, 10), kMainBack);
  EXPECT_EQ(Pixel(b, 44, 0), kMainBack);
}

// Whole-image hashes, one per look; they change only on purpose. Every look
// carries the caption "Replace" in Tahoma bold, so the hashes hold only where
// Wine has its own Tahoma fonts (the test scripts give every prefix a copy).
// Beside each hash, pixels that the colour rules fix: a hash says that the look
// did not change, the pins say why it is right.
struct Look {
  const char* name;
  std::function<void(Button*, HWND)> setup;
  std::uint32_t hash;
  std::function<void(Button*)> pins;
};

COLORREF Sys(int index) { return GetSysColor(index); }

void Press(Button* b) { SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }

// Pixels of the caption box, with one pixel of room.
RECT AroundCaption(Button* b) {
  const PixelBox& c = b->CaptionBox();
  return RECT{c.left - 2, c.top - 2, c.left + c.width + 2, c.top + c.height + 2};
}

// The effect copy shows one pixel beyond the main text on the sides it is
// offset to.
void ExpectEffectAround(Button* b, COLORREF main, COLORREF effect, int left, int top, int right, int bottom) {
  test::Bounds m = test::ColourBounds(b, main, AroundCaption(b));
  test::Bounds e = test::ColourBounds(b, effect, AroundCaption(b));
  ASSERT_FALSE(m.empty());
  ASSERT_FALSE(e.empty());
  EXPECT_EQ(e.left, m.left + left);
  EXPECT_EQ(e.top, m.top + top);
  EXPECT_EQ(e.right, m.right + right);
  EXPECT_EQ(e.bottom, m.bottom + bottom);
}

// Graded captions: every pixel left in the text colour is recoloured by its
// place; `graded` gives the colour for a column and row.
void ExpectGraded(Button* b, COLORREF text, const std::function<COLORREF(int, int)>& graded) {
  const RECT area = AroundCaption(b);
  int matching = 0, ungraded = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      matching += Pixel(b, x, y) == graded(x, y);
      ungraded += Pixel(b, x, y) == text;
    }
  EXPECT_GT(matching, 20);
  EXPECT_EQ(ungraded, 0);
}

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

TEST(ButtonPaint, HashPerLook) {
  const COLORREF kHighlight = Sys(COLOR_BTNHIGHLIGHT), kShadow = Sys(COLOR_BTNSHADOW), kDark = Sys(COLOR_3DDKSHADOW);
  const Look looks[] = {
      {"main at rest", [](Button*, HWND) {}, 0xB42D2E45,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), kMainBack);
         EXPECT_EQ(Pixel(b, 0, 12), 0x8F8F8Eu);
         EXPECT_EQ(Pixel(b, 1, 12), 0xFFFFFFu);
       }},
      {"main hover", [](Button* b, HWND) { MovePointer(b->hwnd(), 10, 10); }, 0x547AFBA1,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), kMainHover);
         EXPECT_EQ(Pixel(b, 0, 12), 0xB17F3Cu);
       }},
      {"main pressed", [](Button* b, HWND) { Press(b); }, 0xA135696E,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), kMainPressed);
         EXPECT_EQ(Pixel(b, 0, 12), 0x5C411Du);
         EXPECT_EQ(Pixel(b, 1, 12), RGB(115, 176, 207));
       }},
      {"main disabled", [](Button* b, HWND) { b->SetEnabled(false); }, 0x882FED60,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), 0xF0F0F0u);
         EXPECT_EQ(Pixel(b, 0, 12), 0xB5B2ADu);
       }},
      {"main drop-down 2", [](Button* b, HWND) { b->SetDropDown(2); }, 0xF91990FB,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 68 + 6, 4 + 5), 0u);
         EXPECT_EQ(Pixel(b, 68 + 9, 4 + 12), 0u);
       }},
      {"style 8", [](Button* b, HWND) { b->SetButtonStyle(8); b->SetBackColor(0x336699); }, 0x11213063,
       [](Button* b) {
         // The second fill starts at row 12 in BackColor; the border is BackColor too.
         EXPECT_EQ(Pixel(b, 10, 12), 0x336699u);
         EXPECT_EQ(Pixel(b, 0, 12), 0x336699u);
       }},
      {"style 5 hover", [](Button* b, HWND) { b->SetButtonStyle(5); MovePointer(b->hwnd(), 10, 10); }, 0xB1B4421B,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), 0u) << "style 5's hover border";
         EXPECT_TRUE(Near(Pixel(b, 10, 1), Mix(0xB6A59F, 0xAC9891, 1 / 25.0))) << std::hex << Pixel(b, 10, 1);
       }},
      {"style 5 pressed", [](Button* b, HWND) { b->SetButtonStyle(5); Press(b); }, 0xD3298E17,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), 0u);
         EXPECT_TRUE(Near(Pixel(b, 10, 1), Mix(0xAF8C80, 0xA57F71, 1 / 25.0))) << std::hex << Pixel(b, 10, 1);
       }},
      {"style 6 pressed", [](Button* b, HWND) { b->SetButtonStyle(6); Press(b); }, 0x0CCA9118,
       [kHighlight](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), 0u);
         EXPECT_EQ(Pixel(b, 10, 22), kHighlight);
         EXPECT_TRUE(Near(Pixel(b, 10, 1), Mix(0xE0E6E6, 0xD2DEDD, 1 / 25.0))) << std::hex << Pixel(b, 10, 1);
       }},
      {"mode 4", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(4); }, 0x1135C7D7,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), kMainPressed) << "the second colour in the middle";
         EXPECT_EQ(Pixel(b, 0, 12), 0x8F8F8Eu) << "style 0 keeps the stored border";
       }},
      {"mode 5", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(5); }, 0xFD76768E,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 12), kMainBack);
         EXPECT_TRUE(Near(Pixel(b, 10, 1), Mix(kMainPressed, kMainBack, 1 / 12.0))) << std::hex << Pixel(b, 10, 1);
       }},
      {"mode 6", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(6); }, 0x72000DBE,
       [](Button* b) { EXPECT_EQ(Pixel(b, 44, 2), kMainPressed); }},
      {"mode 7", [](Button* b, HWND) { b->SetButtonStyle(0); b->SetButtonStyleColors(7); }, 0xD67A3C04,
       [](Button* b) { EXPECT_EQ(Pixel(b, 44, 2), kMainBack); }},
      {"style 1 pressed", [](Button* b, HWND) { b->SetButtonStyle(1); Press(b); }, 0x5AA363D4,
       [=](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), kDark);
         EXPECT_EQ(Pixel(b, 1, 12), kShadow);
         EXPECT_EQ(Pixel(b, 88, 12), kHighlight);
       }},
      {"style 1 disabled", [](Button* b, HWND) { b->SetButtonStyle(1); b->SetEnabled(false); }, 0x8DF9003B,
       [=](Button* b) {
         EXPECT_EQ(Pixel(b, 87, 12), kShadow);
         EXPECT_EQ(Pixel(b, 0, 12), kHighlight);
         EXPECT_EQ(Pixel(b, 88, 12), kDark);
       }},
      {"style 2 focused", [](Button* b, HWND) { b->SetButtonStyle(2); SetFocus(b->hwnd()); }, 0x492ED7AA,
       [=](Button* b) {
         EXPECT_EQ(Pixel(b, 4, 4), 0u);
         EXPECT_EQ(Pixel(b, 5, 4), RGB(209, 209, 209));
         EXPECT_EQ(Pixel(b, 0, 12), kHighlight);
       }},
      {"style 3 hover", [](Button* b, HWND) { b->SetButtonStyle(3); MovePointer(b->hwnd(), 10, 10); }, 0xEAE6E7BA,
       [=](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), kHighlight);
         EXPECT_EQ(Pixel(b, 88, 12), kDark);
       }},
      {"style 4 focused", [](Button* b, HWND) { b->SetButtonStyle(4); SetFocus(b->hwnd()); }, 0xAC496A5B,
       [=](Button* b) {
         EXPECT_EQ(Pixel(b, 0, 12), kShadow);
         EXPECT_EQ(Pixel(b, 1, 12), kHighlight);
         EXPECT_EQ(Pixel(b, 87, 12), kShadow);
         const PixelBox& c = b->CaptionBox();
         EXPECT_EQ(Pixel(b, c.left - 3, c.top + 2), 0xCC9999u);
       }},
      {"style 6 focused", [](Button* b, HWND) { b->SetButtonStyle(6); SetFocus(b->hwnd()); }, 0xB54B1088,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 10, 23), RGB(89, 141, 217));
         EXPECT_EQ(Pixel(b, 1, 12), RGB(129, 169, 226));
       }},
      {"main focused", [](Button* b, HWND) { SetFocus(b->hwnd()); }, 0xA8DB9BC5,
       [](Button* b) {
         EXPECT_EQ(Pixel(b, 1, 12), RGB(4, 204, 254));
         EXPECT_EQ(Pixel(b, 10, 12), kMainBack);
       }},
      {"caption raised", [](Button* b, HWND) { b->SetCaptionEffect(1); }, 0xE59FABAC,
       [](Button* b) { ExpectEffectAround(b, 0x000000, 0xFFFFFF, -1, -1, -1, -1); }},
      {"caption outline pressed", [](Button* b, HWND) { b->SetCaptionEffect(3); Press(b); }, 0xE2B7CBD4,
       [](Button* b) { ExpectEffectAround(b, 0x0000FF, 0xFFFFFF, -1, -1, 1, 1); }},
      {"caption graded across", [](Button* b, HWND) { b->SetCaptionStyle(1); }, 0x0448B901,
       [](Button* b) {
         // From ForeColor (black) at x = 0 to ForeColorPressed (red) at x = W.
         ExpectGraded(b, 0x000000, [](int k, int) { return RGB(RoundEven(k * 255.0 / 89), 0, 0); });
       }},
      {"caption graded down hover", [](Button* b, HWND) { b->SetCaptionStyle(2); MovePointer(b->hwnd(), 10, 10); }, 0xAA3CD725,
       [](Button* b) {
         // From ForeColorHover (blue) at y = 0 to ForeColor (black) at y = H.
         ExpectGraded(b, 0xFF0000, [](int, int l) { return RGB(0, 0, 255 + RoundEven(-255.0 / 25 * l)); });
       }},
      {"caption top, picture grey left", [](Button* b, HWND) { b->SetCaptionAlignment(0); b->SetPictureAlignment(1); b->SetPictureGray(true); b->SetPicture(test::SolidPicture(16, 16, 0x00336699)); }, 0x4D3ADB72,
       [](Button* b) {
         // Left (89 - 16) / 89 + 4 = 4.82 -> 5, top (25 - 16) / 2 = 4.5 -> 4; grey
         // from the red channel, 0x99.
         EXPECT_EQ(Pixel(b, 5, 4), 0x999999u);
         EXPECT_EQ(Pixel(b, 20, 19), 0x999999u);
         EXPECT_NE(Pixel(b, 21, 19), 0x999999u);
       }},
  };
  for (const Look& look : looks) {
    TestParent parent;
    Button* b = MainButton(parent);
    look.setup(b, parent.hwnd());
    Drain();
    std::uint32_t h = ImageHash(b);
    EXPECT_EQ(h, look.hash) << look.name << ": 0x" << std::hex << h;
    SCOPED_TRACE(look.name);
    look.pins(b);
    ReleaseCapture();
  }
}

}  // namespace
}  // namespace vantorel::controls

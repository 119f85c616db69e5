// The shaped faces' window regions, sizes and edge cases: what the window lets
// through, that painting goes idle, switching shapes, the square rule and the
// 25-pixel minimum, and values outside the ranges.
#include <gtest/gtest.h>

#include <cstdint>

#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::Pixel;
using host::test::Placement;
using host::test::TestParent;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMarkGrey = RGB(209, 209, 209);

// A shaped face with a black outline and no background fill.
Button* Shaped(HWND parent, int shape, int w, int h, int style = 0) {
  Button* b = Button::Create(host::test::Placement(parent, 150, 150, w * 15, h * 15));
  b->SetCaption(L"");
  b->SetButtonStyleColors(0);
  b->SetButtonStyle(style);
  b->SetBorderColor(0);
  b->SetBorderColorHover(0);
  b->SetBorderColorPressed(0);
  b->SetButtonShape(shape);
  host::test::Drain();
  return b;
}

// Whether the window's region lets the point through; false when it has none.
bool InRegion(Button* b, int x, int y) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(b->hwnd(), r) != ERROR;
  const bool in = has && PtInRegion(r, x, y);
  DeleteObject(r);
  return in;
}

bool HasRegion(Button* b) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(b->hwnd(), r) != ERROR;
  DeleteObject(r);
  return has;
}

TEST(ShapeRegions, PointsJustInsideAndOutsideEachEdge) {
  struct Case {
    int shape;
    POINT inside;
    POINT outside;
    const char* edge;
  };
  // At 48 x 48: W / 2 = H / 2 = 24, W / 3 = 16, W / 1.5 = H / 1.5 = 32.
  const Case cases[] = {
      {2, {24, 1}, {1, 1}, "ellipse, top and corner"},
      {2, {1, 24}, {46, 46}, "ellipse, left and lower right"},
      {3, {13, 13}, {11, 11}, "diamond, upper left edge x + y = 24"},
      {3, {35, 35}, {37, 37}, "diamond, lower right edge"},
      {4, {14, 24}, {10, 24}, "up triangle, left edge at x = 12"},
      {4, {24, 2}, {20, 2}, "up triangle, apex"},
      {5, {24, 15}, {24, 9}, "left triangle, upper edge at y = 12"},
      {6, {24, 15}, {24, 9}, "right triangle, upper edge at y = 12"},
      {6, {45, 24}, {45, 20}, "right triangle, tip"},
      {7, {24, 1}, {24, 0}, "down triangle, the top row lies outside"},
      {7, {14, 24}, {9, 24}, "down triangle, left edge"},
      {8, {18, 40}, {14, 40}, "up arrow, shaft's left side at x = 16"},
      {8, {30, 40}, {33, 40}, "up arrow, shaft's right side at x = 32"},
      {8, {3, 30}, {3, 34}, "up arrow, head's underside at y = 32"},
      {9, {40, 18}, {40, 14}, "left arrow, shaft's top at y = 16"},
      {9, {40, 30}, {40, 33}, "left arrow, shaft's bottom at y = 32"},
      {9, {2, 24}, {2, 18}, "left arrow, tip"},
      {10, {8, 18}, {8, 14}, "right arrow, shaft's top"},
      {10, {8, 30}, {8, 33}, "right arrow, shaft's bottom"},
      {10, {45, 24}, {45, 20}, "right arrow, tip"},
      {11, {18, 8}, {14, 8}, "down arrow, shaft's left side"},
      {11, {30, 8}, {33, 8}, "down arrow, shaft's right side"},
      {11, {24, 45}, {20, 45}, "down arrow, tip"},
  };
  host::test::TestParent parent;
  for (const Case& c : cases) {
    Button* b = Shaped(parent.hwnd(), c.shape, 48, 48);
    EXPECT_TRUE(InRegion(b, c.inside.x, c.inside.y)) << c.edge;
    EXPECT_FALSE(InRegion(b, c.outside.x, c.outside.y)) << c.edge;
    DestroyWindow(b->hwnd());
  }
  // The rounded rectangle, 64 x 40: corners of 15 for the region, 16 for the
  // outline, so near the corners a thin band of the region lies outside the
  // outline and shows the background.
  Button* r = Shaped(parent.hwnd(), 1, 64, 40);
  EXPECT_FALSE(InRegion(r, 0, 0));
  EXPECT_FALSE(InRegion(r, 63, 39));
  EXPECT_TRUE(InRegion(r, 7, 7));
  EXPECT_TRUE(InRegion(r, 32, 0));
  EXPECT_TRUE(InRegion(r, 0, 20));
  int bandPixels = 0;
  for (int y = 0; y < 10; ++y) {
    int x = 0;
    while (x < 10 && !InRegion(r, x, y)) ++x;
    for (; x < 10 && host::test::Pixel(r, x, y) != kBlack; ++x) {
      EXPECT_EQ(host::test::Pixel(r, x, y), GetSysColor(COLOR_BTNFACE)) << x << ", " << y;
      ++bandPixels;
    }
  }
  EXPECT_GT(bandPixels, 0);
}

// Setting a region invalidates the window; the region is set again only when
// the shape or the size changes, and a shown shaped face goes idle. The square
// rule does not move a window that is square already (each move is a round of
// messages and, under Wine, a trip to the server).
TEST(ShapeRegions, PaintingGoesIdleAndKeepsTheRegion) {
  static int paints = 0, moves = 0;
  static WNDPROC original = nullptr;
  host::test::TestParent parent;
  Button* b = Shaped(parent.hwnd(), 3, 48, 48, 6);
  original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      b->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_PAINT) ++paints;
        if (m == WM_WINDOWPOSCHANGING) ++moves;
        return CallWindowProcW(original, h, m, w, l);
      })));
  SetFocus(b->hwnd());
  host::test::Drain();
  const HRGN region = b->FaceRegion();
  ASSERT_NE(region, nullptr);
  paints = moves = 0;
  for (int i = 0; i < 5; ++i) b->Paint();
  host::test::Drain();
  EXPECT_LE(paints, 5) << "one WM_PAINT per paint at most";
  EXPECT_EQ(moves, 0);
  EXPECT_EQ(b->FaceRegion(), region) << "same shape and size: the region is kept";
  const int settled = paints;
  host::test::Drain();
  host::test::Drain();
  EXPECT_EQ(paints, settled) << "no paint asks for another";
  EXPECT_EQ(GetQueueStatus(QS_PAINT) & QS_PAINT, 0u);
  RECT dirty;
  EXPECT_FALSE(GetUpdateRect(b->hwnd(), &dirty, FALSE));
  // A new size makes a new region that fits it.
  SetWindowPos(b->hwnd(), nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER);
  host::test::Drain();
  EXPECT_NE(b->FaceRegion(), region);
  EXPECT_TRUE(InRegion(b, 30, 57));
  EXPECT_FALSE(InRegion(b, 3, 3));
  // A region someone else removed is put back at the next paint.
  SetWindowRgn(b->hwnd(), nullptr, FALSE);
  b->Paint();
  EXPECT_TRUE(InRegion(b, 30, 57));
  EXPECT_FALSE(InRegion(b, 3, 3));
  SetWindowLongPtrW(b->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

TEST(ShapeRegions, SwitchingShapesLeavesNoStaleRegionOrPixels) {
  host::test::TestParent parent;
  Button* b = Shaped(parent.hwnd(), 3, 48, 48);
  // (12, 12) lies on the diamond's upper-left edge, x + y = 24.
  EXPECT_EQ(host::test::Pixel(b, 12, 12), kBlack);
  EXPECT_FALSE(InRegion(b, 3, 3));
  b->SetButtonShape(0);
  EXPECT_FALSE(HasRegion(b));
  EXPECT_EQ(b->FaceRegion(), nullptr);
  EXPECT_EQ(host::test::Pixel(b, 12, 12), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(host::test::Pixel(b, 47, 24), kBlack) << "the rectangle's right side";
  b->SetButtonShape(5);
  EXPECT_TRUE(InRegion(b, 2, 24));
  EXPECT_FALSE(InRegion(b, 2, 2));
  EXPECT_EQ(host::test::Pixel(b, 12, 12), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(host::test::Pixel(b, 1, 24), kBlack) << "the left triangle's tip";
  // Straight from one shape to another of the same size.
  b->SetButtonShape(7);
  EXPECT_FALSE(InRegion(b, 24, 0));
  EXPECT_TRUE(InRegion(b, 24, 1));
  EXPECT_NE(host::test::Pixel(b, 1, 24), kBlack);
  b->SetButtonShape(12);
  EXPECT_FALSE(InRegion(b, 24, 0)) << "no renderer: the region stays as it was";
  EXPECT_NE(host::test::Pixel(b, 24, 1), kBlack) << "and no face is drawn";
}

TEST(ShapeRegions, SquareRuleAndMinimumForEveryShape) {
  host::test::TestParent parent;
  for (int shape = 0; shape < 12; ++shape) {
    Button* wide = Shaped(parent.hwnd(), shape, 80, 33);
    EXPECT_EQ(wide->surface().ScaleWidth(), 80) << shape;
    EXPECT_EQ(wide->surface().ScaleHeight(), shape <= 1 ? 33 : 80) << shape;
    DestroyWindow(wide->hwnd());
    Button* tall = Shaped(parent.hwnd(), shape, 30, 70);
    EXPECT_EQ(tall->surface().ScaleHeight(), shape <= 1 ? 70 : 30) << shape;
    DestroyWindow(tall->hwnd());
    Button* tiny = Shaped(parent.hwnd(), shape, 20, 10);
    EXPECT_EQ(tiny->surface().ScaleWidth(), 25) << shape;
    EXPECT_EQ(tiny->surface().ScaleHeight(), 25) << shape;
    DestroyWindow(tiny->hwnd());
  }
}

// At the 25-pixel minimum every figure still lies inside the control and the
// focus mark inside the shape.
TEST(ShapeRegions, SmallestFacesStayInsideTheirShape) {
  host::test::TestParent parent;
  for (int shape = 1; shape < 12; ++shape) {
    for (int style : {0, 1, 2, 3, 5, 6, 7}) {
      Button* b = Shaped(parent.hwnd(), shape, 25, 25, style);
      SetFocus(b->hwnd());
      host::test::Drain();
      EXPECT_TRUE(b->Paint().ok()) << shape << " " << style;
      if (style == 0 || style == 5) {
        const host::test::Bounds mark = host::test::ColourBounds(b, kMarkGrey, RECT{0, 0, 25, 25});
        ASSERT_FALSE(mark.empty()) << shape;
        for (int y = 0; y < 25; ++y)
          for (int x = 0; x < 25; ++x)
            if (host::test::Pixel(b, x, y) == kMarkGrey) {
              EXPECT_TRUE(InRegion(b, x, y)) << shape << " (" << x << ", " << y << ")";
            }
      }
      DestroyWindow(b->hwnd());
    }
  }
}

TEST(ShapeRegions, EdgeCasesAtOddAndEvenSmallSizes) {
  host::test::TestParent parent;
  // Up arrow, 25 x 25: W / 3 = 8, W / 1.5 - 1 = 16 (16.67 - 1 rounded), and
  // H - 1.5 = 23.5 rounds to 24, level with the other shaft corner (8, 24).
  Button* a25 = Shaped(parent.hwnd(), 8, 25, 25);
  EXPECT_EQ(host::test::Pixel(a25, 16, 24), kBlack);
  EXPECT_EQ(host::test::Pixel(a25, 8, 24), kBlack);
  EXPECT_EQ(host::test::Pixel(a25, 12, 24), kBlack) << "a level bottom edge";
  EXPECT_EQ(host::test::Pixel(a25, 16, 16), kBlack) << "the head's underside at H / 1.5 - 1 = 16";
  DestroyWindow(a25->hwnd());
  // 26 x 26: (W / 1.5 - 1, H - 1.5) is (16, 24) (24.5 rounds to even), the other
  // corner (9, 25): the bottom edge leans by one pixel.
  Button* a26 = Shaped(parent.hwnd(), 8, 26, 26);
  EXPECT_EQ(host::test::Pixel(a26, 16, 24), kBlack);
  EXPECT_EQ(host::test::Pixel(a26, 9, 25), kBlack);
  EXPECT_NE(host::test::Pixel(a26, 16, 25), kBlack);
  DestroyWindow(a26->hwnd());
  // Diamond: the top corner's x is 12 at W = 25 (12.5 to even), 14 at W = 27.
  for (auto [w, top] : {std::pair{25, 12}, std::pair{27, 14}}) {
    Button* d = Shaped(parent.hwnd(), 3, w, w);
    EXPECT_EQ(host::test::Pixel(d, top, 0), kBlack) << w;
    EXPECT_NE(host::test::Pixel(d, top - 1, 0), kBlack) << w;
    EXPECT_NE(host::test::Pixel(d, top + 1, 0), kBlack) << w;
    DestroyWindow(d->hwnd());
  }
  // Up triangle, W = 25: the apex x is 12 and the raised trim starts at (12, 2).
  Button* t = Shaped(parent.hwnd(), 4, 25, 25, 2);
  EXPECT_EQ(host::test::Pixel(t, 12, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_NE(host::test::Pixel(t, 12, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  DestroyWindow(t->hwnd());
  // The down triangle's region starts at y = 1 at every size.
  Button* down = Shaped(parent.hwnd(), 7, 25, 25);
  EXPECT_FALSE(InRegion(down, 12, 0));
  EXPECT_TRUE(InRegion(down, 12, 1));
  DestroyWindow(down->hwnd());
}

// The diamond's scan turns every pixel of the mark's grey black on odd rows from
// x = 2 to W - 2, the face's own pixels included; the pipeline's lattices then
// reach (odd, odd) and (even, even) points.
TEST(ShapeRegions, DiamondScanBlackensOddRowsOfTheMarkGrey) {
  host::test::TestParent parent;
  Button* b = Shaped(parent.hwnd(), 3, 48, 48);
  b->SetButtonStyleColors(1);
  b->SetBackColor(kMarkGrey);
  EXPECT_EQ(host::test::Pixel(b, 24, 25), kMarkGrey) << "no focus, no scan";
  SetFocus(b->hwnd());
  host::test::Drain();
  EXPECT_EQ(host::test::Pixel(b, 24, 25), kBlack) << "odd row, even x: only the scan reaches it";
  EXPECT_EQ(host::test::Pixel(b, 2, 31), kBlack) << "the scan's first column";
  EXPECT_EQ(host::test::Pixel(b, 46, 31), kBlack) << "the scan's last column, W - 2";
  EXPECT_EQ(host::test::Pixel(b, 1, 31), kMarkGrey) << "left of the scan";
  EXPECT_EQ(host::test::Pixel(b, 47, 31), kMarkGrey) << "right of the scan";
  EXPECT_EQ(host::test::Pixel(b, 25, 24), kMarkGrey) << "even row, odd x: on no lattice";
  b->SetFocusRect(false);
  EXPECT_EQ(host::test::Pixel(b, 24, 25), kMarkGrey);
}

TEST(ShapeRegions, ValuesOutsideTheRanges) {
  host::test::TestParent parent;
  // A shape outside 0 to 11 draws no face and keeps whatever region was set.
  for (int shape : {-1, 12, 1000, INT32_MIN}) {
    Button* b = Shaped(parent.hwnd(), shape, 48, 30);
    EXPECT_FALSE(HasRegion(b)) << shape;
    EXPECT_NE(host::test::Pixel(b, 47, 15), kBlack) << shape;
    EXPECT_EQ(b->surface().ScaleHeight(), 48) << shape << ": made square like every shape but 0 and 1";
    DestroyWindow(b->hwnd());
  }
  // A style outside 1 to 7 draws the outline, and the focus mark when focused.
  for (int style : {0, 9, 99, -5}) {
    Button* b = Shaped(parent.hwnd(), 4, 48, 48, style);
    b->SetBorderColor(0);
    EXPECT_EQ(host::test::Pixel(b, 24, 1), kBlack) << style;
    EXPECT_NE(host::test::Pixel(b, 24, 2), GetSysColor(COLOR_BTNHIGHLIGHT)) << style << ": no trim";
    EXPECT_EQ(host::test::Pixel(b, 24, 46), GetSysColor(COLOR_BTNFACE)) << style << ": no shadow";
    SetFocus(b->hwnd());
    host::test::Drain();
    EXPECT_EQ(host::test::Pixel(b, 24, 43), kMarkGrey) << style << ": the mark's base, (24, 43) on no lattice";
    DestroyWindow(b->hwnd());
  }
}

}  // namespace
}  // namespace vantorel::controls::test

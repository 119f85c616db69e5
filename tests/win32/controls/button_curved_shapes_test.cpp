// The shaped faces with curves, the rounded rectangle and the ellipse: pixels
// and colour extents their geometry determines (see button_shapes_test.cpp for
// how the expected points and colours are worked out).
#include <gtest/gtest.h>

#include <utility>

#include "button_shape_support.h"

namespace vantorel::controls::test {
namespace {

using namespace test::shapes;

TEST(ShapedFaces, RoundedRectangleFigures) {
  // Not square: a mix-up of W and H shows.
  host::test::TestParent parent;
  constexpr int W = 64, H = 40;
  struct Case {
    const char* what;
    int style;
    State state;
    POINT at;
    Expect expect;
  };
  const Case cases[] = {
      {"outline top", 0, kRest, {W / 2, 0}, Expect::Black},
      {"outline left", 0, kRest, {0, H / 2}, Expect::Black},
      {"outline right, at W - 2", 0, kRest, {W - 2, H / 2}, Expect::Black},
      {"outline bottom, at H - 2", 0, kRest, {W / 2, H - 2}, Expect::Black},
      {"the band inside the region", 0, kRest, {W - 1, H / 2}, Expect::Back},
      {"trim", 2, kRest, {W / 2, 0}, Expect::Highlight},
      {"trim left", 3, kHover, {0, H / 2}, Expect::Highlight},
      {"trim pressed", 3, kPressed, {0, H / 2}, Expect::DarkShadow},
      {"style 1 raised shadow", 1, kRest, {W - 3, H / 2}, Expect::Shadow},
      {"style 1 pressed shadow", 1, kPressed, {W / 2, 1}, Expect::Shadow},
      {"style 4 shadow", 4, kRest, {W - 3, H / 2}, Expect::Shadow},
      {"style 4 highlight", 4, kRest, {1, H / 2}, Expect::Highlight},
      {"style 4 highlight right", 4, kRest, {W - 2, H / 2}, Expect::Highlight},
      {"style 6 pressed bottom", 6, kPressed, {W / 2, H - 4}, Expect::Highlight},
      {"style 6 pressed right", 6, kPressed, {W - 4, H / 2}, Expect::Highlight},
      {"glow 1", 6, kHover, {W / 2, H - 3}, Expect::Glow1},
      {"glow 2", 6, kFocused, {1, H / 2}, Expect::Glow2},
      {"glow 2 right", 6, kBoth, {W - 3, H / 2}, Expect::Glow2},
      {"glow 3", 6, kHover, {2, H / 2}, Expect::Glow3},
      {"glow 4", 6, kFocused, {W / 2, 1}, Expect::Glow4},
      {"glow 5", 6, kHover, {W / 2, 2}, Expect::Glow5},
      {"inner frame", 7, kRest, {W / 2, 1}, Expect::InnerNormal},
      {"inner frame focused", 7, kFocused, {1, H / 2}, Expect::InnerFocused},
      {"inner frame pressed", 7, kPressed, {W / 2, 1}, Expect::InnerPressed},
      {"focus mark", 0, kFocused, {W / 2, 4}, Expect::FocusMark},
      {"focus mark", 1, kFocused, {4, H / 2 + 1}, Expect::FocusMark},
      {"focus mark right", 2, kFocused, {W - 6, H / 2 + 1}, Expect::FocusMark},
  };
  for (const Case& c : cases) {
    Button* b = Face(parent.hwnd(), 1, c.style, W, H, c.state);
    ASSERT_EQ(b->surface().ScaleHeight(), H) << "the rounded rectangle keeps its height";
    EXPECT_EQ(host::test::Pixel(b, c.at.x, c.at.y), Colour(c.expect, c.state, 1, c.at, W, H))
        << c.what << ": style " << c.style << " " << Name(c.state);
    Dispose(b);
  }
}

// Extents of the colours of the elliptic figures: arcs and rounded rectangles
// as large as their box leave out its right column and bottom row.
TEST(ShapedFaces, EllipseFigures) {
  host::test::TestParent parent;
  for (int size : {48, 49}) {
    const int W = size, H = size;
    const RECT all{0, 0, W, H};
    auto bounds = [&](int style, State state, COLORREF colour) {
      Button* b = Face(parent.hwnd(), 2, style, W, H, state);
      host::test::Bounds r = host::test::ColourBounds(b, colour, all);
      Dispose(b);
      return r;
    };
    const COLORREF black = RGB(0, 0, 0), dark = GetSysColor(COLOR_3DDKSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW);
    host::test::Bounds outline = bounds(0, kRest, black);
    EXPECT_EQ(outline.left, 1) << size;
    EXPECT_EQ(outline.top, 1) << size;
    EXPECT_EQ(outline.right, W - 3) << size;
    EXPECT_EQ(outline.bottom, H - 3) << size;
    // The upper-left arc: from the top-right direction through the top and left
    // to the bottom-left direction of the outline's ellipse.
    for (State s : {kRest, kPressed}) {
      host::test::Bounds trim = bounds(2, s, s == kRest ? light : dark);
      EXPECT_EQ(trim.left, 1) << size << Name(s);
      EXPECT_EQ(trim.top, 1) << size << Name(s);
      EXPECT_GT(trim.right, W / 2) << size << Name(s);
      EXPECT_LT(trim.right, W - 4) << size << Name(s);
      EXPECT_LT(trim.bottom, H - 4) << size << Name(s);
    }
    EXPECT_TRUE(bounds(3, kRest, light).empty()) << size;
    // Style 1 raised: the shadow runs round the lower right of a circle one
    // pixel smaller, the highlight over the upper left.
    host::test::Bounds raisedShadow = bounds(1, kRest, shadow);
    EXPECT_EQ(raisedShadow.right, W - 4) << size;
    EXPECT_EQ(raisedShadow.bottom, H - 4) << size;
    EXPECT_EQ(bounds(1, kRest, light).top, 1) << size;
    host::test::Bounds sunken = bounds(1, kPressed, shadow);
    EXPECT_EQ(sunken.left, 2) << size;
    EXPECT_EQ(sunken.top, 2) << size;
    // Style 4: shadow on the right half one pixel in, highlight on the left half
    // one pixel in and on the outline's right half.
    EXPECT_EQ(bounds(4, kRest, shadow).right, W - 4) << size;
    host::test::Bounds etched = bounds(4, kRest, light);
    EXPECT_EQ(etched.left, 2) << size;
    EXPECT_EQ(etched.right, W - 3) << size;
    EXPECT_TRUE(bounds(4, kDisabled, light).empty()) << size;
    // Style 6.
    host::test::Bounds pressed6 = bounds(6, kPressed, light);
    EXPECT_EQ(pressed6.right, W - 5) << size;
    EXPECT_GE(pressed6.left, W / 2 - 1) << size;
    // Colour 1 runs round the bottom; colours 2 and 3 cover most of it again.
    host::test::Bounds glow1 = bounds(6, kHover, RGB(220, 154, 16));
    EXPECT_FALSE(glow1.empty()) << size;
    EXPECT_GT(glow1.top, H / 2) << size;
    EXPECT_EQ(bounds(6, kBoth, RGB(255, 243, 206)).top, 2) << size;
    EXPECT_EQ(bounds(6, kFocused, RGB(206, 231, 255)).top, 3) << size;
    EXPECT_TRUE(bounds(6, kFocused, RGB(220, 154, 16)).empty()) << size;
    // Style 7 and the focus mark.
    for (auto [state, colour] : {std::pair{kRest, RGB(255, 255, 255)}, std::pair{kFocused, RGB(4, 204, 254)},
                                 std::pair{kPressed, RGB(115, 176, 207)}}) {
      host::test::Bounds frame = bounds(7, state, colour);
      EXPECT_EQ(frame.left, 2) << size << Name(state);
      EXPECT_EQ(frame.right, W - 4) << size << Name(state);
      EXPECT_EQ(frame.bottom, H - 4) << size << Name(state);
    }
    host::test::Bounds mark = bounds(0, kFocused, RGB(209, 209, 209));
    EXPECT_EQ(mark.left, 4) << size;
    EXPECT_EQ(mark.right, W - 6) << size;
  }
}

}  // namespace
}  // namespace vantorel::controls::test

// The faces as values: each shape draws into a bare image with no window and
// says which window region its shape needs; the Button applies it.
#include <gtest/gtest.h>

#include <cmath>

#include "button/shapes/face.h"
#include "host/surface.h"

namespace vantorel::controls::test {
namespace {

using Kind = FaceRegionRecipe::Kind;

constexpr host::OleColor kBorder = RGB(10, 20, 30);

FaceInput Input(int width, int height, std::int32_t style = 5, bool focused = false) {
  FaceInput in;
  in.width = width;
  in.height = height;
  in.style = style;
  in.styleColors = 1;
  in.focused = focused;
  in.focusRect = true;
  in.borderPen = kBorder;
  return in;
}

// Half-pixel positions round to even, once.
LONG Half(int size) { return static_cast<LONG>(std::nearbyint(size / 2.0)); }

FaceRegionRecipe Polygon(std::initializer_list<POINT> points) {
  FaceRegionRecipe r;
  r.kind = Kind::Polygon;
  for (POINT p : points) r.points[r.count++] = p;
  return r;
}

TEST(FaceInput, EachShapeNamesItsRegionWithoutAWindow) {
  for (int n : {48, 49}) {
    const LONG h = Half(n);
    struct Case {
      std::int32_t shape;
      FaceRegionRecipe region;
    } cases[] = {
        {0, FaceRegionRecipe{}},
        {1, FaceRegionRecipe::Box(Kind::RoundRect, n, n, 15)},
        {2, FaceRegionRecipe::Box(Kind::Ellipse, n, n)},
        {3, Polygon({{n, h}, {h, 0}, {0, h}, {h, n}})},
        {4, Polygon({{0, n}, {h, 0}, {n, n}})},
        {5, Polygon({{0, h}, {n, 0}, {n, n}})},
        {6, Polygon({{n, h}, {0, 0}, {0, n}})},
    };
    for (const Case& c : cases) {
      host::Surface image;
      image.Resize(n, n);
      const FaceResult r = FaceRendererFor(c.shape)(image, Input(n, n));
      EXPECT_TRUE(r.status.ok()) << c.shape;
      EXPECT_TRUE(r.region == c.region) << "shape " << c.shape << " at " << n;
      EXPECT_EQ(image.Hwnd(), nullptr);
    }
  }
}

TEST(FaceInput, TheRectangleOutlineIsInTheBorderPenAndTheFocusMarkPenIsHandedBack) {
  host::Surface image;
  image.Resize(40, 30);
  const FaceResult rest = FaceRendererFor(0)(image, Input(40, 30));
  for (POINT p : {POINT{0, 0}, POINT{39, 0}, POINT{0, 29}, POINT{39, 29}})
    EXPECT_EQ(host::DibToColorRef(image.PixelAt(p.x, p.y)), kBorder) << p.x << "," << p.y;
  EXPECT_EQ(rest.pen, kBorder);
  // Style 5 has no focus look of its own: the grey mark is drawn last and its
  // pen is what the dotted pass looks for. Style 7 shows focus in its face.
  EXPECT_EQ(FaceRendererFor(0)(image, Input(40, 30, 5, true)).pen, face_color::kFocusMark);
  EXPECT_NE(FaceRendererFor(0)(image, Input(40, 30, 7, true)).pen, face_color::kFocusMark);
}

}  // namespace
}  // namespace vantorel::controls::test

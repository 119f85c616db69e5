#include <algorithm>

#include "button/shapes/face.h"
#include "host/surface.h"

namespace vantorel::controls {

namespace {

using namespace face_color;
using figure_terms::H;
using figure_terms::W;

constexpr COLORREF kBlack = RGB(0, 0, 0);

// The upper-left edges: top corner, left corner, bottom corner.
constexpr Figure kUpperLeftEdges{{W / 2, 0}, {0, H / 2}, {W / 2, H - 1}};

// Marks the top corner in black: style 6 sets it after each of its drawings.
void TopDot(ShapeCanvas& c) { c.SetPixel(c.W / 2, 1, kBlack); }

// Odd rows between x = 2 and W - 2: pixels in the pen's colour (the focus mark
// grey) turn black, so the mark comes out dotted. Any other pixel of the face
// in that grey turns black too. Done on the image's memory, which gives the
// same result as reading and setting each pixel through GDI.
void BlackenOddRowsOfPenColour(ShapeCanvas& c) {
  host::Surface& s = c.surface();
  const LONG lastX = c.Round(c.W - 2), lastY = c.Round(c.H - 1);
  const std::uint32_t pen = host::ColorRefToDib(host::ResolveColor(c.PenColor()));
  std::uint32_t* px = s.Pixels();
  const LONG width = s.ScaleWidth();
  const LONG endX = std::min<LONG>(lastX, width - 1), endY = std::min<LONG>(lastY, s.ScaleHeight() - 1);
  for (LONG x = 2; x <= endX; ++x)
    for (LONG y = 1; y <= endY; y += 2) {
      std::uint32_t& q = px[static_cast<std::size_t>(y) * width + x];
      if ((q & 0x00FFFFFFu) == pen) q = 0;
    }
}

class Diamond final : public ShapeFigures {
 public:
  FaceRegionRecipe Region(ShapeCanvas& c) const override {
    return c.PolygonRegion({{W, H / 2}, {W / 2, 0}, {0, H / 2}, {W / 2, H}});
  }

  // With a background, the border pen also sets the pixel just below the top
  // corner (the line's end pixel is not drawn).
  void Outline(ShapeCanvas& c) const override {
    c.Draw({{0, H / 2}, {W / 2, H - 1}, {W - 1, H / 2}, {W / 2, 0}, {0, H / 2}});
    if (c.styleColors != 0) c.Draw({{W / 2, 1}, {W / 2, 0}});
  }

  void BevelSunken(ShapeCanvas& c) const override {
    c.Pen(kDarkShadow);
    c.Draw(kUpperLeftEdges);
    c.Pen(kShadow);
    c.Draw({{W / 2, 1}, {1, H / 2}, {W / 2, H - 2}});
  }

  void BevelRaised(ShapeCanvas& c) const override {
    c.Pen(kShadow);
    c.Draw({{W / 2, H - 2}, {W - 2, H / 2}, {W / 2, 1}});
    c.Pen(kHighlight);
    c.Draw(kUpperLeftEdges);
  }

  void Trim(ShapeCanvas& c, bool) const override { c.Draw(kUpperLeftEdges); }

  void EtchedFrame(ShapeCanvas& c) const override {
    c.Pen(kShadow);
    c.Draw({{W / 2, 1}, {W - 2, H / 2}, {W / 2, H - 2}});
    c.Pen(kHighlight);
    c.Draw({{W / 2, 1}, {1, H / 2}, {W / 2, H - 2}, kPenUp, {W / 2, 0}, {W - 1, H / 2}, {W / 2, H - 1}});
  }

  void GlowPressed(ShapeCanvas& c) const override {
    c.Draw({{W / 2, H - 4}, {W - 4, H / 2}, {W / 2, 3}});
    TopDot(c);
  }

  void Glow(ShapeCanvas& c, const host::OleColor (&glow)[5], GlowSet) const override {
    c.Pen(glow[0]);
    c.Draw({{W / 2, H - 2}, {W - 2, H / 2}});
    c.Pen(glow[1]);
    c.Draw({{W / 2, H - 3}, {W - 3, H / 2}, kPenUp, {1, H / 2}, {W / 2, H - 2}, kPenUp, {W - 2, H / 2}, {W / 2, 1}});
    c.Pen(glow[2]);
    c.Draw({{2, H / 2}, {W / 2, H - 3}, kPenUp, {W - 3, H / 2}, {W / 2, 2}});
    c.Pen(glow[3]);
    c.Draw({{W / 2, 1}, {1, H / 2}});
    c.Pen(glow[4]);
    c.Draw({{W / 2, 2}, {2, H / 2}});
    TopDot(c);
  }

  void InnerFrame(ShapeCanvas& c) const override {
    c.Draw({{1, H / 2}, {W / 2, H - 2}, {W - 2, H / 2}, {W / 2, 1}, {1, H / 2}});
  }

  void FocusMark(ShapeCanvas& c) const override {
    c.Polygon({{W - 6, H / 2}, {W / 2, 5}, {5, H / 2}, {W / 2, H - 6}});
    BlackenOddRowsOfPenColour(c);
  }
};

}  // namespace

FaceResult DrawDiamondFace(host::Surface& target, const FaceInput& in) { return DrawShapedFace(target, in, Diamond{}); }

}  // namespace vantorel::controls

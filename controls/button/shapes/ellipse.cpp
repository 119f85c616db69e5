#include "button/shapes/face.h"

namespace vantorel::controls {

namespace {

using namespace face_color;

// Closed ellipses are rounded rectangles whose corners are as large as the
// figure; partial ones are arcs, some with their box given corners swapped.
// The outline sits one pixel inside the elliptic region on every side.
class Ellipse final : public ShapeFigures {
 public:
  FaceRegionRecipe Region(ShapeCanvas& c) const override {
    return FaceRegionRecipe::Box(FaceRegionRecipe::Kind::Ellipse, c.Round(c.W), c.Round(c.H));
  }

  void Outline(ShapeCanvas& c) const override { c.RoundRect(1, 1, c.W - 2, c.H - 2, c.W - 2, c.H - 2); }

  void BevelSunken(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kDarkShadow);
    UpperLeftArc(c);
    c.Pen(kShadow);
    c.Arc(W - 3, H - 3, 2, 2, W - 3, 2, 2, H - 3);
  }

  // The shadow first, so the highlight wins where the two arcs meet.
  void BevelRaised(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kShadow);
    c.Arc(1, 1, W - 3, H - 3, W / 3, H / 2, W - 3, 1);
    c.Pen(kHighlight);
    UpperLeftArc(c);
  }

  void Trim(ShapeCanvas& c, bool) const override { UpperLeftArc(c); }

  void EtchedFrame(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kShadow);
    c.Arc(W - 3, H - 3, 2, 2, W / 2, H - 3, W / 2, 3);
    c.Pen(kHighlight);
    c.Arc(W - 3, H - 3, 2, 2, W / 2, 2, W / 2, H - 2);
    c.Arc(W - 2, H - 2, 1, 1, W / 2, H - 2, W / 2, 2);
  }

  void GlowPressed(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Arc(W - 4, H - 4, 3, 3, W / 2, H - 2, W / 2, 3);
  }

  void Glow(ShapeCanvas& c, const host::OleColor (&glow)[5], GlowSet) const override {
    const double W = c.W, H = c.H;
    c.Pen(glow[0]);
    c.Arc(2, 2, W - 3, H - 3, 2, H - 3, W - 3, H - 3);
    c.Pen(glow[1]);
    c.Arc(2, 2, W - 3, H - 4, 3, 3, W - 2, 4);
    c.Pen(glow[2]);
    c.Arc(3, 3, W - 4, H - 3, 2, 3, W - 2, 3);
    c.Pen(glow[3]);
    c.Arc(W - 3, H - 2, 2, 2, W - 3, 3, 3, 3);
    c.Pen(glow[4]);
    c.Arc(W - 3, H - 3, 3, 3, W - 3, 4, 4, 4);
  }

  void InnerFrame(ShapeCanvas& c) const override { c.RoundRect(2, 2, c.W - 3, c.H - 3, c.W - 3, c.H - 3); }

  void FocusMark(ShapeCanvas& c) const override { c.RoundRect(4, 4, c.W - 5, c.H - 5, c.W - 5, c.H - 5); }

 private:
  // Half the outline: from the top-right direction round through the top and
  // the left to the bottom-left direction.
  static void UpperLeftArc(ShapeCanvas& c) {
    const double W = c.W, H = c.H;
    c.Arc(W - 2, H - 2, 1, 1, W - 2, 1, 1, H - 2);
  }
};

}  // namespace

FaceResult DrawEllipseFace(host::Surface& target, const FaceInput& in) { return DrawShapedFace(target, in, Ellipse{}); }

}  // namespace vantorel::controls

#include "button/shapes/face.h"

namespace vantorel::controls {

namespace {

using namespace face_color;

// Corners of 15 for the region but 16 for the outline: near the corners a thin
// band of the region lies outside the outline and shows the background.
class RoundedRectangle final : public ShapeFigures {
 public:
  FaceRegionRecipe Region(ShapeCanvas& c) const override {
    return FaceRegionRecipe::Box(FaceRegionRecipe::Kind::RoundRect, c.Round(c.W), c.Round(c.H), 15);
  }

  void Outline(ShapeCanvas& c) const override { c.RoundRect(0, 0, c.W - 1, c.H - 1, 16, 16); }

  void BevelSunken(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kDarkShadow);
    c.Path({{10, 0}, {W - 8, 0}});
    c.Arc(17, 17, 0, 0, 10, 0, 0, 10);
    c.Path({{0, 10}, {0, H - 10}});
    c.Arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H);
    c.Arc(16, H - 16, 0, H - 2, -16, H - 16, 8, H);
    c.Pen(kShadow);
    c.Path({{10, 1}, {W - 8, 1}});
    c.Arc(17, 17, 1, 1, 10, 1, 1, 10);
    c.Path({{1, 10}, {1, H - 10}});
    c.Arc(17, H - 16, 1, H - 2, -16, H - 16, 9, H - 1);
  }

  void BevelRaised(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kShadow);
    c.RoundRect(0, 0, W - 2, H - 2, 15, 15);
    c.Pen(kHighlight);
    c.Path({{10, 0}, {W - 8, 0}});
    c.Arc(17, 17, 0, 0, 10, 0, 0, 10);
    c.Path({{0, 10}, {0, H - 10}});
    c.Arc(17, H - 17, 0, H - 2, -16, H - 16, 9, H - 1);
    c.Arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1);
  }

  // The upper-left trim: top edge, top-left corner, left edge, bottom-left corner.
  void Trim(ShapeCanvas& c, bool) const override {
    const double W = c.W, H = c.H;
    c.Path({{10, 0}, {W - 8, 0}});
    c.Arc(17, 17, 0, 0, 10, 0, 0, 10);
    c.Path({{0, 10}, {0, H - 10}});
    c.Arc(17, H - 17, 0, H - 1, -16, H - 16, 9, H - 1);
  }

  void EtchedFrame(ShapeCanvas& c) const override {
    c.Pen(kShadow);
    c.RoundRect(0, 0, c.W - 2, c.H - 2, 16, 16);
    c.Pen(kHighlight);
    c.RoundRect(1, 1, c.W - 1, c.H - 1, 16, 16);
  }

  void GlowPressed(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 3, W - 2, H - 10);
    c.Path({{W - 9, H - 4}, {8, H - 4}});
    c.Path({{W - 4, 4}, {W - 4, H - 9}});
  }

  // The hover and focus frames differ in one number: where the first arc of
  // colour 2 ends.
  void Glow(ShapeCanvas& c, const host::OleColor (&glow)[5], GlowSet set) const override {
    const double W = c.W, H = c.H;
    c.Pen(glow[0]);
    c.Arc(16, H - 17, 1, H - 2, -17, H, 8, H - 1);
    c.Path({{W - 8, H - 3}, {8, H - 3}});
    c.Arc(W - 17, H - 17, W - 2, H - 2, W - 10, H - 2, W - 1, H - 10);
    c.Pen(glow[1]);
    c.Arc(17, H - 18, 1, H - 3, -18, H, 10, set == GlowSet::Hover ? H - 1 : H);
    c.Path({{1, 6}, {1, H - 8}});
    c.Path({{W - 8, H - 4}, {8, H - 4}});
    c.Arc(W - 17, H - 17, W - 3, H - 3, W - 10, H - 2, W - 1, H - 10);
    c.Path({{W - 3, 6}, {W - 3, H - 8}});
    c.Pen(glow[2]);
    c.Path({{2, 7}, {2, H - 7}});
    c.Path({{W - 4, 7}, {W - 4, H - 7}});
    c.Arc(17, 17, 1, 1, 8, 0, 0, 8);
    c.Arc(W - 17, 17, W - 2, 1, W - 1, 8, W - 12, 1);
    c.Arc(W - 17, 17, W - 3, 2, W - 1, 8, W - 12, 1);
    c.Arc(17, 17, 2, 2, 8, 0, 0, 8);
    c.Pen(glow[3]);
    c.Path({{10, 1}, {W - 7, 1}});
    c.Pen(glow[4]);
    c.Path({{10, 2}, {W - 8, 2}});
  }

  void InnerFrame(ShapeCanvas& c) const override { c.RoundRect(1, 1, c.W - 2, c.H - 2, 14, 14); }

  void FocusMark(ShapeCanvas& c) const override { c.RoundRect(4, 4, c.W - 5, c.H - 5, 15, 15); }
};

}  // namespace

FaceResult DrawRoundedRectangleFace(host::Surface& target, const FaceInput& in) {
  return DrawShapedFace(target, in, RoundedRectangle{});
}

}  // namespace vantorel::controls

#include "button/shapes/face.h"

namespace vantorel::controls {

namespace {

using namespace face_color;

// The rectangle is the whole window: it takes no region, and any region an
// earlier shape left goes.
class PlainRectangle final : public ShapeFigures {
 public:
  FaceRegionRecipe Region(ShapeCanvas&) const override { return FaceRegionRecipe{}; }

  void Outline(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Path({{0, 0}, {0, H - 1}, {W - 1, H - 1}, {W - 1, 0}, {0, 0}});
  }

  void BevelSunken(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kDarkShadow);
    c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
    c.Pen(kShadow);
    c.Path({{W - 1, 1}, {1, 1}, {1, H - 1}});
  }

  void BevelRaised(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kShadow);
    c.Path({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
    c.Pen(kHighlight);
    c.Path({{W - 1, 0}, {0, 0}, {0, H - 1}});
  }

  void Trim(ShapeCanvas& c, bool) const override { c.Path({{c.W - 1, 0}, {0, 0}, {0, c.H - 1}}); }

  void EtchedFrame(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Pen(kShadow);
    c.Path({{W - 2, 1}, {W - 2, H - 2}, {2, H - 2}});
    c.Pen(kHighlight);
    c.Path({{W - 1, 1}, {1, 1}, {1, H - 1}, {W - 1, H - 1}, {W - 1, 1}});
  }

  void GlowPressed(ShapeCanvas& c) const override {
    c.Path({{2, c.H - 3}, {c.W - 3, c.H - 3}, {c.W - 3, 2}});
  }

  void Glow(ShapeCanvas& c, const host::OleColor (&glow)[5], GlowSet) const override {
    const double W = c.W, H = c.H;
    c.Pen(glow[0]);
    c.Path({{W - 2, H - 2}, {0, H - 2}});
    c.Pen(glow[1]);
    c.Path({{1, 1}, {1, H - 3}, {W - 2, H - 3}, {W - 2, 1}});
    c.Pen(glow[2]);
    c.Path({{2, 2}, {2, H - 3}});
    c.Path({{W - 3, H - 4}, {W - 3, 2}});
    c.Pen(glow[3]);
    c.Path({{1, 1}, {W - 1, 1}});
    c.Pen(glow[4]);
    c.Path({{2, 2}, {W - 2, 2}});
  }

  void InnerFrame(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Path({{1, 1}, {1, H - 2}, {W - 2, H - 2}, {W - 2, 1}, {1, 1}});
  }

  void FocusMark(ShapeCanvas& c) const override {
    const double W = c.W, H = c.H;
    c.Path({{4, 4}, {4, H - 5}, {W - 5, H - 5}, {W - 5, 4}, {4, 4}});
  }
};

}  // namespace

FaceResult DrawRectangleFace(host::Surface& target, const FaceInput& in) {
  return DrawShapedFace(target, in, PlainRectangle{});
}

}  // namespace vantorel::controls

#include "button/shapes/table_shape.h"

namespace vantorel::controls {

namespace {

using namespace face_color;

class TableShape final : public ShapeFigures {
 public:
  explicit TableShape(const ShapeTable& table) : t_(table) {}

  FaceRegionRecipe Region(ShapeCanvas& c) const override { return c.PolygonRegion(t_.region); }
  void Outline(ShapeCanvas& c) const override { c.Draw(t_.outline); }

  void BevelSunken(ShapeCanvas& c) const override {
    c.Pen(kDarkShadow);
    c.Draw(t_.trimPressed);
    c.Pen(kShadow);
    c.Draw(t_.bevelSunkenShadow);
  }

  void BevelRaised(ShapeCanvas& c) const override {
    if (t_.bevelRaisedTrimFirst) RaisedTrim(c);
    c.Pen(kShadow);
    c.Draw(t_.bevelRaisedShadow);
    if (!t_.bevelRaisedTrimFirst) RaisedTrim(c);
  }

  void Trim(ShapeCanvas& c, bool pressed) const override { c.Draw(pressed ? t_.trimPressed : t_.trimRaised); }

  void EtchedFrame(ShapeCanvas& c) const override {
    c.Pen(kShadow);
    c.Draw(t_.etchedShadow);
    c.Pen(kHighlight);
    c.Draw(t_.etchedHighlight);
  }

  void GlowPressed(ShapeCanvas& c) const override { c.Draw(t_.glowPressedHighlight); }

  void Glow(ShapeCanvas& c, const host::OleColor (&glow)[5], GlowSet) const override {
    for (int i = 0; i < 5; ++i) {
      c.Pen(glow[i]);
      c.Draw(t_.glow[i]);
    }
  }

  void InnerFrame(ShapeCanvas& c) const override { c.Draw(t_.innerFrame); }
  void FocusMark(ShapeCanvas& c) const override { c.Polygon(t_.focusPoints); }

 private:
  void RaisedTrim(ShapeCanvas& c) const {
    c.Pen(kHighlight);
    c.Draw(t_.trimRaised);
  }

  const ShapeTable& t_;
};

}  // namespace

FaceResult DrawTableFace(host::Surface& target, const FaceInput& in, const ShapeTable& table) {
  return DrawShapedFace(target, in, TableShape(table));
}

}  // namespace vantorel::controls

#include "button/shapes/face.h"

namespace vantorel::controls {

namespace {

// The decoration of the style, the first state that holds deciding: pressed,
// then hover, then focused where the style has a focused look.
void Decorate(ShapeCanvas& c, const ShapeFigures& f) {
  using namespace face_color;
  const FaceState state = c.State();
  switch (c.style) {
    case kStyleClassicBevel:
      if (state == FaceState::Pressed)
        f.BevelSunken(c);
      else
        f.BevelRaised(c);
      break;
    case kStyleLightEdge:
    case kStyleHotEdge:
      if (state == FaceState::Pressed) {
        c.Pen(kDarkShadow);
        f.Trim(c, true);
      } else if (c.style == kStyleLightEdge || state == FaceState::Hover) {
        c.Pen(kHighlight);
        f.Trim(c, false);
      }
      break;
    case kStyleEtched:
      // The etched frame depends on Enabled alone, whatever the state.
      if (c.enabled) f.EtchedFrame(c);
      break;
    case kStyleGlow:
      if (state == FaceState::Pressed) {
        c.Pen(kHighlight);
        f.GlowPressed(c);
      } else if (state == FaceState::Hover) {
        f.Glow(c, kHoverGlow, GlowSet::Hover);
      } else if (state == FaceState::Focused) {
        f.Glow(c, kFocusGlow, GlowSet::Focus);
      }
      break;
    case kStyleGlass:
      c.Pen(state == FaceState::Pressed ? kInnerPressed : kInnerNormal);
      f.InnerFrame(c);
      if (state != FaceState::Pressed && c.focusRect && c.focused) {
        c.Pen(kInnerFocused);
        f.InnerFrame(c);
      }
      break;
    default: break;  // flat, sheen and any other value: the outline alone
  }
}

}  // namespace

FaceResult DrawShapedFace(host::Surface& target, const FaceInput& in, const ShapeFigures& figures) {
  ShapeCanvas c(target, in);
  const FaceRegionRecipe region = figures.Region(c);
  figures.Outline(c);
  Decorate(c, figures);
  // The mark is drawn last: its colour is the pen handed back, which the
  // pipeline's dotted pass turns black in a pattern.
  if (c.WantsFocusMark()) {
    c.Pen(face_color::kFocusMark);
    figures.FocusMark(c);
  }
  return c.Finish(region);
}

}  // namespace vantorel::controls

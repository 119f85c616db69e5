// Type 14: a gradient panel whose caption is bold while it is the default button.
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

constexpr int kGradientSpan = 58;

void Frame(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  f.Outline(0, 0, w, h, f.Shift(f.c.shadow, -50));
  f.Outline(1, 1, w - 2, h - 2, f.Shift(f.c.face, -9));
  f.Fill(2, 2, w - 4, 2, f.c.highlight);
  f.Fill(2, 4, 2, h - 6, f.c.highlight);
}

void Normal(FaceCanvas& f) {
  if (f.in.hot)
    f.Fill(0, 0, f.w, f.h, f.c.light);
  else
    f.Gradient(f.c.highlight, kGradientSpan);
  // Bold while default: the control lays the bold caption out before drawing.
  f.Caption();
  Frame(f);
  f.Focus();
}

void Pressed(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  f.Fill(1, 1, w, h, f.Shift(f.c.face, -9));
  f.Outline(0, 0, w, h, f.Shift(f.c.shadow, -48));
  f.Line(2, h - 2, w - 2, h - 2, f.c.highlight);
  f.Line(w - 2, 2, w - 2, h - 1, f.c.highlight);
  f.Caption();
  f.Focus();
}

void Disabled(FaceCanvas& f) {
  f.Gradient(f.c.highlight, kGradientSpan);
  Frame(f);
  f.Caption();
}

}  // namespace

// The focus rectangle keeps clear of the frame's highlight on the top and left.
const Face kGradientPanelFace{.normal = {Normal, kCaptionByHover},
                              .pressed = {Pressed, kCaptionPressedCarved},
                              .disabled = {Disabled, kCaptionCarved},
                              .boldWhenDefault = true,
                              .shape = WindowShape::CutCorners,
                              .focus = {6, 6, 4, 4},
                              .captionEffect = EffectBase::RaisedFace};

}  // namespace vantorel::controls::vb

// Type 4: a rounded light face in a dark frame. No shade of this type moves blue
// in proportion.
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

// At rest and disabled alike; only the caption differs.
void Body(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  f.Fill(1, 1, w - 2, h - 2, f.c.light);
  f.Caption();
  f.Outline(0, 0, w, h, f.c.darkShadow);
  f.InnerCorners(f.c.darkShadow);
  f.Line(1, 2, 2, 0, f.c.face);
  f.Line(3, 2, w - 3, 2, f.c.highlight);
  f.Line(2, 2, 2, h - 3, f.c.highlight);
  f.Pixel(3, 3, f.c.highlight);
  f.Line(w - 3, 1, w - 3, h - 3, f.c.face);
  f.Line(1, h - 3, w - 3, h - 3, f.c.face);
  f.Pixel(w - 4, h - 4, f.c.face);
  f.Line(w - 2, 2, w - 2, h - 2, f.c.shadow);
  f.Line(2, h - 2, w - 2, h - 2, f.c.shadow);
  f.Pixel(w - 3, h - 3, f.c.shadow);
}


void Pressed(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  const Rgb24 sunk = f.Shift(f.c.shadow, -16);
  const Rgb24 deep = f.Shift(f.c.shadow, -32);
  const Rgb24 deepest = f.Shift(f.c.shadow, -64);
  f.Fill(1, 1, w - 2, h - 2, sunk);
  // The caption's effect is cut from the sunken fill while it is drawn.
  f.c.raisedFace = sunk;
  f.Caption();
  f.c.raisedFace = f.Shift(f.c.face, 48);
  f.Outline(0, 0, w, h, f.c.darkShadow);
  f.Outline(1, 1, w - 2, h - 2, deepest);
  f.Outline(2, 2, w - 4, h - 4, deep);
  f.Pixel(2, 2, deepest);
  f.Pixel(3, 3, deep);
  f.InnerCorners(f.c.darkShadow);
  f.Line(w - 3, 1, w - 3, h - 3, f.c.shadow);
  f.Line(1, h - 3, w - 2, h - 3, f.c.shadow);
  f.Pixel(w - 4, h - 4, f.c.shadow);
  f.Line(w - 2, 3, w - 2, h - 2, sunk);
  f.Line(3, h - 2, w - 2, h - 2, sunk);
  f.Line(w - 2, h - 3, w - 4, h - 1, deep);
  f.Pixel(2, h - 2, deep);
  f.Pixel(w - 2, 2, deep);
}

}  // namespace

const Face kRoundedLightFace{.normal = {Body, kCaptionByHover},
                             .pressed = {Pressed, kCaptionPressedLight},
                             .disabled = {Body, kCaptionEmbossed},
                             .shape = WindowShape::RoundedCorners,
                             .captionEffect = EffectBase::RaisedFace};

}  // namespace vantorel::controls::vb

// Type 3: a gradient face with a blue outline and coloured hover and focus frames.
// Every shade of this type moves blue in proportion (FaceCanvas::Shift).
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

constexpr int kGradientSpan = 25;
constexpr Rgb24 kOutline = 0x00733C00;
constexpr Rgb24 kCorner = 0x007B4D10;

// The six strokes of the hover and focus frames, in their colours.
struct FrameColors {
  Rgb24 ring, bottom, top, second, left, right;
};
constexpr FrameColors kHotFrame{0x0031B2FF, 0x000096E7, 0x00CEF3FF, 0x008CDBFF, 0x006BCBFF, 0x006BCBFF};
constexpr FrameColors kFocusFrame{0x00E7AE8C, 0x00EF826B, 0x00FFE7CE, 0x00F7D7BD, 0x00F0D1B5, 0x00F0D1B5};

void Frame(FaceCanvas& f, const FrameColors& k) {
  const int w = f.w, h = f.h;
  f.Outline(1, 2, w - 2, h - 4, k.ring);
  f.Line(2, h - 2, w - 2, h - 2, k.bottom);
  f.Line(2, 1, w - 2, 1, k.top);
  f.Line(1, 2, w - 1, 2, k.second);
  f.Line(2, 3, 2, h - 3, k.left);
  f.Line(w - 3, 3, w - 3, h - 3, k.right);
}

// The resting edges: each a shade of the raised face.
void RestingEdges(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  const Rgb24 r = f.c.raisedFace;
  f.Line(2, h - 2, w - 2, h - 2, f.Shift(r, -48));
  f.Line(1, h - 3, w - 2, h - 3, f.Shift(r, -32));
  f.Line(w - 2, 2, w - 2, h - 2, f.Shift(r, -36));
  f.Line(w - 3, 3, w - 3, h - 3, f.Shift(r, -24));
  f.Line(2, 1, w - 2, 1, f.Shift(r, 16));
  f.Line(1, 2, w - 2, 2, f.Shift(r, 10));
  f.Line(1, 2, 1, h - 2, f.Shift(r, -5));
  f.Line(2, 3, 2, h - 3, f.Shift(r, -10));
}

void OutlineAndCorners(FaceCanvas& f) {
  f.Outline(0, 0, f.w, f.h, kOutline);
  f.InnerCorners(kCorner);
}

void Normal(FaceCanvas& f) {
  f.Gradient(f.c.raisedFace, kGradientSpan);
  f.Caption();
  OutlineAndCorners(f);
  if (f.in.hot)
    Frame(f, kHotFrame);
  else if (f.in.showFocusRect && (f.in.focused || f.in.isDefault))
    Frame(f, kFocusFrame);
  else
    RestingEdges(f);
}

void Pressed(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  const Rgb24 base = f.Shift(f.c.raisedFace, -32);
  f.Gradient(base, kGradientSpan, true);
  f.Caption();
  OutlineAndCorners(f);
  f.Line(2, h - 2, w - 2, h - 2, f.Shift(base, 16));
  f.Line(1, h - 3, w - 2, h - 3, f.Shift(base, 10));
  f.Line(w - 2, 2, w - 2, h - 2, f.Shift(base, 5));
  f.Line(w - 3, 3, w - 3, h - 3, f.c.raisedFace);
  f.Line(2, 1, w - 2, 1, f.Shift(base, -32));
  f.Line(1, 2, w - 2, 2, f.Shift(base, -24));
  f.Line(1, 2, 1, h - 2, f.Shift(base, -32));
  f.Line(2, 2, 2, h - 2, f.Shift(base, -22));
}

void Disabled(FaceCanvas& f) {
  f.Fill(0, 0, f.w, f.h, f.Shift(f.c.raisedFace, -24));
  f.Caption();
  f.Outline(0, 0, f.w, f.h, f.Shift(f.c.raisedFace, -84));
  f.InnerCorners(f.Shift(f.c.raisedFace, -72));
}

}  // namespace

const Face kBlueGradientFace{.normal = {Normal, kCaptionByHover},
                             .pressed = {Pressed, kCaptionPressed},
                             .disabled = {Disabled, kCaptionFaded},
                             .blueShades = true,
                             .shape = WindowShape::RoundedCorners,
                             .captionEffect = EffectBase::RaisedFace,
                             .pictureEffect = EffectBase::RaisedFace,
                             .picture = {.disabled = DisabledPicture::Greyscale}};

}  // namespace vantorel::controls::vb

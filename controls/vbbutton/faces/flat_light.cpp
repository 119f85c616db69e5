// Type 5: a flat light face with a focus frame around the caption.
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

constexpr Rgb24 kCaptionFrame = 0x00CC9999;

void CaptionFrame(FaceCanvas& f) {
  if (!f.in.focused || !f.in.showFocusRect) return;
  const Layout& l = f.in.layout;
  f.Outline(l.caption.left - 2, l.caption.top - 1, l.tw + 4, l.th + 2, kCaptionFrame);
}

void Normal(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  f.Fill(1, 1, w - 1, h - 1, f.Shift(f.c.face, 12));
  f.Caption();
  f.Outline(1, 1, w - 1, h - 1, f.c.highlight);
  f.Outline(0, 0, w - 1, h - 1, f.Shift(f.c.shadow, -26));
  f.Pixel(1, h - 2, f.Shift(f.c.shadow, 26));
  f.Pixel(w - 2, 1, f.Shift(f.c.shadow, 26));
  CaptionFrame(f);
}

void Pressed(FaceCanvas& f) {
  const int w = f.w, h = f.h;
  f.Fill(1, 1, w - 2, h - 2, f.Shift(f.c.shadow, 16));
  f.Outline(0, 0, w - 1, h - 1, f.Shift(f.c.shadow, -26));
  f.Line(w - 1, 1, w - 1, h, f.c.highlight);
  f.Line(1, h - 1, w - 1, h - 1, f.c.highlight);
  // The caption stays where it is and has no effect.
  f.Caption();
  CaptionFrame(f);
}

void Disabled(FaceCanvas& f) {
  f.Caption();
  f.Outline(0, 0, f.w, f.h, f.c.shadow);
}

}  // namespace

// Its pictures stay where they are when pressed, as its caption does.
const Face kFlatLightFace{.normal = {Normal, kCaptionByHover},
                          .pressed = {Pressed, kCaptionPlainHot},
                          .disabled = {Disabled, kCaptionFlat},
                          .boldAtDesignTime = true,
                          .shape = WindowShape::CutOpposedCorners,
                          .picture = {.pressShift = 0, .disabled = DisabledPicture::Shadow}};

}  // namespace vantorel::controls::vb

// Types 1, 2 and 6: the raised bevels.
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

// Type 1: a double bevel inside a dark frame.
void Type1Normal(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.highlight, f.c.shadow, f.c.highlight, f.c.shadow, 1);
  f.Outline(0, 0, f.w, f.h, f.c.darkShadow);
  f.Focus();
}
void Type1Pressed(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.shadow, f.c.highlight, f.c.shadow, f.c.highlight, 1);
  f.Outline(0, 0, f.w, f.h, f.c.darkShadow);
  f.Focus();
}
void Type1Disabled(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.highlight, f.c.shadow, f.c.highlight, f.c.shadow, 1);
  f.Outline(0, 0, f.w, f.h, f.c.darkShadow);
}

// Type 2: the standard push button; the default button gets a dark frame.
bool FramedAsDefault(const FaceCanvas& f) { return f.in.showFocusRect && f.in.isDefault; }

void Type2Normal(FaceCanvas& f) {
  f.Caption();
  if (FramedAsDefault(f)) {
    f.Bevel(f.c.highlight, f.c.darkShadow, f.c.light, f.c.shadow, 1);
    f.Focus();
    f.Outline(0, 0, f.w, f.h, f.c.darkShadow);
  } else {
    f.Bevel(f.c.highlight, f.c.darkShadow, f.c.light, f.c.shadow, 0);
  }
}
void Type2Pressed(FaceCanvas& f) {
  f.Caption();
  if (FramedAsDefault(f)) {
    f.Outline(0, 0, f.w, f.h, f.c.darkShadow);
    f.Outline(1, 1, f.w - 2, f.h - 2, f.c.shadow);
    f.Focus();
  } else {
    f.Bevel(f.c.darkShadow, f.c.highlight, f.c.shadow, f.c.light, 0);
  }
}
void Type2Disabled(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.highlight, f.c.darkShadow, f.c.light, f.c.shadow, 0);
}

// Type 6: a soft double bevel whose light edge is a little lighter than light.
Rgb24 SoftLight(const FaceCanvas& f) { return f.Shift(f.c.light, 8); }

void Type6Normal(FaceCanvas& f) {
  f.Caption();
  f.Bevel(SoftLight(f), f.c.shadow, SoftLight(f), f.c.shadow, 0);
  f.Focus();
}
void Type6Pressed(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.shadow, SoftLight(f), f.c.shadow, SoftLight(f), 0);
  f.Focus();
}
void Type6Disabled(FaceCanvas& f) {
  f.Caption();
  f.Bevel(SoftLight(f), f.c.shadow, SoftLight(f), f.c.shadow, 0);
}

}  // namespace

const Face kBlackFramedBevelFace{.normal = {Type1Normal, kCaptionByHover},
                                 .pressed = {Type1Pressed, kCaptionPressed},
                                 .disabled = {Type1Disabled, kCaptionEmbossed},
                                 .shape = WindowShape::CutCorners};
const Face kStandardBevelFace{.normal = {Type2Normal, kCaptionByHover},
                              .pressed = {Type2Pressed, kCaptionPressed},
                              .disabled = {Type2Disabled, kCaptionEmbossed}};
const Face kSoftBevelFace{.normal = {Type6Normal, kCaptionByHover},
                          .pressed = {Type6Pressed, kCaptionPressed},
                          .disabled = {Type6Disabled, kCaptionFlat},
                          .picture = {.disabled = DisabledPicture::Shadow}};

}  // namespace vantorel::controls::vb

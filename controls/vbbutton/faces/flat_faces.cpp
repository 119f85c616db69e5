// Types 7, 8 and 12: flat faces with borders (8 and 12 only while hot).
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

void Type7Normal(FaceCanvas& f) {
  f.Caption();
  f.BevelOuter(f.c.highlight, f.c.shadow);
  f.Focus();
}
void Type8Normal(FaceCanvas& f) {
  f.Caption();
  if (f.in.hot) f.BevelOuter(f.c.highlight, f.c.shadow);
  f.Focus();
}
void Type12Normal(FaceCanvas& f) {
  f.Caption();
  if (f.in.hot) f.Bevel(f.c.highlight, f.c.darkShadow, f.c.light, f.c.shadow, 0);
  f.Focus();
}

void ThinPressed(FaceCanvas& f) {
  f.Caption();
  f.BevelOuter(f.c.shadow, f.c.highlight);
  f.Focus();
}
void Type12Pressed(FaceCanvas& f) {
  f.Caption();
  f.Bevel(f.c.darkShadow, f.c.highlight, f.c.shadow, f.c.light, 0);
  f.Focus();
}

void Type7Disabled(FaceCanvas& f) {
  f.Caption();
  f.BevelOuter(f.c.highlight, f.c.shadow);
}
void BorderlessDisabled(FaceCanvas& f) { f.Caption(); }

}  // namespace

const Face kBorderedFlatFace{{Type7Normal, kCaptionByHover}, {ThinPressed, kCaptionPressed}, {Type7Disabled, kCaptionEmbossed}};
const Face kHotBorderFlatFace{{Type8Normal, kCaptionByHover}, {ThinPressed, kCaptionPressed}, {BorderlessDisabled, kCaptionEmbossed}};
const Face kHotBevelFlatFace{{Type12Normal, kCaptionByHover}, {Type12Pressed, kCaptionPressed}, {BorderlessDisabled, kCaptionEmbossed}};

}  // namespace vantorel::controls::vb

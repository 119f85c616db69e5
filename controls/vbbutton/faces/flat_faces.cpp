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

// The thin borders leave the focus rectangle one pixel nearer the edge.
const Face kBorderedFlatFace{.normal = {Type7Normal, kCaptionByHover},
                             .pressed = {ThinPressed, kCaptionPressed},
                             .disabled = {Type7Disabled, kCaptionEmbossed},
                             .focus = {3, 3, 3, 3}};
const Face kHotBorderFlatFace{.normal = {Type8Normal, kCaptionByHover},
                              .pressed = {ThinPressed, kCaptionPressed},
                              .disabled = {BorderlessDisabled, kCaptionEmbossed},
                              .focus = {3, 3, 3, 3}};
const Face kHotBevelFlatFace{.normal = {Type12Normal, kCaptionByHover},
                             .pressed = {Type12Pressed, kCaptionPressed},
                             .disabled = {BorderlessDisabled, kCaptionEmbossed},
                             .focus = {3, 3, 3, 3}};

}  // namespace vantorel::controls::vb

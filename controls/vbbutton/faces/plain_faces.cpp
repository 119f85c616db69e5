// Types 10, 11 and 13: picture only, transparent and oval.
#include "vbbutton/faces/faces.h"

namespace vantorel::controls::vb {

namespace {

// Type 10 shows only the face fill and its pictures, never a caption.
void Nothing(FaceCanvas&) {}

// Type 11 is covered with what its parent draws behind it.
void TransparentNormal(FaceCanvas& f) {
  f.Background();
  f.Caption();
  f.Focus();
}
void TransparentPressed(FaceCanvas& f) {
  f.Background();
  f.Caption();
  f.Focus();
}
void TransparentDisabled(FaceCanvas& f) {
  f.Background();
  f.Caption();
}

// Type 13 is an ellipse; its window is shaped to match, and it has no focus
// rectangle.
void OvalNormal(FaceCanvas& f) {
  f.Ellipse(f.in.hot ? f.c.shadow : f.c.face, f.c.face);
  f.Caption();
}
void OvalPressed(FaceCanvas& f) {
  f.Ellipse(f.c.darkShadow, f.Shift(f.c.face, -32));
  f.Caption();
}
void OvalDisabled(FaceCanvas& f) { f.Caption(); }

}  // namespace

const Face kPictureOnlyFace{{Nothing, kCaptionNone}, {Nothing, kCaptionNone}, {Nothing, kCaptionNone}};
const Face kTransparentFace{{TransparentNormal, kCaptionByHover}, {TransparentPressed, kCaptionPressed}, {TransparentDisabled, kCaptionEmbossed}};
const Face kOvalFace{{OvalNormal, kCaptionByHover}, {OvalPressed, kCaptionPressed}, {OvalDisabled, kCaptionEmbossed}};

}  // namespace vantorel::controls::vb

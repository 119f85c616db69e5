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

const Face kPictureOnlyFace{.normal = {Nothing, kCaptionNone},
                            .pressed = {Nothing, kCaptionNone},
                            .disabled = {Nothing, kCaptionNone},
                            .focus = {3, 3, 3, 3}};
const Face kTransparentFace{.normal = {TransparentNormal, kCaptionByHover},
                            .pressed = {TransparentPressed, kCaptionPressed},
                            .disabled = {TransparentDisabled, kCaptionEmbossed},
                            .capturesBackground = true,
                            .focus = {3, 3, 3, 3}};
const Face kOvalFace{.normal = {OvalNormal, kCaptionByHover},
                     .pressed = {OvalPressed, kCaptionPressed},
                     .disabled = {OvalDisabled, kCaptionEmbossed},
                     .shape = WindowShape::Ellipse,
                     .focus = {3, 3, 3, 3}};
// A ButtonType outside 1 to 14: no face, only the fill and the pictures.
const Face kNoFace{.normal = {Nothing, kCaptionNone},
                   .pressed = {Nothing, kCaptionNone},
                   .disabled = {Nothing, kCaptionNone}};

}  // namespace vantorel::controls::vb

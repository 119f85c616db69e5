#include "button/button_layout.h"

#include "button/paint_math.h"
#include "button/stored_values.h"

namespace vantorel::controls {

namespace {

// The placement rule shared by the picture and the caption: centred along an
// axis, or `margin` plus a small fraction from the top or left edge, or 5
// pixels from the right or bottom edge. Any other value keeps the previous place.
void Place(std::int32_t alignment, double W, double H, double w, double h, double margin, Rounder& r,
           PixelBox* box) {
  switch (alignment) {
    case kAlignTop: box->left = r((W - w) / 2); box->top = r((H - h) / H + margin); break;
    case kAlignLeft: box->left = r((W - w) / W + margin); box->top = r((H - h) / 2); break;
    case kAlignCentre: box->left = r((W - w) / 2); box->top = r((H - h) / 2); break;
    case kAlignRight: box->left = r(W - w - 5); box->top = r((H - h) / 2); break;
    case kAlignBottom: box->left = r((W - w) / 2); box->top = r(H - h - 5); break;
    default: break;
  }
}

bool Placed(std::int32_t alignment) { return alignment >= kAlignTop && alignment <= kAlignBottom; }

}  // namespace

host::Status ComputeLayout(const LayoutInput& in, ButtonLayout* out) {
  ButtonLayout layout = in.previous;
  Rounder r;
  // The picture's box is 4 or 5 pixels in from the top or left, the caption's
  // 5 or 6; without a picture its box has no size and keeps its place.
  if (in.hasPicture) {
    layout.picture.width = in.pictureWidth;
    layout.picture.height = in.pictureHeight;
    Place(in.pictureAlignment, in.width, in.height, in.pictureWidth, in.pictureHeight, 4, r, &layout.picture);
  } else {
    layout.picture.width = 0;
    layout.picture.height = 0;
  }
  // An unknown caption alignment measures nothing: the box keeps its size too.
  if (Placed(in.captionAlignment)) {
    layout.caption.width = in.captionWidth;
    layout.caption.height = in.captionHeight;
    Place(in.captionAlignment, in.width, in.height, in.captionWidth, in.captionHeight, 5, r, &layout.caption);
  }
  if (host::Status s = r.status(); !s.ok()) return s;
  *out = layout;
  return host::kOk;
}

}  // namespace vantorel::controls

#include "vbbutton/layout.h"

namespace vantorel::controls::vb {

Box MeasuringBox(int w, int h, int pw, int ph, int position) {
  switch (position) {
    case kPictureLeft: return {pw + 1, 1, w - 2, h - 2};
    case kPictureRight: return {1, 1, w - pw - 2, h - 2};
    case kPictureAbove: return {1, ph + 1, w - 2, h - 2};
    case kPictureBelow: return {1, 1, w - 2, h - ph - 2};
    default: return {1, 1, w - 2, h - 2};
  }
}

Layout PlaceCaptionAndPicture(int w, int h, int pw, int ph, int position, Box measured, bool hasCaption,
                              bool hasPicture) {
  Layout out;
  out.tw = measured.right - measured.left;
  out.th = measured.bottom - measured.top;
  // Integer division toward zero, as the control has always centred: a caption
  // wider than the control moves left by half the excess.
  int dx = position == kPictureRight ? (w - measured.right - pw - 4) / 2 : (w - measured.right) / 2;
  int dy = position == kPictureBelow ? (h - measured.bottom - ph - 4) / 2 : (h - measured.bottom) / 2;
  out.caption = {measured.left + dx, measured.top + dy, measured.right + dx, measured.bottom + dy};
  out.pressedCaption = {out.caption.left + 1, out.caption.top + 1, out.caption.right + 1, out.caption.bottom + 1};
  if (!hasPicture) return out;
  if (hasCaption && position != kPictureCentre) {
    switch (position) {
      case kPictureLeft:
        out.pictureX = out.caption.left - pw - 4;
        out.pictureY = (h - ph) / 2;
        return out;
      case kPictureRight:
        out.pictureX = out.caption.right + 4;
        out.pictureY = (h - ph) / 2;
        return out;
      case kPictureAbove:
        out.pictureX = (w - pw) / 2;
        out.pictureY = out.caption.top - ph - 2;
        return out;
      case kPictureBelow:
        out.pictureX = (w - pw) / 2;
        out.pictureY = out.caption.bottom + 2;
        return out;
      default: break;  // a position outside 0 to 4 centres the picture
    }
  }
  out.pictureX = (w - pw) / 2;
  out.pictureY = (h - ph) / 2;
  return out;
}

bool HasVisibleCaption(std::wstring_view caption) {
  for (wchar_t c : caption)
    if (c != L' ') return true;
  return false;
}

Box FocusBox(int w, int h, const Insets& inset) { return {inset.left, inset.top, w - inset.right, h - inset.bottom}; }

}  // namespace vantorel::controls::vb

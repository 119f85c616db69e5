#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"

namespace vantorel::controls {

namespace {

enum class GreyRule { Red, Blue };

// Every pixel of the box that differs from the stored BackColor value becomes a
// grey taken from one channel; with a system colour as BackColor every pixel
// differs. The box includes one column and one row past the picture; pixels off
// the surface are left alone. Works on the image directly with the same result
// as reading and writing each pixel through GDI.
void Grey(host::Surface& sf, const PixelBox& box, host::OleColor backColor, GreyRule rule) {
  std::uint32_t* px = sf.Pixels();
  const int w = sf.ScaleWidth(), h = sf.ScaleHeight();
  for (std::int64_t x = box.left; x <= static_cast<std::int64_t>(box.left) + box.width; ++x) {
    if (x < 0 || x >= w) continue;
    for (std::int64_t y = box.top; y <= static_cast<std::int64_t>(box.top) + box.height; ++y) {
      if (y < 0 || y >= h) continue;
      std::uint32_t& q = px[y * w + x];
      const COLORREF v = host::DibToColorRef(q & 0x00FFFFFFu);
      if (v == backColor) continue;
      // The blue rule rounds v / 65536 to the nearest integer, ties to even, before
      // taking the low byte: 0xFF8000 gives 255.5, rounded 256, grey level 0.
      const std::uint32_t g = rule == GreyRule::Red
                                  ? (v & 0xFF)
                                  : static_cast<std::uint32_t>(std::nearbyint(v / 65536.0)) & 0xFF;
      q = (g << 16) | (g << 8) | g;
    }
  }
}

}  // namespace

host::Status DrawPictureLayer(host::Surface& sf, const ButtonProps& p, const PaintState& state, const PixelBox& box) {
  const host::PictureRef& pic = p.picture;
  if (!pic) return host::kOk;
  if (!state.enabled) {
    if (!sf.DrawPicture(*pic, box.left, box.top)) return host::kInvalidPicture;
    Grey(sf, box, p.backColor, GreyRule::Blue);
    return host::kOk;
  }
  bool drawn = true;
  if (state.pressed) {
    drawn = sf.DrawPicture(*pic, box.left + 1, box.top + 1);
  } else if (state.hovering) {
    drawn = sf.DrawPicture(*pic, box.left, box.top);
    if (drawn && p.buttonStyle == kStyleFlat) drawn = sf.DrawPicture(*pic, box.left - 1, box.top - 1);
  } else {
    drawn = sf.DrawPicture(*pic, box.left, box.top);
    if (drawn && p.pictureGray) Grey(sf, box, p.backColor, GreyRule::Red);
  }
  return drawn ? host::kOk : host::kInvalidPicture;
}

}  // namespace vantorel::controls

#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"

namespace vantorel {

namespace {

enum class GreyRule { Red, Blue };

// Every pixel of the box that differs from the stored BackColor value becomes a
// grey taken from one channel; with a system colour as BackColor every pixel
// differs. The box includes one column and one row past the picture; pixels off
// the surface are left alone. Works on the image directly with the same result
// as reading and writing each pixel through GDI.
void Grey(Surface& sf, const PixelBox& box, OleColor backColor, GreyRule rule) {
  std::uint32_t* px = sf.Pixels();
  const int w = sf.ScaleWidth(), h = sf.ScaleHeight();
  for (std::int64_t x = box.left; x <= static_cast<std::int64_t>(box.left) + box.width; ++x) {
    if (x < 0 || x >= w) continue;
    for (std::int64_t y = box.top; y <= static_cast<std::int64_t>(box.top) + box.height; ++y) {
      if (y < 0 || y >= h) continue;
      std::uint32_t& q = px[y * w + x];
      const COLORREF v = DibToColorRef(q & 0x00FFFFFFu);
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

Status DrawPictureLayer(Button& b) {
  PixelBox& box = b.PictureBox();
  const PictureRef& pic = b.Picture();
  if (!pic) {
    box.width = 0;
    box.height = 0;
    return kOk;
  }
  Surface& sf = b.surface();
  Rounder r;
  const double W = sf.ScaleWidth(), H = sf.ScaleHeight();
  box.width = r(sf.HimetricToPixelsX(pic->WidthHimetric()));
  box.height = r(sf.HimetricToPixelsY(pic->HeightHimetric()));
  const double w = box.width, h = box.height;
  switch (b.PictureAlignment()) {
    case 0: box.left = r((W - w) / 2); box.top = r((H - h) / H + 4); break;
    case 1: box.left = r((W - w) / W + 4); box.top = r((H - h) / 2); break;
    case 2: box.left = r((W - w) / 2); box.top = r((H - h) / 2); break;
    case 3: box.left = r(W - w - 5); box.top = r((H - h) / 2); break;
    case 4: box.left = r((W - w) / 2); box.top = r(H - h - 5); break;
    default: break;  // keeps the place of the previous paint
  }
  if (Status st = r.status(); !st.ok()) return st;

  if (!b.Enabled()) {
    if (!sf.DrawPicture(*pic, box.left, box.top)) return kInvalidPicture;
    Grey(sf, box, b.BackColor(), GreyRule::Blue);
    return kOk;
  }
  bool drawn = true;
  if (b.Pressed()) {
    drawn = sf.DrawPicture(*pic, box.left + 1, box.top + 1);
  } else if (b.Hovering()) {
    drawn = sf.DrawPicture(*pic, box.left, box.top);
    if (drawn && b.ButtonStyle() == 5) drawn = sf.DrawPicture(*pic, box.left - 1, box.top - 1);
  } else {
    drawn = sf.DrawPicture(*pic, box.left, box.top);
    if (drawn && b.PictureGray()) Grey(sf, box, b.BackColor(), GreyRule::Red);
  }
  return drawn ? kOk : kInvalidPicture;
}

}  // namespace vantorel

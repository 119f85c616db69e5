#include "button/paint_passes.h"

#include "button/paint_math.h"
#include "button/stored_values.h"
#include "host/surface.h"

namespace vantorel::controls {

namespace {

// The chevrons of the drop-down arrow, relative to its origin.
struct Polyline3 {
  POINT p[3];
};
constexpr Polyline3 kChevrons[] = {
    {{{6, 5}, {9, 8}, {13, 4}}},
    {{{7, 5}, {9, 7}, {12, 4}}},
    {{{6, 9}, {9, 12}, {13, 8}}},
    {{{7, 9}, {9, 11}, {12, 8}}},
};

constexpr host::OleColor kCaptionFocusBox = 0xCC9999;

}  // namespace

host::Status DrawFocusDots(host::Surface& sf, host::OleColor pen) {
  if (host::IsSystemColor(pen)) return host::kOk;
  // Works on the image's pixels directly, with the same result as reading and
  // writing each pixel through GDI.
  const std::uint32_t match = host::ColorRefToDib(pen);
  std::uint32_t* px = sf.Pixels();
  const int iw = sf.ScaleWidth();
  const double w = sf.ScaleWidth(), h = sf.ScaleHeight();
  Rounder r;
  const LONG lastX3 = r(w - 3), lastY3 = r(h - 3), lastX2 = r(w - 2), lastY2 = r(h - 2);
  if (host::Status s = r.status(); !s.ok()) return s;
  auto lattice = [&](LONG start, LONG lastX, LONG lastY) {
    for (LONG x = start; x <= lastX; x += 2)
      for (LONG y = start; y <= lastY; y += 2) {
        std::uint32_t& q = px[static_cast<std::size_t>(y) * iw + x];
        if ((q & 0x00FFFFFFu) == match) q = 0;
      }
  };
  lattice(3, lastX3, lastY3);
  lattice(2, lastX2, lastY2);
  return host::kOk;
}

void DrawCaptionFocusBox(host::Surface& sf, const PixelBox& c, host::OleColor& pen) {
  sf.SetForeColor(kCaptionFocusBox);
  pen = kCaptionFocusBox;
  RoundRect(sf.Hdc(), c.left - 3, c.top - 2, c.left + c.width + 2, c.top + c.height + 2, 0, 0);
}

host::Status DrawDropDownArrow(host::Surface& sf, std::int32_t dropDown, host::OleColor& pen) {
  if (dropDown == kNoDropDown) return host::kOk;
  Rounder r;
  LONG x0 = 0, y0 = 0;
  if (dropDown == kDropDownLeft || dropDown == kDropDownRight) {
    x0 = dropDown == kDropDownLeft ? 2 : r(sf.ScaleWidth() - 21.0);
    y0 = r(sf.ScaleHeight() / 2.0 - 8);
  }
  if (host::Status s = r.status(); !s.ok()) return s;
  sf.SetForeColor(0);
  pen = 0;
  HDC dc = sf.Hdc();
  for (const Polyline3& line : kChevrons) {
    MoveToEx(dc, x0 + line.p[0].x, y0 + line.p[0].y, nullptr);
    LineTo(dc, x0 + line.p[1].x, y0 + line.p[1].y);
    LineTo(dc, x0 + line.p[2].x, y0 + line.p[2].y);
  }
  return host::kOk;
}

}  // namespace vantorel::controls

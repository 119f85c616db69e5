#pragma once

// Reading a control's backing image, for either control: a pixel, the box a
// colour fills, how many pixels differ from a colour, and a hash of the whole.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "host/color.h"
#include "host/hosted_control.h"

namespace vantorel::host::test {

// Pixel of the backing image as a COLORREF (0x00BBGGRR).
inline COLORREF Pixel(HostedControl* c, int x, int y) { return DibToColorRef(c->surface().PixelAt(x, y)); }

// A rectangle of pixels, inclusive; empty (right < left) when it holds none.
struct Bounds {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool empty() const { return right < left; }
};

// The smallest rectangle (inclusive) holding every pixel of the given colour inside
// the area; empty (right < left) when there is none.
inline Bounds ColourBounds(HostedControl* c, COLORREF colour, RECT area) {
  Bounds r;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Pixel(c, x, y) == colour) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
  return r;
}

// How many pixels of the area differ from the colour.
inline int PixelsNotOf(HostedControl* c, COLORREF colour, RECT area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += Pixel(c, x, y) != colour;
  return n;
}

// FNV-1a over the size and the colour of every pixel of the backing image.
inline std::uint32_t ImageHash(HostedControl* c) {
  Surface& s = c->surface();
  std::uint32_t h = 2166136261u;
  auto mix = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 16777619u;
    }
  };
  mix(static_cast<std::uint32_t>(s.ScaleWidth()));
  mix(static_cast<std::uint32_t>(s.ScaleHeight()));
  const std::uint32_t* px = s.Pixels();
  for (int i = 0; i < s.ScaleWidth() * s.ScaleHeight(); ++i) mix(px[i] & 0x00FFFFFFu);
  return h;
}

}  // namespace vantorel::host::test

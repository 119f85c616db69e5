#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "button/button.h"
#include "host_support.h"

namespace vantorel::controls::test {

// The stored values of the main window's buttons, as its form data holds them
// (keys in lower case), for a button 89 x 25 pixels.
inline PropertyBag MainWindowBag(const std::wstring& caption = L"Replace") {
  std::wstring text =
      L"_extentx = i32 2355\n"
      L"_extenty = i32 661\n"
      L"buttonstyle = i32 7\n"
      L"buttontheme = i32 1\n"
      L"backcolor = i32 0x00F1B39A\n"
      L"backcolorpressed = i32 0x00FAE6DD\n"
      L"backcolorhover = i32 0x00FDF7F4\n"
      L"bordercolor = i32 0x008F8F8E\n"
      L"bordercolorpressed = i32 0x005C411D\n"
      L"bordercolorhover = i32 0x00B17F3C\n"
      L"caption = str \"" + caption + L"\"\n"
      L"font = font \"Tahoma\" 8.25 700 0 0 0 0\n";
  std::wstring error;
  return *BagFromText(text, &error);
}

// Pixel of the backing image as a COLORREF (0x00BBGGRR).
inline COLORREF Pixel(Button* b, int x, int y) { return DibToColorRef(b->surface().PixelAt(x, y)); }

// The smallest rectangle (inclusive) holding every pixel of the given colour inside
// the area; empty (right < left) when there is none.
inline Bounds ColourBounds(Button* b, COLORREF colour, RECT area) {
  Bounds r;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (Pixel(b, x, y) == colour) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
      }
  return r;
}

// FNV-1a over the size and the colour of every pixel of the backing image.
inline std::uint32_t ImageHash(Button* b) {
  Surface& s = b->surface();
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

}  // namespace vantorel::controls::test

#pragma once

#include <windows.h>

#include <cstdint>

namespace vantorel::host {

// A stored colour: 0x800000nn names system colour nn, anything else is 0x00BBGGRR.
using OleColor = std::uint32_t;

inline constexpr OleColor kSystemColorFlag = 0x80000000u;

constexpr bool IsSystemColor(OleColor c) { return (c & kSystemColorFlag) != 0; }

// Translates a stored colour to an RGB value. A system colour whose index the
// platform does not know fails and leaves *out untouched.
bool TranslateColor(OleColor c, COLORREF* out);

// The value GDI is given: the translation, or the stored low 24 bits when the
// translation fails.
COLORREF ResolveColor(OleColor c);

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
};

// The colour split step shared by all drawing code: translate, and if that fails
// split the value as stored.
Rgb SplitColor(OleColor c);

// A 32-bit DIB pixel (0x00RRGGBB) as a COLORREF (0x00BBGGRR) and back.
constexpr COLORREF DibToColorRef(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
constexpr std::uint32_t ColorRefToDib(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace vantorel::host

// What the paint tests share: the main window's stored colours and the colour
// a gradient has at a fraction of its way.
#pragma once

#include <cstdlib>

#include "test_support.h"

namespace vantorel::controls::test {

// Colours as COLORREF (0x00BBGGRR), the way the stored values write them.
constexpr COLORREF kMainBack = 0xF1B39A;
constexpr COLORREF kMainHover = 0xFDF7F4;
constexpr COLORREF kMainPressed = 0xFAE6DD;

// Channel-wise a + (b - a) * t, the colour a gradient has at fraction t.
inline COLORREF Mix(COLORREF a, COLORREF b, double t) {
  COLORREF out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    double va = (a >> shift) & 0xFF, vb = (b >> shift) & 0xFF;
    out |= static_cast<COLORREF>(va + (vb - va) * t + 0.5) << shift;
  }
  return out;
}

inline bool Near(COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  return true;
}

}  // namespace vantorel::controls::test

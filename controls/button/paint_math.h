#pragma once

#include <windows.h>

#include <cmath>
#include <cstdint>

#include "host/color.h"
#include "host/status.h"

namespace vantorel::controls {

// Positions are computed in floating point and rounded to the nearest integer,
// ties to even (W / 2 with W = 105 gives 52, with W = 107 gives 54). A value that
// is not finite or does not fit 32 bits marks the paint as overflowed.
class Rounder {
 public:
  LONG operator()(double v) {
    if (!std::isfinite(v) || v < -2147483648.0 || v > 2147483647.0) {
      failed_ = true;
      return 0;
    }
    return static_cast<LONG>(std::nearbyint(v));
  }
  host::Status status() const { return failed_ ? host::kOverflow : host::kOk; }

 private:
  bool failed_ = false;
};

// One GradientFill of two vertices, A with colour X and B with colour Y, the
// rectangle's upper-left index naming B and its lower-right A. GDI puts each
// vertex's colour at that vertex's coordinate, whichever lies further left or up,
// so A may be below or right of B.
inline void GradientPair(HDC dc, bool vertical, LONG ax, LONG ay, host::OleColor x, LONG bx, LONG by,
                         host::OleColor y) {
  host::Rgb cx = host::SplitColor(x);
  host::Rgb cy = host::SplitColor(y);
  TRIVERTEX v[2] = {
      {ax, ay, static_cast<COLOR16>(cx.r << 8), static_cast<COLOR16>(cx.g << 8), static_cast<COLOR16>(cx.b << 8), 0},
      {bx, by, static_cast<COLOR16>(cy.r << 8), static_cast<COLOR16>(cy.g << 8), static_cast<COLOR16>(cy.b << 8), 0},
  };
  GRADIENT_RECT rect{1, 0};
  GradientFill(dc, v, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace vantorel::controls

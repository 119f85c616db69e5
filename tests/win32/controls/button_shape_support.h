#pragma once

// What the shaped faces' pixel tests share: the colours a case can expect,
// worked out from the system colours, the style's fixed colours and the focus
// mark's lattices; points as expressions of W and H; and a table of cases
// checked at each size.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "button_face_states.h"

namespace vantorel::controls::test::shapes {

// What the shape tests use of the shared helpers, under this one name.
using host::test::Pixel;
using host::test::TestParent;
using test::Dispose;
using test::Face;
using test::Name;
using test::State;

inline int R(double v) { return static_cast<int>(std::nearbyint(v)); }

// The colours a case can expect.
enum class Expect {
  Black,       // the outline of style 0 (BorderColor 0), or a pixel turned black
  Back,        // the background the pipeline painted (button face)
  DarkShadow,  // COLOR_3DDKSHADOW
  Shadow,      // COLOR_BTNSHADOW
  Highlight,   // COLOR_BTNHIGHLIGHT
  Glow1, Glow2, Glow3, Glow4, Glow5,  // of the hover set when hovered, else the focus set
  InnerPressed, InnerNormal, InnerFocused,
  FocusMark,   // grey, or black where a dotting pass reaches it
};

inline bool IsDiamond(int shape) { return shape == 3; }

// A pixel of the focus mark: the pipeline blackens pen-coloured pixels on two
// lattices, (odd, odd) from 3 to W - 3 / H - 3 and (even, even) from 2 to W - 2 /
// H - 2; the diamond first blackens them on every odd row from x = 2 to W - 2.
inline COLORREF FocusMarkAt(int shape, int x, int y, int W, int H) {
  const bool scan = IsDiamond(shape) && y % 2 == 1 && x >= 2 && x <= W - 2 && y <= H - 1;
  const bool odd = x % 2 == 1 && y % 2 == 1 && x >= 3 && x <= W - 3 && y >= 3 && y <= H - 3;
  const bool even = x % 2 == 0 && y % 2 == 0 && x >= 2 && x <= W - 2 && y >= 2 && y <= H - 2;
  return scan || odd || even ? RGB(0, 0, 0) : RGB(209, 209, 209);
}

inline COLORREF Colour(Expect e, State state, int shape, POINT p, int W, int H) {
  static const COLORREF kHover[5] = {RGB(220, 154, 16), RGB(240, 178, 49), RGB(247, 214, 144), RGB(255, 243, 206),
                                     RGB(255, 219, 140)};
  static const COLORREF kFocus[5] = {RGB(89, 141, 217), RGB(129, 169, 226), RGB(181, 209, 240), RGB(189, 215, 247),
                                     RGB(206, 231, 255)};
  const bool hover = state == State::Hover || state == State::HoverFocused;
  switch (e) {
    case Expect::Black: return RGB(0, 0, 0);
    case Expect::Back: return GetSysColor(COLOR_BTNFACE);
    case Expect::DarkShadow: return GetSysColor(COLOR_3DDKSHADOW);
    case Expect::Shadow: return GetSysColor(COLOR_BTNSHADOW);
    case Expect::Highlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case Expect::Glow1:
    case Expect::Glow2:
    case Expect::Glow3:
    case Expect::Glow4:
    case Expect::Glow5: {
      const int i = static_cast<int>(e) - static_cast<int>(Expect::Glow1);
      return hover ? kHover[i] : kFocus[i];
    }
    case Expect::InnerPressed: return RGB(115, 176, 207);
    case Expect::InnerNormal: return RGB(255, 255, 255);
    case Expect::InnerFocused: return RGB(4, 204, 254);
    case Expect::FocusMark: return FocusMarkAt(shape, p.x, p.y, W, H);
  }
  return CLR_INVALID;
}

using At = std::function<POINT(double W, double H)>;
// Where a steep line from (x0, y0) to (x1, y1) crosses row y: the pixel nearest
// the ideal line (never asked where it lies half-way between two).
inline double LineX(double x0, double y0, double x1, double y1, double y) {
  x0 = R(x0), y0 = R(y0), x1 = R(x1), y1 = R(y1);
  return x0 + (y - y0) * (x1 - x0) / (y1 - y0);
}

#define AT(x, y) [](double W, double H) { (void)W, (void)H; return POINT{R(x), R(y)}; }

struct PixelCase {
  const char* what;
  int shape;
  int style;
  State state;
  At at;
  Expect expect;
  int styleColors = 0;
};

inline void CheckPixels(const std::vector<PixelCase>& cases, std::initializer_list<int> sizes) {
  host::test::TestParent parent;
  for (int size : sizes) {
    for (const PixelCase& c : cases) {
      Button* b = Face(parent.hwnd(), c.shape, c.style, size, size, c.state, c.styleColors);
      const POINT p = c.at(size, size);
      EXPECT_EQ(host::test::Pixel(b, p.x, p.y), Colour(c.expect, c.state, c.shape, p, size, size))
          << c.what << ": shape " << c.shape << " style " << c.style << " " << Name(c.state) << " at " << size
          << " px, pixel (" << p.x << ", " << p.y << ")";
      Dispose(b);
    }
  }
}

inline constexpr State kRest = State::Rest, kHover = State::Hover, kPressed = State::Pressed,
                       kFocused = State::Focused, kBoth = State::HoverFocused, kDisabled = State::Disabled;

}  // namespace vantorel::controls::test::shapes

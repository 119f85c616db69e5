#include "button/style_looks.h"

#include <iterator>

#include "button/button.h"
#include "button/paint_math.h"

namespace vantorel::controls {

namespace {

using From = LookColour::From;

constexpr LookColour Fixed(host::OleColor c) { return LookColour{From::Fixed, c}; }
constexpr LookColour kBack{From::Back, 0};
constexpr LookColour kBackHover{From::BackHover, 0};
constexpr LookColour kBackPressed{From::BackPressed, 0};

// Rows in Look order: pressed, hovering, at rest, disabled; each X then Y.
const StyleLook kStyleLooks[] = {
    // 1 classic bevel, 2 light edge: system edge colours, no fill.
    {Fixed(0x80000015), Fixed(0x80000015), Fixed(0x80000014), std::nullopt, StyleFillShape::None, {}},
    {Fixed(0x80000015), Fixed(0x80000015), Fixed(0x80000014), std::nullopt, StyleFillShape::None, {}},
    // 3 hot edge: the outline at rest melts into the face.
    {kBack, Fixed(0x80000015), Fixed(0x80000014), std::nullopt, StyleFillShape::None, {}},
    // 4 etched.
    {Fixed(0x80000010), Fixed(0x80000010), Fixed(0x80000010), std::nullopt, StyleFillShape::None, {}},
    // 5 flat, shaded by state.
    {Fixed(0x8000000F), Fixed(0), Fixed(0), std::nullopt, StyleFillShape::Vertical,
     {{Fixed(0xA57F71), kBackPressed}, {Fixed(0xAC9891), kBackHover}, {kBack, kBack}, {kBack, kBack}}},
    // 6 glow: the same fill hovered or not.
    {Fixed(0), Fixed(0), Fixed(0), 0x8DABAB, StyleFillShape::Vertical,
     {{kBack, Fixed(0xE0E6E6)}, {kBack, kBackPressed}, {kBack, kBackPressed}, {Fixed(0xDBE7E7), Fixed(0xDBE7E7)}}},
    // 7 glass: lighter at the top, a step at half height.
    {Fixed(0x8F8F8E), Fixed(0xB17F3C), Fixed(0x5C411D), 0xB5B2AD, StyleFillShape::Glass,
     {{kBackPressed, Fixed(0xF8ECD5)},
      {kBackHover, Fixed(0xFEFCF7)},
      {kBack, Fixed(0xEFEFEF)},
      {Fixed(0xF0F0F0), Fixed(0xF4F4F4)}}},
    // 8 sheen: every state shades towards white.
    {kBack, kBackHover, kBackPressed, 0xA4B6B7, StyleFillShape::Sheen,
     {{kBackPressed, Fixed(0xFFFFFF)},
      {kBackHover, Fixed(0xFFFFFF)},
      {kBack, Fixed(0xFFFFFF)},
      {Fixed(0xA4B6B7), Fixed(0xFFFFFF)}}},
};

}  // namespace

host::OleColor LookColour::Of(const ButtonProps& p) const {
  switch (from) {
    case From::Back: return p.backColor;
    case From::BackHover: return p.backColorHover;
    case From::BackPressed: return p.backColorPressed;
    case From::Fixed: break;
  }
  return fixed;
}

const StyleLook* StyleLookFor(std::int32_t style) {
  if (style < 1 || style > static_cast<std::int32_t>(std::size(kStyleLooks))) return nullptr;
  return &kStyleLooks[style - 1];
}

StyleBorders BordersOf(const StyleLook& look, const ButtonProps& p, Look state) {
  StyleBorders b{look.border.Of(p), look.borderHover.Of(p), look.borderPressed.Of(p)};
  if (state == Look::Disabled && look.disabledBorder) b.rest = *look.disabledBorder;
  return b;
}

host::Status DrawStyleFill(HDC dc, const StyleLook& look, const ButtonProps& p, Look state, double w, double h,
                           bool sideways) {
  const LookColour* colours = look.fill[static_cast<int>(state)];
  const host::OleColor x = colours[0].Of(p), y = colours[1].Of(p);
  Rounder r;
  switch (look.fillShape) {
    case StyleFillShape::None: break;
    case StyleFillShape::Vertical: GradientPair(dc, true, 0, r(h), x, r(w), 0, y); break;
    // The second fill would reach Y only 25 pixels past the far edge.
    case StyleFillShape::Glass:
      if (sideways) {
        GradientPair(dc, false, r(w / 1.5), 0, x, 0, r(h), y);
        GradientPair(dc, false, r(w / 2), r(h), x, r(w + 25), 0, y);
      } else {
        GradientPair(dc, true, 0, r(h / 1.5), x, r(w), 0, y);
        GradientPair(dc, true, 0, r(h / 2), x, r(w), r(h + 25), y);
      }
      break;
    case StyleFillShape::Sheen:
      if (sideways) {
        GradientPair(dc, false, r(w), 0, x, r(-w / 6), r(h), y);
        GradientPair(dc, false, r(w / 2), r(h), x, r(w / 3 + w), 0, y);
      } else {
        GradientPair(dc, true, 0, r(h), x, r(w), r(-h / 6), y);
        GradientPair(dc, true, 0, r(h / 2), x, r(w), r(h / 3 + h), y);
      }
      break;
  }
  return r.status();
}

}  // namespace vantorel::controls

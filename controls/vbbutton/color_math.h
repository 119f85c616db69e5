#pragma once

// The colour arithmetic of vbButton, free of any window or GDI call so it can be
// tested on its own. Colours are 0x00BBGGRR values (red in the low byte).
#include <cstdint>

namespace vantorel::controls::vb {

using Rgb24 = std::uint32_t;

// Moves each channel by delta and clamps it (at 255 when delta is positive, at 0
// when negative). With soft set the delta is halved first, toward zero. With
// blueProportional the blue channel moves by delta * blue / 192 instead, so a
// blue tint keeps its hue while it is lightened or darkened.
Rgb24 Shift(Rgb24 colour, int delta, bool soft, bool blueProportional = false);

// Blends each channel toward white: amount + (255 - amount) * v / 255.
Rgb24 Lighten(Rgb24 colour, int amount);

// The colour names every face draws with.
struct ColorSet {
  Rgb24 face = 0;
  Rgb24 hotFace = 0;
  Rgb24 light = 0;
  Rgb24 highlight = 0;
  Rgb24 shadow = 0;
  Rgb24 darkShadow = 0;
  Rgb24 text = 0;
  Rgb24 hotText = 0;
  Rgb24 selection = 0;
  Rgb24 selectionLight = 0;
  Rgb24 mask = 0;
  Rgb24 raisedFace = 0;
};

// What a colour set is derived from: the scheme, the control's own colours and
// the colours of its surroundings, all already translated to RGB.
struct SchemeSource {
  int scheme = 1;
  bool blueShades = false;  // the type's shades move blue in proportion
  bool soft = false;
  Rgb24 backColor = 0;
  Rgb24 backOver = 0;
  Rgb24 foreColor = 0;
  Rgb24 foreOver = 0;
  Rgb24 mask = 0;
  // The system's button face, button text, 3D light, button highlight, button
  // shadow, 3D dark shadow and selection highlight.
  Rgb24 sysFace = 0;
  Rgb24 sysText = 0;
  Rgb24 sysLight = 0;
  Rgb24 sysHighlight = 0;
  Rgb24 sysShadow = 0;
  Rgb24 sysDarkShadow = 0;
  Rgb24 sysSelection = 0;
  // The background and text colours of the parent window's device context.
  Rgb24 parentBack = 0;
  Rgb24 parentText = 0;
};

ColorSet DeriveColors(const SchemeSource& source);

// The step of a gradient face: the row's offset from the base colour,
// -step * row, where step = span / height is held in single precision and the
// product rounded to the nearest integer, halves to even.
int GradientOffset(int span, int height, int row);

}  // namespace vantorel::controls::vb

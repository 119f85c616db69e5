#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "button/paint_state.h"
#include "host/color.h"
#include "host/status.h"

namespace vantorel::controls {

struct ButtonProps;

// A colour a look names: a fixed value, or one of the button's face colours.
struct LookColour {
  enum class From { Fixed, Back, BackHover, BackPressed };
  From from = From::Fixed;
  host::OleColor fixed = 0;
  host::OleColor Of(const ButtonProps& p) const;
};

// Where a style lays its second background: nowhere, one vertical fill over
// the face, or the two overlapping fills of styles 7 and 8.
enum class StyleFillShape { None, Vertical, Glass, Sheen };

// The border colours a style assigns on every paint and the colours of its
// fill, X -> Y, per look.
struct StyleLook {
  LookColour border, borderHover, borderPressed;
  std::optional<host::OleColor> disabledBorder;  // BorderColor of a disabled button at rest
  StyleFillShape fillShape = StyleFillShape::None;
  LookColour fill[4][2];  // indexed by Look, then X and Y
};

// The look of ButtonStyle 1 to 8; null for any other value (nothing assigned,
// nothing drawn).
const StyleLook* StyleLookFor(std::int32_t style);

// The border colours the look assigns, as they are to be stored.
struct StyleBorders {
  host::OleColor rest, hover, pressed;
};
StyleBorders BordersOf(const StyleLook& look, const ButtonProps& p, Look state);

// Draws the style's second background in the state's colours, its two fills
// turned to run across the face where the shape says so.
host::Status DrawStyleFill(HDC dc, const StyleLook& look, const ButtonProps& p, Look state, double w, double h,
                           bool sideways);

}  // namespace vantorel::controls

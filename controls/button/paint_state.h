#pragma once

#include "host/color.h"

namespace vantorel::controls {

// The look a paint draws, from the interaction state: pressed wins, then
// hovering; a button at rest whose window is disabled looks disabled.
enum class Look { Pressed, Hovering, AtRest, Disabled };

// What one paint reads of the interaction state, once, after the toggle latch.
struct PaintState {
  bool pressed = false;
  bool hovering = false;  // hovered and not pressed
  bool hovered = false;   // the pointer is over the control, pressed or not
  bool focused = false;
  bool enabled = true;
  Look look = Look::AtRest;
};

inline PaintState MakePaintState(bool pressed, bool hovered, bool focused, bool enabled) {
  PaintState s;
  s.pressed = pressed;
  s.hovering = !pressed && hovered;
  s.hovered = hovered;
  s.focused = focused;
  s.enabled = enabled;
  s.look = pressed ? Look::Pressed : s.hovering ? Look::Hovering : enabled ? Look::AtRest : Look::Disabled;
  return s;
}

// The colours a paint starts from, settled before drawing and handed to it as
// values: the backdrop the image is cleared to, which is also the mask colour
// that lets the parent through a transparent control, and the drawing colour
// the paint before left in place (a graded caption without text compares with
// it).
struct PaintColours {
  host::OleColor backdrop = 0;
  host::OleColor pen = 0;
};

}  // namespace vantorel::controls

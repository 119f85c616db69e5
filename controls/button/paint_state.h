#pragma once

namespace vantorel::controls {

// The look a paint draws, from the interaction state: pressed wins, then
// hovering; a button at rest whose window is disabled looks disabled.
enum class Look { Pressed, Hovering, AtRest, Disabled };

// What one paint reads of the interaction state, once, after the toggle latch.
struct PaintState {
  bool pressed = false;
  bool hovering = false;  // hovered and not pressed
  bool focused = false;
  bool enabled = true;
  Look look = Look::AtRest;
};

inline PaintState MakePaintState(bool pressed, bool hovered, bool focused, bool enabled) {
  PaintState s;
  s.pressed = pressed;
  s.hovering = !pressed && hovered;
  s.focused = focused;
  s.enabled = enabled;
  s.look = pressed ? Look::Pressed : s.hovering ? Look::Hovering : enabled ? Look::AtRest : Look::Disabled;
  return s;
}

}  // namespace vantorel::controls

#include "button/button.h"
#include "button/button_fields.h"

#include <oleacc.h>

namespace vantorel::controls {

void Button::OnMouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  pressed_ = true;
  Paint();
  host::Raise(events.MouseDown, button, shift, x, y);
}

void Button::OnMouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  // The platform releases the capture at button-up; hover tracking needs it back.
  if (GetCapture() != Hwnd()) SetCapture(Hwnd());
  pressed_ = false;
  Paint();
  host::Raise(events.MouseUp, button, shift, x, y);
}

void Button::ClickAndRaise() {
  // For a toggle the mouse-up (or key-up) repaint has latched the pressed flag
  // again while Value was True, so this inverts Value.
  if (props_.buttonType == kToggleButton) props_.value = !pressed_;
  Paint();
  host::Raise(events.Click);
}

void Button::OnClick() { ClickAndRaise(); }

void Button::OnDblClick() {
  pressed_ = true;
  Paint();
  host::Raise(events.DblClick);
}

void Button::OnMouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  if (!ambient().userMode) return;
  POINT pt{};
  GetCursorPos(&pt);
  ScreenToClient(Hwnd(), &pt);
  // Both bounds are inclusive: the column and row just past the client area
  // still count as inside.
  bool inside = pt.x >= 0 && pt.y >= 0 && pt.x <= surface().ScaleWidth() && pt.y <= surface().ScaleHeight();
  if (inside)
    SetCapture(Hwnd());
  else
    ReleaseCapture();
  if (inside != (hover_ == HoverState::True)) {
    hover_ = inside ? HoverState::True : HoverState::False;
    pressed_ = false;
    Paint();
  }
  host::Raise(events.MouseMove, button, shift, x, y);
}

void Button::OnKeyDown(std::int16_t key, std::int16_t shift) {
  if (key == host::kKeySpace || key == host::kKeyEnter) {
    pressed_ = true;
    keyDown_ = key;
    Paint();
  }
  host::Raise(events.KeyDown, key, shift);
}

void Button::OnKeyPress(std::int16_t ascii) { host::Raise(events.KeyPress, ascii); }

void Button::OnKeyUp(std::int16_t key, std::int16_t shift) {
  // A focused button clicks when Space or Enter, pressed on it, is released with
  // the face still pressed (a hover change in between cancels, as dragging out does).
  bool clicks = (key == host::kKeySpace || key == host::kKeyEnter) && key == keyDown_ && pressed_;
  if (key == keyDown_) keyDown_ = 0;
  if (pressed_) {
    pressed_ = false;
    Paint();
  }
  if (clicks) ClickAndRaise();
  host::Raise(events.KeyUp, key, shift);
}

void Button::OnGotFocus() {
  focused_ = true;
  Paint();
}

bool Button::DropHoverAndPress() {
  const bool changed = pressed_ || hover_ == HoverState::True;
  pressed_ = false;
  keyDown_ = 0;
  if (hover_ == HoverState::True) hover_ = HoverState::False;
  return changed;
}

void Button::OnLostFocus() {
  // A Space press that the focus left (Tab before Space is released) must not
  // leave this button pressed: its release goes to another control.
  focused_ = false;
  DropHoverAndPress();
  Paint();
}

void Button::OnCaptureLost() {
  // Hover is tracked by holding the capture: once another window has it (a
  // message box, a menu, a drag), no movement tells this button that the
  // pointer left. The next movement over it takes the hover again.
  if (DropHoverAndPress()) Paint();
}

void Button::OnEnabledChanged(bool enabled) {
  if (!enabled) DropHoverAndPress();
  if (settingEnabled_) return;
  // EnableWindow called directly: the property and the look follow the window.
  PropertyChanged(ButtonKeyOf(host::SurfaceHeld::Enabled));
  Paint();
}

HCURSOR Button::PointerOverClient() const {
  // The system's hand while hovered and not pressed, or while focused.
  if (props_.handPointer && ((!pressed_ && Hovering()) || focused_)) return LoadCursorW(nullptr, IDC_HAND);
  return host::HostedControl::PointerOverClient();
}

long Button::AccessibleState() const { return pressed_ ? STATE_SYSTEM_PRESSED : 0; }

void Button::OnAccessibleDefaultAction() { ClickAndRaise(); }

}  // namespace vantorel::controls

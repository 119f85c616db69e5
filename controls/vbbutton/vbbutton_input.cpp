// vbButton's interaction: mouse, keyboard, focus and access key, and the events
// it raises. Button and KeyCode are read back after each event.
#include "vbbutton/vbbutton.h"
#include "vbbutton/vbbutton_fields.h"

namespace vantorel::controls {

namespace {

// The window whose children the dialog navigation walks: the outermost parent
// that still lets navigation pass into its children.
HWND NavigationRoot(HWND control) {
  HWND root = GetParent(control);
  while (root && (GetWindowLongW(root, GWL_STYLE) & WS_CHILD) &&
         (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && GetParent(root))
    root = GetParent(root);
  return root;
}

bool IsDialog(HWND hwnd) {
  wchar_t cls[16] = {};
  return GetClassNameW(hwnd, cls, 16) && lstrcmpW(cls, L"#32770") == 0;
}

}  // namespace

void vbButton::OnMouseDown(std::int16_t button, std::int16_t shift, float xTwips, float yTwips) {
  float x = static_cast<float>(host::TwipsToPixels(xTwips, surface().LogPixelsX()));
  float y = static_cast<float>(host::TwipsToPixels(yTwips, surface().LogPixelsY()));
  host::Raise(events.MouseDown, button, shift, x, y);
  lastButton_ = static_cast<std::uint8_t>(button & 0xFF);
  // A handler that made this press a right-button one keeps it unpressed for the
  // whole press, also while the left button, still held, drags over the control.
  rightPress_ = button == host::kRightButton;
  if (!rightPress_) Draw(vb::kLookPressed, false);
}

void vbButton::OnMouseMove(std::int16_t button, std::int16_t shift, float xTwips, float yTwips) {
  float x = static_cast<float>(host::TwipsToPixels(xTwips, surface().LogPixelsX()));
  float y = static_cast<float>(host::TwipsToPixels(yTwips, surface().LogPixelsY()));
  host::Raise(events.MouseMove, button, shift, x, y);
  if (button != 0 && button != host::kLeftButton) return;
  if (!PointerOverWindow()) {
    // A press dragged off the control shows released.
    Draw(vb::kLookNormal, false);
  } else if (button == host::kLeftButton) {
    if (rightPress_) return;
    hot_ = true;
    Draw(vb::kLookPressed, false);
    hot_ = false;
  } else if (!hot_) {
    BeginHover();
  }
}

void vbButton::OnMouseUp(std::int16_t button, std::int16_t shift, float xTwips, float yTwips) {
  float x = static_cast<float>(host::TwipsToPixels(xTwips, surface().LogPixelsX()));
  float y = static_cast<float>(host::TwipsToPixels(yTwips, surface().LogPixelsY()));
  host::Raise(events.MouseUp, button, shift, x, y);
  rightPress_ = false;
  if (button != host::kRightButton) Draw(vb::kLookNormal, false);
}

void vbButton::ClickNow(bool forceDraw) {
  if (props_.checkBoxBehaviour) {
    props_.value = !props_.value;
    PropertyChanged(vb::FieldOf(&vbButtonProps::value).ToldKey());
  }
  Draw(vb::kLookNormal, forceDraw);
  UpdateWindow(Hwnd());
  host::Raise(events.Click);
}

void vbButton::OnClick() {
  if (lastButton_ != host::kLeftButton || !Enabled()) return;
  ClickNow(true);
}

void vbButton::OnDblClick() {
  if (lastButton_ != host::kLeftButton) return;
  OnMouseDown(host::kLeftButton, 0, 0.0f, 0.0f);
  SetCapture(Hwnd());
}

void vbButton::OnKeyDown(std::int16_t key, std::int16_t shift) {
  const std::int16_t held = key;  // the key the user holds, whatever the handler makes of it
  host::Raise(events.KeyDown, key, shift);
  lastKey_ = static_cast<std::uint8_t>(key & 0xFF);
  if (key == host::kKeySpace) {
    spaceHeldBy_ = held;
    Draw(vb::kLookPressed, false);
  } else if (spaceHeldBy_ != 0) {
    // The release would not click now (the last key is not the space bar), so
    // the face does not say it would.
    EndSpacePress();
  }
  switch (key) {
    case host::kKeyLeft:
    case host::kKeyUp:
      MoveFocus(true);
      break;
    case host::kKeyRight:
    case host::kKeyDown:
      MoveFocus(false);
      break;
    default: break;
  }
}

void vbButton::OnKeyPress(std::int16_t ascii) { host::Raise(events.KeyPress, ascii); }

void vbButton::OnKeyUp(std::int16_t key, std::int16_t shift) {
  const std::int16_t released = key;
  host::Raise(events.KeyUp, key, shift);
  if (lastKey_ == host::kKeySpace && key == host::kKeySpace) {
    // The press is used up: a second release without a press does not click again.
    lastKey_ = 0;
    spaceHeldBy_ = 0;
    ClickNow(false);
    return;
  }
  // The key that pressed the face went up without clicking (a KeyUp handler
  // changed its code): the face is released all the same.
  if (spaceHeldBy_ != 0 && released == spaceHeldBy_) EndSpacePress();
}

void vbButton::EndSpacePress() {
  spaceHeldBy_ = 0;
  lastKey_ = 0;
  Draw(vb::kLookNormal, false);
}

void vbButton::MoveFocus(bool previous) {
  // Straight to the neighbour the dialog navigation names, rather than a
  // synthetic Tab that other input could overtake.
  HWND root = NavigationRoot(Hwnd());
  if (!root) return;
  HWND next = GetNextDlgTabItem(root, Hwnd(), previous ? TRUE : FALSE);
  if (!next || next == Hwnd()) return;
  if (IsDialog(root))
    SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  else
    SetFocus(next);
}

void vbButton::OnGotFocus() {
  hasFocus_ = true;
  if (props_.showFocusRect) hot_ = true;
  RedrawLast();
}

void vbButton::OnLostFocus() {
  hasFocus_ = false;
  if (props_.showFocusRect) hot_ = false;
  // Losing the focus ends a press made with the space bar.
  if (spaceHeldBy_ != 0) {
    spaceHeldBy_ = 0;
    lastKey_ = 0;
    RedrawNormal();
    return;
  }
  RedrawLast();
}

void vbButton::OnAccessKeyPress(std::int16_t) {
  lastButton_ = static_cast<std::uint8_t>(host::kLeftButton);
  OnClick();
}

}  // namespace vantorel::controls

#pragma once

// A Button face driven into a state as a user drives it, for the shape tests
// and the shapes' contact sheet.
#include <windows.h>

#include "test_support.h"

namespace vantorel::controls::test {

enum class State { Rest, Hover, Pressed, Focused, HoverFocused, Disabled };

inline const char* Name(State s) {
  static const char* const kNames[] = {"rest", "hover", "pressed", "focused", "hover+focused", "disabled"};
  return kNames[static_cast<int>(s)];
}

// A face without a caption, w x h pixels, driven into the state as a user
// would: pointer over it, left button held on it (which focuses it), keyboard
// focus, or disabled. Without a background (ButtonStyleColors 0) the face is
// the back colour, with none of the styles' own fills. Style 0 assigns no
// border colours: they are set to black here.
inline Button* Face(HWND parent, int shape, int style, int w, int h, State state, int styleColors = 0) {
  Button* b = Button::Create(host::test::Placement(parent, 150, 150, w * 15, h * 15));
  b->SetCaption(L"");
  b->SetButtonStyleColors(styleColors);
  b->SetButtonShape(shape);
  b->SetButtonStyle(style);
  if (style == 0) {
    b->SetBorderColor(0);
    b->SetBorderColorHover(0);
    b->SetBorderColorPressed(0);
  }
  host::test::MovePointer(b->hwnd(), 300, 300);
  switch (state) {
    case State::Rest: break;
    case State::Hover:
      host::test::MovePointer(b->hwnd(), w / 2, h / 2);
      break;
    case State::Pressed:
      host::test::MovePointer(b->hwnd(), w / 2, h / 2);
      SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h / 2));
      break;
    case State::Focused: SetFocus(b->hwnd()); break;
    case State::HoverFocused:
      SetFocus(b->hwnd());
      host::test::MovePointer(b->hwnd(), w / 2, h / 2);
      break;
    case State::Disabled: b->SetEnabled(false); break;
  }
  host::test::Drain();
  return b;
}

inline void Dispose(Button* b) {
  ReleaseCapture();
  DestroyWindow(b->hwnd());
  host::test::Drain();
}

}  // namespace vantorel::controls::test

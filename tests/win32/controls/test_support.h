#pragma once

#include <windows.h>

#include <string>

#include "backing_pixels.h"
#include "button/button.h"
#include "form1_button_values.h"
#include "host_support.h"

namespace vantorel::controls::test {

// The stored values of the main window's buttons, as its form data holds them,
// for a button widthPx x 25 pixels (the extents in HIMETRIC at 96 dpi).
inline host::PropertyBag MainWindowBag(const std::wstring& caption = L"Replace", int widthPx = 89) {
  std::wstring text = L"_extentx = i32 " + std::to_wstring(widthPx * 2540 / 96 + 1) + L"\n";
  text += L"_extenty = i32 661\n";
  text += app::kForm1ButtonValues;
  text += L"caption = str \"" + caption + L"\"\n";
  std::wstring error;
  return *host::BagFromText(text, &error);
}

// One of the main window's buttons, 89 x 25 pixels, on the stage.
inline Button* MainButton(HWND parent, const wchar_t* caption = L"Replace", int leftTwips = 150) {
  host::PropertyBag bag = MainWindowBag(caption);
  Button* b = Button::Create(host::test::Placement(parent, leftTwips), &bag);
  host::test::Drain();
  return b;
}
inline Button* MainButton(host::test::TestParent& parent, const wchar_t* caption = L"Replace", int leftTwips = 150) {
  return MainButton(parent.hwnd(), caption, leftTwips);
}

}  // namespace vantorel::controls::test

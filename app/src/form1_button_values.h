// The stored values that Form1's five buttons share, as its form data holds
// them (keys in lower case). The tests and the gallery make the same buttons
// from this text, so they draw what the window draws.
#pragma once

namespace vantorel::app {

// Taken as stored, never recomputed from the style and theme presets. The
// caption and the size are per button; the pointer goes with the cursor the
// program carries, so the form adds it.
inline constexpr wchar_t kForm1ButtonValues[] =
    L"buttonstyle = i32 7\n"
    L"buttontheme = i32 1\n"
    L"backcolor = i32 0x00F1B39A\n"
    L"backcolorpressed = i32 0x00FAE6DD\n"
    L"backcolorhover = i32 0x00FDF7F4\n"
    L"bordercolor = i32 0x008F8F8E\n"
    L"bordercolorpressed = i32 0x005C411D\n"
    L"bordercolorhover = i32 0x00B17F3C\n"
    L"font = font \"Tahoma\" 8.25 700 0 0 0 0\n";

}  // namespace vantorel::app

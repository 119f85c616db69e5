// Text conversions at the window's edges: the window holds UTF-16, the engine
// reports in UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vantorel::app {

std::wstring Wide(std::string_view utf8);

// The text without leading and trailing blanks (code 32 only: a tab or a line
// break is part of a path as far as the window is concerned).
std::wstring TrimBlanks(std::wstring_view text);

// The text of a window (a field, a label), whole, in UTF-16.
std::wstring HwndText(HWND hwnd);

}  // namespace vantorel::app

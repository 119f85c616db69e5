#pragma once

#include <windows.h>

namespace vantorel::host {

// The screen's logical pixels per inch, across (x) and down (y): the one place
// the resolution is read. A screen that reports nothing counts as 96 dpi.
POINT ScreenPixelsPerInch();

}  // namespace vantorel::host

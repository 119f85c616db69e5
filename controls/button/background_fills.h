#pragma once

#include <windows.h>

#include <cstdint>

#include "host/color.h"
#include "host/status.h"

namespace vantorel::controls {

// The gradient backgrounds, ButtonStyleColors 2 to 7: X is the first colour
// (BackColor), Y the second (BackColorPressed, or BackColorHover while
// hovering). Other modes draw nothing here.
host::Status DrawBackgroundFill(HDC dc, std::int32_t mode, double w, double h, host::OleColor x, host::OleColor y);

}  // namespace vantorel::controls

#pragma once

#include <windows.h>
#include <oleacc.h>

namespace vantorel::controls {

// The accessible object of a control window (its client area), with one
// reference owned by the caller. Name, role, state and default action come from
// the control; place, parent, navigation and hit testing from the platform's
// standard object for the window. It holds the window, not the control, so a
// screen reader that keeps it after the window has gone gets an error, not a
// dangling control. Null when it cannot be made.
IAccessible* CreateControlAccessible(HWND hwnd);

}  // namespace vantorel::controls

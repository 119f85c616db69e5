#pragma once

#include <windows.h>
#include <oleacc.h>

namespace vantorel::host {

// What a control window says about itself to assistive technology: its role,
// the state bits beyond focus, availability and visibility (which the object
// adds itself), and what its default action does.
class AccessibleFacts {
 public:
  virtual long AccessibleRole() const = 0;
  virtual long AccessibleState() const = 0;
  virtual void OnAccessibleDefaultAction() = 0;

 protected:
  ~AccessibleFacts() = default;
};

// The facts of the control a window is, looked up afresh on every question;
// null once the control has gone.
using FindAccessibleFacts = AccessibleFacts* (*)(HWND hwnd);

// The accessible object of a control window (its client area), with one
// reference owned by the caller. Name, role, state and default action come from
// the control; place, parent, navigation and hit testing from the platform's
// standard object for the window. It holds the window, not the control, so a
// screen reader that keeps it after the window has gone gets an error, not a
// dangling control. Null when it cannot be made.
IAccessible* CreateControlAccessible(HWND hwnd, FindAccessibleFacts find);

}  // namespace vantorel::host

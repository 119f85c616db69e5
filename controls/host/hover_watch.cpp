// The hover watch of a hosted control: the platform's leave notification, with
// a check at the shortest timer period behind it for leaves it reports late or
// not at all. The check runs only while a hover is watched.
#include "host/hosted_control.h"

namespace vantorel::host {

void HostedControl::WatchHover() {
  watchingHover_ = true;
  ArmLeaveNotice();
  SetTimer(hwnd_, kHoverCheckTimer, USER_TIMER_MINIMUM, nullptr);
}

void HostedControl::StopWatchingHover() {
  watchingHover_ = false;
  KillTimer(hwnd_, kHoverCheckTimer);
  if (leaveArmed_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_CANCEL, hwnd_, 0};
    TrackMouseEvent(&tme);
    leaveArmed_ = false;
  }
}

bool HostedControl::PointerOverWindow() const {
  POINT pt{};
  return IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_) && GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd_;
}

void HostedControl::ArmLeaveNotice() {
  if (leaveArmed_) return;
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
  leaveArmed_ = TrackMouseEvent(&tme) != FALSE;
}

void HostedControl::CheckHover() {
  if (!watchingHover_ || !live_) return;
  OnHoverMayHaveEnded();
  // Still hovered: the platform reports the next leave too.
  if (watchingHover_) ArmLeaveNotice();
}

}  // namespace vantorel::host

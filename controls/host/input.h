#pragma once

// What both controls need to turn input into their events: the key codes they
// act on, raising an event whose arguments a handler may change, and the
// drag-and-drop events a control can offer its user.
#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <functional>

namespace vantorel::host {

// Shift state of input notifications: 1 Shift, 2 Ctrl, 4 Alt.
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;
// Mouse buttons: 1 left, 2 right, 4 middle.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// Key codes as KeyDown and KeyUp carry them (the platform's virtual keys).
inline constexpr std::int16_t kKeyEnter = VK_RETURN;
inline constexpr std::int16_t kKeySpace = VK_SPACE;
inline constexpr std::int16_t kKeyLeft = VK_LEFT;
inline constexpr std::int16_t kKeyUp = VK_UP;
inline constexpr std::int16_t kKeyRight = VK_RIGHT;
inline constexpr std::int16_t kKeyDown = VK_DOWN;

// Calls the handler, when there is one, with the arguments by reference, so
// the caller can read back what the handler changed.
template <class F, class... A>
void Raise(const F& handler, A&... args) {
  if (handler) handler(args...);
}

// The drag-and-drop events. The host raises them for a control that offers
// them (HostedControl::DragEvents), with the arguments it reports.
struct DragEvents {
  std::function<void(std::int32_t& effect)> OLECompleteDrag;
  std::function<void(IDataObject*& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, float& x,
                     float& y)>
      OLEDragDrop;
  std::function<void(IDataObject*& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, float& x,
                     float& y, std::int16_t& state)>
      OLEDragOver;
  std::function<void(std::int32_t& effect, bool& defaultCursors)> OLEGiveFeedback;
  std::function<void(IDataObject*& data, std::int16_t& dataFormat)> OLESetData;
  std::function<void(IDataObject*& data, std::int32_t& allowedEffects)> OLEStartDrag;
};

}  // namespace vantorel::host

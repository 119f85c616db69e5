#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>

namespace vantorel::host {

// Where a drag over a control window is reported. The position is in the
// window's client pixels; Effect comes in as none and leaves as what the control
// would do with the data.
class DropSink {
 public:
  // State 0 entering, 2 over, 1 leaving.
  virtual void DragOverAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                          POINT client, std::int16_t state) = 0;
  virtual void DropAt(IDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                      POINT client) = 0;

 protected:
  ~DropSink() = default;
};

// The sink of the control a window is, looked up afresh for every report; null
// once the control has gone.
using FindDropSink = DropSink* (*)(HWND hwnd);

// Makes the control window a drop target of its own (RegisterDragDrop): a drag
// over it reaches the sink find names, with the source's data object, the mouse
// buttons and the shift state; the source is answered with the effect the sink
// wants where the source allows it. The window revokes it when destroyed.
bool RegisterControlDropTarget(HWND hwnd, FindDropSink find);

// The one effect a drop has: what the control wants and the source allows; where
// that leaves several, the keys decide as everywhere on the platform (Ctrl copy,
// Shift move, both link), else move, then copy, then link.
std::uint32_t ChooseDropEffect(std::int32_t wanted, std::uint32_t allowed, std::uint32_t keys);

}  // namespace vantorel::host

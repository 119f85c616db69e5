#pragma once

#include <windows.h>

#include <cstdint>

namespace vantorel::controls {

// Makes the control window a drop target of its own (RegisterDragDrop): a drag
// over it reaches the control as OLEDragOver (State 0 entering, 2 over, 1
// leaving) and OLEDragDrop, with the source's data object, the mouse buttons,
// the shift state and the position in twips. Effect comes in as none; the
// control says what it would do, and the host answers the source with that
// effect where the source allows it. The window revokes it when destroyed.
bool RegisterControlDropTarget(HWND hwnd);

// The one effect a drop has: what the control wants and the source allows; where
// that leaves several, the keys decide as everywhere on the platform (Ctrl copy,
// Shift move, both link), else move, then copy, then link.
std::uint32_t ChooseDropEffect(std::int32_t wanted, std::uint32_t allowed, std::uint32_t keys);

}  // namespace vantorel::controls

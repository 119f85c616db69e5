#pragma once

#include <cstdint>

#include "button/button_layout.h"
#include "host/color.h"
#include "host/status.h"

namespace vantorel::host {
class Surface;
}  // namespace vantorel::host

namespace vantorel::controls {

// The passes after the face, in the order a paint runs them.

// Pixels of the pen colour on two interleaved lattices turn black: the odd
// points (3, 5, ... up to W - 3 and H - 3) and the even ones (2, 4, ... up to
// W - 2 and H - 2). The comparison is with the stored value, so a system
// colour never matches.
host::Status DrawFocusDots(host::Surface& sf, host::OleColor pen);

// Style 4 marks focus with a box around the caption. pen comes back as the
// drawing colour the pass leaves in place.
void DrawCaptionFocusBox(host::Surface& sf, const PixelBox& caption, host::OleColor& pen);

// Two chevrons, two pixels thick, pointing down: at the left (1), at the
// right (2), or at the corner for any other non-zero value; in black, which pen
// comes back as when they are drawn.
host::Status DrawDropDownArrow(host::Surface& sf, std::int32_t dropDown, host::OleColor& pen);

}  // namespace vantorel::controls

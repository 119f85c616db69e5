#pragma once

#include "button/button_layout.h"
#include "button/paint_state.h"
#include "host/color.h"
#include "host/status.h"

namespace vantorel::host {
class Surface;
}  // namespace vantorel::host

namespace vantorel::controls {
struct ButtonProps;

// The picture and then the caption, drawn over the background and under the
// face, each in the box the layout gave it.
host::Status DrawPictureLayer(host::Surface& sf, const ButtonProps& p, const PaintState& state, const PixelBox& box);
// pen is the drawing colour in place, and comes back as the one the caption
// leaves: a graded caption recolours pixels of that colour.
host::Status DrawCaptionLayer(host::Surface& sf, const ButtonProps& p, const PaintState& state, const PixelBox& box,
                              host::OleColor& pen);

}  // namespace vantorel::controls

#pragma once

#include <cstdint>

#include "host/status.h"

namespace vantorel {

class Button;

// A face renderer clips the window to its shape, draws the outline with the pen
// it is handed, the decoration of the style for the state, and its focus mark.
using FaceRenderer = Status (*)(Button& button);

// The renderer for a ButtonShape, or null when that value draws no face.
FaceRenderer FaceRendererFor(std::int32_t shape);

}  // namespace vantorel

#include "button/button.h"
#include "button/layers.h"

namespace vantorel {

// The caption layer (measuring and placing, effects, the disabled caption and the
// graded styles) is not built yet: this release draws no caption and leaves the
// caption box and the drawing colour as they were.
Status DrawCaptionLayer(Button&) { return kOk; }

}  // namespace vantorel

#pragma once

#include <cstdint>

#include "host/status.h"

namespace vantorel::controls {

// A box on the surface in pixels, kept between paints.
struct PixelBox {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Where the picture and the caption go. Each is placed on its own; neither
// makes room for the other.
struct ButtonLayout {
  PixelBox caption;
  PixelBox picture;
};

// What the layout is computed from: the surface's size, the two alignments,
// the measured sizes, and the previous layout (an alignment outside 0 to 4
// keeps the previous place).
struct LayoutInput {
  double width = 0;
  double height = 0;
  std::int32_t captionAlignment = 2;
  std::int32_t pictureAlignment = 2;
  std::int32_t captionWidth = 0;  // the caption's text extent in pixels
  std::int32_t captionHeight = 0;
  bool hasPicture = false;
  std::int32_t pictureWidth = 0;  // the picture's natural size in pixels
  std::int32_t pictureHeight = 0;
  ButtonLayout previous;
};

// Pure: no drawing, no state. Fails with Overflow when a position does not fit
// 32 bits; *out is then unchanged.
host::Status ComputeLayout(const LayoutInput& in, ButtonLayout* out);

}  // namespace vantorel::controls

#include "button/shapes/face.h"

#include <iterator>

#include "button/shapes/shapes.h"

namespace vantorel::controls {

namespace {

// One entry per ButtonShape 0 to 11: rectangle, rounded rectangle, ellipse,
// diamond, the triangles pointing up, left, right and down, and the block arrows
// in the same directions. A value outside the table draws no face and leaves the
// window region as it is.
constexpr FaceRenderer kRenderers[kShapeArrowDown + 1] = {
    &DrawRectangleFace,     &DrawRoundedRectangleFace, &DrawEllipseFace,        &DrawDiamondFace,
    &DrawUpTriangleFace,    &DrawLeftTriangleFace,     &DrawRightTriangleFace,  &DrawDownTriangleFace,
    &DrawUpArrowFace,       &DrawLeftArrowFace,        &DrawRightArrowFace,     &DrawDownArrowFace,
};

}  // namespace

FaceRenderer FaceRendererFor(std::int32_t shape) {
  if (shape < 0 || shape >= static_cast<std::int32_t>(std::size(kRenderers))) return nullptr;
  return kRenderers[shape];
}

}  // namespace vantorel::controls

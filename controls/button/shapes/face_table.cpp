#include <iterator>

#include "button/shapes/face.h"

namespace vantorel::controls {

// The renderers, each in the file of its shape or family of shapes.
FaceResult DrawRectangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRoundedRectangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawEllipseFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDiamondFace(host::Surface& target, const FaceInput& in);
FaceResult DrawUpTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawLeftTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRightTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDownTriangleFace(host::Surface& target, const FaceInput& in);
FaceResult DrawUpArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawLeftArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawRightArrowFace(host::Surface& target, const FaceInput& in);
FaceResult DrawDownArrowFace(host::Surface& target, const FaceInput& in);

namespace {

// One row per ButtonShape, 0 to 11: rectangle, rounded rectangle, ellipse,
// diamond, the triangles pointing up, left, right and down, and the block
// arrows in the same directions. The shapes that point up or down turn the
// glass and sheen fills sideways.
constexpr ShapeRow kShapes[] = {
    {.draw = &DrawRectangleFace},
    {.draw = &DrawRoundedRectangleFace},
    {.draw = &DrawEllipseFace, .square = true},
    {.draw = &DrawDiamondFace, .square = true},
    {.draw = &DrawUpTriangleFace, .square = true, .sidewaysFills = true},
    {.draw = &DrawLeftTriangleFace, .square = true},
    {.draw = &DrawRightTriangleFace, .square = true},
    {.draw = &DrawDownTriangleFace, .square = true, .sidewaysFills = true},
    {.draw = &DrawUpArrowFace, .square = true, .sidewaysFills = true},
    {.draw = &DrawLeftArrowFace, .square = true},
    {.draw = &DrawRightArrowFace, .square = true},
    {.draw = &DrawDownArrowFace, .square = true, .sidewaysFills = true},
};

constexpr ShapeRow kNoShape{.square = true};

}  // namespace

const ShapeRow& ShapeRowFor(std::int32_t shape) {
  if (shape < 0 || shape >= static_cast<std::int32_t>(std::size(kShapes))) return kNoShape;
  return kShapes[shape];
}

}  // namespace vantorel::controls

#include "button/shapes/face.h"

#include <iterator>

namespace vantorel {

namespace {

// One entry per ButtonShape 0 to 11: rectangle, rounded rectangle, ellipse,
// diamond, four triangles, four block arrows. The shape renderers are not built
// yet, so every entry is empty and no face is drawn; each family will be one
// file in this folder, entered here.
constexpr FaceRenderer kRenderers[12] = {};

}  // namespace

FaceRenderer FaceRendererFor(std::int32_t shape) {
  if (shape < 0 || shape >= static_cast<std::int32_t>(std::size(kRenderers))) return nullptr;
  return kRenderers[shape];
}

}  // namespace vantorel

// The four triangles: one side along a side of the control, the opposite
// corner at the middle of the other side.
#include "button/shapes/table_shape.h"

namespace vantorel::controls {

namespace {

using figure_terms::H;
using figure_terms::W;

constexpr ShapeTable kUp{
    .region = {{0, H}, {W / 2, 0}, {W, H}},
    .outline = {{W / 2, 1}, {1, H - 1}, {W - 2, H - 1}, {W / 2, 1}},
    .trimPressed = {{W / 2, 1}, {1, H - 1}},
    .trimRaised = {{W / 2, 2}, {1, H - 1}},
    .bevelSunkenShadow = {{W / 2, 3}, {3, H - 3}},
    .bevelRaisedShadow = {{1, H - 2}, {W - 3, H - 2}, {W / 2, 3}},
    .etchedShadow = {{1, H - 2}, {W - 3, H - 2}, {W / 2, 3}},
    .etchedHighlight = {{W / 2, 3}, {2, H - 1}, kPenUp, {2, H - 1}, {W - 2, H - 1}, {W / 2, 1}},
    .glowPressedHighlight = {{4, H - 3}, {W - 5, H - 3}, {W / 2, 5}},
    .glow = {{{2, H - 2}, {W - 1, H - 2}},
             {{3, H - 3}, {W - 4, H - 3}, {W / 2, 3}},
             {{W - 5, H - 4}, {W / 2, 5}},
             {{W / 2, 3}, {3, H - 3}},
             {{W / 2, 4}, {3, H - 3}}},
    .innerFrame = {{W / 2, 2}, {2, H - 2}, {W - 3, H - 2}, {W / 2, 2}},
    .focusPoints = {{7, H - 5}, {W / 2, 9}, {W - 8, H - 5}},
};

// The raised trim is the same line as the pressed one.
constexpr ShapeTable kLeft{
    .region = {{0, H / 2}, {W, 0}, {W, H}},
    .outline = {{1, H / 2}, {W - 1, 1}, {W - 1, H - 1}, {1, H / 2}},
    .trimPressed = {{W - 1, 1}, {1, H / 2}},
    .trimRaised = {{W - 1, 1}, {1, H / 2}},
    .bevelSunkenShadow = {{W - 3, 3}, {3, H / 2}},
    .bevelRaisedShadow = {{2, H / 2}, {W - 2, H - 3}, {W - 2, 1}},
    .etchedShadow = {{W - 2, 2}, {W - 2, H - 3}, {3, H / 2}},
    .etchedHighlight = {{3, H / 2}, {W - 1, 2}, {W - 1, H - 1}, {1, H / 2}},
    .glowPressedHighlight = {{W - 3, 5}, {W - 3, H - 5}, {5, H / 2}},
    .glow = {{{W - 2, 2}, {W - 2, H - 1}},
             {{W - 3, 2}, {W - 3, H - 3}, {3, H / 2}},
             {{W - 3, H - 4}, {5, H / 2}},
             {{3, H / 2}, {W - 3, 3}},
             {{4, H / 2}, {W - 4, 4}}},
    .innerFrame = {{2, H / 2}, {W - 2, 2}, {W - 2, H - 2}, {2, H / 2}},
    .focusPoints = {{9, H / 2}, {W - 5, 7}, {W - 5, H - 8}},
};

// The outline starts at W - 2 but ends at W - 1: a line leaves out its end
// pixel, so the tip (W - 1, H / 2) itself is never drawn.
constexpr ShapeTable kRight{
    .region = {{W, H / 2}, {0, 0}, {0, H}},
    .outline = {{W - 2, H / 2}, {0, 1}, {0, H - 1}, {W - 1, H / 2}},
    .trimPressed = {{W - 2, H / 2}, {0, 1}, {0, H - 1}},
    .trimRaised = {{W - 3, H / 2}, {0, 1}, {0, H - 1}},
    .bevelSunkenShadow = {{W - 5, H / 2}, {1, 2}, {1, H - 2}},
    .bevelRaisedShadow = {{1, H - 3}, {W - 3, H / 2}},
    .etchedShadow = {{1, H - 3}, {W - 3, H / 2}},
    .etchedHighlight = {{W - 5, H / 2}, {1, 3}, {1, H - 2}, {W - 1, H / 2}},
    .glowPressedHighlight = {{2, 4}, {2, H - 5}, {W - 6, H / 2}},
    .glow = {{{1, 2}, {1, H - 1}},
             {{2, 2}, {2, H - 3}, {W - 4, H / 2}},
             {{3, H - 5}, {W - 5, H / 2}},
             {{W - 4, H / 2}, {4, 4}},
             {{W - 5, H / 2}, {5, 5}}},
    .innerFrame = {{W - 3, H / 2}, {1, 2}, {1, H - 2}, {W - 2, H / 2}},
    .focusPoints = {{W - 10, H / 2}, {4, 7}, {4, H - 8}},
};

// The region starts one row down (y = 1): the top row lies outside the window.
constexpr ShapeTable kDown{
    .region = {{0, 1}, {W / 2, H}, {W, 1}},
    .outline = {{W / 2, H - 1}, {W - 1, 1}, {1, 1}, {W / 2, H - 1}},
    .trimPressed = {{W / 2, H - 1}, {1, 1}, {W - 1, 1}},
    .trimRaised = {{W / 2, H - 2}, {1, 1}, {W - 1, 1}},
    .bevelSunkenShadow = {{W / 2, H - 4}, {2, 2}, {W - 3, 2}},
    .bevelRaisedShadow = {{W - 2, 1}, {W / 2, H - 3}},
    .etchedShadow = {{W - 3, 2}, {W / 2, H - 3}},
    .etchedHighlight = {{W - 2, 2}, {2, 2}, {W / 2, H - 4}, kPenUp, {W / 2, H - 1}, {W - 1, 1}},
    .glowPressedHighlight = {{4, 3}, {W - 5, 3}, {W / 2, H - 5}},
    .glow = {{{2, 2}, {W - 2, 2}},
             {{3, 3}, {W - 3, 3}, {W / 2, H - 3}},
             {{W - 5, 4}, {W / 2, H - 4}},
             {{W / 2, H - 4}, {3, 3}},
             {{W / 2, H - 5}, {4, 4}}},
    .innerFrame = {{W / 2, H - 2}, {W - 2, 2}, {2, 2}, {W / 2, H - 2}},
    .focusPoints = {{6, 4}, {W / 2, H - 10}, {W - 8, 4}},
};

}  // namespace

FaceResult DrawUpTriangleFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kUp); }
FaceResult DrawLeftTriangleFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kLeft); }
FaceResult DrawRightTriangleFace(host::Surface& target, const FaceInput& in) {
  return DrawTableFace(target, in, kRight);
}
FaceResult DrawDownTriangleFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kDown); }

}  // namespace vantorel::controls

// The four block arrows: a head across the whole control and a shaft a third
// of it wide, placed at W / 3, W / 2 and W / 1.5 (two thirds as a division by
// 1.5). The half-pixel offsets of the up arrow (H - 1.5, H - 2.5, ...) fall on
// one row or the next depending on whether H is even or odd, so its shaft's
// bottom edge leans by a pixel at even sizes.
#include "button/shapes/table_shape.h"

namespace vantorel::controls {

namespace {

using figure_terms::H;
using figure_terms::W;

// Only the up arrow draws its raised trim before the shadow.
constexpr Figure kUpTrim{{W / 2, 1}, {1, H / 1.5 - 1}, {W / 3, H / 1.5 - 1}, {W / 3, H - 1}};
constexpr ShapeTable kUp{
    .region = {{W / 2, 0}, {0, H / 1.5}, {W / 3, H / 1.5}, {W / 3, H}, {W / 1.5, H}, {W / 1.5, H / 1.5},
               {W, H / 1.5}},
    .outline = {{W / 2, 1}, {1, H / 1.5 - 1}, {W / 3, H / 1.5 - 1}, {W / 3, H - 1}, {W / 1.5 - 1, H - 1.5},
                {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W / 2, 1}},
    .trimPressed = kUpTrim,
    .trimRaised = kUpTrim,
    .bevelSunkenShadow = {{W / 2, 2}, {2, H / 1.5 - 1}, kPenUp, {2, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2},
                            {W / 3 + 1, H - 1}},
    .bevelRaisedShadow = {{W / 3, H - 2}, {W / 1.5 - 2, H - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2},
                           {W / 2, 2}},
    .bevelRaisedTrimFirst = true,
    .etchedShadow = {{W / 3, H - 2}, {W / 1.5 - 2, H - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2},
                     {W / 2, 3}},
    .etchedHighlight = {{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 1},
                        {W / 1.5 - 1, H - 1}, {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W / 2, 1}},
    .glowPressedHighlight = {{W / 3 + 3, H - 3}, {W / 1.5 - 3, H - 2.5}, {W / 1.5 - 3, H / 1.5 - 3},
                               {W - 5, H / 1.5 - 3}, {W / 2, 4}},
    .glow = {{{W / 1.5 - 2, H - 2}, {W / 3, H - 2}},
             {{W / 3 + 1, H - 3}, {W / 1.5 - 2, H - 3.5}, {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2},
              {W / 2, 3}},
             {{W / 1.5 - 3, H - 4.5}, {W / 1.5 - 3, H / 1.5 - 3}, {W - 5, H / 1.5 - 3}, {W / 2, 5}},
             {{W / 2, 3}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}},
             {{W / 2, 5}, {5, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 3}}},
    .innerFrame = {{W / 2, 2}, {3, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 2}, {W / 1.5 - 2, H - 2},
                   {W / 1.5 - 2, H / 1.5 - 2}, {W - 3, H / 1.5 - 2}, {W / 2, 2}},
    .focusPoints = {{W / 2, 6}, {9, H / 1.5 - 5}, {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 5}, {W / 1.5 - 5, H - 5},
                    {W / 1.5 - 5, H / 1.5 - 5}, {W - 10, H / 1.5 - 5}},
};

constexpr Figure kLeftTrim{{W - 1, H / 3}, {W / 1.5 - 1, H / 3}, {W / 1.5 - 1, 1}, {1, H / 2}};
constexpr ShapeTable kLeft{
    .region = {{0, H / 2}, {W / 1.5, 0}, {W / 1.5, H / 3}, {W, H / 3}, {W, H / 1.5}, {W / 1.5, H / 1.5},
               {W / 1.5, H}},
    .outline = {{W - 1, H / 3}, {W / 1.5 - 1, H / 3}, {W / 1.5 - 1, 1}, {1, H / 2}, {W / 1.5 - 1, H - 1},
                {W / 1.5 - 1, H / 1.5 - 1}, {W - 1, H / 1.5 - 1}, {W - 1, H / 3}},
    .trimPressed = kLeftTrim,
    .trimRaised = kLeftTrim,
    .bevelSunkenShadow = {{W - 1, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}},
    .bevelRaisedShadow = {{W - 2, H / 3 + 2}, {W - 2, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3},
                           {2, H / 2}},
    .etchedShadow = {{W - 2, H / 3 + 2}, {W - 2, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3},
                     {3, H / 2}},
    .etchedHighlight = {{W - 1, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}, kPenUp,
                        {W - 1, H / 3 + 1}, {W - 1, H / 1.5 - 1}, {W / 1.5 - 1, H / 1.5 - 1}, {W / 1.5 - 1, H - 1},
                        {1, H / 2}},
    .glowPressedHighlight = {{W - 3, H / 3 + 2}, {W - 3, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3},
                               {W / 1.5 - 3, H - 5}, {5, H / 2}},
    .glow = {{{W - 2, H / 3 + 1}, {W - 2, H / 1.5 - 1}},
             {{W - 3, H / 3 + 1}, {W - 3, H / 1.5 - 2}, {W / 1.5 - 2, H / 1.5 - 2}, {W / 1.5 - 2, H - 3}, {2, H / 2}},
             {{W - 3, H / 1.5 - 3}, {W / 1.5 - 3, H / 1.5 - 3}, {W / 1.5 - 3, H - 5}, {4, H / 2}},
             {{W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}},
             {{W - 4, H / 3 + 2}, {W / 1.5 - 3, H / 3 + 2}, {W / 1.5 - 3, 5}, {3, H / 2}}},
    .innerFrame = {{W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 3}, {2, H / 2}, {W / 1.5 - 2, H - 3},
                   {W / 1.5 - 2, H / 1.5 - 2}, {W - 2, H / 1.5 - 2}, {W - 2, H / 3}},
    .focusPoints = {{6, H / 2}, {W / 1.5 - 5, 9}, {W / 1.5 - 5, H / 3 + 4}, {W - 5, H / 3 + 4}, {W - 5, H / 1.5 - 5},
                    {W / 1.5 - 5, H / 1.5 - 5}, {W / 1.5 - 5, H - 10}},
};

constexpr Figure kRightTrim{{0, H / 1.5 - 1}, {0, H / 3}, {W / 3, H / 3}, {W / 3, 1}, {W - 1, H / 2}};
constexpr ShapeTable kRight{
    .region = {{W, H / 2}, {W / 3, 0}, {W / 3, H / 3}, {0, H / 3}, {0, H / 1.5}, {W / 3, H / 1.5}, {W / 3, H}},
    .outline = {{0, H / 1.5 - 1}, {0, H / 3}, {W / 3, H / 3}, {W / 3, 1}, {W - 1, H / 2}, {W / 3, H - 1},
                {W / 3, H / 1.5 - 1}, {0, H / 1.5 - 1}},
    .trimPressed = kRightTrim,
    .trimRaised = kRightTrim,
    .bevelSunkenShadow = {{1, H / 1.5 - 2}, {1, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 2, H / 2}},
    .bevelRaisedShadow = {{W - 2, H / 2}, {W / 3 + 1, H - 3}, kPenUp, {W - 3, H / 2}, {W / 3 + 1, H - 3},
                           {W / 3 + 1, H / 1.5 - 2}, {1, H / 1.5 - 2}},
    .etchedShadow = {{W - 3, H / 2}, {W / 3 + 1, H - 3}, {W / 3 + 1, H / 1.5 - 2}, {0, H / 1.5 - 2}},
    .etchedHighlight = {{1, H / 1.5 - 2}, {1, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 3, H / 2},
                        kPenUp, {W - 1, H / 2}, {W / 3, H - 1}, {W / 3, H / 1.5 - 1}, {0, H / 1.5 - 1}},
    .glowPressedHighlight = {{2, H / 3 + 2}, {2, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5},
                               {W - 5, H / 2}},
    .glow = {{{1, H / 1.5 - 2}, {1, H / 3}},
             {{2, H / 3 + 1}, {2, H / 1.5 - 2}, {W / 3 + 1, H / 1.5 - 2}, {W / 3 + 1, H - 3}, {W - 2, H / 2}},
             {{3, H / 1.5 - 3}, {W / 3 + 2, H / 1.5 - 3}, {W / 3 + 2, H - 5}, {W - 3, H / 2}},
             {{3, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 3, H / 2}},
             {{4, H / 3 + 2}, {W / 3 + 2, H / 3 + 2}, {W / 3 + 2, 5}, {W - 4, H / 2}}},
    .innerFrame = {{1, H / 1.5 - 2}, {1, H / 3 + 1}, {W / 3 + 1, H / 3 + 1}, {W / 3 + 1, 3}, {W - 2, H / 2 - 1},
                   {W / 3 + 1, H - 3}, {W / 3 + 1, H / 1.5 - 2}, {1, H / 1.5 - 2}},
    .focusPoints = {{W - 7, H / 2}, {W / 3 + 4, 9}, {W / 3 + 4, H / 3 + 4}, {4, H / 3 + 4}, {4, H / 1.5 - 5},
                    {W / 3 + 4, H / 1.5 - 5}, {W / 3 + 4, H - 10}},
};

// Style 4 starts its highlight with a short line on row 1, from W / 3 + 1 to
// W / 1.5 + 1.
constexpr Figure kDownTrim{{W / 1.5, 0}, {W / 3, 0}, {W / 3, H / 3}, {1, H / 3}, {W / 2, H - 1}};
constexpr ShapeTable kDown{
    .region = {{W / 2, H}, {0, H / 3}, {W / 3, H / 3}, {W / 3, 0}, {W / 1.5, 0}, {W / 1.5, H / 3}, {W, H / 3}},
    .outline = {{W / 1.5, 0}, {W / 3, 0}, {W / 3, H / 3}, {1, H / 3}, {W / 2, H - 1}, {W - 1, H / 3},
                {W / 1.5 - 1, H / 3}, {W / 1.5 - 1, 0}},
    .trimPressed = kDownTrim,
    .trimRaised = kDownTrim,
    .bevelSunkenShadow = {{W / 1.5 - 1, 1}, {W / 3 + 1, 1}, {W / 3 + 1, H / 3 + 1}, {3, H / 3 + 1}, {W / 2, H - 2}},
    .bevelRaisedShadow = {{W / 1.5 - 2, 1}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 2}, kPenUp,
                           {W - 3, H / 3 + 1}, {W / 2, H - 3}},
    .etchedShadow = {{W / 1.5 - 2, 2}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 3}},
    .etchedHighlight = {{W / 3 + 1, 1}, {W / 1.5 + 1, 1}, kPenUp, {W / 3 + 1, 2}, {W / 3 + 1, H / 3 + 1},
                        {3, H / 3 + 1}, {W / 2, H - 3}, kPenUp, {W / 1.5 - 1, 2}, {W / 1.5 - 1, H / 3},
                        {W - 1, H / 3}, {W / 2, H - 1}},
    .glowPressedHighlight = {{W / 3 + 3, 2}, {W / 1.5 - 3, 2}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2},
                               {W / 2, H - 4}},
    .glow = {{{W / 3 + 1, 1}, {W / 1.5 - 1, 1}},
             {{W / 3 + 1, 1}, {W / 1.5 - 2, 1}, {W / 1.5 - 2, H / 3 + 1}, {W - 3, H / 3 + 1}, {W / 2, H - 2}},
             {{W / 1.5 - 3, 2}, {W / 1.5 - 3, H / 3 + 2}, {W - 5, H / 3 + 2}, {W / 2, H - 4}},
             {{W / 3 + 1, 2}, {W / 3 + 1, H / 3 + 1}, {3, H / 3 + 1}, {W / 2, H - 3}},
             {{W / 3 + 2, 3}, {W / 3 + 2, H / 3 + 2}, {4, H / 3 + 2}, {W / 2, H - 4}}},
    .innerFrame = {{W / 1.5, 1}, {W / 3 + 1, 1}, {W / 3 + 1, H / 3 + 1}, {3, H / 3 + 1}, {W / 2 - 1, H - 2},
                   {W - 3, H / 3 + 1}, {W / 1.5 - 2, H / 3 + 1}, {W / 1.5 - 2, 1}},
    .focusPoints = {{W / 2, H - 7}, {9, H / 3 + 4}, {W / 3 + 4, H / 3 + 4}, {W / 3 + 4, 4}, {W / 1.5 - 5, 4},
                    {W / 1.5 - 5, H / 3 + 4}, {W - 10, H / 3 + 4}},
};

}  // namespace

FaceResult DrawUpArrowFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kUp); }
FaceResult DrawLeftArrowFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kLeft); }
FaceResult DrawRightArrowFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kRight); }
FaceResult DrawDownArrowFace(host::Surface& target, const FaceInput& in) { return DrawTableFace(target, in, kDown); }

}  // namespace vantorel::controls

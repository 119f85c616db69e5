#pragma once

#include <cstdint>

namespace vantorel::controls {

// The named values of a Button's properties that are stored as whole numbers.
// The property bag holds the number; a value outside these is kept as it was
// stored, and each step that reads it says what it does then (mostly nothing).

// ButtonShape: the twelve faces. Any other value draws no face.
enum ButtonShapeValue : std::int32_t {
  kShapeRectangle = 0,
  kShapeRoundedRectangle = 1,
  kShapeEllipse = 2,
  kShapeDiamond = 3,
  kShapeTriangleUp = 4,
  kShapeTriangleLeft = 5,
  kShapeTriangleRight = 6,
  kShapeTriangleDown = 7,
  kShapeArrowUp = 8,
  kShapeArrowLeft = 9,
  kShapeArrowRight = 10,
  kShapeArrowDown = 11,
};

// ButtonStyle, named by its decoration (7 and 8 by their fills, which are what
// sets them apart). Any other value draws no decoration.
enum ButtonStyleValue : std::int32_t {
  kStyleClassicBevel = 1,  // raised, or sunken when pressed
  kStyleLightEdge = 2,     // highlight on the top and left edges
  kStyleHotEdge = 3,       // the light edge only while hovered
  kStyleEtched = 4,        // an etched frame while enabled
  kStyleFlat = 5,          // the outline alone
  kStyleGlow = 6,          // a glowing frame when hovered or focused
  kStyleGlass = 7,         // a two-part fill and an inner frame
  kStyleSheen = 8,         // a two-part fill fading to white
};

enum ButtonTypeValue : std::int32_t { kPushButton = 0, kToggleButton = 1 };

// ButtonStyleColors: the background fill. X is the first colour, Y the second;
// the two-part gradients meet in the middle of the height (down) or width (across).
enum StyleColorsValue : std::int32_t {
  kFillNone = 0,  // transparent
  kFillSolid = 1,
  kFillAcross = 2,
  kFillDown = 3,
  kFillDownSecondInMiddle = 4,
  kFillDownFirstInMiddle = 5,
  kFillAcrossSecondInMiddle = 6,
  kFillAcrossFirstInMiddle = 7,
};

// CaptionAlignment and PictureAlignment.
enum AlignmentValue : std::int32_t { kAlignTop = 0, kAlignLeft = 1, kAlignCentre = 2, kAlignRight = 3, kAlignBottom = 4 };

enum CaptionEffectValue : std::int32_t { kEffectNone = 0, kEffectRaised = 1, kEffectShadow = 2, kEffectOutline = 3 };

// A graded caption runs from ForeColor to the state's colour, across its
// width or down its height.
enum CaptionStyleValue : std::int32_t { kCaptionPlain = 0, kCaptionGradedAcross = 1, kCaptionGradedDown = 2 };

enum DropDownValue : std::int32_t { kNoDropDown = 0, kDropDownLeft = 1, kDropDownRight = 2 };

}  // namespace vantorel::controls

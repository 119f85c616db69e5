#pragma once

// The named values of vbButton's properties that are stored as whole numbers.
// They stay whole numbers in the property bag, and a value outside them is kept
// as it was stored (drawn with no face, or in the system's colours).
#include <cstdint>

namespace vantorel::controls::vb {

// ButtonType: the fourteen looks (faces/faces.h has one face each).
enum ButtonTypeValue : std::int32_t {
  kTypeBlackFramedBevel = 1,
  kTypeStandardBevel = 2,
  kTypeBlueGradient = 3,
  kTypeRoundedLight = 4,
  kTypeFlatLight = 5,
  kTypeSoftBevel = 6,
  kTypeBorderedFlat = 7,
  kTypeHotBorderFlat = 8,
  kTypeHoverHighlight = 9,
  kTypePictureOnly = 10,
  kTypeTransparent = 11,
  kTypeHotBevelFlat = 12,
  kTypeOval = 13,
  kTypeGradientPanel = 14,
};

// ColorScheme: where the colours come from.
enum ColorSchemeValue : std::int32_t {
  kSchemeSystem = 1,      // the system's button colours
  kSchemeOwnColours = 2,  // BackColor, BackOver, ForeColor and ForeOver
  kSchemeGrey = 3,        // a fixed grey
  kSchemeParent = 4,      // the parent's colours
};

}  // namespace vantorel::controls::vb

#pragma once

// The fourteen faces, each defined in the file of its family, and the face of
// a type outside them.
#include "vbbutton/faces/face_canvas.h"

namespace vantorel::controls::vb {

extern const Face kBlackFramedBevelFace;  // type 1
extern const Face kStandardBevelFace;     // type 2
extern const Face kBlueGradientFace;      // type 3
extern const Face kRoundedLightFace;      // type 4
extern const Face kFlatLightFace;         // type 5
extern const Face kSoftBevelFace;         // type 6
extern const Face kBorderedFlatFace;      // type 7
extern const Face kHotBorderFlatFace;     // type 8
extern const Face kHoverHighlightFace;    // type 9
extern const Face kPictureOnlyFace;       // type 10
extern const Face kTransparentFace;       // type 11
extern const Face kHotBevelFlatFace;      // type 12
extern const Face kOvalFace;              // type 13
extern const Face kGradientPanelFace;     // type 14
extern const Face kNoFace;                // any other value

}  // namespace vantorel::controls::vb

#include "button/button.h"
#include "button/layers.h"

namespace vantorel {

// The picture layer (placement by PictureAlignment, the pressed offset, the grey
// rules) is not built yet: this release draws no picture and leaves the picture
// box as it was.
Status DrawPictureLayer(Button&) { return kOk; }

}  // namespace vantorel

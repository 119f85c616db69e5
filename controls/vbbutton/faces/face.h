#pragma once

// The row of a ButtonType: its three looks and everything else the type
// decides, its window shape, focus rectangle, shades, effects and pictures.
#include <windows.h>

#include "vbbutton/layout.h"
#include "vbbutton/picture_render.h"

namespace vantorel::controls::vb {

class FaceCanvas;

// Caption styles: how a face draws its caption.
enum CaptionStyle {
  kCaptionNone = -1,     // the face draws no caption
  kCaptionByHover = -2,  // in the face table: hot while hot, normal otherwise
  kCaptionNormal = 0,
  kCaptionHot = 1,
  kCaptionPressed = 2,
  kCaptionEmbossed = 3,  // disabled
  kCaptionFlat = 4,      // disabled
  kCaptionFaded = 5,     // disabled
  kCaptionCarved = 6,    // disabled
  kCaptionPressedCarved = 7,
  kCaptionPlainHot = 8,       // hot text in the caption rectangle, no effect (type 5 pressed)
  kCaptionPressedLight = 9,   // pressed, in the light colour (type 4)
};

// One look of one type.
using FacePass = void (*)(FaceCanvas&);

// One look of one type and the style its caption is drawn in.
struct FaceLook {
  FacePass draw;
  int caption;
};

// The caption style a look draws: the table's, with kCaptionByHover made hot
// or normal.
constexpr int CaptionStyleOf(const FaceLook& look, bool hot) {
  if (look.caption != kCaptionByHover) return look.caption;
  return hot ? kCaptionHot : kCaptionNormal;
}

// The window's shape: the plain rectangle, corner pixels cut away, or an
// ellipse.
enum class WindowShape {
  Rectangle,
  CutCorners,            // one pixel off each corner
  CutOpposedCorners,     // one pixel off the top-right and bottom-left corners
  RoundedCorners,        // three pixels off each corner: two along the top or bottom, one along the side
  Ellipse,
};

// The colour SpecialEffect shades the strokes behind a caption or picture from.
enum class EffectBase {
  Face,
  RaisedFace,
  HotSelection,  // the light selection colour while hot at rest, the face otherwise
};

// How a disabled control shows its picture.
enum class DisabledPicture {
  Embossed,    // dark pixels in highlight one pixel down and right, then in shadow
  Greyscale,   // one pixel down and right
  Shadow,      // dark pixels in shadow
  SoftShadow,  // dark pixels in shadow a little lighter
};

// How a type shows its pictures: PictureNormal, or PictureOver where it is set
// while hot or pressed.
struct PictureLook {
  PictureMode rest = PictureMode::Plain;  // at rest, unless UseGreyscale
  bool lifted = false;  // hot, lifted off a shadow of itself; PictureOver is never shown
  int pressShift = 1;   // pixels right and down while pressed
  DisabledPicture disabled = DisabledPicture::Embossed;
};

struct Face {
  FaceLook normal;
  FaceLook pressed;
  FaceLook disabled;
  bool boldWhenDefault = false;     // the normal look's caption is bold while default
  bool boldAtDesignTime = false;    // chosen at design time, the type makes the font bold
  bool capturesBackground = false;  // covered with what its parent draws behind it
  bool blueShades = false;          // every shade moves blue in proportion (vb::Shift)
  WindowShape shape = WindowShape::Rectangle;
  Insets focus{4, 4, 4, 4};  // the focus rectangle, in from each edge
  EffectBase captionEffect = EffectBase::Face;
  EffectBase pictureEffect = EffectBase::Face;
  PictureLook picture{};
};

// The row of a ButtonType; a value outside 1 to 14 has a face that draws
// nothing, with every other fact as most types have it.
const Face& FaceOf(int type);

// The window region of a shape at a size, or null for the plain rectangle.
HRGN ShapeFor(WindowShape shape, int w, int h);

}  // namespace vantorel::controls::vb

// Type 9: flat until hot, then filled and framed in the selection colours.
#include "vbbutton/faces/faces.h"
#include "vbbutton/stored_values.h"

namespace vantorel::controls::vb {

namespace {

void Normal(FaceCanvas& f) {
  if (f.in.hot) f.Fill(1, 1, f.w, f.h, f.c.selectionLight);
  f.Caption();
  if (f.in.hot) f.Outline(0, 0, f.w, f.h, f.c.selection);
  f.Focus();
}

void Pressed(FaceCanvas& f) {
  if (f.in.hot) {
    // The control's own colours darken their hover fill; the other schemes use
    // the selection colour, lightened.
    Rgb24 fill = f.in.scheme == kSchemeOwnColours ? f.Shift(f.c.selectionLight, -32) : Lighten(f.c.selection, 128);
    f.Fill(0, 0, f.w, f.h, fill);
  }
  f.Caption();
  f.Outline(0, 0, f.w, f.h, f.c.selection);
  f.Focus();
}

void Disabled(FaceCanvas& f) { f.Caption(); }

}  // namespace

// Its picture is faded at rest and lifted off its shadow while hot; the hover
// picture is never shown.
const Face kHoverHighlightFace{.normal = {Normal, kCaptionByHover},
                               .pressed = {Pressed, kCaptionPressed},
                               .disabled = {Disabled, kCaptionFlat},
                               .focus = {3, 3, 3, 3},
                               .captionEffect = EffectBase::HotSelection,
                               .pictureEffect = EffectBase::HotSelection,
                               .picture = {.rest = PictureMode::Faded,
                                           .lifted = true,
                                           .pressShift = 0,
                                           .disabled = DisabledPicture::SoftShadow}};

}  // namespace vantorel::controls::vb

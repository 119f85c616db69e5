// vbButton's persistence: every key of the property table is stored on every
// save, in the table's order, and read back in the same order with its fallback.
#include "vbbutton/vbbutton.h"
#include "vbbutton/vbbutton_fields.h"

namespace vantorel::controls {

void vbButton::OnInitNew() {
  props_ = vbButtonProps{};
  props_.caption = ambient().displayName;
  surface().SetEnabled(true);
  surface().SetFont(host::MakeFont(ambient().font));
  DeriveColors();
  props_.backColor = props_.backOver = colors_.face;
  props_.foreColor = props_.foreOver = colors_.text;
  props_.maskColor = 0x00C0C0C0;
  UpdateAccessKey();
  ShowCaptionAsWindowText(props_.caption);
  ComputePictureSize();
  ComputeLayout();
}

void vbButton::OnReadProperties(const host::PropertyBag& bag) {
  // Loading is not a change: the table's fields are read straight into place,
  // without their setters' notification and side effects. Values outside their
  // ranges are kept and drawn as such (no face, system colours, a centred
  // picture).
  host::SurfaceValues held;
  held.font = Font() ? Font()->Desc() : ambient().font;
  vb::Fields().Read(bag, props_, held);
  surface().SetFont(host::MakeFont(held.font));
  // The stored pointer kind and picture are read, but the hand decides the
  // pointer in the end, as it does when it is set.
  ApplyPointer();
  surface().SetEnabled(held.enabled);
  normalPixels_.Reset();
  overPixels_.Reset();
  ComputePictureSize();
  ComputeLayout();
  UpdateAccessKey();
  ShowCaptionAsWindowText(props_.caption);
}

void vbButton::OnWriteProperties(host::PropertyBag& bag) const {
  vb::Fields().Write(props_, SurfaceHeldValues(), bag);
}

}  // namespace vantorel::controls

#include "button/button.h"
#include "button/button_fields.h"

namespace vantorel::controls {

void Button::OnInitNew() {
  props_ = ButtonProps{};
  props_.caption = ambient().displayName;
  ShowCaptionAsWindowText(props_.caption);
  HandEnabledToSurface(true);
  host::FontDesc font = ambient().font;
  font.name = L"Tahoma";
  surface().SetFont(host::MakeFont(std::move(font)));
  Paint();
}

void Button::OnReadProperties(const host::PropertyBag& bag) {
  // Stored values are taken as they are: no style or theme preset is applied.
  host::SurfaceValues held = SurfaceDefaults();
  ButtonFields().Read(bag, props_, held);
  ShowCaptionAsWindowText(props_.caption);

  // Loading is not a change: the values go to the surface without the setters'
  // notification, so the host is not told and its data stays clean.
  HandEnabledToSurface(held.enabled);
  surface().SetFont(host::MakeFont(held.font));
  // A stored pointer picture that is not an icon or cursor is refused by the
  // surface and leaves the pointer as it was.
  surface().SetMouseIcon(held.mouseIcon);
  surface().SetMousePointer(held.mousePointer);
  Paint();
}

void Button::OnWriteProperties(host::PropertyBag& bag) const {
  ButtonFields().WriteChanged(props_, SurfaceHeldValues(), SurfaceDefaults(), bag);
}

host::SurfaceValues Button::SurfaceDefaults() const {
  host::SurfaceValues d;
  d.font = ambient().font;
  return d;
}

}  // namespace vantorel::controls

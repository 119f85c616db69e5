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
  ReadButtonFields(bag, props_);
  ShowCaptionAsWindowText(props_.caption);

  // Loading is not a change: the values go to the surface without the setters'
  // notification, so the host is not told and its data stays clean.
  HandEnabledToSurface(bag.ReadBool(L"Enabled", true));
  surface().SetFont(host::MakeFont(bag.ReadFont(L"Font", ambient().font)));
  // A stored pointer picture that is not an icon or cursor is refused by the
  // surface and leaves the pointer as it was.
  surface().SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr));
  surface().SetMousePointer(bag.ReadInt16(L"MousePointer", 0));
  Paint();
}

void Button::OnWriteProperties(host::PropertyBag& bag) const {
  WriteButtonFields(props_, bag);
  bag.Write(L"Enabled", Enabled(), true);
  bag.Write(L"Font", Font() ? Font()->Desc() : ambient().font, ambient().font);
  bag.Write(L"MouseIcon", MouseIcon(), host::PictureRef{});
  bag.Write(L"MousePointer", MousePointer(), std::int16_t{0});
}

}  // namespace vantorel::controls

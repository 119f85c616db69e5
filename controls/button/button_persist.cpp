#include "button/button.h"

namespace vantorel::controls {

namespace {

constexpr wchar_t kClassName[] = L"Button";

}  // namespace

void Button::OnInitNew() {
  props_ = ButtonProps{};
  props_.caption = ambient().displayName;
  ShowCaptionAsWindowText();
  HandEnabledToSurface(true);
  FontDesc font = ambient().font;
  font.name = L"Tahoma";
  surface().SetFont(MakeFont(std::move(font)));
  Paint();
}

void Button::OnReadProperties(const PropertyBag& bag) {
  const ButtonProps d;
  // Stored values are taken as they are: no style or theme preset is applied.
  props_.buttonShape = bag.ReadInt32(L"ButtonShape", d.buttonShape);
  props_.buttonStyle = bag.ReadInt32(L"ButtonStyle", d.buttonStyle);
  props_.buttonStyleColors = bag.ReadInt32(L"ButtonStyleColors", d.buttonStyleColors);
  props_.buttonTheme = bag.ReadInt32(L"ButtonTheme", d.buttonTheme);
  props_.buttonType = bag.ReadInt32(L"ButtonType", d.buttonType);
  props_.captionAlignment = bag.ReadInt32(L"CaptionAlignment", d.captionAlignment);
  props_.captionEffect = bag.ReadInt32(L"CaptionEffect", d.captionEffect);
  props_.captionStyle = bag.ReadInt32(L"CaptionStyle", d.captionStyle);
  props_.dropDown = bag.ReadInt32(L"DropDown", d.dropDown);
  props_.pictureAlignment = bag.ReadInt32(L"PictureAlignment", d.pictureAlignment);
  props_.backColor = bag.ReadColor(L"BackColor", d.backColor);
  props_.backColorPressed = bag.ReadColor(L"BackColorPressed", d.backColorPressed);
  props_.backColorHover = bag.ReadColor(L"BackColorHover", d.backColorHover);
  props_.borderColor = bag.ReadColor(L"BorderColor", d.borderColor);
  props_.borderColorPressed = bag.ReadColor(L"BorderColorPressed", d.borderColorPressed);
  props_.borderColorHover = bag.ReadColor(L"BorderColorHover", d.borderColorHover);
  props_.foreColor = bag.ReadColor(L"ForeColor", d.foreColor);
  props_.foreColorPressed = bag.ReadColor(L"ForeColorPressed", d.foreColorPressed);
  props_.foreColorHover = bag.ReadColor(L"ForeColorHover", d.foreColorHover);
  props_.effectColor = bag.ReadColor(L"EffectColor", d.effectColor);
  props_.caption = bag.ReadText(L"Caption", kClassName);
  ShowCaptionAsWindowText();
  props_.focusRect = bag.ReadBool(L"FocusRect", d.focusRect);
  props_.value = bag.ReadBool(L"Value", d.value);
  props_.handPointer = bag.ReadBool(L"HandPointer", d.handPointer);
  props_.picture = bag.ReadPicture(L"Picture", nullptr);
  props_.pictureGray = bag.ReadBool(L"PictureGray", d.pictureGray);

  // Loading is not a change: the values go to the surface without the setters'
  // notification, so the host is not told and its data stays clean.
  HandEnabledToSurface(bag.ReadBool(L"Enabled", true));
  surface().SetFont(MakeFont(bag.ReadFont(L"Font", ambient().font)));
  // A stored pointer picture that is not an icon or cursor is refused by the
  // surface and leaves the pointer as it was.
  surface().SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr));
  surface().SetMousePointer(bag.ReadInt16(L"MousePointer", 0));
  Paint();
}

void Button::OnWriteProperties(PropertyBag& bag) const {
  const ButtonProps d;
  const ButtonProps& p = props_;
  bag.Write(L"ButtonShape", p.buttonShape, d.buttonShape);
  bag.Write(L"ButtonStyle", p.buttonStyle, d.buttonStyle);
  bag.Write(L"ButtonStyleColors", p.buttonStyleColors, d.buttonStyleColors);
  bag.Write(L"ButtonTheme", p.buttonTheme, d.buttonTheme);
  bag.Write(L"ButtonType", p.buttonType, d.buttonType);
  bag.Write(L"CaptionAlignment", p.captionAlignment, d.captionAlignment);
  bag.Write(L"CaptionEffect", p.captionEffect, d.captionEffect);
  bag.Write(L"CaptionStyle", p.captionStyle, d.captionStyle);
  bag.Write(L"DropDown", p.dropDown, d.dropDown);
  bag.Write(L"PictureAlignment", p.pictureAlignment, d.pictureAlignment);
  bag.WriteColor(L"BackColor", p.backColor, d.backColor);
  bag.WriteColor(L"BackColorPressed", p.backColorPressed, d.backColorPressed);
  bag.WriteColor(L"BackColorHover", p.backColorHover, d.backColorHover);
  bag.WriteColor(L"BorderColor", p.borderColor, d.borderColor);
  bag.WriteColor(L"BorderColorPressed", p.borderColorPressed, d.borderColorPressed);
  bag.WriteColor(L"BorderColorHover", p.borderColorHover, d.borderColorHover);
  bag.WriteColor(L"ForeColor", p.foreColor, d.foreColor);
  bag.WriteColor(L"ForeColorPressed", p.foreColorPressed, d.foreColorPressed);
  bag.WriteColor(L"ForeColorHover", p.foreColorHover, d.foreColorHover);
  bag.WriteColor(L"EffectColor", p.effectColor, d.effectColor);
  bag.Write(L"Caption", p.caption, std::wstring(kClassName));
  bag.Write(L"FocusRect", p.focusRect, d.focusRect);
  bag.Write(L"Value", p.value, d.value);
  bag.Write(L"HandPointer", p.handPointer, d.handPointer);
  bag.Write(L"Picture", p.picture, PictureRef{});
  bag.Write(L"PictureGray", p.pictureGray, d.pictureGray);
  bag.Write(L"Enabled", Enabled(), true);
  bag.Write(L"Font", Font() ? Font()->Desc() : ambient().font, ambient().font);
  bag.Write(L"MouseIcon", MouseIcon(), PictureRef{});
  bag.Write(L"MousePointer", MousePointer(), std::int16_t{0});
}

}  // namespace vantorel::controls

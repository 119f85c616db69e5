#include "button/button.h"

namespace vantorel::controls {

namespace {

constexpr wchar_t kClassName[] = L"Button";

std::int32_t Bits(OleColor c) { return static_cast<std::int32_t>(c); }
OleColor Color(std::int32_t v) { return static_cast<OleColor>(v); }

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
  props_.backColor = Color(bag.ReadInt32(L"BackColor", Bits(d.backColor)));
  props_.backColorPressed = Color(bag.ReadInt32(L"BackColorPressed", Bits(d.backColorPressed)));
  props_.backColorHover = Color(bag.ReadInt32(L"BackColorHover", Bits(d.backColorHover)));
  props_.borderColor = Color(bag.ReadInt32(L"BorderColor", Bits(d.borderColor)));
  props_.borderColorPressed = Color(bag.ReadInt32(L"BorderColorPressed", Bits(d.borderColorPressed)));
  props_.borderColorHover = Color(bag.ReadInt32(L"BorderColorHover", Bits(d.borderColorHover)));
  props_.foreColor = Color(bag.ReadInt32(L"ForeColor", Bits(d.foreColor)));
  props_.foreColorPressed = Color(bag.ReadInt32(L"ForeColorPressed", Bits(d.foreColorPressed)));
  props_.foreColorHover = Color(bag.ReadInt32(L"ForeColorHover", Bits(d.foreColorHover)));
  props_.effectColor = Color(bag.ReadInt32(L"EffectColor", Bits(d.effectColor)));
  props_.caption = bag.ReadText(L"Caption", kClassName);
  ShowCaptionAsWindowText();
  props_.focusRect = bag.ReadBool(L"FocusRect", d.focusRect);
  props_.value = bag.ReadBool(L"Value", d.value);
  props_.handPointer = bag.ReadBool(L"HandPointer", d.handPointer);
  props_.picture = bag.ReadPicture(L"Picture", nullptr);
  props_.pictureGray = bag.ReadBool(L"PictureGray", d.pictureGray);

  HandEnabledToSurface(bag.ReadBool(L"Enabled", true));
  SetFont(MakeFont(bag.ReadFont(L"Font", ambient().font)));
  // A stored pointer picture that is not an icon or cursor is refused by the
  // surface and leaves the pointer as it was.
  SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr));
  surface().SetMousePointer(bag.ReadInt16(L"MousePointer", 0));
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
  bag.Write(L"BackColor", Bits(p.backColor), Bits(d.backColor));
  bag.Write(L"BackColorPressed", Bits(p.backColorPressed), Bits(d.backColorPressed));
  bag.Write(L"BackColorHover", Bits(p.backColorHover), Bits(d.backColorHover));
  bag.Write(L"BorderColor", Bits(p.borderColor), Bits(d.borderColor));
  bag.Write(L"BorderColorPressed", Bits(p.borderColorPressed), Bits(d.borderColorPressed));
  bag.Write(L"BorderColorHover", Bits(p.borderColorHover), Bits(d.borderColorHover));
  bag.Write(L"ForeColor", Bits(p.foreColor), Bits(d.foreColor));
  bag.Write(L"ForeColorPressed", Bits(p.foreColorPressed), Bits(d.foreColorPressed));
  bag.Write(L"ForeColorHover", Bits(p.foreColorHover), Bits(d.foreColorHover));
  bag.Write(L"EffectColor", Bits(p.effectColor), Bits(d.effectColor));
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

#include "button/button.h"
#include "button/button_fields.h"

#include <limits>

namespace vantorel::controls {

template <class T>
Status Button::Store(T ButtonProps::*member, T value) {
  props_.*member = std::move(value);
  PropertyChanged(ButtonKeyOf(member));
  return Paint();
}

Status Button::SetButtonShape(std::int32_t v) { return Store(&ButtonProps::buttonShape, v); }
Status Button::SetButtonStyleColors(std::int32_t v) { return Store(&ButtonProps::buttonStyleColors, v); }
Status Button::SetButtonType(std::int32_t v) { return Store(&ButtonProps::buttonType, v); }
Status Button::SetCaptionAlignment(std::int32_t v) { return Store(&ButtonProps::captionAlignment, v); }
Status Button::SetCaptionEffect(std::int32_t v) { return Store(&ButtonProps::captionEffect, v); }
Status Button::SetCaptionStyle(std::int32_t v) { return Store(&ButtonProps::captionStyle, v); }
Status Button::SetDropDown(std::int32_t v) { return Store(&ButtonProps::dropDown, v); }
Status Button::SetPictureAlignment(std::int32_t v) { return Store(&ButtonProps::pictureAlignment, v); }
Status Button::SetBackColor(OleColor v) { return Store(&ButtonProps::backColor, v); }
Status Button::SetBackColorPressed(OleColor v) { return Store(&ButtonProps::backColorPressed, v); }
Status Button::SetBackColorHover(OleColor v) { return Store(&ButtonProps::backColorHover, v); }
Status Button::SetBorderColor(OleColor v) { return Store(&ButtonProps::borderColor, v); }
Status Button::SetBorderColorPressed(OleColor v) { return Store(&ButtonProps::borderColorPressed, v); }
Status Button::SetBorderColorHover(OleColor v) { return Store(&ButtonProps::borderColorHover, v); }
Status Button::SetForeColor(OleColor v) { return Store(&ButtonProps::foreColor, v); }
Status Button::SetForeColorPressed(OleColor v) { return Store(&ButtonProps::foreColorPressed, v); }
Status Button::SetForeColorHover(OleColor v) { return Store(&ButtonProps::foreColorHover, v); }
Status Button::SetEffectColor(OleColor v) { return Store(&ButtonProps::effectColor, v); }
Status Button::SetCaption(std::wstring v) {
  props_.caption = std::move(v);
  ShowCaptionAsWindowText(props_.caption);
  PropertyChanged(ButtonKeyOf(&ButtonProps::caption));
  return Paint();
}

void Button::OnWindowTextSet(const std::wstring& text) {
  if (text != props_.caption) SetCaption(text);
}
Status Button::SetFocusRect(bool v) { return Store(&ButtonProps::focusRect, v); }
Status Button::SetValue(bool v) { return Store(&ButtonProps::value, v); }
Status Button::SetHandPointer(bool v) { return Store(&ButtonProps::handPointer, v); }
Status Button::SetPicture(PictureRef v) { return Store(&ButtonProps::picture, std::move(v)); }
Status Button::SetPictureGray(bool v) { return Store(&ButtonProps::pictureGray, v); }

Status Button::SetButtonStyle(std::int32_t v) {
  props_.buttonStyle = v;
  PropertyChanged(ButtonKeyOf(&ButtonProps::buttonStyle));
  ApplyStylePreset();
  return Paint();
}

Status Button::SetButtonTheme(std::int32_t v) {
  props_.buttonTheme = v;
  PropertyChanged(ButtonKeyOf(&ButtonProps::buttonTheme));
  ApplyThemePreset();
  return Paint();
}

bool Button::Enabled() const { return surface().Enabled(); }

void Button::HandEnabledToSurface(bool v) {
  settingEnabled_ = true;
  surface().SetEnabled(v);
  settingEnabled_ = false;
}

Status Button::SetEnabled(bool v) {
  HandEnabledToSurface(v);
  PropertyChanged(L"Enabled");
  return Paint();
}

const FontRef& Button::Font() const { return surface().GetFont(); }

Status Button::SetFont(FontRef v) {
  if (Status s = surface().SetFont(std::move(v)); !s.ok()) return s;
  PropertyChanged(L"Font");
  return Paint();
}

std::int16_t Button::MousePointer() const { return surface().MousePointer(); }

Status Button::SetMousePointer(std::int32_t v) {
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) return kOverflow;
  if (Status s = surface().SetMousePointer(static_cast<std::int16_t>(v)); !s.ok()) return s;
  PropertyChanged(L"MousePointer");
  return Paint();
}

const PictureRef& Button::MouseIcon() const { return surface().MouseIcon(); }

Status Button::SetMouseIcon(PictureRef v) {
  if (Status s = surface().SetMouseIcon(std::move(v)); !s.ok()) return s;
  PropertyChanged(L"MouseIcon");
  return Paint();
}

void Button::Refresh() { surface().Refresh(); }

void Button::OnShow() { Paint(); }

void Button::OnResize() {
  // A resize made by the paint itself (minimum and square sizes) is finished by
  // that paint, which reads the new size afresh.
  if (!painting_) Paint();
}

}  // namespace vantorel::controls

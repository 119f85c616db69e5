#include "button/button.h"
#include "button/button_fields.h"

#include <limits>

namespace vantorel::controls {

template <class T>
host::Status Button::Store(T ButtonProps::*member, T value) {
  props_.*member = std::move(value);
  PropertyChanged(ButtonKeyOf(member));
  return Paint();
}

host::Status Button::SetButtonShape(std::int32_t v) { return Store(&ButtonProps::buttonShape, v); }
host::Status Button::SetButtonStyleColors(std::int32_t v) { return Store(&ButtonProps::buttonStyleColors, v); }
host::Status Button::SetButtonType(std::int32_t v) { return Store(&ButtonProps::buttonType, v); }
host::Status Button::SetCaptionAlignment(std::int32_t v) { return Store(&ButtonProps::captionAlignment, v); }
host::Status Button::SetCaptionEffect(std::int32_t v) { return Store(&ButtonProps::captionEffect, v); }
host::Status Button::SetCaptionStyle(std::int32_t v) { return Store(&ButtonProps::captionStyle, v); }
host::Status Button::SetDropDown(std::int32_t v) { return Store(&ButtonProps::dropDown, v); }
host::Status Button::SetPictureAlignment(std::int32_t v) { return Store(&ButtonProps::pictureAlignment, v); }
host::Status Button::SetBackColor(host::OleColor v) { return Store(&ButtonProps::backColor, v); }
host::Status Button::SetBackColorPressed(host::OleColor v) { return Store(&ButtonProps::backColorPressed, v); }
host::Status Button::SetBackColorHover(host::OleColor v) { return Store(&ButtonProps::backColorHover, v); }
host::Status Button::SetBorderColor(host::OleColor v) { return Store(&ButtonProps::borderColor, v); }
host::Status Button::SetBorderColorPressed(host::OleColor v) { return Store(&ButtonProps::borderColorPressed, v); }
host::Status Button::SetBorderColorHover(host::OleColor v) { return Store(&ButtonProps::borderColorHover, v); }
host::Status Button::SetForeColor(host::OleColor v) { return Store(&ButtonProps::foreColor, v); }
host::Status Button::SetForeColorPressed(host::OleColor v) { return Store(&ButtonProps::foreColorPressed, v); }
host::Status Button::SetForeColorHover(host::OleColor v) { return Store(&ButtonProps::foreColorHover, v); }
host::Status Button::SetEffectColor(host::OleColor v) { return Store(&ButtonProps::effectColor, v); }
host::Status Button::SetCaption(std::wstring v) {
  props_.caption = std::move(v);
  ShowCaptionAsWindowText(props_.caption);
  PropertyChanged(ButtonKeyOf(&ButtonProps::caption));
  return Paint();
}

void Button::OnWindowTextSet(const std::wstring& text) {
  if (text != props_.caption) SetCaption(text);
}
host::Status Button::SetFocusRect(bool v) { return Store(&ButtonProps::focusRect, v); }
host::Status Button::SetValue(bool v) { return Store(&ButtonProps::value, v); }
host::Status Button::SetHandPointer(bool v) { return Store(&ButtonProps::handPointer, v); }
host::Status Button::SetPicture(host::PictureRef v) { return Store(&ButtonProps::picture, std::move(v)); }
host::Status Button::SetPictureGray(bool v) { return Store(&ButtonProps::pictureGray, v); }

host::Status Button::SetButtonStyle(std::int32_t v) {
  props_.buttonStyle = v;
  PropertyChanged(ButtonKeyOf(&ButtonProps::buttonStyle));
  ApplyStylePreset();
  return Paint();
}

host::Status Button::SetButtonTheme(std::int32_t v) {
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

host::Status Button::SetEnabled(bool v) {
  HandEnabledToSurface(v);
  PropertyChanged(ButtonKeyOf(host::SurfaceHeld::Enabled));
  return Paint();
}

const host::FontRef& Button::Font() const { return surface().GetFont(); }

host::Status Button::SetFont(host::FontRef v) {
  if (host::Status s = surface().SetFont(std::move(v)); !s.ok()) return s;
  PropertyChanged(ButtonKeyOf(host::SurfaceHeld::Font));
  return Paint();
}

std::int16_t Button::MousePointer() const { return surface().MousePointer(); }

host::Status Button::SetMousePointer(std::int32_t v) {
  if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
    return host::kOverflow;
  if (host::Status s = surface().SetMousePointer(static_cast<std::int16_t>(v)); !s.ok()) return s;
  PropertyChanged(ButtonKeyOf(host::SurfaceHeld::MousePointer));
  return Paint();
}

const host::PictureRef& Button::MouseIcon() const { return surface().MouseIcon(); }

host::Status Button::SetMouseIcon(host::PictureRef v) {
  if (host::Status s = surface().SetMouseIcon(std::move(v)); !s.ok()) return s;
  PropertyChanged(ButtonKeyOf(host::SurfaceHeld::MouseIcon));
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

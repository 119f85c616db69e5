#include "button/button.h"

#include <limits>

namespace vantorel::controls {

Button* Button::Create(const HostPlacement& placement, const PropertyBag* bag) {
  auto* button = new Button;
  // On failure CreateHosted has already disposed of the object.
  return button->CreateHosted(placement, bag) ? button : nullptr;
}

Button* Button::FromHwnd(HWND hwnd) { return dynamic_cast<Button*>(HostedControl::FromHwnd(hwnd)); }

template <class T>
Status Button::Store(T& field, T value, const wchar_t* key) {
  field = std::move(value);
  PropertyChanged(key);
  return Paint();
}

Status Button::SetButtonShape(std::int32_t v) { return Store(props_.buttonShape, v, L"ButtonShape"); }
Status Button::SetButtonStyleColors(std::int32_t v) { return Store(props_.buttonStyleColors, v, L"ButtonStyleColors"); }
Status Button::SetButtonType(std::int32_t v) { return Store(props_.buttonType, v, L"ButtonType"); }
Status Button::SetCaptionAlignment(std::int32_t v) { return Store(props_.captionAlignment, v, L"CaptionAlignment"); }
Status Button::SetCaptionEffect(std::int32_t v) { return Store(props_.captionEffect, v, L"CaptionEffect"); }
Status Button::SetCaptionStyle(std::int32_t v) { return Store(props_.captionStyle, v, L"CaptionStyle"); }
Status Button::SetDropDown(std::int32_t v) { return Store(props_.dropDown, v, L"DropDown"); }
Status Button::SetPictureAlignment(std::int32_t v) { return Store(props_.pictureAlignment, v, L"PictureAlignment"); }
Status Button::SetBackColor(OleColor v) { return Store(props_.backColor, v, L"BackColor"); }
Status Button::SetBackColorPressed(OleColor v) { return Store(props_.backColorPressed, v, L"BackColorPressed"); }
Status Button::SetBackColorHover(OleColor v) { return Store(props_.backColorHover, v, L"BackColorHover"); }
Status Button::SetBorderColor(OleColor v) { return Store(props_.borderColor, v, L"BorderColor"); }
Status Button::SetBorderColorPressed(OleColor v) { return Store(props_.borderColorPressed, v, L"BorderColorPressed"); }
Status Button::SetBorderColorHover(OleColor v) { return Store(props_.borderColorHover, v, L"BorderColorHover"); }
Status Button::SetForeColor(OleColor v) { return Store(props_.foreColor, v, L"ForeColor"); }
Status Button::SetForeColorPressed(OleColor v) { return Store(props_.foreColorPressed, v, L"ForeColorPressed"); }
Status Button::SetForeColorHover(OleColor v) { return Store(props_.foreColorHover, v, L"ForeColorHover"); }
Status Button::SetEffectColor(OleColor v) { return Store(props_.effectColor, v, L"EffectColor"); }
Status Button::SetCaption(std::wstring v) {
  props_.caption = std::move(v);
  ShowCaptionAsWindowText();
  PropertyChanged(L"Caption");
  return Paint();
}

void Button::ShowCaptionAsWindowText() {
  // The window text is the caption with its ampersands, for screen readers,
  // automation and GetWindowText.
  if (Hwnd()) SetWindowTextW(Hwnd(), props_.caption.c_str());
}

bool Button::OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg != WM_SETTEXT) return false;
  // And the other way: text set on the window (automation, SetWindowText) is
  // the new caption, as on a system button. Our own setting arrives here too,
  // with the caption it already has.
  if (auto text = StoreWindowText(Hwnd(), wp, lp, result); text && *text != props_.caption) SetCaption(*text);
  return true;
}
Status Button::SetFocusRect(bool v) { return Store(props_.focusRect, v, L"FocusRect"); }
Status Button::SetValue(bool v) { return Store(props_.value, v, L"Value"); }
Status Button::SetHandPointer(bool v) { return Store(props_.handPointer, v, L"HandPointer"); }
Status Button::SetPicture(PictureRef v) { return Store(props_.picture, std::move(v), L"Picture"); }
Status Button::SetPictureGray(bool v) { return Store(props_.pictureGray, v, L"PictureGray"); }

Status Button::SetButtonStyle(std::int32_t v) {
  props_.buttonStyle = v;
  PropertyChanged(L"ButtonStyle");
  ApplyStylePreset();
  return Paint();
}

Status Button::SetButtonTheme(std::int32_t v) {
  props_.buttonTheme = v;
  PropertyChanged(L"ButtonTheme");
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

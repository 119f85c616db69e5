// vbButton's property setters: each stores the value, does what its field in the
// table says follows (derive the colours, lay out, redraw) and tells the host by
// the field's key.
#include "vbbutton/vbbutton.h"
#include "vbbutton/stored_values.h"

#include "vbbutton/vbbutton_fields.h"

#include "vbbutton/access_key.h"

namespace vantorel::controls {

template <class T>
Status vbButton::Store(T vbButtonProps::*member, T value) {
  props_.*member = std::move(value);
  return Told(vb::FieldOf(member));
}

Status vbButton::Told(const vb::Field& field) {
  FollowChange(field.follow);
  PropertyChanged(vb::ToldKey(field));
  return kOk;
}

void vbButton::FollowChange(vb::Follow follow) {
  using enum vb::Follow;
  switch (follow) {
    case Nothing: break;
    case Redraw: RedrawLast(); break;
    case RedrawNormal: this->RedrawNormal(); break;
    case RedrawChecked:
      if (props_.checkBoxBehaviour) this->RedrawNormal();
      break;
    case RedrawPicture:
      if (props_.pictureNormal) RedrawLast();
      break;
    case RedrawHot:
      if (hot_) RedrawLast();
      break;
    case Colours:
      DeriveColors();
      RedrawLast();
      break;
    case Scheme:
      DeriveColors();
      this->RedrawNormal();
      break;
    case Layout:
      ComputeLayout();
      RedrawLast();
      break;
    case FontLayout:
      ComputeLayout();
      this->RedrawNormal();
      break;
    case Picture:
      normalPixels_.Reset();
      ComputePictureSize();
      ComputeLayout();
      RedrawLast();
      break;
    case Caption:
      UpdateAccessKey();
      ShowCaptionAsWindowText(props_.caption);
      ComputeLayout();
      this->RedrawNormal();
      break;
    case Type: ApplyType(); break;
    case Pointer: ApplyPointer(); break;
  }
}

// A change made at design time goes to the hover twin too.
Status vbButton::SetBackColor(OleColor v) {
  if (!ambient().userMode) props_.backOver = v;
  return Store(&vbButtonProps::backColor, v);
}

Status vbButton::SetBackOver(OleColor v) { return Store(&vbButtonProps::backOver, v); }

Status vbButton::SetForeColor(OleColor v) {
  if (!ambient().userMode) props_.foreOver = v;
  return Store(&vbButtonProps::foreColor, v);
}

Status vbButton::SetForeOver(OleColor v) { return Store(&vbButtonProps::foreOver, v); }
Status vbButton::SetMaskColor(OleColor v) { return Store(&vbButtonProps::maskColor, v); }
Status vbButton::SetSoftBevel(bool v) { return Store(&vbButtonProps::softBevel, v); }
Status vbButton::SetColorScheme(std::int32_t v) { return Store(&vbButtonProps::colorScheme, v); }
Status vbButton::SetButtonType(std::int32_t v) { return Store(&vbButtonProps::buttonType, v); }

void vbButton::ApplyType() {
  const std::int32_t v = props_.buttonType;
  if (v == vb::kTypeFlatLight && !ambient().userMode) {
    if (const FontRef& f = Font()) {
      FontDesc d = f->Desc();
      d.weight = FW_BOLD;
      f->SetDesc(d);
      surface().SetFont(f);
    }
  } else if (v == vb::kTypeTransparent && drawingAllowed_) {
    CaptureBackground();
  }
  // The raised face of type 3 is derived with its own rule.
  DeriveColors();
  HandleResize();
}

Status vbButton::SetCaption(std::wstring v) { return Store(&vbButtonProps::caption, std::move(v)); }

bool vbButton::Enabled() const { return surface().Enabled(); }

Status vbButton::SetEnabled(bool v) {
  // The window's enabled state is what the drawing reads, so it changes first.
  surface().SetEnabled(v);
  return Told(vb::FieldOf(vb::SurfaceHeld::Enabled));
}

const FontRef& vbButton::Font() const { return surface().GetFont(); }

Status vbButton::SetFont(FontRef v) {
  if (Status s = surface().SetFont(std::move(v)); !s.ok()) return s;
  return Told(vb::FieldOf(vb::SurfaceHeld::Font));
}

Status vbButton::SetFontDesc(FontDesc desc) {
  // The font's parts are not stored on their own and send no notification.
  const FontRef& f = Font();
  if (!f) return kInvalidPropertyValue;
  f->SetDesc(std::move(desc));
  surface().SetFont(f);
  ComputeLayout();
  RedrawNormal();
  return kOk;
}

namespace {
FontDesc DescOf(const FontRef& f) { return f ? f->Desc() : FontDesc{}; }
}  // namespace

bool vbButton::FontBold() const { return DescOf(Font()).weight >= FW_BOLD; }
bool vbButton::FontItalic() const { return DescOf(Font()).italic; }
bool vbButton::FontUnderline() const { return DescOf(Font()).underline; }
std::int16_t vbButton::FontSize() const { return static_cast<std::int16_t>(DescOf(Font()).size); }
std::wstring vbButton::FontName() const { return DescOf(Font()).name; }

Status vbButton::SetFontBold(bool v) {
  FontDesc d = DescOf(Font());
  d.weight = v ? FW_BOLD : FW_NORMAL;
  return SetFontDesc(std::move(d));
}

Status vbButton::SetFontItalic(bool v) {
  FontDesc d = DescOf(Font());
  d.italic = v;
  return SetFontDesc(std::move(d));
}

Status vbButton::SetFontUnderline(bool v) {
  FontDesc d = DescOf(Font());
  d.underline = v;
  return SetFontDesc(std::move(d));
}

Status vbButton::SetFontSize(std::int16_t points) {
  if (points <= 0) return kInvalidPropertyValue;
  FontDesc d = DescOf(Font());
  d.size = points;
  return SetFontDesc(std::move(d));
}

Status vbButton::SetFontName(std::wstring v) {
  if (v.empty()) return kInvalidPropertyValue;
  FontDesc d = DescOf(Font());
  d.name = std::move(v);
  return SetFontDesc(std::move(d));
}

Status vbButton::SetShowFocusRect(bool v) { return Store(&vbButtonProps::showFocusRect, v); }
Status vbButton::SetSpecialEffect(std::int32_t v) { return Store(&vbButtonProps::specialEffect, v); }
Status vbButton::SetCheckBoxBehaviour(bool v) { return Store(&vbButtonProps::checkBoxBehaviour, v); }
Status vbButton::SetValue(bool v) { return Store(&vbButtonProps::value, v); }
Status vbButton::SetPictureNormal(PictureRef v) { return Store(&vbButtonProps::pictureNormal, std::move(v)); }

Status vbButton::SetPictureOver(PictureRef v) {
  overPixels_.Reset();
  return Store(&vbButtonProps::pictureOver, std::move(v));
}

Status vbButton::SetPicturePosition(std::int32_t v) { return Store(&vbButtonProps::picturePosition, v); }
Status vbButton::SetUseMaskColor(bool v) { return Store(&vbButtonProps::useMaskColor, v); }
Status vbButton::SetUseGreyscale(bool v) { return Store(&vbButtonProps::useGreyscale, v); }

std::int16_t vbButton::MousePointer() const { return surface().MousePointer(); }

Status vbButton::SetMousePointer(std::int16_t v) {
  if (Status s = surface().SetMousePointer(v); !s.ok()) return s;
  return Told(vb::FieldOf(vb::SurfaceHeld::MousePointer));
}

const PictureRef& vbButton::MouseIcon() const { return surface().MouseIcon(); }

Status vbButton::SetMouseIcon(PictureRef v) {
  if (Status s = surface().SetMouseIcon(std::move(v)); !s.ok()) return s;
  return Told(vb::FieldOf(vb::SurfaceHeld::MouseIcon));
}

Status vbButton::SetHandPointer(bool v) { return Store(&vbButtonProps::handPointer, v); }

void vbButton::ApplyPointer() {
  // The hand itself is shown by the cursor request (PointerOverClient); the pointer
  // kind says a custom pointer is in use.
  surface().SetMouseIcon(nullptr);
  surface().SetMousePointer(props_.handPointer ? 99 : 1);
}

void vbButton::UpdateAccessKey() {
  accessKey_ = vb::AccessKeyOf(props_.caption);
  SetAccessKeys(accessKey_ ? std::wstring(1, accessKey_) : std::wstring());
}

void vbButton::OnWindowTextSet(const std::wstring& text) {
  if (text != props_.caption) SetCaption(text);
}

}  // namespace vantorel::controls

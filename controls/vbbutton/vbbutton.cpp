// vbButton's property setters: each stores the value, does what its field in the
// table says follows (derive the colours, lay out, redraw) and tells the host by
// the field's key.
#include "vbbutton/vbbutton.h"
#include "vbbutton/faces/face.h"

#include "vbbutton/vbbutton_fields.h"

#include "vbbutton/access_key.h"

namespace vantorel::controls {

template <class T>
host::Status vbButton::Store(T vbButtonProps::*member, T value) {
  props_.*member = std::move(value);
  return Told(vb::FieldOf(member));
}

host::Status vbButton::Told(const vb::Field& field) {
  FollowChange(field.follow);
  PropertyChanged(field.ToldKey());
  return host::kOk;
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
host::Status vbButton::SetBackColor(host::OleColor v) {
  if (!ambient().userMode) props_.backOver = v;
  return Store(&vbButtonProps::backColor, v);
}

host::Status vbButton::SetBackOver(host::OleColor v) { return Store(&vbButtonProps::backOver, v); }

host::Status vbButton::SetForeColor(host::OleColor v) {
  if (!ambient().userMode) props_.foreOver = v;
  return Store(&vbButtonProps::foreColor, v);
}

host::Status vbButton::SetForeOver(host::OleColor v) { return Store(&vbButtonProps::foreOver, v); }
host::Status vbButton::SetMaskColor(host::OleColor v) { return Store(&vbButtonProps::maskColor, v); }
host::Status vbButton::SetSoftBevel(bool v) { return Store(&vbButtonProps::softBevel, v); }
host::Status vbButton::SetColorScheme(std::int32_t v) { return Store(&vbButtonProps::colorScheme, v); }
host::Status vbButton::SetButtonType(std::int32_t v) { return Store(&vbButtonProps::buttonType, v); }

void vbButton::ApplyType() {
  const vb::Face& face = TypeFace();
  if (face.boldAtDesignTime && !ambient().userMode) {
    if (const host::FontRef& f = Font()) {
      host::FontDesc d = f->Desc();
      d.weight = FW_BOLD;
      f->SetDesc(d);
      surface().SetFont(f);
    }
  } else if (face.capturesBackground && drawingAllowed_) {
    CaptureBackground();
  }
  // The type may derive its shades with its own rule.
  DeriveColors();
  HandleResize();
}

host::Status vbButton::SetCaption(std::wstring v) { return Store(&vbButtonProps::caption, std::move(v)); }

bool vbButton::Enabled() const { return surface().Enabled(); }

host::Status vbButton::SetEnabled(bool v) {
  // The window's enabled state is what the drawing reads, so it changes first.
  surface().SetEnabled(v);
  return Told(vb::FieldOf(host::SurfaceHeld::Enabled));
}

const host::FontRef& vbButton::Font() const { return surface().GetFont(); }

host::Status vbButton::SetFont(host::FontRef v) {
  if (host::Status s = surface().SetFont(std::move(v)); !s.ok()) return s;
  return Told(vb::FieldOf(host::SurfaceHeld::Font));
}

host::Status vbButton::SetFontDesc(host::FontDesc desc) {
  // The font's parts are not stored on their own and send no notification.
  const host::FontRef& f = Font();
  if (!f) return host::kInvalidPropertyValue;
  f->SetDesc(std::move(desc));
  surface().SetFont(f);
  ComputeLayout();
  RedrawNormal();
  return host::kOk;
}

namespace {
host::FontDesc DescOf(const host::FontRef& f) { return f ? f->Desc() : host::FontDesc{}; }
}  // namespace

bool vbButton::FontBold() const { return DescOf(Font()).weight >= FW_BOLD; }
bool vbButton::FontItalic() const { return DescOf(Font()).italic; }
bool vbButton::FontUnderline() const { return DescOf(Font()).underline; }
std::int16_t vbButton::FontSize() const { return static_cast<std::int16_t>(DescOf(Font()).size); }
std::wstring vbButton::FontName() const { return DescOf(Font()).name; }

host::Status vbButton::SetFontBold(bool v) {
  host::FontDesc d = DescOf(Font());
  d.weight = v ? FW_BOLD : FW_NORMAL;
  return SetFontDesc(std::move(d));
}

host::Status vbButton::SetFontItalic(bool v) {
  host::FontDesc d = DescOf(Font());
  d.italic = v;
  return SetFontDesc(std::move(d));
}

host::Status vbButton::SetFontUnderline(bool v) {
  host::FontDesc d = DescOf(Font());
  d.underline = v;
  return SetFontDesc(std::move(d));
}

host::Status vbButton::SetFontSize(std::int16_t points) {
  if (points <= 0) return host::kInvalidPropertyValue;
  host::FontDesc d = DescOf(Font());
  d.size = points;
  return SetFontDesc(std::move(d));
}

host::Status vbButton::SetFontName(std::wstring v) {
  if (v.empty()) return host::kInvalidPropertyValue;
  host::FontDesc d = DescOf(Font());
  d.name = std::move(v);
  return SetFontDesc(std::move(d));
}

host::Status vbButton::SetShowFocusRect(bool v) { return Store(&vbButtonProps::showFocusRect, v); }
host::Status vbButton::SetSpecialEffect(std::int32_t v) { return Store(&vbButtonProps::specialEffect, v); }
host::Status vbButton::SetCheckBoxBehaviour(bool v) { return Store(&vbButtonProps::checkBoxBehaviour, v); }
host::Status vbButton::SetValue(bool v) { return Store(&vbButtonProps::value, v); }
host::Status vbButton::SetPictureNormal(host::PictureRef v) {
  return Store(&vbButtonProps::pictureNormal, std::move(v));
}

host::Status vbButton::SetPictureOver(host::PictureRef v) {
  overPixels_.Reset();
  return Store(&vbButtonProps::pictureOver, std::move(v));
}

host::Status vbButton::SetPicturePosition(std::int32_t v) { return Store(&vbButtonProps::picturePosition, v); }
host::Status vbButton::SetUseMaskColor(bool v) { return Store(&vbButtonProps::useMaskColor, v); }
host::Status vbButton::SetUseGreyscale(bool v) { return Store(&vbButtonProps::useGreyscale, v); }

std::int16_t vbButton::MousePointer() const { return surface().MousePointer(); }

host::Status vbButton::SetMousePointer(std::int16_t v) {
  if (host::Status s = surface().SetMousePointer(v); !s.ok()) return s;
  return Told(vb::FieldOf(host::SurfaceHeld::MousePointer));
}

const host::PictureRef& vbButton::MouseIcon() const { return surface().MouseIcon(); }

host::Status vbButton::SetMouseIcon(host::PictureRef v) {
  if (host::Status s = surface().SetMouseIcon(std::move(v)); !s.ok()) return s;
  return Told(vb::FieldOf(host::SurfaceHeld::MouseIcon));
}

host::Status vbButton::SetHandPointer(bool v) { return Store(&vbButtonProps::handPointer, v); }

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

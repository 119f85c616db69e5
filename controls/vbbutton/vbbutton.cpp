// vbButton's property setters: each stores the value, does what the property
// needs (derive the colours, lay out, redraw) and tells the host by its key.
#include "vbbutton/vbbutton.h"

#include "vbbutton/access_key.h"

namespace vantorel::controls {

vbButton* vbButton::Create(const HostPlacement& placement, const PropertyBag* bag) {
  auto* control = new vbButton;
  // On failure CreateHosted has already disposed of the object.
  return control->CreateHosted(placement, bag) ? control : nullptr;
}

vbButton* vbButton::FromHwnd(HWND hwnd) { return dynamic_cast<vbButton*>(HostedControl::FromHwnd(hwnd)); }

Status vbButton::Changed(const wchar_t* key) {
  PropertyChanged(key);
  return kOk;
}

// Every colour setter ends the same way: the derived set follows, then the face.
Status vbButton::ColorsChanged(const wchar_t* key) {
  DeriveColors();
  RedrawLast();
  return Changed(key);
}

Status vbButton::SetBackColor(OleColor v) {
  props_.backColor = v;
  if (!ambient().userMode) props_.backOver = v;
  return ColorsChanged(L"BCOL");
}

Status vbButton::SetBackOver(OleColor v) {
  props_.backOver = v;
  return ColorsChanged(L"BCOLO");
}

Status vbButton::SetForeColor(OleColor v) {
  props_.foreColor = v;
  if (!ambient().userMode) props_.foreOver = v;
  return ColorsChanged(L"FCOL");
}

Status vbButton::SetForeOver(OleColor v) {
  props_.foreOver = v;
  return ColorsChanged(L"FCOLO");
}

Status vbButton::SetMaskColor(OleColor v) {
  props_.maskColor = v;
  return ColorsChanged(L"MCOL");
}

Status vbButton::SetSoftBevel(bool v) {
  props_.softBevel = v;
  return ColorsChanged(L"SOFT");
}

Status vbButton::SetColorScheme(std::int32_t v) {
  props_.colorScheme = v;
  DeriveColors();
  RedrawNormal();
  return Changed(L"COLTYPE");
}

Status vbButton::SetButtonType(std::int32_t v) {
  props_.buttonType = v;
  if (v == 5 && !ambient().userMode) {
    if (const FontRef& f = Font()) {
      FontDesc d = f->Desc();
      d.weight = FW_BOLD;
      f->SetDesc(d);
      surface().SetFont(f);
    }
  } else if (v == 11 && drawingAllowed_) {
    CaptureBackground();
  }
  // The raised face of type 3 is derived with its own rule.
  DeriveColors();
  HandleResize();
  return Changed(L"BTYPE");
}

Status vbButton::SetCaption(std::wstring v) {
  props_.caption = std::move(v);
  UpdateAccessKey();
  ApplyWindowText();
  ComputeLayout();
  RedrawNormal();
  return Changed(L"TX");
}

bool vbButton::Enabled() const { return surface().Enabled(); }

Status vbButton::SetEnabled(bool v) {
  // The window's enabled state is what the drawing reads, so it changes first.
  surface().SetEnabled(v);
  RedrawNormal();
  return Changed(L"ENAB");
}

const FontRef& vbButton::Font() const { return surface().GetFont(); }

Status vbButton::SetFont(FontRef v) {
  if (Status s = surface().SetFont(std::move(v)); !s.ok()) return s;
  ComputeLayout();
  RedrawNormal();
  return Changed(L"FONT");
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

Status vbButton::SetShowFocusRect(bool v) {
  props_.showFocusRect = v;
  RedrawLast();
  return Changed(L"FOCUSR");
}

Status vbButton::SetSpecialEffect(std::int32_t v) {
  props_.specialEffect = v;
  RedrawLast();
  return Changed(L"FX");
}

Status vbButton::SetCheckBoxBehaviour(bool v) {
  props_.checkBoxBehaviour = v;
  RedrawLast();
  return Changed(L"CHECK");
}

Status vbButton::SetValue(bool v) {
  props_.value = v;
  if (props_.checkBoxBehaviour) RedrawNormal();
  return Changed(L"VALUE");
}

Status vbButton::SetPictureNormal(PictureRef v) {
  props_.pictureNormal = std::move(v);
  normalPixels_.Reset();
  ComputePictureSize();
  ComputeLayout();
  RedrawLast();
  return Changed(L"PICN");
}

Status vbButton::SetPictureOver(PictureRef v) {
  props_.pictureOver = std::move(v);
  overPixels_.Reset();
  if (hot_) RedrawLast();
  // Named so although the key stored is PICH: hosts have always been told this.
  return Changed(L"PICO");
}

Status vbButton::SetPicturePosition(std::int32_t v) {
  props_.picturePosition = v;
  ComputeLayout();
  RedrawLast();
  return Changed(L"PICPOS");
}

Status vbButton::SetUseMaskColor(bool v) {
  props_.useMaskColor = v;
  if (props_.pictureNormal) RedrawLast();
  return Changed(L"UMCOL");
}

Status vbButton::SetUseGreyscale(bool v) {
  props_.useGreyscale = v;
  if (props_.pictureNormal) RedrawLast();
  return Changed(L"NGREY");
}

std::int16_t vbButton::MousePointer() const { return surface().MousePointer(); }

Status vbButton::SetMousePointer(std::int16_t v) {
  if (Status s = surface().SetMousePointer(v); !s.ok()) return s;
  return Changed(L"MPTR");
}

const PictureRef& vbButton::MouseIcon() const { return surface().MouseIcon(); }

Status vbButton::SetMouseIcon(PictureRef v) {
  if (Status s = surface().SetMouseIcon(std::move(v)); !s.ok()) return s;
  return Changed(L"MICON");
}

Status vbButton::SetHandPointer(bool v) {
  props_.handPointer = v;
  // The hand itself is shown by the cursor request (PointerCursor); the pointer
  // kind says a custom pointer is in use.
  surface().SetMouseIcon(nullptr);
  surface().SetMousePointer(v ? 99 : 1);
  return Changed(L"HAND");
}

void vbButton::UpdateAccessKey() {
  accessKey_ = vb::AccessKeyOf(props_.caption);
  SetAccessKeys(accessKey_ ? std::wstring(1, accessKey_) : std::wstring());
}

void vbButton::ApplyWindowText() {
  // The window text is the caption with its ampersands, so screen readers and
  // automation find the button by its name and its access key.
  if (Hwnd()) SetWindowTextW(Hwnd(), props_.caption.c_str());
}

}  // namespace vantorel::controls

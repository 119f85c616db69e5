#include "button/button_fields.h"

#include <iterator>

namespace vantorel::controls {

namespace {

using P = ButtonProps;

const ButtonField kFields[] = {
    {L"ButtonShape", &P::buttonShape},
    {L"ButtonStyle", &P::buttonStyle},
    {L"ButtonStyleColors", &P::buttonStyleColors},
    {L"ButtonTheme", &P::buttonTheme},
    {L"ButtonType", &P::buttonType},
    {L"CaptionAlignment", &P::captionAlignment},
    {L"CaptionEffect", &P::captionEffect},
    {L"CaptionStyle", &P::captionStyle},
    {L"DropDown", &P::dropDown},
    {L"PictureAlignment", &P::pictureAlignment},
    {L"BackColor", &P::backColor},
    {L"BackColorPressed", &P::backColorPressed},
    {L"BackColorHover", &P::backColorHover},
    {L"BorderColor", &P::borderColor},
    {L"BorderColorPressed", &P::borderColorPressed},
    {L"BorderColorHover", &P::borderColorHover},
    {L"ForeColor", &P::foreColor},
    {L"ForeColorPressed", &P::foreColorPressed},
    {L"ForeColorHover", &P::foreColorHover},
    {L"EffectColor", &P::effectColor},
    {L"Caption", &P::caption},
    {L"FocusRect", &P::focusRect},
    {L"Value", &P::value},
    {L"HandPointer", &P::handPointer},
    {L"Picture", &P::picture},
    {L"PictureGray", &P::pictureGray},
};

// How each kind of member goes in and out of a bag.
struct Reader {
  const host::PropertyBag& bag;
  const wchar_t* key;
  ButtonProps& to;
  const ButtonProps& d;
  void operator()(std::int32_t P::*m) const { to.*m = bag.ReadInt32(key, d.*m); }
  void operator()(host::OleColor P::*m) const { to.*m = bag.ReadColor(key, d.*m); }
  void operator()(bool P::*m) const { to.*m = bag.ReadBool(key, d.*m); }
  void operator()(std::wstring P::*m) const { to.*m = bag.ReadText(key, d.*m); }
  void operator()(host::PictureRef P::*m) const { to.*m = bag.ReadPicture(key, d.*m); }
};

struct Writer {
  host::PropertyBag& bag;
  const wchar_t* key;
  const ButtonProps& from;
  const ButtonProps& d;
  void operator()(host::OleColor P::*m) const { bag.WriteColor(key, from.*m, d.*m); }
  template <class T>
  void operator()(T P::*m) const {
    bag.Write(key, from.*m, d.*m);
  }
};

}  // namespace

std::span<const ButtonField> ButtonFields() { return kFields; }

void ReadButtonFields(const host::PropertyBag& bag, ButtonProps& props) {
  const ButtonProps d;
  for (const ButtonField& f : kFields) std::visit(Reader{bag, f.key, props, d}, f.member);
}

void WriteButtonFields(const ButtonProps& props, host::PropertyBag& bag) {
  const ButtonProps d;
  for (const ButtonField& f : kFields) std::visit(Writer{bag, f.key, props, d}, f.member);
}

}  // namespace vantorel::controls

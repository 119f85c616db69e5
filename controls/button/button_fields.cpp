#include "button/button_fields.h"

namespace vantorel::controls {

namespace {

using P = ButtonProps;
using host::SurfaceHeld;

const ButtonFieldTable::Row kFields[] = {
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
    {L"Enabled", SurfaceHeld::Enabled},
    {L"Font", SurfaceHeld::Font},
    {L"MouseIcon", SurfaceHeld::MouseIcon},
    {L"MousePointer", SurfaceHeld::MousePointer},
};

const ButtonFieldTable kTable{kFields};

}  // namespace

const ButtonFieldTable& ButtonFields() { return kTable; }

const wchar_t* ButtonKeyOf(const host::FieldMember<ButtonProps>& member) {
  const ButtonFieldTable::Row* f = kTable.Find(member);
  return f ? f->key : L"";
}

}  // namespace vantorel::controls

#include "vbbutton/vbbutton_fields.h"

#include <windows.h>

namespace vantorel::controls::vb {

namespace {

using P = vbButtonProps;
using enum Follow;
using host::SurfaceHeld;

// The fallbacks of the colours: the system's button face and text as the RGB
// values they have now, and the hover twins in the colour read just before.
host::OleColor SystemFace(const P&) { return GetSysColor(COLOR_BTNFACE); }
host::OleColor SystemText(const P&) { return GetSysColor(COLOR_BTNTEXT); }
host::OleColor ReadBackColor(const P& read) { return read.backColor; }
host::OleColor ReadForeColor(const P& read) { return read.foreColor; }

const Field kFields[] = {
    {L"BTYPE", &P::buttonType, Type},
    {L"TX", &P::caption, Caption},
    {L"ENAB", SurfaceHeld::Enabled, RedrawNormal},
    {L"FONT", SurfaceHeld::Font, FontLayout},
    {L"COLTYPE", &P::colorScheme, Scheme},
    {L"FOCUSR", &P::showFocusRect, Redraw},
    {L"BCOL", &P::backColor, Colours, SystemFace},
    {L"BCOLO", &P::backOver, Colours, ReadBackColor},
    {L"FCOL", &P::foreColor, Colours, SystemText},
    {L"FCOLO", &P::foreOver, Colours, ReadForeColor},
    {L"MCOL", &P::maskColor, Colours},
    {L"MPTR", SurfaceHeld::MousePointer, Nothing},
    {L"MICON", SurfaceHeld::MouseIcon, Nothing},
    {L"PICN", &P::pictureNormal, Picture},
    // Told as PICO although stored as PICH: hosts have always been told this.
    {L"PICH", &P::pictureOver, RedrawHot, nullptr, L"PICO"},
    {L"UMCOL", &P::useMaskColor, RedrawPicture},
    {L"SOFT", &P::softBevel, Colours},
    {L"PICPOS", &P::picturePosition, Layout},
    {L"NGREY", &P::useGreyscale, RedrawPicture},
    {L"FX", &P::specialEffect, Redraw},
    {L"HAND", &P::handPointer, Pointer},
    {L"CHECK", &P::checkBoxBehaviour, Redraw},
    {L"VALUE", &P::value, RedrawChecked},
};

const FieldTable kTable{kFields};

}  // namespace

const FieldTable& Fields() { return kTable; }

const Field& FieldOf(const host::FieldMember<vbButtonProps>& member) {
  if (const Field* f = kTable.Find(member)) return *f;
  // Every member and surface value has its field (the setters' test names each
  // key); one missing from the table would be told as nothing and change nothing.
  static const Field kNone{L"", host::FieldMember<vbButtonProps>{}, Nothing};
  return kNone;
}

}  // namespace vantorel::controls::vb

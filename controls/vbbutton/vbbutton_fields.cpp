#include "vbbutton/vbbutton_fields.h"

#include <windows.h>

namespace vantorel::controls::vb {

namespace {

using P = vbButtonProps;
using enum Fallback;
using enum Follow;

const Field kFields[] = {
    {L"BTYPE", &P::buttonType, Default, Type, nullptr},
    {L"TX", &P::caption, Default, Caption, nullptr},
    {L"ENAB", SurfaceHeld::Enabled, Default, RedrawNormal, nullptr},
    {L"FONT", SurfaceHeld::Font, Default, FontLayout, nullptr},
    {L"COLTYPE", &P::colorScheme, Default, Scheme, nullptr},
    {L"FOCUSR", &P::showFocusRect, Default, Redraw, nullptr},
    {L"BCOL", &P::backColor, SystemFace, Colours, nullptr},
    {L"BCOLO", &P::backOver, BackColor, Colours, nullptr},
    {L"FCOL", &P::foreColor, SystemText, Colours, nullptr},
    {L"FCOLO", &P::foreOver, ForeColor, Colours, nullptr},
    {L"MCOL", &P::maskColor, Default, Colours, nullptr},
    {L"MPTR", SurfaceHeld::MousePointer, Default, Nothing, nullptr},
    {L"MICON", SurfaceHeld::MouseIcon, Default, Nothing, nullptr},
    {L"PICN", &P::pictureNormal, Default, Picture, nullptr},
    // Told as PICO although stored as PICH: hosts have always been told this.
    {L"PICH", &P::pictureOver, Default, RedrawHot, L"PICO"},
    {L"UMCOL", &P::useMaskColor, Default, RedrawPicture, nullptr},
    {L"SOFT", &P::softBevel, Default, Colours, nullptr},
    {L"PICPOS", &P::picturePosition, Default, Layout, nullptr},
    {L"NGREY", &P::useGreyscale, Default, RedrawPicture, nullptr},
    {L"FX", &P::specialEffect, Default, Redraw, nullptr},
    {L"HAND", &P::handPointer, Default, Pointer, nullptr},
    {L"CHECK", &P::checkBoxBehaviour, Default, Redraw, nullptr},
    {L"VALUE", &P::value, Default, RedrawChecked, nullptr},
};

host::OleColor ColourFallback(const Field& f, const P& read, const P& d) {
  switch (f.fallback) {
    case SystemFace: return GetSysColor(COLOR_BTNFACE);
    case SystemText: return GetSysColor(COLOR_BTNTEXT);
    case BackColor: return read.backColor;
    case ForeColor: return read.foreColor;
    case Default: break;
  }
  return d.*std::get<host::OleColor P::*>(f.member);
}

// How each kind of member comes out of a bag.
struct Reader {
  const host::PropertyBag& bag;
  const Field& f;
  P& to;
  SurfaceValues& surface;
  const P& d;
  void operator()(std::int32_t P::*m) const { to.*m = bag.ReadInt32(f.key, d.*m); }
  void operator()(host::OleColor P::*m) const { to.*m = bag.ReadColor(f.key, ColourFallback(f, to, d)); }
  void operator()(bool P::*m) const { to.*m = bag.ReadBool(f.key, d.*m); }
  void operator()(std::wstring P::*m) const { to.*m = bag.ReadText(f.key, d.*m); }
  void operator()(host::PictureRef P::*m) const { to.*m = bag.ReadPicture(f.key, d.*m); }
  void operator()(SurfaceHeld held) const {
    const SurfaceValues sd;
    switch (held) {
      case SurfaceHeld::Enabled: surface.enabled = bag.ReadBool(f.key, sd.enabled); break;
      case SurfaceHeld::Font: surface.font = bag.ReadFont(f.key, surface.font); break;
      case SurfaceHeld::MousePointer: surface.mousePointer = bag.ReadInt16(f.key, sd.mousePointer); break;
      case SurfaceHeld::MouseIcon: surface.mouseIcon = bag.ReadPicture(f.key, sd.mouseIcon); break;
    }
  }
};

// And into one: every key, defaults included.
struct Writer {
  host::PropertyBag& bag;
  const wchar_t* key;
  const P& from;
  const SurfaceValues& surface;
  void operator()(host::OleColor P::*m) const { bag.WriteColor(key, from.*m); }
  template <class T>
  void operator()(T P::*m) const {
    bag.Write(key, from.*m);
  }
  void operator()(SurfaceHeld held) const {
    switch (held) {
      case SurfaceHeld::Enabled: bag.Write(key, surface.enabled); break;
      case SurfaceHeld::Font: bag.Write(key, surface.font); break;
      case SurfaceHeld::MousePointer: bag.Write(key, surface.mousePointer); break;
      case SurfaceHeld::MouseIcon: bag.Write(key, surface.mouseIcon); break;
    }
  }
};

}  // namespace

std::span<const Field> Fields() { return kFields; }

const Field& FieldOf(const Member& member) {
  for (const Field& f : kFields)
    if (f.member == member) return f;
  // Every member and surface value has its field (the setters' test names each
  // key); one missing from the table would be told as nothing and change nothing.
  static const Field kNone{L"", Member{}, Default, Nothing, nullptr};
  return kNone;
}

void ReadFields(const host::PropertyBag& bag, vbButtonProps& props, SurfaceValues& surface) {
  const P d;
  for (const Field& f : kFields) std::visit(Reader{bag, f, props, surface, d}, f.member);
}

void WriteFields(const vbButtonProps& props, const SurfaceValues& surface, host::PropertyBag& bag) {
  for (const Field& f : kFields) std::visit(Writer{bag, f.key, props, surface}, f.member);
}

}  // namespace vantorel::controls::vb

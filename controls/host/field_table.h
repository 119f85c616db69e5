#pragma once

// A control's stored properties as a table: each field is declared once, with
// its key and where its value lives, and one routine reads and writes them all.
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "host/color.h"
#include "host/font.h"
#include "host/picture.h"
#include "host/property_bag.h"

namespace vantorel::host {

// A stored property that the surface holds rather than the control's own set.
enum class SurfaceHeld { Enabled, Font, MousePointer, MouseIcon };

// The values the surface holds, as read from a bag or to be written to one.
struct SurfaceValues {
  bool enabled = true;
  FontDesc font;
  std::int16_t mousePointer = 0;
  PictureRef mouseIcon;
};

// Where a field's value lives: a member of the control's property set, whose
// type says how it is stored (a colour as the bits of an OLE colour, a whole
// number, a flag, a text, a picture), or the surface.
template <class Props>
using FieldMember = std::variant<std::int32_t Props::*, OleColor Props::*, bool Props::*, std::wstring Props::*,
                                 PictureRef Props::*, SurfaceHeld>;

// For a control whose table says nothing of what follows a change.
struct NoFollow {};

template <class Props, class Follow = NoFollow>
struct Field {
  const wchar_t* key;
  FieldMember<Props> member;
  Follow follow{};  // what the control does after a change, where its table says
  // A colour missing from a bag, or unreadable, made from the fields read
  // before it; null for the member's default.
  OleColor (*colourFallback)(const Props& read) = nullptr;
  const wchar_t* toldAs = nullptr;  // the key the host is told of a change, where it is not the stored one

  const wchar_t* ToldKey() const { return toldAs ? toldAs : key; }
};

// One value the surface holds, from a bag (keeping the one in values when the
// bag has none) and into one (left out where defaults are given and it equals
// its default): the table's routines below use them.
void ReadSurfaceHeld(const PropertyBag& bag, const wchar_t* key, SurfaceHeld held, SurfaceValues& values);
void WriteSurfaceHeld(PropertyBag& bag, const wchar_t* key, SurfaceHeld held, const SurfaceValues& values,
                      const SurfaceValues* defaults);

// The fields of one kind of control, in the order they are saved and loaded.
// The default of a member is its value in a default-constructed Props.
template <class Props, class Follow = NoFollow>
class FieldTable {
 public:
  using Row = Field<Props, Follow>;

  constexpr explicit FieldTable(std::span<const Row> rows) : rows_(rows) {}

  std::span<const Row> Rows() const { return rows_; }

  // The field of a member or of a value the surface holds, or null.
  const Row* Find(const FieldMember<Props>& member) const {
    for (const Row& f : rows_)
      if (f.member == member) return &f;
    return nullptr;
  }

  // Every field from the bag. A missing or unreadable value takes its default:
  // for a member its default or colour fallback, for the surface the value
  // surface holds when called.
  void Read(const PropertyBag& bag, Props& props, SurfaceValues& surface) const {
    const Props d{};
    for (const Row& f : rows_) {
      std::visit(Overloaded{
                     [&](OleColor Props::*m) {
                       props.*m = bag.ReadColor(f.key, f.colourFallback ? f.colourFallback(props) : d.*m);
                     },
                     [&](std::int32_t Props::*m) { props.*m = bag.ReadInt32(f.key, d.*m); },
                     [&](bool Props::*m) { props.*m = bag.ReadBool(f.key, d.*m); },
                     [&](std::wstring Props::*m) { props.*m = bag.ReadText(f.key, d.*m); },
                     [&](PictureRef Props::*m) { props.*m = bag.ReadPicture(f.key, d.*m); },
                     [&](SurfaceHeld held) { ReadSurfaceHeld(bag, f.key, held, surface); },
                 },
                 f.member);
    }
  }

  // Every field into the bag, defaults included.
  void Write(const Props& props, const SurfaceValues& surface, PropertyBag& bag) const {
    WriteRows(props, surface, nullptr, nullptr, bag);
  }

  // Only the fields whose values differ from their defaults (the surface's
  // given here); an entry of the key of a default value is removed.
  void WriteChanged(const Props& props, const SurfaceValues& surface, const SurfaceValues& surfaceDefaults,
                    PropertyBag& bag) const {
    const Props d{};
    WriteRows(props, surface, &d, &surfaceDefaults, bag);
  }

 private:
  template <class... Visitors>
  struct Overloaded : Visitors... {
    using Visitors::operator()...;
  };

  void WriteRows(const Props& props, const SurfaceValues& surface, const Props* d, const SurfaceValues* surfaceD,
                 PropertyBag& bag) const {
    for (const Row& f : rows_) {
      std::visit(Overloaded{
                     [&](OleColor Props::*m) {
                       d ? bag.WriteColor(f.key, props.*m, d->*m) : bag.WriteColor(f.key, props.*m);
                     },
                     [&](SurfaceHeld held) { WriteSurfaceHeld(bag, f.key, held, surface, surfaceD); },
                     [&](auto m) { d ? bag.Write(f.key, props.*m, d->*m) : bag.Write(f.key, props.*m); },
                 },
                 f.member);
    }
  }

  std::span<const Row> rows_;
};

}  // namespace vantorel::host

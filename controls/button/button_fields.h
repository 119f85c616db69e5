#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "button/button_props.h"
#include "host/property_bag.h"

namespace vantorel::controls {

// Each stored property of a Button, declared once: its key and its member. The
// member's type says how it is read and written (a colour as an OLE colour, a
// whole number, a flag, a text, a picture); the default is the member's value
// in a default-constructed ButtonProps. Loading, saving and the setters'
// notification all take the key from here, in this order.
using ButtonMember = std::variant<std::int32_t ButtonProps::*, host::OleColor ButtonProps::*, bool ButtonProps::*,
                                  std::wstring ButtonProps::*, host::PictureRef ButtonProps::*>;

struct ButtonField {
  const wchar_t* key;
  ButtonMember member;
};

std::span<const ButtonField> ButtonFields();

// The key of a member, as the table names it.
template <class T>
const wchar_t* ButtonKeyOf(T ButtonProps::*member) {
  for (const ButtonField& f : ButtonFields())
    if (const auto* m = std::get_if<T ButtonProps::*>(&f.member); m && *m == member) return f.key;
  return L"";
}

// Every field of the table from the bag into the properties, each missing or
// unreadable value taking its default; and the other way.
void ReadButtonFields(const host::PropertyBag& bag, ButtonProps& props);
void WriteButtonFields(const ButtonProps& props, host::PropertyBag& bag);

}  // namespace vantorel::controls

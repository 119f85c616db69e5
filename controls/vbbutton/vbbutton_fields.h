#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "host/font.h"
#include "host/property_bag.h"
#include "vbbutton/vbbutton_props.h"

namespace vantorel::controls::vb {

// A property that the surface holds rather than vbButtonProps.
enum class SurfaceHeld { Enabled, Font, MousePointer, MouseIcon };

using Member = std::variant<std::int32_t vbButtonProps::*, host::OleColor vbButtonProps::*, bool vbButtonProps::*,
                            std::wstring vbButtonProps::*, host::PictureRef vbButtonProps::*, SurfaceHeld>;

// What a value missing from a bag, or unreadable, falls back to.
enum class Fallback {
  Default,     // the member's value in a default-constructed vbButtonProps
  SystemFace,  // the system's button face, as the RGB value it has now
  SystemText,  // the system's button text, likewise
  BackColor,   // the back colour read just before: a colour without its hover
  ForeColor,   // twin hovers in the same colour
};

// What follows a change made through a setter, once the value is stored.
enum class Follow {
  Nothing,
  Redraw,         // in the last look
  RedrawNormal,   // in the normal look
  RedrawChecked,  // in the normal look, in check-box mode only
  RedrawPicture,  // in the last look, when there is a picture the change shows in
  RedrawHot,      // in the last look, while hot
  Colours,        // the colour set derived again, redrawn in the last look
  Scheme,         // the colour set derived again, redrawn in the normal look
  Layout,         // laid out again, redrawn in the last look
  FontLayout,     // laid out again, redrawn in the normal look
  Picture,        // the picture measured and laid out again, redrawn in the last look
  Caption,        // access key, window text and layout, redrawn in the normal look
  Type,           // the type's own steps: its font, background, colours, shape and size
  Pointer,        // the hand pointer or the standard arrow
};

// Each stored property of a vbButton, declared once, in the order it is saved and
// loaded: its key, where its value lives, its fallback and what follows a change.
struct Field {
  const wchar_t* key;
  Member member;
  Fallback fallback;
  Follow follow;
  const wchar_t* toldAs;  // the key the host is told, where it is not the stored one
};

std::span<const Field> Fields();

// The field of a member or of a value the surface holds.
const Field& FieldOf(const Member& member);
// The key the host is told of a change of that field.
inline const wchar_t* ToldKey(const Field& f) { return f.toldAs ? f.toldAs : f.key; }

// The values of the table the surface holds, as read from or written to a bag.
struct SurfaceValues {
  bool enabled = true;
  host::FontDesc font;
  std::int16_t mousePointer = 0;
  host::PictureRef mouseIcon;
};

// Every field from the bag: into props and surface, each missing or unreadable
// value taking its fallback (the font's is the one surface holds when called).
void ReadFields(const host::PropertyBag& bag, vbButtonProps& props, SurfaceValues& surface);
// Every field into the bag, defaults included.
void WriteFields(const vbButtonProps& props, const SurfaceValues& surface, host::PropertyBag& bag);

}  // namespace vantorel::controls::vb

#pragma once

#include "host/field_table.h"
#include "vbbutton/vbbutton_props.h"

namespace vantorel::controls::vb {

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

// Each stored property of a vbButton, declared once, in the order it is saved
// and loaded: its key, where its value lives, what follows a change and, for a
// colour, what it falls back to. Every key is saved, defaults included.
using FieldTable = host::FieldTable<vbButtonProps, Follow>;
using Field = FieldTable::Row;
const FieldTable& Fields();

// The field of a member or of a value the surface holds.
const Field& FieldOf(const host::FieldMember<vbButtonProps>& member);

}  // namespace vantorel::controls::vb

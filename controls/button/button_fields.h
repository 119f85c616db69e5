#pragma once

#include "button/button_props.h"
#include "host/field_table.h"

namespace vantorel::controls {

// Each stored property of a Button, declared once: its key and where its value
// lives, in ButtonProps or on the surface. Loading, saving and the setters'
// notification all take the key from here, in this order; a value equal to its
// default is not saved.
using ButtonFieldTable = host::FieldTable<ButtonProps>;
const ButtonFieldTable& ButtonFields();

// The key of a member or of a value the surface holds, as the table names it.
const wchar_t* ButtonKeyOf(const host::FieldMember<ButtonProps>& member);

}  // namespace vantorel::controls

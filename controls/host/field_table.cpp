#include "host/field_table.h"

namespace vantorel::host {

void ReadSurfaceHeld(const PropertyBag& bag, const wchar_t* key, SurfaceHeld held, SurfaceValues& values) {
  switch (held) {
    case SurfaceHeld::Enabled: values.enabled = bag.ReadBool(key, values.enabled); break;
    case SurfaceHeld::Font: values.font = bag.ReadFont(key, values.font); break;
    case SurfaceHeld::MousePointer: values.mousePointer = bag.ReadInt16(key, values.mousePointer); break;
    case SurfaceHeld::MouseIcon: values.mouseIcon = bag.ReadPicture(key, values.mouseIcon); break;
  }
}

namespace {

PropertyValue ValueOf(SurfaceHeld held, const SurfaceValues& values) {
  switch (held) {
    case SurfaceHeld::Enabled: return values.enabled;
    case SurfaceHeld::Font: return values.font;
    case SurfaceHeld::MousePointer: return values.mousePointer;
    case SurfaceHeld::MouseIcon: break;
  }
  return values.mouseIcon;
}

}  // namespace

void WriteSurfaceHeld(PropertyBag& bag, const wchar_t* key, SurfaceHeld held, const SurfaceValues& values,
                      const SurfaceValues* defaults) {
  if (defaults)
    bag.Write(key, ValueOf(held, values), ValueOf(held, *defaults));
  else
    bag.Write(key, ValueOf(held, values));
}

}  // namespace vantorel::host

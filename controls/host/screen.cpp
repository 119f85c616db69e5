#include "host/screen.h"

#include "host/gdi_guards.h"

namespace vantorel::host {

POINT ScreenPixelsPerInch() {
  WindowDc screen;
  POINT ppi{GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
  if (ppi.x <= 0) ppi.x = 96;
  if (ppi.y <= 0) ppi.y = 96;
  return ppi;
}

}  // namespace vantorel::host

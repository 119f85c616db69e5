#include "host/color.h"

namespace vantorel::host {

namespace {
// The highest index GetSysColor answers for; beyond it the platform's own
// translation reports an invalid argument.
constexpr OleColor kLastSystemIndex = COLOR_MENUBAR;
}  // namespace

bool TranslateColor(OleColor c, COLORREF* out) {
  if (!IsSystemColor(c)) {
    *out = c & 0x00FFFFFFu;
    return true;
  }
  OleColor index = c & ~kSystemColorFlag;
  if (index > kLastSystemIndex) return false;
  *out = GetSysColor(static_cast<int>(index));
  return true;
}

COLORREF ResolveColor(OleColor c) {
  COLORREF out = c & 0x00FFFFFFu;
  TranslateColor(c, &out);
  return out;
}

Rgb SplitColor(OleColor c) {
  OleColor v = c;
  COLORREF translated = 0;
  if (TranslateColor(c, &translated)) v = translated;
  return Rgb{static_cast<int>(v & 0xFF), static_cast<int>((v & 0xFF00) / 256),
             static_cast<int>((v & 0xFF0000) / 65536)};
}

}  // namespace vantorel::host

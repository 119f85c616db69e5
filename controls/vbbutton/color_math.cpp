#include "vbbutton/color_math.h"

#include <cmath>

namespace vantorel::controls::vb {

namespace {

int Red(Rgb24 c) { return static_cast<int>(c & 0xFF); }
int Green(Rgb24 c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(Rgb24 c) { return static_cast<int>((c >> 16) & 0xFF); }

int Clamp(int v, int delta) {
  if (delta > 0 && v > 255) return 255;
  if (delta < 0 && v < 0) return 0;
  return v;
}

Rgb24 Pack(int r, int g, int b) {
  return static_cast<Rgb24>(r) | (static_cast<Rgb24>(g) << 8) | (static_cast<Rgb24>(b) << 16);
}

}  // namespace

Rgb24 Shift(Rgb24 colour, int delta, bool soft, bool blueProportional) {
  if (soft) delta /= 2;
  int b = Blue(colour);
  int blue = blueProportional ? b + delta * b / 192 : b + delta;
  return Pack(Clamp(Red(colour) + delta, delta), Clamp(Green(colour) + delta, delta), Clamp(blue, delta));
}

Rgb24 Lighten(Rgb24 colour, int amount) {
  auto channel = [amount](int v) {
    int out = amount + (255 - amount) * v / 255;
    return out > 255 ? 255 : out;
  };
  return Pack(channel(Red(colour)), channel(Green(colour)), channel(Blue(colour)));
}

ColorSet DeriveColors(const SchemeSource& s) {
  ColorSet c;
  auto shades = [&c, &s] {
    c.light = Shift(c.face, 31, s.soft);
    c.highlight = Shift(c.face, 47, s.soft);
    c.shadow = Shift(c.face, -64, s.soft);
    c.darkShadow = Shift(c.face, -192, s.soft);
  };
  switch (s.scheme) {
    case 2:
      c.face = s.backColor;
      c.hotFace = s.backOver;
      c.text = s.foreColor;
      c.hotText = s.foreOver;
      shades();
      c.selection = Shift(c.face, -128, s.soft);
      c.selectionLight = c.face;
      break;
    case 3:
      c.face = c.hotFace = 0x00C0C0C0;
      c.text = c.hotText = 0;
      c.light = 0x00DFDFDF;
      c.highlight = 0x00FFFFFF;
      c.shadow = 0x00808080;
      c.darkShadow = 0;
      c.selection = 0x00800000;
      c.selectionLight = 0x00D1ADAD;
      break;
    case 4:
      c.face = c.hotFace = s.parentBack;
      c.text = c.hotText = s.parentText;
      shades();
      c.selection = s.sysSelection;
      c.selectionLight = Lighten(s.sysSelection, 176);
      break;
    default:
      c.face = c.hotFace = s.sysFace;
      c.text = c.hotText = s.sysText;
      c.light = s.sysLight;
      c.highlight = s.sysHighlight;
      c.shadow = s.sysShadow;
      c.darkShadow = s.sysDarkShadow;
      c.selection = s.sysSelection;
      c.selectionLight = Lighten(s.sysSelection, 176);
      break;
  }
  c.mask = s.mask;
  c.raisedFace = Shift(c.face, 48, s.soft, s.blueShades);
  return c;
}

int GradientOffset(int span, int height, int row) {
  // Stored through volatile so the x87 unit cannot keep more precision than a
  // single-precision number has: the rounding of the product depends on it.
  volatile float step = static_cast<float>(span) / static_cast<float>(height);
  volatile float product = -step * static_cast<float>(row);
  return static_cast<int>(std::nearbyint(static_cast<float>(product)));
}

}  // namespace vantorel::controls::vb

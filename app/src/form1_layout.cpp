#include "form1_layout.h"

#include "host/units.h"

namespace vantorel::app {
namespace {

int Divide_Round_Even(long long n, long long d) {
  long long q = n / d, r = n % d;
  if (r * 2 > d || (r * 2 == d && (q & 1))) ++q;
  return static_cast<int>(q);
}

}  // namespace

const ControlLayout& Layout_Of(Form1Control id) {
  for (const ControlLayout& c : kForm1Controls) {
    if (c.id == id) return c;
  }
  return kForm1Controls.front();
}

int Twips_To_Pixels(int twips, int pixels_per_inch) {
  // The controls' own conversion and rounding: the host places a themed button
  // from the same twips at the same pixels as this places the others.
  return controls::RoundLength(controls::TwipsToPixels(twips, pixels_per_inch));
}

int Font_Height(const FontChoice& font, int pixels_per_inch) {
  return -Divide_Round_Even(static_cast<long long>(font.hundredths_of_points) * pixels_per_inch, 7200);
}

HFONT Create_Font(const FontChoice& font, int pixels_per_inch) {
  return CreateFontW(Font_Height(font, pixels_per_inch), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.name);
}

RECT Pixel_Rect(const ControlLayout& control, POINT pixels_per_inch) {
  int left = Twips_To_Pixels(control.left, pixels_per_inch.x);
  int top = Twips_To_Pixels(control.top, pixels_per_inch.y);
  return {left, top, left + Twips_To_Pixels(control.width, pixels_per_inch.x),
          top + Twips_To_Pixels(control.height, pixels_per_inch.y)};
}

}  // namespace vantorel::app

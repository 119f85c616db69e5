#include "form1_layout.h"

#include "host/units.h"

namespace vantorel::app {
namespace {

int DivideRoundEven(long long n, long long d) {
  long long q = n / d, r = n % d;
  if (r * 2 > d || (r * 2 == d && (q & 1))) ++q;
  return static_cast<int>(q);
}

}  // namespace

const ControlLayout& LayoutOf(Form1Control id) {
  for (const ControlLayout& c : kForm1Controls) {
    if (c.id == id) return c;
  }
  return kForm1Controls.front();
}

int TwipsToWholePixels(int twips, int pixels_per_inch) {
  // The controls' own conversion and rounding: the host places a themed button
  // from the same twips at the same pixels as this places the others.
  return host::RoundLength(host::TwipsToPixels(twips, pixels_per_inch));
}

int FontHeight(const FontChoice& font, int pixels_per_inch) {
  return -DivideRoundEven(static_cast<long long>(font.hundredths_of_points) * pixels_per_inch, 7200);
}

HFONT CreateChosenFont(const FontChoice& font, int pixels_per_inch) {
  return CreateFontW(FontHeight(font, pixels_per_inch), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.name);
}

RECT PixelRect(const ControlLayout& control, POINT pixels_per_inch) {
  int left = TwipsToWholePixels(control.left, pixels_per_inch.x);
  int top = TwipsToWholePixels(control.top, pixels_per_inch.y);
  return {left, top, left + TwipsToWholePixels(control.width, pixels_per_inch.x),
          top + TwipsToWholePixels(control.height, pixels_per_inch.y)};
}

}  // namespace vantorel::app

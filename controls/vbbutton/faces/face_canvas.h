#pragma once

#include <windows.h>

#include <string_view>

#include "host/gdi_guards.h"
#include "vbbutton/color_math.h"
#include "vbbutton/faces/face.h"
#include "vbbutton/layout.h"

namespace vantorel::controls::vb {

// What the control tells a face about itself, read once per drawing.
struct FaceInput {
  int w = 0;
  int h = 0;
  bool hot = false;
  bool focused = false;
  bool isDefault = false;
  bool showFocusRect = true;
  bool soft = false;
  int scheme = 1;
  int specialEffect = 0;
  bool blueShades = false;  // the type's: every shade moves blue in proportion
  EffectBase captionEffect = EffectBase::Face;
  int lastLook = 0;
  std::wstring_view caption;
  Layout layout;
  Box focus;
  HDC background = nullptr;  // type 11: the captured background, the control's size
  // The caption style of the look drawn, from the face table (never
  // kCaptionByHover): what Caption() draws.
  int captionStyle = kCaptionNone;
  // Type 14 draws its caption in bold while default: the bold font and where the
  // caption goes in it, laid out before drawing starts; no font otherwise.
  HFONT boldFont = nullptr;
  Layout boldLayout;
};

// The primitives every face is made of, written once: fill, outline, line, pixel,
// bevel and ellipse, the caption styles and the focus rectangle. Draws text
// without a background, and puts back the device context's pen, brush, text
// colour and background mode when it goes.
class FaceCanvas {
 public:
  FaceCanvas(HDC dc, ColorSet& colors, const FaceInput& input);
  ~FaceCanvas();
  FaceCanvas(const FaceCanvas&) = delete;
  FaceCanvas& operator=(const FaceCanvas&) = delete;

  const int w;
  const int h;
  ColorSet& c;
  const FaceInput& in;

  // shift with the control's SoftBevel, moving blue in proportion where the
  // type says so.
  Rgb24 Shift(Rgb24 colour, int delta) const;
  // The strokes SpecialEffect puts behind a caption or picture, each as an
  // offset right and down and a colour: a shade of the base one pixel down
  // and right, and for the raised and sunken effects the opposite shade one
  // pixel up and left. None without an effect.
  template <class Stroke>
  void EffectStrokes(EffectBase base, Stroke stroke) const {
    if (in.specialEffect <= 0) return;
    const Rgb24 from = EffectBaseColour(base);
    const int d = in.specialEffect == 2 ? 40 : -40;
    stroke(1, Shift(from, d));
    if (in.specialEffect <= 2) stroke(-1, Shift(from, -d));
  }

  void Fill(int x, int y, int cx, int cy, Rgb24 colour);
  void Outline(int x, int y, int cx, int cy, Rgb24 colour);
  void Line(int x1, int y1, int x2, int y2, Rgb24 colour);
  void Pixel(int x, int y, Rgb24 colour);
  void Bevel(Rgb24 c1, Rgb24 c2, Rgb24 c3, Rgb24 c4, int inset);
  void BevelOuter(Rgb24 c1, Rgb24 c2);
  void Ellipse(Rgb24 outline, Rgb24 fill);
  // The four corner pixels one in from each corner.
  void InnerCorners(Rgb24 colour);
  // Rows 1 to h, darker by span / h per row (reversed: row h - y, from base).
  void Gradient(Rgb24 base, int span, bool reversed = false);
  void Background();

  // The caption in the style of the look drawn (in bold where the input has a
  // bold font).
  void Caption();
  // The caption in a style, in the font in place, where the layout puts it.
  void Caption(int style, const Layout& layout);
  void Text(const Box& box, Rgb24 colour);
  void Focus();

 private:
  void BevelLines(Rgb24 c1, Rgb24 c2, Rgb24 c3, Rgb24 c4, int inset, bool outerOnly);
  void CaptionEffect(const Box& box);
  Rgb24 EffectBaseColour(EffectBase base) const;

  HDC dc_;
  host::ScopedSelect pen_;
  host::ScopedSelect brush_;
  COLORREF oldText_;
  int oldBkMode_;
};

}  // namespace vantorel::controls::vb

#include "vbbutton/faces/face_canvas.h"

#include "host/gdi_guards.h"

namespace vantorel::controls::vb {

FaceCanvas::FaceCanvas(HDC dc, ColorSet& colors, const FaceInput& input)
    : w(input.w),
      h(input.h),
      c(colors),
      in(input),
      dc_(dc),
      pen_(dc, GetStockObject(DC_PEN)),
      brush_(dc, GetStockObject(DC_BRUSH)),
      oldText_(GetTextColor(dc)),
      oldBkMode_(SetBkMode(dc, TRANSPARENT)) {}

FaceCanvas::~FaceCanvas() {
  SetBkMode(dc_, oldBkMode_);
  SetTextColor(dc_, oldText_);
}

Rgb24 FaceCanvas::Shift(Rgb24 colour, int delta) const { return vb::Shift(colour, delta, in.soft, in.blueShades); }

void FaceCanvas::Fill(int x, int y, int cx, int cy, Rgb24 colour) {
  RECT r{x, y, x + cx, y + cy};
  SetDCBrushColor(dc_, colour);
  FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FaceCanvas::Outline(int x, int y, int cx, int cy, Rgb24 colour) {
  RECT r{x, y, x + cx, y + cy};
  SetDCBrushColor(dc_, colour);
  FrameRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FaceCanvas::Line(int x1, int y1, int x2, int y2, Rgb24 colour) {
  SetDCPenColor(dc_, colour);
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void FaceCanvas::Pixel(int x, int y, Rgb24 colour) { SetPixelV(dc_, x, y, colour); }

void FaceCanvas::Bevel(Rgb24 c1, Rgb24 c2, Rgb24 c3, Rgb24 c4, int inset) { BevelLines(c1, c2, c3, c4, inset, false); }

void FaceCanvas::BevelOuter(Rgb24 c1, Rgb24 c2) { BevelLines(c1, c2, 0, 0, 0, true); }

void FaceCanvas::BevelLines(Rgb24 c1, Rgb24 c2, Rgb24 c3, Rgb24 c4, int i, bool outerOnly) {
  const int a = i, r = w - 1 - i, b = h - 1 - i;
  Line(a, b, a, a, c1);
  LineTo(dc_, r, a);
  Line(r, a, r, b, c2);
  LineTo(dc_, a - 1, b);
  if (outerOnly) return;
  Line(a + 1, b - 1, a + 1, a + 1, c3);
  LineTo(dc_, r - 1, a + 1);
  Line(r - 1, a + 1, r - 1, b - 1, c4);
  LineTo(dc_, a, b - 1);
}

void FaceCanvas::Ellipse(Rgb24 outline, Rgb24 fill) {
  host::GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, 2, outline));
  host::ScopedSelect selected(dc_, pen.get());
  SetDCBrushColor(dc_, fill);
  ::Ellipse(dc_, 0, 0, w, h);
}

void FaceCanvas::InnerCorners(Rgb24 colour) {
  Pixel(1, 1, colour);
  Pixel(1, h - 2, colour);
  Pixel(w - 2, 1, colour);
  Pixel(w - 2, h - 2, colour);
}

void FaceCanvas::Gradient(Rgb24 base, int span, bool reversed) {
  for (int y = 1; y <= h; ++y) {
    int row = reversed ? h - y : y;
    Line(0, row, w, row, Shift(base, GradientOffset(span, h, y)));
  }
}

void FaceCanvas::Background() {
  if (in.background) BitBlt(dc_, 0, 0, w, h, in.background, 0, 0, SRCCOPY);
}

void FaceCanvas::Text(const Box& box, Rgb24 colour) {
  RECT r{box.left, box.top, box.right, box.bottom};
  SetTextColor(dc_, colour);
  DrawTextW(dc_, in.caption.data(), static_cast<int>(in.caption.size()), &r, DT_CENTER | DT_WORDBREAK);
}

Rgb24 FaceCanvas::EffectBaseColour(EffectBase base) const {
  switch (base) {
    case EffectBase::RaisedFace: return c.raisedFace;
    // Hot at rest is the normal look (0) drawn hot.
    case EffectBase::HotSelection: return in.hot && in.lastLook == 0 ? c.selectionLight : c.face;
    case EffectBase::Face: break;
  }
  return c.face;
}

void FaceCanvas::CaptionEffect(const Box& box) {
  EffectStrokes(in.captionEffect, [&](int d, Rgb24 colour) {
    Text({box.left + d, box.top + d, box.right + d, box.bottom + d}, colour);
  });
}

void FaceCanvas::Caption() {
  if (!in.boldFont) return Caption(in.captionStyle, in.layout);
  host::ScopedSelect bold(dc_, in.boldFont);
  Caption(in.captionStyle, in.boldLayout);
}

void FaceCanvas::Caption(int style, const Layout& layout) {
  const Box& normal = layout.caption;
  const Box& pressed = layout.pressedCaption;
  switch (style) {
    case kCaptionNormal:
      CaptionEffect(normal);
      Text(normal, c.text);
      break;
    case kCaptionHot:
      CaptionEffect(normal);
      Text(normal, c.hotText);
      break;
    case kCaptionPressed:
      CaptionEffect(pressed);
      Text(pressed, c.hotText);
      break;
    case kCaptionPressedLight:
      CaptionEffect(pressed);
      Text(pressed, c.light);
      break;
    case kCaptionEmbossed:
      Text(pressed, c.highlight);
      Text(normal, c.shadow);
      break;
    case kCaptionFlat: Text(normal, c.shadow); break;
    case kCaptionFaded: Text(normal, vb::Shift(c.raisedFace, -104, in.soft, true)); break;
    case kCaptionCarved:
      Text(pressed, c.highlight);
      Text(normal, c.face);
      break;
    case kCaptionPressedCarved:
      Text(pressed, Shift(c.shadow, -50));
      Text(normal, c.highlight);
      break;
    case kCaptionPlainHot: Text(normal, c.hotText); break;
    default: break;
  }
}

void FaceCanvas::Focus() {
  if (!in.showFocusRect || !in.focused) return;
  SetTextColor(dc_, c.text);
  RECT r{in.focus.left, in.focus.top, in.focus.right, in.focus.bottom};
  DrawFocusRect(dc_, &r);
}

}  // namespace vantorel::controls::vb

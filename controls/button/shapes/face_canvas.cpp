#include "button/button.h"
#include "button/shapes/face.h"

namespace vantorel {

FaceCanvas::FaceCanvas(Button& button, OleColor borderPen)
    : W(button.surface().ScaleWidth()),
      H(button.surface().ScaleHeight()),
      style(button.ButtonStyle()),
      styleColors(button.ButtonStyleColors()),
      pressed(button.Pressed()),
      hover(button.Hovering()),
      focused(button.Focused()),
      focusRect(button.FocusRect()),
      enabled(button.Enabled()),
      button_(button),
      surface_(button.surface()),
      pen_(borderPen) {
  surface_.SetForeColor(borderPen);
}

FaceState FaceCanvas::State() const {
  if (pressed) return FaceState::Pressed;
  if (hover) return FaceState::Hover;
  if (focusRect && focused) return FaceState::Focused;
  return FaceState::Normal;
}

bool FaceCanvas::WantsFocusMark() const {
  return style != 4 && style != 6 && style != 7 && focusRect && focused;
}

void FaceCanvas::Pen(OleColor color) {
  surface_.SetForeColor(color);
  pen_ = color;
}

HDC FaceCanvas::Dc() const { return surface_.Hdc(); }

void FaceCanvas::Path(std::initializer_list<FacePoint> points) {
  HDC dc = surface_.Hdc();
  bool first = true;
  for (const FacePoint& p : points) {
    LONG x = rounder_(p.x), y = rounder_(p.y);
    if (first)
      MoveToEx(dc, x, y, nullptr);
    else
      LineTo(dc, x, y);
    first = false;
  }
}

void FaceCanvas::SetRegion(HRGN region) {
  button_.SetFaceRegion(region);
  surface_.SetRegion(region, false);
}

}  // namespace vantorel

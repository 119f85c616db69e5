#include "button/shapes/face.h"
#include "host/surface.h"

namespace vantorel::controls {

ShapeCanvas::ShapeCanvas(host::Surface& target, const FaceInput& in)
    : W(in.width),
      H(in.height),
      style(in.style),
      styleColors(in.styleColors),
      pressed(in.pressed),
      hover(in.hover),
      focused(in.focused),
      focusRect(in.focusRect),
      enabled(in.enabled),
      surface_(target),
      pen_(in.borderPen) {
  surface_.SetForeColor(in.borderPen);
}

FaceState ShapeCanvas::State() const {
  if (pressed) return FaceState::Pressed;
  if (hover) return FaceState::Hover;
  if (focusRect && focused) return FaceState::Focused;
  return FaceState::Normal;
}

bool ShapeCanvas::WantsFocusMark() const {
  return !HasOwnFocusLook(style) && focusRect && focused;
}

void ShapeCanvas::Pen(host::OleColor color) {
  surface_.SetForeColor(color);
  pen_ = color;
}

HDC ShapeCanvas::Dc() const { return surface_.Hdc(); }

void ShapeCanvas::Path(std::initializer_list<FacePoint> points) {
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

POINT ShapeCanvas::At(const FigurePoint& p) { return {rounder_(p.x.At(W, H)), rounder_(p.y.At(W, H))}; }

void ShapeCanvas::Draw(const Figure& figure) {
  HDC dc = surface_.Hdc();
  bool move = true;
  for (int i = 0; i < figure.count; ++i) {
    const FigurePoint& p = figure.points[i];
    if (p.penUp) {
      move = true;
      continue;
    }
    const POINT q = At(p);
    if (move)
      MoveToEx(dc, q.x, q.y, nullptr);
    else
      LineTo(dc, q.x, q.y);
    move = false;
  }
}

void ShapeCanvas::Polygon(const Figure& figure) {
  POINT corners[Figure::kMaxPoints];
  int n = 0;
  for (int i = 0; i < figure.count; ++i) {
    if (figure.points[i].penUp) continue;
    corners[n++] = At(figure.points[i]);
  }
  ::Polygon(surface_.Hdc(), corners, n);
}

void ShapeCanvas::Arc(double left, double top, double right, double bottom, double x1, double y1, double x2,
                     double y2) {
  ::Arc(surface_.Hdc(), rounder_(left), rounder_(top), rounder_(right), rounder_(bottom), rounder_(x1), rounder_(y1),
        rounder_(x2), rounder_(y2));
}

void ShapeCanvas::RoundRect(double left, double top, double right, double bottom, double cornerW, double cornerH) {
  ::RoundRect(surface_.Hdc(), rounder_(left), rounder_(top), rounder_(right), rounder_(bottom), rounder_(cornerW),
              rounder_(cornerH));
}

void ShapeCanvas::SetPixel(double x, double y, COLORREF color) {
  ::SetPixel(surface_.Hdc(), rounder_(x), rounder_(y), color);
}

FaceRegionRecipe ShapeCanvas::PolygonRegion(const Figure& corners) {
  FaceRegionRecipe r;
  r.kind = FaceRegionRecipe::Kind::Polygon;
  for (int i = 0; i < corners.count && r.count < FaceRegionRecipe::kMaxPoints; ++i)
    r.points[r.count++] = At(corners.points[i]);
  return r;
}

}  // namespace vantorel::controls

#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "button/paint_math.h"
#include "button/stored_values.h"
#include "button/shapes/face_region.h"
#include "button/shapes/figure.h"
#include "host/color.h"
#include "host/status.h"

namespace vantorel::host {
class Surface;
}  // namespace vantorel::host

namespace vantorel::controls {

// What a face is drawn from: the control's size, style and state, and the
// border pen of the state, as values read once by the control.
struct FaceInput {
  double width = 0;
  double height = 0;
  std::int32_t style = 0;
  std::int32_t styleColors = 0;
  bool pressed = false;
  bool hover = false;
  bool focused = false;
  bool focusRect = false;
  bool enabled = true;
  host::OleColor borderPen = 0;
};

// What a renderer hands back: whether it finished, the pen it finished with,
// and the window region its shape needs (a recipe of no kind: none). The
// dotted focus pass blackens pixels of exactly that pen's colour, so a shape's
// grey focus mark comes out dotted grey and black.
struct FaceResult {
  host::Status status;
  host::OleColor pen;
  FaceRegionRecipe region;
  bool drawn = true;  // false for a shape without a face: the region stays as it is
};

// A face renderer draws, into the surface's image, the outline with the border
// pen, the decoration of the style for the state and its focus mark, and says
// which region the window is to be clipped to; the control applies it.
using FaceRenderer = FaceResult (*)(host::Surface& target, const FaceInput& in);

// Everything the Button knows of one ButtonShape, in one row of the table in
// face_table.cpp.
struct ShapeRow {
  FaceRenderer draw = nullptr;  // null: no face, and the window region stays as it is
  bool square = false;          // the control's height follows its width
  bool sidewaysFills = false;   // the glass and sheen fills run across the face
};

// The row of a ButtonShape. A value outside the table has no renderer, and
// keeps the control square as every shape but the two rectangles does.
const ShapeRow& ShapeRowFor(std::int32_t shape);

// The renderer for a ButtonShape, or null when that value draws no face.
inline FaceRenderer FaceRendererFor(std::int32_t shape) { return ShapeRowFor(shape).draw; }

// Colours shared by every shape. System colours stay stored values: the surface
// resolves them, and the dotted focus pass never matches them.
namespace face_color {
inline constexpr host::OleColor kDarkShadow = 0x80000015;  // COLOR_3DDKSHADOW
inline constexpr host::OleColor kShadow = 0x80000010;      // COLOR_BTNSHADOW
inline constexpr host::OleColor kHighlight = 0x80000014;   // COLOR_BTNHIGHLIGHT
inline constexpr host::OleColor kHoverGlow[5] = {RGB(220, 154, 16), RGB(240, 178, 49), RGB(247, 214, 144),
                                                 RGB(255, 243, 206), RGB(255, 219, 140)};
inline constexpr host::OleColor kFocusGlow[5] = {RGB(89, 141, 217), RGB(129, 169, 226), RGB(181, 209, 240),
                                                 RGB(189, 215, 247), RGB(206, 231, 255)};
inline constexpr host::OleColor kInnerPressed = RGB(115, 176, 207);
inline constexpr host::OleColor kInnerNormal = RGB(255, 255, 255);
inline constexpr host::OleColor kInnerFocused = RGB(4, 204, 254);
inline constexpr host::OleColor kFocusMark = RGB(209, 209, 209);
}  // namespace face_color

// The etched, glow and glass styles show focus their own way (the etched one
// with a box around the caption, the others in their face); the rest get the
// shape's mark and the dotted pass.
constexpr bool HasOwnFocusLook(std::int32_t style) {
  return style == kStyleEtched || style == kStyleGlow || style == kStyleGlass;
}

// The state a decoration is chosen by, tested in this order: pressed, hover,
// focused (where the style has a focused look), otherwise normal.
enum class FaceState { Pressed, Hover, Focused, Normal };

struct FacePoint {
  double x;
  double y;
};

// What a renderer draws with: the control's size and state, and pen and path
// helpers that round every coordinate (ties to even).
class ShapeCanvas {
 public:
  ShapeCanvas(host::Surface& target, const FaceInput& in);

  const double W;
  const double H;
  const std::int32_t style;
  const std::int32_t styleColors;
  const bool pressed;
  const bool hover;
  const bool focused;
  const bool focusRect;
  const bool enabled;

  FaceState State() const;
  // The shape's mark, for a focused face whose style has no focus look of its own.
  bool WantsFocusMark() const;

  void Pen(host::OleColor color);
  // The colour of the pen in place: the border pen until a renderer sets another.
  host::OleColor PenColor() const { return pen_; }
  // Moves to the first point and draws lines through the rest.
  void Path(std::initializer_list<FacePoint> points);
  // The same for a figure of a table, lifting the pen where it says so.
  void Draw(const Figure& figure);
  // A closed outline through the figure's corners (Polygon, interior not filled).
  void Polygon(const Figure& figure);
  void Arc(double left, double top, double right, double bottom, double x1, double y1, double x2, double y2);
  void RoundRect(double left, double top, double right, double bottom, double cornerW, double cornerH);
  void SetPixel(double x, double y, COLORREF color);
  FaceRegionRecipe PolygonRegion(const Figure& corners);
  host::Surface& surface() { return surface_; }
  // A point of a figure at this size, each coordinate rounded once.
  POINT At(const FigurePoint& p);
  HDC Dc() const;
  LONG Round(double v) { return rounder_(v); }
  // The end of a renderer: its status, the pen it last drew with and its region.
  FaceResult Finish(const FaceRegionRecipe& region) const { return FaceResult{rounder_.status(), pen_, region, true}; }

 private:
  host::Surface& surface_;
  Rounder rounder_;
  host::OleColor pen_;
};

enum class GlowSet { Hover, Focus };

// The figures of one shape, drawn by DrawShapedFace in the order and state
// rules every shape shares. Where a decoration is one colour the caller sets
// the pen; figures of two colours set their own.
class ShapeFigures {
 public:
  virtual ~ShapeFigures() = default;
  virtual FaceRegionRecipe Region(ShapeCanvas& c) const = 0;
  virtual void Outline(ShapeCanvas& c) const = 0;       // with the border pen
  virtual void BevelSunken(ShapeCanvas& c) const = 0;  // its own pens
  virtual void BevelRaised(ShapeCanvas& c) const = 0;  // its own pens
  // The upper-left trim of the bevel and edge styles: the pressed one in dark shadow, the
  // raised one in highlight. Most shapes draw the same figure for both.
  virtual void Trim(ShapeCanvas& c, bool pressed) const = 0;
  virtual void EtchedFrame(ShapeCanvas& c) const = 0;  // its own pens
  virtual void GlowPressed(ShapeCanvas& c) const = 0;  // in highlight
  virtual void Glow(ShapeCanvas& c, const host::OleColor (&colors)[5], GlowSet set) const = 0;
  virtual void InnerFrame(ShapeCanvas& c) const = 0;  // in the pen of the state
  virtual void FocusMark(ShapeCanvas& c) const = 0;   // in the focus mark colour
};

// Region first, then outline with the border pen, the style's decoration for
// the state, and the focus mark for the styles without a focus look of their
// own; hands back the pen it finished with.
FaceResult DrawShapedFace(host::Surface& target, const FaceInput& in, const ShapeFigures& figures);

}  // namespace vantorel::controls

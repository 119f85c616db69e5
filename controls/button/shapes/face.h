#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "button/paint_math.h"
#include "host/color.h"
#include "host/status.h"

namespace vantorel {

class Button;
class Surface;

// What a renderer hands back: whether it finished, and the pen it finished
// with. The dotted focus pass blackens pixels of exactly that colour, so a
// shape's grey focus mark comes out dotted grey and black.
struct FaceResult {
  Status status;
  OleColor pen;
};

// A face renderer clips the window to its shape, draws the outline with the
// border pen it is handed, the decoration of the style for the state, and its
// focus mark.
using FaceRenderer = FaceResult (*)(Button& button, OleColor borderPen);

// The renderer for a ButtonShape, or null when that value draws no face.
FaceRenderer FaceRendererFor(std::int32_t shape);

// Colours shared by every shape. System colours stay stored values: the surface
// resolves them, and the dotted focus pass never matches them.
namespace face_color {
inline constexpr OleColor kDarkShadow = 0x80000015;  // COLOR_3DDKSHADOW
inline constexpr OleColor kShadow = 0x80000010;      // COLOR_BTNSHADOW
inline constexpr OleColor kHighlight = 0x80000014;   // COLOR_BTNHIGHLIGHT
inline constexpr OleColor kHoverGlow[5] = {RGB(220, 154, 16), RGB(240, 178, 49), RGB(247, 214, 144),
                                           RGB(255, 243, 206), RGB(255, 219, 140)};
inline constexpr OleColor kFocusGlow[5] = {RGB(89, 141, 217), RGB(129, 169, 226), RGB(181, 209, 240),
                                           RGB(189, 215, 247), RGB(206, 231, 255)};
inline constexpr OleColor kInnerPressed = RGB(115, 176, 207);
inline constexpr OleColor kInnerNormal = RGB(255, 255, 255);
inline constexpr OleColor kInnerFocused = RGB(4, 204, 254);
inline constexpr OleColor kFocusMark = RGB(209, 209, 209);
}  // namespace face_color

// The state a decoration is chosen by, tested in this order: pressed, hover,
// focused (where the style has a focused look), otherwise normal.
enum class FaceState { Pressed, Hover, Focused, Normal };

struct FacePoint {
  double x;
  double y;
};

// What a renderer draws with: the control's size and state, read once, and
// pen and path helpers that round every coordinate (ties to even).
class FaceCanvas {
 public:
  FaceCanvas(Button& button, OleColor borderPen);

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
  // Styles 4, 6 and 7 show focus their own way; the others get the shape's mark.
  bool WantsFocusMark() const;

  void Pen(OleColor color);
  // Moves to the first point and draws lines through the rest.
  void Path(std::initializer_list<FacePoint> points);
  // Hands a region to the window (null removes clipping); the window owns it.
  void SetRegion(HRGN region);
  HDC Dc() const;
  LONG Round(double v) { return rounder_(v); }
  // The end of a renderer: its status and the pen it last drew with.
  FaceResult Finish() const { return FaceResult{rounder_.status(), pen_}; }

 private:
  Button& button_;
  Surface& surface_;
  Rounder rounder_;
  OleColor pen_;
};

}  // namespace vantorel

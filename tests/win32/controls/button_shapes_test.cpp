// The eleven shaped faces: pixels their geometry determines, their regions, and
// switching between shapes. Expected points are written here from the shapes'
// own expressions of W and H, rounded ties to even; expected colours follow the
// Win32 line rules (a line draws its first pixel and leaves out its last) and
// the order the figures are drawn in.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "button/shapes/face.h"
#include "test_support.h"

namespace vantorel::controls {
namespace {

using test::Drain;
using test::MovePointer;
using test::Pixel;
using test::Placement;
using test::TestParent;

int R(double v) { return static_cast<int>(std::nearbyint(v)); }

enum class State { Rest, Hover, Pressed, Focused, HoverFocused, Disabled };

const char* Name(State s) {
  static const char* const kNames[] = {"rest", "hover", "pressed", "focused", "hover+focused", "disabled"};
  return kNames[static_cast<int>(s)];
}

// A face without a caption, w x h pixels, driven into the state as a user
// would: pointer over it, left button held on it (which focuses it), keyboard
// focus, or disabled. Without a background (ButtonStyleColors 0) the face is
// the back colour, with none of the styles' own fills. Style 0 assigns no
// border colours: they are set to black here.
Button* Face(HWND parent, int shape, int style, int w, int h, State state, int styleColors = 0) {
  Button* b = Button::Create(Placement(parent, 150, 150, w * 15, h * 15));
  b->SetCaption(L"");
  b->SetButtonStyleColors(styleColors);
  b->SetButtonShape(shape);
  b->SetButtonStyle(style);
  if (style == 0) {
    b->SetBorderColor(0);
    b->SetBorderColorHover(0);
    b->SetBorderColorPressed(0);
  }
  MovePointer(b->hwnd(), 300, 300);
  switch (state) {
    case State::Rest: break;
    case State::Hover: MovePointer(b->hwnd(), w / 2, h / 2); break;
    case State::Pressed:
      MovePointer(b->hwnd(), w / 2, h / 2);
      SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h / 2));
      break;
    case State::Focused: SetFocus(b->hwnd()); break;
    case State::HoverFocused:
      SetFocus(b->hwnd());
      MovePointer(b->hwnd(), w / 2, h / 2);
      break;
    case State::Disabled: b->SetEnabled(false); break;
  }
  Drain();
  return b;
}

void Dispose(Button* b) {
  ReleaseCapture();
  DestroyWindow(b->hwnd());
  Drain();
}

// The colours a case can expect.
enum class Expect {
  Black,       // the outline of style 0 (BorderColor 0), or a pixel turned black
  Back,        // the background the pipeline painted (button face)
  DarkShadow,  // COLOR_3DDKSHADOW
  Shadow,      // COLOR_BTNSHADOW
  Highlight,   // COLOR_BTNHIGHLIGHT
  Glow1, Glow2, Glow3, Glow4, Glow5,  // of the hover set when hovered, else the focus set
  InnerPressed, InnerNormal, InnerFocused,
  FocusMark,   // grey, or black where a dotting pass reaches it
};

bool IsDiamond(int shape) { return shape == 3; }

// A pixel of the focus mark: the pipeline blackens pen-coloured pixels on two
// lattices, (odd, odd) from 3 to W - 3 / H - 3 and (even, even) from 2 to W - 2 /
// H - 2; the diamond first blackens them on every odd row from x = 2 to W - 2.
COLORREF FocusMarkAt(int shape, int x, int y, int W, int H) {
  const bool scan = IsDiamond(shape) && y % 2 == 1 && x >= 2 && x <= W - 2 && y <= H - 1;
  const bool odd = x % 2 == 1 && y % 2 == 1 && x >= 3 && x <= W - 3 && y >= 3 && y <= H - 3;
  const bool even = x % 2 == 0 && y % 2 == 0 && x >= 2 && x <= W - 2 && y >= 2 && y <= H - 2;
  return scan || odd || even ? RGB(0, 0, 0) : RGB(209, 209, 209);
}

COLORREF Colour(Expect e, State state, int shape, POINT p, int W, int H) {
  static const COLORREF kHover[5] = {RGB(220, 154, 16), RGB(240, 178, 49), RGB(247, 214, 144), RGB(255, 243, 206),
                                     RGB(255, 219, 140)};
  static const COLORREF kFocus[5] = {RGB(89, 141, 217), RGB(129, 169, 226), RGB(181, 209, 240), RGB(189, 215, 247),
                                     RGB(206, 231, 255)};
  const bool hover = state == State::Hover || state == State::HoverFocused;
  switch (e) {
    case Expect::Black: return RGB(0, 0, 0);
    case Expect::Back: return GetSysColor(COLOR_BTNFACE);
    case Expect::DarkShadow: return GetSysColor(COLOR_3DDKSHADOW);
    case Expect::Shadow: return GetSysColor(COLOR_BTNSHADOW);
    case Expect::Highlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case Expect::Glow1:
    case Expect::Glow2:
    case Expect::Glow3:
    case Expect::Glow4:
    case Expect::Glow5: {
      const int i = static_cast<int>(e) - static_cast<int>(Expect::Glow1);
      return hover ? kHover[i] : kFocus[i];
    }
    case Expect::InnerPressed: return RGB(115, 176, 207);
    case Expect::InnerNormal: return RGB(255, 255, 255);
    case Expect::InnerFocused: return RGB(4, 204, 254);
    case Expect::FocusMark: return FocusMarkAt(shape, p.x, p.y, W, H);
  }
  return CLR_INVALID;
}

using At = std::function<POINT(double W, double H)>;
// Where a steep line from (x0, y0) to (x1, y1) crosses row y: the pixel nearest
// the ideal line (never asked where it lies half-way between two).
double LineX(double x0, double y0, double x1, double y1, double y) {
  x0 = R(x0), y0 = R(y0), x1 = R(x1), y1 = R(y1);
  return x0 + (y - y0) * (x1 - x0) / (y1 - y0);
}

#define AT(x, y) [](double W, double H) { (void)W, (void)H; return POINT{R(x), R(y)}; }

struct PixelCase {
  const char* what;
  int shape;
  int style;
  State state;
  At at;
  Expect expect;
  int styleColors = 0;
};

void CheckPixels(const std::vector<PixelCase>& cases, std::initializer_list<int> sizes) {
  TestParent parent;
  for (int size : sizes) {
    for (const PixelCase& c : cases) {
      Button* b = Face(parent.hwnd(), c.shape, c.style, size, size, c.state, c.styleColors);
      const POINT p = c.at(size, size);
      EXPECT_EQ(Pixel(b, p.x, p.y), Colour(c.expect, c.state, c.shape, p, size, size))
          << c.what << ": shape " << c.shape << " style " << c.style << " " << Name(c.state) << " at " << size
          << " px, pixel (" << p.x << ", " << p.y << ")";
      Dispose(b);
    }
  }
}

constexpr State kRest = State::Rest, kHover = State::Hover, kPressed = State::Pressed, kFocused = State::Focused,
                kBoth = State::HoverFocused, kDisabled = State::Disabled;

TEST(ShapedFaces, TriangleFigures) {
  CheckPixels(
      {
          // Up (4).
          {"outline apex", 4, 0, kRest, AT(W / 2, 1), Expect::Black},
          {"outline corner", 4, 0, kRest, AT(1, H - 1), Expect::Black},
          {"outline base", 4, 0, kRest, AT(W / 2, H - 1), Expect::Black},
          {"outline corner", 4, 0, kRest, AT(W - 2, H - 1), Expect::Black},
          {"raised trim", 4, 2, kRest, AT(W / 2, 2), Expect::Highlight},
          {"pressed trim over the pressed border", 4, 2, kPressed, AT(W / 2, 1), Expect::DarkShadow},
          {"style 3 at rest: no trim", 4, 3, kRest, AT(W / 2, 2), Expect::Back},
          {"style 3 hovered: trim", 4, 3, kHover, AT(W / 2, 2), Expect::Highlight},
          {"style 1 raised shadow", 4, 1, kRest, AT(W / 2, H - 2), Expect::Shadow},
          {"style 1 raised trim", 4, 1, kRest, AT(W / 2, 2), Expect::Highlight},
          {"style 1 pressed shadow", 4, 1, kPressed, AT(W / 2, 3), Expect::Shadow},
          {"style 4 shadow", 4, 4, kRest, AT(W / 2, H - 2), Expect::Shadow},
          {"style 4 highlight over the base", 4, 4, kHover, AT(W / 2, H - 1), Expect::Highlight},
          {"style 4 disabled: no shadow", 4, 4, kDisabled, AT(W / 2, H - 2), Expect::Back},
          {"style 4 disabled: the outline in its border", 4, 4, kDisabled, AT(W / 2, H - 1), Expect::Shadow},
          {"style 6 pressed highlight", 4, 6, kPressed, AT(W / 2, H - 3), Expect::Highlight},
          {"glow 1", 4, 6, kHover, AT(W / 2, H - 2), Expect::Glow1},
          {"glow 2", 4, 6, kFocused, AT(W / 2, H - 3), Expect::Glow2},
          {"glow 3", 4, 6, kBoth, AT(W - 5, H - 4), Expect::Glow3},
          {"glow 4", 4, 6, kHover, AT(W / 2, 3), Expect::Glow4},
          {"glow 5", 4, 6, kFocused, AT(W / 2, 4), Expect::Glow5},
          {"style 6 pressed: no glow", 4, 6, kPressed, AT(W / 2, H - 2), Expect::Back},
          {"style 6 at rest: no glow", 4, 6, kRest, AT(W / 2, H - 2), Expect::Back},
          {"inner frame", 4, 7, kRest, AT(W / 2, H - 2), Expect::InnerNormal},
          {"inner frame focused", 4, 7, kFocused, AT(W / 2, H - 2), Expect::InnerFocused},
          {"inner frame pressed", 4, 7, kPressed, AT(W / 2, H - 2), Expect::InnerPressed},
          {"focus mark", 4, 0, kFocused, AT(W / 2, H - 5), Expect::FocusMark},
          {"focus mark apex", 4, 5, kFocused, AT(W / 2, 9), Expect::FocusMark},
          {"focus mark corner", 4, 8, kFocused, AT(7, H - 5), Expect::FocusMark},
          // Left (5).
          {"outline tip", 5, 0, kRest, AT(1, H / 2), Expect::Black},
          {"outline side", 5, 0, kRest, AT(W - 1, H / 2), Expect::Black},
          {"raised trim", 5, 2, kRest, AT(W - 1, 1), Expect::Highlight},
          {"pressed trim", 5, 3, kPressed, AT(W - 1, 1), Expect::DarkShadow},
          {"style 1 raised shadow", 5, 1, kRest, AT(W - 2, H / 2), Expect::Shadow},
          {"style 1 pressed shadow", 5, 1, kPressed, AT(W - 3, 3), Expect::Shadow},
          {"style 4 shadow", 5, 4, kRest, AT(W - 2, H / 2), Expect::Shadow},
          {"style 4 highlight over the side", 5, 4, kRest, AT(W - 1, H / 2), Expect::Highlight},
          {"style 6 pressed highlight", 5, 6, kPressed, AT(W - 3, H / 2), Expect::Highlight},
          {"glow 1", 5, 6, kHover, AT(W - 2, H / 2), Expect::Glow1},
          {"glow 2", 5, 6, kFocused, AT(W - 3, H / 2), Expect::Glow2},
          {"glow 4", 5, 6, kBoth, AT(3, H / 2), Expect::Glow4},
          {"glow 5", 5, 6, kFocused, AT(4, H / 2), Expect::Glow5},
          {"inner frame", 5, 7, kRest, AT(W - 2, H / 2), Expect::InnerNormal},
          {"inner frame focused", 5, 7, kFocused, AT(W - 2, H / 2), Expect::InnerFocused},
          {"focus mark", 5, 0, kFocused, AT(W - 5, H / 2), Expect::FocusMark},
          {"focus mark tip", 5, 1, kFocused, AT(9, H / 2), Expect::FocusMark},
          // Right (6).
          {"outline side", 6, 0, kRest, AT(0, H / 2), Expect::Black},
          {"outline next to the tip", 6, 0, kRest, AT(W - 2, H / 2), Expect::Black},
          {"the tip pixel is never drawn", 6, 0, kRest, AT(W - 1, H / 2), Expect::Back},
          {"raised trim", 6, 2, kRest, AT(W - 3, H / 2), Expect::Highlight},
          {"raised trim side", 6, 2, kRest, AT(0, H / 2), Expect::Highlight},
          {"pressed trim", 6, 2, kPressed, AT(W - 2, H / 2), Expect::DarkShadow},
          {"style 1 pressed shadow", 6, 1, kPressed, AT(1, H / 2), Expect::Shadow},
          {"style 1 raised shadow", 6, 1, kRest, AT(1, H - 3), Expect::Shadow},
          {"style 4 highlight", 6, 4, kRest, AT(1, H / 2), Expect::Highlight},
          {"style 6 pressed highlight", 6, 6, kPressed, AT(2, H / 2), Expect::Highlight},
          {"glow 1", 6, 6, kHover, AT(1, H / 2), Expect::Glow1},
          {"glow 2", 6, 6, kFocused, AT(2, H / 2), Expect::Glow2},
          {"glow 4", 6, 6, kHover, AT(W - 4, H / 2), Expect::Glow4},
          {"glow 5", 6, 6, kBoth, AT(W - 5, H / 2), Expect::Glow5},
          {"inner frame", 6, 7, kRest, AT(1, H / 2), Expect::InnerNormal},
          {"inner frame pressed", 6, 7, kPressed, AT(1, H / 2), Expect::InnerPressed},
          {"focus mark", 6, 0, kFocused, AT(4, H / 2), Expect::FocusMark},
          {"focus mark tip", 6, 2, kFocused, AT(W - 10, H / 2), Expect::FocusMark},
          // Down (7).
          {"outline top", 7, 0, kRest, AT(W / 2, 1), Expect::Black},
          {"outline tip", 7, 0, kRest, AT(W / 2, H - 1), Expect::Black},
          {"raised trim", 7, 2, kRest, AT(W / 2, H - 2), Expect::Highlight},
          {"raised trim top", 7, 2, kRest, AT(W / 2, 1), Expect::Highlight},
          {"pressed trim", 7, 2, kPressed, AT(W / 2, H - 1), Expect::DarkShadow},
          {"style 1 pressed shadow", 7, 1, kPressed, AT(W / 2, 2), Expect::Shadow},
          {"style 1 raised shadow", 7, 1, kRest, AT(LineX(W - 2, 1, W / 2, H - 3, 3), 3), Expect::Shadow},
          {"style 1 raised: the trim over the shadow's start", 7, 1, kRest, AT(W - 2, 1), Expect::Highlight},
          {"style 4 highlight", 7, 4, kRest, AT(W / 2, 2), Expect::Highlight},
          {"style 4 shadow", 7, 4, kRest, AT(LineX(W - 3, 2, W / 2, H - 3, 4), 4), Expect::Shadow},
          {"style 6 pressed highlight", 7, 6, kPressed, AT(W / 2, 3), Expect::Highlight},
          {"glow 1", 7, 6, kHover, AT(W / 2, 2), Expect::Glow1},
          {"glow 2", 7, 6, kFocused, AT(W / 2, 3), Expect::Glow2},
          {"glow 3", 7, 6, kBoth, AT(W - 5, 4), Expect::Glow3},
          {"inner frame", 7, 7, kRest, AT(W / 2, 2), Expect::InnerNormal},
          {"inner frame focused", 7, 7, kFocused, AT(W / 2, 2), Expect::InnerFocused},
          {"focus mark", 7, 0, kFocused, AT(W / 2, 4), Expect::FocusMark},
          {"focus mark tip", 7, 3, kFocused, AT(W / 2, H - 10), Expect::FocusMark},
      },
      {48, 49});
}

TEST(ShapedFaces, BlockArrowFigures) {
  CheckPixels(
      {
          // Up (8).
          {"outline tip", 8, 0, kRest, AT(W / 2, 1), Expect::Black},
          {"outline head corner", 8, 0, kRest, AT(1, H / 1.5 - 1), Expect::Black},
          {"outline shaft corner", 8, 0, kRest, AT(W / 3, H - 1), Expect::Black},
          {"outline shaft corner", 8, 0, kRest, AT(W / 1.5 - 1, H - 1.5), Expect::Black},
          {"outline shaft side", 8, 0, kRest, AT(W / 1.5 - 1, H / 1.5 + 4), Expect::Black},
          {"trim along the head", 8, 2, kRest, AT(W / 4, H / 1.5 - 1), Expect::Highlight},
          {"trim down the shaft", 8, 3, kPressed, AT(W / 3, H / 1.5 + 4), Expect::DarkShadow},
          {"style 3 at rest: no trim", 8, 3, kRest, AT(W / 3, H / 1.5 + 4), Expect::Back},
          {"style 1 raised shadow", 8, 1, kRest, AT(W / 1.5 - 2, H / 1.5 + 4), Expect::Shadow},
          {"style 1 pressed shadow", 8, 1, kPressed, AT(W / 3 + 1, H / 1.5 + 4), Expect::Shadow},
          {"style 1 raised: the shadow starts on the trim, drawn after it", 8, 1, kRest, AT(W / 3, H - 2),
           Expect::Shadow},
          {"style 4 shadow", 8, 4, kRest, AT(W / 1.5 - 2, H / 1.5 + 4), Expect::Shadow},
          {"style 4 highlight", 8, 4, kRest, AT(W / 3 + 1, H / 1.5 + 4), Expect::Highlight},
          {"style 4 disabled", 8, 4, kDisabled, AT(W / 3 + 1, H / 1.5 + 4), Expect::Back},
          {"style 6 pressed highlight", 8, 6, kPressed, AT(W / 1.5 - 3, H / 1.5 + 4), Expect::Highlight},
          {"glow 2", 8, 6, kHover, AT(W / 1.5 - 2, H / 1.5 + 4), Expect::Glow2},
          {"glow 3", 8, 6, kFocused, AT(W / 1.5 - 3, H / 1.5 + 4), Expect::Glow3},
          {"glow 4", 8, 6, kBoth, AT(W / 3 + 1, H / 1.5 + 4), Expect::Glow4},
          {"glow 5", 8, 6, kFocused, AT(W / 3 + 2, H / 1.5 + 4), Expect::Glow5},
          {"inner frame", 8, 7, kRest, AT(W / 3 + 1, H / 1.5 + 4), Expect::InnerNormal},
          {"inner frame focused", 8, 7, kFocused, AT(W / 3 + 1, H / 1.5 + 4), Expect::InnerFocused},
          {"focus mark", 8, 0, kFocused, AT(W / 3 + 4, H / 1.5 + 2), Expect::FocusMark},
          {"focus mark", 8, 0, kFocused, AT(W / 1.5 - 5, H / 1.5 + 3), Expect::FocusMark},
          // Left (9).
          {"outline tip", 9, 0, kRest, AT(1, H / 2), Expect::Black},
          {"outline shaft end", 9, 0, kRest, AT(W - 1, H / 2), Expect::Black},
          {"outline head back", 9, 0, kRest, AT(W / 1.5 - 1, 4), Expect::Black},
          {"trim", 9, 2, kRest, AT(W / 1.5 + 4, H / 3), Expect::Highlight},
          {"pressed trim", 9, 2, kPressed, AT(W / 1.5 - 1, 4), Expect::DarkShadow},
          {"style 1 raised shadow", 9, 1, kRest, AT(W - 2, H / 2), Expect::Shadow},
          {"style 1 pressed shadow", 9, 1, kPressed, AT(W / 1.5 + 4, H / 3 + 1), Expect::Shadow},
          {"style 4 highlight", 9, 4, kRest, AT(W - 1, H / 2), Expect::Highlight},
          {"style 6 pressed highlight", 9, 6, kPressed, AT(W - 3, H / 2), Expect::Highlight},
          {"glow 1", 9, 6, kHover, AT(W - 2, H / 2), Expect::Glow1},
          {"glow 2", 9, 6, kFocused, AT(W - 3, H / 2), Expect::Glow2},
          {"glow 5", 9, 6, kBoth, AT(W / 1.5 + 4, H / 3 + 2), Expect::Glow5},
          {"inner frame", 9, 7, kRest, AT(W / 1.5 + 4, H / 3 + 1), Expect::InnerNormal},
          {"focus mark", 9, 0, kFocused, AT(W - 5, H / 2), Expect::FocusMark},
          // Right (10).
          {"outline shaft end", 10, 0, kRest, AT(0, H / 2), Expect::Black},
          {"outline head back", 10, 0, kRest, AT(W / 3, 4), Expect::Black},
          {"trim", 10, 2, kRest, AT(0, H / 2), Expect::Highlight},
          {"trim along the shaft", 10, 3, kHover, AT(W / 6, H / 3), Expect::Highlight},
          {"pressed trim", 10, 2, kPressed, AT(W / 3, 4), Expect::DarkShadow},
          {"style 1 pressed shadow", 10, 1, kPressed, AT(1, H / 2), Expect::Shadow},
          {"style 1 raised shadow", 10, 1, kRest, AT(W / 6, H / 1.5 - 2), Expect::Shadow},
          {"style 4 shadow", 10, 4, kRest, AT(W / 6, H / 1.5 - 2), Expect::Shadow},
          {"style 4 highlight", 10, 4, kRest, AT(W / 6, H / 1.5 - 1), Expect::Highlight},
          {"style 6 pressed highlight", 10, 6, kPressed, AT(2, H / 2), Expect::Highlight},
          {"glow 1", 10, 6, kHover, AT(1, H / 2), Expect::Glow1},
          {"glow 2", 10, 6, kFocused, AT(2, H / 2), Expect::Glow2},
          {"glow 4", 10, 6, kBoth, AT(W / 6, H / 3 + 1), Expect::Glow4},
          {"inner frame", 10, 7, kRest, AT(1, H / 2), Expect::InnerNormal},
          {"inner frame pressed", 10, 7, kPressed, AT(1, H / 2), Expect::InnerPressed},
          {"inner frame tip", 10, 7, kRest, AT(W - 2, H / 2 - 1), Expect::InnerNormal},
          {"focus mark", 10, 0, kFocused, AT(4, H / 2), Expect::FocusMark},
          // Down (11).
          {"outline shaft end", 11, 0, kRest, AT(W / 2, 0), Expect::Black},
          {"outline tip", 11, 0, kRest, AT(W / 2, H - 1), Expect::Black},
          {"outline shaft side", 11, 0, kRest, AT(W / 1.5 - 1, H / 6), Expect::Black},
          {"trim", 11, 2, kRest, AT(W / 2, 0), Expect::Highlight},
          {"pressed trim", 11, 2, kPressed, AT(W / 3, H / 6), Expect::DarkShadow},
          {"style 1 pressed shadow", 11, 1, kPressed, AT(W / 2, 1), Expect::Shadow},
          {"style 1 raised shadow", 11, 1, kRest, AT(W / 1.5 - 2, H / 6), Expect::Shadow},
          {"style 4 highlight starts on row 1", 11, 4, kRest, AT(W / 2, 1), Expect::Highlight},
          {"style 4 highlight ends at W / 1.5", 11, 4, kRest, AT(W / 1.5, 1), Expect::Highlight},
          {"style 4 shadow", 11, 4, kRest, AT(W / 1.5 - 2, H / 6), Expect::Shadow},
          {"style 6 pressed highlight", 11, 6, kPressed, AT(W / 2, 2), Expect::Highlight},
          {"glow 1 lies under glow 2", 11, 6, kHover, AT(W / 2, 1), Expect::Glow2},
          {"glow 3", 11, 6, kFocused, AT(W / 1.5 - 3, H / 6), Expect::Glow3},
          {"glow 4", 11, 6, kBoth, AT(W / 3 + 1, H / 6), Expect::Glow4},
          {"inner frame", 11, 7, kRest, AT(W / 2, 1), Expect::InnerNormal},
          {"inner frame focused", 11, 7, kFocused, AT(W / 2, 1), Expect::InnerFocused},
          // W / 2 - 1 is rounded once: at W = 49, 23.5 gives 24, not round(24.5) - 1 = 23.
          {"inner frame tip", 11, 7, kRest, AT(W / 2 - 1, H - 2), Expect::InnerNormal},
          {"focus mark", 11, 0, kFocused, AT(W / 2, 4), Expect::FocusMark},
      },
      {48, 49});
}

TEST(ShapedFaces, DiamondFigures) {
  CheckPixels(
      {
          {"outline left corner", 3, 0, kRest, AT(0, H / 2), Expect::Black},
          {"outline bottom corner", 3, 0, kRest, AT(W / 2, H - 1), Expect::Black},
          {"outline right corner", 3, 0, kRest, AT(W - 1, H / 2), Expect::Black},
          {"outline top corner", 3, 0, kRest, AT(W / 2, 0), Expect::Black},
          {"top touch in the border colour", 3, 2, kRest, AT(W / 2, 1), Expect::DarkShadow, 1},
          {"no top touch without a background", 3, 2, kRest, AT(W / 2, 1), Expect::Back},
          {"top dot over glow 4, even without a background", 3, 6, kHover, AT(W / 2, 1), Expect::Black},
          {"no top dot at rest", 3, 6, kRest, AT(W / 2, 1), Expect::Back},
          {"upper-left edges", 3, 2, kRest, AT(0, H / 2), Expect::Highlight},
          {"upper-left edges pressed", 3, 2, kPressed, AT(0, H / 2), Expect::DarkShadow},
          {"style 3 at rest: the outline in the back colour", 3, 3, kRest, AT(0, H / 2), Expect::Back},
          {"style 3 hovered", 3, 3, kHover, AT(0, H / 2), Expect::Highlight},
          {"style 1 raised shadow", 3, 1, kRest, AT(W - 2, H / 2), Expect::Shadow},
          {"style 1 raised highlight", 3, 1, kRest, AT(W / 2, 0), Expect::Highlight},
          {"style 1 pressed shadow", 3, 1, kPressed, AT(1, H / 2), Expect::Shadow},
          {"style 4 shadow", 3, 4, kRest, AT(W - 2, H / 2), Expect::Shadow},
          {"style 4 highlight", 3, 4, kFocused, AT(W - 1, H / 2), Expect::Highlight},
          {"style 4 inner highlight", 3, 4, kPressed, AT(1, H / 2), Expect::Highlight},
          {"style 4 disabled", 3, 4, kDisabled, AT(W - 2, H / 2), Expect::Back},
          {"style 6 pressed highlight", 3, 6, kPressed, AT(W - 4, H / 2), Expect::Highlight},
          {"style 6 pressed top dot", 3, 6, kPressed, AT(W / 2, 1), Expect::Black},
          {"glow 1", 3, 6, kHover, AT(W / 2, H - 2), Expect::Glow1},
          {"glow 2", 3, 6, kFocused, AT(1, H / 2), Expect::Glow2},
          {"glow 3", 3, 6, kBoth, AT(2, H / 2), Expect::Glow3},
          {"glow 4", 3, 6, kHover, AT(R(W / 2) - 1, 2), Expect::Glow4},
          {"glow 5", 3, 6, kFocused, AT(W / 2, 2), Expect::Glow5},
          {"inner frame", 3, 7, kRest, AT(1, H / 2), Expect::InnerNormal},
          {"inner frame focused", 3, 7, kFocused, AT(W - 2, H / 2), Expect::InnerFocused},
          {"inner frame pressed", 3, 7, kPressed, AT(1, H / 2), Expect::InnerPressed},
          {"focus mark corner", 3, 0, kFocused, AT(W - 6, H / 2), Expect::FocusMark},
          {"focus mark corner", 3, 1, kFocused, AT(5, H / 2), Expect::FocusMark},
          {"focus mark corner on an odd row", 3, 2, kFocused, AT(W / 2, 5), Expect::FocusMark},
          {"focus mark corner", 3, 5, kFocused, AT(W / 2, H - 6), Expect::FocusMark},
      },
      {48, 49});
}

TEST(ShapedFaces, RoundedRectangleFigures) {
  // Not square: a mix-up of W and H shows.
  TestParent parent;
  constexpr int W = 64, H = 40;
  struct Case {
    const char* what;
    int style;
    State state;
    POINT at;
    Expect expect;
  };
  const Case cases[] = {
      {"outline top", 0, kRest, {W / 2, 0}, Expect::Black},
      {"outline left", 0, kRest, {0, H / 2}, Expect::Black},
      {"outline right, at W - 2", 0, kRest, {W - 2, H / 2}, Expect::Black},
      {"outline bottom, at H - 2", 0, kRest, {W / 2, H - 2}, Expect::Black},
      {"the band inside the region", 0, kRest, {W - 1, H / 2}, Expect::Back},
      {"trim", 2, kRest, {W / 2, 0}, Expect::Highlight},
      {"trim left", 3, kHover, {0, H / 2}, Expect::Highlight},
      {"trim pressed", 3, kPressed, {0, H / 2}, Expect::DarkShadow},
      {"style 1 raised shadow", 1, kRest, {W - 3, H / 2}, Expect::Shadow},
      {"style 1 pressed shadow", 1, kPressed, {W / 2, 1}, Expect::Shadow},
      {"style 4 shadow", 4, kRest, {W - 3, H / 2}, Expect::Shadow},
      {"style 4 highlight", 4, kRest, {1, H / 2}, Expect::Highlight},
      {"style 4 highlight right", 4, kRest, {W - 2, H / 2}, Expect::Highlight},
      {"style 6 pressed bottom", 6, kPressed, {W / 2, H - 4}, Expect::Highlight},
      {"style 6 pressed right", 6, kPressed, {W - 4, H / 2}, Expect::Highlight},
      {"glow 1", 6, kHover, {W / 2, H - 3}, Expect::Glow1},
      {"glow 2", 6, kFocused, {1, H / 2}, Expect::Glow2},
      {"glow 2 right", 6, kBoth, {W - 3, H / 2}, Expect::Glow2},
      {"glow 3", 6, kHover, {2, H / 2}, Expect::Glow3},
      {"glow 4", 6, kFocused, {W / 2, 1}, Expect::Glow4},
      {"glow 5", 6, kHover, {W / 2, 2}, Expect::Glow5},
      {"inner frame", 7, kRest, {W / 2, 1}, Expect::InnerNormal},
      {"inner frame focused", 7, kFocused, {1, H / 2}, Expect::InnerFocused},
      {"inner frame pressed", 7, kPressed, {W / 2, 1}, Expect::InnerPressed},
      {"focus mark", 0, kFocused, {W / 2, 4}, Expect::FocusMark},
      {"focus mark", 1, kFocused, {4, H / 2 + 1}, Expect::FocusMark},
      {"focus mark right", 2, kFocused, {W - 6, H / 2 + 1}, Expect::FocusMark},
  };
  for (const Case& c : cases) {
    Button* b = Face(parent.hwnd(), 1, c.style, W, H, c.state);
    ASSERT_EQ(b->surface().ScaleHeight(), H) << "the rounded rectangle keeps its height";
    EXPECT_EQ(Pixel(b, c.at.x, c.at.y), Colour(c.expect, c.state, 1, c.at, W, H))
        << c.what << ": style " << c.style << " " << Name(c.state);
    Dispose(b);
  }
}

// Extents of the colours of the elliptic figures: arcs and rounded rectangles
// as large as their box leave out its right column and bottom row.
TEST(ShapedFaces, EllipseFigures) {
  TestParent parent;
  for (int size : {48, 49}) {
    const int W = size, H = size;
    const RECT all{0, 0, W, H};
    auto bounds = [&](int style, State state, COLORREF colour) {
      Button* b = Face(parent.hwnd(), 2, style, W, H, state);
      test::Bounds r = test::ColourBounds(b, colour, all);
      Dispose(b);
      return r;
    };
    const COLORREF black = RGB(0, 0, 0), dark = GetSysColor(COLOR_3DDKSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW);
    test::Bounds outline = bounds(0, kRest, black);
    EXPECT_EQ(outline.left, 1) << size;
    EXPECT_EQ(outline.top, 1) << size;
    EXPECT_EQ(outline.right, W - 3) << size;
    EXPECT_EQ(outline.bottom, H - 3) << size;
    // The upper-left arc: from the top-right direction through the top and left
    // to the bottom-left direction of the outline's ellipse.
    for (State s : {kRest, kPressed}) {
      test::Bounds trim = bounds(2, s, s == kRest ? light : dark);
      EXPECT_EQ(trim.left, 1) << size << Name(s);
      EXPECT_EQ(trim.top, 1) << size << Name(s);
      EXPECT_GT(trim.right, W / 2) << size << Name(s);
      EXPECT_LT(trim.right, W - 4) << size << Name(s);
      EXPECT_LT(trim.bottom, H - 4) << size << Name(s);
    }
    EXPECT_TRUE(bounds(3, kRest, light).empty()) << size;
    // Style 1 raised: the shadow runs round the lower right of a circle one
    // pixel smaller, the highlight over the upper left.
    test::Bounds raisedShadow = bounds(1, kRest, shadow);
    EXPECT_EQ(raisedShadow.right, W - 4) << size;
    EXPECT_EQ(raisedShadow.bottom, H - 4) << size;
    EXPECT_EQ(bounds(1, kRest, light).top, 1) << size;
    test::Bounds sunken = bounds(1, kPressed, shadow);
    EXPECT_EQ(sunken.left, 2) << size;
    EXPECT_EQ(sunken.top, 2) << size;
    // Style 4: shadow on the right half one pixel in, highlight on the left half
    // one pixel in and on the outline's right half.
    EXPECT_EQ(bounds(4, kRest, shadow).right, W - 4) << size;
    test::Bounds etched = bounds(4, kRest, light);
    EXPECT_EQ(etched.left, 2) << size;
    EXPECT_EQ(etched.right, W - 3) << size;
    EXPECT_TRUE(bounds(4, kDisabled, light).empty()) << size;
    // Style 6.
    test::Bounds pressed6 = bounds(6, kPressed, light);
    EXPECT_EQ(pressed6.right, W - 5) << size;
    EXPECT_GE(pressed6.left, W / 2 - 1) << size;
    // Colour 1 runs round the bottom; colours 2 and 3 cover most of it again.
    test::Bounds glow1 = bounds(6, kHover, RGB(220, 154, 16));
    EXPECT_FALSE(glow1.empty()) << size;
    EXPECT_GT(glow1.top, H / 2) << size;
    EXPECT_EQ(bounds(6, kBoth, RGB(255, 243, 206)).top, 2) << size;
    EXPECT_EQ(bounds(6, kFocused, RGB(206, 231, 255)).top, 3) << size;
    EXPECT_TRUE(bounds(6, kFocused, RGB(220, 154, 16)).empty()) << size;
    // Style 7 and the focus mark.
    for (auto [state, colour] : {std::pair{kRest, RGB(255, 255, 255)}, std::pair{kFocused, RGB(4, 204, 254)},
                                 std::pair{kPressed, RGB(115, 176, 207)}}) {
      test::Bounds frame = bounds(7, state, colour);
      EXPECT_EQ(frame.left, 2) << size << Name(state);
      EXPECT_EQ(frame.right, W - 4) << size << Name(state);
      EXPECT_EQ(frame.bottom, H - 4) << size << Name(state);
    }
    test::Bounds mark = bounds(0, kFocused, RGB(209, 209, 209));
    EXPECT_EQ(mark.left, 4) << size;
    EXPECT_EQ(mark.right, W - 6) << size;
  }
}

}  // namespace
}  // namespace vantorel::controls

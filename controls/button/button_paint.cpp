#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"
#include "button/shapes/face.h"

namespace vantorel {

namespace {

// 375 twips: 25 pixels at 96 dpi.
constexpr int kMinSizeTwips = 375;

enum class Look { Pressed, Hovering, AtRest, Disabled };

struct StyleFill {
  OleColor x;
  OleColor y;
};

// Background modes 4 to 7 lay two fills against each other.
void BackgroundFill(HDC dc, std::int32_t mode, double w, double h, OleColor x, OleColor y, Rounder& r) {
  LONG W = r(w), H = r(h), halfW = r(w / 2), halfH = r(h / 2);
  switch (mode) {
    case 2: GradientPair(dc, false, 0, H, x, W, 0, y); break;
    case 3: GradientPair(dc, true, 0, H, x, W, 0, y); break;
    case 4:
      GradientPair(dc, true, W, 0, x, 0, halfH, y);
      GradientPair(dc, true, 0, H, x, W, halfH, y);
      break;
    case 5:
      GradientPair(dc, true, 0, halfH, x, W, 0, y);
      GradientPair(dc, true, 0, halfH, x, W, H, y);
      break;
    case 6:
      GradientPair(dc, false, 0, 0, x, halfW, H, y);
      GradientPair(dc, false, W, H, x, halfW, 0, y);
      break;
    case 7:
      GradientPair(dc, false, halfW, 0, x, 0, H, y);
      GradientPair(dc, false, halfW, H, x, W, 0, y);
      break;
    default: break;
  }
}

bool IsPointedShape(std::int32_t shape) { return shape == 4 || shape == 7 || shape == 8 || shape == 11; }

// The chevrons of the drop-down arrow, relative to its origin.
struct Polyline3 {
  POINT p[3];
};
constexpr Polyline3 kChevrons[] = {
    {{{6, 5}, {9, 8}, {13, 4}}},
    {{{7, 5}, {9, 7}, {12, 4}}},
    {{{6, 9}, {9, 12}, {13, 8}}},
    {{{7, 9}, {9, 11}, {12, 8}}},
};

}  // namespace

Status Button::Paint() {
  if (!Hwnd()) return kOk;
  bool outer = !painting_;
  painting_ = true;
  Status s = PaintSteps();
  if (outer) painting_ = false;
  return s;
}

Status Button::PaintSteps() {
  Surface& sf = surface();
  HDC dc = sf.Hdc();
  Rounder r;
  const ButtonProps& p = props_;

  // 1. Start from the back colour.
  sf.Clear();

  // 2, 3. Minimum size, and square for every shape but the two rectangles. The
  // surface is remade at the new size (cleared to the back colour) and this paint
  // goes on with it.
  if (sf.WidthTwips() < kMinSizeTwips) sf.SetSizeTwips(kMinSizeTwips, sf.HeightTwips());
  if (sf.HeightTwips() < kMinSizeTwips) sf.SetSizeTwips(sf.WidthTwips(), kMinSizeTwips);
  if (p.buttonShape != 0 && p.buttonShape != 1) sf.SetSizeTwips(sf.WidthTwips(), sf.WidthTwips());
  dc = sf.Hdc();
  const double w = sf.ScaleWidth();
  const double h = sf.ScaleHeight();

  // 4. Hand pointer while hovering (not pressed) or focused.
  if (p.handPointer && ((!pressed_ && Hovering()) || focused_)) SetCursor(LoadCursorW(nullptr, IDC_HAND));

  // 5. A toggle that is on paints pressed; then the two colours of the fills.
  if (p.buttonType == 1 && p.value) pressed_ = true;
  const bool hovering = !pressed_ && Hovering();
  const OleColor first = p.backColor;
  const OleColor second = pressed_ ? p.backColorPressed : hovering ? p.backColorHover : p.backColorPressed;
  Look look = pressed_ ? Look::Pressed : hovering ? Look::Hovering : Look::AtRest;
  if (look == Look::AtRest && !Enabled()) look = Look::Disabled;

  // 6. Background.
  if (p.buttonStyleColors == 0) {
    sf.SetBackStyle(BackStyle::Transparent);
  } else if (p.buttonStyleColors == 1) {
    sf.SetBackStyle(BackStyle::Opaque);
    sf.SetBackColor(pressed_ ? p.backColorPressed : hovering ? p.backColorHover : p.backColor);
    sf.Clear();
  } else if (p.buttonStyleColors >= 2 && p.buttonStyleColors <= 7) {
    sf.SetBackStyle(BackStyle::Opaque);
    BackgroundFill(dc, p.buttonStyleColors, w, h, first, second, r);
  }
  if (Status st = r.status(); !st.ok()) return st;

  // 7. Border colours of the style, and the second background of styles 5 to 8.
  const bool fills = p.buttonStyleColors != 0;
  auto borders = [&](OleColor rest, OleColor hover, OleColor down) {
    props_.borderColor = rest;
    props_.borderColorHover = hover;
    props_.borderColorPressed = down;
  };
  switch (p.buttonStyle) {
    case 1:
    case 2: borders(0x80000015, 0x80000015, 0x80000014); break;
    case 3: borders(p.backColor, 0x80000015, 0x80000014); break;
    case 4: borders(0x80000010, 0x80000010, 0x80000010); break;
    case 5: {
      borders(0x8000000F, 0, 0);
      StyleFill f = look == Look::Pressed    ? StyleFill{0xA57F71, p.backColorPressed}
                    : look == Look::Hovering ? StyleFill{0xAC9891, p.backColorHover}
                                             : StyleFill{p.backColor, p.backColor};
      if (fills) GradientPair(dc, true, 0, r(h), f.x, r(w), 0, f.y);
      break;
    }
    case 6: {
      borders(0, 0, 0);
      StyleFill f = look == Look::Pressed    ? StyleFill{p.backColor, 0xE0E6E6}
                    : look == Look::Disabled ? StyleFill{0xDBE7E7, 0xDBE7E7}
                                             : StyleFill{p.backColor, p.backColorPressed};
      if (look == Look::Disabled) props_.borderColor = 0x8DABAB;
      if (fills) GradientPair(dc, true, 0, r(h), f.x, r(w), 0, f.y);
      break;
    }
    case 7: {
      borders(0x8F8F8E, 0xB17F3C, 0x5C411D);
      StyleFill f = look == Look::Pressed    ? StyleFill{p.backColorPressed, 0xF8ECD5}
                    : look == Look::Hovering ? StyleFill{p.backColorHover, 0xFEFCF7}
                    : look == Look::Disabled ? StyleFill{0xF0F0F0, 0xF4F4F4}
                                             : StyleFill{p.backColor, 0xEFEFEF};
      if (look == Look::Disabled) props_.borderColor = 0xB5B2AD;
      if (!fills) break;
      if (IsPointedShape(p.buttonShape)) {
        GradientPair(dc, false, r(w / 1.5), 0, f.x, 0, r(h), f.y);
        GradientPair(dc, false, r(w / 2), r(h), f.x, r(w + 25), 0, f.y);
      } else {
        GradientPair(dc, true, 0, r(h / 1.5), f.x, r(w), 0, f.y);
        GradientPair(dc, true, 0, r(h / 2), f.x, r(w), r(h + 25), f.y);
      }
      break;
    }
    case 8: {
      borders(p.backColor, p.backColorHover, p.backColorPressed);
      StyleFill f = look == Look::Pressed    ? StyleFill{p.backColorPressed, 0xFFFFFF}
                    : look == Look::Hovering ? StyleFill{p.backColorHover, 0xFFFFFF}
                    : look == Look::Disabled ? StyleFill{0xA4B6B7, 0xFFFFFF}
                                             : StyleFill{p.backColor, 0xFFFFFF};
      if (look == Look::Disabled) props_.borderColor = 0xA4B6B7;
      if (!fills) break;
      if (IsPointedShape(p.buttonShape)) {
        GradientPair(dc, false, r(w), 0, f.x, r(-w / 6), r(h), f.y);
        GradientPair(dc, false, r(w / 2), r(h), f.x, r(w / 3 + w), 0, f.y);
      } else {
        GradientPair(dc, true, 0, r(h), f.x, r(w), r(-h / 6), f.y);
        GradientPair(dc, true, 0, r(h / 2), f.x, r(w), r(h / 3 + h), f.y);
      }
      break;
    }
    default: break;
  }
  if (Status st = r.status(); !st.ok()) return st;

  // 8. Picture, then caption.
  if (Status st = DrawPictureLayer(*this); !st.ok()) return st;
  if (Status st = DrawCaptionLayer(*this); !st.ok()) return st;

  // 9. The mask follows the back colour; the pen is the border colour of the state.
  sf.SetMaskColor(sf.BackColor());
  sf.SetForeColor(pressed_ ? p.borderColorPressed : Hovering() ? p.borderColorHover : p.borderColor);

  // 10. The face of the shape.
  if (FaceRenderer face = FaceRendererFor(p.buttonShape)) {
    if (Status st = face(*this); !st.ok()) return st;
  }

  // 11. Focus dots: pixels of the pen colour on two interleaved lattices turn
  // black. The comparison is with the stored value, so a system colour never
  // matches. Works on the image's pixels directly, with the same result as
  // reading and writing each pixel through GDI.
  const bool ownFocusLook = p.buttonStyle == 4 || p.buttonStyle == 6 || p.buttonStyle == 7;
  if (!ownFocusLook && p.focusRect && focused_ && !IsSystemColor(sf.ForeColor())) {
    const std::uint32_t pen = ColorRefToDib(sf.ForeColor());
    std::uint32_t* px = sf.Pixels();
    const int iw = sf.ScaleWidth();
    const LONG lastX3 = r(w - 3), lastY3 = r(h - 3), lastX2 = r(w - 2), lastY2 = r(h - 2);
    auto lattice = [&](LONG start, LONG lastX, LONG lastY) {
      for (LONG x = start; x <= lastX; x += 2)
        for (LONG y = start; y <= lastY; y += 2) {
          std::uint32_t& q = px[static_cast<std::size_t>(y) * iw + x];
          if ((q & 0x00FFFFFFu) == pen) q = 0;
        }
    };
    lattice(3, lastX3, lastY3);
    lattice(2, lastX2, lastY2);
  }

  // 12. Style 4 marks focus with a box around the caption.
  if (!p.caption.empty() && p.buttonStyle == 4 && p.focusRect && focused_) {
    sf.SetForeColor(0xCC9999);
    const PixelBox& c = captionBox_;
    RoundRect(dc, c.left - 3, c.top - 2, c.left + c.width + 2, c.top + c.height + 2, 0, 0);
  }

  // 13. Drop-down arrow.
  if (p.dropDown != 0) {
    LONG x0 = 0, y0 = 0;
    if (p.dropDown == 1 || p.dropDown == 2) {
      x0 = p.dropDown == 1 ? 2 : r(w - 21);
      y0 = r(h / 2 - 8);
    }
    if (Status st = r.status(); !st.ok()) return st;
    sf.SetForeColor(0);
    for (const Polyline3& line : kChevrons) {
      MoveToEx(dc, x0 + line.p[0].x, y0 + line.p[0].y, nullptr);
      LineTo(dc, x0 + line.p[1].x, y0 + line.p[1].y);
      LineTo(dc, x0 + line.p[2].x, y0 + line.p[2].y);
    }
  }

  // 14. Commit: the image becomes the mask picture and is shown at once.
  sf.CommitMaskPicture();
  sf.Refresh();
  return kOk;
}

}  // namespace vantorel

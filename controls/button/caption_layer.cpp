#include "button/button.h"
#include "button/layers.h"
#include "button/paint_math.h"

namespace vantorel::controls {

namespace {

// Text is measured and drawn in UTF-16, so a caption outside the ANSI code page
// keeps its characters and its full length.
void Text(host::Surface& sf, const std::wstring& caption, LONG x, LONG y, host::OleColor color, host::OleColor& pen) {
  sf.SetForeColor(color);
  pen = color;
  TextOutW(sf.Hdc(), x, y, caption.c_str(), static_cast<int>(caption.size()));
}

// Pixels of the caption box (plus one column and row) that have the drawing
// colour as stored are recoloured by their place on the whole control. A system
// colour never matches, so a disabled caption is never graded.
host::Status Grade(host::Surface& sf, const PixelBox& box, int style, host::Rgb s, host::Rgb f, host::OleColor pen) {
  if (host::IsSystemColor(pen)) return host::kOk;
  const std::uint32_t match = host::ColorRefToDib(pen);
  const double W = sf.ScaleWidth(), H = sf.ScaleHeight();
  const int iw = sf.ScaleWidth(), ih = sf.ScaleHeight();
  std::uint32_t* px = sf.Pixels();
  Rounder r;
  for (std::int64_t k = box.left; k <= static_cast<std::int64_t>(box.left) + box.width; ++k) {
    if (k < 0 || k >= iw) continue;
    for (std::int64_t l = box.top; l <= static_cast<std::int64_t>(box.top) + box.height; ++l) {
      if (l < 0 || l >= ih) continue;
      std::uint32_t& q = px[l * iw + k];
      if ((q & 0x00FFFFFFu) != match) continue;
      LONG red, green, blue;
      if (style == kCaptionGradedAcross) {
        red = r(f.r + k * (s.r - f.r) / W);
        green = r(f.g + k * (s.g - f.g) / W);
        blue = f.b + r((s.b - f.b) / W * k);
      } else {
        red = r(s.r + l * (f.r - s.r) / H);
        green = r(s.g + l * (f.g - s.g) / H);
        blue = s.b + r((f.b - s.b) / H * l);
      }
      q = host::ColorRefToDib(RGB(red, green, blue));
    }
  }
  return r.status();
}

}  // namespace

host::Status DrawCaptionLayer(host::Surface& sf, const ButtonProps& p, const PaintState& state, const PixelBox& box,
                              host::OleColor& pen) {
  const std::wstring& caption = p.caption;
  const LONG x = box.left, y = box.top;
  if (state.enabled) {
    const host::OleColor m = state.pressed ? p.foreColorPressed : state.hovering ? p.foreColorHover : p.foreColor;
    const host::OleColor e = p.effectColor;
    const LONG o = state.pressed ? 1 : 0;  // a pressed caption moves one pixel down and right
    switch (p.captionEffect) {
      case kEffectNone: Text(sf, caption, x + o, y + o, m, pen); break;
      case kEffectRaised:
        Text(sf, caption, x + o - 1, y + o - 1, e, pen);
        Text(sf, caption, x + o, y + o, m, pen);
        break;
      case kEffectShadow:
        Text(sf, caption, x + o + 1, y + o + 1, e, pen);
        Text(sf, caption, x + o, y + o, m, pen);
        break;
      case kEffectOutline:
        for (LONG dx = -1; dx <= 1; ++dx)
          for (LONG dy = -1; dy <= 1; ++dy) Text(sf, caption, x + dx + o, y + dy + o, e, pen);
        Text(sf, caption, x + o, y + o, m, pen);
        break;
      default: break;  // no text
    }
  } else {
    const std::int32_t style = p.buttonStyle;
    const bool engraved = style != kStyleEtched && style != kStyleGlow && style != kStyleGlass && style != kStyleSheen;
    if (engraved) Text(sf, caption, x + 1, y + 1, 0x80000014, pen);
    Text(sf, caption, x, y, 0x80000010, pen);
  }

  // Graded captions run from ForeColor to the state colour, which at rest is
  // ForeColorPressed.
  if (p.captionStyle == kCaptionGradedAcross || p.captionStyle == kCaptionGradedDown) {
    const host::Rgb s = host::SplitColor(state.pressed    ? p.foreColorPressed
                                         : state.hovering ? p.foreColorHover
                                                          : p.foreColorPressed);
    const host::Rgb f = host::SplitColor(p.foreColor);
    return Grade(sf, box, p.captionStyle, s, f, pen);
  }
  return host::kOk;
}

}  // namespace vantorel::controls

#pragma once

// What the tests of vbButton's faces share: scheme 3's fixed grey palette and
// the shades the faces make of it, the design-time size, a button made in one
// of its looks, and where a colour lies on it.
#include <windows.h>

#include "vbbutton/color_math.h"
#include "vbbutton_support.h"

namespace vantorel::controls::test::vb_faces {

// Scheme 3's palette, and the shades the faces make of it.
inline constexpr COLORREF F = 0xC0C0C0, L = 0xDFDFDF, HL = 0xFFFFFF, SH = 0x808080, DK = 0;
inline constexpr COLORREF kSelection = 0x00800000, kSelectionLight = 0x00D1ADAD;
inline constexpr int W = 87, H = 32;

enum class Look { Normal, Hot, Pressed, Disabled, Focused, Default, PressedDefault };

inline COLORREF Grey(int v) { return RGB(v, v, v); }
// shift() as the faces use it: type 3 moves blue in proportion.
inline COLORREF Shift(COLORREF c, int d, int type = 0) { return vb::Shift(c, d, false, type == 3); }

inline vbButton* Make(host::test::TestParent& parent, int type, Look look, const wchar_t* caption = L"") {
  host::HostPlacement p = VbPlacement(parent.hwnd());
  p.ambient.displayAsDefault = look == Look::Default || look == Look::PressedDefault;
  vbButton* b = vbButton::Create(p);
  b->SetColorScheme(3);
  b->SetCaption(caption);
  b->SetButtonType(type);
  switch (look) {
    case Look::Hot: b->ShowAs(true, false); break;
    case Look::Pressed:
    case Look::PressedDefault: b->Draw(vb::kLookPressed, true); break;
    case Look::Disabled: b->SetEnabled(false); break;
    case Look::Focused: b->ShowAs(false, true); break;
    default: break;
  }
  return b;
}

// The smallest box holding every pixel of a colour inside the area (inside the
// faces' edges by default, so only the caption counts).
inline host::test::Bounds BoundsOf(vbButton* b, COLORREF c, RECT area = {4, 4, W - 4, H - 4}) {
  return host::test::ColourBounds(b, c, area);
}

}  // namespace vantorel::controls::test::vb_faces

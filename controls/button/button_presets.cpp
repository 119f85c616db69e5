#include "button/button.h"

namespace vantorel::controls {

namespace {

struct FaceColors {
  host::OleColor back;
  host::OleColor hover;
  host::OleColor pressed;
};

// Face colours per ButtonStyle 1 to 8.
constexpr FaceColors kStylePresets[] = {
    {0x8000000F, 0x8000000F, 0x8000000F},  // 1
    {0x8000000F, 0x8000000F, 0x8000000F},  // 2
    {0x8000000F, 0x8000000F, 0x8000000F},  // 3
    {0x8000000F, 0x8000000F, 0x00999999},  // 4
    {0x8000000F, 0x00B6A59F, 0x00AF8C80},  // 5
    {0x00D2DEDD, 0x00FFFFFF, 0x00FFFFFF},  // 6
    {0x00D8D8D8, 0x00F7DBA5, 0x00EFCE92},  // 7
    {0x80000001, 0x80000001, 0x80000001},  // 8
};

struct ThemeColors {
  FaceColors face;
  host::OleColor border;
};

// Face and border colours per ButtonTheme 1 to 8.
constexpr ThemeColors kThemePresets[] = {
    {{0x00F1B39A, 0x00FDF7F4, 0x00FAE6DD}, 0x00F1B39A},  // 1
    {{0x003DB4A2, 0x00DFF4F2, 0x00B8E7E0}, 0x003DB4A2},  // 2
    {{0x00B5A09D, 0x00F7F5F4, 0x00ECE7E6}, 0x00B5A09D},  // 3
    {{0x00ABC2C2, 0x00F2F8F8, 0x00E6EDEE}, 0x00ABC2C2},  // 4
    {{0x0002C5F5, 0x00E2F9FF, 0x00AFEFFE}, 0x0002C5F5},  // 5
    {{0x0026368B, 0x004763FF, 0x00425CEE}, 0x000000FF},  // 6
    {{0x00578B2E, 0x009FFF54, 0x0080CD43}, 0x0000FF00},  // 7
    {{0x008B4027, 0x00FF7648, 0x00CD5F3A}, 0x00FF0000},  // 8
};

}  // namespace

// The preset colours are assigned without a notification each: the host has
// already been told that the style or theme changed.
void Button::ApplyStylePreset() {
  std::int32_t style = props_.buttonStyle;
  if (style < kStyleClassicBevel || style > kStyleSheen) return;
  const FaceColors& c = kStylePresets[style - 1];
  props_.backColor = c.back;
  props_.backColorHover = c.hover;
  props_.backColorPressed = c.pressed;
  if (style == kStyleEtched && props_.buttonStyleColors != kFillNone) props_.buttonStyleColors = kFillSolid;
  if (style == kStyleGlow && props_.buttonStyleColors != kFillNone) props_.buttonStyleColors = kFillDown;
}

void Button::ApplyThemePreset() {
  std::int32_t theme = props_.buttonTheme;
  if (theme < 1 || theme > 8) return;
  const ThemeColors& c = kThemePresets[theme - 1];
  props_.backColor = c.face.back;
  props_.backColorHover = c.face.hover;
  props_.backColorPressed = c.face.pressed;
  props_.borderColor = c.border;
  props_.borderColorHover = c.border;
  props_.borderColorPressed = c.border;
}

}  // namespace vantorel::controls

#pragma once

#include <cstdint>
#include <string>

#include "button/stored_values.h"
#include "host/color.h"
#include "host/picture.h"

namespace vantorel::controls {

// The stored properties of a Button; a default-constructed set holds the values of
// a new instance (apart from the caption) and the defaults used when saving and loading.
struct ButtonProps {
  std::int32_t buttonShape = kShapeRectangle;
  std::int32_t buttonStyle = kStyleClassicBevel;
  std::int32_t buttonStyleColors = kFillSolid;
  std::int32_t buttonTheme = 0;
  std::int32_t buttonType = kPushButton;
  std::int32_t captionAlignment = kAlignCentre;
  std::int32_t captionEffect = kEffectNone;
  std::int32_t captionStyle = kCaptionPlain;
  std::int32_t dropDown = kNoDropDown;
  std::int32_t pictureAlignment = kAlignCentre;
  host::OleColor backColor = 0x8000000F;
  host::OleColor backColorPressed = 0x8000000F;
  host::OleColor backColorHover = 0x8000000F;
  host::OleColor borderColor = 0x000000;
  host::OleColor borderColorPressed = 0x000000;
  host::OleColor borderColorHover = 0x000000;
  host::OleColor foreColor = 0x000000;
  host::OleColor foreColorPressed = 0x0000FF;
  host::OleColor foreColorHover = 0xFF0000;
  host::OleColor effectColor = 0xFFFFFF;
  std::wstring caption = L"Button";
  bool focusRect = true;
  bool value = false;
  bool handPointer = false;
  host::PictureRef picture;
  bool pictureGray = false;
};

}  // namespace vantorel::controls

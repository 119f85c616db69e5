#pragma once

#include <cstdint>
#include <string>

#include "host/color.h"
#include "host/picture.h"

namespace vantorel::controls {

// The stored properties of a vbButton; a default-constructed set holds the load
// fallbacks (the colours of a new control come from its colour scheme).
struct vbButtonProps {
  host::OleColor backColor = 0;
  host::OleColor backOver = 0;
  host::OleColor foreColor = 0;
  host::OleColor foreOver = 0;
  host::OleColor maskColor = 0x00C0C0C0;
  std::int32_t buttonType = 2;
  std::wstring caption;
  std::int32_t colorScheme = 1;
  bool showFocusRect = true;
  bool handPointer = false;
  bool softBevel = false;
  host::PictureRef pictureNormal;
  host::PictureRef pictureOver;
  std::int32_t picturePosition = 0;
  bool useMaskColor = true;
  bool useGreyscale = false;
  std::int32_t specialEffect = 0;
  bool checkBoxBehaviour = false;
  bool value = false;
};

}  // namespace vantorel::controls

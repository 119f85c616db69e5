#pragma once

#include <windows.h>

#include "host/picture.h"
#include "vbbutton/picture_render.h"

namespace vantorel::controls::vb {

// A picture converted to pixels once and kept until the picture or the mask
// colour changes: a bitmap is copied as it is; an icon or a cursor is first drawn
// onto a bitmap filled with the mask colour, so its transparent parts match it.
class PictureCache {
 public:
  const PicturePixels& Get(const host::PictureRef& picture, COLORREF mask);
  void Reset();

 private:
  const host::Picture* source_ = nullptr;
  COLORREF mask_ = 0;
  PicturePixels pixels_;
};

}  // namespace vantorel::controls::vb

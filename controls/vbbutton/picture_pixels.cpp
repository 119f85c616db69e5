#include "vbbutton/picture_pixels.h"

#include <cstring>

#include "host/surface.h"

namespace vantorel::controls::vb {

namespace {

PicturePixels Convert(const host::Picture& picture, COLORREF mask) {
  PicturePixels out;
  int w = picture.WidthPixels();
  int h = picture.HeightPixels();
  if (w <= 0 || h <= 0) return out;
  host::DibImage image(w, h);
  if (!image.ok()) return out;
  HDC dc = image.dc();
  if (picture.kind() != host::Picture::Kind::Bitmap) {
    SetDCBrushColor(dc, mask);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  picture.Draw(dc, 0, 0);
  GdiFlush();
  out.width = w;
  out.height = h;
  out.pixels.resize(static_cast<std::size_t>(w) * h);
  std::memcpy(out.pixels.data(), image.bits(), out.pixels.size() * 4);
  return out;
}

}  // namespace

const PicturePixels& PictureCache::Get(const host::PictureRef& picture, COLORREF mask) {
  if (!picture) {
    Reset();
    return pixels_;
  }
  bool maskMatters = picture->kind() != host::Picture::Kind::Bitmap;
  if (picture.get() != source_ || (maskMatters && mask != mask_)) {
    pixels_ = Convert(*picture, mask);
    source_ = picture.get();
    mask_ = mask;
  }
  return pixels_;
}

void PictureCache::Reset() {
  source_ = nullptr;
  pixels_ = PicturePixels{};
}

}  // namespace vantorel::controls::vb

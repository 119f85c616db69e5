#include "host/dib_image.h"

namespace vantorel::host {

HBITMAP CreateTopDownDib32(int width, int height, std::uint32_t** bits) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &raw, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(raw);
  return bitmap;
}

DibImage::DibImage(int width, int height)
    : dc_(nullptr), bitmap_(CreateTopDownDib32(width, height, &bits_)), selected_(dc_.get(), bitmap_.get()) {}

}  // namespace vantorel::host

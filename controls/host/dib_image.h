#pragma once

#include <windows.h>

#include <cstdint>

#include "host/gdi_guards.h"

namespace vantorel::host {

// A 32-bit DIB section whose row 0 is the top row, so pixel (x, y) is
// bits[y * width + x] (0x00RRGGBB). Null when it cannot be made; the caller
// owns it.
HBITMAP CreateTopDownDib32(int width, int height, std::uint32_t** bits);

// A 32-bit DIB section whose row 0 is the top row (pixel (x, y) is
// bits()[y * width + x], 0x00RRGGBB), selected into its own memory DC for as
// long as the image lives.
class DibImage {
 public:
  DibImage(int width, int height);
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;

  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  std::uint32_t* bits() const { return bits_; }
  bool ok() const { return dc_ && bitmap_ && bits_; }

 private:
  std::uint32_t* bits_ = nullptr;
  MemoryDc dc_;
  GdiObject<HBITMAP> bitmap_;
  ScopedSelect selected_;
};

}  // namespace vantorel::host

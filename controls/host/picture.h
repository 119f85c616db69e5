#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/gdi_guards.h"

namespace vantorel::host {

// A picture object: a bitmap, an icon or a cursor, kept together with the file
// bytes it came from so that it can be saved again unchanged.
class Picture {
 public:
  enum class Kind { Bitmap, Icon, Cursor };

  // Reads a .bmp, .ico or .cur file image (the first image of an icon or cursor
  // file). On failure returns null and says why in *error.
  static std::shared_ptr<Picture> FromBytes(std::span<const std::uint8_t> bytes, std::wstring* error);
  // Takes a copy of a bitmap's pixels (the bitmap stays the caller's).
  static std::shared_ptr<Picture> FromBitmap(HBITMAP bitmap);

  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  Kind kind() const { return kind_; }
  int WidthPixels() const { return width_; }
  int HeightPixels() const { return height_; }
  // Natural size in HIMETRIC (0.01 mm) at the screen's resolution.
  int WidthHimetric() const;
  int HeightHimetric() const;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  HBITMAP Bitmap() const { return bitmap_.get(); }
  // The icon or cursor handle; null for a bitmap.
  HICON Icon() const { return icon_; }

  // Draws the picture at its natural size with its top-left corner at (x, y).
  bool Draw(HDC dc, int x, int y) const;

 private:
  Picture() = default;

  Kind kind_ = Kind::Bitmap;
  int width_ = 0;
  int height_ = 0;
  GdiObject<HBITMAP> bitmap_;
  HICON icon_ = nullptr;
  std::vector<std::uint8_t> bytes_;
};

using PictureRef = std::shared_ptr<Picture>;

}  // namespace vantorel::host

#include "host/picture.h"

#include <cstring>

#include "host/gdi_guards.h"
#include "host/screen.h"
#include "host/units.h"

namespace vantorel::host {

namespace {

std::uint32_t Get16(std::span<const std::uint8_t> b, std::size_t off) {
  return static_cast<std::uint32_t>(b[off] | (b[off + 1] << 8));
}
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t off) {
  return Get16(b, off) | (Get16(b, off + 2) << 16);
}
void Put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Fits exactly when off + n == len; written so that it cannot overflow.
bool Fits(std::size_t len, std::size_t off, std::size_t n) { return off <= len && n <= len - off; }

}  // namespace

Picture::~Picture() {
  if (icon_) DestroyIcon(icon_);
}

int Picture::WidthHimetric() const {
  return RoundLength(PixelsToHimetric(width_, ScreenPixelsPerInch().x));
}
int Picture::HeightHimetric() const {
  return RoundLength(PixelsToHimetric(height_, ScreenPixelsPerInch().y));
}

std::shared_ptr<Picture> Picture::FromBytes(std::span<const std::uint8_t> b, std::wstring* error) {
  std::shared_ptr<Picture> pic(new Picture);
  pic->bytes_.assign(b.begin(), b.end());

  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') {
    if (b.size() < 14 + 40) {
      *error = L"bitmap file too short";
      return nullptr;
    }
    std::uint32_t offBits = Get32(b, 10);
    std::uint32_t headerSize = Get32(b, 14);
    if (headerSize < 40 || !Fits(b.size(), 14, headerSize)) {
      *error = L"unsupported bitmap header";
      return nullptr;
    }
    auto width = static_cast<std::int32_t>(Get32(b, 18));
    auto height = static_cast<std::int32_t>(Get32(b, 22));
    std::uint32_t bpp = Get16(b, 28);
    std::uint32_t compression = Get32(b, 30);
    if (width <= 0 || height == 0 || width > 32767 || height < -32767 || height > 32767 ||
        (compression != BI_RGB && compression != BI_BITFIELDS) ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)) {
      *error = L"unsupported bitmap format";
      return nullptr;
    }
    std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (!Fits(b.size(), offBits, stride * rows)) {
      *error = L"bitmap pixels run past the end of the file";
      return nullptr;
    }
    if (offBits < 14 + headerSize) {
      *error = L"bitmap pixels overlap the header";
      return nullptr;
    }
    WindowDc screen;
    // The header and colour table are copied so that they are suitably aligned for GDI.
    std::vector<std::uint8_t> header(b.begin() + 14, b.begin() + offBits);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(header.data());
    pic->bitmap_.Reset(CreateDIBitmap(screen.get(), &bmi->bmiHeader, CBM_INIT, b.data() + offBits, bmi,
                                  DIB_RGB_COLORS));
    if (!pic->bitmap_) {
      *error = L"the bitmap could not be made";
      return nullptr;
    }
    pic->kind_ = Kind::Bitmap;
    pic->width_ = width;
    pic->height_ = static_cast<int>(rows);
    return pic;
  }

  if (b.size() >= 6 && Get16(b, 0) == 0 && (Get16(b, 2) == 1 || Get16(b, 2) == 2)) {
    bool cursor = Get16(b, 2) == 2;
    if (Get16(b, 4) == 0 || !Fits(b.size(), 6, 16)) {
      *error = L"icon file without images";
      return nullptr;
    }
    // The first image, as the icon file reader of the engine takes it.
    int w = b[6] == 0 ? 256 : b[6];
    int h = b[7] == 0 ? 256 : b[7];
    std::uint32_t hotX = Get16(b, 10);
    std::uint32_t hotY = Get16(b, 12);
    std::uint32_t size = Get32(b, 14);
    std::uint32_t offset = Get32(b, 18);
    if (size == 0 || !Fits(b.size(), offset, size)) {
      *error = L"the first image runs past the end of the file";
      return nullptr;
    }
    std::vector<std::uint8_t> res;
    if (cursor) {
      // A cursor resource starts with its hot spot; the file keeps it in the entry.
      Put16(res, hotX);
      Put16(res, hotY);
    }
    res.insert(res.end(), b.begin() + offset, b.begin() + offset + size);
    pic->icon_ = CreateIconFromResourceEx(res.data(), static_cast<DWORD>(res.size()), !cursor,
                                          0x00030000, w, h, LR_DEFAULTCOLOR);
    if (!pic->icon_) {
      *error = L"the first image is not a valid icon image";
      return nullptr;
    }
    pic->kind_ = cursor ? Kind::Cursor : Kind::Icon;
    pic->width_ = w;
    pic->height_ = h;
    return pic;
  }

  *error = L"not a bitmap, icon or cursor file";
  return nullptr;
}

std::shared_ptr<Picture> Picture::FromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = bm.bmHeight;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  std::size_t pixelBytes = static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight * 4;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(54 + pixelBytes);
  bytes.push_back('B');
  bytes.push_back('M');
  Put32(bytes, static_cast<std::uint32_t>(54 + pixelBytes));
  Put32(bytes, 0);
  Put32(bytes, 54);
  Put32(bytes, 40);
  Put32(bytes, static_cast<std::uint32_t>(bm.bmWidth));
  Put32(bytes, static_cast<std::uint32_t>(bm.bmHeight));
  Put16(bytes, 1);
  Put16(bytes, 32);
  Put32(bytes, BI_RGB);
  Put32(bytes, static_cast<std::uint32_t>(pixelBytes));
  Put32(bytes, 3780);  // 96 dpi in pixels per metre
  Put32(bytes, 3780);
  Put32(bytes, 0);
  Put32(bytes, 0);
  bytes.resize(54 + pixelBytes);
  WindowDc screen;
  if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), bytes.data() + 54, &bmi,
                DIB_RGB_COLORS) != bm.bmHeight)
    return nullptr;
  std::wstring error;
  return FromBytes(bytes, &error);
}

bool Picture::Draw(HDC dc, int x, int y) const {
  if (icon_) return DrawIconEx(dc, x, y, icon_, width_, height_, 0, nullptr, DI_NORMAL) != FALSE;
  MemoryDc mem(dc);
  if (!mem) return false;
  ScopedSelect bitmap(mem.get(), bitmap_.get());
  return BitBlt(dc, x, y, width_, height_, mem.get(), 0, 0, SRCCOPY) != FALSE;
}

}  // namespace vantorel::host

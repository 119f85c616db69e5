// The sizes that icon images and group entries describe, and which image of
// an icon file best shows a wanted size.
#include "icon_sizes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "icon_file.h"
#include "files/little_endian.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kBitmapInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kBiRgb = 0;                  // biCompression of a plain DIB
constexpr size_t kPngIhdrEnd = 26;  // signature, chunk length and type, width, height, depth, colour type

uint32_t Be32(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// Bits per pixel of a palette of `colors` entries (0: not said).
int BitsForColors(int colors) {
  int bits = 0;
  while (colors > 0 && (1 << bits) < colors) ++bits;
  return bits;
}

int PngChannels(uint8_t colour_type) {
  switch (colour_type) {
    case 0: return 1;  // grey
    case 2: return 3;  // RGB
    case 3: return 1;  // palette
    case 4: return 2;  // grey and alpha
    case 6: return 4;  // RGBA
    default: return 0;
  }
}

int64_t Area(const IconSize& s) { return int64_t{s.width} * s.height; }

// An unknown wanted depth asks for the richest image.
int BitsDistance(const IconSize& image, const IconSize& wanted) {
  return std::abs(image.bits - (wanted.bits ? wanted.bits : 32));
}

// The PNG signature is tested first: read as a bitmap's biSize, its first
// four bytes would pass for a large header.
bool IsBitmap(const uint8_t* b, size_t size) {
  return !IsPng(b, size) && size >= kBitmapInfoHeaderSize && Le32(b) >= kBitmapInfoHeaderSize;
}

}  // namespace

bool IsPng(const uint8_t* bytes, size_t size) {
  return size >= sizeof kPngSignature && std::memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0;
}

IconSize EntrySize(const SharedEntry& e) {
  IconSize s;
  s.width = e[0] ? e[0] : 256;
  s.height = e[1] ? e[1] : 256;
  s.bits = e[6] | e[7] << 8;
  if (s.bits == 0) s.bits = BitsForColors(e[2]);
  return s;
}

IconSize ImageHeaderSize(const uint8_t* b, size_t size) {
  IconSize s;
  if (IsBitmap(b, size)) {
    int32_t width = static_cast<int32_t>(Le32(b + 4));
    int32_t height = static_cast<int32_t>(Le32(b + 8));
    // The height counts the AND mask below the colour image.
    if (width > 0 && width <= 0xFFFF && height > 0 && height <= 0x1FFFF) {
      s.width = width;
      s.height = height / 2;
      s.bits = b[14] | b[15] << 8;
    }
    return s;
  }
  if (size >= kPngIhdrEnd && IsPng(b, size) && std::equal(b + 12, b + 16, "IHDR")) {
    uint32_t width = Be32(b + 16), height = Be32(b + 20);
    if (width > 0 && width <= 0xFFFF && height > 0 && height <= 0xFFFF) {
      s.width = static_cast<int>(width);
      s.height = static_cast<int>(height);
      s.bits = b[24] * PngChannels(b[25]);
    }
  }
  return s;
}

size_t ImageOwnBytes(const uint8_t* b, size_t size) {
  if (IsBitmap(b, size)) {
    IconSize s = ImageHeaderSize(b, size);
    // Compressed or bit-field bitmaps are taken whole.
    if (s.width == 0 || Le32(b + 16) != kBiRgb || s.bits == 0 || s.bits > 32) return size;
    uint64_t colours = Le32(b + 32) ? Le32(b + 32) : s.bits <= 8 ? uint64_t{1} << s.bits : 0;
    uint64_t row = (uint64_t{static_cast<uint32_t>(s.width)} * s.bits + 31) / 32 * 4;
    uint64_t mask_row = (uint64_t{static_cast<uint32_t>(s.width)} + 31) / 32 * 4;
    uint64_t own = Le32(b) + 4 * colours + (row + mask_row) * static_cast<uint32_t>(s.height);
    return own < size ? static_cast<size_t>(own) : size;
  }
  if (!IsPng(b, size)) return size;
  for (size_t at = 8; size - at >= 12;) {
    uint64_t end = uint64_t{at} + 12 + Be32(b + at);
    if (end > size) break;
    if (std::equal(b + at + 4, b + at + 8, "IEND")) return static_cast<size_t>(end);
    at = static_cast<size_t>(end);
  }
  return size;
}

IconSize DescribedSize(const IconImage& image) {
  SharedEntry shared;
  std::copy(image.entry_bytes.begin(), image.entry_bytes.begin() + kSharedEntryBytes, shared.begin());
  IconSize s = EntrySize(shared);
  if (s.bits == 0) s.bits = ImageHeaderSize(image.bytes.data(), image.bytes.size()).bits;
  return s;
}

size_t BestImage(const std::vector<IconSize>& images, const IconSize& wanted) {
  constexpr size_t kNone = static_cast<size_t>(-1);
  // `better(i, j)`: image i beats the best so far, j; the first wins ties.
  auto pick = [&](auto eligible, auto better) {
    size_t best = kNone;
    for (size_t i = 0; i < images.size(); ++i) {
      if (eligible(images[i]) && (best == kNone || better(images[i], images[best]))) best = i;
    }
    return best;
  };
  auto nearer_bits = [&](const IconSize& a, const IconSize& b) {
    return BitsDistance(a, wanted) < BitsDistance(b, wanted);
  };
  size_t same = pick([&](const IconSize& s) { return s.width == wanted.width && s.height == wanted.height; },
                     nearer_bits);
  if (same != kNone) return same;
  size_t larger = pick(
      [&](const IconSize& s) { return s.width >= wanted.width && s.height >= wanted.height; },
      [&](const IconSize& a, const IconSize& b) {
        return Area(a) < Area(b) || (Area(a) == Area(b) && nearer_bits(a, b));
      });
  if (larger != kNone) return larger;
  return pick([](const IconSize&) { return true; },
              [&](const IconSize& a, const IconSize& b) {
                return Area(a) > Area(b) || (Area(a) == Area(b) && nearer_bits(a, b));
              });
}

size_t NthBestImage(const std::vector<IconSize>& images, const IconSize& wanted, size_t nth) {
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i] == wanted && nth-- == 0) return i;
  }
  return BestImage(images, wanted);
}

int SizeRank(const IconSize& wanted) {
  constexpr int kShownMost[] = {16, 32, 48, 256};
  for (int i = 0; i < 4; ++i) {
    if (wanted.width == kShownMost[i] && wanted.height == kShownMost[i]) return i;
  }
  return 4;
}

}  // namespace vantorel::engine

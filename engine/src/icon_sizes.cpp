// The sizes that icon images and group entries describe, and which image of
// an icon file best shows a wanted size.
#include <algorithm>
#include <cstdlib>

#include "all_sizes.h"
#include "little_endian.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kBitmapInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
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

}  // namespace

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
  if (size >= kBitmapInfoHeaderSize && Le32(b) >= kBitmapInfoHeaderSize) {
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
  if (size >= kPngIhdrEnd && std::equal(kPngSignature, kPngSignature + 8, b) && std::equal(b + 12, b + 16, "IHDR")) {
    uint32_t width = Be32(b + 16), height = Be32(b + 20);
    if (width > 0 && width <= 0xFFFF && height > 0 && height <= 0xFFFF) {
      s.width = static_cast<int>(width);
      s.height = static_cast<int>(height);
      s.bits = b[24] * PngChannels(b[25]);
    }
  }
  return s;
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

// The sizes icon images and group entries describe, and which image best
// shows a size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "icon_file.h"

namespace vantorel::engine {

// Width and height in pixels and bits per pixel; 0 where nothing says.
struct IconSize {
  int width = 0, height = 0, bits = 0;
  bool operator==(const IconSize&) const = default;
};

// An icon image is a DIB or a PNG: the PNG signature tells them apart, and a
// picture given as the icon is recognised by it too, whatever its name.
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
bool IsPng(const uint8_t* bytes, size_t size);

// What a directory entry (of an icon file or a group) describes. A width or
// height byte of 0 means 256; a wBitCount of 0 is taken from bColorCount.
IconSize EntrySize(const SharedEntry& entry);

// What an image's own header says: a BITMAPINFOHEADER (whose height counts the
// mask too) or a PNG's IHDR. All 0 when the bytes are neither.
IconSize ImageHeaderSize(const uint8_t* bytes, size_t size);

// How many of `size` bytes the image itself takes: a plain DIB's header,
// colour table, colour and mask rows, or a PNG up to the end of its IEND
// chunk. `size` when the image says more, or nothing it can be sure of (a
// resource may hold bytes past its image: makensis pads each icon's place).
size_t ImageOwnBytes(const uint8_t* bytes, size_t size);

// An icon file's image as the choice sees it: its entry, with a bit count of
// 0 filled in from the image's own header.
IconSize DescribedSize(const IconImage& image);

// The image that best shows `wanted`: the same width and height with the
// nearest bit depth; else the nearest larger size; else the largest. Among
// equals the first in the list wins, so an icon file's duplicate sizes give
// their first image. `images` must not be empty.
size_t BestImage(const std::vector<IconSize>& images, const IconSize& wanted);

// As BestImage, for the `nth` (from 0) of several icons that want exactly
// `wanted`: the nth image of exactly that size and depth, when the file holds
// that many, so that two images of one size in a group each keep their icon.
size_t NthBestImage(const std::vector<IconSize>& images, const IconSize& wanted, size_t nth);

// How much a size matters when the room cannot hold every image: the sizes
// Windows shows most (16, 32, 48 and 256 pixels square, in that order) rank
// 0 to 3, every other size 4. Lower is more important.
int SizeRank(const IconSize& wanted);

}  // namespace vantorel::engine

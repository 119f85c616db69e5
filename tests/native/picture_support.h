// Pictures for the tests: PNGs of every colour type written with zlib (stb's
// writer makes only 8-bit, non-interlaced ones), and the made icon read back
// image by image, each as R G B A pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pe_builder.h"

namespace vantorel::engine::test {

using Rgba = std::array<uint8_t, 4>;

// One PNG to write: `samples` holds each pixel's samples (1 to 4 per pixel,
// as the colour type has them; a palette index for type 3) at `depth` bits,
// rows top first.
struct PngLayout {
  int width = 1, height = 1;
  uint8_t colour_type = 6, depth = 8;
  bool interlaced = false;
  std::vector<uint16_t> samples;
  std::vector<Rgba> palette;  // type 3: PLTE, with tRNS when an alpha is not 255
};

// The file, chunks with their CRCs, the image data deflated by zlib.
Bytes WritePng(const PngLayout& layout);

// A PNG of one colour (R G B A, 8 bits) in the colour type and depth given:
// grey types take R as the grey, 16-bit ones each value times 257.
PngLayout Flat(int width, int height, uint8_t colour_type, uint8_t depth, bool interlaced, Rgba colour);

// An 8-bit RGBA PNG written by stb_image_write.
Bytes StbPng(int width, int height, const std::vector<Rgba>& pixels);

// One image of an icon file as the tests read it back.
struct ReadImage {
  int width = 0, height = 0;  // as the directory entry describes it
  bool png = false;
  std::vector<Rgba> pixels;   // top row first
  std::vector<bool> mask;     // the AND mask of a DIB (true: transparent), top row first
  uint32_t header_height = 0; // a DIB's biHeight
  uint16_t bits = 0;          // the entry's wBitCount
};

// Every image of the icon file, in directory order; the DIB read as the
// format lays it out (bottom-up BGRA rows, then mask rows padded to 32 bits).
std::vector<ReadImage> ReadIcon(const Bytes& ico);

// The sRGB code (0 to 255, not rounded) of a linear light value.
double SrgbCode(double linear);

}  // namespace vantorel::engine::test

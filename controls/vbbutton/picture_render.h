#pragma once

// The per-pixel picture passes of vbButton, working on 32-bit pixels in memory
// (0x00RRGGBB, rows top-down): no GDI call, so they are tested on their own.
#include <cstdint>
#include <vector>

namespace vantorel::controls::vb {

// A picture as 32-bit pixels of its natural size.
struct PicturePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
};

// The image a picture is drawn onto.
struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

enum class PictureMode {
  Silhouette,      // every picture pixel becomes the colour
  DarkSilhouette,  // only pixels whose red + green + blue is at most 384
  Greyscale,       // grey of the pixel's weighted brightness
  Faded,           // two parts picture, one part what lies beneath
  Plain,           // the picture as it is
};

struct RenderOptions {
  PictureMode mode = PictureMode::Plain;
  std::uint32_t colour = 0;  // for the silhouettes, 0x00RRGGBB
  bool useMask = true;       // pixels equal to mask are left out
  std::uint32_t mask = 0;    // 0x00RRGGBB
};

// Draws the picture with its top-left corner at (x, y); pixels falling outside
// the target are skipped.
void RenderPicture(PixelTarget target, const PicturePixels& picture, int x, int y, const RenderOptions& options);

// The grey level of a pixel: 0.59 green + round(0.30 red) + 0.11 blue, rounded
// to the nearest integer, halves to even.
int GreyLevel(std::uint32_t pixel);

}  // namespace vantorel::controls::vb

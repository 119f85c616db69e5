#include "vbbutton/picture_render.h"

#include <cmath>

namespace vantorel::controls::vb {

namespace {

int R(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
int G(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
int B(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
std::uint32_t Pack(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

std::uint32_t Blend(std::uint32_t picture, std::uint32_t under, const RenderOptions& o) {
  switch (o.mode) {
    case PictureMode::Silhouette: return o.colour;
    case PictureMode::DarkSilhouette: return R(picture) + G(picture) + B(picture) <= 384 ? o.colour : under;
    case PictureMode::Greyscale: {
      int v = GreyLevel(picture);
      return Pack(v, v, v);
    }
    case PictureMode::Faded:
      return Pack((2 * R(picture) + R(under)) / 3, (2 * G(picture) + G(under)) / 3, (2 * B(picture) + B(under)) / 3);
    case PictureMode::Plain: break;
  }
  return picture;
}

}  // namespace

int GreyLevel(std::uint32_t p) {
  double red = std::nearbyint(0.30 * R(p));
  int v = static_cast<int>(std::nearbyint(0.59 * G(p) + red + 0.11 * B(p)));
  return v > 255 ? 255 : v;
}

void RenderPicture(PixelTarget target, const PicturePixels& picture, int x, int y, const RenderOptions& o) {
  if (!target.pixels || picture.empty()) return;
  for (int py = 0; py < picture.height; ++py) {
    int ty = y + py;
    if (ty < 0 || ty >= target.height) continue;
    const std::uint32_t* src = picture.pixels.data() + static_cast<std::size_t>(py) * picture.width;
    std::uint32_t* dst = target.pixels + static_cast<std::size_t>(ty) * target.width;
    for (int px = 0; px < picture.width; ++px) {
      int tx = x + px;
      if (tx < 0 || tx >= target.width) continue;
      std::uint32_t p = src[px] & 0x00FFFFFFu;
      if (o.useMask && p == o.mask) continue;
      dst[tx] = Blend(p, dst[tx] & 0x00FFFFFFu, o);
    }
  }
}

}  // namespace vantorel::controls::vb

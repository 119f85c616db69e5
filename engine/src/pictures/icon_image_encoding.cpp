// The two forms of a 32-bit icon image: a PNG, which Windows reads from
// Vista on and which keeps a 256-pixel image small, and the DIB every Windows
// version reads: a BITMAPINFOHEADER, the colour pixels, then the AND mask.
#include <new>

#include <stb_image_write.h>

#include "files/little_endian.h"
#include "picture.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kBitmapInfoHeaderSize = 40;

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> PngIconImage(const std::vector<uint8_t>& rgba, int size) {
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(Append, &png, size, size, 4, rgba.data(), size * 4)) throw std::bad_alloc();
  return png;
}

std::vector<uint8_t> DibIconImage(const std::vector<uint8_t>& rgba, int size) {
  const size_t side = static_cast<size_t>(size);
  const size_t colour_bytes = side * side * 4;
  // Each mask row is padded to a multiple of 32 bits.
  const size_t mask_row = (side + 31) / 32 * 4;
  std::vector<uint8_t> out(kBitmapInfoHeaderSize + colour_bytes + mask_row * side, 0);
  PutLe(out, 0, kBitmapInfoHeaderSize, 4);  // biSize
  PutLe(out, 4, static_cast<uint32_t>(size), 4);      // biWidth
  PutLe(out, 8, static_cast<uint32_t>(2 * size), 4);  // biHeight: the colour pixels and the mask
  PutLe(out, 12, 1, 2);                               // biPlanes
  PutLe(out, 14, 32, 2);                              // biBitCount; biCompression 0: BI_RGB
  PutLe(out, 20, static_cast<uint32_t>(colour_bytes + mask_row * side), 4);  // biSizeImage
  uint8_t* colour = out.data() + kBitmapInfoHeaderSize;
  uint8_t* mask = colour + colour_bytes;
  for (size_t y = 0; y < side; ++y) {
    // Rows go bottom-up.
    const uint8_t* from = rgba.data() + (side - 1 - y) * side * 4;
    uint8_t* to = colour + y * side * 4;
    for (size_t x = 0; x < side; ++x, from += 4, to += 4) {
      if (from[3] == 0) {
        // Where the mask shows the background, the colour must be black: a
        // system that draws with the mask XORs it over what is there.
        mask[y * mask_row + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        continue;
      }
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
      to[3] = from[3];
    }
  }
  return out;
}

}  // namespace vantorel::engine

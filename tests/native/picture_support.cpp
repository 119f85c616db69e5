#include "picture_support.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>

#include <stb_image.h>
#include <stb_image_write.h>

namespace vantorel::engine::test {
namespace {

void PutBe32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

int Channels(uint8_t colour_type) {
  return colour_type == 2 ? 3 : colour_type == 4 ? 2 : colour_type == 6 ? 4 : 1;
}

// The filtered rows (filter type 0) of the pixels whose columns and rows the
// pass picks.
void Rows(const PngLayout& s, int x0, int y0, int dx, int dy, Bytes& raw) {
  int channels = Channels(s.colour_type);
  for (int y = y0; y < s.height; y += dy) {
    if (x0 >= s.width) return;
    raw.push_back(0);
    uint32_t bits = 0;
    int have = 0;
    for (int x = x0; x < s.width; x += dx) {
      for (int c = 0; c < channels; ++c) {
        uint16_t v = s.samples[static_cast<size_t>((y * s.width + x) * channels + c)];
        if (s.depth == 16) {
          raw.push_back(static_cast<uint8_t>(v >> 8));
          raw.push_back(static_cast<uint8_t>(v));
          continue;
        }
        bits = bits << s.depth | v;
        have += s.depth;
        if (have == 8) {
          raw.push_back(static_cast<uint8_t>(bits));
          bits = 0;
          have = 0;
        }
      }
    }
    if (have) raw.push_back(static_cast<uint8_t>(bits << (8 - have)));
  }
}

uint16_t Scaled(uint8_t v, uint8_t depth) { return depth == 16 ? static_cast<uint16_t>(v * 257) : v >> (8 - depth); }

}  // namespace

Bytes WritePng(const PngLayout& s) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  PutBe32(ihdr, static_cast<uint32_t>(s.width));
  PutBe32(ihdr, static_cast<uint32_t>(s.height));
  ihdr.insert(ihdr.end(), {s.depth, s.colour_type, 0, 0, static_cast<uint8_t>(s.interlaced)});
  Chunk(out, "IHDR", ihdr);
  if (!s.palette.empty()) {
    Bytes plte, trns;
    for (const Rgba& c : s.palette) {
      plte.insert(plte.end(), c.begin(), c.begin() + 3);
      trns.push_back(c[3]);
    }
    Chunk(out, "PLTE", plte);
    Chunk(out, "tRNS", trns);
  }
  Bytes raw;
  if (!s.interlaced) {
    Rows(s, 0, 0, 1, 1, raw);
  } else {
    // Adam7: x origin, y origin, x step, y step of each pass.
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : passes) Rows(s, p[0], p[1], p[2], p[3], raw);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes idat(size);
  if (compress2(idat.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    throw std::runtime_error("zlib failed");
  }
  idat.resize(size);
  Chunk(out, "IDAT", idat);
  Chunk(out, "IEND", {});
  return out;
}

PngLayout Flat(int width, int height, uint8_t colour_type, uint8_t depth, bool interlaced, Rgba colour) {
  PngLayout s{width, height, colour_type, depth, interlaced, {}, {}};
  std::vector<uint16_t> pixel;
  switch (colour_type) {
    case 0: pixel = {Scaled(colour[0], depth)}; break;
    case 2: pixel = {Scaled(colour[0], depth), Scaled(colour[1], depth), Scaled(colour[2], depth)}; break;
    case 3:
      // Index 1 of a palette whose entry 0 is some other colour.
      s.palette = {Rgba{9, 9, 9, 255}, colour};
      pixel = {1};
      break;
    case 4: pixel = {Scaled(colour[0], depth), Scaled(colour[3], depth)}; break;
    default:
      pixel = {Scaled(colour[0], depth), Scaled(colour[1], depth), Scaled(colour[2], depth), Scaled(colour[3], depth)};
  }
  for (int i = 0; i < width * height; ++i) s.samples.insert(s.samples.end(), pixel.begin(), pixel.end());
  return s;
}

Bytes StbPng(int width, int height, const std::vector<Rgba>& pixels) {
  Bytes out;
  auto append = [](void* context, void* data, int size) {
    auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
  };
  if (!stbi_write_png_to_func(append, &out, width, height, 4, pixels.data(), width * 4)) {
    throw std::runtime_error("stb_image_write failed");
  }
  return out;
}

std::vector<ReadImage> ReadIcon(const Bytes& ico) {
  std::vector<ReadImage> images;
  for (uint16_t i = 0; i < Get16(ico, 4); ++i) {
    size_t entry = 6 + 16u * i;
    ReadImage r;
    r.width = ico[entry] ? ico[entry] : 256;
    r.height = ico[entry + 1] ? ico[entry + 1] : 256;
    r.bits = Get16(ico, entry + 6);
    const uint8_t* image = ico.data() + Get32(ico, entry + 12);
    int size = static_cast<int>(Get32(ico, entry + 8));
    r.png = size >= 8 && image[0] == 0x89 && image[1] == 'P';
    if (r.png) {
      int w = 0, h = 0, n = 0;
      stbi_uc* px = stbi_load_from_memory(image, size, &w, &h, &n, 4);
      if (!px || w != r.width || h != r.height) throw std::runtime_error("an icon PNG does not decode");
      for (int p = 0; p < w * h; ++p) r.pixels.push_back({px[4 * p], px[4 * p + 1], px[4 * p + 2], px[4 * p + 3]});
      stbi_image_free(px);
    } else {
      Bytes dib(image, image + size);
      r.header_height = Get32(dib, 8);
      size_t mask_row = (static_cast<size_t>(r.width) + 31) / 32 * 4;
      const uint8_t* colour = image + Get32(dib, 0);
      const uint8_t* mask = colour + size_t{4} * r.width * r.height;
      for (int y = r.height - 1; y >= 0; --y) {
        for (int x = 0; x < r.width; ++x) {
          const uint8_t* p = colour + 4 * (static_cast<size_t>(y) * r.width + x);
          r.pixels.push_back({p[2], p[1], p[0], p[3]});
          r.mask.push_back(mask[y * mask_row + x / 8] & (0x80 >> (x % 8)));
        }
      }
    }
    images.push_back(std::move(r));
  }
  return images;
}

double SrgbCode(double linear) {
  double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
  return 255 * v;
}

}  // namespace vantorel::engine::test

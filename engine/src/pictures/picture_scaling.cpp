// A picture scaled to the square sizes of an icon. All of it is done in
// linear light with the colours weighted by alpha (premultiplied): filters
// average light, not code values, and the colour of a transparent pixel never
// reaches its neighbours (no dark fringe on an edge).
//
// Each size is filtered (Catmull-Rom, stb_image_resize) from a reduction of
// the picture by a power of two, the smallest that is still at least twice
// the size: the cubic then sees every detail the size can show, from a
// fraction of the pixels. The reductions are box filters: the first reads the
// 8-bit picture once, each further one halves the one before.
#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <optional>

#include <stb_image_resize.h>

#include "picture.h"

namespace vantorel::engine {
namespace {

constexpr int kChannels = 4;  // R G B A; alpha last
// A reduction is at least this many times the size filtered from it.
constexpr int kOversampling = 2;

// The picture reduced by `factor` across and down: each pixel the average of
// a square of factor x factor picture pixels (past the right and bottom edges
// the last column and row repeat), premultiplied linear R G B A.
struct Reduction {
  int width = 0, height = 0, factor = 1;
  std::vector<float> pixels;
};

double LinearOfSrgb(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

const std::array<float, 256>& LinearOfCode() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (size_t code = 0; code < t.size(); ++code) t[code] = static_cast<float>(LinearOfSrgb(code / 255.0));
    return t;
  }();
  return table;
}

// The sRGB code nearest to linear light `x`, 0 to 1: the first code whose
// upper rounding bound lies above it. A table of the code at the start of
// each of 4096 equal steps of light leaves at most a step or two to walk.
uint8_t CodeOfLinear(float x) {
  constexpr int kSteps = 4096;
  struct Tables {
    std::array<float, 256> bounds{};  // bounds[255]: above any light
    std::array<uint8_t, kSteps + 1> start{};
  };
  static const Tables tables = [] {
    Tables t;
    for (size_t code = 0; code < 255; ++code) t.bounds[code] = static_cast<float>(LinearOfSrgb((code + 0.5) / 255.0));
    t.bounds[255] = 2;
    for (int step = 0, code = 0; step <= kSteps; ++step) {
      while (static_cast<float>(step) / kSteps >= t.bounds[static_cast<size_t>(code)]) ++code;
      t.start[static_cast<size_t>(step)] = static_cast<uint8_t>(code);
    }
    return t;
  }();
  size_t code = tables.start[static_cast<size_t>(x * kSteps)];
  while (x >= tables.bounds[code]) ++code;
  return static_cast<uint8_t>(code);
}

uint8_t CodeOfAlpha(float a) { return static_cast<uint8_t>(std::clamp(a, 0.0f, 1.0f) * 255 + 0.5f); }

// Adds `count` 8-bit straight-alpha sRGB pixels from `p` on, each `times`
// over, to `sum`.
void AddPictureRun(const std::array<float, 256>& linear, const uint8_t* p, int count, float times, float* sum) {
  float r = 0, g = 0, b = 0, a = 0;
  for (const uint8_t* end = p + kChannels * count; p != end; p += kChannels) {
    float alpha = p[3] * (1.0f / 255);
    r += linear[p[0]] * alpha, g += linear[p[1]] * alpha, b += linear[p[2]] * alpha, a += alpha;
  }
  sum[0] += r * times, sum[1] += g * times, sum[2] += b * times, sum[3] += a * times;
}

Reduction Reduced(const Picture& picture, int factor) {
  Reduction r{(picture.width + factor - 1) / factor, (picture.height + factor - 1) / factor, factor, {}};
  r.pixels.assign(size_t{kChannels} * r.width * r.height, 0.0f);
  const std::array<float, 256>& linear = LinearOfCode();
  const int columns_past = r.width * factor - picture.width;
  const float scale = 1.0f / (static_cast<float>(factor) * factor);
  for (int y = 0; y < r.height; ++y) {
    float* row = &r.pixels[size_t{kChannels} * r.width * y];
    for (int k = 0; k < factor; ++k) {
      const uint8_t* in = picture.pixels.get() + size_t{kChannels} * picture.width *
                                                     std::min(y * factor + k, picture.height - 1);
      float* box = row;
      for (int x = 0; x < picture.width; x += factor, box += kChannels) {
        AddPictureRun(linear, in + kChannels * x, std::min(factor, picture.width - x), 1, box);
      }
      if (columns_past > 0) {
        AddPictureRun(linear, in + kChannels * (picture.width - 1), 1, static_cast<float>(columns_past),
                      row + kChannels * (r.width - 1));
      }
    }
    for (int i = 0; i < kChannels * r.width; ++i) row[i] *= scale;
  }
  return r;
}

// Turns the reduction into the one by twice the factor, in its own memory:
// each pixel written lies at or before the first of the four it averages, and
// before any pixel a later one reads.
void Halve(Reduction& r) {
  const int width = (r.width + 1) / 2, height = (r.height + 1) / 2;
  auto at = [&r](int x, int y) {
    return &r.pixels[size_t{kChannels} * (std::min(y, r.height - 1) * size_t(r.width) + std::min(x, r.width - 1))];
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float *a = at(2 * x, 2 * y), *b = at(2 * x + 1, 2 * y), *c = at(2 * x, 2 * y + 1),
                  *d = at(2 * x + 1, 2 * y + 1);
      float mean[kChannels];
      for (int i = 0; i < kChannels; ++i) mean[i] = ((a[i] + b[i]) + (c[i] + d[i])) * 0.25f;
      std::copy_n(mean, kChannels, &r.pixels[size_t{kChannels} * (size_t(y) * width + x)]);
    }
  }
  r.width = width, r.height = height, r.factor *= 2;
  r.pixels.resize(size_t{kChannels} * width * height);
}

// Where the scaled picture goes in its square, and how large it is there.
struct Placement {
  int width, height, size;
  uint8_t* first;  // its top left pixel in the square
  int stride() const { return size * kChannels; }
};

// Premultiplied linear pixels as 8-bit straight-alpha sRGB, into their place.
// A pixel with no light left is transparent black, as the square is.
void Encode(const std::vector<float>& linear, const Placement& to) {
  for (int y = 0; y < to.height; ++y) {
    const float* in = &linear[size_t{kChannels} * to.width * y];
    uint8_t* out = to.first + static_cast<ptrdiff_t>(y) * to.stride();
    for (int x = 0; x < to.width; ++x, in += kChannels, out += kChannels) {
      float a = in[3];
      if (!(a > 0)) continue;
      for (int c = 0; c < 3; ++c) out[c] = CodeOfLinear(std::clamp(in[c] / a, 0.0f, 1.0f));
      out[3] = CodeOfAlpha(a);
    }
  }
}

// The picture filtered into its place from its own 8-bit pixels: stb weights
// the colours by alpha and filters in linear light itself, a few rows at a
// time.
void Resample(const Picture& picture, const Placement& to) {
  int done = stbir_resize_uint8_generic(picture.pixels.get(), picture.width, picture.height, picture.width * kChannels,
                                        to.first, to.width, to.height, to.stride(), kChannels, 3, 0, STBIR_EDGE_CLAMP,
                                        STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_SRGB, nullptr);
  if (!done) throw std::bad_alloc();  // its only failure is memory
}

// The picture, as the reduction `from` holds it, filtered into its place;
// `scratch` holds the filtered floats.
void Resample(const Reduction& from, const Picture& picture, const Placement& to, std::vector<float>& scratch) {
  scratch.resize(size_t{kChannels} * to.width * to.height);
  // Where the picture ends in the reduction: its last pixel may hold less.
  float s1 = static_cast<float>(static_cast<double>(picture.width) / from.factor / from.width);
  float t1 = static_cast<float>(static_cast<double>(picture.height) / from.factor / from.height);
  int done = stbir_resize_region(from.pixels.data(), from.width, from.height, from.width * kChannels * 4,
                                 scratch.data(), to.width, to.height, to.width * kChannels * 4, STBIR_TYPE_FLOAT,
                                 kChannels, 3, STBIR_FLAG_ALPHA_PREMULTIPLIED, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP,
                                 STBIR_FILTER_CATMULLROM, STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr,
                                 0, 0, s1, t1);
  if (!done) throw std::bad_alloc();
  Encode(scratch, to);
}

// The longer side fills the square; the other keeps the proportion, and at
// least one pixel.
int ScaledSide(int side, int longer, int size) {
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * size / longer)));
}

}  // namespace

std::vector<std::vector<uint8_t>> SquareImages(const Picture& picture, const std::vector<int>& sizes) {
  std::vector<std::vector<uint8_t>> squares(sizes.size());
  const int longer = std::max(picture.width, picture.height);
  // Whether the picture reduced by `factor` is still large enough to filter `size` from.
  auto serves = [longer](int factor, int size) { return longer >= int64_t{kOversampling} * size * factor; };
  std::optional<Reduction> reduced;  // the smallest made so far
  std::vector<float> scratch;
  for (size_t i = sizes.size(); i-- > 0;) {
    const int size = sizes[i];
    int factor = 1;
    while (serves(2 * factor, size)) factor *= 2;
    // The proportions always come from the picture itself, so every size
    // centres it alike whichever reduction it is filtered from.
    const int width = ScaledSide(picture.width, longer, size), height = ScaledSide(picture.height, longer, size);
    std::vector<uint8_t>& square = squares[i];
    square.assign(size_t{kChannels} * size * size, 0);  // transparent black
    Placement to{width, height, size, &square[size_t{kChannels} * ((size - height) / 2 * size + (size - width) / 2)]};
    if (factor == 1) {
      // No reduction: a copy of the picture in floats would be four times its size.
      Resample(picture, to);
      continue;
    }
    if (!reduced) reduced = Reduced(picture, factor);
    while (reduced->factor < factor) Halve(*reduced);
    Resample(*reduced, picture, to, scratch);
  }
  return squares;
}

}  // namespace vantorel::engine

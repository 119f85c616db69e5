// A picture made into an icon file: one square image per size, scaled in
// linear light with alpha weighting, the 256-pixel one stored as PNG and the
// smaller ones as DIBs, smallest first.
#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include <stb_image_resize.h>

#include "picture.h"
#include "all_sizes.h"

namespace vantorel::engine {
namespace {

constexpr int kLargestIconSize = 256;
// A size at most half of an image already scaled down from the picture is
// filtered from the smallest such image: that holds every detail the size
// can show, in a fraction of the pixels. From a 1024-pixel logo, its 256-pixel
// image costs as much as all the others would cost made from the picture.
constexpr int kReduceFactor = 2;

// The longer side fills the square; the other keeps the proportion, and at
// least one pixel.
int ScaledSide(int side, int longer, int size) {
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * size / longer)));
}

SharedEntry EntryOf(int size) {
  SharedEntry e{};
  // A width or height byte of 0 means 256.
  e[0] = e[1] = static_cast<uint8_t>(size == kLargestIconSize ? 0 : size);
  e[4] = 1;   // wPlanes
  e[6] = 32;  // wBitCount
  return e;
}

std::string ScaledUpText(const std::string& path, const Picture& picture, const std::vector<int>& sizes) {
  std::string list;
  for (int size : sizes) list += (list.empty() ? "" : ", ") + std::to_string(size);
  return path + " is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
         " pixels, smaller than the icon's " + list + "-pixel image" + (sizes.size() > 1 ? "s" : "") +
         ", which " + (sizes.size() > 1 ? "are" : "is") + " scaled up from it and may look soft.";
}

// `source` filtered to width x height. Alpha weighting (no
// STBIR_FLAG_ALPHA_PREMULTIPLIED) keeps the colour of transparent pixels out
// of their neighbours: no dark fringe on an edge. The sRGB colour space makes
// the filter average light, not code values.
Picture Resampled(const Picture& source, int width, int height) {
  Picture out{width, height, std::vector<uint8_t>(size_t{4} * width * height)};
  int done = stbir_resize_uint8_generic(source.rgba.data(), source.width, source.height, source.width * 4,
                                        out.rgba.data(), width, height, width * 4, 4, 3, 0, STBIR_EDGE_CLAMP,
                                        STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_SRGB, nullptr);
  if (!done) throw std::bad_alloc();  // its only failure is memory
  return out;
}

// The picture in the middle of a transparent square of `size`.
std::vector<uint8_t> Centred(const Picture& scaled, int size) {
  std::vector<uint8_t> square(size_t{4} * size * size, 0);  // transparent black
  size_t row = size_t{4} * scaled.width;
  size_t at = size_t{4} * ((size - scaled.height) / 2 * size + (size - scaled.width) / 2);
  for (int y = 0; y < scaled.height; ++y) {
    std::copy_n(scaled.rgba.begin() + static_cast<std::ptrdiff_t>(y * row), row,
                square.begin() + static_cast<std::ptrdiff_t>(at + size_t{4} * size * y));
  }
  return square;
}

std::string SizesFault(const std::vector<int>& sizes) {
  for (int size : sizes) {
    if (size < 1 || size > kLargestIconSize) {
      return "An icon image is 1 to 256 pixels square; " + std::to_string(size) + " is not a size it can have.";
    }
  }
  return {};
}

}  // namespace

const std::vector<int>& StandardIconSizes() {
  static const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
  return sizes;
}

std::vector<std::vector<uint8_t>> SquareImages(const Picture& picture, const std::vector<int>& sizes) {
  std::vector<std::vector<uint8_t>> squares(sizes.size());
  const int longer = std::max(picture.width, picture.height);
  // The sizes made so far below the picture's own, smallest last.
  std::vector<Picture> reduced;
  for (size_t i = sizes.size(); i-- > 0;) {
    int size = sizes[i];
    // The proportions always come from the picture itself, so every size
    // centres it alike whichever image it is filtered from.
    int width = ScaledSide(picture.width, longer, size), height = ScaledSide(picture.height, longer, size);
    const Picture* from = &picture;
    for (const Picture& r : reduced) {
      if (std::max(r.width, r.height) >= kReduceFactor * size) from = &r;
    }
    Picture scaled = Resampled(*from, width, height);
    squares[i] = Centred(scaled, size);
    if (size < longer) reduced.push_back(std::move(scaled));
  }
  return squares;
}

int32_t PictureIconFile(const std::vector<uint8_t>& png, const std::string& picture_path,
                        const std::vector<int>& sizes_asked, std::vector<uint8_t>& ico, std::string& failure_text,
                        const WarningSink& warn) {
  std::vector<int> sizes = sizes_asked.empty() ? StandardIconSizes() : sizes_asked;
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  std::string fault = SizesFault(sizes);
  if (!fault.empty()) {
    failure_text = fault;
    return kSubscriptOutOfRange;
  }
  Picture picture;
  std::string why;
  int32_t decoded = DecodePicture(png, picture, why);
  if (decoded == kPictureUnreadable) {
    failure_text = UnreadableText(picture_path, why);
    return decoded;
  }
  if (decoded != kSuccess) {
    failure_text = ErrorDescription(decoded) + ".";
    return decoded;
  }
  std::vector<int> scaled_up;
  std::vector<IconFileImage> images;
  std::vector<std::vector<uint8_t>> squares = SquareImages(picture, sizes);
  for (size_t i = 0; i < sizes.size(); ++i) {
    int size = sizes[i];
    if (size > std::max(picture.width, picture.height)) scaled_up.push_back(size);
    IconFileImage image;
    image.entry = EntryOf(size);
    image.bytes = size == kLargestIconSize ? PngIconImage(squares[i], size) : DibIconImage(squares[i], size);
    images.push_back(std::move(image));
  }
  if (!scaled_up.empty()) {
    Warn(warn, ProgramName() + " - Picture scaled up", ScaledUpText(picture_path, picture, scaled_up));
  }
  ico = IconFileBytes(images);
  return kSuccess;
}

}  // namespace vantorel::engine

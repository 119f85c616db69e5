// A picture made into an icon file: one square image per size, scaled in
// linear light with alpha weighting, the 256-pixel one stored as PNG and the
// smaller ones as DIBs, smallest first.
#include <algorithm>
#include <cmath>
#include <new>

#include <stb_image_resize.h>

#include "picture.h"
#include "vantorel/all_sizes.h"

namespace vantorel::engine {
namespace {

constexpr int kLargestIconSize = 256;

// The longer side fills the square; the other keeps the proportion, and at
// least one pixel.
int Scaled_Side(int side, int longer, int size) {
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(side) * size / longer)));
}

SharedEntry Entry_Of(int size) {
  SharedEntry e{};
  // A width or height byte of 0 means 256.
  e[0] = e[1] = static_cast<uint8_t>(size == kLargestIconSize ? 0 : size);
  e[4] = 1;   // wPlanes
  e[6] = 32;  // wBitCount
  return e;
}

std::string Scaled_Up_Text(const std::string& path, const Picture& picture, const std::vector<int>& sizes) {
  std::string list;
  for (int size : sizes) list += (list.empty() ? "" : ", ") + std::to_string(size);
  return path + " is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
         " pixels, smaller than the icon's " + list + "-pixel image" + (sizes.size() > 1 ? "s" : "") +
         ", which " + (sizes.size() > 1 ? "are" : "is") + " scaled up from it and may look soft.";
}

std::string Sizes_Fault(const std::vector<int>& sizes) {
  for (int size : sizes) {
    if (size < 1 || size > kLargestIconSize) {
      return "An icon image is 1 to 256 pixels square; " + std::to_string(size) + " is not a size it can have.";
    }
  }
  return {};
}

}  // namespace

const std::vector<int>& Standard_Icon_Sizes() {
  static const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
  return sizes;
}

std::vector<uint8_t> Square_Image(const Picture& picture, int size) {
  int longer = std::max(picture.width, picture.height);
  int width = Scaled_Side(picture.width, longer, size);
  int height = Scaled_Side(picture.height, longer, size);
  std::vector<uint8_t> square(size_t{4} * size * size, 0);  // transparent black
  uint8_t* at = square.data() + (size_t{4} * ((size - height) / 2 * size + (size - width) / 2));
  // Alpha weighting (no STBIR_FLAG_ALPHA_PREMULTIPLIED) keeps the colour of
  // transparent pixels out of their neighbours: no dark fringe on an edge.
  // The sRGB colour space makes the filter average light, not code values.
  int done = stbir_resize_uint8_generic(picture.rgba.data(), picture.width, picture.height, picture.width * 4, at,
                                        width, height, size * 4, 4, 3, 0, STBIR_EDGE_CLAMP,
                                        STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_SRGB, nullptr);
  if (!done) throw std::bad_alloc();  // its only failure is memory
  return square;
}

int32_t Picture_Icon_File(const std::vector<uint8_t>& png, const std::string& picture_path,
                          const std::vector<int>& sizes_asked, std::vector<uint8_t>& ico, std::string& failure_text,
                          const WarningSink& warn) {
  std::vector<int> sizes = sizes_asked.empty() ? Standard_Icon_Sizes() : sizes_asked;
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  std::string fault = Sizes_Fault(sizes);
  if (!fault.empty()) {
    failure_text = fault;
    return kSubscriptOutOfRange;
  }
  Picture picture;
  std::string why;
  int32_t decoded = Decode_Picture(png, picture, why);
  if (decoded == kPictureUnreadable) {
    failure_text = "the picture cannot be read: " + picture_path + " " + why + ".";
    return decoded;
  }
  if (decoded != kSuccess) {
    failure_text = Error_Description(decoded) + ".";
    return decoded;
  }
  std::vector<int> scaled_up;
  std::vector<IconFileImage> images;
  for (int size : sizes) {
    if (size > std::max(picture.width, picture.height)) scaled_up.push_back(size);
    std::vector<uint8_t> square = Square_Image(picture, size);
    IconFileImage image;
    image.entry = Entry_Of(size);
    image.bytes = size == kLargestIconSize ? Png_Icon_Image(square, size) : Dib_Icon_Image(square, size);
    images.push_back(std::move(image));
  }
  if (!scaled_up.empty()) Warn(warn, Program_Name() + " - Picture scaled up", Scaled_Up_Text(picture_path, picture, scaled_up));
  ico = Icon_File_Bytes(images);
  return kSuccess;
}

}  // namespace vantorel::engine

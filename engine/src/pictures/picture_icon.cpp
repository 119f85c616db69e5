// A picture made into an icon file: one square image per size (scaled in
// picture_scaling.cpp), the 256-pixel one stored as PNG and the smaller ones
// as DIBs, smallest first.
#include <algorithm>

#include "icons/icon_file.h"
#include "picture.h"
#include "errors/traps.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr int kLargestIconSize = 256;

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

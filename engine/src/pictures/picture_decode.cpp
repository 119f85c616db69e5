// A PNG decoded to 8-bit RGBA, after what it declares has been checked
// against the limits and its structure against its own checksums (for a
// large picture, while it is decoded).
#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include <stb_image.h>

#include "picture.h"

namespace vantorel::engine {
namespace {

// Image data of a picture from this size on (its raw rows as 16-bit RGBA) is
// checked and decoded side by side; a smaller one is not worth a thread.
constexpr size_t kSideBySideBytes = size_t{1} << 20;
// Where IHDR's colour type lies: after the signature, the chunk's length and
// type, the width, the height and the bit depth.
constexpr size_t kIhdrColourType = 25;

std::string SizeText(int64_t width, int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Why the declared size is refused; empty when it is within the limits.
std::string SizeFault(int width, int height) {
  if (width <= 0 || height <= 0) return "declares " + SizeText(width, height) + ": it has no pixels";
  if (width > kMaxPictureSide || height > kMaxPictureSide ||
      int64_t{width} * height > kMaxPicturePixels) {
    return "declares " + SizeText(width, height) + ", more than the " + std::to_string(kMaxPicturePixels) +
           " pixels (" + SizeText(4096, 4096) + ", at most " + std::to_string(kMaxPictureSide) +
           " on a side) a picture may have";
  }
  return {};
}

// The width and height the PNG header declares, read as the decoder reads
// them; false when the decoder does not take it for a PNG it can read.
bool DeclaredSize(const std::vector<uint8_t>& png, int& width, int& height) {
  int channels = 0;
  return stbi_info_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels) == 1;
}

// The size an IHDR in its place declares, for a header the decoder refuses:
// it gives no size for a zero or too large one. False when there is none.
bool HeaderSize(const std::vector<uint8_t>& png, int64_t& width, int64_t& height) {
  if (png.size() < 24 || std::memcmp(png.data() + 12, "IHDR", 4) != 0) return false;
  auto be32 = [&](size_t at) {
    return int64_t{png[at]} << 24 | int64_t{png[at + 1]} << 16 | int64_t{png[at + 2]} << 8 | png[at + 3];
  };
  width = be32(16);
  height = be32(20);
  return true;
}

std::string HeaderFault(const std::vector<uint8_t>& png) {
  int64_t w = 0, h = 0;
  if (HeaderSize(png, w, h) && (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide)) {
    return SizeFault(static_cast<int>(std::min<int64_t>(w, INT_MAX)), static_cast<int>(std::min<int64_t>(h, INT_MAX)));
  }
  return std::string("has a header the PNG decoder cannot read (") + stbi_failure_reason() + ")";
}

void Decode(const std::vector<uint8_t>& png, Picture& picture) {
  // A pixel that names no entry of the palette comes out transparent.
  std::vector<uint8_t> completed;
  const std::vector<uint8_t>& decoded = CompletePalette(png, completed) ? completed : png;
  int width = 0, height = 0, channels = 0;
  picture.pixels.reset(
      stbi_load_from_memory(decoded.data(), static_cast<int>(decoded.size()), &width, &height, &channels, 4));
}

// The structure check's fault, with the picture decoded unless there is one.
// Both inflate all the image data: for a large picture the check runs on a
// second thread while it is decoded, and until the check has passed the
// decoder is held to blocks the size a sound file with this header needs
// (raw rows of 16-bit RGBA, which interlacing may make it guess at twice; the
// file's image data gathered, which it grows by doubling), so that data
// inflating without end cannot grow its buffer. A fault found throws the
// decoded picture away.
std::string CheckedWhileDecoding(const std::vector<uint8_t>& png, int width, int height, Picture& picture) {
  auto one_then_the_other = [&] {
    std::string fault = PngStructureFault(png.data(), png.size());
    if (fault.empty()) Decode(png, picture);
    return fault;
  };
  const size_t raw_rows = size_t(width) * height * 8 + size_t(height);
  // A palette is completed from the chunks as the check found them, so a
  // palette picture (one byte a pixel at most) is checked first.
  const bool palette = png[kIhdrColourType] == 3;
  if (raw_rows < kSideBySideBytes || palette) return one_then_the_other();
  std::string fault;
  std::exception_ptr thrown;
  std::thread check;
  try {
    check = std::thread([&] {
      try {
        fault = PngStructureFault(png.data(), png.size());
      } catch (...) {
        thrown = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    return one_then_the_other();  // no thread to be had
  }
  {
    DecoderBlockLimit limit(std::max(2 * raw_rows, 2 * png.size() + 4096));
    Decode(png, picture);
  }
  check.join();
  if (thrown) std::rethrow_exception(thrown);
  return fault;
}

}  // namespace

std::string UnreadableText(const std::string& picture_path, const std::string& why) {
  return "the picture cannot be read: " + picture_path + " " + why + ".";
}

std::string FileSizeFault(int64_t bytes) {
  static_assert(kMaxPictureFileBytes <= INT_MAX, "the decoder takes an int length");
  if (bytes <= kMaxPictureFileBytes) return {};
  return "is larger than " + std::to_string(kMaxPictureFileBytes >> 20) + " MiB, more than a picture may be";
}

int32_t DecodePicture(const std::vector<uint8_t>& png, Picture& picture, std::string& why) {
  why = FileSizeFault(static_cast<int64_t>(png.size()));
  if (!why.empty()) return kPictureUnreadable;
  int width = 0, height = 0;
  if (!DeclaredSize(png, width, height)) {
    why = HeaderFault(png);
    return kPictureUnreadable;
  }
  why = SizeFault(width, height);
  if (!why.empty()) return kPictureUnreadable;
  why = CheckedWhileDecoding(png, width, height, picture);
  if (!why.empty()) {
    picture.pixels.reset();
    return kPictureUnreadable;
  }
  if (!picture.pixels) {
    std::string reason = stbi_failure_reason() ? stbi_failure_reason() : "unknown";
    if (reason == "outofmem") return kOutOfMemory;
    why = "cannot be decoded (" + reason + ")";
    return kPictureUnreadable;
  }
  picture.width = width;
  picture.height = height;
  return kSuccess;
}

void DecodedFree::operator()(uint8_t* pixels) const { stbi_image_free(pixels); }

}  // namespace vantorel::engine

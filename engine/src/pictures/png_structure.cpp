// The checks a PNG passes before its pixels are decoded. The decoder takes
// CRCs on trust and grows its buffer for as long as the compressed data
// inflates, so both are checked here first, with zlib: a damaged file is
// refused by name, and a small file that inflates without end (a
// decompression bomb) is stopped at the size its header declares.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "picture.h"

namespace vantorel::engine {
namespace {

// Bytes of filtered scanlines the image data holds: each row starts with its
// filter byte; an interlaced image is seven smaller images (Adam7), each
// with its own rows. 0 for a colour type or depth the format does not have.
uint64_t RawImageBytes(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour_type, bool interlaced) {
  int channels = colour_type == 0 ? 1 : colour_type == 2 ? 3 : colour_type == 3 ? 1 : colour_type == 4 ? 2
                 : colour_type == 6 ? 4 : 0;
  if (channels == 0 || (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16)) return 0;
  uint64_t bits = static_cast<uint64_t>(channels) * depth;
  auto rows = [bits](uint64_t w, uint64_t h) { return w && h ? h * (1 + (w * bits + 7) / 8) : 0; };
  if (!interlaced) return rows(width, height);
  // x origin, y origin, x step, y step of each pass.
  constexpr std::array<std::array<uint32_t, 4>, 7> kPasses = {
      {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
  uint64_t total = 0;
  for (const auto& p : kPasses) {
    uint64_t w = width > p[0] ? (width - p[0] + p[2] - 1) / p[2] : 0;
    uint64_t h = height > p[1] ? (height - p[1] + p[3] - 1) / p[3] : 0;
    total += rows(w, h);
  }
  return total;
}

// Inflates the image data chunk by chunk into a scratch buffer, counting what
// comes out and stopping once it is more than `expected`.
class InflateCount {
 public:
  InflateCount() { ok_ = inflateInit(&stream_) == Z_OK; }
  ~InflateCount() {
    if (ok_) inflateEnd(&stream_);
  }
  InflateCount(const InflateCount&) = delete;
  InflateCount& operator=(const InflateCount&) = delete;

  // Empty while sound; otherwise what went wrong.
  std::string Feed(const uint8_t* data, uint32_t size, uint64_t expected) {
    if (!ok_) return "cannot be checked: zlib could not start";
    if (ended_) return size ? "holds image data after the end of its compressed stream" : "";
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = size;
    while (stream_.avail_in > 0) {
      stream_.next_out = scratch_.data();
      stream_.avail_out = static_cast<uInt>(scratch_.size());
      int status = inflate(&stream_, Z_NO_FLUSH);
      produced_ += scratch_.size() - stream_.avail_out;
      if (produced_ > expected) return "inflates to more image data than its size needs";
      if (status == Z_STREAM_END) {
        ended_ = true;
        return stream_.avail_in ? "holds image data after the end of its compressed stream" : "";
      }
      if (status == Z_BUF_ERROR && stream_.avail_in == 0) break;
      if (status != Z_OK) return std::string("holds damaged compressed image data (") +
                                 (stream_.msg ? stream_.msg : "zlib error") + ")";
    }
    return {};
  }

  bool ended() const { return ended_; }
  uint64_t produced() const { return produced_; }

 private:
  z_stream stream_{};
  bool ok_ = false, ended_ = false;
  uint64_t produced_ = 0;
  std::array<uint8_t, 32768> scratch_{};
};

}  // namespace

std::string PngStructureFault(const uint8_t* bytes, size_t size) {
  if (!IsPng(bytes, size)) return "does not start with the PNG signature";
  InflateCount inflater;
  uint64_t expected = 0;
  bool idat_seen = false;
  size_t at = sizeof kPngSignature;
  for (bool first = true;; first = false) {
    if (size - at < 12) return "is cut short: it ends before its IEND chunk";
    uint32_t length = PngBe32(bytes + at);
    const uint8_t* type = bytes + at + 4;
    const uint8_t* data = type + 4;
    std::string name(reinterpret_cast<const char*>(type), 4);
    if (length > size - at - 12) return "is cut short: its chunk " + name + " runs past the end of the file";
    uint32_t stored = PngBe32(data + length);
    if (crc32(crc32(0, nullptr, 0), type, length + 4) != stored) {
      return "has a damaged chunk " + name + ": its CRC is wrong";
    }
    if (first && (name != "IHDR" || length != 13)) return "does not start with its header chunk IHDR";
    if (first) {
      expected = RawImageBytes(PngBe32(data), PngBe32(data + 4), data[8], data[9], data[12] == 1);
      if (expected == 0) return "declares a size, colour type or bit depth that PNG does not have";
    } else if (name == "CgBI") {
      return "is an iPhone-optimised PNG, which is not a standard PNG";
    } else if (name == "IDAT") {
      idat_seen = true;
      std::string fault = inflater.Feed(data, length, expected);
      if (!fault.empty()) return fault;
    } else if (name == "IEND") {
      break;
    }
    at += size_t{length} + 12;
  }
  if (!idat_seen) return "holds no image data";
  if (!inflater.ended() || inflater.produced() != expected) return "is cut short: its image data ends early";
  return {};
}

}  // namespace vantorel::engine

// A palette PNG's pixels may name entries past its palette. The decoder
// reads those from a table it never cleared, so such a pixel would show
// whatever its memory held; the palette is completed first, with entries
// that are black and wholly transparent.
#include <zlib.h>

#include "picture.h"

namespace vantorel::engine {
namespace {

constexpr size_t kChunkFrame = 12;  // length, type, CRC

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(crc32(0, nullptr, 0), out.data() + start, static_cast<uInt>(data.size() + 4));
  PutBe32(out, static_cast<uint32_t>(crc));
}

struct Span {
  size_t at = 0, length = 0;  // of the data
  bool found = false;
};

}  // namespace

bool CompletePalette(const std::vector<uint8_t>& png, std::vector<uint8_t>& completed) {
  const uint8_t* b = png.data();
  const size_t ihdr = sizeof kPngSignature + 8;
  if (b[ihdr + 9] != 3) return false;  // colour type 3: indices into PLTE
  const size_t entries = size_t{1} << b[ihdr + 8];
  Span plte, trns;
  for (size_t at = sizeof kPngSignature; at + kChunkFrame <= png.size();) {
    size_t length = PngBe32(b + at);
    std::string type(reinterpret_cast<const char*>(b + at + 4), 4);
    if (type == "PLTE") plte = {at + 8, length, true};
    // A tRNS before PLTE, or longer than it, is the decoder's to refuse.
    if (type == "tRNS" && (!plte.found || length > plte.length / 3)) return false;
    if (type == "tRNS") trns = {at + 8, length, true};
    if (type == "IEND") break;
    at += length + kChunkFrame;
  }
  const size_t have = plte.length / 3;
  if (!plte.found || have >= entries) return false;

  std::vector<uint8_t> palette(b + plte.at, b + plte.at + plte.length), alpha(entries, 0);
  palette.resize(entries * 3, 0);
  for (size_t i = 0; i < have; ++i) alpha[i] = i < trns.length ? b[trns.at + i] : 255;
  completed.assign(b, b + sizeof kPngSignature);
  for (size_t at = sizeof kPngSignature; at + kChunkFrame <= png.size();) {
    size_t length = PngBe32(b + at), next = at + length + kChunkFrame;
    if (at + 8 == plte.at) {
      AppendChunk(completed, "PLTE", palette);
      AppendChunk(completed, "tRNS", alpha);
    } else if (!trns.found || at + 8 != trns.at) {
      completed.insert(completed.end(), b + at, b + next);
    }
    if (std::string(reinterpret_cast<const char*>(b + at + 4), 4) == "IEND") break;
    at = next;
  }
  return true;
}

}  // namespace vantorel::engine

// A PNG picture made into an icon: the inner steps of every mode that takes
// a picture where it takes an icon file, and of MakeIconFile.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "icons/icon_sizes.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// What a picture may declare before anything is decoded: every buffer the
// decoder, the resampler and the structure check ask for is bounded by these
// (at 4096 x 4096 pixels, a 16-bit picture with alpha decodes to 128 MiB).
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{4096} * 4096;
// Larger than any PNG of the allowed pixel count needs, stored uncompressed,
// with room for metadata chunks.
constexpr int64_t kMaxPictureFileBytes = int64_t{256} << 20;


// A PNG's numbers: big-endian, 32 bits.
inline uint32_t PngBe32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}


// Frees pixels the decoder handed over.
struct DecodedFree {
  void operator()(uint8_t* pixels) const;
};

// Decoded pixels: 8 bits per channel, R G B A, top row first, alpha straight
// (not multiplied into the colours); kept where the decoder put them.
struct Picture {
  int width = 0, height = 0;
  std::unique_ptr<uint8_t[], DecodedFree> pixels;
};

// Reads the structure of a PNG without decoding its pixels: the chunks lie in
// the file, each one's CRC is right, IHDR comes first, IEND is there, and the
// image data inflates to exactly the bytes its header's size needs (never
// more: a stream that would inflate further is stopped at that point). Empty
// when sound; otherwise why not, as the end of a sentence.
std::string PngStructureFault(const uint8_t* bytes, size_t size);

// For a palette PNG whose palette has fewer entries than its bit depth can
// name: the PNG with the palette completed to that many, the added entries
// black and wholly transparent (its tRNS chunk lengthened, or one added),
// and true. False for any other PNG. Takes a PNG whose structure
// PngStructureFault found sound.
bool CompletePalette(const std::vector<uint8_t>& png, std::vector<uint8_t>& completed);

// The text of failure 1016: "the picture cannot be read: ", the path and why.
std::string UnreadableText(const std::string& picture_path, const std::string& why);

// Why a picture file of `bytes` is refused unread; empty when it is not.
std::string FileSizeFault(int64_t bytes);

// While one lives on a thread, the PNG decoder there is refused any block of
// memory larger than `bytes`, and fails as out of memory.
class DecoderBlockLimit {
 public:
  explicit DecoderBlockLimit(size_t bytes);
  ~DecoderBlockLimit();
  DecoderBlockLimit(const DecoderBlockLimit&) = delete;
  DecoderBlockLimit& operator=(const DecoderBlockLimit&) = delete;

 private:
  size_t before_;
};

// Decodes a PNG after refusing what its header declares beyond the limits
// and checking its structure. 0, or 1016 with `why`; 7 when memory runs out.
int32_t DecodePicture(const std::vector<uint8_t>& png, Picture& picture, std::string& why);

// The square image of each of `sizes` (ascending), R G B A: the picture
// scaled (in linear light, alpha-weighted; box filters by powers of two, then
// Catmull-Rom) so its longer side fills the square, centred on transparency.
std::vector<std::vector<uint8_t>> SquareImages(const Picture& picture, const std::vector<int>& sizes);

// The icon image a Windows icon stores for `rgba` (size x size, R G B A): a
// PNG for 256 pixels, otherwise a 32-bit DIB with its AND mask.
std::vector<uint8_t> PngIconImage(const std::vector<uint8_t>& rgba, int size);
std::vector<uint8_t> DibIconImage(const std::vector<uint8_t>& rgba, int size);

// The icon file of `sizes` (each 1 to 256, smallest first in the file; the
// standard sizes when empty) made from the PNG `png`. A size larger than the
// picture is scaled up, with a note through `warn`. 0, 1016 with the failure
// text, or 9 for a size out of range.
int32_t PictureIconFile(const std::vector<uint8_t>& png, const std::string& picture_path,
                        const std::vector<int>& sizes, std::vector<uint8_t>& ico, std::string& failure_text,
                        const WarningSink& warn);

}  // namespace vantorel::engine

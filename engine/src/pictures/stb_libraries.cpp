// The one place the stb libraries' implementations are compiled: PNG decoding
// (stb_image), resampling (stb_image_resize) and PNG encoding (stb_image_write,
// which deflates through zlib). Debian ships them as headers; building them
// here gives the native and the MinGW programs the same code.
#include <zlib.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "picture.h"

namespace {

// The largest block the PNG decoder may have on this thread (DecoderBlockLimit).
thread_local size_t g_decoder_block_limit = SIZE_MAX;

void* DecoderRealloc(void* block, size_t bytes) {
  return bytes > g_decoder_block_limit ? nullptr : std::realloc(block, bytes);
}

}  // namespace

vantorel::engine::DecoderBlockLimit::DecoderBlockLimit(size_t bytes) : before_(g_decoder_block_limit) {
  g_decoder_block_limit = bytes;
}

vantorel::engine::DecoderBlockLimit::~DecoderBlockLimit() { g_decoder_block_limit = before_; }

// Only PNG: every other format stb_image reads is code no input of ours needs.
#define STBI_MALLOC(bytes) DecoderRealloc(nullptr, bytes)
#define STBI_REALLOC(block, bytes) DecoderRealloc(block, bytes)
#define STBI_FREE(block) std::free(block)
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS vantorel::engine::kMaxPictureSide
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

namespace {

// stb_image_write's own deflate is simple; zlib's compresses better and is
// the well-kept one. The result must come from malloc: stb frees it. zlib's
// default level: its highest saves a few per cent of a 256-pixel image for
// several times the time.
unsigned char* ZlibCompress(unsigned char* data, int data_len, int* out_len, int /*quality*/) {
  uLong bound = compressBound(static_cast<uLong>(data_len));
  auto* out = static_cast<unsigned char*>(std::malloc(bound));
  if (!out) return nullptr;
  uLongf written = bound;
  if (compress2(out, &written, data, static_cast<uLong>(data_len), Z_DEFAULT_COMPRESSION) != Z_OK ||
      written > INT_MAX) {
    std::free(out);
    return nullptr;
  }
  *out_len = static_cast<int>(written);
  return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS ZlibCompress
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

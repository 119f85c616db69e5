#include "reader.h"

#include <algorithm>
#include <cstring>

namespace vantorel::engine {

Reader::Reader(const RandomAccessFile& file, int64_t begin, int64_t end)
    : file_(file), begin_(std::max<int64_t>(begin, 0)), end_(std::min(end, file.Length())) {
  if (end_ < begin_) end_ = begin_;
}

const uint8_t* Reader::Page(int64_t page_start) const {
  if (page_start != page_start_) {
    page_size_ = std::min(kPage, file_.Length() - page_start);
    if (page_size_ <= 0 || !file_.ReadAt(page_start, page_.data(), static_cast<size_t>(page_size_))) {
      page_start_ = -1;
      Raise(9);
    }
    page_start_ = page_start;
  }
  return page_.data();
}

void Reader::Bytes(int64_t offset, void* out, int64_t size) const {
  if (!Contains(offset, size)) Raise(9);
  auto* dst = static_cast<uint8_t*>(out);
  while (size > 0) {
    int64_t start = offset - offset % kPage;
    int64_t take = std::min(size, start + kPage - offset);
    std::memcpy(dst, Page(start) + (offset - start), static_cast<size_t>(take));
    dst += take, offset += take, size -= take;
  }
}

uint8_t Reader::U8(int64_t offset) const {
  uint8_t b;
  Bytes(offset, &b, 1);
  return b;
}

uint16_t Reader::U16(int64_t offset) const {
  uint8_t b[2];
  Bytes(offset, b, 2);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t Reader::U32(int64_t offset) const {
  uint8_t b[4];
  Bytes(offset, b, 4);
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

}  // namespace vantorel::engine

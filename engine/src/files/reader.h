// Reads little-endian fields at explicit offsets, only inside one window of a
// file. Anything outside the window, or a read that fails, raises "Subscript
// out of range" in the operation that asked: no struct is ever laid over raw
// bytes and no field is read from outside the structure's home.
#pragma once

#include <array>
#include <cstdint>

#include "errors/guarded.h"
#include "random_access_file.h"

namespace vantorel::engine {

class Reader {
 public:
  // The window [begin, end), clipped to the file.
  Reader(const RandomAccessFile& file, int64_t begin, int64_t end);

  const RandomAccessFile& file() const { return file_; }
  int64_t begin() const { return begin_; }
  int64_t end() const { return end_; }
  bool Contains(int64_t offset, int64_t size) const {
    return size >= 0 && offset >= begin_ && offset <= end_ && size <= end_ - offset;
  }

  uint8_t U8(int64_t offset) const;
  uint16_t U16(int64_t offset) const;
  uint32_t U32(int64_t offset) const;
  int16_t I16(int64_t offset) const { return static_cast<int16_t>(U16(offset)); }
  int32_t I32(int64_t offset) const { return static_cast<int32_t>(U32(offset)); }
  void Bytes(int64_t offset, void* out, int64_t size) const;

 private:
  // Resource trees are read a few bytes at a time; one cached page turns a
  // walk into a handful of system calls.
  static constexpr int64_t kPage = 4096;
  const uint8_t* Page(int64_t page_start) const;

  const RandomAccessFile& file_;
  int64_t begin_, end_;
  mutable std::array<uint8_t, kPage> page_{};
  mutable int64_t page_start_ = -1;
  mutable int64_t page_size_ = 0;
};

}  // namespace vantorel::engine

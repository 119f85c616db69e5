// Several changes to one open program as one: each is first tried on an
// overlay that keeps its writes in memory, then carried out on the file
// through a journal, so a failure of a later one puts back what the earlier
// ones wrote.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "random_access_file.h"

namespace vantorel::engine {

// The file as the writes made to this object would leave it; the file
// itself is only read.
class OverlayFile : public RandomAccessFile {
 public:
  explicit OverlayFile(const RandomAccessFile& base) : base_(base), kept_(base.Length()) {}
  int64_t Length() const override { return kept_ + static_cast<int64_t>(tail_.size()); }
  bool ReadAt(int64_t offset, void* data, size_t size) const override;
  bool WriteAt(int64_t offset, const void* data, size_t size) override;
  bool Append(const void* data, size_t size) override;
  bool Truncate(int64_t length) override;
  bool Flush() override { return true; }

 private:
  const RandomAccessFile& base_;
  int64_t kept_;                // the base's bytes still in the file
  std::vector<uint8_t> tail_;   // what follows them
  std::vector<std::pair<int64_t, std::vector<uint8_t>>> writes_;  // over the base's bytes, in order
};

// Passes every call to the file, keeping what each one replaces, so Undo
// can put the file back as it was.
class JournalFile : public RandomAccessFile {
 public:
  explicit JournalFile(RandomAccessFile& file) : file_(file), length_(file.Length()), original_(length_) {}
  int64_t Length() const override { return file_.Length(); }
  bool ReadAt(int64_t offset, void* data, size_t size) const override { return file_.ReadAt(offset, data, size); }
  bool WriteAt(int64_t offset, const void* data, size_t size) override;
  bool Append(const void* data, size_t size) override { return file_.Append(data, size); }
  bool Truncate(int64_t length) override;
  bool Flush() override { return file_.Flush(); }
  // Puts back every byte and the length; whether that succeeded.
  bool Undo();

 private:
  RandomAccessFile& file_;
  int64_t length_;    // the first length
  int64_t original_;  // how much of the file still holds its first bytes
  std::vector<uint8_t> cut_;  // the first bytes a truncation cut off, from `original_` on
  std::vector<std::pair<int64_t, std::vector<uint8_t>>> replaced_;
};

}  // namespace vantorel::engine

// The engine reads and writes files only at explicit offsets through this
// interface: the operating system's files, memory images in tests and the
// fuzz target, and files that fail on purpose in the rollback tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vantorel::engine {

class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  virtual int64_t Length() const = 0;
  // Each transfers all `size` bytes or returns false.
  virtual bool ReadAt(int64_t offset, void* data, size_t size) const = 0;
  // Writes inside the file only: an edit in place never changes its length.
  virtual bool WriteAt(int64_t offset, const void* data, size_t size) = 0;
  // Adds `size` bytes at the end: the one way a file grows.
  virtual bool Append(const void* data, size_t size) = 0;
  // Cuts the file back to `length` (not more than it has): how an append is
  // undone.
  virtual bool Truncate(int64_t length) = 0;
  // Makes every write so far durable.
  virtual bool Flush() = 0;
};

enum class Access { Read, ReadWrite };

// Opens an existing regular file for exclusive use: while it is open, nobody
// else can open it (Win32: share mode 0; POSIX: an exclusive lock, which other
// cooperating programs honour). Directories, devices and pipes are refused.
// Returns null on any failure; `reason` then says what the system reported
// ("No such file or directory", "Permission denied", or Win32's own texts),
// or that the name is a folder.
std::unique_ptr<RandomAccessFile> OpenImageFile(const std::filesystem::path& path, Access access,
                                                std::string& reason);
inline std::unique_ptr<RandomAccessFile> OpenImageFile(const std::filesystem::path& path, Access access) {
  std::string reason;
  return OpenImageFile(path, access, reason);
}

// `file`, its pages kept in memory once read (up to 64 KiB of them): how
// OpenImageFile's files are read.
std::unique_ptr<RandomAccessFile> WithReadCache(std::unique_ptr<RandomAccessFile> file);

// The first `length` bytes of a file, to read: what a plan is made on when
// the bytes after them are to be cut off first.
class FilePrefix : public RandomAccessFile {
 public:
  FilePrefix(const RandomAccessFile& file, int64_t length) : file_(file), length_(length) {}
  int64_t Length() const override { return length_; }
  bool ReadAt(int64_t offset, void* data, size_t size) const override {
    return offset >= 0 && offset <= length_ && static_cast<uint64_t>(length_ - offset) >= size &&
           file_.ReadAt(offset, data, size);
  }
  bool WriteAt(int64_t, const void*, size_t) override { return false; }
  bool Append(const void*, size_t) override { return false; }
  bool Truncate(int64_t) override { return false; }
  bool Flush() override { return false; }

 private:
  const RandomAccessFile& file_;
  int64_t length_;
};

// A file held in memory.
class MemoryFile : public RandomAccessFile {
 public:
  explicit MemoryFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  int64_t Length() const override { return static_cast<int64_t>(bytes_.size()); }
  bool ReadAt(int64_t offset, void* data, size_t size) const override;
  bool WriteAt(int64_t offset, const void* data, size_t size) override;
  bool Append(const void* data, size_t size) override;
  bool Truncate(int64_t length) override;
  bool Flush() override { return true; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  bool InRange(int64_t offset, size_t size) const;
  std::vector<uint8_t> bytes_;
};

}  // namespace vantorel::engine

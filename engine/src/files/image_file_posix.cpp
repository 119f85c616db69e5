// POSIX backend of the engine's file access.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "random_access_file.h"

namespace vantorel::engine {
namespace {

class PosixFile : public RandomAccessFile {
 public:
  PosixFile(int fd, int64_t length) : fd_(fd), length_(length) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  int64_t Length() const override { return length_; }

  bool ReadAt(int64_t offset, void* data, size_t size) const override {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
      ssize_t n = pread(fd_, p, size, offset);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n, offset += n, size -= static_cast<size_t>(n);
    }
    return true;
  }

  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    // The engine edits in place; a write past the end would change the length.
    if (offset < 0 || offset > length_ || static_cast<uint64_t>(length_ - offset) < size) return false;
    auto* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = pwrite(fd_, p, size, offset);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n, offset += n, size -= static_cast<size_t>(n);
    }
    return true;
  }

  bool Append(const void* data, size_t size) override {
    int64_t at = length_;
    length_ += static_cast<int64_t>(size);
    if (WriteAt(at, data, size)) return true;
    // A part may have landed: the file is cut back to where it ended.
    length_ = at;
    return false;
  }

  bool Truncate(int64_t length) override {
    if (length < 0 || length > length_ || ftruncate(fd_, length) != 0) return false;
    length_ = length;
    return true;
  }

  // fdatasync: the bytes and, when the length changed, the length reach the
  // disk; only the times are left to the next journal commit. A changed
  // program is as safe after it, and its journal write is saved.
  bool Flush() override { return fdatasync(fd_) == 0; }

 private:
  int fd_;
  int64_t length_;
};

// Why an open file cannot be used, or empty when it can: only a regular file
// that nobody else holds locked is.
std::string Unusable(int fd, struct stat& st) {
  if (fstat(fd, &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(st.st_mode)) return "Not a regular file";
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return {};
  // "Resource temporarily unavailable" would not say who holds it.
  return errno == EWOULDBLOCK ? "Locked by another process" : std::strerror(errno);
}

}  // namespace

std::unique_ptr<RandomAccessFile> OpenImageFile(const std::filesystem::path& path, Access access,
                                                std::string& reason) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  int fd = open(path.c_str(), flags);
  if (fd < 0) {
    reason = std::strerror(errno);
    return nullptr;
  }
  struct stat st{};
  reason = Unusable(fd, st);
  if (!reason.empty()) {
    close(fd);
    return nullptr;
  }
  int fl = fcntl(fd, F_GETFL);
  if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return WithReadCache(std::make_unique<PosixFile>(fd, static_cast<int64_t>(st.st_size)));
}

}  // namespace vantorel::engine

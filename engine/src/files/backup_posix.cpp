// POSIX half of the backup copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "new_file.h"

namespace vantorel::engine {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool CopyBytes(int from, int to) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

// Something of the backup's name exists: only a regular file (or a link to
// one) is a backup made before. A directory or a link that points nowhere is
// in the way, and nothing was copied.
BackupResult ExistingBackup(const std::filesystem::path& backup, std::string& why) {
  struct stat st{};
  if (stat(backup.c_str(), &st) != 0) {
    why = std::string("a symbolic link of that name points nowhere (") + std::strerror(errno) + ")";
    return BackupResult::Failed;
  }
  if (S_ISREG(st.st_mode)) return BackupResult::AlreadyExists;
  why = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "something that is not a file has that name";
  return BackupResult::Failed;
}

}  // namespace

BackupResult MakeBackup(const std::filesystem::path& target, const std::filesystem::path& backup,
                        std::string& why) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; anything but a
  // regular file is refused before a byte is read.
  Fd from(open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st{};
  if (from.get() < 0 || fstat(from.get(), &st) != 0) {
    why = std::strerror(errno);
    return BackupResult::Failed;
  }
  if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return BackupResult::Failed;
  }
  int flags = fcntl(from.get(), F_GETFL);
  if (flags >= 0) fcntl(from.get(), F_SETFL, flags & ~O_NONBLOCK);
  // Something has the name already: nothing is copied. The naming below
  // makes the same test in one step, for a backup made meanwhile.
  struct stat existing{};
  if (lstat(backup.c_str(), &existing) == 0) return ExistingBackup(backup, why);
  // Copied beside its name and flushed first: a copy cut off part-way never
  // takes the name, so it is never taken for a backup made before.
  FillFile copy = [&](int to) { return CopyBytes(from.get(), to); };
  switch (WriteThroughTemporary(backup, copy, false, why, st.st_mode & 0777)) {
    case NewFileResult::Written:
      return BackupResult::Made;
    case NewFileResult::AlreadyExists:
      return ExistingBackup(backup, why);
    case NewFileResult::Failed:
      break;
  }
  return BackupResult::Failed;
}

}  // namespace vantorel::engine

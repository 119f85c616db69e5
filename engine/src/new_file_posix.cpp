// POSIX half of writing a new file whole.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

bool Write_All(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A fresh file beside `path`, created exclusively; -1 with errno set when none can be.
int Create_Temporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path;
    temporary += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

NewFileResult Write_New_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, bool replace,
                             std::string& why) {
  std::filesystem::path temporary;
  int fd = Create_Temporary(path, temporary);
  if (fd < 0) {
    why = std::strerror(errno);
    return NewFileResult::Failed;
  }
  bool written = Write_All(fd, bytes) && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) {
    // rename replaces whatever has the name; link refuses an existing name in
    // the same step that would take it.
    if (replace ? rename(temporary.c_str(), path.c_str()) == 0 : link(temporary.c_str(), path.c_str()) == 0) {
      if (!replace) unlink(temporary.c_str());
      return NewFileResult::Written;
    }
    error = errno;
  }
  unlink(temporary.c_str());
  if (!replace && error == EEXIST) return NewFileResult::AlreadyExists;
  why = std::strerror(error);
  return NewFileResult::Failed;
}

}  // namespace vantorel::engine

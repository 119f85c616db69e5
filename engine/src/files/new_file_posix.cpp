// POSIX half of writing a new file whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "new_file.h"

namespace vantorel::engine {
namespace {

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
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
// Its name is short and hidden, whatever the length of `path`'s own: any name
// the file system takes can be written this way.
int CreateTemporary(const std::filesystem::path& path, unsigned mode, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".vt%08x.tmp", static_cast<unsigned>(getpid()) * 101u + static_cast<unsigned>(attempt));
    temporary = path.parent_path() / name;
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The new name is durable once its directory is: a crash right after success
// must not lose the file. A directory that cannot be opened or synced (some
// file systems refuse) leaves the file written all the same.
void SyncDirectory(const std::filesystem::path& path) {
  std::filesystem::path dir = path.parent_path();
  int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Why what has the name may not be replaced, or empty: rename puts a file
// in place of anything, and a device or a pipe (even /dev/null, for root) is
// not the user's file to replace. A link is judged by what it leads to.
std::string NotReplaceable(const std::filesystem::path& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
  if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
  return "Not a regular file (a device, a pipe or a socket); only a regular file is replaced";
}

}  // namespace

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat x, y;
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

NewFileResult WriteThroughTemporary(const std::filesystem::path& path, const FillFile& fill, bool replace,
                                    std::string& why, unsigned mode) {
  std::filesystem::path temporary;
  int fd = CreateTemporary(path, mode, temporary);
  if (fd < 0) {
    why = std::strerror(errno);
    return NewFileResult::Failed;
  }
  bool written = fill(fd) && fdatasync(fd) == 0;  // the name's durability is the directory's sync
  int error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && replace) {
    why = NotReplaceable(path);
    if (!why.empty()) {
      unlink(temporary.c_str());
      return NewFileResult::Failed;
    }
  }
  if (written) {
    // rename replaces whatever has the name; link refuses an existing name in
    // the same step that would take it.
    if (replace ? rename(temporary.c_str(), path.c_str()) == 0 : link(temporary.c_str(), path.c_str()) == 0) {
      if (!replace) unlink(temporary.c_str());
      SyncDirectory(path);
      return NewFileResult::Written;
    }
    error = errno;
  }
  unlink(temporary.c_str());
  if (!replace && error == EEXIST) return NewFileResult::AlreadyExists;
  why = std::strerror(error);
  return NewFileResult::Failed;
}

NewFileResult WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, bool replace,
                           std::string& why) {
  return WriteThroughTemporary(path, [&](int fd) { return WriteAll(fd, bytes); }, replace, why);
}

}  // namespace vantorel::engine

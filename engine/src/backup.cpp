#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "vantorel/backup.h"

namespace vantorel {

std::filesystem::path Backup_Path(const std::filesystem::path& target) {
  std::filesystem::path backup = target;
  backup += ".bak";
  return backup;
}

#ifdef _WIN32

namespace {
std::string System_Message(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}
}  // namespace

BackupResult Make_Backup(const std::filesystem::path& target, const std::filesystem::path& backup,
                         std::string& why) {
  // bFailIfExists: the existence test and the copy are one operation.
  if (CopyFileW(target.c_str(), backup.c_str(), TRUE)) return BackupResult::Made;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return BackupResult::AlreadyExists;
  why = System_Message(error);
  return BackupResult::Failed;
}

#else

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
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

bool Copy_Bytes(int from, int to) {
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

}  // namespace

BackupResult Make_Backup(const std::filesystem::path& target, const std::filesystem::path& backup,
                         std::string& why) {
  Fd from(open(target.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st{};
  if (from.get() < 0 || fstat(from.get(), &st) != 0) {
    why = std::strerror(errno);
    return BackupResult::Failed;
  }
  if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return BackupResult::Failed;
  }
  // O_EXCL: the existence test and the creation are one step.
  Fd to(open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
  if (to.get() < 0) {
    if (errno == EEXIST) return BackupResult::AlreadyExists;
    why = std::strerror(errno);
    return BackupResult::Failed;
  }
  bool copied = Copy_Bytes(from.get(), to.get()) && fsync(to.get()) == 0;
  int copy_errno = errno;
  if (!to.Close() || !copied) {
    why = std::strerror(copied ? errno : copy_errno);
    unlink(backup.c_str());
    return BackupResult::Failed;
  }
  return BackupResult::Made;
}

#endif

}  // namespace vantorel

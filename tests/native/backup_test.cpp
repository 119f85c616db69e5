// The backup copy: made once and never overwritten, refused for anything but
// a regular file, and never left half-written when the copy fails.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <future>
#endif

#include "test_support.h"
#include "vantorel/engine.h"

namespace vantorel::engine::test {
namespace {

namespace fs = std::filesystem;

TEST(Backup, MadeOnceAndNeverOverwritten) {
  TempDir dir;
  fs::path target = dir / "app.exe";
  WriteFileBytes(target, Bytes{1, 2, 3});
  fs::path backup = BackupPath(target);
  EXPECT_EQ(PathText(backup), PathText(target) + ".bak");
  std::string why;
  EXPECT_EQ(MakeBackup(target, backup, why), BackupResult::Made);
  EXPECT_EQ(ReadFileBytes(backup), (Bytes{1, 2, 3}));
  WriteFileBytes(target, Bytes{9});
  EXPECT_EQ(MakeBackup(target, backup, why), BackupResult::AlreadyExists);
  EXPECT_EQ(ReadFileBytes(backup), (Bytes{1, 2, 3}));
  EXPECT_EQ(MakeBackup(dir / "missing.exe", dir / "missing.exe.bak", why), BackupResult::Failed);
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(fs::exists(dir / "missing.exe.bak"));
}

// Only an existing regular file is a backup made before: anything else of
// that name is in the way, and says so.
TEST(Backup, ADirectoryOrADanglingLinkIsNoBackup) {
  TempDir dir;
  fs::path target = dir / "app.exe";
  WriteFileBytes(target, Bytes{1, 2, 3});
  fs::path backup = BackupPath(target);
  fs::create_directory(backup);
  std::string why;
  EXPECT_EQ(MakeBackup(target, backup, why), BackupResult::Failed);
  EXPECT_FALSE(why.empty());
  fs::remove(backup);

  std::error_code ec;
  fs::create_symlink(dir / "nowhere", backup, ec);
  if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
  why.clear();
  EXPECT_EQ(MakeBackup(target, backup, why), BackupResult::Failed);
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}


// Bytes that differ from their neighbours, so a chunk copied twice or
// skipped shows.
Bytes Counting(size_t size) {
  Bytes b(size);
  for (size_t i = 0; i < size; ++i) b[i] = static_cast<uint8_t>(i % 251);
  return b;
}

TEST(Backup, AnyLengthIsCopiedWhole) {
  TempDir dir;
  // Empty, one byte, and lengths either side of a 64 KiB boundary: whatever
  // size the copy's chunks have, a last chunk of one byte is a whole write.
  for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{3 * 65536 + 1}}) {
    fs::path target = dir / ("app" + std::to_string(size) + ".exe");
    WriteFileBytes(target, Counting(size));
    std::string why;
    ASSERT_EQ(MakeBackup(target, BackupPath(target), why), BackupResult::Made) << size << ": " << why;
    EXPECT_EQ(ReadFileBytes(BackupPath(target)), Counting(size)) << size;
  }
}

#ifndef _WIN32
TEST(Backup, AFifoIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  fs::path fifo = dir / "app.exe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto backup = std::async(std::launch::async, [&] {
    std::string why;
    return MakeBackup(fifo, BackupPath(fifo), why);
  });
  if (backup.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    int unblock = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // lets the hanging open return
    backup.wait();
    if (unblock >= 0) close(unblock);
    FAIL() << "the backup waited for a writer of the FIFO";
  }
  EXPECT_EQ(backup.get(), BackupResult::Failed);
  EXPECT_FALSE(fs::exists(BackupPath(fifo)));
}

// Files may grow to 64 KiB only: the copy's writes fail (EFBIG), or the
// process is killed there (SIGXFSZ). Either way nothing has the backup's
// name, so the next run makes a whole backup rather than keep a cut one.
TEST(Backup, ACopyCutOffPartWayIsNeverTheBackup) {
  for (bool killed : {false, true}) {
    TempDir dir;
    fs::path target = dir / "app.exe";
    WriteFileBytes(target, Bytes(200000, 7));
    fs::path backup = BackupPath(target);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
      rlimit limit{65536, 65536};
      setrlimit(RLIMIT_FSIZE, &limit);
      std::string why;
      _exit(MakeBackup(target, backup, why) == BackupResult::Failed && !why.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(killed ? WIFSIGNALED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0) << killed;
    EXPECT_FALSE(fs::exists(backup)) << killed;
    std::string why;
    EXPECT_EQ(MakeBackup(target, backup, why), BackupResult::Made) << killed << ": " << why;
    EXPECT_EQ(ReadFileBytes(backup), Bytes(200000, 7)) << killed;
  }
}
// The backup gets the target's permission bits (less the umask), so a
// program stays a program and a private file stays private.
TEST(Backup, KeepsTheTargetsPermissions) {
  TempDir dir;
  mode_t mask = umask(0);
  umask(mask);
  for (mode_t mode : {mode_t{0640}, mode_t{0755}, mode_t{0600}}) {
    fs::path target = dir / ("app" + std::to_string(mode) + ".exe");
    WriteFileBytes(target, Bytes{1, 2, 3});
    ASSERT_EQ(chmod(target.c_str(), mode), 0);
    std::string why;
    ASSERT_EQ(MakeBackup(target, BackupPath(target), why), BackupResult::Made) << why;
    struct stat st{};
    ASSERT_EQ(stat(BackupPath(target).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode & ~mask) << std::oct << mode;
  }
}

TEST(Backup, ADirectoryIsNotCopied) {
  TempDir dir;
  fs::path target = dir / "app.exe";
  fs::create_directory(target);
  std::string why;
  EXPECT_EQ(MakeBackup(target, BackupPath(target), why), BackupResult::Failed);
  EXPECT_EQ(why, "not a regular file");
  EXPECT_FALSE(fs::exists(BackupPath(target)));
}

// A target whose bytes cannot be read: the copy must stop with the read's
// error, not loop or call it done, and remove what it began.
TEST(Backup, AReadFailureLeavesNoBackup) {
  if (!MemoryFileFailsToRead()) GTEST_SKIP() << "no /proc/self/mem that fails to read";
  TempDir dir;
  fs::path target = dir / "app.exe";
  fs::create_symlink("/proc/self/mem", target);
  std::string why;
  EXPECT_EQ(MakeBackup(target, BackupPath(target), why), BackupResult::Failed);
  EXPECT_EQ(why, std::strerror(EIO));
  EXPECT_FALSE(fs::exists(BackupPath(target)));
}
#endif

}  // namespace
}  // namespace vantorel::engine::test

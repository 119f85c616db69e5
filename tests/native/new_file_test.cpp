// Writing a new file (the icon --extract makes) at its edges: any length, the
// permissions a new file gets, a write that fails part-way, the names of the
// temporary files it tries, and the reason of a failure.
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#endif

#include <cstdio>
#include <functional>

#include "test_support.h"

namespace vantorel::engine::test {
namespace {

namespace fs = std::filesystem;

TEST(NewFileEdges, AnyLengthIsWrittenWhole) {
  TempDir dir;
  for (size_t size : {size_t{1}, size_t{2}, size_t{70001}}) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i % 251 + 1);
    fs::path out = dir / ("out" + std::to_string(size) + ".ico");
    std::string why;
    ASSERT_EQ(WriteNewFile(out, bytes, false, why), NewFileResult::Written) << why;
    EXPECT_EQ(ReadFileBytes(out), bytes);
  }
}

#ifndef _WIN32
TEST(NewFileEdges, ANewFileIsReadableAndWritableByAllTheUmaskAllows) {
  TempDir dir;
  mode_t mask = umask(0);
  umask(mask);
  std::string why;
  ASSERT_EQ(WriteNewFile(dir / "out.ico", Bytes{1}, false, why), NewFileResult::Written) << why;
  struct stat st{};
  ASSERT_EQ(stat((dir / "out.ico").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST(NewFileEdges, AFailureSaysWhy) {
  TempDir dir;
  std::string why;
  EXPECT_EQ(WriteNewFile(dir / "no-such-dir" / "out.ico", Bytes{1}, false, why), NewFileResult::Failed);
  EXPECT_EQ(why, std::strerror(ENOENT));
}

// Files may grow to 64 KiB only: the write fails part-way (EFBIG), and
// neither the file nor its temporary is left, whether or not it would replace.
TEST(NewFileEdges, AWriteThatFailsPartWayLeavesNothing) {
  for (bool replace : {false, true}) {
    TempDir dir;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      alarm(20);  // a write loop that never ends fails the test
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit limit{65536, 65536};
      setrlimit(RLIMIT_FSIZE, &limit);
      std::string why;
      NewFileResult result = WriteNewFile(dir / "out.ico", Bytes(200000, 7), replace, why);
      _exit(result == NewFileResult::Failed && why == std::strerror(EFBIG) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << replace;
    EXPECT_TRUE(fs::is_empty(dir.path())) << replace;
  }
}

// The temporary is ".vtXXXXXXXX.tmp" beside the file, the eight hex digits
// PID * 101 + N for the first N from 0 to 99 that is free.
TEST(NewFileEdges, TheTemporaryTakesTheFirstFreeOfAHundredNames) {
  TempDir dir;
  fs::path out = dir / "out.ico";
  auto temporary = [&](int n) {
    char name[32];
    std::snprintf(name, sizeof name, ".vt%08x.tmp", static_cast<unsigned>(getpid()) * 101u + static_cast<unsigned>(n));
    return dir / name;
  };
  for (int n = 1; n < 100; ++n) WriteFileBytes(temporary(n), Bytes{9});
  std::string why;
  ASSERT_EQ(WriteNewFile(out, Bytes{1, 2}, false, why), NewFileResult::Written) << why;  // takes -0
  fs::remove(out);
  WriteFileBytes(temporary(0), Bytes{9});
  EXPECT_EQ(WriteNewFile(out, Bytes{1, 2}, false, why), NewFileResult::Failed);  // all hundred taken
  EXPECT_EQ(why, std::strerror(EEXIST));
  EXPECT_FALSE(fs::exists(out));
  fs::remove(temporary(99));
  EXPECT_EQ(WriteNewFile(out, Bytes{1, 2}, false, why), NewFileResult::Written) << why;  // the last one
  EXPECT_EQ(ReadFileBytes(out), (Bytes{1, 2}));
}

// Any name the file system takes can be written, up to its 255-byte limit:
// the temporary's own name stays short.
TEST(NewFileEdges, NamesUpToTheFileSystemsLimitAreWritten) {
  TempDir dir;
  for (size_t length : {size_t{240}, size_t{250}, size_t{254}, size_t{255}}) {
    std::string name(length - 4, 'n');
    fs::path out = dir / (name + ".ico");
    std::string why;
    for (bool replace : {false, true}) {
      ASSERT_EQ(WriteNewFile(out, Bytes{1, 2, 3}, replace, why), NewFileResult::Written) << length << ": " << why;
      EXPECT_EQ(ReadFileBytes(out), (Bytes{1, 2, 3}));
    }
    fs::remove(out);
  }
  EXPECT_TRUE(fs::is_empty(dir.path())) << "no temporary is left behind";
}
#endif

// With replace, a regular file (or a link to one) gives way; a FIFO, a link
// to a device or a device keeps its name and kind, says why, and no
// temporary stays.
TEST(NewFileEdges, OnlyARegularFileIsReplaced) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    bool replaced;
  } cases[] = {
      {"out.ico", [](const fs::path& p) { WriteFileBytes(p, Bytes{9}); }, true},
#ifdef _WIN32
      {"NUL", [](const fs::path&) {}, false},
#else
      {"out.ico", [](const fs::path& p) { WriteFileBytes(p.parent_path() / "a", {}), fs::create_symlink("a", p); }, true},
      {"out.ico", [](const fs::path& p) { mkfifo(p.c_str(), 0600); }, false},
      {"out.ico", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }, false},
#endif
  };
  for (const Case& c : cases) {
    TempDir dir;
    c.make(dir / c.name);
    std::error_code ec;
    fs::file_type before = fs::symlink_status(dir / c.name, ec).type();
    std::string why;
    NewFileResult result = WriteNewFile(dir / c.name, Bytes{1, 2}, true, why);
    EXPECT_EQ(result, c.replaced ? NewFileResult::Written : NewFileResult::Failed) << int(before) << why;
    if (c.replaced) continue;
    EXPECT_EQ(why.rfind("Not a regular file (a device", 0), 0u) << why;
    EXPECT_EQ(fs::symlink_status(dir / c.name, ec).type(), before) << int(before);
    for (const auto& entry : fs::directory_iterator(dir.path())) EXPECT_NE(entry.path().extension(), ".tmp");
  }
}

// One file however its name is spelt; another file, or none, is not it.
TEST(NewFileEdges, OneFileUnderAnyOfItsNames) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", Bytes{1});
  WriteFileBytes(dir / "other.exe", Bytes{1});
  fs::create_directory(dir / "sub");
  std::error_code ec;
  fs::create_hard_link(dir / "app.exe", dir / "hard.exe", ec);
  bool hard_links = !ec;
  fs::create_symlink(dir / "app.exe", dir / "soft.exe", ec);
  bool symlinks = !ec;
  struct Case {
    fs::path name;
    bool same;
    bool needs_hard_link = false, needs_symlink = false;
  } cases[] = {
      {dir / "app.exe", true},
      {dir / "." / "app.exe", true},
      {dir / "sub" / ".." / "app.exe", true},
      {dir / "hard.exe", true, true},
      {dir / "soft.exe", true, false, true},
      {dir / "other.exe", false},
      {dir / "missing.exe", false},
      {dir / "sub", false},
#ifdef _WIN32
      // The system drops trailing dots and spaces and ignores case.
      {dir / "app.exe.", true},
      {dir / "APP.EXE.", true},
      {dir / "app.exe. .", true},
      {dir / "APP.EXE", true},
#else
      // Here those are other names.
      {dir / "app.exe.", false},
      {dir / "APP.EXE", false},
#endif
  };
  for (const Case& c : cases) {
    if ((c.needs_hard_link && !hard_links) || (c.needs_symlink && !symlinks)) continue;
    EXPECT_EQ(IsSameFile(dir / "app.exe", c.name), c.same) << PathText(c.name);
    EXPECT_EQ(IsSameFile(c.name, dir / "app.exe"), c.same) << PathText(c.name);
  }
}

}  // namespace
}  // namespace vantorel::engine::test

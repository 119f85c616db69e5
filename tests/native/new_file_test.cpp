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
    ASSERT_EQ(Write_New_File(out, bytes, false, why), NewFileResult::Written) << why;
    EXPECT_EQ(ReadFileBytes(out), bytes);
  }
}

#ifndef _WIN32
TEST(NewFileEdges, ANewFileIsReadableAndWritableByAllTheUmaskAllows) {
  TempDir dir;
  mode_t mask = umask(0);
  umask(mask);
  std::string why;
  ASSERT_EQ(Write_New_File(dir / "out.ico", Bytes{1}, false, why), NewFileResult::Written) << why;
  struct stat st{};
  ASSERT_EQ(stat((dir / "out.ico").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST(NewFileEdges, AFailureSaysWhy) {
  TempDir dir;
  std::string why;
  EXPECT_EQ(Write_New_File(dir / "no-such-dir" / "out.ico", Bytes{1}, false, why), NewFileResult::Failed);
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
      NewFileResult result = Write_New_File(dir / "out.ico", Bytes(200000, 7), replace, why);
      _exit(result == NewFileResult::Failed && why == std::strerror(EFBIG) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << replace;
    EXPECT_TRUE(fs::is_empty(dir.path())) << replace;
  }
}

// The temporary is "NAME.tmpPID-N" for the first N from 0 to 99 that is free.
TEST(NewFileEdges, TheTemporaryTakesTheFirstFreeOfAHundredNames) {
  TempDir dir;
  fs::path out = dir / "out.ico";
  auto temporary = [&](int n) {
    fs::path t = out;
    t += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(n);
    return t;
  };
  for (int n = 1; n < 100; ++n) WriteFileBytes(temporary(n), Bytes{9});
  std::string why;
  ASSERT_EQ(Write_New_File(out, Bytes{1, 2}, false, why), NewFileResult::Written) << why;  // takes -0
  fs::remove(out);
  WriteFileBytes(temporary(0), Bytes{9});
  EXPECT_EQ(Write_New_File(out, Bytes{1, 2}, false, why), NewFileResult::Failed);  // all hundred taken
  EXPECT_EQ(why, std::strerror(EEXIST));
  EXPECT_FALSE(fs::exists(out));
  fs::remove(temporary(99));
  EXPECT_EQ(Write_New_File(out, Bytes{1, 2}, false, why), NewFileResult::Written) << why;  // the last one
  EXPECT_EQ(ReadFileBytes(out), (Bytes{1, 2}));
}
#endif

}  // namespace
}  // namespace vantorel::engine::test

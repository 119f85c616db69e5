// Change_Icon on real files: opening, exclusive access, texts with the paths
// as given, and outcomes that leave files untouched.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "test_support.h"
#include "vantorel/engine.h"

namespace vantorel::engine::test {
namespace {

namespace fs = std::filesystem;

class ChangeIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    pe_ = BuildPe(IconProgram({800, 800}));
    icon_ = dir_ / "new.ico";
    target_ = dir_ / "app.exe";
    WriteFileBytes(icon_, IconFile({Image(744, 3)}));
    WriteFileBytes(target_, pe_.bytes);
  }

  int32_t Run(const fs::path& icon, const fs::path& target) {
    failure_ = "kept";
    return Change_Icon(icon, target, failure_, warnings_.sink());
  }

  TempDir dir_;
  BuiltPe pe_;
  fs::path icon_, target_;
  std::string failure_;
  Warnings warnings_;
};

TEST_F(ChangeIcon, SuccessKeepsTheCallersTextAndTheFileLength) {
  ASSERT_EQ(Run(icon_, target_), 0);
  EXPECT_EQ(failure_, "kept");
  EXPECT_EQ(fs::file_size(target_), pe_.bytes.size());
  EXPECT_NE(ReadFileBytes(target_), pe_.bytes);
}

TEST_F(ChangeIcon, OpenFailuresNameThePathAsGiven) {
  // The fixed sentence with nothing for the name, then the system's reason
  // (Windows takes an empty name for a path that is not there).
  EXPECT_EQ(Run("", target_), kOpenFailed);
  EXPECT_EQ(failure_, "Failed to open . Make sure file is not in use by another program. " +
                          SystemReason(ENOENT, ERROR_PATH_NOT_FOUND));

  fs::path missing = dir_ / "missing.exe";
  EXPECT_EQ(Run(icon_, missing), kOpenFailed);
  EXPECT_EQ(failure_, MissingFileText(PathText(missing)));

  EXPECT_EQ(Run(dir_.path(), target_), kOpenFailed);  // a directory is not an icon file
  EXPECT_EQ(Run(icon_, dir_.path()), kOpenFailed);
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

TEST_F(ChangeIcon, TextsForBadFiles) {
  fs::path text = dir_ / "readme.txt";
  WriteFileBytes(text, Bytes(300, 'a'));
  EXPECT_EQ(Run(icon_, text), kNotWin32Executable);
  EXPECT_EQ(failure_, PathText(text) + " is not a valid Win32 executable.");
  EXPECT_EQ(Run(text, target_), kNotIconFile);
  EXPECT_EQ(failure_, PathText(text) + " is not a valid icon resource file.");
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

TEST_F(ChangeIcon, UnicodeNamesWorkEverywhere) {
  fs::path icon = dir_ / fs::path(u8"ícône-画像.ico");
  fs::path target = dir_ / fs::path(u8"prógram-程序.exe");
  fs::copy_file(icon_, icon);
  fs::copy_file(target_, target);
  EXPECT_EQ(Run(icon, target), 0) << failure_;
  fs::path missing = dir_ / fs::path(u8"nöt-there-ない.exe");
  EXPECT_EQ(Run(icon, missing), kOpenFailed);
  EXPECT_EQ(failure_, MissingFileText(PathText(missing)));
  EXPECT_NE(failure_.find("\xE3\x81\xAA\xE3\x81\x84"), std::string::npos);  // "ない" in UTF-8
}

TEST_F(ChangeIcon, AFileSomebodyHoldsCannotBeOpened) {
  auto held = OpenImageFile(target_, Access::Read);
  ASSERT_TRUE(held);
  EXPECT_EQ(Run(icon_, target_), kOpenFailed);
  EXPECT_FALSE(OpenImageFile(target_, Access::Read));
#ifdef _WIN32
  // Share mode 0: not even a reader that shares everything gets in.
  HANDLE h = CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
#endif
  held.reset();
  EXPECT_EQ(Run(icon_, target_), 0) << failure_;
}

TEST_F(ChangeIcon, ReadOnlyTargetIsRefused) {
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE probe = CreateFileW(target_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);  // Wine run by the superuser cannot enforce the attribute
    SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "read-only files are writable here";
  }
  EXPECT_EQ(Run(icon_, target_), kOpenFailed);
  SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
#else
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  fs::permissions(target_, fs::perms::owner_read);
  EXPECT_EQ(Run(icon_, target_), kOpenFailed);
#endif
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

#ifndef _WIN32
TEST_F(ChangeIcon, PipesAreNotOpened) {
  fs::path fifo = dir_ / "pipe.exe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Run(icon_, fifo), kOpenFailed);  // and does not wait for a writer
  EXPECT_EQ(Run(fifo, target_), kOpenFailed);
}
#endif

TEST_F(ChangeIcon, AppendedDataStaysWhereItWas) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 2000;
  o.appended = Bytes(5000, 0x5A);
  BuiltPe pe = BuildPe(o);
  WriteFileBytes(target_, pe.bytes);
  WriteFileBytes(icon_, IconFile({Image(1500, 1)}));
  ASSERT_EQ(Run(icon_, target_), 0) << failure_;
  Bytes after = ReadFileBytes(target_);
  ASSERT_EQ(after.size(), pe.bytes.size());
  EXPECT_TRUE(std::equal(after.end() - 5000, after.end(), pe.bytes.end() - 5000));
}

}  // namespace
}  // namespace vantorel::engine::test

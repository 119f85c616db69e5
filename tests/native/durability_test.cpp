// Every file the engine writes is on disk before it reports success: the
// changed program, the backup copy and the new icon file (whose temporary is
// synced before it takes its name). Linked with -Wl,--wrap for fsync and
// fdatasync, so each sync is recorded by the file's identity and then done.
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <utility>

#include "test_support.h"

namespace {

std::set<std::pair<dev_t, ino_t>>& Synced() {
  static std::set<std::pair<dev_t, ino_t>> synced;
  return synced;
}

void Record(int fd) {
  struct stat st{};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) Synced().insert({st.st_dev, st.st_ino});
}

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
  Record(fd);
  return __real_fsync(fd);
}
extern "C" int __real_fdatasync(int fd);
extern "C" int __wrap_fdatasync(int fd) {
  Record(fd);
  return __real_fdatasync(fd);
}

namespace vantorel::engine::test {
namespace {

bool WasSynced(const std::filesystem::path& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && Synced().count({st.st_dev, st.st_ino}) > 0;
}

TEST(Durability, EveryFileWrittenIsSyncedBeforeSuccess) {
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  struct Case {
    const char* what;
    // Runs one operation in `dir`; returns whether it succeeded and the file
    // it wrote.
    std::function<bool(const TempDir& dir, std::filesystem::path& written)> run;
  } cases[] = {
      {"the program, first image",
       [&](const TempDir& dir, std::filesystem::path& written) {
         written = dir / "app.exe";
         std::string failure;
         return Change_Icon(dir / "new.ico", written, failure) == kSuccess;
       }},
      {"the program, every size",
       [&](const TempDir& dir, std::filesystem::path& written) {
         written = dir / "app.exe";
         AllSizesReport report;
         std::string failure;
         return ChangeIconAllSizes(dir / "new.ico", written, report, failure) == kSuccess;
       }},
      {"the backup",
       [&](const TempDir& dir, std::filesystem::path& written) {
         written = BackupPath(dir / "app.exe");
         std::string why;
         return MakeBackup(dir / "app.exe", written, why) == BackupResult::Made;
       }},
      {"the extracted icon",
       [&](const TempDir& dir, std::filesystem::path& written) {
         written = dir / "out.ico";
         ExtractedIcon icon;
         std::string failure, why;
         return ExtractIconGroup(dir / "app.exe", {}, icon, failure) == kSuccess &&
                WriteNewFile(written, icon.ico, false, why) == NewFileResult::Written;
       }},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFileBytes(dir / "app.exe", pe.bytes);
    WriteFileBytes(dir / "new.ico", IconFile({Image(600, 1, 32)}));
    Synced().clear();
    std::filesystem::path written;
    ASSERT_TRUE(c.run(dir, written)) << c.what;
    EXPECT_TRUE(WasSynced(written)) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::engine::test

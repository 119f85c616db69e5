// vantorel-cli: usage, exit statuses, one-line diagnostics, backups, --list.
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <sstream>

#include "cli_support.h"

namespace vantorel::cli::test {

// The tool is run on programs and icons made by the engine tests' builder.
using namespace engine;
using namespace engine::test;
namespace {

// Wrong usage is two lines on stderr: what is wrong, and where to look.
void ExpectWrongUsage(const Output& o, const std::string& what) {
  EXPECT_EQ(o.status, 2) << what;
  EXPECT_TRUE(o.out.empty()) << what;
  EXPECT_EQ(Lines(o.err), 2u) << what << ": " << o.err;
  EXPECT_EQ(o.err.rfind("vantorel-cli: ", 0), 0u) << what << ": " << o.err;
  EXPECT_NE(o.err.find("\nTry 'vantorel-cli --help' for more information.\n"), std::string::npos) << o.err;
}

TEST_F(CliTest, WrongUsageExitsTwo) {
  for (const auto& args : std::vector<std::vector<fs::path>>{
           {}, {"only.ico"}, {"a", "b", "c"}, {"--frobnicate", "a", "b"}, {"--list"}, {"--list", "a", "b"},
           {"--list", "--backup", "a"}, {"--version", "extra"}, {"--help", "extra"}}) {
    ExpectWrongUsage(Cli(args), std::to_string(args.size()));
  }
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

TEST_F(CliTest, HelpAndVersion) {
  Output help = Cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--backup"), std::string::npos);
  Output version = Cli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("vantorel-cli ", 0), 0u);
}

TEST_F(CliTest, ReplacesAndListsTheResult) {
  Output o = Cli({icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(o.err.empty());
  Output list = Cli({"--list", target_});
  ASSERT_EQ(list.status, 0) << list.err;
  // Both group entries now describe the 48 x 48, 8-bit, 744-byte image at the
  // first image's old place.
  char offset[32];
  std::snprintf(offset, sizeof offset, "%#x", pe_.data_offset[0]);
  size_t rows = 0;
  std::istringstream lines(list.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
    if (w.size() == 9 && w[2] == "48" && w[3] == "48" && w[5] == "8" && w[6] == "744" && w[8] == offset) ++rows;
  }
  EXPECT_EQ(rows, 2u) << list.out;
  EXPECT_EQ(list.out.rfind(PathText(target_) + " is not signed.\nIcon groups of " + PathText(target_) + ":\n", 0), 0u)
      << list.out;
}

TEST_F(CliTest, FailuresAreOneLineWithTheirNumber) {
  fs::path text = dir_ / "notes.txt";
  WriteFileBytes(text, Bytes(100, 'n'));
  Output o = Cli({icon_, text});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "error 1002: " + PathText(text) + " is not a valid Win32 executable.\n");
  Output list = Cli({"--list", text});
  EXPECT_EQ(list.status, 1);
  EXPECT_EQ(Lines(list.err), 1u);
}

// 1004's fixed text says the file may be corrupt; for a program built without
// resources (not for a damaged tree) a second line says how it gets an icon.
TEST_F(CliTest, AProgramWithoutResourcesIsToldHowToGetAnIcon) {
  PeOptions bare = IconProgram({800, 800});
  bare.resource_section = false;
  Bytes damaged = pe_.bytes;
  Put32(damaged, pe_.resource_dir, 0x7000000);  // a tree in no section
  const std::string error =
      "error 1004: " + PathText(target_) + " does not contain a valid resource tree.  File may be corrupt.\n";
  for (const Bytes& program : {damaged, BuildPe(bare).bytes}) {
    for (std::vector<fs::path> args :
         {std::vector<fs::path>{}, {"--all-sizes"}, {"--dry-run"}, {"--dry-run", "--all-sizes"}}) {
      WriteFileBytes(target_, program);
      args.insert(args.end(), {icon_, target_});
      EXPECT_EQ(Cli(args).err, program == damaged ? error : error + PathText(target_) +
                                   " has no resources, so no icon to change: --add-sizes gives it one.\n");
    }
  }
  EXPECT_EQ(Cli({"--add-sizes", icon_, target_}).status, 0) << "as the line says";
}

TEST_F(CliTest, WarningsAreOneLineEach) {
  Bytes b = pe_.bytes;
  Put16(b, pe_.e_lfanew + 6, 820);
  WriteFileBytes(target_, b);
  Output o = Cli({icon_, target_});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(Lines(o.err), 2u) << o.err;
  EXPECT_EQ(o.err.rfind("warning: ", 0), 0u);
  EXPECT_NE(o.err.find("error 1004: "), std::string::npos);
}

TEST_F(CliTest, BackupIsMadeOnceAndKept) {
  Output first = Cli({"--backup", icon_, target_});
  ASSERT_EQ(first.status, 0);
  fs::path backup = BackupPath(target_);
  EXPECT_EQ(first.out, "Backup written to " + PathText(backup) + "\nChanged the icon of " + PathText(target_) + "\n");
  EXPECT_EQ(ReadFileBytes(backup), pe_.bytes);
  Bytes changed = ReadFileBytes(target_);
  // A second run keeps the first backup, which still holds the original.
  Output second = Cli({"--backup", icon_, target_});
  ASSERT_EQ(second.status, 0);
  EXPECT_EQ(second.out.rfind("Backup " + PathText(backup) + " exists already and was kept\n", 0), 0u) << second.out;
  EXPECT_EQ(ReadFileBytes(backup), pe_.bytes);
  EXPECT_EQ(ReadFileBytes(target_), changed);
}

TEST_F(CliTest, DryRunSaysWhereAndChangesNothing) {
  Output o = Cli({"--dry-run", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  char offset[32];
  std::snprintf(offset, sizeof offset, "%#x (RVA %#x)", pe_.data_offset[0], pe_.rsrc_va + (pe_.data_offset[0] - pe_.root));
  EXPECT_NE(o.out.find(offset), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("2 icon entries and 2 group-icon entries"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\nThe header checksum stays as it is.\n"), std::string::npos) << o.out;
  Bytes kept = pe_.bytes;
  Put32(kept, pe_.optional_header + 64, 0x1234);  // a checksum to keep
  WriteFileBytes(target_, kept);
  Output with_checksum = Cli({"--dry-run", icon_, target_});
  EXPECT_NE(with_checksum.out.find("\nThe header checksum would be updated.\n"), std::string::npos) << with_checksum.out;
  WriteFileBytes(target_, pe_.bytes);
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
  EXPECT_NE(o.out.find("in place"), std::string::npos) << o.out;
  // A failure that a real run would meet is reported the same way.
  WriteFileBytes(icon_, IconFile({Image(5000, 1)}));
  Output no_room = Cli({"--dry-run", icon_, target_});
  EXPECT_EQ(no_room.status, 1);
  EXPECT_EQ(no_room.err.rfind("error 1007: ", 0), 0u) << no_room.err;
}

TEST_F(CliTest, DryRunSaysWhenTheImageMovesOverSeveralOldImages) {
  // 1,200 bytes fit neither image's 800, but the two old images together
  // (808 + 800) from the first one's start.
  WriteFileBytes(icon_, IconFile({Image(1200, 2)}));
  Output o = Cli({"--dry-run", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out.find("in place"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("over the first icon image"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("moved: into free room"), std::string::npos) << o.out;
}

TEST_F(CliTest, ListShowsWidthAndHeightZeroAs256) {
  Bytes b = pe_.bytes;
  b[pe_.data_offset[2] + 6] = 0;  // first group entry: width 0
  b[pe_.data_offset[2] + 7] = 0;  // and height 0
  WriteFileBytes(target_, b);
  Output list = Cli({"--list", target_});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("     1033    256    256 "), std::string::npos) << list.out;
}

TEST_F(CliTest, SignedProgramsNeedConsent) {
  Bytes b = pe_.bytes;
  Put32(b, pe_.optional_header + 128, static_cast<uint32_t>(b.size()));  // certificate table
  Put32(b, pe_.optional_header + 132, 0x100);
  b.resize(b.size() + 0x100, 0x30);
  WriteFileBytes(target_, b);
  for (bool backup : {false, true}) {
    Output refused = backup ? Cli({"--backup", icon_, target_}) : Cli({icon_, target_});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("error 1011: " + PathText(target_) + " is signed", 0), 0u) << refused.err;
    EXPECT_EQ(ReadFileBytes(target_), b);
    EXPECT_FALSE(fs::exists(BackupPath(target_)));
  }
  // A dry run changes nothing: it runs, and says the target is signed.
  Output dry = Cli({"--dry-run", icon_, target_});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("is signed"), std::string::npos) << dry.out;
  EXPECT_EQ(ReadFileBytes(target_), b);
  Output list = Cli({"--list", target_});
  EXPECT_NE(list.out.find("is signed"), std::string::npos);
  EXPECT_EQ(Cli({"--allow-signed", icon_, target_}).status, 0);
  EXPECT_NE(ReadFileBytes(target_), b);
}

// A directory or a dangling link named like the backup is no backup: the
// target is not changed, and the failure says why.
TEST_F(CliTest, SomethingElseNamedLikeTheBackupIsNoBackup) {
  fs::create_directory(BackupPath(target_));
  Output o = Cli({"--backup", icon_, target_});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err.rfind("error 1010: Could not create the backup file " + PathText(BackupPath(target_)) +
                            ". The target was not changed. ",
                        0),
            0u)
      << o.err;
  EXPECT_GT(o.err.size(), o.err.find("changed. ") + 10) << "the reason follows";
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
  fs::remove(BackupPath(target_));
  std::error_code ec;
  fs::create_symlink(dir_ / "nowhere", BackupPath(target_), ec);
  if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
  o = Cli({"--backup", icon_, target_});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err.rfind("error 1010: ", 0), 0u) << o.err;
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

TEST_F(CliTest, AllSizesAndExtractOptionsGoTogetherOnlyAsDocumented) {
  for (const auto& args : std::vector<std::vector<fs::path>>{
           {"--all-sizes", "a"},
           {"--all-sizes", "--list", "a"},
           {"--extract", "a"},
           {"--extract", "a", "b", "c"},
           {"--extract", "--backup", "a", "b"},
           {"--extract", "--dry-run", "a", "b"},
           {"--extract", "--all-sizes", "a", "b"},
           {"--group", "1", "a", "b"},
           {"--force", "a", "b"},
           {"--language", "1033", "a", "b"},
           {"--extract", "a", "b", "--group"},
           {"--extract", "a", "b", "--group", ""},
           {"--extract", "a", "b", "--language", "en"},
           {"--extract", "a", "b", "--language", "0x"},
           {"--extract", "a", "b", "--language", "4294967296"}}) {
    ExpectWrongUsage(Cli(args), std::to_string(args.size()));
  }
  Output help = Cli({"--help"});
  for (const char* option : {"--all-sizes", "--extract", "--group", "--language", "--force"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
}

// Two images, 16 and 32 pixels, as the two group entries of the target describe.
Bytes TwoSizes() {
  IconFileEntry small = Image(300, 1, 16), large = Image(600, 2, 32);
  small.bits = large.bits = 32;
  small.colors = large.colors = 0;
  return IconFile({small, large});
}

TEST_F(CliTest, AllSizesDryRunPrintsTheAssignmentTable) {
  WriteFileBytes(icon_, TwoSizes());
  Output o = Cli({"--dry-run", "--all-sizes", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
  // One row per icon: wanted, given, bytes, offset.
  size_t rows = 0;
  std::istringstream lines(o.out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
    if (w.size() == 9 && w[0] == "#1" && w[2] == "16x16" && w[4] == "1:" && w[5] == "16x16" && w[7] == "300") ++rows;
    if (w.size() == 9 && w[0] == "#2" && w[2] == "32x32" && w[4] == "2:" && w[5] == "32x32" && w[7] == "600") ++rows;
  }
  EXPECT_EQ(rows, 2u) << o.out;
  EXPECT_NE(o.out.find("2 distinct images would be written; 2 group-icon entries would describe them."),
            std::string::npos)
      << o.out;

  ASSERT_EQ(Cli({"--backup", "--all-sizes", icon_, target_}).status, 0);
  EXPECT_EQ(ReadFileBytes(BackupPath(target_)), pe_.bytes);
  Output list = Cli({"--list", target_});
  EXPECT_NE(list.out.find("   16     16      0   32        300"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("   32     32      0   32        600"), std::string::npos) << list.out;
}

TEST_F(CliTest, AllSizesSaysWhichIconsGotASubstitute) {
  // 1,600 bytes of room hold the 16-pixel image (300) but not the 32 (1,400) beside it.
  IconFileEntry small = Image(300, 1, 16), large = Image(1400, 2, 32);
  small.bits = large.bits = 32;
  WriteFileBytes(icon_, IconFile({small, large}));
  Output o = Cli({"--all-sizes", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("Icon #2 (language 1033) wants 32x32 32-bit; the room holds no image of that size with the "
                       "others, so it got image 1 (16x16 32-bit)."),
            std::string::npos)
      << o.out;
}

TEST_F(CliTest, AllSizesOnASignedProgramNeedsConsentToo) {
  Bytes b = pe_.bytes;
  Put32(b, pe_.optional_header + 128, static_cast<uint32_t>(b.size()));
  Put32(b, pe_.optional_header + 132, 0x100);
  b.resize(b.size() + 0x100, 0x30);
  WriteFileBytes(target_, b);
  Output o = Cli({"--all-sizes", icon_, target_});
  EXPECT_EQ(o.err.rfind("error 1011: ", 0), 0u) << o.err;
  EXPECT_EQ(ReadFileBytes(target_), b);
  EXPECT_EQ(Cli({"--all-sizes", "--allow-signed", icon_, target_}).status, 0);
}

TEST_F(CliTest, ExtractWritesOnceAndKeepsWhatExists) {
  fs::path out = dir_ / "out.ico";
  Output o = Cli({"--extract", target_, out});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "Wrote " + PathText(out) + ": icon group #1 (language 1033) of " + PathText(target_) +
                       ", 2 images\n");
  Bytes ico = ReadFileBytes(out);
  EXPECT_EQ(ico.size(), 6u + 2 * 16 + 800 + 800);

  WriteFileBytes(out, Bytes(5, 'k'));
  Output kept = Cli({"--extract", target_, out});
  EXPECT_EQ(kept.status, 1);
  EXPECT_EQ(kept.err, "error 1014: " + PathText(out) + " exists already and was kept. Use --force to replace it.\n");
  EXPECT_EQ(ReadFileBytes(out), Bytes(5, 'k'));
  ASSERT_EQ(Cli({"--extract", "--force", target_, out}).status, 0);
  EXPECT_EQ(ReadFileBytes(out), ico);

  // The program itself, however OUT spells it, is refused, even with --force.
  std::vector<fs::path> spellings = {target_, dir_ / "." / "app.exe", dir_ / ".." / dir_.path().filename() / "app.exe"};
#ifdef _WIN32
  // The system drops trailing dots and spaces, and ignores case.
  for (const char* name : {"app.exe.", "APP.EXE.", "app.exe. .", "APP.EXE"}) spellings.push_back(dir_ / name);
#else
  std::error_code ec;
  fs::create_symlink(target_, dir_ / "link.exe", ec);
  if (!ec) spellings.push_back(dir_ / "link.exe");
#endif
  for (const fs::path& spelling : spellings) {
    Output itself = Cli({"--extract", "--force", target_, spelling});
    EXPECT_EQ(itself.status, 1) << PathText(spelling);
    EXPECT_EQ(itself.err, "error 1015: " + PathText(spelling) + " is the program itself. Nothing was written.\n");
    EXPECT_EQ(ReadFileBytes(target_), pe_.bytes) << PathText(spelling);
  }
  Output no_group = Cli({"--extract", target_, dir_ / "x.ico", "--group", "7", "--language", "0x409"});
  EXPECT_EQ(no_group.err.rfind("error 1012: ", 0), 0u) << no_group.err;
  EXPECT_FALSE(fs::exists(dir_ / "x.ico"));
  EXPECT_EQ(Cli({"--extract", target_, dir_ / "y.ico", "--group", "#1", "--language", "0x409"}).status, 0);
}

#ifndef _WIN32
TEST_F(CliTest, NoBackupNoChange) {
  // A name one character short of the limit leaves no room for ".bak".
  fs::path target = dir_ / std::string(252, 'p');
  WriteFileBytes(target, pe_.bytes);
  Output o = Cli({"--backup", icon_, target});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err.rfind("error 1010: Could not create the backup file ", 0), 0u) << o.err;
  // The fixed sentence, then the system's reason.
  EXPECT_NE(o.err.find(". The target was not changed. File name too long\n"), std::string::npos) << o.err;
  EXPECT_EQ(ReadFileBytes(target), pe_.bytes);
}

// Under a file size limit (ulimit -f) the append that passes it fails as on
// a full disk, instead of the kernel killing the run mid-write (SIGXFSZ): the
// run says so, and the target keeps every byte.
TEST_F(CliTest, AFileSizeLimitIsAWriteFailure) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{pe_.bytes.size() + 100, pe_.bytes.size() + 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    Output o = Cli({"--add-sizes", icon_, target_});
    _exit(o.status == 1 && o.err.rfind("error 1008: ", 0) == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

// A target that cannot be read: failure 1010 with the system's reason, and
// no half-made backup.
TEST_F(CliTest, ABackupThatCannotBeReadIsFailure1010) {
  if (!MemoryFileFailsToRead()) GTEST_SKIP() << "no /proc/self/mem that fails to read";
  fs::path target = dir_ / "mem.exe";
  fs::create_symlink("/proc/self/mem", target);
  Output o = Cli({"--backup", icon_, target});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "error 1010: Could not create the backup file " + PathText(BackupPath(target)) +
                       ". The target was not changed. " + std::strerror(EIO) + "\n");
  EXPECT_FALSE(fs::exists(BackupPath(target)));
}
#endif

// The running test program: it can be read, but not opened for writing
// (POSIX: "Text file busy"; Windows: in use by the loader).
fs::path RunningProgram() {
#ifdef _WIN32
  wchar_t name[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, name, MAX_PATH * 4);
  return std::wstring(name, n);
#else
  return "/proc/self/exe";
#endif
}

// A file that cannot be opened: failure 1000's fixed sentence, then the
// system's reason, for the target and the icon file alike, on both builds.
TEST_F(CliTest, AFileThatCannotBeOpenedIsFailure1000WithTheReason) {
#ifndef _WIN32
  fs::path fifo = dir_ / "pipe.exe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
#endif
  auto held = OpenImageFile(target_, Access::Read);
  ASSERT_TRUE(held);
  const std::string missing = SystemReason(ENOENT, ERROR_FILE_NOT_FOUND);
  const std::string locked = Either("Locked by another process", SystemReason(0, ERROR_SHARING_VIOLATION));
  const std::string busy = SystemReason(ETXTBSY, ERROR_SHARING_VIOLATION);
  // A dry run opens the target as the write would, and fails as the write does.
  const fs::path running = RunningProgram();
  struct Case {
    std::vector<fs::path> args;
    fs::path failing;
    std::string reason;
  } cases[] = {
      {{icon_, dir_ / "missing.exe"}, dir_ / "missing.exe", missing},
      {{dir_ / "missing.ico", target_}, dir_ / "missing.ico", missing},
      {{"--list", dir_.path()}, dir_.path(), Either(std::strerror(EISDIR), "It is a folder, not a file.")},
      {{"--extract", dir_ / "missing.exe", dir_ / "x.ico"}, dir_ / "missing.exe", missing},
#ifndef _WIN32
      {{"--all-sizes", icon_, fifo}, fifo, "Not a regular file"},
#endif
      {{icon_, target_}, target_, locked},
      {{"--dry-run", "--all-sizes", icon_, target_}, target_, locked},
      {{"--list", icon_ / "x.exe"}, icon_ / "x.exe", SystemReason(ENOTDIR, ERROR_PATH_NOT_FOUND)},
      {{icon_, running}, running, busy},
      {{"--dry-run", icon_, running}, running, busy},
      {{"--dry-run", "--all-sizes", icon_, running}, running, busy},
      {{"--dry-run", "--add-sizes", icon_, running}, running, busy},
  };
  for (const Case& c : cases) {
    Output o = Cli(c.args);
    EXPECT_EQ(o.status, 1) << c.reason;
    EXPECT_EQ(o.err, "error 1000: Failed to open " + PathText(c.failing) +
                         ". Make sure file is not in use by another program. " + c.reason + "\n");
  }
  held.reset();
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
}

}  // namespace
}  // namespace vantorel::cli::test

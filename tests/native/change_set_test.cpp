// An icon change and a resource edit as one change: both or neither; and the
// journal that puts back what the first wrote.
#include "add_sizes_support.h"
#include "files/change_set.h"
#include "modes/resource_edit.h"
#include "test_support.h"
#include "vantorel/program_resources.h"

namespace vantorel::engine::test {
namespace {

// A file that fails its `fail_at`-th write.
class FailingFile : public MemoryFile {
 public:
  FailingFile(Bytes b, int fail_at) : MemoryFile(std::move(b)), left_(fail_at) {}
  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    return --left_ != 0 && MemoryFile::WriteAt(offset, data, size);
  }

 private:
  int left_;
};

TEST(ChangeSet, TheJournalPutsBackEveryByteAndTheLength) {
  const Bytes start = {1, 2, 3, 4, 5, 6, 7, 8};
  struct Case {
    const char* what;
    std::function<void(RandomAccessFile&)> change;
  } cases[] = {
      {"writes over each other", [](RandomAccessFile& f) { f.WriteAt(1, "ab", 2), f.WriteAt(2, "cd", 2); }},
      {"an append, then a write into it and over the old end",
       [](RandomAccessFile& f) { f.Append("xyz", 3), f.WriteAt(6, "qqqq", 4); }},
      {"a cut, a write before it, an append",
       [](RandomAccessFile& f) { f.Truncate(5), f.WriteAt(3, "zz", 2), f.Append("tail!", 5); }},
      {"two cuts, the second deeper", [](RandomAccessFile& f) { f.Truncate(6), f.Append("a", 1), f.Truncate(2); }},
  };
  for (const Case& c : cases) {
    MemoryFile file(start);
    JournalFile journal(file);
    c.change(journal);
    // The overlay sees what the file would hold, and leaves the file alone.
    MemoryFile base(start);
    OverlayFile overlay(base);
    c.change(overlay);
    Bytes seen(static_cast<size_t>(overlay.Length()));
    ASSERT_TRUE(overlay.ReadAt(0, seen.data(), seen.size())) << c.what;
    EXPECT_EQ(seen, file.bytes()) << c.what;
    EXPECT_EQ(base.bytes(), start) << c.what;
    ASSERT_TRUE(journal.Undo()) << c.what;
    EXPECT_EQ(file.bytes(), start) << c.what;
  }
}

TEST(ChangeSet, IconAndResourcesTogetherOrNotAtAll) {
  PeOptions o = IconProgram({744});
  const Bytes program = BuildPe(o).bytes;
  const Bytes icon = IconFile({{32, 32, 16, 1, 4, Bytes(744, 7)}});
  struct Case {
    const char* what;
    IconMode mode;
    std::string key, value;
    bool plan_only;
    int32_t result;
  } cases[] = {
      {"both, the version in a new section", IconMode::kFirstImage, "CompanyName", "Vantorel", false, kSuccess},
      {"both, with --add-sizes: one section holds both", IconMode::kAddSizes, "CompanyName", "Vantorel", false,
       kSuccess},
      {"a refused value stops the icon too", IconMode::kFirstImage, "CompanyName", "\xFF", false,
       kVersionValueRefused},
      {"a refused value after --add-sizes", IconMode::kAddSizes, "", "v", false, kVersionValueRefused},
      {"a dry run writes nothing", IconMode::kAddSizes, "CompanyName", "Vantorel", true, kSuccess},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFileBytes(dir / "app.exe", program);
    WriteFileBytes(dir / "new.ico", icon);
    ResourceEdit edit;
    edit.version_strings = {{c.key, c.value}};
    IconChangeReport icon_report;
    ResourceEditReport report;
    std::string failure;
    EXPECT_EQ(ChangeIconAndResources(dir / "new.ico", c.mode, dir / "app.exe", edit, icon_report, report, failure, {},
                                     c.plan_only),
              c.result)
        << c.what << ": " << failure;
    const Bytes after = ReadFileBytes(dir / "app.exe");
    if (c.result != kSuccess || c.plan_only) {
      EXPECT_EQ(after, program) << c.what;
      continue;
    }
    ProgramResources read;
    ASSERT_EQ(ReadProgramResources(dir / "app.exe", read, failure), kSuccess) << failure;
    ASSERT_EQ(read.strings.size(), 1u) << c.what;
    EXPECT_EQ(read.strings[0].value, c.value) << c.what;
    // The icon's image is in the file, and one section was added.
    EXPECT_NE(std::search(after.begin(), after.end(), icon.begin() + 22, icon.end()), after.end()) << c.what;
    EXPECT_EQ(Program(after).sections.size(), Program(program).sections.size() + 1) << c.what;
  }
}

TEST(ChangeSet, AWriteThatFailsPutsBackTheIconChangeToo) {
  const Bytes program = BuildPe(IconProgram({744})).bytes;
  const Bytes icon = IconFile({{32, 32, 16, 1, 4, Bytes(744, 7)}});
  ResourceEdit edit;
  edit.version_strings = {{"CompanyName", "Vantorel"}};
  // The icon half writes the image, two entries and nothing else; a failure
  // of any later write (the resources' half) undoes them.
  for (int fail_at = 1; fail_at <= 8; ++fail_at) {
    FailingFile file(program, fail_at);
    JournalFile journal(file);
    std::string failure;
    ReplacementPlan plan;
    IconImage image = Images(icon).front();
    ResourceEditReport report;
    int32_t result = ReplaceIconIn(journal, image, "new.ico", "app.exe", failure, {}, &plan);
    if (result == kSuccess) result = EditResourcesIn(journal, edit, "app.exe", report, failure, {}, false);
    if (result == kSuccess) continue;
    ASSERT_TRUE(journal.Undo()) << fail_at;
    EXPECT_EQ(file.bytes(), program) << "failing write " << fail_at;
  }
}

}  // namespace
}  // namespace vantorel::engine::test

// What a replacement reports: the failure numbers users and scripts see, and
// the failures thrown from below the engine.
#include <new>
#include <stdexcept>

#include "test_support.h"

namespace vantorel::engine::test {
namespace {

// The numbers are the interface: the CLI prints them, scripts test them, and
// the small ones are the platform's run-time error numbers.
TEST(Outcome, FailureNumbersAreTheDocumentedOnes) {
  struct {
    int32_t constant, number;
  } numbers[] = {
      {kSuccess, 0},           {kOverflow, 6},         {kOutOfMemory, 7},       {kSubscriptOutOfRange, 9},
      {kOpenFailed, 1000},     {kNotWin32Executable, 1002}, {kNotIconFile, 1003}, {kNoResourceTree, 1004},
      {kModifyFailed, 1006},   {kNoRoom, 1007},        {kWriteFailed, 1008},    {kUnexpected, 1009},
      {kBackupFailed, 1010},   {kSignedRefused, 1011}, {kNoSuchGroup, 1012},    {kGroupDamaged, 1013},
      {kOutputExists, 1014},   {kOutputFailed, 1015},
  };
  for (const auto& n : numbers) EXPECT_EQ(n.constant, n.number);
  EXPECT_EQ(ErrorDescription(6), "Overflow");
  EXPECT_EQ(ErrorDescription(7), "Out of memory");
  EXPECT_EQ(ErrorDescription(9), "Subscript out of range");
  EXPECT_EQ(ErrorDescription(1006), "Application-defined or object-defined error");
}

// A target whose reads throw what the layer below may throw.
template <typename Thrown>
class ThrowingFile : public MemoryFile {
 public:
  explicit ThrowingFile(Bytes b) : MemoryFile(std::move(b)) {}
  bool ReadAt(int64_t, void*, size_t) const override { throw Thrown("from below"); }
};

struct BadAlloc : std::bad_alloc {
  explicit BadAlloc(const char*) {}
};

template <typename File>
int32_t ReplaceIn(File& file, std::string& failure) {
  MemoryFile icon_file(IconFile({Image(100, 1)}));
  IconImage image;
  EXPECT_EQ(LoadFirstImage(icon_file, image), 0);
  return ReplaceIconIn(file, image, "new.ico", "app.exe", failure, {});
}

TEST(Outcome, ThrownFailuresBecomeTheirNumbersAndChangeNothing) {
  BuiltPe pe = BuildPe(IconProgram({800}));
  std::string failure;
  ThrowingFile<BadAlloc> no_memory(pe.bytes);
  EXPECT_EQ(ReplaceIn(no_memory, failure), 7);
  EXPECT_EQ(failure, "Out of memory. The target was not changed.");
  EXPECT_EQ(no_memory.bytes(), pe.bytes);

  ThrowingFile<std::runtime_error> unexpected(pe.bytes);
  EXPECT_EQ(ReplaceIn(unexpected, failure), 1009);
  EXPECT_EQ(failure, "Unexpected error: from below. The target was not changed.");
  EXPECT_EQ(unexpected.bytes(), pe.bytes);
}

// Out of memory inside a step that traps its errors (here locating the tree,
// after the header test's read): that step's warning names the error, and
// the call fails as that step does.
TEST(Outcome, OutOfMemoryInsideAStepIsWarnedOf) {
  class SecondReadThrows : public MemoryFile {
   public:
    using MemoryFile::MemoryFile;
    bool ReadAt(int64_t offset, void* data, size_t size) const override {
      if (reads_++ > 0) throw std::bad_alloc();
      return MemoryFile::ReadAt(offset, data, size);
    }

   private:
    mutable int reads_ = 0;
  };
  BuiltPe pe = BuildPe(IconProgram({800}));
  SecondReadThrows file(pe.bytes);
  Warnings warnings;
  MemoryFile icon_file(IconFile({Image(100, 1)}));
  IconImage image;
  ASSERT_EQ(LoadFirstImage(icon_file, image), 0);
  std::string failure;
  EXPECT_EQ(ReplaceIconIn(file, image, "new.ico", "app.exe", failure, warnings.sink()), kNoResourceTree);
  ASSERT_EQ(warnings.seen.size(), 1u);
  EXPECT_EQ(warnings.seen[0].first, ProgramName() + " - Out of memory");
  EXPECT_EQ(warnings.seen[0].second, InUse("An error occurred while locating the resource tree. "));
}

}  // namespace
}  // namespace vantorel::engine::test

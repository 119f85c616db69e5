// The rewrite of a target: where the image goes, what every entry says
// afterwards, and that a failure leaves every byte as it was.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

IconFileEntry WorkedExampleImage() {
  IconFileEntry s = Image(744, 5, 32);
  s.colors = 16;
  s.bits = 4;
  return s;
}

// Bytes outside the resource section are the same in both images.
void ExpectOnlySectionChanged(const BuiltPe& pe, const Bytes& after) {
  ASSERT_EQ(after.size(), pe.bytes.size());
  for (size_t i = 0; i < after.size(); ++i) {
    if (i >= pe.rsrc_raw && i < pe.rsrc_raw + pe.rsrc_raw_size) continue;
    ASSERT_EQ(after[i], pe.bytes[i]) << "byte " << i << " outside the resource section changed";
  }
}

void ExpectGroupEntry(const Bytes& b, size_t at, uint32_t bytes, uint16_t id) {
  EXPECT_EQ(b[at], 32);
  EXPECT_EQ(b[at + 1], 32);
  EXPECT_EQ(b[at + 2], 16);
  EXPECT_EQ(b[at + 3], 0);
  EXPECT_EQ(Get16(b, at + 4), 1);
  EXPECT_EQ(Get16(b, at + 6), 4);
  EXPECT_EQ(Get32(b, at + 8), bytes);
  EXPECT_EQ(Get16(b, at + 12), id);
}

class Rewrite : public ::testing::TestWithParam<bool> {};

TEST_P(Rewrite, WorkedExample) {
  BuiltPe pe = BuildPe(IconProgram({744 + 56, 1200}, GetParam()));
  IconFileEntry image = WorkedExampleImage();
  Replacement r = Replace(pe.bytes, IconFile({image, Image(3000, 1)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_TRUE(r.warnings.seen.empty());
  ExpectOnlySectionChanged(pe, r.after);

  uint32_t rva = pe.rsrc_va + (pe.data_offset[0] - pe.rsrc_raw);
  EXPECT_TRUE(std::equal(image.image.begin(), image.image.end(), r.after.begin() + pe.data_offset[0]));
  for (int icon : {0, 1}) {
    EXPECT_EQ(Get32(r.after, pe.data_entry[icon]), rva);
    EXPECT_EQ(Get32(r.after, pe.data_entry[icon] + 4), 744u) << "Size must be the image's byte count";
    EXPECT_EQ(Get32(r.after, pe.data_entry[icon] + 8), Get32(pe.bytes, pe.data_entry[icon] + 8));
  }
  size_t group = pe.data_offset[2];
  ExpectGroupEntry(r.after, group + 6, 744, 1);
  ExpectGroupEntry(r.after, group + 20, 744, 2);
  // The old second image stays where it was, unreferenced.
  EXPECT_TRUE(std::equal(r.after.begin() + pe.data_offset[1], r.after.begin() + pe.data_offset[1] + 1200,
                         pe.bytes.begin() + pe.data_offset[1]));
}

INSTANTIATE_TEST_SUITE_P(BothHeaderForms, Rewrite, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "PE32Plus" : "PE32"; });

TEST(RewriteGroups, EveryEntryOfEveryGroupInEveryLanguage) {
  PeOptions o;
  for (uint16_t id = 1; id <= 4; ++id) o.resources.push_back({3, id, 1033, Bytes(800, 1)});
  o.resources.push_back({14, 1, 1031, GroupIcon({1, 2, 3, 4})});
  o.resources.push_back({14, 1, 1033, GroupIcon({4, 3})});
  o.resources.push_back({14, 2, 1033, GroupIcon({})});
  o.resources.push_back({16, 1, 1033, Bytes(52, 0xEE)});  // not an icon: untouched
  BuiltPe pe = BuildPe(o);
  Replacement r = Replace(pe.bytes, IconFile({WorkedExampleImage()}));
  ASSERT_EQ(r.result, 0) << r.failure;
  for (int i = 0; i < 4; ++i) ExpectGroupEntry(r.after, pe.data_offset[4] + 6 + 14 * i, 744, uint16_t(i + 1));
  ExpectGroupEntry(r.after, pe.data_offset[5] + 6, 744, 4);
  ExpectGroupEntry(r.after, pe.data_offset[5] + 20, 744, 3);
  // An empty group and the version resource keep every byte.
  for (int res : {6, 7}) {
    auto begin = pe.data_offset[res], end = begin + static_cast<uint32_t>(o.resources[res].data.size());
    EXPECT_TRUE(std::equal(r.after.begin() + begin, r.after.begin() + end, pe.bytes.begin() + begin)) << res;
  }
  for (int icon = 0; icon < 4; ++icon) EXPECT_EQ(Get32(r.after, pe.data_entry[icon]), Get32(r.after, pe.data_entry[0]));
}

TEST(Room, ALargerImageTakesTheOldIconImagesSpace) {
  // Three images of 100 bytes (104 with alignment) stand before the group.
  BuiltPe pe = BuildPe(IconProgram({100, 100, 100}));
  IconFileEntry big = Image(300, 3);
  Replacement r = Replace(pe.bytes, IconFile({big}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_TRUE(std::equal(big.image.begin(), big.image.end(), r.after.begin() + pe.data_offset[0]));
  EXPECT_EQ(Get32(r.after, pe.data_entry[2] + 4), 300u);
  ExpectOnlySectionChanged(pe, r.after);
  // The group, which follows, is intact apart from its entries' descriptions.
  EXPECT_EQ(Get16(r.after, pe.data_offset[3] + 4), 3);
  EXPECT_EQ(Get16(r.after, pe.data_offset[3] + 6 + 12), 1);
}

TEST(Room, ALargerImageGoesToUnreferencedPaddingWhenIconsAreTooSmall) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 2000;
  BuiltPe pe = BuildPe(o);
  IconFileEntry big = Image(1500, 4);
  Replacement r = Replace(pe.bytes, IconFile({big}));
  ASSERT_EQ(r.result, 0) << r.failure;
  // The first 4-byte boundary after the group's 34 bytes.
  uint32_t at = pe.data_offset[2] + 36;
  EXPECT_TRUE(std::equal(big.image.begin(), big.image.end(), r.after.begin() + at));
  EXPECT_EQ(Get32(r.after, pe.data_entry[0]), pe.rsrc_va + (at - pe.rsrc_raw));
  EXPECT_EQ(Get16(r.after, pe.data_offset[2] + 4), 2);  // the group keeps its count and ids
  EXPECT_EQ(Get16(r.after, pe.data_offset[2] + 6 + 12), 1);
  EXPECT_EQ(Get16(r.after, pe.data_offset[2] + 20 + 12), 2);
}

TEST(Room, NoRoomIsRefusedAndNothingChanges) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 40;
  BuiltPe pe = BuildPe(o);
  Replacement r = Replace(pe.bytes, IconFile({Image(5000, 4)}));
  EXPECT_EQ(r.result, kNoRoom);
  EXPECT_EQ(r.after, pe.bytes);
  EXPECT_EQ(r.failure, "new.ico holds an image of 5000 bytes; the target has room for 208 bytes. "
                       "The target was not changed.");
}

TEST(Room, BoundaryFitsExactlyOrNotAtAll) {
  // Two images of 104 bytes each, back to back: 208 bytes of room.
  BuiltPe pe = BuildPe(IconProgram({104, 104}));
  EXPECT_EQ(Replace(pe.bytes, IconFile({Image(208, 1)})).result, 0);
  EXPECT_EQ(Replace(pe.bytes, IconFile({Image(209, 1)})).result, kNoRoom);
}

TEST(Room, RunningTwiceIsLikeRunningOnceAndLargerStillFitsAfterwards) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 3000;
  BuiltPe pe = BuildPe(o);
  Bytes icon = IconFile({Image(1500, 4)});
  Replacement once = Replace(pe.bytes, icon);
  ASSERT_EQ(once.result, 0);
  Replacement twice = Replace(once.after, icon);
  ASSERT_EQ(twice.result, 0);
  EXPECT_EQ(twice.after, once.after);
  // A target changed before: its old images and the first new one are all room now.
  Replacement larger = Replace(once.after, IconFile({Image(2900, 6)}));
  EXPECT_EQ(larger.result, 0) << larger.failure;
  Replacement smaller = Replace(larger.after, IconFile({Image(50, 7)}));
  EXPECT_EQ(smaller.result, 0) << smaller.failure;
}

// Each malformed tree is refused with failure 1006 after a warning whose
// title carries run-time error 9 (an index outside what the section holds).
TEST(MalformedTargets, RefusedBeforeAnyWrite) {
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  Bytes icon = IconFile({WorkedExampleImage()});
  const std::string modify = InUse("An error occurred while modifying the resource directories. ");
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  } cases[] = {
      {"group count past its own data", [&](Bytes& b) { Put16(b, pe.data_offset[2] + 4, 3); }},
      {"group count 65,535, far past its own data", [&](Bytes& b) { Put16(b, pe.data_offset[2] + 4, 0xFFFF); }},
      {"group data below the section", [&](Bytes& b) { Put32(b, pe.data_entry[2], 0x1000); }},
      {"group data past the section", [&](Bytes& b) { Put32(b, pe.data_entry[2], pe.rsrc_va + pe.rsrc_raw_size - 4); }},
      {"icon data entry outside the section", [&](Bytes& b) { Put32(b, pe.language_entry[1] + 4, 0x00FFFF00u); }},
      {"group data entry outside the section", [&](Bytes& b) { Put32(b, pe.language_entry[2] + 4, 0x00FFFF00u); }},
  };
  for (const Case& c : cases) {
    Bytes b = pe.bytes;
    c.damage(b);
    Replacement r = Replace(b, icon);
    EXPECT_EQ(r.result, kModifyFailed) << c.what;
    EXPECT_EQ(r.failure, "Unable to modify directories in target executable.  File may not contain any icon resources.");
    EXPECT_EQ(r.after, b) << c.what;
    // An icon data entry outside the section has been warned of once already,
    // when the icons were searched.
    ASSERT_FALSE(r.warnings.seen.empty()) << c.what;
    for (const auto& w : r.warnings.seen) EXPECT_EQ(w.first, ProgramName() + " - Subscript out of range") << c.what;
    EXPECT_EQ(r.warnings.seen.back().second, modify) << c.what;
  }
}

TEST(MalformedTargets, AnImageOverlappingTheTreeIsMovedToFreeRoom) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 200;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.data_entry[0], pe.rsrc_va);  // the first image "lies" on the root directory
  Replacement r = Replace(b, IconFile({Image(64, 2)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_TRUE(std::equal(r.after.begin() + pe.root, r.after.begin() + pe.root + 16, b.begin() + pe.root));
  EXPECT_NE(Get32(r.after, pe.data_entry[0]), pe.rsrc_va);
}

TEST(Outcome, NoIconImageIsFailureNineAndChangesNothing) {
  PeOptions o;
  o.resources.push_back({14, 1, 1033, GroupIcon({1})});
  BuiltPe pe = BuildPe(o);
  Replacement r = Replace(pe.bytes, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 9);
  EXPECT_EQ(r.failure, "Subscript out of range");
  EXPECT_EQ(r.after, pe.bytes);
}

TEST(Outcome, NotAProgramOrNoTree) {
  Bytes icon = IconFile({Image(40, 1)});
  Bytes text(4096, 'x');
  Replacement r = Replace(text, icon);
  EXPECT_EQ(r.result, kNotWin32Executable);
  EXPECT_EQ(r.failure, "app.exe is not a valid Win32 executable.");

  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes no_table = pe.bytes;
  Put32(no_table, pe.resource_dir + 4, 0);
  r = Replace(no_table, icon);
  EXPECT_EQ(r.result, kNoResourceTree);
  EXPECT_EQ(r.failure, "app.exe does not contain a valid resource tree.  File may be corrupt.");
  EXPECT_TRUE(r.warnings.seen.empty());

  Bytes many_sections = pe.bytes;
  Put16(many_sections, pe.e_lfanew + 6, 820);
  r = Replace(many_sections, icon);
  EXPECT_EQ(r.result, kNoResourceTree);
  EXPECT_EQ(r.warnings.seen.size(), 1u);
  EXPECT_EQ(r.after, many_sections);
}

// A file whose writes or flush fail on purpose, after `good_writes` writes.
class FailingFile : public MemoryFile {
 public:
  FailingFile(Bytes b, int good_writes, bool fail_flush, bool fail_restore)
      : MemoryFile(std::move(b)), good_writes_(good_writes), fail_flush_(fail_flush), fail_restore_(fail_restore) {}
  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    if (writes_++ == good_writes_) {
      // A torn write: half of it lands before the failure.
      MemoryFile::WriteAt(offset, data, size / 2);
      failed_ = true;
      return false;
    }
    if (failed_ && fail_restore_) return false;
    return MemoryFile::WriteAt(offset, data, size);
  }
  bool Flush() override { return !fail_flush_; }

 private:
  int writes_ = 0, good_writes_;
  bool failed_ = false, fail_flush_, fail_restore_;
};

TEST(Rollback, AFailedWriteAnywherePutsBackEveryByte) {
  BuiltPe pe = BuildPe(IconProgram({800, 800, 800}));
  MemoryFile icon_file(IconFile({WorkedExampleImage()}));
  IconImage image;
  ASSERT_EQ(LoadFirstImage(icon_file, image), 0);
  // 1 image write, 3 data entries, 3 group entries.
  for (int good = 0; good < 7; ++good) {
    FailingFile file(pe.bytes, good, false, false);
    std::string failure;
    EXPECT_EQ(ReplaceIconIn(file, image, "new.ico", "app.exe", failure, {}), kWriteFailed) << good;
    EXPECT_EQ(failure, "Failed to write to app.exe. The target was left unchanged.");
    EXPECT_EQ(file.bytes(), pe.bytes) << "after " << good << " good writes";
  }
  FailingFile flush_fails(pe.bytes, 100, true, false);
  std::string failure;
  EXPECT_EQ(ReplaceIconIn(flush_fails, image, "new.ico", "app.exe", failure, {}), kWriteFailed);
  FailingFile restore_fails(pe.bytes, 3, false, true);
  EXPECT_EQ(ReplaceIconIn(restore_fails, image, "new.ico", "app.exe", failure, {}), kWriteFailed);
  EXPECT_EQ(failure, "Failed to write to app.exe. The target may be damaged; restore it from its backup.");
}

// A write fails, then one put-back fails and those after it succeed: the
// file is not as it was, whichever put-back failed, and the text says so.
TEST(Rollback, OneFailedPutBackAmongGoodOnesIsReported) {
  BuiltPe pe = BuildPe(IconProgram({800, 800, 800}));
  MemoryFile icon_file(IconFile({WorkedExampleImage()}));
  IconImage image;
  ASSERT_EQ(LoadFirstImage(icon_file, image), 0);
  // The fifth write fails; put-backs go last first: 5, 4, 3, 2, 1.
  for (int failing_put_back = 0; failing_put_back < 5; ++failing_put_back) {
    class OnePutBackFails : public MemoryFile {
     public:
      OnePutBackFails(Bytes b, int fail_at) : MemoryFile(std::move(b)), fail_at_(fail_at) {}
      bool WriteAt(int64_t offset, const void* data, size_t size) override {
        int n = writes_++;
        if (n == 4 || n == 5 + fail_at_) return false;
        return MemoryFile::WriteAt(offset, data, size);
      }

     private:
      int writes_ = 0, fail_at_;
    } file(pe.bytes, failing_put_back);
    std::string failure;
    EXPECT_EQ(ReplaceIconIn(file, image, "new.ico", "app.exe", failure, {}), kWriteFailed) << failing_put_back;
    EXPECT_EQ(failure, "Failed to write to app.exe. The target may be damaged; restore it from its backup.")
        << "put-back " << failing_put_back << " failed";
  }
}

}  // namespace
}  // namespace vantorel::engine::test

// The engine at its limits: named resources, the exact edges of the free
// room, the write guard one byte either side, the reader's window and page,
// the walk budget, the 24-bit and 32-bit offset rules, rollback of writes that
// overlap.
#include "writes/write_plan.h"
#include "files/reader.h"
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

TEST(NamedResources, TheNamedGroupIsRewrittenAndNamedDataAndNamesStay) {
  PeOptions o = IconProgram({100, 100});
  o.resources.push_back({10, 1, 1033, Bytes(101, 'd')});  // RCDATA, last: right before the free room
  o.free_after_data = 640;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  // The names live in the last 64 bytes of the free room.
  uint32_t names_at = pe.data_end + 640 - 64;
  // Types 3, 10, 14: the name directories follow the root's 3 entries.
  uint32_t rcdata_names = Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF;
  uint32_t group_names = Get32(b, pe.type_dir_entries + 16 + 4) & 0x7FFFFFFF;
  NameEntry(b, pe, pe.root + rcdata_names, pe.root + rcdata_names + 16, names_at, u"DATA");
  NameEntry(b, pe, pe.root + group_names, pe.root + group_names + 16, names_at + 16, u"MAINICON");
  const Bytes before = b;

  // 500 bytes fit neither the old images (2 x 104) nor before the names.
  Replacement r = Replace(b, IconFile({Image(500, 4)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  // The image starts at the first 4-byte boundary after the RCDATA's 101 bytes.
  uint32_t image_at = pe.data_offset[3] + 104;
  EXPECT_EQ(Get32(r.after, pe.data_entry[0]), pe.rsrc_va + (image_at - pe.root));
  EXPECT_TRUE(std::equal(before.begin() + pe.data_offset[3], before.begin() + pe.data_offset[3] + 101,
                         r.after.begin() + pe.data_offset[3]))
      << "the named data, its last byte included, stays";
  EXPECT_TRUE(std::equal(before.begin() + names_at, before.begin() + names_at + 64, r.after.begin() + names_at))
      << "the name strings stay";
  EXPECT_EQ(Get32(r.after, pe.data_offset[2] + 6 + 8), 500u);  // the named group describes the image
  EXPECT_EQ(Get32(r.after, pe.data_offset[2] + 6 + 14 + 8), 500u);

  // 580 bytes would reach into the names (576 bytes lie between).
  Replacement too_large = Replace(b, IconFile({Image(580, 4)}));
  EXPECT_EQ(too_large.result, 1007);
  EXPECT_EQ(too_large.after, before);
}

// What --list reads: every group entry with its image's file offset, every
// image, and names decoded from UTF-16 (one to four UTF-8 bytes, surrogate
// pairs joined, a lone surrogate kept as it is).
TEST(Listing, GroupsImagesAndNames) {
  PeOptions o = IconProgram({100, 60});
  o.resources.push_back({3, 2, 1031, Bytes(40, 1)});  // image 2 in a second language
  o.free_after_data = 200;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t group_names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  // A lone low surrogate after an ordinary character, and a high one before
  // one that is not low, stay as they are.
  const std::u16string name =
      u"A\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U00050000\U0001F600\U0010FFFD\u0D85\xDC00\xD801\u4E00\xD800Z";
  NameEntry(b, pe, group_names, group_names + 16, pe.data_end + 8, name);
  b[pe.data_offset[2] + 6] = 0;  // first entry: width 0 and height 0 mean 256
  b[pe.data_offset[2] + 7] = 0;
  TempDir dir;
  WriteFileBytes(dir / "app.exe", b);
  IconListing listing;
  std::string failure;
  ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), 0) << failure;
  EXPECT_FALSE(listing.is_signed);
  ASSERT_EQ(listing.groups.size(), 2u);
  // U+10000, U+50000, U+1F600 and U+10FFFD: four bytes, the first with the
  // top 3 bits, the second with the next 6.
  const std::string utf8 =
      "A\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF1\x90\x80\x80\xF0\x9F\x98\x80"
      "\xF4\x8F\xBF\xBD\xE0\xB6\x85\xED\xB0\x80\xED\xA0\x81\xE4\xB8\x80\xED\xA0\x80Z";
  for (const IconGroupEntry& g : listing.groups) {
    EXPECT_EQ(g.group, "\"" + utf8 + "\"");
    EXPECT_EQ(g.language, 1033u);
    EXPECT_EQ(g.colors, 0);
    EXPECT_EQ(g.bits, 32);
  }
  EXPECT_EQ(listing.groups[0].width, 256);
  EXPECT_EQ(listing.groups[0].height, 256);
  EXPECT_EQ(listing.groups[1].width, 32);
  EXPECT_EQ(listing.groups[1].height, 32);
  EXPECT_EQ(listing.groups[0].bytes, 1000u);
  EXPECT_EQ(listing.groups[1].bytes, 1001u);
  EXPECT_EQ(listing.groups[0].icon_id, 1);
  EXPECT_EQ(listing.groups[1].icon_id, 2);
  EXPECT_EQ(listing.groups[0].file_offset, pe.data_offset[0]);
  EXPECT_EQ(listing.groups[1].file_offset, pe.data_offset[1]);  // the group's own language first
  ASSERT_EQ(listing.images.size(), 3u);
  EXPECT_EQ(listing.images[0].name, "#1");
  EXPECT_EQ(listing.images[0].size, 100u);
  EXPECT_EQ(listing.images[0].rva, pe.rsrc_va + (pe.data_offset[0] - pe.root));
  EXPECT_EQ(listing.images[0].file_offset, pe.data_offset[0]);
  EXPECT_EQ(listing.images[1].language, 1031u);
  EXPECT_EQ(listing.images[1].file_offset, pe.data_offset[3]);
  EXPECT_EQ(listing.images[2].language, 1033u);
  EXPECT_EQ(listing.images[2].size, 60u);

  // A name that runs out of the section is shown as "?".
  Put16(b, pe.data_end + 8, 0x7FFF);
  WriteFileBytes(dir / "app.exe", b);
  IconListing cut;
  ASSERT_EQ(ListIcons(dir / "app.exe", cut, failure), 0) << failure;
  ASSERT_FALSE(cut.groups.empty());
  EXPECT_EQ(cut.groups[0].group, "?");
}

TEST(Room, TheSectionBeforeTheTreeIsNotRoom) {
  BuiltPe pe = BuildPe(IconProgram({100, 100}));
  Bytes b = pe.bytes;
  // The section starts 0x200 bytes before the tree (over .text's bytes); the
  // data directory still names the tree.
  Put32(b, pe.rsrc_header + 12, pe.rsrc_va - 0x200);
  Put32(b, pe.rsrc_header + 16, pe.rsrc_raw_size + 0x200);
  Put32(b, pe.rsrc_header + 20, pe.rsrc_raw - 0x200);
  Replacement r = Replace(b, IconFile({Image(400, 4)}));
  EXPECT_EQ(r.result, 1007) << r.failure;
  EXPECT_EQ(r.after, b);
}

TEST(Room, NoRoomBeyondWhatTheDataDirectoryNames) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 400;
  BuiltPe pe = BuildPe(o);
  Bytes icon = IconFile({Image(300, 4)});
  EXPECT_EQ(Replace(pe.bytes, icon).result, 0);
  Bytes b = pe.bytes;
  Put32(b, pe.resource_dir + 4, Get32(b, pe.resource_dir + 4) - 400);  // the free bytes left out
  Replacement r = Replace(b, icon);
  EXPECT_EQ(r.result, 1007);
  EXPECT_EQ(r.after, b);
}

TEST(Room, AFileShorterThanItsSectionCutsTheRoomAtItsEnd) {
  PeOptions o = IconProgram({100, 100});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.resource_dir + 4, pe.rsrc_raw_size);  // the whole section is resource data
  b.resize(pe.data_end);                            // but the file ends with the tree's data
  Replacement r = Replace(b, IconFile({Image(300, 4)}));
  EXPECT_EQ(r.result, 1007) << r.failure;
  EXPECT_EQ(r.after, b);
}

TEST(WriteGuard, EntriesJustOutsideTheSectionAreRefused) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes icon = IconFile({Image(40, 1)});
  // The second icon's language entry names a data entry 256 bytes below the
  // section: all 32 bits of an icon entry's offset count.
  Bytes below = pe.bytes;
  Put32(below, pe.language_entry[1] + 4, 0xFFFFFF00u);
  Replacement r = Replace(below, icon);
  EXPECT_EQ(r.result, 1006);
  EXPECT_EQ(r.after, below);

  // The group's entries (nID included) end one byte past the section's raw data.
  uint32_t group_end = pe.data_offset[2] + 6 + 14 * 2;
  Bytes past = pe.bytes;
  Put32(past, pe.rsrc_header + 16, group_end - 1 - pe.rsrc_raw);
  r = Replace(past, icon);
  EXPECT_EQ(r.result, 1006);
  EXPECT_EQ(r.after, past);
  // Ending exactly at the section's end is fine.
  Put32(past, pe.rsrc_header + 16, group_end - pe.rsrc_raw);
  EXPECT_EQ(Replace(past, icon).result, 0);
}

// The guard every planned write passes, at both ends of its range.
TEST(WriteGuard, AWriteOneByteOutsideItsRangeIsRefused) {
  struct Case {
    int64_t offset;
    size_t size;
    bool planned;
  } cases[] = {{100, 4, true}, {99, 4, false}, {196, 4, true}, {197, 4, false}};
  for (const Case& c : cases) {
    WritePlan plan;
    GuardedPlan guarded(plan, 100, 200);
    try {
      guarded.Add(c.offset, Bytes(c.size, 1), PlannedWrite::Kind::Image);
    } catch (const EngineError& e) {
      EXPECT_EQ(e.number(), 9) << c.offset;
    }
    EXPECT_EQ(plan.size(), c.planned ? 1u : 0u) << c.offset;
  }
}

TEST(OffsetRules, GroupEntriesUseTheLow24BitsIconEntriesAll32) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes icon = IconFile({Image(40, 1)});
  Bytes group = pe.bytes;
  Put32(group, pe.language_entry[2] + 4, 0x01000000u | Get32(group, pe.language_entry[2] + 4));
  Replacement r = Replace(group, icon);
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Get32(r.after, pe.data_offset[2] + 6 + 8), 40u);

  Bytes image = pe.bytes;
  Put32(image, pe.language_entry[1] + 4, 0x01000000u | Get32(image, pe.language_entry[1] + 4));
  r = Replace(image, icon);
  EXPECT_NE(r.result, 0);
  EXPECT_EQ(r.after, image);
}

TEST(Walk, ANegativeEntryTotalIsAnError) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes b = pe.bytes;
  uint32_t group_names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  Put16(b, group_names + 14, 0xFFFF);
  Replacement r = Replace(b, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 1006);
  EXPECT_EQ(r.after, b);
  ASSERT_FALSE(r.warnings.seen.empty());
  for (const auto& w : r.warnings.seen) EXPECT_EQ(w.first, ProgramName() + " - Subscript out of range");
}

// A tree whose 500 type entries lead to 500 distinct name directories that
// overlap: each claims 4,016 entries of one shared array, all naming one
// language directory. Walked in full that is two million entries.
TEST(Walk, TheBudgetEndsOverlappingDirectoriesWithAFailure) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  constexpr uint32_t kTypes = 500;
  const uint32_t lang_dir = 16 + 8 * kTypes;  // 4,016: also each name directory's entry count
  const uint32_t data_entry = lang_dir + 24;
  const uint32_t image = data_entry + 16;
  const uint32_t array = image + 64 + 16;
  const uint32_t array_entries = kTypes + lang_dir + 4;
  Bytes s(array + 8 * array_entries, 0);
  Put16(s, 14, kTypes);
  for (uint32_t i = 0; i < kTypes; ++i) {
    Put32(s, 16 + 8 * i, 3);
    // Directory i starts 16 bytes before array entry i + 2: its counts are
    // the OffsetToData of entry i + 1, read as NumberOfNamedEntries = 4,016
    // and NumberOfIdEntries = 0.
    Put32(s, 16 + 8 * i + 4, 0x80000000u | (array + 8 * (i + 2) - 16));
  }
  for (uint32_t j = 0; j < array_entries; ++j) Put32(s, array + 8 * j + 4, lang_dir);
  Put16(s, lang_dir + 14, 1);
  Put32(s, lang_dir + 16, 1033);
  Put32(s, lang_dir + 20, data_entry);
  Put32(s, data_entry, pe.rsrc_va + image);
  Put32(s, data_entry + 4, 64);

  Bytes b(pe.bytes.begin(), pe.bytes.begin() + pe.rsrc_raw);
  b.insert(b.end(), s.begin(), s.end());
  b.resize(pe.rsrc_raw + (s.size() + 0x1FF) / 0x200 * 0x200, 0);
  Put32(b, pe.rsrc_header + 8, static_cast<uint32_t>(b.size() - pe.rsrc_raw));
  Put32(b, pe.rsrc_header + 16, static_cast<uint32_t>(b.size() - pe.rsrc_raw));
  Put32(b, pe.resource_dir + 4, static_cast<uint32_t>(s.size()));
  Replacement r = Replace(b, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 1006) << r.failure;
  ASSERT_FALSE(r.warnings.seen.empty());
  EXPECT_EQ(r.warnings.seen[0].first, ProgramName() + " - Subscript out of range");
  EXPECT_EQ(r.after, b);
}

// A file whose `fail_at`-th write fails (half of it landing first) and whose
// flush fails from then on when `flush_fails`.
class FailingFile : public MemoryFile {
 public:
  FailingFile(Bytes b, int fail_at, bool flush_fails)
      : MemoryFile(std::move(b)), fail_at_(fail_at), flush_fails_(flush_fails) {}
  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    if (writes_++ != fail_at_) return MemoryFile::WriteAt(offset, data, size);
    MemoryFile::WriteAt(offset, data, size / 2);
    return false;
  }
  bool Flush() override { return !flush_fails_; }

 private:
  int writes_ = 0, fail_at_;
  bool flush_fails_;
};

TEST(Rollback, OverlappingGroupsAreRefused) {
  // Two group icons whose data overlap, 2 bytes apart: their entry writes
  // would overlap, the later undoing part of the earlier.
  PeOptions o = IconProgram({64, 64});
  o.resources.push_back({14, 2, 1033, GroupIcon({1, 2})});
  BuiltPe pe = BuildPe(o);
  Put32(pe.bytes, pe.data_entry[3], Get32(pe.bytes, pe.data_entry[2]) + 2);
  Put16(pe.bytes, pe.data_offset[2] + 6, 2);  // what the second group reads as idCount
  Replacement r = Replace(pe.bytes, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 1006);
  EXPECT_EQ(r.after, pe.bytes);
}

// Found by the fuzz target: a group whose data lies over a directory of the
// tree would rewrite the tree under the rewrite.
TEST(WriteGuard, GroupDataOverTheTreeIsRefused) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes b = pe.bytes;
  uint32_t names = pe.root + (Get32(b, pe.type_dir_entries + 4) & 0x7FFFFFFF);
  uint32_t languages = pe.root + (Get32(b, names + 16 + 4) & 0x7FFFFFFF);
  Put32(b, languages + 4, 1);  // TimeDateStamp: what the group reads as idCount 1
  Put32(b, pe.data_entry[2], pe.rsrc_va + (languages - pe.root));
  Put32(b, pe.data_entry[2] + 4, 20);
  Replacement r = Replace(b, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 1006);
  EXPECT_EQ(r.after, b);
}

TEST(Rollback, WritesThatOverlapUnwindLastFirstAndAFailedFlushIsNoRestore) {
  // The second write covers part of the first; every failure point, and a
  // flush that fails after all writes, must end with the original bytes.
  const Bytes original(64, 0x11);
  WritePlan plan = {{8, Bytes(16, 0x22), PlannedWrite::Kind::GroupEntry},
                    {16, Bytes(16, 0x33), PlannedWrite::Kind::GroupEntry},
                    {12, Bytes(8, 0x44), PlannedWrite::Kind::GroupEntry}};
  for (int fail_at = 0; fail_at <= 3; ++fail_at) {
    FailingFile file(original, fail_at < 3 ? fail_at : -1, fail_at == 3);
    bool restored = false;
    EXPECT_FALSE(ApplyWrites(file, plan, restored)) << fail_at;
    EXPECT_EQ(file.bytes(), original) << fail_at;
    // After a failed flush nothing says the bytes on disk are whole.
    EXPECT_EQ(restored, fail_at < 3) << fail_at;
  }
  MemoryFile fine(original);
  bool restored = true;
  EXPECT_TRUE(ApplyWrites(fine, plan, restored));
  EXPECT_FALSE(restored);
  EXPECT_EQ(fine.bytes()[8], 0x22);
  EXPECT_EQ(fine.bytes()[12], 0x44);
  EXPECT_EQ(fine.bytes()[20], 0x33);
  EXPECT_EQ(fine.bytes()[31], 0x33);
}

// A group language entry that names an icon's data entry, with the group
// type stored first: the icon's entry is still rewritten as an icon's.
TEST(SharedData, ADataEntryNamedByBothBranchesIsStillAnIcons) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes b = pe.bytes;
  // Types 14 then 3 in the root.
  uint32_t first = pe.type_dir_entries, second = pe.type_dir_entries + 8;
  uint32_t t0 = Get32(b, first), o0 = Get32(b, first + 4);
  Put32(b, first, Get32(b, second));
  Put32(b, first + 4, Get32(b, second + 4));
  Put32(b, second, t0);
  Put32(b, second + 4, o0);
  Put32(b, pe.language_entry[2] + 4, pe.data_entry[1] - pe.root);  // the group names icon 2's entry
  Put16(b, pe.data_offset[1] + 4, 0);                              // whose bytes read as idCount 0
  Replacement r = Replace(b, IconFile({Image(40, 1)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Get32(r.after, pe.data_entry[0]), Get32(r.after, pe.data_entry[1]));
  EXPECT_EQ(Get32(r.after, pe.data_entry[1] + 4), 40u);
}

TEST(Reader, WindowEdgesAndPageBoundaries) {
  Bytes bytes(10000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
  MemoryFile file(bytes);
  Reader r(file, 100, 5000);
  EXPECT_EQ(r.U32(4996), Get32(bytes, 4996));  // the last whole field
  EXPECT_THROW(r.U32(4997), EngineError);      // ends one byte past the window
  EXPECT_THROW(r.U8(99), EngineError);         // starts one byte before it
  EXPECT_EQ(r.U8(100), bytes[100]);
  // Fields across the 4,096-byte page boundary, read after and before it.
  EXPECT_EQ(r.U32(4094), Get32(bytes, 4094));
  EXPECT_EQ(r.U16(4095), Get16(bytes, 4095));
  EXPECT_EQ(r.U32(4093), Get32(bytes, 4093));
  EXPECT_EQ(r.U32(200), Get32(bytes, 200));
  Reader clipped(file, 9000, 20000);  // clipped to the file
  EXPECT_EQ(clipped.end(), 10000);
  EXPECT_EQ(clipped.U32(9996), Get32(bytes, 9996));
  EXPECT_THROW(clipped.U16(9999), EngineError);
}

}  // namespace
}  // namespace vantorel::engine::test

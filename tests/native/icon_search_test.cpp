// Listing the icon images of a resource tree, and walks that must stay bounded.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

struct Search {
  int32_t count = -1;
  std::vector<IconImageRef> icons;
  Warnings warnings;
};

Search Icons(const Bytes& b) {
  Search s;
  MemoryFile f(b);
  ResourceSection section = Find_Resource_Tree(f, s.warnings.sink());
  s.count = Find_Icon_Resources(f, section, s.icons, s.warnings.sink());
  return s;
}

TEST(FindIconResources, NoIconTypeGivesAnEmptyListQuietly) {
  PeOptions o;
  o.resources.push_back({16, 1, 1033, Bytes(40, 1)});  // a version resource only
  Search s = Icons(BuildPe(o).bytes);
  EXPECT_EQ(s.count, 0);
  EXPECT_TRUE(s.icons.empty());
  EXPECT_TRUE(s.warnings.seen.empty());
}

TEST(FindIconResources, EveryLanguageInStoredOrder) {
  PeOptions o;
  for (uint32_t lang : {1031u, 1033u, 1036u}) o.resources.push_back({3, 1, lang, Bytes(40 + lang % 7, 2)});
  o.resources.push_back({3, 2, 1033, Bytes(64, 3)});
  BuiltPe pe = BuildPe(o);
  Search s = Icons(pe.bytes);
  ASSERT_EQ(s.count, 4);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(s.icons[i].Offset, static_cast<int32_t>(pe.data_offset[i]));
    EXPECT_EQ(s.icons[i].Size, o.resources[i].data.size());
  }
}

TEST(FindIconResources, ATypeGivenByNameIsNeverTheIconType) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  Put32(b, pe.type_dir_entries, 0x80000003u);  // a name string at offset 3
  Search s = Icons(b);
  EXPECT_EQ(s.count, 0);
  EXPECT_TRUE(s.icons.empty());
}

// Name directories of 4,095 entries and more, each entry leading to its own
// language directory: every entry is reached (offsets are 32-bit), and the
// count is unsigned.
TEST(FindIconResources, DirectoriesOfThousandsOfEntriesAreWalkedWhole) {
  for (uint32_t entries : {4095u, 4096u, 5000u, 32768u}) {
    PeOptions o = IconProgram({64});
    o.free_after_data = 16 + 8 * entries + 24 * entries;
    BuiltPe pe = BuildPe(o);
    Bytes b = pe.bytes;
    uint32_t names = pe.data_end, languages = names + 16 + 8 * entries;
    Put16(b, names + 14, static_cast<uint16_t>(entries));
    for (uint32_t j = 0; j < entries; ++j) {
      uint32_t lang_dir = languages + 24 * j;
      Put32(b, names + 16 + 8 * j, j + 1);
      Put32(b, names + 16 + 8 * j + 4, 0x80000000u | (lang_dir - pe.root));
      Put16(b, lang_dir + 14, 1);
      Put32(b, lang_dir + 16, 1033);
      Put32(b, lang_dir + 20, pe.data_entry[0] - pe.root);
    }
    // The icon type (the root's first entry) now leads to the big directory.
    Put32(b, pe.type_dir_entries + 4, 0x80000000u | (names - pe.root));
    Search s = Icons(b);
    EXPECT_EQ(s.count, static_cast<int32_t>(entries));
    EXPECT_EQ(s.icons.size(), entries);
    EXPECT_EQ(s.icons.back().Offset, static_cast<int32_t>(pe.data_offset[0]));
    EXPECT_TRUE(s.warnings.seen.empty()) << entries;
  }
}

TEST(FindIconResources, ADirectoryOutsideTheSectionIsRefused) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  Put32(b, pe.type_dir_entries + 4, 0x80000000u | 0x00FFFFF0u);
  Search s = Icons(b);
  EXPECT_TRUE(s.icons.empty());
  ASSERT_EQ(s.warnings.seen.size(), 1u);
  EXPECT_EQ(s.warnings.seen[0].first, ProgramName() + " - Subscript out of range");
}

// Trees that lead back to themselves, or that declare thousands of entries
// leading to one place, end quickly and leave the target as it was.
TEST(WalkBounds, LoopsAndFanOutsEndAndChangeNothing) {
  PeOptions o = IconProgram({64, 64});
  o.free_after_data = 2 * (16 + 8 * 4000);
  BuiltPe pe = BuildPe(o);
  Bytes icon = IconFile({Image(64, 9)});

  Bytes loop = pe.bytes;  // the icon type's name directory is the root itself
  Put32(loop, pe.type_dir_entries + 4, 0x80000000u);
  Replacement r = Replace(loop, icon);
  EXPECT_NE(r.result, 0);
  EXPECT_EQ(r.after, loop);

  // 4,000 names, all leading to one language directory of 4,000 entries.
  Bytes fan = pe.bytes;
  uint32_t names = pe.data_end, languages = names + 16 + 8 * 4000;
  Put16(fan, names + 14, 4000);
  Put16(fan, languages + 14, 4000);
  for (uint32_t j = 0; j < 4000; ++j) {
    Put32(fan, names + 16 + 8 * j, j + 1);
    Put32(fan, names + 20 + 8 * j, 0x80000000u | (languages - pe.root));
    Put32(fan, languages + 16 + 8 * j, 1033);
    Put32(fan, languages + 20 + 8 * j, pe.data_entry[0] - pe.root);
  }
  Put32(fan, pe.type_dir_entries + 4, 0x80000000u | (names - pe.root));
  r = Replace(fan, icon);
  EXPECT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(r.after.size(), fan.size());
}

}  // namespace
}  // namespace vantorel::engine::test

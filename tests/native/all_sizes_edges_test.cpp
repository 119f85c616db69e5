// --all-sizes at its edges: which group entry decides an icon's size, an icon
// no group names, a target with no room at all, an image whose RVA would not
// fit 31 bits, and an icon file that cannot be opened.
#include <climits>

#include "all_sizes_support.h"

namespace vantorel::engine::test {
namespace {

// An icon that groups of two languages name: the first entry of a group in
// the icon's own language decides, and later ones of that language do not.
TEST(AllSizesEdges, TheFirstEntryOfTheIconsOwnLanguageDecides) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(3000, 1)});
  o.resources.push_back({14, 1, 1031, SizedGroup({{48, 32, 1}})});
  o.resources.push_back({14, 2, 1033, SizedGroup({{16, 32, 1}})});
  o.resources.push_back({14, 3, 1033, SizedGroup({{32, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(48, 32, 900, 1), Sized(32, 32, 700, 2), Sized(16, 32, 300, 3)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 1u);
  EXPECT_EQ(r.report.icons[0].wanted_width, 16);
  EXPECT_TRUE(r.report.icons[0].wanted_by_group);
  EXPECT_EQ(r.report.icons[0].image, 3);
}

// A BITMAPINFOHEADER of `side` x `side` pixels (the height counts the mask
// too) at 32 bits, as an icon image starts.
Bytes BitmapImage(int32_t side, uint32_t bytes) {
  Bytes b(bytes, 0);
  Put32(b, 0, 40);
  Put32(b, 4, static_cast<uint32_t>(side));
  Put32(b, 8, static_cast<uint32_t>(2 * side));
  Put16(b, 12, 1);
  Put16(b, 14, 32);
  return b;
}

// An icon that no group names wants the size its own old image states, even
// the smallest there is: one pixel.
TEST(AllSizesEdges, AnIconNoGroupNamesWantsItsOwnImagesSize) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(1000, 1)});
  o.resources.push_back({3, 2, 1033, BitmapImage(1, 1000)});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(16, 32, 300, 1), Sized(1, 32, 200, 2)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 2u);
  EXPECT_FALSE(r.report.icons[1].wanted_by_group);
  EXPECT_EQ(r.report.icons[1].wanted_width, 1);
  EXPECT_EQ(r.report.icons[1].wanted_height, 1);
  EXPECT_EQ(r.report.icons[1].image, 2);
}

// The data directory names only the tree's directories and data entries:
// there is no free byte at all, and the failure says so.
TEST(AllSizesEdges, NoRoomAtAllIsZeroBytesOfRoom) {
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  Bytes b = pe.bytes;
  ASSERT_EQ(pe.data_entry.back() + 16, pe.data_offset[0]);
  Put32(b, pe.resource_dir + 4, pe.data_offset[0] - pe.root);
  SizedRun r = AllSizes(b, IconFile({Sized(16, 32, 300, 1)}));
  EXPECT_EQ(r.result, kNoRoom);
  EXPECT_EQ(r.failure, "sizes.ico holds no image small enough: its smallest has 300 bytes; the target has room for 0 "
                       "bytes. The target was not changed.");
  EXPECT_EQ(r.after, b);
}

// The section's VirtualAddress puts the free room after the group at RVA
// 2^31 and beyond: such an RVA cannot be stored in a signed 32-bit field.
// Both replacements warn of the overflow and refuse, changing nothing.
TEST(AllSizesEdges, AnImageWhoseRvaWouldOverflowIsRefused) {
  PeOptions o = IconProgram({100});
  o.free_after_data = 2000;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t free_at = (pe.data_offset[1] + 20 + 3) / 4 * 4;  // after the group of one entry
  uint32_t va = 0x80000000u - (free_at - pe.root);
  Put32(b, pe.rsrc_header + 12, va);
  Put32(b, pe.resource_dir, va);
  for (size_t i = 0; i < pe.data_entry.size(); ++i) Put32(b, pe.data_entry[i], va + (pe.data_offset[i] - pe.root));

  Warnings warnings;
  SizedRun r = AllSizes(b, IconFile({Sized(16, 32, 1000, 1)}), false, warnings.sink());
  EXPECT_EQ(r.result, kModifyFailed);
  EXPECT_EQ(r.after, b);
  ASSERT_EQ(warnings.seen.size(), 2u);
  EXPECT_EQ(warnings.seen[0].second, "Error in Offset_to_RVA function: 6: Overflow");
  EXPECT_EQ(warnings.seen[1].first, ProgramName() + " - Subscript out of range");

  Replacement plain = Replace(b, IconFile({Image(1000, 1)}));
  EXPECT_EQ(plain.result, kModifyFailed);
  EXPECT_EQ(plain.after, b);
  ASSERT_EQ(plain.warnings.seen.size(), 2u);
  EXPECT_EQ(plain.warnings.seen[0].second, "Error in Offset_to_RVA function: 6: Overflow");
  EXPECT_EQ(plain.warnings.seen[1].first, ProgramName() + " - Subscript out of range");
}

// A group of another language names icon 1, which exists in 1033 only: the
// group still describes it.
TEST(AllSizesEdges, AGroupNamesAnIconOfAnotherLanguage) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(2000, 1)});
  o.resources.push_back({14, 1, 1031, SizedGroup({{32, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(16, 32, 300, 1), Sized(32, 32, 600, 2)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 1u);
  EXPECT_TRUE(r.report.icons[0].wanted_by_group);
  EXPECT_EQ(r.report.icons[0].image, 2);
}

// An icon data entry outside the section is error 9, warned of, and
// nothing changes.
TEST(AllSizesEdges, ADataEntryOutsideTheSectionIsError9) {
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  Bytes b = pe.bytes;
  Put32(b, pe.language_entry[1] + 4, 0x00FFFF00u);
  Warnings warnings;
  SizedRun r = AllSizes(b, IconFile({Sized(16, 32, 300, 1)}), false, warnings.sink());
  EXPECT_EQ(r.result, kModifyFailed);
  EXPECT_EQ(r.after, b);
  ASSERT_EQ(warnings.seen.size(), 1u);
  EXPECT_EQ(warnings.seen[0].first, ProgramName() + " - Subscript out of range");
}

// Two languages' data entries name the same group data: it is one group,
// rewritten once.
TEST(AllSizesEdges, GroupDataTwoEntriesNameIsOneGroup) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(2000, 1)});
  o.resources.push_back({14, 1, 1031, SizedGroup({{32, 32, 1}})});
  o.resources.push_back({14, 1, 1033, SizedGroup({{32, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.data_entry[2], Get32(b, pe.data_entry[1]));
  SizedRun r = AllSizes(b, IconFile({Sized(16, 32, 300, 1), Sized(32, 32, 600, 2)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(r.report.group_entries, 1);
}

TEST(AllSizesEdges, AnIconFileThatCannotBeOpenedIsFailure1000) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", BuildPe(IconProgram({800})).bytes);
  AllSizesReport report;
  std::string failure;
  EXPECT_EQ(ChangeIconAllSizes(dir / "missing.ico", dir / "app.exe", report, failure), kOpenFailed);
  EXPECT_EQ(failure, MissingFileText(PathText(dir / "missing.ico")));
}

}  // namespace
}  // namespace vantorel::engine::test

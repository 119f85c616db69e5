// The rewrite of the entries at its edges: a data entry in the section's last
// bytes, and the tree's own names, which are never written, touched by a
// write that ends right before one or reaches into one that overlaps another.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

// Moves the data entry of resource `index` to `at` (its 16 bytes copied, its
// language entry pointed there).
void MoveDataEntry(Bytes& b, const BuiltPe& pe, size_t index, uint32_t at) {
  std::copy(b.begin() + pe.data_entry[index], b.begin() + pe.data_entry[index] + 16, b.begin() + at);
  Put32(b, pe.language_entry[index] + 4, at - pe.root);
}

TEST(RewriteEdges, ADataEntryInTheSectionsLastBytesIsRewritten) {
  PeOptions o = IconProgram({100});
  uint32_t base = BuildPe(o).data_end - 0x400;
  o.free_after_data = ((base + 0x1FF) / 0x200 * 0x200) - 32 - base;  // 32 bytes of section after the area
  BuiltPe pe = BuildPe(o);
  uint32_t entry = pe.rsrc_raw + pe.rsrc_raw_size - 16;
  Bytes b = pe.bytes;
  MoveDataEntry(b, pe, 0, entry);
  Replacement r = Replace(b, IconFile({Image(64, 3)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Get32(r.after, entry), pe.rsrc_va + (pe.data_offset[0] - pe.root));
  EXPECT_EQ(Get32(r.after, entry + 4), 64u);
}

// Icon 2's data entry starts 8 bytes before the section's end: its RVA and
// Size are inside, its CodePage is not. The entry is malformed and the
// replacement refused, though the 8 bytes it would write fit.
TEST(RewriteEdges, ADataEntryRunningPastTheSectionsEndIsRefused) {
  BuiltPe pe = BuildPe(IconProgram({100, 100}));
  uint32_t entry = pe.rsrc_raw + pe.rsrc_raw_size - 8;
  ASSERT_EQ(pe.bytes.size(), entry + 8u);
  Bytes b = pe.bytes;
  std::copy(b.begin() + pe.data_entry[1], b.begin() + pe.data_entry[1] + 8, b.begin() + entry);
  Put32(b, pe.language_entry[1] + 4, entry - pe.root);
  Replacement r = Replace(b, IconFile({Image(64, 3)}));
  EXPECT_EQ(r.result, kModifyFailed);
  EXPECT_EQ(r.after, b);
}

// The icon's data entry lies so that its CodePage and Reserved fields are
// the first bytes of the group's name: the 8 bytes the rewrite writes
// (OffsetToData and Size) end right where the name begins.
TEST(RewriteEdges, AWriteEndingWhereANameBeginsLeavesTheName) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 200;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t name_at = pe.data_end + 64;
  MoveDataEntry(b, pe, 0, name_at - 8);
  uint32_t group_names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  NameEntry(b, pe, group_names, group_names + 16, name_at, u"MAINICON");
  const Bytes name(b.begin() + name_at, b.begin() + name_at + 2 + 2 * 8);
  Replacement r = Replace(b, IconFile({Image(64, 3)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Get32(r.after, name_at - 8 + 4), 64u);
  EXPECT_TRUE(std::equal(name.begin(), name.end(), r.after.begin() + name_at));
}

// Two names that overlap: the second starts inside the first and ends 4
// bytes after it. A data entry right after the first name would, when
// rewritten, change the second name's last character: refused.
TEST(RewriteEdges, AWriteIntoANameThatOverlapsAnotherIsRefused) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  o.resources.push_back({14, 1, 1033, GroupIcon({1})});
  o.resources.push_back({14, 2, 1033, GroupIcon({1})});
  o.free_after_data = 200;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t group_names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  uint32_t first = pe.data_end + 64;
  // The first name's second character (10) is the second name's length:
  // [first, first + 22) and [first + 4, first + 26).
  NameEntry(b, pe, group_names, group_names + 16, first, u"A\u000ABCDEFGHI");
  Put32(b, group_names + 24, 0x80000000u | (first + 4 - pe.root));
  Put16(b, group_names + 12, 2);
  MoveDataEntry(b, pe, 0, first + 24);
  Replacement r = Replace(b, IconFile({Image(64, 3)}));
  EXPECT_EQ(r.result, kModifyFailed);
  EXPECT_EQ(r.after, b);
  ASSERT_FALSE(r.warnings.seen.empty());
  EXPECT_EQ(r.warnings.seen.back().first, ProgramName() + " - Subscript out of range");
}

}  // namespace
}  // namespace vantorel::engine::test

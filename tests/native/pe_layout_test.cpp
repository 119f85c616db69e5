// Headers, the section table and the address conversions.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

bool ValidPe(const Bytes& b) { return Is_Valid_PE(MemoryFile(b)); }

TEST(IsValidPe, AcceptsBothHeaderForms) {
  EXPECT_TRUE(ValidPe(BuildPe(IconProgram({64})).bytes));
  EXPECT_TRUE(ValidPe(BuildPe(IconProgram({64}, true)).bytes));
}

TEST(IsValidPe, RefusesWrongMagicBytes) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  struct Case {
    const char* what;
    size_t at;
    uint8_t value;
  } cases[] = {
      {"lower-case m", 0, 'm'},          {"lower-case z", 1, 'z'},
      {"Z first", 0, 'Z'},               {"PF signature", pe.e_lfanew + 1, 'F'},
      {"PE then 1", pe.e_lfanew + 2, 1}, {"PE 0 then 1", pe.e_lfanew + 3, 1},
  };
  for (const Case& c : cases) {
    Bytes b = pe.bytes;
    b[c.at] = c.value;
    EXPECT_FALSE(ValidPe(b)) << c.what;
  }
}

TEST(IsValidPe, RefusesSignaturePastTheEndAndShortFiles) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  Put32(b, 60, static_cast<uint32_t>(b.size()));
  EXPECT_FALSE(ValidPe(b));
  Put32(b, 60, 0xFFFFFFF0u);  // negative as a signed value: far past the end
  EXPECT_FALSE(ValidPe(b));
  EXPECT_FALSE(ValidPe(Bytes{'M', 'Z'}));
  EXPECT_FALSE(ValidPe(Bytes{}));
}

TEST(IsValidPe, RefusesUnknownOptionalHeaderForms) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  for (uint16_t magic : {0x0000, 0x0107, 0x010C, 0x020C}) {
    Bytes b = pe.bytes;
    Put16(b, pe.optional_header, magic);
    EXPECT_FALSE(ValidPe(b)) << magic;
  }
}

struct TreeLookup {
  int32_t root;
  ResourceSection section;
  Warnings warnings;
};

TreeLookup Root(const Bytes& b) {
  TreeLookup t;
  MemoryFile f(b);
  t.section = Find_Resource_Tree(f, t.warnings.sink());
  t.root = t.section.root;
  return t;
}

TEST(FindResourceTree, WorkedExampleAndConversions) {
  BuiltPe pe = BuildPe(IconProgram({0x200}));
  TreeLookup t = Root(pe.bytes);
  ASSERT_EQ(t.root, static_cast<int32_t>(pe.rsrc_raw));
  EXPECT_TRUE(t.warnings.seen.empty());
  Warnings w;
  int32_t v = static_cast<int32_t>(pe.rsrc_va), p = static_cast<int32_t>(pe.rsrc_raw);
  EXPECT_EQ(RVA_to_Offset(t.section, v + 0xF0, w.sink()), p + 0xF0);
  EXPECT_EQ(Offset_to_RVA(t.section, p + 0xF0, w.sink()), v + 0xF0);
  EXPECT_EQ(RVA_to_Offset(t.section, v, w.sink()), p);
  EXPECT_EQ(RVA_to_Offset(t.section, v - 1, w.sink()), -1);
  EXPECT_EQ(Offset_to_RVA(t.section, p - 1, w.sink()), -1);
  EXPECT_TRUE(w.seen.empty());
}

TEST(FindResourceTree, SixtyFourBitProgramsUseTheirOwnHeaderSize) {
  BuiltPe pe = BuildPe(IconProgram({0x200}, true));
  EXPECT_EQ(Root(pe.bytes).root, static_cast<int32_t>(pe.rsrc_raw));
  // Read as if the optional header had the 32-bit size, the section table
  // would start 16 bytes early and the tree would not be found.
  Bytes b = pe.bytes;
  Put16(b, pe.e_lfanew + 4 + 16, 224);
  EXPECT_NE(Root(b).root, static_cast<int32_t>(pe.rsrc_raw));
}

TEST(FindResourceTree, NoResourceTableGivesMinusOneWithoutWarning) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  Put32(b, pe.resource_dir + 4, 0);  // Size 0, VirtualAddress still set
  TreeLookup t = Root(b);
  EXPECT_EQ(t.root, -1);
  EXPECT_TRUE(t.warnings.seen.empty());
}

TEST(FindResourceTree, SectionBoundsAreHalfOpenOnSizeOfRawData) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  // The RVA just past the section's raw data is outside it, even though its
  // VirtualSize is larger.
  Put32(b, pe.resource_dir, pe.rsrc_va + pe.rsrc_raw_size);
  Put32(b, pe.rsrc_header + 8, pe.rsrc_raw_size * 4);
  EXPECT_EQ(Root(b).root, -1);
  Put32(b, pe.resource_dir, pe.rsrc_va + pe.rsrc_raw_size - 1);
  EXPECT_EQ(Root(b).root, static_cast<int32_t>(pe.rsrc_raw + pe.rsrc_raw_size - 1));
}

TEST(FindResourceTree, TheFirstSectionThatHoldsTheTreeWins) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  Bytes b = pe.bytes;
  // Make .text claim the resource RVA too: it comes first in the table.
  Put32(b, pe.section_table + 12, pe.rsrc_va);
  EXPECT_EQ(Root(b).root, 0x200);
}

// No sections, or more than the file holds (the count is unsigned: 0x8001
// is 32,769 sections, not a negative number).
TEST(FindResourceTree, SectionCountsOutOfRangeWarn) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  const std::string text = InUse("An error occurred while locating the resource tree. ");
  struct Case {
    uint16_t sections;
    const char* description;
  } cases[] = {{820, "Subscript out of range"}, {0, "Subscript out of range"}, {0x8001, "Subscript out of range"},
               {0x8000, "Subscript out of range"}};
  for (const Case& c : cases) {
    Bytes b = pe.bytes;
    Put16(b, pe.e_lfanew + 4 + 2, c.sections);
    TreeLookup t = Root(b);
    EXPECT_EQ(t.root, 0) << c.sections;
    ASSERT_EQ(t.warnings.seen.size(), 1u) << c.sections;
    EXPECT_EQ(t.warnings.seen[0].first, ProgramName() + " - " + c.description);
    EXPECT_EQ(t.warnings.seen[0].second, text);
  }
}

TEST(Conversions, OverflowWarnsWithNumberAndDescription) {
  BuiltPe pe = BuildPe(IconProgram({64}));
  ResourceSection section = Root(pe.bytes).section;
  section.va = -16;
  Warnings w;
  int32_t rva = 0x7FFFFFF8;
  EXPECT_EQ(RVA_to_Offset(section, rva, w.sink()), 0);
  ASSERT_EQ(w.seen.size(), 1u);
  EXPECT_EQ(w.seen[0].first, ProgramName() + " - Error");
  EXPECT_EQ(w.seen[0].second, "Error in RVA_to_Offset function: 6: Overflow");

  section.raw = -16;
  EXPECT_EQ(Offset_to_RVA(section, rva, w.sink()), 0);
  ASSERT_EQ(w.seen.size(), 2u);
  EXPECT_EQ(w.seen[1].second, "Error in Offset_to_RVA function: 6: Overflow");
}

}  // namespace
}  // namespace vantorel::engine::test

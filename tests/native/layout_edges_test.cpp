// The headers, the reader and --list at their edges: optional headers that
// end right after the entry asked for, directory counts, one section, the
// section table, an image at the section's very start, the reader's last
// page and failed reads, and what --list shows of entries at the edges.
#include "files/reader.h"
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

// Shrinks the optional header to `size` bytes; the section table moves up
// to follow it, as SizeOfOptionalHeader says it does.
Bytes WithOptionalHeaderSize(const BuiltPe& pe, uint16_t size) {
  Bytes b = pe.bytes;
  std::copy(pe.bytes.begin() + pe.section_table, pe.bytes.begin() + pe.section_table + 80,
            b.begin() + pe.optional_header + size);
  Put16(b, pe.e_lfanew + 4 + 16, size);
  return b;
}

TEST(LayoutEdges, AnOptionalHeaderThatEndsRightAfterTheDirectoryEntry) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes icon = IconFile({Image(64, 1)});
  // PE32: the data directories start at 96; the resource table is entry 2.
  EXPECT_EQ(Replace(WithOptionalHeaderSize(pe, 96 + 3 * 8), icon).result, 0);
  EXPECT_EQ(Replace(WithOptionalHeaderSize(pe, 96 + 3 * 8 - 1), icon).result, kNoResourceTree);
  // The certificate table is entry 4; one of a single byte is not empty.
  Bytes whole = pe.bytes;
  Put32(whole, pe.optional_header + 96 + 4 * 8 + 4, 1);
  EXPECT_TRUE(IsSigned(MemoryFile(whole)));
  Bytes b = WithOptionalHeaderSize(pe, 96 + 5 * 8);
  Put32(b, pe.optional_header + 96 + 4 * 8 + 4, 1);
  EXPECT_TRUE(IsSigned(MemoryFile(b)));
  b = WithOptionalHeaderSize(pe, 96 + 5 * 8 - 1);
  Put32(b, pe.optional_header + 96 + 4 * 8 + 4, 1);
  EXPECT_FALSE(IsSigned(MemoryFile(b)));
}

TEST(LayoutEdges, NumberOfRvaAndSizesMustReachTheEntry) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes icon = IconFile({Image(64, 1)});
  Bytes b = pe.bytes;
  Put32(b, pe.optional_header + 92, 3);  // entries 0, 1 and 2
  EXPECT_EQ(Replace(b, icon).result, 0);
  Put32(b, pe.optional_header + 92, 2);
  EXPECT_EQ(Replace(b, icon).result, kNoResourceTree);
}

// One section only: the table holds the resource section alone, and the
// header that follows the table is not read as a section.
TEST(LayoutEdges, OneSectionAndNothingPastTheTable) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes icon = IconFile({Image(64, 1)});
  Bytes one = pe.bytes;
  std::copy(pe.bytes.begin() + pe.rsrc_header, pe.bytes.begin() + pe.rsrc_header + 40,
            one.begin() + pe.section_table);
  std::fill(one.begin() + pe.rsrc_header, one.begin() + pe.rsrc_header + 40, 0);
  Put16(one, pe.e_lfanew + 6, 1);
  EXPECT_EQ(Replace(one, icon).result, 0);

  Bytes text_only = pe.bytes;
  Put16(text_only, pe.e_lfanew + 6, 1);  // .text only; .rsrc's header lies just past the table
  Replacement r = Replace(text_only, icon);
  EXPECT_EQ(r.result, kNoResourceTree);
  EXPECT_TRUE(r.warnings.seen.empty());
}

TEST(LayoutEdges, ASectionTablePastTheEndOfTheFileIsError9) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes b = pe.bytes;
  Put16(b, pe.e_lfanew + 6, 800);  // 32,000 bytes of table; the first two are sound
  Replacement r = Replace(b, IconFile({Image(64, 1)}));
  EXPECT_EQ(r.result, kNoResourceTree);
  ASSERT_EQ(r.warnings.seen.size(), 1u);
  EXPECT_EQ(r.warnings.seen[0].first, ProgramName() + " - Subscript out of range");
  EXPECT_EQ(r.warnings.seen[0].second, InUse("An error occurred while locating the resource tree. "));
}

// A root at 2^31 - 1 still fits 31 bits: the section is taken, and the tree,
// far past the end of the file, cannot be read (error 9). One byte further
// does not fit: no tree.
TEST(LayoutEdges, ARootAtTheLast31BitPlace) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  for (uint32_t root : {0x7FFFFFFFu, 0x80000000u}) {
    Bytes b = pe.bytes;
    Put32(b, pe.rsrc_header + 16, 0x80000001u);  // SizeOfRawData: the section reaches that far
    Put32(b, pe.resource_dir, pe.rsrc_va + (root - pe.rsrc_raw));
    Replacement r = Replace(b, IconFile({Image(64, 1)}));
    EXPECT_EQ(r.result, root == 0x7FFFFFFFu ? kSubscriptOutOfRange : kNoResourceTree) << root;
    EXPECT_EQ(r.after, b);
  }
}

// The section starts 0x200 bytes before the tree, and the first icon's image
// lies at its very start: in place, its RVA is the section's VirtualAddress.
TEST(LayoutEdges, AnImageAtTheSectionsFirstByte) {
  BuiltPe pe = BuildPe(IconProgram({100, 100}));
  uint32_t raw = pe.rsrc_raw - 0x200;
  Bytes b = WithRawPointer(pe, raw, raw);
  Replacement r = Replace(b, IconFile({Image(64, 1)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Get32(r.after, pe.data_entry[0]), pe.rsrc_va - 0x200);
}

TEST(ReaderEdges, TheLastPageMayHoldOneByte) {
  Bytes bytes(4097, 0);
  bytes[4096] = 0x5A;
  MemoryFile file(bytes);
  engine::Reader r(file, 0, file.Length());
  EXPECT_EQ(r.U8(4096), 0x5A);
}

TEST(ReaderEdges, AReadThatFailsIsError9EveryTime) {
  class Unreadable : public MemoryFile {
   public:
    using MemoryFile::MemoryFile;
    bool ReadAt(int64_t, void*, size_t) const override { return false; }
  };
  Unreadable file(Bytes(100, 1));
  engine::Reader r(file, 0, file.Length());
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      r.U8(10);
      ADD_FAILURE() << "a failed read gave a value";
    } catch (const engine::EngineError& e) {
      EXPECT_EQ(e.number(), 9);
    }
  }
}

IconListing ListOf(const Bytes& b, int32_t expected = 0) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", b);
  IconListing listing;
  std::string failure;
  EXPECT_EQ(ListIcons(dir / "app.exe", listing, failure), expected) << failure;
  return listing;
}

// --list: a data entry in the section's last 16 bytes, an image of the
// neutral language that a group of another language names, and the colour
// count, which is not the reserved byte beside it.
TEST(ListingEdges, EntriesAtTheEdges) {
  PeOptions o;
  o.resources.push_back({3, 1, 0, Bytes(100, 1)});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 4, 1}})});
  uint32_t base = BuildPe(o).data_end - 0x400;
  o.free_after_data = ((base + 0x1FF) / 0x200 * 0x200) - 32 - base;
  BuiltPe pe = BuildPe(o);
  // The image's data entry, then the group's, moved to the last 16 bytes.
  for (size_t moved : {0, 1}) {
    Bytes b = pe.bytes;
    uint32_t entry = pe.rsrc_raw + pe.rsrc_raw_size - 16;
    std::copy(b.begin() + pe.data_entry[moved], b.begin() + pe.data_entry[moved] + 16, b.begin() + entry);
    Put32(b, pe.language_entry[moved] + 4, entry - pe.root);
    b[pe.data_offset[1] + 6 + 2] = 16;  // bColorCount
    b[pe.data_offset[1] + 6 + 3] = 7;   // bReserved
    IconListing listing = ListOf(b);
    ASSERT_EQ(listing.images.size(), 1u) << moved;
    EXPECT_EQ(listing.images[0].file_offset, pe.data_offset[0]) << moved;
    ASSERT_EQ(listing.groups.size(), 1u) << moved;
    EXPECT_EQ(listing.groups[0].colors, 16) << moved;
    EXPECT_EQ(listing.groups[0].file_offset, pe.data_offset[0]) << moved;
  }
}

// A group's name that ends exactly at the section's end is read whole; so
// is an empty one in the section's last 2 bytes.
TEST(ListingEdges, NamesThatEndAtTheSectionsEnd) {
  PeOptions o = IconProgram({100});
  uint32_t base = BuildPe(o).data_end - 0x400;
  o.free_after_data = ((base + 0x1FF) / 0x200 * 0x200) - 32 - base;
  BuiltPe pe = BuildPe(o);
  uint32_t end = pe.rsrc_raw + pe.rsrc_raw_size;
  uint32_t group_names = pe.root + (Get32(pe.bytes, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  for (const std::u16string& name : {std::u16string(u"MAINICON"), std::u16string()}) {
    Bytes b = pe.bytes;
    NameEntry(b, pe, group_names, group_names + 16, end - 2 - 2 * static_cast<uint32_t>(name.size()), name);
    IconListing listing = ListOf(b);
    ASSERT_EQ(listing.groups.size(), 1u);
    EXPECT_EQ(listing.groups[0].group, name.empty() ? "\"\"" : "\"MAINICON\"");
  }
}

TEST(ListingEdges, AProgramThatCannotBeOpenedIsFailure1000) {
  TempDir dir;
  IconListing listing;
  std::string failure;
  EXPECT_EQ(ListIcons(dir / "missing.exe", listing, failure), kOpenFailed);
  EXPECT_EQ(failure, MissingFileText(PathText(dir / "missing.exe")));
}

}  // namespace
}  // namespace vantorel::engine::test

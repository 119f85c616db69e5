// Where the new image goes, at the edges: in place exactly when it fits the
// first image's own place and touches nothing in use; otherwise at the first
// free stretch that holds it. Checked through the plan a dry run reports.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

struct Planned {
  int32_t result = -1;
  std::string failure;
  Warnings warnings;
  ReplacementPlan plan;
};

Planned PlanFor(const Bytes& target, uint32_t image_bytes) {
  Planned p;
  MemoryFile icon_file(IconFile({Image(image_bytes, 9)}));
  IconImage image;
  EXPECT_EQ(LoadFirstImage(icon_file, image), 0);
  MemoryFile file(target);
  p.result = ReplaceIconIn(file, image, "new.ico", "app.exe", p.failure, p.warnings.sink(), &p.plan, true);
  EXPECT_EQ(file.bytes(), target) << "a plan writes nothing";
  return p;
}

void ExpectPlaced(const BuiltPe& pe, const Planned& p, int64_t offset, bool in_place, int64_t room) {
  ASSERT_EQ(p.result, 0) << p.failure;
  EXPECT_TRUE(p.warnings.seen.empty());
  EXPECT_EQ(p.plan.image_offset, offset);
  EXPECT_EQ(p.plan.image_rva, static_cast<int64_t>(pe.rsrc_va) + (offset - pe.root));
  EXPECT_EQ(p.plan.image_in_place, in_place);
  EXPECT_EQ(p.plan.room_bytes, room);
}

// Icon 1, the first one the tree lists, stored after icon 2: the free
// stretch of both old images starts before the first image's own place.
BuiltPe FirstImageSecond(uint32_t size) {
  PeOptions o;
  o.resources.push_back({3, 2, 1033, Bytes(size, 0xA2)});
  o.resources.push_back({3, 1, 1033, Bytes(size, 0xA1)});
  o.resources.push_back({14, 1, 1033, GroupIcon({1, 2})});
  return BuildPe(o);
}

TEST(Placement, InPlaceUpToTheFirstImagesSizeAndNoFurther) {
  BuiltPe pe = FirstImageSecond(100);
  // Two images of 100 bytes, each padded to 104, up to the group.
  int64_t stretch = pe.data_offset[2] - pe.data_offset[0];
  ASSERT_EQ(stretch, 208);
  Planned fits = PlanFor(pe.bytes, 100);
  ExpectPlaced(pe, fits, pe.data_offset[1], true, 100);
  EXPECT_EQ(fits.plan.icon_entries, 2);
  EXPECT_EQ(fits.plan.group_entries, 2);
  ExpectPlaced(pe, PlanFor(pe.bytes, 101), pe.data_offset[0], false, stretch);
}

TEST(Placement, InPlaceWhenTheImageEndsRightWhereTheGroupBegins) {
  BuiltPe pe = FirstImageSecond(104);
  ASSERT_EQ(pe.data_offset[1] + 104, pe.data_offset[2]);
  ExpectPlaced(pe, PlanFor(pe.bytes, 104), pe.data_offset[1], true, 104);
}

TEST(Placement, InPlaceWhenTheImageStartsRightWhereTheDataEntriesEnd) {
  BuiltPe pe = BuildPe(IconProgram({104, 104}));
  ASSERT_EQ(pe.data_entry.back() + 16, pe.data_offset[0]);
  ExpectPlaced(pe, PlanFor(pe.bytes, 104), pe.data_offset[0], true, 104);
  ExpectPlaced(pe, PlanFor(pe.bytes, 50), pe.data_offset[0], true, 104);
}

// A resource of no bytes whose data lies inside the first image's place
// takes none of it.
TEST(Placement, AnEmptyResourceTakesNoRoom) {
  PeOptions o = IconProgram({104, 104});
  o.resources.push_back({10, 1, 1033, Bytes{}});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.data_entry[3], pe.rsrc_va + (pe.data_offset[0] + 40 - pe.root));
  ExpectPlaced(pe, PlanFor(b, 104), pe.data_offset[0], true, 104);
}

// Other resources' data is in use however it lies: overlapping the group's
// tail and reaching past it, or named by an RVA that converts to nothing.
TEST(Placement, DataThatOverlapsOtherDataIsInUseToItsEnd) {
  PeOptions o = IconProgram({100, 100});
  o.resources.push_back({10, 1, 1033, Bytes(100, 0x44)});
  o.free_after_data = 2000;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t rcdata = pe.data_offset[2] + 10;  // over the group's last 24 bytes, and 76 past them
  Put32(b, pe.data_entry[3], pe.rsrc_va + (rcdata - pe.root));
  uint32_t at = (rcdata + 100 + 3) / 4 * 4;
  Planned p = PlanFor(b, 1000);
  ExpectPlaced(pe, p, at, false, pe.data_end + 2000 - at);
}

TEST(Placement, DataAtAnRvaThatDoesNotConvertTakesNoRoom) {
  PeOptions o = IconProgram({104, 104});
  o.resources.push_back({10, 1, 1033, Bytes(8, 0x44)});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  // RVA - VirtualAddress overflows 32 signed bits; the size would cover the section.
  Put32(b, pe.data_entry[3], 0x80000000u);
  Put32(b, pe.data_entry[3] + 4, pe.rsrc_raw + pe.rsrc_raw_size);
  ExpectPlaced(pe, PlanFor(b, 104), pe.data_offset[0], true, 104);
}

// The data directory names one byte past the data entries: a stretch of one
// byte is all the room there is, and the failure says so.
TEST(Placement, OneByteOfRoomIsReportedAsSuch) {
  BuiltPe pe = BuildPe(IconProgram({100, 100}));
  Bytes b = pe.bytes;
  Put32(b, pe.resource_dir + 4, pe.data_offset[0] + 1 - pe.root);
  Planned p = PlanFor(b, 200);
  EXPECT_EQ(p.result, kNoRoom);
  EXPECT_EQ(p.failure, "new.ico holds an image of 200 bytes; the target has room for 1 bytes. The target was not changed.");
}

// The tree's directory headers and entries are in use: an image of 12 bytes
// that does not fit the first image's 4 goes to the old images (16 bytes
// with their padding), not over the root directory's header or entries.
TEST(Placement, TheTreesDirectoriesAreNeverRoom) {
  BuiltPe pe = BuildPe(IconProgram({4, 4}));
  ExpectPlaced(pe, PlanFor(pe.bytes, 12), pe.data_offset[0], false, 16);
}

// A type listed twice, both entries naming one directory: its groups are
// walked, and listed, once.
TEST(Placement, ADirectoryNamedTwiceIsWalkedOnce) {
  PeOptions o = IconProgram({100});
  o.resources.push_back({16, 1, 1033, Bytes(20, 1)});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  // The third type entry (16) becomes a second entry for type 14.
  Put32(b, pe.type_dir_entries + 16, 14);
  Put32(b, pe.type_dir_entries + 16 + 4, Get32(b, pe.type_dir_entries + 8 + 4));
  TempDir dir;
  WriteFileBytes(dir / "app.exe", b);
  IconListing listing;
  std::string failure;
  ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), 0) << failure;
  EXPECT_EQ(listing.groups.size(), 1u);
}

// A directory with no entries is a whole directory: the walk of every type
// (which maps the room) reads its 16-byte header and nothing past it, even
// when it is the last thing in the section.
TEST(Placement, AnEmptyDirectoryAtTheSectionsEndIsPartOfASoundTree) {
  PeOptions o = IconProgram({100, 100});
  o.resources.push_back({16, 1, 1033, Bytes(52, 0x56)});  // a version resource, type 16: the root's last entry
  uint32_t base = BuildPe(o).data_end - 0x400;             // the tree's bytes without free room
  // Free room enough for 1,000 bytes, and 32 bytes of the section left after
  // the resource data, outside what the data directory names.
  o.free_after_data = ((base + 1000 + 0x1FF) / 0x200 * 0x200) - 32 - base;
  BuiltPe pe = BuildPe(o);
  uint32_t section_end = pe.rsrc_raw + pe.rsrc_raw_size;
  uint32_t area_end = pe.data_end + o.free_after_data;
  ASSERT_EQ(section_end - area_end, 32u);
  Bytes b = pe.bytes;
  // Type 16 now names an empty directory in the section's last 16 bytes; its
  // old directories, data entry and data are no longer referenced.
  Put32(b, pe.type_dir_entries + 2 * 8 + 4, 0x80000000u | (section_end - 16 - pe.root));

  // 1,000 bytes fit only from the first 4-byte boundary after the group's 34
  // bytes (the version data is free now) up to the end of the area.
  uint32_t at = (pe.data_offset[2] + 34 + 3) / 4 * 4;
  ExpectPlaced(pe, PlanFor(b, 1000), at, false, area_end - at);
  IconListing listing;
  TempDir dir;
  WriteFileBytes(dir / "app.exe", b);
  std::string failure;
  ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), 0) << failure;
  EXPECT_EQ(listing.groups.size(), 2u);
}

}  // namespace
}  // namespace vantorel::engine::test

// --all-sizes where icons share: two names leading to one image, two images
// of one size in a group, an icon whose old header cannot be read, data that
// runs past the section, and groups a few bytes short of their entries.
#include "all_sizes_support.h"

namespace vantorel::engine::test {
namespace {

// The bytes an icon's data entry now points at.
Bytes IconBytes(const Bytes& b, const BuiltPe& pe, size_t resource) {
  uint32_t rva = Get32(b, pe.data_entry[resource]);
  uint32_t size = Get32(b, pe.data_entry[resource] + 4);
  uint32_t at = rva - pe.rsrc_va + pe.rsrc_raw;
  return Bytes(b.begin() + at, b.begin() + at + size);
}

Bytes GroupEntryBytes(const Bytes& b, const BuiltPe& pe, size_t group, int entry) {
  uint32_t at = pe.data_offset[group] + 6 + 14 * static_cast<uint32_t>(entry);
  return Bytes(b.begin() + at, b.begin() + at + 12);
}

Bytes IconFileEntryBytes(const Bytes& icon_file, int image) {
  size_t at = 6 + 16 * static_cast<size_t>(image);
  Bytes entry(icon_file.begin() + static_cast<std::ptrdiff_t>(at), icon_file.begin() + static_cast<std::ptrdiff_t>(at + 12));
  return entry;
}

// Icon names 1 and 2 whose language entries lead to one data entry: every
// group entry naming either describes the one image that data entry now
// holds, whatever size it stated before.
TEST(AllSizesSharing, EveryEntryDescribesTheImageItsIconHolds) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(3000, 1)});
  o.resources.push_back({3, 2, 1033, Bytes(3000, 2)});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {48, 8, 2}})});
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.language_entry[1] + 4, pe.data_entry[0] - pe.root);
  Bytes icon_file = IconFile({Sized(16, 32, 300, 1), Sized(48, 8, 900, 2)});
  SizedRun r = AllSizes(b, icon_file);
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 1u) << "one data entry, one icon";
  EXPECT_EQ(r.report.icons[0].image, 1) << "the first entry naming it decides";
  EXPECT_EQ(r.report.group_entries, 2);
  EXPECT_EQ(GroupEntryBytes(r.after, pe, 2, 0), IconFileEntryBytes(icon_file, 0));
  EXPECT_EQ(GroupEntryBytes(r.after, pe, 2, 1), IconFileEntryBytes(icon_file, 0))
      << "the second entry names the same icon";
}

// A group with two different images of one size and depth, taken out and
// given back: the k-th entry of that size gets the k-th image of it, so every
// icon holds its own bytes again.
TEST(AllSizesSharing, AGroupTakenOutAndGivenBackKeepsEveryImage) {
  struct Layout {
    const char* what;
    std::vector<Described> entries;  // icons 1..3 in the order the group lists them
  } layouts[] = {
      {"two 32s after a 16", {{16, 32, 1}, {32, 32, 2}, {32, 32, 3}}},
      {"two 32s around a 16", {{32, 32, 1}, {16, 32, 2}, {32, 32, 3}}},
      {"the group lists the later icon first", {{32, 32, 3}, {16, 32, 1}, {32, 32, 2}}},
      {"three of one size", {{32, 32, 1}, {32, 32, 2}, {32, 32, 3}}},
  };
  for (const Layout& l : layouts) {
    PeOptions o;
    for (uint32_t id = 1; id <= 3; ++id) o.resources.push_back({3, id, 1033, Image(400 + 40 * id, static_cast<uint8_t>(id)).image});
    o.resources.push_back({14, 1, 1033, SizedGroup(l.entries)});
    BuiltPe pe = BuildPe(o);
    TempDir dir;
    WriteFileBytes(dir / "app.exe", pe.bytes);
    ExtractedIcon taken;
    std::string failure;
    ASSERT_EQ(ExtractIconGroup(dir / "app.exe", {}, taken, failure), 0) << failure;
    SizedRun r = AllSizes(pe.bytes, taken.ico);
    ASSERT_EQ(r.result, 0) << l.what << ": " << r.failure;
    for (size_t icon = 0; icon < 3; ++icon) {
      EXPECT_EQ(IconBytes(r.after, pe, icon), o.resources[icon].data) << l.what << ": icon " << icon + 1;
    }
  }
}

// Of two images of one size, an icon file with fewer images of it than the
// group wants gives the later icons its first, as before.
TEST(AllSizesSharing, MoreEntriesOfASizeThanImagesGetTheFirst) {
  PeOptions o;
  for (uint32_t id = 1; id <= 3; ++id) o.resources.push_back({3, id, 1033, Bytes(1000, static_cast<uint8_t>(id))});
  o.resources.push_back({14, 1, 1033, SizedGroup({{32, 32, 1}, {32, 32, 2}, {32, 32, 3}})});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(32, 32, 300, 1), Sized(16, 32, 200, 2), Sized(32, 32, 310, 3)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  std::vector<int> given;
  for (const SizeAssignment& a : r.report.icons) given.push_back(a.image);
  EXPECT_EQ(given, (std::vector<int>{1, 3, 1}));
}

// An icon no group names whose old header says nothing wants the icon file's
// first image's size, and the report says that is where the size came from.
TEST(AllSizesSharing, TheReportSaysWhereAWantedSizeCameFrom) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(1000, 1)});
  o.resources.push_back({3, 2, 1033, Bytes(1000, 0)});  // no header to read
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(48, 32, 400, 1), Sized(16, 32, 300, 2)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 2u);
  EXPECT_TRUE(r.report.icons[0].wanted_by_group);
  EXPECT_FALSE(r.report.icons[0].wanted_from_icon_file);
  EXPECT_FALSE(r.report.icons[1].wanted_by_group);
  EXPECT_TRUE(r.report.icons[1].wanted_from_icon_file);
  EXPECT_EQ(r.report.icons[1].wanted_width, 48);
}

// Another resource's data that runs past the section's end is still in use
// where it lies in the section: no image is moved onto it, even when that
// is the only stretch large enough.
TEST(AllSizesSharing, DataRunningPastTheSectionIsRoomInUse) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(200, 1)});
  o.resources.push_back({14, 1, 1033, SizedGroup({{32, 32, 1}})});
  o.resources.push_back({10, 1, 1033, Bytes(64, 0xEE)});  // RT_RCDATA, laid out last
  o.free_after_data = 600;                               // unreferenced, after it
  BuiltPe pe = BuildPe(o);
  // An image too large for the old icon's 200 bytes, small enough for the
  // free bytes after the last resource.
  Bytes icon_file = IconFile({Sized(32, 32, 400, 1)});
  SizedRun sound = AllSizes(pe.bytes, icon_file);
  ASSERT_EQ(sound.result, 0) << "the free bytes are room while nothing claims them: " << sound.failure;

  Bytes b = pe.bytes;
  uint32_t section_end = pe.rsrc_raw + pe.rsrc_raw_size;
  Put32(b, pe.data_entry[2] + 4, section_end - pe.data_offset[2] + 4096);
  SizedRun r = AllSizes(b, icon_file);
  EXPECT_EQ(r.result, kNoRoom) << r.failure;
  EXPECT_EQ(r.after, b);
}

// A group 1 to 5 bytes shorter than its entry count needs is refused by
// both readers, and nothing changes.
TEST(AllSizesSharing, AGroupShortOfItsEntriesIsRefused) {
  for (uint32_t short_by : {0u, 1u, 2u, 3u, 4u, 5u}) {
    PeOptions o;
    o.resources.push_back({3, 1, 1033, Bytes(600, 1)});
    o.resources.push_back({3, 2, 1033, Bytes(600, 2)});
    o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}})});
    BuiltPe pe = BuildPe(o);
    Bytes b = pe.bytes;
    Put32(b, pe.data_entry[2] + 4, 6 + 2 * 14 - short_by);
    SizedRun r = AllSizes(b, IconFile({Sized(16, 32, 300, 1), Sized(32, 32, 500, 2)}));
    TempDir dir;
    WriteFileBytes(dir / "app.exe", b);
    ExtractedIcon taken;
    std::string failure;
    int32_t extracted = ExtractIconGroup(dir / "app.exe", {}, taken, failure);
    if (short_by == 0) {
      EXPECT_EQ(r.result, 0) << r.failure;
      EXPECT_EQ(extracted, 0) << failure;
      continue;
    }
    EXPECT_EQ(r.result, kModifyFailed) << short_by;
    EXPECT_EQ(r.after, b) << short_by;
    EXPECT_EQ(extracted, kGroupDamaged) << short_by;
    EXPECT_EQ(ReadFileBytes(dir / "app.exe"), b) << short_by;
  }
}

}  // namespace
}  // namespace vantorel::engine::test

// --all-sizes on crafted targets: which image each icon gets, what its group
// entries then say, the room-short ranking, shared icons and languages, and
// that a failure leaves every byte as it was.
#include "all_sizes_support.h"
#include "picture_support.h"

namespace vantorel::engine::test {
namespace {

// The bytes the data entry at `entry` points at, as the loader would find them.
Bytes Resolved(const BuiltPe& pe, const Bytes& b, uint32_t entry) {
  uint32_t at = Get32(b, entry) - pe.rsrc_va + pe.rsrc_raw;
  return Bytes(b.begin() + at, b.begin() + at + Get32(b, entry + 4));
}

void ExpectDescribes(const Bytes& b, size_t group_entry, const IconFileEntry& image, uint16_t id) {
  Bytes icon_file = IconFile({image});
  EXPECT_TRUE(std::equal(icon_file.begin() + 6, icon_file.begin() + 18, b.begin() + group_entry))
      << "the group entry at " << group_entry << " describes the image";
  EXPECT_EQ(Get16(b, group_entry + 12), id) << "nID kept";
}

void ExpectOnlySectionChanged(const BuiltPe& pe, const Bytes& after) {
  ASSERT_EQ(after.size(), pe.bytes.size());
  for (size_t i = 0; i < after.size(); ++i) {
    if (i >= pe.rsrc_raw && i < pe.rsrc_raw + pe.rsrc_raw_size) continue;
    if (i >= pe.optional_header + 64 && i < pe.optional_header + 68) continue;  // CheckSum
    ASSERT_EQ(after[i], pe.bytes[i]) << "byte " << i << " outside the resource section changed";
  }
}

class EachSize : public ::testing::TestWithParam<bool> {};

TEST_P(EachSize, EveryIconGetsTheImageOfItsSize) {
  PeOptions o;
  o.pe32plus = GetParam();
  for (uint16_t id = 1; id <= 3; ++id) o.resources.push_back({3, id, 1033, Bytes(1500, uint8_t(id))});
  o.resources.push_back({10, 1, 1033, Bytes(99, 'r')});  // RCDATA between the icons and the group
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {64, 32, 3}})});
  BuiltPe pe = BuildPe(o);
  Put32(pe.bytes, pe.optional_header + 64, PeChecksum(pe.bytes.data(), pe.bytes.size(), pe.optional_header + 64));
  // 64 first in the file; 32 pixels in 16 colours before the 32-bit one.
  std::vector<IconFileEntry> images = {Sized(64, 32, 2000, 1), Sized(16, 32, 200, 2), Sized(32, 4, 500, 3),
                                  Sized(32, 32, 800, 4)};
  SizedRun r = AllSizes(pe.bytes, IconFile(images));
  ASSERT_EQ(r.result, 0) << r.failure;
  ExpectOnlySectionChanged(pe, r.after);
  EXPECT_EQ(Get32(r.after, pe.optional_header + 64),
            PeChecksum(r.after.data(), r.after.size(), pe.optional_header + 64));
  const IconFileEntry* wanted[] = {&images[1], &images[3], &images[0]};  // 16, 32 at 32 bits, 64
  for (int icon = 0; icon < 3; ++icon) {
    EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[icon]), wanted[icon]->image) << "icon " << icon + 1;
    ExpectDescribes(r.after, pe.data_offset[4] + 6 + 14 * icon, *wanted[icon], uint16_t(icon + 1));
  }
  EXPECT_TRUE(std::equal(pe.bytes.begin() + pe.data_offset[3], pe.bytes.begin() + pe.data_offset[3] + 99,
                         r.after.begin() + pe.data_offset[3]))
      << "the RCDATA stays";
  ASSERT_EQ(r.report.icons.size(), 3u);
  EXPECT_EQ(r.report.images_written, 3);
  EXPECT_EQ(r.report.group_entries, 3);
  EXPECT_EQ(r.report.icons[1].image, 4);
  EXPECT_EQ(r.report.icons[1].wanted_width, 32);
  EXPECT_FALSE(r.report.icons[1].substitute);

  // A second run changes nothing more.
  SizedRun again = AllSizes(r.after, IconFile(images));
  ASSERT_EQ(again.result, 0) << again.failure;
  EXPECT_EQ(again.after, r.after);
}

INSTANTIATE_TEST_SUITE_P(BothHeaderForms, EachSize, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "PE32Plus" : "PE32"; });

// Four old images of 150 bytes: 608 bytes of room once they are free.
PeOptions FourSizes() {
  PeOptions o;
  for (uint16_t id = 1; id <= 4; ++id) o.resources.push_back({3, id, 1033, Bytes(150, uint8_t(id))});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 3}, {64, 32, 4}})});
  return o;
}

TEST(RoomShort, TheSizesShownMostComeFirstAndTheRestGetSubstitutes) {
  BuiltPe pe = BuildPe(FourSizes());
  uint32_t room = pe.data_offset[4] - pe.data_offset[0];
  ASSERT_EQ(room, 608u);
  // 16, 32 and 48 fill 600 bytes; 64 (400) is the largest but shown least.
  std::vector<IconFileEntry> images = {Sized(64, 32, 400, 1), Sized(48, 32, 300, 2), Sized(32, 32, 200, 3),
                                  Sized(16, 32, 100, 4)};
  SizedRun dry = AllSizes(pe.bytes, IconFile(images), true);
  ASSERT_EQ(dry.result, 0) << dry.failure;
  EXPECT_EQ(dry.after, pe.bytes);
  SizedRun r = AllSizes(pe.bytes, IconFile(images));
  ASSERT_EQ(r.result, 0) << r.failure;
  const IconFileEntry* given[] = {&images[3], &images[2], &images[1], &images[1]};
  for (int icon = 0; icon < 4; ++icon) {
    EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[icon]), given[icon]->image) << "icon " << icon + 1;
    ExpectDescribes(r.after, pe.data_offset[4] + 6 + 14 * icon, *given[icon], uint16_t(icon + 1));
    EXPECT_EQ(dry.report.icons[icon].substitute, icon == 3) << icon;
    EXPECT_EQ(dry.report.icons[icon].file_offset, r.report.icons[icon].file_offset) << "the dry run says where";
  }
  EXPECT_EQ(r.report.icons[3].image, 2);
  EXPECT_EQ(r.report.images_written, 3);
  // Every image lies inside the old images' room.
  for (const SizeAssignment& a : r.report.icons) {
    EXPECT_GE(a.file_offset, pe.data_offset[0]);
    EXPECT_LE(a.file_offset + a.bytes, pe.data_offset[0] + room);
  }
}

TEST(RoomShort, NoImageFitsIs1007AndNothingChanges) {
  PeOptions o = IconProgram({8, 8});
  BuiltPe pe = BuildPe(o);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(32, 32, 400, 1), Sized(16, 32, 100, 2)}));
  EXPECT_EQ(r.result, 1007);
  EXPECT_EQ(r.failure,
            "sizes.ico holds no image small enough: its smallest has 100 bytes; the target has room for 16 bytes. "
            "The target was not changed.");
  EXPECT_EQ(r.after, pe.bytes);
}

TEST(SharedIcons, EachIconIsWrittenOnceAndEveryGroupDescribesIt) {
  PeOptions o;
  for (uint16_t id = 1; id <= 2; ++id) o.resources.push_back({3, id, 1033, Bytes(900, uint8_t(id))});
  // Both groups name icon 1; the first says 16 pixels, the second 32.
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {48, 32, 2}})});
  o.resources.push_back({14, 2, 1033, SizedGroup({{32, 32, 1}})});
  BuiltPe pe = BuildPe(o);
  std::vector<IconFileEntry> images = {Sized(16, 32, 100, 1), Sized(32, 32, 200, 2), Sized(48, 32, 300, 3)};
  SizedRun r = AllSizes(pe.bytes, IconFile(images));
  ASSERT_EQ(r.result, 0) << r.failure;
  ASSERT_EQ(r.report.icons.size(), 2u);
  EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[0]), images[0].image);
  ExpectDescribes(r.after, pe.data_offset[3] + 6, images[0], 1);
  ExpectDescribes(r.after, pe.data_offset[2] + 6, images[0], 1);
  ExpectDescribes(r.after, pe.data_offset[2] + 20, images[2], 2);
  EXPECT_EQ(r.report.images_written, 2) << "the 32-pixel image serves no icon";
}

TEST(SharedIcons, LanguageEntriesThatShareADataEntryCountOnce) {
  BuiltPe pe = SharedGroupData(50, 200);
  SizedRun r = AllSizes(pe.bytes, IconFile({Sized(16, 32, 40, 1)}), true);
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(r.report.icons.size(), 2u);
  EXPECT_EQ(r.report.group_entries, 50);
}

TEST(Languages, EachLanguagesIconsFollowTheirOwnGroup) {
  PeOptions o;
  for (uint32_t language : {1031u, 1033u}) {
    for (uint16_t id = 1; id <= 2; ++id) o.resources.push_back({3, id, language, Bytes(800, uint8_t(id))});
  }
  o.resources.push_back({14, 1, 1031, SizedGroup({{32, 32, 1}, {48, 32, 2}})});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}})});
  BuiltPe pe = BuildPe(o);
  std::vector<IconFileEntry> images = {Sized(16, 32, 100, 1), Sized(32, 32, 200, 2), Sized(48, 32, 300, 3)};
  SizedRun r = AllSizes(pe.bytes, IconFile(images));
  ASSERT_EQ(r.result, 0) << r.failure;
  // Resources in the order given: (1, 1031), (2, 1031), (1, 1033), (2, 1033).
  const IconFileEntry* given[] = {&images[1], &images[2], &images[0], &images[1]};
  for (int icon = 0; icon < 4; ++icon) {
    EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[icon]), given[icon]->image) << "icon " << icon;
  }
}

TEST(Orphans, AnIconNoGroupNamesKeepsItsOwnSize) {
  PeOptions o;
  Bytes own_48(600, 0);
  Put32(own_48, 0, 40);
  Put32(own_48, 4, 48);
  Put32(own_48, 8, 96);  // the mask doubles the height
  Put16(own_48, 12, 1);
  Put16(own_48, 14, 32);
  o.resources.push_back({3, 1, 1033, Bytes(600, 1)});
  o.resources.push_back({3, 2, 1033, own_48});
  o.resources.push_back({3, 3, 1033, Bytes(600, 0x55)});  // no header to go by
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {24, 32, 9}})});  // 9 names no icon
  BuiltPe pe = BuildPe(o);
  std::vector<IconFileEntry> images = {Sized(32, 32, 200, 1), Sized(16, 32, 100, 2), Sized(48, 32, 300, 3)};
  SizedRun r = AllSizes(pe.bytes, IconFile(images));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[0]), images[1].image);
  EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[1]), images[2].image);
  EXPECT_FALSE(r.report.icons[1].wanted_by_group);
  // Nothing says: the icon file's first image, as the first-image replacement gives.
  EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[2]), images[0].image);
  // The entry that names no icon describes nothing and keeps its bytes.
  size_t dangling = pe.data_offset[3] + 20;
  EXPECT_TRUE(std::equal(pe.bytes.begin() + dangling, pe.bytes.begin() + dangling + 14, r.after.begin() + dangling));
  EXPECT_EQ(r.report.group_entries, 1);
}

// A file whose writes fail on purpose after `good_writes` of them.
class BrokenDisk : public MemoryFile {
 public:
  BrokenDisk(Bytes b, int good_writes) : MemoryFile(std::move(b)), good_writes_(good_writes) {}
  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    if (writes_++ == good_writes_) return MemoryFile::WriteAt(offset, data, size / 2) && false;
    return MemoryFile::WriteAt(offset, data, size);
  }

 private:
  int writes_ = 0, good_writes_;
};

TEST(Rollback, AFailedWriteAnywherePutsBackEveryByte) {
  BuiltPe pe = BuildPe(FourSizes());
  std::vector<IconImage> images =
      Images(IconFile({Sized(16, 32, 100, 1), Sized(32, 32, 200, 2), Sized(48, 32, 300, 3)}));
  // 3 images, 4 data entries, 4 group entries.
  for (int good = 0; good < 11; ++good) {
    BrokenDisk file(pe.bytes, good);
    AllSizesReport report;
    std::string failure;
    EXPECT_EQ(ReplaceAllSizesIn(file, images, "sizes.ico", "app.exe", report, failure, {}), 1008) << good;
    EXPECT_EQ(failure, "Failed to write to app.exe. The target was left unchanged.");
    EXPECT_EQ(file.bytes(), pe.bytes) << "after " << good << " good writes";
  }
}

TEST(Failures, TheSameRulesAsTheFirstImageReplacement) {
  BuiltPe pe = BuildPe(IconProgram({800}));
  Bytes icon = IconFile({Sized(16, 32, 100, 1)});
  PeOptions no_icons;
  no_icons.resources.push_back({16, 1, 1033, Bytes(60, 3)});
  Bytes text(200, 't');
  Bytes bad_group = pe.bytes;
  Put16(bad_group, pe.data_offset[1] + 4, 3);  // idCount past the group's data
  struct Case {
    const char* what;
    Bytes target;
    int32_t result;
  } cases[] = {{"not a program", text, 1002},
               {"resources but no icon", BuildPe(no_icons).bytes, 9},
               {"a group whose count runs past its data", bad_group, 1006}};
  for (const Case& c : cases) {
    SizedRun r = AllSizes(c.target, icon);
    EXPECT_EQ(r.result, c.result) << c.what;
    EXPECT_EQ(r.after, c.target) << c.what;
  }
}

// ---- Taking an icon out ----------------------------------------------------------

struct Taken {
  int32_t result = -1;
  std::string failure;
  ExtractedIcon icon;
};

Taken Extract(const Bytes& target, GroupSelection selection = {}) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", target);
  Taken t;
  t.result = ExtractIconGroup(dir / "app.exe", selection, t.icon, t.failure);
  EXPECT_EQ(ReadFileBytes(dir / "app.exe"), target) << "the program is only read";
  return t;
}

PeOptions TwoGroups() {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  o.resources.push_back({3, 2, 1033, Bytes(203, 2)});
  o.resources.push_back({3, 3, 1033, Bytes(300, 3)});
  o.resources.push_back({3, 3, 1031, Bytes(310, 4)});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}})});
  o.resources.push_back({14, 2, 1031, SizedGroup({{48, 32, 3}})});
  o.resources.push_back({14, 2, 1033, SizedGroup({{48, 32, 3}})});
  return o;
}

TEST(Extract, AnIconFileOfTheGroupsEntriesAndItsIconsBytes) {
  BuiltPe pe = BuildPe(TwoGroups());
  Taken t = Extract(pe.bytes);
  ASSERT_EQ(t.result, 0) << t.failure;
  EXPECT_EQ(t.icon.group, "#1");
  EXPECT_EQ(t.icon.language, 1033u);
  const Bytes& ico = t.icon.ico;
  ASSERT_EQ(ico.size(), 6u + 2 * 16 + 100 + 203);
  EXPECT_EQ(Get16(ico, 4), 2);
  // The group's own bytes, but the byte count the group states (777) is
  // replaced by the image's true one.
  EXPECT_TRUE(std::equal(ico.begin() + 6, ico.begin() + 14, pe.bytes.begin() + pe.data_offset[4] + 6));
  EXPECT_EQ(Get32(ico, 6 + 8), 100u);
  EXPECT_EQ(Get32(ico, 6 + 12), 38u);
  EXPECT_EQ(Get32(ico, 22 + 8), 203u);
  EXPECT_EQ(Get32(ico, 22 + 12), 138u);
  EXPECT_TRUE(std::equal(ico.begin() + 138, ico.end(), pe.bytes.begin() + pe.data_offset[1]));
}

// Bytes a resource holds after its image (makensis pads each icon's place)
// are left out: the image ends where its header's sizes or its IEND say.
TEST(Extract, AnImageEndsWhereItsOwnHeaderSays) {
  auto dib = [](uint32_t side, uint32_t bits, uint32_t colours, uint32_t compression = 0) {
    Bytes b(40, 0);  // biSize, biWidth, biHeight (with the mask), biBitCount, biCompression, biClrUsed
    for (auto [at, v] : {std::pair{0, 40u}, {4, side}, {8, 2 * side}, {14, bits}, {16, compression}, {32, colours}}) {
      Put32(b, at, v);
    }
    return b;
  };
  Bytes png = StbPng(16, 16, std::vector<Rgba>(256, Rgba{1, 2, 3, 4}));
  struct Case {
    Bytes header;
    size_t image;  // the bytes it says it takes
    bool whole;    // taken out whole, the 100 bytes after it too
  } cases[] = {
      {dib(16, 32, 0), 40 + 16 * 64 + 16 * 4, false},           // colour rows and mask rows
      {dib(32, 4, 0), 40 + 16 * 4 + 32 * 16 + 32 * 4, false},   // the whole colour table
      {dib(16, 8, 20), 40 + 20 * 4 + 16 * 16 + 16 * 4, false},  // the colours it uses
      {dib(17, 1, 0), 40 + 2 * 4 + 17 * 4 + 17 * 4, false},     // rows of whole 32-bit words
      {png, png.size(), false},                                 // through IEND
      {dib(16, 32, 0, 3), 1128, true},                          // bit fields
      {dib(32, 32, 0), 1000, true},                             // more than the resource holds
  };
  for (const Case& c : cases) {
    Bytes resource = c.header;
    resource.resize(c.image + 100, 0xEE);
    PeOptions o;
    o.resources = {{3, 1, 1033, resource}, {14, 1, 1033, SizedGroup({{16, 32, 1}})}};
    Taken t = Extract(BuildPe(o).bytes);
    ASSERT_EQ(t.result, 0) << t.failure;
    size_t taken = c.whole ? resource.size() : c.image;
    EXPECT_EQ(Bytes(t.icon.ico.begin() + 22, t.icon.ico.end()), Bytes(resource.begin(), resource.begin() + taken));
  }
}

TEST(Extract, GroupsByNumberNameAndLanguage) {
  BuiltPe pe = BuildPe(TwoGroups());
  struct Case {
    GroupSelection selection;
    uint32_t language;
    Bytes image;
  } cases[] = {{{"2", true, 0}, 1031, Bytes(310, 4)},
               {{"#2", false, 1033}, 1033, Bytes(300, 3)},
               {{"", false, 1031}, 1031, Bytes(310, 4)}};
  for (const Case& c : cases) {
    Taken t = Extract(pe.bytes, c.selection);
    ASSERT_EQ(t.result, 0) << t.failure;
    EXPECT_EQ(t.icon.language, c.language);
    EXPECT_TRUE(std::equal(c.image.begin(), c.image.end(), t.icon.ico.end() - int(c.image.size())))
        << "the icon of the group's own language";
  }
  Taken missing = Extract(pe.bytes, {"3", true, 0});
  EXPECT_EQ(missing.result, 1012);
  EXPECT_NE(missing.failure.find("holds no icon group 3. Its icon groups: #1 (language 1033), #2 (language 1031), "
                                 "#2 (language 1033)."),
            std::string::npos)
      << missing.failure;
  EXPECT_EQ(Extract(pe.bytes, {"1", false, 1031}).result, 1012);
  EXPECT_EQ(Extract(BuildPe(IconProgram({100})).bytes, {"MAINICON", true, 0}).result, 1012);
}

TEST(Extract, ANamedGroupMatchesWithoutRegardToCase) {
  PeOptions o = IconProgram({100, 100});
  o.free_after_data = 64;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  uint32_t group_names = Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF;  // types 3, 14
  NameEntry(b, pe, pe.root + group_names, pe.root + group_names + 16, pe.data_end, u"MAINICON");
  Taken t = Extract(b, {"MainIcon", true, 0});
  ASSERT_EQ(t.result, 0) << t.failure;
  EXPECT_EQ(t.icon.group, "\"MAINICON\"");
  EXPECT_EQ(t.icon.images, 2);
}

TEST(Extract, AGroupWithMissingOrDamagedIconsIsRefused) {
  BuiltPe pe = BuildPe(TwoGroups());
  Bytes missing = pe.bytes;
  Put16(missing, pe.data_offset[4] + 6 + 14 + 12, 9);  // the second entry names icon 9
  Bytes outside = pe.bytes;
  Put32(outside, pe.data_entry[1] + 4, 0x100000);  // icon 2 runs past the section
  Bytes empty = pe.bytes;
  Put32(empty, pe.data_entry[0] + 4, 0);
  struct Case {
    const char* what;
    Bytes target;
    std::string why;
  } cases[] = {{"missing", missing, "icon #9 is missing"},
               {"outside", outside, "icon #2 lies outside the resource section"},
               {"empty", empty, "icon #1 is empty"}};
  for (const Case& c : cases) {
    Taken t = Extract(c.target);
    EXPECT_EQ(t.result, 1013) << c.what;
    EXPECT_NE(t.failure.find("cannot be taken out: " + c.why + ". Nothing was written."), std::string::npos)
        << t.failure;
  }
  PeOptions no_groups;
  no_groups.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  Taken none = Extract(BuildPe(no_groups).bytes);
  EXPECT_EQ(none.result, 1012);
}

TEST(RoundTrip, ExtractedThenReplacedLeavesEveryIconImageAsItWas) {
  BuiltPe pe = BuildPe(TwoGroups());
  Taken t = Extract(pe.bytes);
  ASSERT_EQ(t.result, 0) << t.failure;
  SizedRun r = AllSizes(pe.bytes, t.icon.ico);
  ASSERT_EQ(r.result, 0) << r.failure;
  // Icons 1 and 2, the group's own.
  for (int icon = 0; icon < 2; ++icon) {
    EXPECT_EQ(Resolved(pe, r.after, pe.data_entry[icon]), Resolved(pe, pe.bytes, pe.data_entry[icon])) << icon;
  }
}

TEST(NewFile, NeverOverwritesUnlessAskedAndLeavesNothingHalfWritten) {
  TempDir dir;
  const Bytes first(10, 1), second(20, 2);
  std::string why;
  EXPECT_EQ(WriteNewFile(dir / "out.ico", first, false, why), NewFileResult::Written);
  EXPECT_EQ(WriteNewFile(dir / "out.ico", second, false, why), NewFileResult::AlreadyExists);
  EXPECT_EQ(ReadFileBytes(dir / "out.ico"), first);
  EXPECT_EQ(WriteNewFile(dir / "out.ico", second, true, why), NewFileResult::Written);
  EXPECT_EQ(ReadFileBytes(dir / "out.ico"), second);
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(WriteNewFile(dir / "folder", first, true, why), NewFileResult::Failed);
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(WriteNewFile(dir / "no-such-dir" / "out.ico", first, false, why), NewFileResult::Failed);
  // No temporary file is left behind by any of them.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace vantorel::engine::test

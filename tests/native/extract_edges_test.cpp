// --extract at its edges: how a group is asked for (numbers, "#" numbers,
// names), the bound on the image data one group may name, and an icon file
// of no images.
#include "test_support.h"
#include "icons/icon_file.h"

namespace vantorel::engine::test {
namespace {

struct Taken {
  int32_t result = -1;
  std::string failure;
  ExtractedIcon icon;
};

Taken Extract(const Bytes& target, const std::string& group, int64_t language = -1) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", target);
  Taken t;
  GroupSelection selection;
  selection.group = group;
  selection.any_language = language < 0;
  selection.language = static_cast<uint32_t>(language);
  t.result = ExtractIconGroup(dir / "app.exe", selection, t.icon, t.failure);
  return t;
}

// "N" and "#N" name number N (at most five digits, up to 65535, leading
// zeros allowed); anything else is a name, compared without regard to case.
TEST(ExtractEdges, GroupsByNumberOrName) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  for (uint32_t id : {1u, 9u, 10u, 17u, 65535u}) o.resources.push_back({14, id, 1033, SizedGroup({{16, 32, 1}})});
  o.free_after_data = 64;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  // Group 1 becomes the group named "1A": named entries come first.
  uint32_t names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  NameEntry(b, pe, names, names + 16, pe.data_end + 8, u"1A");
  Put16(b, names + 14, 4);

  struct Case {
    const char* asked;
    const char* found;  // nullptr: no such group
  } cases[] = {
      {"9", "#9"},         {"#9", "#9"},         {"10", "#10"},     {"#10", "#10"}, {"17", "#17"},
      {"#0017", "#17"},    {"65535", "#65535"},  {"#65535", "#65535"}, {"1a", "\"1A\""},   {"1A", "\"1A\""},
      {"65536", nullptr},  {"#8", nullptr},      {"x9", nullptr},   {"1", nullptr}, {"#1", nullptr},
  };
  for (const Case& c : cases) {
    Taken t = Extract(b, c.asked);
    if (!c.found) {
      EXPECT_EQ(t.result, kNoSuchGroup) << c.asked;
      continue;
    }
    ASSERT_EQ(t.result, 0) << c.asked << ": " << t.failure;
    EXPECT_EQ(t.icon.group, c.found) << c.asked;
  }
}

// Entries may repeat one icon, but together they may name at most four
// times the section's bytes: exactly that much is taken out, more is not.
TEST(ExtractEdges, AGroupMayNameUpToFourTimesTheSectionsBytes) {
  for (uint16_t entries : {16, 17}) {
    PeOptions o;
    o.resources.push_back({3, 1, 1033, Bytes(256, 1)});
    o.resources.push_back({14, 1, 1033, SizedGroup(std::vector<Described>(entries, {16, 32, 1}))});
    BuiltPe pe = BuildPe(o);
    ASSERT_EQ(pe.rsrc_raw_size, 1024u) << "16 entries of 256 bytes are four times the section";
    Taken t = Extract(pe.bytes, "");
    if (entries == 16) {
      ASSERT_EQ(t.result, 0) << t.failure;
      EXPECT_EQ(t.icon.images, 16);
    } else {
      EXPECT_EQ(t.result, kGroupDamaged);
      EXPECT_NE(t.failure.find(": its entries name more image data than the program holds. Nothing was written."),
                std::string::npos)
          << t.failure;
    }
  }
}

// A group's entries name the icons of its own language first, any other's
// only when its own has none; a group of no entries is no icon.
TEST(ExtractEdges, IconsOfTheGroupsLanguageAndAnEmptyGroup) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  o.resources.push_back({3, 2, 1033, Bytes(300, 3)});
  o.resources.push_back({3, 2, 1031, Bytes(310, 4)});
  o.resources.push_back({14, 1, 1031, SizedGroup({{16, 32, 1}, {48, 32, 2}})});
  o.resources.push_back({14, 2, 1033, SizedGroup({})});
  BuiltPe pe = BuildPe(o);
  Taken german = Extract(pe.bytes, "1", 1031);
  ASSERT_EQ(german.result, 0) << german.failure;
  ASSERT_EQ(german.icon.ico.size(), 6u + 2 * 16 + 100 + 310);
  EXPECT_EQ(Get32(german.icon.ico, 6 + 8), 100u);        // icon 1 exists in 1033 only
  EXPECT_EQ(Get32(german.icon.ico, 6 + 16 + 8), 310u);   // icon 2 in the group's own 1031

  Taken empty = Extract(pe.bytes, "2");
  EXPECT_EQ(empty.result, kGroupDamaged);
  EXPECT_NE(empty.failure.find("The icon group #2 of "), std::string::npos) << empty.failure;
  EXPECT_NE(empty.failure.find(" lists no images."), std::string::npos) << empty.failure;
}

TEST(ExtractEdges, AProgramThatCannotBeOpenedIsFailure1000) {
  TempDir dir;
  GroupSelection selection;
  ExtractedIcon icon;
  std::string failure;
  EXPECT_EQ(ExtractIconGroup(dir / "missing.exe", selection, icon, failure), kOpenFailed);
  EXPECT_EQ(failure, MissingFileText(PathText(dir / "missing.exe")));
}

TEST(ExtractEdges, AnIconFileOfNoImagesIsItsHeaderAlone) {
  EXPECT_EQ(IconFileBytes({}), (Bytes{0, 0, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace vantorel::engine::test

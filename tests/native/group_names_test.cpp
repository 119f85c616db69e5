// Which group --group finds: a number only a numbered group, a name only a
// named one, compared as the loader compares names (every UTF-16 unit upper
// cased, not only ASCII); names shown so that none reads as a number; and
// only the entries that lie in a group's data listed.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

// Groups numbered 7 and 8 and one named `name`, which the directory lists
// first, as named entries always come before numbered ones.
Bytes GroupsWithName(const std::u16string& name) {
  PeOptions o;
  o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
  o.resources.push_back({3, 2, 1033, Bytes(100, 2)});
  o.resources.push_back({3, 3, 1033, Bytes(100, 3)});
  for (uint16_t id : {1, 7, 8}) {
    o.resources.push_back({14, id, 1033, SizedGroup({{static_cast<uint8_t>(id * 4), 32, id == 1 ? uint16_t{1} : uint16_t{2}}})});
  }
  o.free_after_data = 128;
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  // The group numbered 1 becomes the named one.
  uint32_t names = pe.root + (Get32(b, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  NameEntry(b, pe, names, names + 16, pe.data_end + 8, name);
  Put16(b, names + 14, 2);
  return b;
}

struct Found {
  int32_t result = -1;
  std::string group;
  int width = 0;  // of the group's one entry: 4 for the named group, 28 for #7
};

Found Extract(const Bytes& target, const std::string& group) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", target);
  GroupSelection selection;
  selection.group = group;
  ExtractedIcon icon;
  std::string failure;
  Found f;
  f.result = ExtractIconGroup(dir / "app.exe", selection, icon, failure);
  f.group = icon.group;
  if (f.result == kSuccess) f.width = icon.ico[6];
  return f;
}

TEST(GroupNames, NumbersFindNumberedGroupsAndNamesNamedOnes) {
  struct Case {
    std::u16string name;
    const char* asked;
    const char* found;  // nullptr: none
    int width;
  } cases[] = {
      // A group named "#7" is not group 7, whichever comes first.
      {u"#7", "7", "#7", 28},
      {u"#7", "#7", "#7", 28},
      {u"#7", "\"#7\"", "\"#7\"", 4},
      {u"7", "7", "#7", 28},
      {u"7", "\"7\"", "\"7\"", 4},
      {u"#8", "8", "#8", 32},
      // Names are compared without regard to case in every script.
      {u"\u00C4PFEL", "\u00E4pfel", "\"\u00C4PFEL\"", 4},
      {u"\u00C4PFEL", "\"\u00E4PFEL\"", "\"\u00C4PFEL\"", 4},
      {u"\u00E4pfel", "\u00C4PFEL", "\"\u00E4pfel\"", 4},
      {u"\u03A9MEGA", "\u03C9mega", "\"\u03A9MEGA\"", 4},
      {u"\u042F\u0411\u041B\u041E\u041A\u041E", "\u044F\u0431\u043B\u043E\u043A\u043E",
       "\"\u042F\u0411\u041B\u041E\u041A\u041E\"", 4},
      {u"APP", "app", "\"APP\"", 4},
      {u"\u0102PP", "\u0103pp", "\"\u0102PP\"", 4},  // Latin Extended-A: pairs, upper case first
      // Sharp s has no one-unit upper case: it only matches itself.
      {u"STRASSE", "stra\u00DFe", nullptr, 0},
      {u"STRA\u00DFE", "stra\u00DFe", "\"STRA\u00DFE\"", 4},
      {u"APP", "APPS", nullptr, 0},
      {u"APP", "1", nullptr, 0},
  };
  for (const Case& c : cases) {
    Found f = Extract(GroupsWithName(c.name), c.asked);
    if (!c.found) {
      EXPECT_EQ(f.result, kNoSuchGroup) << c.asked;
      continue;
    }
    ASSERT_EQ(f.result, kSuccess) << c.asked;
    EXPECT_EQ(f.group, c.found) << c.asked;
    EXPECT_EQ(f.width, c.width) << c.asked;
  }
}

// --list shows a named group in quotes, so "#7" and group 7 read apart.
TEST(GroupNames, TheListingQuotesNames) {
  TempDir dir;
  WriteFileBytes(dir / "app.exe", GroupsWithName(u"#7"));
  IconListing listing;
  std::string failure;
  ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), kSuccess) << failure;
  std::vector<std::string> groups;
  for (const IconGroupEntry& g : listing.groups) groups.push_back(g.group);
  EXPECT_EQ(groups, (std::vector<std::string>{"\"#7\"", "#7", "#8"}));
}

// A group whose count says more entries than its data holds: --list shows
// those that lie wholly in the data, however many the count says.
TEST(GroupNames, TheListingStopsAtTheGroupsDataSize) {
  struct Case {
    uint16_t count;
    uint32_t size;
    size_t listed;
  } cases[] = {{2, 6 + 2 * 14, 2}, {3, 6 + 2 * 14, 2}, {2, 6 + 2 * 14 - 1, 1}, {2, 6 + 14 - 1, 0}, {9, 6, 0}};
  for (const Case& c : cases) {
    PeOptions o;
    o.resources.push_back({3, 1, 1033, Bytes(100, 1)});
    o.resources.push_back({3, 2, 1033, Bytes(100, 2)});
    o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 2}})});
    BuiltPe pe = BuildPe(o);
    Bytes b = pe.bytes;
    Put16(b, pe.data_offset[2] + 4, c.count);
    Put32(b, pe.data_entry[2] + 4, c.size);
    TempDir dir;
    WriteFileBytes(dir / "app.exe", b);
    IconListing listing;
    std::string failure;
    ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), kSuccess) << failure;
    EXPECT_EQ(listing.groups.size(), c.listed) << c.count << " entries in " << c.size << " bytes";
  }
}

}  // namespace
}  // namespace vantorel::engine::test

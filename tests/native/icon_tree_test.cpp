// The one reading of a program's icons and groups: what damage does to it in
// the modes that write (refused whole) and in --list (what can be read is
// read), and a listing that stays in proportion to the file.
#include <functional>

#include "icons/icon_tree.h"
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

struct Read {
  bool refused = false;
  size_t icons = 0, groups = 0, entries = 0;
};

Read ReadTree(const Bytes& bytes, Damage damage) {
  MemoryFile file(bytes);
  ResourceSection section = Find_Resource_Tree(file, {});
  Reader r = ResourceSectionReader(file, section);
  Read read;
  try {
    IconTree tree = ReadIconTree(r, section, {}, damage);
    read.icons = tree.icons.size();
    read.groups = tree.groups.size();
    for (const GroupResource& g : tree.groups) read.entries += g.entries.size();
  } catch (const EngineError& e) {
    EXPECT_EQ(e.number(), 9);
    read.refused = true;
  }
  return read;
}

// Two images (1 and 2) and group 1 naming both.
TEST(IconTree, DamageIsRefusedWhenWritingAndSkippedWhenListing) {
  struct Case {
    const char* what;
    std::function<void(BuiltPe&)> damage;
    bool refused;
    Read skipped;  // what --list still reads
  } cases[] = {
      {"a sound tree", [](BuiltPe&) {}, false, {false, 2, 1, 2}},
      {"a group whose idCount runs past its data", [](BuiltPe& pe) { Put16(pe.bytes, pe.data_offset[2] + 4, 50); },
       true, {false, 2, 1, 2}},
      {"a group whose data lies past the section",
       [](BuiltPe& pe) { Put32(pe.bytes, pe.data_entry[2], pe.rsrc_va + pe.rsrc_raw_size + 64); }, true,
       {false, 2, 0, 0}},
      {"an icon language entry naming a data entry past the section",
       [](BuiltPe& pe) { Put32(pe.bytes, pe.language_entry[0] + 4, pe.rsrc_raw_size + 64); }, true,
       {false, 1, 1, 2}},
      {"a group whose icons are missing, its type the only one",
       [](BuiltPe& pe) {
         Put16(pe.bytes, pe.root + 14, 1);  // one type, the groups' (moved over the icons')
         Put32(pe.bytes, pe.type_dir_entries, 14);
         Put32(pe.bytes, pe.type_dir_entries + 4, Get32(pe.bytes, pe.type_dir_entries + 12));
       },
       false, {false, 0, 1, 2}},
      // The group type stored first, its entry naming icon 2's data entry:
      // that entry is still an icon's, in every mode.
      {"a group naming an icon's data entry, stored first",
       [](BuiltPe& pe) {
         uint32_t first = pe.type_dir_entries, second = first + 8;
         for (uint32_t at : {0u, 4u}) {
           uint32_t kept = Get32(pe.bytes, first + at);
           Put32(pe.bytes, first + at, Get32(pe.bytes, second + at));
           Put32(pe.bytes, second + at, kept);
         }
         Put32(pe.bytes, pe.language_entry[2] + 4, pe.data_entry[1] - pe.root);
       },
       false, {false, 2, 0, 0}},
  };
  for (const Case& c : cases) {
    BuiltPe pe = BuildPe(IconProgram({300, 500}));
    c.damage(pe);
    Read refused = ReadTree(pe.bytes, Damage::Refuse);
    EXPECT_EQ(refused.refused, c.refused) << c.what;
    Read skipped = ReadTree(pe.bytes, Damage::Skip);
    EXPECT_FALSE(skipped.refused) << c.what;
    EXPECT_EQ(skipped.icons, c.skipped.icons) << c.what;
    EXPECT_EQ(skipped.groups, c.skipped.groups) << c.what;
    EXPECT_EQ(skipped.entries, c.skipped.entries) << c.what;
    if (!c.refused) {
      EXPECT_EQ(refused.icons, c.skipped.icons) << c.what;
      EXPECT_EQ(refused.groups, c.skipped.groups) << c.what;
    }
  }
}

// Languages that share one group's data are each listed with its entries;
// a crafted tree of many languages sharing a large group lists no more rows
// than the section has bytes, the first language's all of them.
TEST(IconTree, SharedGroupsAreListedPerLanguageInProportionToTheFile) {
  struct Case {
    const char* what;
    uint32_t languages;
    uint16_t entries;
  } cases[] = {{"two languages share three entries", 2, 3}, {"200 languages share 1,000 entries", 200, 1000}};
  for (const Case& c : cases) {
    std::vector<uint16_t> ids(c.entries, 1);
    PeOptions o;
    o.resources = {{3, 1, 1033, Bytes(40, 1)}, {14, 1, 1000, GroupIcon(ids)}};
    for (uint32_t l = 1; l < c.languages; ++l) o.resources.push_back({14, 1, 1000 + l, GroupIcon({})});
    BuiltPe pe = BuildPe(o);
    for (uint32_t l = 1; l < c.languages; ++l) {
      Put32(pe.bytes, pe.data_entry[1 + l], Get32(pe.bytes, pe.data_entry[1]));
      Put32(pe.bytes, pe.data_entry[1 + l] + 4, Get32(pe.bytes, pe.data_entry[1] + 4));
    }
    TempDir dir;
    WriteFileBytes(dir / "app.exe", pe.bytes);
    IconListing listing;
    std::string failure;
    ASSERT_EQ(ListIcons(dir / "app.exe", listing, failure), 0) << c.what << ": " << failure;
    const size_t shared = size_t{c.languages} * c.entries;
    if (shared <= pe.rsrc_raw_size) {
      ASSERT_EQ(listing.groups.size(), shared) << c.what;
      EXPECT_EQ(listing.groups.back().language, 1000 + c.languages - 1) << c.what;
    } else {
      EXPECT_LE(listing.groups.size(), pe.rsrc_raw_size + 1) << c.what;
    }
    ASSERT_GE(listing.groups.size(), c.entries) << c.what;
    for (size_t row = 0; row < c.entries; ++row) EXPECT_EQ(listing.groups[row].language, 1000u) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::engine::test

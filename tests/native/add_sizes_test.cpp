// --add-sizes: every image of the icon file in every icon group, whatever
// the program held, and not one byte that was in the file moved or changed
// but the header fields that name the new section. The result is read back
// here by a small resource reader of the test's own, not the engine's.
#include <functional>
#include <map>
#include <tuple>

#include "add_sizes_support.h"

namespace vantorel::engine::test {
namespace {

// A data entry's fields.
struct Leaf {
  uint32_t rva, size, code_page;
  bool operator==(const Leaf&) const = default;
};

// (type, name, language) -> its data entry; a name is keyed by its high bit
// and a hash of its UTF-16 units.
using Leaves = std::map<std::tuple<uint32_t, uint32_t, uint32_t>, Leaf>;

// Read as the loader reads a tree, no high bit masked off before it is
// checked: each directory's named entries come first, flagged, as many as it
// counts, then its numbers in ascending order (the loader's search needs
// both); every entry but a language's leads to a directory, flagged.
Leaves ReadLeaves(const Program& p) {
  Leaves leaves;
  uint32_t root = p.Offset(Get32(p.b, p.Directory(2)));
  auto entries = [&](uint32_t dir, bool directories) {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    uint32_t named = Get16(p.b, dir + 12), count = named + Get16(p.b, dir + 14);
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t name = Get32(p.b, dir + 16 + 8 * i), offset = Get32(p.b, dir + 20 + 8 * i);
      EXPECT_EQ(name >> 31, i < named) << "entry " << i << " of the directory at " << dir << ": named first";
      EXPECT_TRUE(i <= named || name > Get32(p.b, dir + 8 + 8 * i)) << "entry " << i << " of the directory at " << dir;
      EXPECT_EQ(offset >> 31, directories) << "entry " << i << " of the directory at " << dir;
      if (name >> 31) {
        std::u16string units;
        uint32_t at = root + (name & 0x7FFFFFFF);
        for (uint32_t u = 0; u < Get16(p.b, at); ++u) units += static_cast<char16_t>(Get16(p.b, at + 2 + 2 * u));
        name = 0x80000000u | static_cast<uint32_t>(std::hash<std::u16string>{}(units));
      }
      out.emplace_back(name, offset & 0x7FFFFFFF);
    }
    return out;
  };
  for (auto [type, names] : entries(root, true)) {
    for (auto [name, languages] : entries(root + names, true)) {
      for (auto [language, data] : entries(root + languages, false)) {
        leaves[{type, name, language}] = {Get32(p.b, root + data), Get32(p.b, root + data + 4),
                                          Get32(p.b, root + data + 8)};
      }
    }
  }
  return leaves;
}

// Every group of the result holds, for every image of the icon file, an
// entry describing it whose icon (the group's language first, as the loader
// looks) holds exactly its bytes.
void ExpectEveryGroupShowsEveryImage(const Bytes& after, const Bytes& icon_file, const std::string& what) {
  Program p(after);
  Leaves leaves = ReadLeaves(p);
  std::vector<IconImage> images = Images(icon_file);
  int groups = 0;
  for (const auto& [key, data] : leaves) {
    auto [type, name, language] = key;
    if (type != 14) continue;
    ++groups;
    Bytes group = p.Data(data.rva, data.size);
    for (const IconImage& image : images) {
      bool shown = false;
      for (uint32_t e = 0; e < Get16(group, 4); ++e) {
        size_t at = 6 + 14 * e;
        if (!std::equal(image.entry_bytes.begin(), image.entry_bytes.begin() + 12, group.begin() + at)) continue;
        uint16_t id = Get16(group, at + 12);
        auto icon = leaves.find({3, id, language});
        if (icon == leaves.end()) icon = leaves.lower_bound({3, id, 0});
        if (icon == leaves.end() || std::get<1>(icon->first) != id) continue;
        shown = shown || p.Data(icon->second.rva, icon->second.size) == image.bytes;
      }
      EXPECT_TRUE(shown) << what << ": group " << name << " (" << language << ") lacks the image of " << +image.entry.bWidth;
    }
  }
  EXPECT_GT(groups, 0) << what;
}

// What the new section holds is laid out as resource compilers lay it out:
// each data entry's data on a 4-byte boundary (images on 8) with code page 0;
// a group made new is #1, language neutral, its header saying "icon".
void ExpectCompilerLayout(const Bytes& before, const Bytes& after, bool group_made, const std::string& what) {
  Program p(after);
  const Section& added = p.sections.back();
  for (const auto& [key, leaf] : ReadLeaves(p)) {
    if (leaf.rva < added.va) continue;
    EXPECT_EQ(leaf.rva % (std::get<0>(key) == 3 ? 8 : 4), 0u) << what << ": type " << std::get<0>(key);
    EXPECT_EQ(leaf.code_page, 0u) << what;
  }
  Leaves leaves = ReadLeaves(p);
  auto made = leaves.find({14, 1, 0});
  EXPECT_EQ(made != leaves.end(), group_made) << what;
  if (made == leaves.end() || !group_made) return;
  for (const auto& [key, leaf] : leaves) {
    EXPECT_TRUE(std::get<0>(key) != 3 || std::get<2>(key) == 0) << what << ": icon " << std::get<1>(key)
                                                                 << " of the made group in language "
                                                                 << std::get<2>(key);
  }
  Bytes group = p.Data(made->second.rva, made->second.size);
  EXPECT_EQ(Get16(group, 0), 0u) << what;
  EXPECT_EQ(Get16(group, 2), 1u) << what << ": idType";
  EXPECT_EQ(6u + 14u * Get16(group, 4), made->second.size) << what;
  EXPECT_LT(before.size(), after.size()) << what;
}

// Every byte that was in the file keeps its place and value, but the header
// fields the new section needs.
void ExpectNothingMoved(const Bytes& before, const Bytes& after, const std::string& what) {
  ASSERT_GE(after.size(), before.size()) << what;
  Program p(before);
  uint32_t fh = Get32(before, 60) + 4;
  std::vector<std::pair<uint32_t, uint32_t>> fields = {
      {fh + 2, 2}, {p.optional + 56, 4}, {p.optional + 64, 4}, {p.Directory(2), 8},
      {p.table + 40 * static_cast<uint32_t>(p.sections.size()), 40}};
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    bool allowed = std::any_of(fields.begin(), fields.end(), [&](auto f) { return i >= f.first && i < f.first + f.second; });
    EXPECT_TRUE(allowed) << what << ": byte " << i << " changed";
    if (!allowed) return;
  }
}


TEST(AddSizes, EveryGroupShowsEveryImageAndNothingMoves) {
  auto sized_group = [](uint32_t name, uint32_t language, std::vector<Described> entries) {
    return Resource{14, name, language, SizedGroup(entries)};
  };
  auto program = [](bool pe32plus, std::vector<Resource> resources, bool resource_section = true) {
    PeOptions o;
    o.pe32plus = pe32plus;
    o.resources = std::move(resources);
    o.resource_section = resource_section;
    return o;
  };
  auto room_for_names = [](PeOptions o) {
    o.free_after_data = 80;
    return o;
  };
  struct Case {
    const char* what;
    PeOptions options;
    std::function<void(BuiltPe&)> tweak;
    size_t added;  // group entries the run adds
  } cases[] = {
      {"one group of 16 and 32", program(false, {{3, 1, 1033, Bytes(300, 1)}, {3, 2, 1033, Bytes(500, 2)},
                                                  sized_group(1, 1033, {{16, 32, 1}, {32, 32, 2}})}), {}, 2},
      {"the same, 64-bit", program(true, {{3, 1, 1033, Bytes(300, 1)}, {3, 2, 1033, Bytes(500, 2)},
                                          sized_group(1, 1033, {{16, 32, 1}, {32, 32, 2}})}), {}, 2},
      {"groups in two languages", program(false, {{3, 1, 1033, Bytes(300, 1)}, {3, 1, 1031, Bytes(300, 3)},
                                                   sized_group(1, 1033, {{16, 32, 1}}), sized_group(1, 1031, {{16, 32, 1}}),
                                                   sized_group(2, 1033, {{48, 32, 1}})}), {}, 9},
      // New icons are numbered past every icon a group names: else the entry
      // naming the missing #5 would come to name a new icon of another size.
      {"a group naming icons that are not there", program(false, {{3, 1, 1033, Bytes(300, 1)}, {3, 2, 1033, Bytes(500, 2)},
                                                               sized_group(1, 1033, {{16, 32, 1}, {32, 32, 5}, {48, 32, 6}})}),
       {}, 3},
      // Names come before numbers in a directory, as resource compilers put them.
      {"icons #1 and #65533: new icons #65534 and #65535", IconProgram({300, 500}),
       [](BuiltPe& pe) {
         Put32(pe.bytes, pe.root + (Get32(pe.bytes, pe.type_dir_entries + 4) & 0x7FFFFFFF) + 24, 65533);
         Put16(pe.bytes, pe.data_offset[2] + 6 + 14 + 12, 65533);
       },
       2},
      {"a named type, icon and group",
       room_for_names(program(false, {{2, 1, 1033, Bytes(64, 0xEE)}, {3, 1, 1033, Bytes(300, 1)},
                                      {3, 2, 1033, Bytes(500, 2)}, sized_group(1, 1033, {{16, 32, 2}}),
                                      sized_group(2, 1033, {{32, 32, 2}})})),
       [](BuiltPe& pe) {
         const uint32_t types = pe.type_dir_entries;
         const uint32_t dirs[] = {pe.root, pe.root + (Get32(pe.bytes, types + 12) & 0x7FFFFFFF),
                                  pe.root + (Get32(pe.bytes, types + 20) & 0x7FFFFFFF)};
         const std::u16string names[] = {u"MYDATA", u"PIC", u"MAINICON"};
         for (uint32_t i = 0; i < 3; ++i) {
           uint16_t numbered = Get16(pe.bytes, dirs[i] + 14);
           NameEntry(pe.bytes, pe, dirs[i], dirs[i] + 16, pe.data_end + 24 * i, names[i]);
           Put16(pe.bytes, dirs[i] + 14, static_cast<uint16_t>(numbered - 1));
         }
       },
       6},
      {"resources but no icons", program(false, {{10, 1, 1033, Bytes(64, 0xEE)}, {16, 1, 1033, Bytes(40, 0xDD)}}), {}, 4},
      {"no resource section", program(false, {}, false), {}, 4},
      {"a COFF symbol table after the sections", program(false, {{3, 1, 1033, Bytes(300, 1)},
                                                                  sized_group(1, 1033, {{16, 32, 1}})}),
       [](BuiltPe& pe) { AddSymbolTable(pe, 3, 9); }, 3},
      {"a symbol table whose string table is empty", IconProgram({300}),
       [](BuiltPe& pe) { AddSymbolTable(pe, 2, 4); }, 3},
      {"the last section 12 KiB larger in memory", IconProgram({300}),
       [](BuiltPe& pe) { Put32(pe.bytes, pe.rsrc_header + 8, pe.rsrc_raw_size + 0x3000); }, 3},
      {"a symbol table longer than the program is in memory", IconProgram({300}),
       [](BuiltPe& pe) { AddSymbolTable(pe, 1000, 4); }, 3},
      {"headers with room for exactly one more section header", IconProgram({300}),
       [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 60, HeadersEnd(pe) + 40); }, 3},
      {"directories naming the bytes on each side of the room for one more section header", IconProgram({300}),
       [](BuiltPe& pe) { NameInDirectory(pe, 11, HeadersEnd(pe) + 40, 8), NameInDirectory(pe, 13, HeadersEnd(pe) - 8, 8); },
       3},
      {"one section short of the most a program may have", IconProgram({300}),
       [](BuiltPe& pe) { pe = WithSections(pe, 65534); }, 3},
      // The loader maps these files as they are: the new section's data must
      // lie at its address, past zeros.
      {"laid out as in memory, the last section 4 KiB larger there", IconProgram({300}),
       [](BuiltPe& pe) { pe = FlatMapped(pe), Put32(pe.bytes, pe.rsrc_header + 8, pe.rsrc_raw_size + 0x1000); }, 3},
      {"laid out as in memory, a symbol table ending the file", IconProgram({300}),
       [](BuiltPe& pe) { pe = FlatMapped(pe), AddSymbolTable(pe, 3, 9); }, 3},
  };
  for (Case& c : cases) {
    BuiltPe pe = BuildPe(c.options);
    if (c.tweak) c.tweak(pe);
    Added r = AddSizes(pe.bytes, FourSizes());
    ASSERT_EQ(r.result, 0) << c.what << ": " << r.failure;
    EXPECT_EQ(r.report.added.size(), c.added) << c.what;
    const Added dry = AddSizes(pe.bytes, FourSizes(), true);
    const std::vector<IconImage> images = Images(FourSizes());
    ASSERT_EQ(dry.report.icons.size(), r.report.icons.size()) << c.what;
    for (size_t i = 0; i < r.report.icons.size(); ++i) {
      const SizeAssignment& a = r.report.icons[i];
      const Bytes& image = images[static_cast<size_t>(a.image - 1)].bytes;
      EXPECT_EQ(a.bytes, image.size()) << c.what;
      EXPECT_EQ(dry.report.icons[i].file_offset, a.file_offset) << c.what << ": the dry run says where";
      ASSERT_LE(a.file_offset + image.size(), r.after.size()) << c.what;
      EXPECT_TRUE(std::equal(image.begin(), image.end(), r.after.begin() + a.file_offset)) << c.what << ": file offset";
    }
    ExpectNothingMoved(pe.bytes, r.after, c.what);
    ExpectEveryGroupShowsEveryImage(r.after, FourSizes(), c.what);
    EXPECT_EQ(AddSizes(r.after, FourSizes()).after, r.after) << c.what << ": a second run changes nothing";
    ExpectCompilerLayout(pe.bytes, r.after, c.added == 4, c.what);
    Program after(r.after);
    ASSERT_EQ(after.sections.size(), Program(pe.bytes).sections.size() + 1) << c.what;
    const Section& added = after.sections.back();
    EXPECT_EQ(added.raw % 0x200, 0u) << c.what;
    EXPECT_GE(added.raw, pe.bytes.size()) << c.what << ": the section starts past everything that was there";
    EXPECT_EQ(r.after.size(), added.raw + added.raw_size) << c.what;
    const uint32_t virtual_size = added.virtual_size;
    uint32_t alignment = Get32(r.after, after.optional + 32);
    EXPECT_EQ(added.va % alignment, 0u) << c.what;
    EXPECT_EQ(Get32(r.after, after.optional + 56), (added.va + virtual_size + alignment - 1) / alignment * alignment)
        << c.what << ": SizeOfImage reaches the new section's end";
    EXPECT_TRUE(alignment >= 0x1000 || added.raw == added.va) << c.what << ": laid out as in memory";
    for (size_t i = 0; i + 1 < after.sections.size(); ++i) {
      EXPECT_LE(after.sections[i].va + after.sections[i].virtual_size, added.va) << c.what << ": past every section";
    }
    // Tools that lay the file out in memory in its own buffer need the image
    // in memory to reach as far as the file.
    EXPECT_GE(int64_t{added.va} + virtual_size, int64_t{added.raw} + added.raw_size) << c.what;
    // Every resource that was there still points at its own bytes.
    if (c.options.resource_section) {
      Leaves old_leaves = ReadLeaves(Program(pe.bytes)), new_leaves = ReadLeaves(after);
      for (const auto& [key, data] : old_leaves) {
        if (std::get<0>(key) == 3 || std::get<0>(key) == 14) continue;
        EXPECT_EQ(new_leaves.at(key), data) << c.what;
      }
    }
  }
}

// A program whose checksum is right keeps it right; a zero checksum stays zero.
TEST(AddSizes, TheChecksumIsKeptRight) {
  for (bool kept : {true, false}) {
    BuiltPe pe = BuildPe(IconProgram({300, 500}));
    uint32_t field = pe.optional_header + 64;
    if (kept) Put32(pe.bytes, field, PeChecksum(pe.bytes.data(), pe.bytes.size(), field));
    Added r = AddSizes(pe.bytes, FourSizes());
    ASSERT_EQ(r.result, 0) << r.failure;
    EXPECT_EQ(r.report.checksum, kept);
    EXPECT_EQ(Get32(r.after, field), kept ? PeChecksum(r.after.data(), r.after.size(), field) : 0u);
  }
}

// Run again with the same icon file, nothing is added and the file keeps its
// length and bytes; with other images, the section added first is used again.
TEST(AddSizes, RunsAgainUseTheSameSection) {
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Added first = AddSizes(pe.bytes, FourSizes());
  ASSERT_EQ(first.result, 0) << first.failure;
  Added again = AddSizes(first.after, FourSizes());
  ASSERT_EQ(again.result, 0) << again.failure;
  EXPECT_TRUE(again.report.added.empty());
  EXPECT_FALSE(again.report.new_section);
  EXPECT_EQ(again.after, first.after);

  Bytes other = IconFile({Sized(24, 32, 2000, 7), Sized(64, 32, 6000, 8)});
  Added third = AddSizes(first.after, other);
  ASSERT_EQ(third.result, 0) << third.failure;
  EXPECT_EQ(Program(third.after).sections.size(), Program(first.after).sections.size());
  ExpectEveryGroupShowsEveryImage(third.after, other, "other images");
  // What was in the program before the first run is still as it was.
  ExpectNothingMoved(pe.bytes, third.after, "after a third run");
}

// A last section named .vtrsrc is used again only when it is provably the
// one a run added; anything else in it would be overwritten, so a new section
// is added after it and every byte that was there stays. Each case starts
// from a program one run changed, and breaks one part of the proof; the
// second run's icon file needs more room than the first's.
TEST(AddSizes, AnEarlierSectionIsUsedAgainOnlyWhenProvablyOurs) {
  PeOptions o = IconProgram({300, 500});
  o.resources.push_back({24, 1, 1033, Bytes(80, 'm')});  // a manifest
  BuiltPe pe = BuildPe(o);
  const Bytes first = AddSizes(pe.bytes, FourSizes()).after;
  const uint32_t header = Program(first).table + 40 * 2;  // the section the first run added
  const Section ours = Program(first).sections.back();
  auto unmark = [&](Bytes& b) { Put32(b, ours.raw + 4, 0), Put32(b, ours.raw + 8, 0); };
  struct Case {
    const char* what;
    std::function<void(Bytes&)> tweak;
    bool reused;
  } cases[] = {
      {"the section a run added", [](Bytes&) {}, true},
      {"one an earlier release added, without the mark", unmark, true},
      {"the same with one byte of something else", [&](Bytes& b) { unmark(b), b[ours.raw + ours.raw_size - 1] = 1; },
       false},
      {"flagged as code", [&](Bytes& b) { Put32(b, header + 36, 0x60000020); }, false},
      {"holding the entry point", [&](Bytes& b) { Put32(b, pe.optional_header + 16, ours.va + 0x10); }, false},
      {"holding the import table", [&](Bytes& b) { Put32(b, pe.optional_header + 96 + 8, ours.va + 0x20); }, false},
      {"last in the file but not in memory", [&](Bytes& b) { Put32(b, pe.section_table + 12, ours.va + 0x10000); },
       false},
      {"followed by a symbol table",
       [&](Bytes& b) { BuiltPe with = pe; with.bytes = b, AddSymbolTable(with, 2, 4), b = with.bytes; }, false},
      {"the program's own resource section named so, and marked, holding a manifest",
       [&](Bytes& b) {
         b = pe.bytes;
         std::copy(kAddedSectionName.begin(), kAddedSectionName.end(), b.begin() + pe.rsrc_header);
         std::copy(kSectionMark.begin(), kSectionMark.end(), b.begin() + pe.rsrc_raw + 4);
       },
       false},
  };
  for (const Case& c : cases) {
    Bytes b = first;
    c.tweak(b);
    Added r = AddSizes(b, IconFile({Sized(24, 32, 2000, 7), Sized(64, 32, 6000, 8)}));
    ASSERT_EQ(r.result, 0) << c.what << ": " << r.failure;
    EXPECT_EQ(Program(r.after).sections.size(), Program(b).sections.size() + (c.reused ? 0 : 1)) << c.what;
    if (!c.reused) ExpectNothingMoved(b, r.after, c.what);
  }
}

// A run killed at its `at`-th change of the file (an append, a write or a
// cut): before it, or half-way through one that spans more than a 512-byte
// sector (what the disk writes whole). Nothing after it happens.
class Killed : public MemoryFile {
 public:
  Killed(Bytes b, int at, bool half) : MemoryFile(std::move(b)), at_(at), half_(half) {}
  bool Append(const void* data, size_t size) override {
    size_t done = Done(size);
    return (!done || MemoryFile::Append(data, done)) && done == size;
  }
  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    size_t done = Done(size);
    return (!done || MemoryFile::WriteAt(offset, data, done)) && done == size;
  }
  bool Truncate(int64_t length) override { return Done(1) && MemoryFile::Truncate(length); }
  bool Flush() override { return !dead(); }
  bool dead() const { return changes_ > at_; }

 private:
  size_t Done(size_t size) {
    int change = changes_++;
    return change < at_ ? size : change == at_ && half_ && size > 512 ? size / 2 : 0;
  }
  int changes_ = 0, at_;
  bool half_;
};

// Killed anywhere, a run leaves the program with its old resources or its
// new ones, SizeOfImage covering every section it counts; the next run ends
// with the resources of a run never killed, in as many sections.
TEST(AddSizes, ARunKilledAnywhereIsCompletedByTheNext) {
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Put32(pe.bytes, pe.optional_header + 64, PeChecksum(pe.bytes.data(), pe.bytes.size(), pe.optional_header + 64));
  Bytes other = IconFile({Sized(24, 32, 2000, 7), Sized(64, 32, 6000, 8)});
  Bytes once = AddSizes(pe.bytes, FourSizes()).after;
  struct Case {
    const char* what;
    Bytes start, icon;
  } cases[] = {{"a new section", pe.bytes, FourSizes()},
               {"the earlier section, grown past its end", once, other},
               {"the earlier section, in its room", AddSizes(once, other).after, FourSizes()}};
  auto resources = [](const Bytes& b) {
    Program p(b);
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, Bytes> out;
    for (const auto& [key, leaf] : ReadLeaves(p)) out[key] = p.Data(leaf.rva, leaf.size);
    return out;
  };
  for (const Case& c : cases) {
    const Bytes clean = AddSizes(c.start, c.icon).after;
    for (int at = 0, half = 0;; half = !half, at += !half) {
      std::string what = std::string(c.what) + ", killed at change " + std::to_string(at) + (half ? " half-way" : "");
      Killed file(c.start, at, half);
      AddSizesReport report;
      std::string failure;
      AddSizesIn(file, Images(c.icon), "app.exe", report, failure);
      if (!file.dead()) break;
      const Bytes& state = file.bytes();
      EXPECT_TRUE(resources(state) == resources(c.start) || resources(state) == resources(clean)) << what;
      Program p(state);
      for (uint32_t i = 0; i < p.sections.size(); ++i) {
        EXPECT_LE(p.sections[i].va + Get32(state, p.table + 40 * i + 8), Get32(state, p.optional + 56)) << what;
      }
      Added next = AddSizes(state, c.icon);
      ASSERT_EQ(next.result, 0) << what << ": " << next.failure;
      EXPECT_EQ(resources(next.after), resources(clean)) << what;
      EXPECT_EQ(Program(next.after).sections.size(), Program(clean).sections.size()) << what;
    }
  }
}

// Runs alternating between two icon files of different sizes: the second
// file's sizes take the entries the first one's added, so after the first run
// nothing is added and the file stops growing, and every run's groups show
// every image of its own icon file.
TEST(AddSizes, AlternatingIconFilesReuseTheEntriesAddedBefore) {
  Bytes small_ones = IconFile({Sized(24, 32, 2000, 7), Sized(64, 32, 6000, 8)});
  Bytes subset = IconFile({Sized(16, 32, 300, 5), Sized(32, 32, 500, 6)});
  Bytes one_large = IconFile({Sized(0, 32, 4000, 9)});
  struct Case {
    const char* what;
    Bytes first, second;
  } cases[] = {
      {"four sizes, then two others", FourSizes(), small_ones},
      {"four sizes, then two of them", FourSizes(), subset},
      {"four sizes, then one", FourSizes(), one_large},
      {"two others, then four sizes", small_ones, FourSizes()},
  };
  for (const Case& c : cases) {
    BuiltPe pe = BuildPe(IconProgram({300, 500}));
    Bytes program = pe.bytes;
    std::vector<size_t> lengths;
    for (int run = 0; run < 6; ++run) {
      const Bytes& icon = run % 2 ? c.second : c.first;
      std::string what = std::string(c.what) + ", run " + std::to_string(run + 1);
      Added r = AddSizes(program, icon);
      ASSERT_EQ(r.result, 0) << what << ": " << r.failure;
      ExpectEveryGroupShowsEveryImage(r.after, icon, what);
      ExpectNothingMoved(pe.bytes, r.after, what);
      // Once each file has run, the group has an entry for each image of
      // either: no later run adds one.
      if (run >= 2) {
        EXPECT_TRUE(r.report.added.empty()) << what << ": " << r.report.added.size() << " added";
      }
      program = r.after;
      lengths.push_back(program.size());
    }
    EXPECT_EQ(lengths[4], lengths[2]) << c.what << ": the file stops growing";
    EXPECT_EQ(lengths[5], lengths[3]) << c.what;
  }
}

// After --add-sizes, the first-image and --all-sizes replacements still find
// room: the resource data directory names the new section's images, as a
// linker's names the images of a resource section.
TEST(AddSizes, TheOtherReplacementsFindTheRoomOfTheAddedImages) {
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Added added = AddSizes(pe.bytes, FourSizes());
  ASSERT_EQ(added.result, 0) << added.failure;
  Program p(added.after);
  EXPECT_EQ(Get32(added.after, p.Directory(2) + 4),
            Get32(added.after, p.table + 40 * static_cast<uint32_t>(p.sections.size() - 1) + 8))
      << "the directory's size is the new section's";

  SizedRun sized = AllSizes(added.after, FourSizes());
  ASSERT_EQ(sized.result, 0) << sized.failure;
  EXPECT_EQ(sized.after.size(), added.after.size());
  ExpectEveryGroupShowsEveryImage(sized.after, FourSizes(), "--all-sizes afterwards");
  ExpectNothingMoved(pe.bytes, sized.after, "--all-sizes afterwards");

  // Larger than the first icon's own room: it needs the room the section frees.
  Replacement first = Replace(added.after, IconFile({Sized(16, 32, 800, 9)}));
  ASSERT_EQ(first.result, 0) << first.failure;
  EXPECT_EQ(first.after.size(), added.after.size());
  ExpectNothingMoved(pe.bytes, first.after, "the first image afterwards");
}

}  // namespace
}  // namespace vantorel::engine::test

// --add-sizes: every image of the icon file in every icon group, whatever
// the program held, and not one byte that was in the file moved or changed
// but the header fields that name the new section. The result is read back
// here by a small resource reader of the test's own, not the engine's.
#include <functional>
#include <map>
#include <tuple>

#include "all_sizes_support.h"

namespace vantorel::engine::test {
namespace {

struct Added {
  int32_t result = -1;
  std::string failure;
  AddSizesReport report;
  Bytes after;
};

Added AddSizes(const Bytes& target, const Bytes& icon_file, bool plan_only = false) {
  Added r;
  MemoryFile file(target);
  r.result = Add_Sizes_In(file, Images(icon_file), "app.exe", r.report, r.failure, {}, plan_only);
  r.after = file.bytes();
  return r;
}

// ---- The test's own reading of a program ------------------------------------

struct Section {
  uint32_t va, raw_size, raw;
  std::string name;
};

struct Program {
  const Bytes& b;
  uint32_t optional = 0, table = 0;
  bool plus = false;
  std::vector<Section> sections;

  explicit Program(const Bytes& bytes) : b(bytes) {
    uint32_t fh = Get32(b, 60) + 4;
    optional = fh + 20;
    plus = Get16(b, optional) == 0x20B;
    table = optional + Get16(b, fh + 16);
    for (uint32_t i = 0; i < Get16(b, fh + 2); ++i) {
      uint32_t s = table + 40 * i;
      sections.push_back({Get32(b, s + 12), Get32(b, s + 16), Get32(b, s + 20),
                          std::string(reinterpret_cast<const char*>(&b[s]), strnlen(reinterpret_cast<const char*>(&b[s]), 8))});
    }
  }
  uint32_t Directory(int index) const { return optional + (plus ? 112 : 96) + 8 * static_cast<uint32_t>(index); }
  uint32_t Offset(uint32_t rva) const {
    for (const Section& s : sections) {
      if (rva >= s.va && rva < s.va + s.raw_size) return s.raw + (rva - s.va);
    }
    ADD_FAILURE() << "RVA " << rva << " in no section";
    return 0;
  }
  Bytes Data(uint32_t rva, uint32_t size) const {
    uint32_t at = Offset(rva);
    return Bytes(b.begin() + at, b.begin() + at + size);
  }
};

// A data entry's fields.
struct Leaf {
  uint32_t rva, size, code_page;
  bool operator==(const Leaf&) const = default;
};

// (type, name, language) -> its data entry, numbered entries only.
using Leaves = std::map<std::tuple<uint32_t, uint32_t, uint32_t>, Leaf>;

Leaves Read_Leaves(const Program& p) {
  Leaves leaves;
  uint32_t root = p.Offset(Get32(p.b, p.Directory(2)));
  auto entries = [&](uint32_t dir) {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    uint32_t count = Get16(p.b, dir + 12) + Get16(p.b, dir + 14);
    for (uint32_t i = 0; i < count; ++i) out.emplace_back(Get32(p.b, dir + 16 + 8 * i), Get32(p.b, dir + 20 + 8 * i));
    return out;
  };
  for (auto [type, names] : entries(root)) {
    for (auto [name, languages] : entries(root + (names & 0x7FFFFFFF))) {
      for (auto [language, data] : entries(root + (languages & 0x7FFFFFFF))) {
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
void Expect_Every_Group_Shows_Every_Image(const Bytes& after, const Bytes& icon_file, const std::string& what) {
  Program p(after);
  Leaves leaves = Read_Leaves(p);
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
void Expect_Compiler_Layout(const Bytes& before, const Bytes& after, bool group_made, const std::string& what) {
  Program p(after);
  const Section& added = p.sections.back();
  for (const auto& [key, leaf] : Read_Leaves(p)) {
    if (leaf.rva < added.va) continue;
    EXPECT_EQ(leaf.rva % (std::get<0>(key) == 3 ? 8 : 4), 0u) << what << ": type " << std::get<0>(key);
    EXPECT_EQ(leaf.code_page, 0u) << what;
  }
  Leaves leaves = Read_Leaves(p);
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
void Expect_Nothing_Moved(const Bytes& before, const Bytes& after, const std::string& what) {
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

// Where the section table ends.
uint32_t Headers_End(const BuiltPe& pe) {
  return pe.section_table + 40 * static_cast<uint32_t>(Program(pe.bytes).sections.size());
}

Bytes Four_Sizes() { return IconFile({Sized(16, 32, 300, 1), Sized(32, 32, 500, 2), Sized(48, 32, 700, 3), Sized(0, 32, 900, 4)}); }

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
      {"resources but no icons", program(false, {{10, 1, 1033, Bytes(64, 0xEE)}, {16, 1, 1033, Bytes(40, 0xDD)}}), {}, 4},
      {"no resource section", program(false, {}, false), {}, 4},
      {"a COFF symbol table after the sections", program(false, {{3, 1, 1033, Bytes(300, 1)},
                                                                  sized_group(1, 1033, {{16, 32, 1}})}),
       [](BuiltPe& pe) { AddSymbolTable(pe, 3, 9); }, 3},
      {"a symbol table whose string table is empty", IconProgram({300}),
       [](BuiltPe& pe) { AddSymbolTable(pe, 2, 4); }, 3},
      {"headers with room for exactly one more section header", IconProgram({300}),
       [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 60, Headers_End(pe) + 40); }, 3},
  };
  for (Case& c : cases) {
    BuiltPe pe = BuildPe(c.options);
    if (c.tweak) c.tweak(pe);
    Added r = AddSizes(pe.bytes, Four_Sizes());
    ASSERT_EQ(r.result, 0) << c.what << ": " << r.failure;
    EXPECT_EQ(r.report.added.size(), c.added) << c.what;
    for (const SizeAssignment& a : r.report.icons) {
      EXPECT_EQ(a.bytes, Images(Four_Sizes())[static_cast<size_t>(a.image - 1)].bytes.size()) << c.what;
    }
    Expect_Nothing_Moved(pe.bytes, r.after, c.what);
    Expect_Every_Group_Shows_Every_Image(r.after, Four_Sizes(), c.what);
    Expect_Compiler_Layout(pe.bytes, r.after, c.added == 4, c.what);
    Program after(r.after);
    ASSERT_EQ(after.sections.size(), Program(pe.bytes).sections.size() + 1) << c.what;
    const Section& added = after.sections.back();
    EXPECT_EQ(added.raw % 0x200, 0u) << c.what;
    EXPECT_GE(added.raw, pe.bytes.size()) << c.what << ": the section starts past everything that was there";
    EXPECT_EQ(r.after.size(), added.raw + added.raw_size) << c.what;
    uint32_t virtual_size = Get32(r.after, after.table + 40 * static_cast<uint32_t>(after.sections.size() - 1) + 8);
    EXPECT_EQ(added.va % 0x1000, 0u) << c.what;
    EXPECT_EQ(Get32(r.after, after.optional + 56), (added.va + virtual_size + 0xFFF) / 0x1000 * 0x1000)
        << c.what << ": SizeOfImage reaches the new section's end";
    // Every resource that was there still points at its own bytes.
    if (c.options.resource_section) {
      Leaves old_leaves = Read_Leaves(Program(pe.bytes)), new_leaves = Read_Leaves(after);
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
    if (kept) Put32(pe.bytes, field, PE_Checksum(pe.bytes.data(), pe.bytes.size(), field));
    Added r = AddSizes(pe.bytes, Four_Sizes());
    ASSERT_EQ(r.result, 0) << r.failure;
    EXPECT_EQ(r.report.checksum, kept);
    EXPECT_EQ(Get32(r.after, field), kept ? PE_Checksum(r.after.data(), r.after.size(), field) : 0u);
  }
}

// Run again with the same icon file, nothing is added and the file keeps its
// length and bytes; with other images, the section added first is used again.
TEST(AddSizes, RunsAgainUseTheSameSection) {
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Added first = AddSizes(pe.bytes, Four_Sizes());
  ASSERT_EQ(first.result, 0) << first.failure;
  Added again = AddSizes(first.after, Four_Sizes());
  ASSERT_EQ(again.result, 0) << again.failure;
  EXPECT_TRUE(again.report.added.empty());
  EXPECT_FALSE(again.report.new_section);
  EXPECT_EQ(again.after, first.after);

  Bytes other = IconFile({Sized(24, 32, 2000, 7), Sized(64, 32, 6000, 8)});
  Added third = AddSizes(first.after, other);
  ASSERT_EQ(third.result, 0) << third.failure;
  EXPECT_EQ(Program(third.after).sections.size(), Program(first.after).sections.size());
  Expect_Every_Group_Shows_Every_Image(third.after, other, "other images");
  // What was in the program before the first run is still as it was.
  Expect_Nothing_Moved(pe.bytes, third.after, "after a third run");
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
      {"four sizes, then two others", Four_Sizes(), small_ones},
      {"four sizes, then two of them", Four_Sizes(), subset},
      {"four sizes, then one", Four_Sizes(), one_large},
      {"two others, then four sizes", small_ones, Four_Sizes()},
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
      Expect_Every_Group_Shows_Every_Image(r.after, icon, what);
      Expect_Nothing_Moved(pe.bytes, r.after, what);
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
  Added added = AddSizes(pe.bytes, Four_Sizes());
  ASSERT_EQ(added.result, 0) << added.failure;
  Program p(added.after);
  EXPECT_EQ(Get32(added.after, p.Directory(2) + 4),
            Get32(added.after, p.table + 40 * static_cast<uint32_t>(p.sections.size() - 1) + 8))
      << "the directory's size is the new section's";

  SizedRun sized = AllSizes(added.after, Four_Sizes());
  ASSERT_EQ(sized.result, 0) << sized.failure;
  EXPECT_EQ(sized.after.size(), added.after.size());
  Expect_Every_Group_Shows_Every_Image(sized.after, Four_Sizes(), "--all-sizes afterwards");
  Expect_Nothing_Moved(pe.bytes, sized.after, "--all-sizes afterwards");

  // Larger than the first icon's own room: it needs the room the section frees.
  Replacement first = Replace(added.after, IconFile({Sized(16, 32, 800, 9)}));
  ASSERT_EQ(first.result, 0) << first.failure;
  EXPECT_EQ(first.after.size(), added.after.size());
  Expect_Nothing_Moved(pe.bytes, first.after, "the first image afterwards");
}

// Refused with its number and a clear sentence; the file keeps every byte.
TEST(AddSizes, ProgramsThatCannotGrowAreRefused) {
  struct Case {
    const char* what;
    std::function<void(BuiltPe&)> make;
    int32_t result;
    const char* says;
  } cases[] = {
      {"appended data", [](BuiltPe& pe) { pe.bytes.insert(pe.bytes.end(), 700, 0x5A); }, kAppendedData,
       "app.exe carries appended data after its last section"},
      {"a symbol table with data after it",
       [](BuiltPe& pe) {
         AddSymbolTable(pe, 2, 4);
         pe.bytes.push_back(1);
       },
       kAppendedData, "carries appended data"},
      {"a signature", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 96 + 8 * 4 + 4, 16); }, kAppendedData,
       "app.exe is signed: its signature must stay at the end of the file"},
      {"no room in the headers", [](BuiltPe& pe) { pe.bytes[pe.section_table + 80 + 39] = 1; }, kNoSectionRoom,
       "has no room in its headers for one more section header"},
      {"headers one byte short of a section header",
       [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 60, Headers_End(pe) + 39); }, kNoSectionRoom,
       "has no room in its headers for one more section header"},
      {"a symbol table whose string table lies past the end",
       [](BuiltPe& pe) {
         AddSymbolTable(pe, 2, 4);
         Put32(pe.bytes, pe.e_lfanew + 4 + 12, 100);  // NumberOfSymbols: far past the file
       },
       kAppendedData, "carries appended data"},
      {"a file alignment of 128 KiB", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 36, 0x20000); },
       kNoSectionRoom, "no usable section or file alignment"},
      {"a file a whole file alignment shorter than its sections",
       [](BuiltPe& pe) { pe.bytes.resize(pe.rsrc_raw + pe.rsrc_raw_size - 0x200); }, kNoSectionRoom,
       "is shorter than its section table says"},
      {"no resource directory entry", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 92, 2); }, kNoSectionRoom,
       "has no resource directory entry"},
      {"a file alignment of 0", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 36, 0); }, kNoSectionRoom,
       "no usable section or file alignment"},
  };
  for (const Case& c : cases) {
    BuiltPe pe = BuildPe(IconProgram({300, 500}));
    c.make(pe);
    Added r = AddSizes(pe.bytes, Four_Sizes());
    EXPECT_EQ(r.result, c.result) << c.what;
    EXPECT_NE(r.failure.find(c.says), std::string::npos) << c.what << ": " << r.failure;
    EXPECT_NE(r.failure.find("The target was not changed."), std::string::npos) << c.what;
    EXPECT_EQ(r.after, pe.bytes) << c.what;
  }
  // Trailing zeros short of one file alignment are padding, not data; a file
  // that lacks less than that of its last section's padding still grows, past
  // that padding.
  BuiltPe padded = BuildPe(IconProgram({300, 500}));
  padded.bytes.insert(padded.bytes.end(), 100, 0);
  EXPECT_EQ(AddSizes(padded.bytes, Four_Sizes()).result, 0);
  BuiltPe cut = BuildPe(IconProgram({300, 500}));
  ASSERT_EQ(cut.bytes.size(), cut.rsrc_raw + cut.rsrc_raw_size);
  cut.bytes.resize(cut.bytes.size() - 100);
  Added grown = AddSizes(cut.bytes, Four_Sizes());
  ASSERT_EQ(grown.result, 0) << grown.failure;
  EXPECT_EQ(Program(grown.after).sections.back().raw, cut.rsrc_raw + cut.rsrc_raw_size);
}

// A file whose append or any later write fails, or whose flush fails: it
// gets back its length and every byte, or says it may be damaged.
TEST(AddSizes, AFailureAnywhereLeavesTheFileAsItWas) {
  class Failing : public MemoryFile {
   public:
    Failing(Bytes b, int fail_at) : MemoryFile(std::move(b)), fail_at_(fail_at) {}
    bool Append(const void* data, size_t size) override {
      return writes_++ != fail_at_ && MemoryFile::Append(data, size);
    }
    bool WriteAt(int64_t offset, const void* data, size_t size) override {
      if (writes_++ == fail_at_) {
        MemoryFile::WriteAt(offset, data, size / 2);  // torn
        return false;
      }
      return MemoryFile::WriteAt(offset, data, size);
    }

   private:
    int writes_ = 0, fail_at_;
  };
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Put32(pe.bytes, pe.optional_header + 64, PE_Checksum(pe.bytes.data(), pe.bytes.size(), pe.optional_header + 64));
  // The append, then the section header, the count, SizeOfImage, the
  // directory and the checksum.
  for (int fail_at = 0; fail_at < 6; ++fail_at) {
    Failing file(pe.bytes, fail_at);
    AddSizesReport report;
    std::string failure;
    EXPECT_EQ(Add_Sizes_In(file, Images(Four_Sizes()), "app.exe", report, failure), kWriteFailed) << fail_at;
    EXPECT_EQ(failure, "Failed to write to app.exe. The target was left unchanged.") << fail_at;
    EXPECT_EQ(file.bytes(), pe.bytes) << "failing write " << fail_at;
  }
}

// What goes wrong after the append: a flush that fails leaves nothing that
// says the file is whole again, so the message never says unchanged; reads
// of the grown file that fail stop the run before a header is written, and
// the append is taken back.
TEST(AddSizes, FailuresAfterTheAppendAreToldAsTheyAre) {
  class Flaky : public MemoryFile {
   public:
    Flaky(Bytes b, bool append_fails, bool flush_fails, bool grown_reads_fail)
        : MemoryFile(std::move(b)), append_fails_(append_fails), flush_fails_(flush_fails),
          grown_reads_fail_(grown_reads_fail), length_(Length()) {}
    bool Append(const void* data, size_t size) override {
      return !append_fails_ && MemoryFile::Append(data, size);
    }
    bool ReadAt(int64_t offset, void* data, size_t size) const override {
      return !(grown_reads_fail_ && Length() > length_) && MemoryFile::ReadAt(offset, data, size);
    }
    bool Flush() override { return !flush_fails_; }

   private:
    bool append_fails_, flush_fails_, grown_reads_fail_;
    int64_t length_;
  };
  struct Case {
    const char* what;
    bool append_fails, flush_fails, grown_reads_fail;
    bool unchanged;  // what the message may say
  } cases[] = {
      {"the append fails, then the flush", true, true, false, false},
      {"every flush fails", false, true, false, false},
      {"the grown file cannot be read", false, false, true, true},
  };
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  for (const Case& c : cases) {
    Flaky file(pe.bytes, c.append_fails, c.flush_fails, c.grown_reads_fail);
    AddSizesReport report;
    std::string failure;
    EXPECT_EQ(Add_Sizes_In(file, Images(Four_Sizes()), "app.exe", report, failure), kWriteFailed) << c.what;
    EXPECT_EQ(failure, c.unchanged ? "Failed to write to app.exe. The target was left unchanged."
                                   : "Failed to write to app.exe. The target may be damaged; restore it from its "
                                     "backup.")
        << c.what;
    EXPECT_EQ(file.bytes(), pe.bytes) << c.what << ": the bytes themselves are put back";
  }
}

}  // namespace
}  // namespace vantorel::engine::test

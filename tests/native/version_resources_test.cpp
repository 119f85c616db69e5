// The version resource: read and written back byte for byte, damaged ones
// refused, and every string table changed by a run while every other byte
// stays; where the new data goes (in place, or the section --add-sizes adds).
#include <fstream>
#include <iterator>

#include "add_sizes_support.h"
#include "modes/resource_edit.h"
#include "test_support.h"
#include "resources/version_info.h"

namespace vantorel::engine::test {
namespace {

constexpr uint32_t kVersionType = 16, kManifestType = 24;

// A block as the format lays it out, built here without the engine: header,
// key, NUL, padding to 32 bits, value, then the children each on a 32-bit
// boundary; wLength without the padding after the last child.
Bytes Block(const std::u16string& key, uint16_t type, const Bytes& value, uint16_t value_length,
            const std::vector<Bytes>& children) {
  Bytes b(6);
  for (char16_t c : key) b.insert(b.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  b.insert(b.end(), {0, 0});
  b.resize((b.size() + 3) / 4 * 4);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& c : children) {
    b.resize((b.size() + 3) / 4 * 4);
    b.insert(b.end(), c.begin(), c.end());
  }
  Put16(b, 0, static_cast<uint16_t>(b.size()));
  Put16(b, 2, value_length);
  Put16(b, 4, type);
  return b;
}

Bytes Text(const std::u16string& key, const std::u16string& value) {
  Bytes v;
  for (char16_t c : value + u'\0') v.insert(v.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  return Block(key, 1, v, static_cast<uint16_t>(value.size() + 1), {});
}

Bytes Fixed(uint32_t file_ms, uint32_t file_ls) {
  Bytes f(52, 0);
  Put32(f, 0, 0xFEEF04BD);
  Put32(f, 8, file_ms);
  Put32(f, 12, file_ls);
  return f;
}

// Two tables, an unknown key, and VarFileInfo with two translations.
Bytes TwoTables() {
  Bytes translation(8);
  Put32(translation, 0, 0x04B00409);
  Put32(translation, 4, 0x04E40407);
  return Block(u"VS_VERSION_INFO", 0, Fixed(0x00010002, 0x00030004), 52,
               {Block(u"StringFileInfo", 1, {}, 0,
                      {Block(u"040904b0", 1, {}, 0,
                             {Text(u"FileVersion", u"1.2.3.4"), Text(u"Unknown", u"kept"), Text(u"E", u"")}),
                       Block(u"040704e4", 1, {}, 0, {Text(u"FileVersion", u"1.2.3"), Text(u"ProductName", u"Zwei")})}),
                Block(u"VarFileInfo", 1, {}, 0, {Block(u"Translation", 0, translation, 8, {})})});
}

// The data of each resource of a .res file, as windres writes it.
std::vector<Bytes> ResData(const std::string& path, uint32_t type) {
  std::ifstream in(path, std::ios::binary);
  Bytes b((std::istreambuf_iterator<char>(in)), {});
  std::vector<Bytes> out;
  for (size_t at = 0; at + 12 <= b.size();) {
    uint32_t data_size = Get32(b, at), header_size = Get32(b, at + 4);
    if (Get16(b, at + 8) == 0xFFFF && Get16(b, at + 10) == type && data_size) {
      out.emplace_back(b.begin() + at + header_size, b.begin() + at + header_size + data_size);
    }
    at = (at + header_size + data_size + 3) / 4 * 4;
  }
  return out;
}

TEST(VersionInfo, WrittenBackByteForByteWhenUnchanged) {
  std::vector<Bytes> cases = {TwoTables()};
  Bytes junk_padding = TwoTables();
  junk_padding[0x2E] = 0xAB;  // the padding after "VS_VERSION_INFO"'s NUL: kept as it was
  cases.push_back(junk_padding);
#ifdef VANTOREL_VERSIONS_RES
  std::vector<Bytes> made = ResData(VANTOREL_VERSIONS_RES, kVersionType);
  ASSERT_EQ(made.size(), 2u);
  cases.insert(cases.end(), made.begin(), made.end());
#endif
  for (const Bytes& bytes : cases) {
    std::string why;
    std::optional<VersionBlock> root = ReadVersionInfo(bytes, why);
    ASSERT_TRUE(root) << why;
    EXPECT_EQ(VersionInfoBytes(*root), bytes);
  }
}

TEST(VersionInfo, DamagedOnesAreRefused) {
  const Bytes good = TwoTables();
  struct Case {
    const char* what;
    size_t at;
    uint16_t value;
    const char* why;
  } cases[] = {
      {"root length past the end", 0, static_cast<uint16_t>(good.size() + 2), "past the block that holds it"},
      {"root length below a header", 0, 4, "past the block that holds it"},
      {"StringFileInfo past the root", 0x5C, 0x7FFF, "past the block that holds it"},
      {"key without its NUL in its block", 0, 0x20, "no end"},
      {"fixed info of another signature", 0x28, 0x1234, "VS_FIXEDFILEINFO"},
      {"root of another name", 0x06, 'W', "VS_VERSION_INFO"},
      {"a binary value past its block", 0x02, 0xFFFF, "value runs past"},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    Put16(bad, c.at, c.value);
    std::string why;
    EXPECT_FALSE(ReadVersionInfo(bad, why)) << c.what;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
  }
  // A child cut to fewer bytes than a header, past the last whole one.
  Bytes cut = good;
  cut.insert(cut.end(), {1, 0, 0, 0});
  Put16(cut, 0, static_cast<uint16_t>(cut.size()));
  std::string why;
  EXPECT_FALSE(ReadVersionInfo(cut, why));
}

// A program with the version resource `version` (language 1033) and an icon.
BuiltPe WithVersion(const Bytes& version, const Bytes& appended = {}) {
  PeOptions o = IconProgram({64});
  o.resources.push_back({kVersionType, 1, 1033, version});
  o.appended = appended;
  return BuildPe(o);
}

struct Edited {
  int32_t result = -1;
  std::string failure;
  ResourceEditReport report;
  Bytes after;
  ProgramResources read;
};

Edited Edit(const Bytes& program, const ResourceEdit& edit) {
  Edited e;
  MemoryFile file(program);
  e.result = EditResourcesIn(file, edit, "app.exe", e.report, e.failure, {}, false);
  e.after = file.bytes();
  std::string why;
  MemoryFile again(e.after);
  EXPECT_EQ(ReadResourcesIn(again, "app.exe", e.read, why, {}), kSuccess) << why;
  return e;
}

std::string StringOf(const ProgramResources& r, const std::string& table, const std::string& key) {
  for (const VersionString& s : r.strings) {
    if (s.table == table && s.key == key) return s.value;
  }
  return "(none)";
}

VersionNumber Number(const std::string& text) {
  VersionNumber n;
  std::string why;
  EXPECT_TRUE(ParseVersionNumber(text, n, why)) << why;
  return n;
}

TEST(VersionEdit, EveryTableGetsTheStringsAndNumbers) {
  struct Case {
    const char* what;
    ResourceEdit edit;
    // table, key, value expected after
    std::vector<std::array<std::string, 3>> expected;
    std::string file_version, product_version;
  };
  ResourceEdit set_existing, add_new, file_version, explicit_string, product;
  set_existing.version_strings = {{"fileversion", "2.0"}};
  add_new.version_strings = {{"CompanyName", "Ünïcode ✓"}};
  file_version.file_version = Number("7.65535.0.1");
  explicit_string.file_version = Number("3.4");
  explicit_string.version_strings = {{"FileVersion", "three four"}};
  product.product_version = Number("5.6.7.8");
  const Case cases[] = {
      {"a key in any case sets the key as stored", set_existing,
       {{"040904b0", "FileVersion", "2.0"}, {"040704e4", "FileVersion", "2.0"}, {"040904b0", "Unknown", "kept"}},
       "1.2.3.4", "0.0.0.0"},
      {"a new key goes into every table", add_new,
       {{"040904b0", "CompanyName", "Ünïcode ✓"}, {"040704e4", "CompanyName", "Ünïcode ✓"}, {"040704e4", "ProductName", "Zwei"}},
       "1.2.3.4", "0.0.0.0"},
      {"the fixed number and its string", file_version,
       {{"040904b0", "FileVersion", "7.65535.0.1"}, {"040704e4", "FileVersion", "7.65535.0.1"}}, "7.65535.0.1", "0.0.0.0"},
      {"a string given explicitly wins", explicit_string,
       {{"040904b0", "FileVersion", "three four"}, {"040704e4", "FileVersion", "three four"}}, "3.4.0.0", "0.0.0.0"},
      {"the product version and a string it adds", product,
       {{"040904b0", "ProductVersion", "5.6.7.8"}, {"040704e4", "ProductName", "Zwei"}}, "1.2.3.4", "5.6.7.8"},
  };
  for (const Case& c : cases) {
    Edited e = Edit(WithVersion(TwoTables()).bytes, c.edit);
    ASSERT_EQ(e.result, kSuccess) << c.what << ": " << e.failure;
    for (const auto& [table, key, value] : c.expected) EXPECT_EQ(StringOf(e.read, table, key), value) << c.what << " " << key;
    EXPECT_EQ(e.read.file_version, c.file_version) << c.what;
    EXPECT_EQ(e.read.product_version, c.product_version) << c.what;
    // VarFileInfo, which no edit names, is the same bytes at the end.
    const Bytes whole = TwoTables(), tail(whole.end() - 0x44, whole.end());
    EXPECT_NE(std::search(e.after.begin(), e.after.end(), tail.begin(), tail.end()), e.after.end()) << c.what;
  }
}

TEST(VersionEdit, WhereTheDataGoes) {
  struct Case {
    const char* what;
    Bytes program;
    ResourceEdit edit;
    int32_t result;
    bool in_place, grows;
  };
  ResourceEdit shorter, longer, new_key;
  shorter.version_strings = {{"FileVersion", "1"}};  // in both tables, shorter in both
  longer.version_strings = {{"Unknown", std::string(300, 'x')}};
  PeOptions without = IconProgram({64});
  PeOptions bare;
  bare.resource_section = false;
  const Bytes payload(512, 0x5A);
  // Its raw data longer than its memory by more than a page: the new
  // section must lie past both.
  PeOptions roomy = IconProgram({64});
  roomy.resources.push_back({kVersionType, 1, 1033, TwoTables()});
  roomy.free_after_data = 0x3000;
  BuiltPe short_in_memory = BuildPe(roomy);
  Put32(short_in_memory.bytes, short_in_memory.rsrc_header + 8, short_in_memory.data_end - short_in_memory.rsrc_raw);
  EXPECT_LT(short_in_memory.data_end - short_in_memory.rsrc_raw + 0x1000, short_in_memory.rsrc_raw_size);
  const Case cases[] = {
      {"a shorter value over the old data", WithVersion(TwoTables()).bytes, shorter, kSuccess, true, false},
      {"a longer one in the section at the end", WithVersion(TwoTables()).bytes, longer, kSuccess, false, true},
      {"a resource section shorter in memory than in the file", short_in_memory.bytes, longer, kSuccess, false, true},
      {"a program without a version resource gets one", BuildPe(without).bytes, shorter, kSuccess, false, true},
      {"a program without resources gets a section", BuildPe(bare).bytes, shorter, kSuccess, false, true},
      {"appended data refuses only what does not fit", WithVersion(TwoTables(), payload).bytes, longer, kAppendedData, false,
       false},
      {"appended data stays where a shorter value fits", WithVersion(TwoTables(), payload).bytes, shorter, kSuccess, true,
       false},
  };
  for (const Case& c : cases) {
    Edited e = Edit(c.program, c.edit);
    ASSERT_EQ(e.result, c.result) << c.what << ": " << e.failure;
    if (c.result != kSuccess) {
      EXPECT_EQ(e.after, c.program) << c.what;
      continue;
    }
    ASSERT_EQ(e.report.placements.size(), 1u) << c.what;
    EXPECT_EQ(e.report.placements[0].in_place, c.in_place) << c.what;
    EXPECT_EQ(e.after.size() > c.program.size(), c.grows) << c.what;
    const auto& [key, value] = c.edit.version_strings[0];
    EXPECT_EQ(StringOf(e.read, e.read.strings.empty() ? "" : e.read.strings[0].table, key), value) << c.what;
    // Nothing moved: a file that grew differs only in its headers; one
    // changed in place only in its resource section (data, entry) and
    // its CheckSum (in the headers too).
    const Program after(e.after);
    const size_t from = c.grows ? after.table + 40 * after.sections.size() : 0;
    for (size_t i = from; i < c.program.size(); ++i) {
      const Section& rsrc = after.sections.back();
      const bool in_rsrc = (i >= rsrc.raw && i < rsrc.raw + rsrc.raw_size) || i < after.table + 40 * after.sections.size();
      EXPECT_TRUE(c.program[i] == e.after[i] || (c.in_place && in_rsrc)) << c.what << " byte " << i;
    }
  }
}

TEST(VersionEdit, ASecondRunUsesTheSectionTheFirstAdded) {
  ResourceEdit longer;
  longer.version_strings = {{"Unknown", std::string(300, 'x')}};
  Edited first = Edit(WithVersion(TwoTables()).bytes, longer);
  ASSERT_EQ(first.result, kSuccess) << first.failure;
  ASSERT_TRUE(first.report.new_section);
  // The icons went with the tree: the first-image replacement finds them.
  {
    MemoryFile file(first.after);
    std::string failure;
    EXPECT_EQ(ReplaceIconIn(file, Images(IconFile({{32, 32, 16, 1, 4, Bytes(64, 9)}})).front(), "new.ico", "app.exe",
                            failure, {}),
              kSuccess)
        << failure;
  }
  for (const char* value : {"short", "a longer value than the last one that was set"}) {
    ResourceEdit again;
    again.version_strings = {{"Unknown", value}};
    const size_t sections = Program(first.after).sections.size();
    Edited second = Edit(first.after, again);
    ASSERT_EQ(second.result, kSuccess) << second.failure;
    EXPECT_EQ(Program(second.after).sections.size(), sections) << value;
    EXPECT_EQ(StringOf(second.read, "040904b0", "Unknown"), value);
    first = second;
  }
  // An icon run after it keeps the version the section holds.
  Added icons = AddSizes(first.after, IconFile({{32, 32, 16, 1, 4, Bytes(744, 7)}}));
  ASSERT_EQ(icons.result, kSuccess) << icons.failure;
  EXPECT_EQ(Program(icons.after).sections.size(), Program(first.after).sections.size());
  ProgramResources read;
  std::string why;
  MemoryFile file(icons.after);
  ASSERT_EQ(ReadResourcesIn(file, "app.exe", read, why, {}), kSuccess) << why;
  EXPECT_EQ(StringOf(read, "040904b0", "Unknown"), "a longer value than the last one that was set");
}

TEST(VersionEdit, ValuesTheFormatCannotHoldAreRefused) {
  struct Case {
    const char* what;
    std::string key, value;
    int32_t result;
  } cases[] = {
      {"not UTF-8", "Key", "\xC3\x28", kVersionValueRefused},
      {"an overlong form", "Key", "\xC0\xAF", kVersionValueRefused},
      {"a NUL in the value", "Key", std::string("a\0b", 3), kVersionValueRefused},
      {"a NUL in the key", std::string("K\0y", 3), "v", kVersionValueRefused},
      {"an empty key", "", "v", kVersionValueRefused},
      {"longer than a table's 16-bit length", "Key", std::string(40000, 'x'), kVersionValueRefused},
  };
  const Bytes program = WithVersion(TwoTables()).bytes;
  for (const Case& c : cases) {
    ResourceEdit edit;
    edit.version_strings = {{c.key, c.value}};
    Edited e = Edit(program, edit);
    EXPECT_EQ(e.result, c.result) << c.what;
    EXPECT_EQ(e.after, program) << c.what;
  }
  Bytes damaged = TwoTables();
  Put16(damaged, 0, 0x7FFF);
  ResourceEdit edit;
  edit.version_strings = {{"Key", "v"}};
  MemoryFile file(WithVersion(damaged).bytes);
  ResourceEditReport report;
  std::string failure;
  EXPECT_EQ(EditResourcesIn(file, edit, "app.exe", report, failure, {}, false), kVersionDamaged);
  EXPECT_EQ(file.bytes(), WithVersion(damaged).bytes);
}

TEST(VersionNumbers, OneToFourPartsEachUpTo65535) {
  const std::pair<const char*, bool> cases[] = {{"1", true},      {"1.2.3.4", true}, {"65535.0.0.65535", true},
                                                {"1.2.3.4.5", false}, {"65536", false},  {"1..2", false},
                                                {"", false},       {"1.2.", false},   {"-1", false},
                                                {"1.a", false}};
  for (const auto& [text, good] : cases) {
    VersionNumber n;
    std::string why;
    EXPECT_EQ(ParseVersionNumber(text, n, why), good) << text;
  }
}

}  // namespace
}  // namespace vantorel::engine::test

// An NSIS installer's own CRC: found where the installer looks for it, and
// after a replacement equal to zlib's CRC-32 of the whole covered stretch of
// the file as it is then, counted here from scratch.
#include <zlib.h>

#include <random>

#include "test_support.h"
#include "modes/icon_modes.h"
#include "pe/nsis_crc.h"

namespace vantorel::engine::test {
namespace {

Bytes Noise(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes b(size);
  for (uint8_t& x : b) x = static_cast<uint8_t>(random() >> 24);
  return b;
}

// What makensis writes after the program: the first header, the compressed
// headers and data, and (unless the check is off) the CRC-32.
struct InstallerShape {
  uint32_t flags = 0;
  bool has_crc = true;
  uint32_t gap = 0;             // bytes between the program's sections and the first header
  uint32_t after_crc = 0;       // bytes tacked on after the CRC (a signature, say)
  int64_t length_change = 0;    // added to length_of_all_following_data
  bool checksum = false;        // keep a header checksum
};

struct Installer {
  BuiltPe pe;
  Bytes bytes;
  int64_t header = 0, crc_at = -1;
};

// The CRC as the installer counts it at start-up: zlib's crc32 over
// [512, crc_at), with none of the engine's code.
uint32_t CountedCrc(const Bytes& b, int64_t crc_at) {
  return static_cast<uint32_t>(crc32(0, b.data() + 512, static_cast<uInt>(crc_at - 512)));
}

Installer MakeInstaller(const InstallerShape& shape) {
  PeOptions o = IconProgram({300, 700});
  o.free_after_data = 2000;
  size_t program = BuildPe(o).bytes.size();
  EXPECT_EQ(program % 512, 0u);
  Bytes payload = Noise(5000, 11);
  uint32_t length = 28 + static_cast<uint32_t>(payload.size()) + (shape.has_crc ? 4 : 0);
  Bytes tail(shape.gap, 0);
  Bytes first(28, 0);
  Put32(first, 0, shape.flags);
  Put32(first, 4, 0xDEADBEEF);
  std::copy_n("NullsoftInst", 12, first.begin() + 8);
  Put32(first, 20, 1234);  // length_of_header
  Put32(first, 24, static_cast<uint32_t>(length + shape.length_change));
  tail.insert(tail.end(), first.begin(), first.end());
  tail.insert(tail.end(), payload.begin(), payload.end());
  if (shape.has_crc) tail.insert(tail.end(), 4, 0);
  Bytes extra = Noise(shape.after_crc, 12);
  tail.insert(tail.end(), extra.begin(), extra.end());
  o.appended = tail;

  Installer in;
  in.pe = BuildPe(o);
  in.bytes = in.pe.bytes;
  in.header = static_cast<int64_t>(program + shape.gap);
  if (shape.has_crc) {
    in.crc_at = in.header + length - 4;
    Put32(in.bytes, static_cast<size_t>(in.crc_at), CountedCrc(in.bytes, in.crc_at));
  }
  if (shape.checksum) {
    int64_t field = in.pe.optional_header + 64;
    Put32(in.bytes, field, PeChecksum(in.bytes.data(), in.bytes.size(), field));
  }
  return in;
}

// Where the installer finds its header and whether it keeps a CRC, by the
// flags and the shape of what follows the program.
TEST(NsisCrc, FoundWhereTheInstallerLooks) {
  struct Case {
    const char* what;
    InstallerShape shape;
    bool found, crc;
  } cases[] = {
      {"CRC on", {}, true, true},
      {"CRC forced", {.flags = 8}, true, true},
      {"forced beats off", {.flags = 8 | 4}, true, true},
      {"silent uninstaller", {.flags = 1 | 2}, true, true},
      {"CRC off: none stored", {.flags = 4, .has_crc = false}, true, false},
      {"an unknown flag: not a header", {.flags = 16}, false, false},
      {"not at the first boundary", {.gap = 512}, false, false},
      {"off the boundary", {.gap = 1}, false, false},
      {"a signature after the CRC", {.after_crc = 3000}, true, true},
      {"length past the end", {.length_change = 1}, false, false},
      {"length one short: CRC read one byte early", {.length_change = -1}, true, true},
      {"length too short to hold a CRC", {.length_change = -5004}, true, false},
  };
  for (const Case& c : cases) {
    Installer in = MakeInstaller(c.shape);
    NsisHeader h = FindNsisHeader(MemoryFile(in.bytes));
    EXPECT_EQ(h.offset >= 0, c.found) << c.what;
    EXPECT_EQ(h.crc_offset >= 0, c.crc) << c.what;
    if (!c.found) continue;
    EXPECT_EQ(h.offset, in.header) << c.what;
    EXPECT_EQ(h.flags, c.shape.flags) << c.what;
    if (c.crc && c.shape.length_change == 0) {
      EXPECT_EQ(h.crc_offset, in.crc_at) << c.what;
    }
  }
  // A plain program, one cut inside its section table, and one too short
  // for a first header.
  EXPECT_EQ(FindNsisHeader(MemoryFile(BuildPe(IconProgram({300})).bytes)).offset, -1);
  Bytes cut = BuildPe(IconProgram({300})).bytes;
  cut.resize(0x150);
  EXPECT_EQ(FindNsisHeader(MemoryFile(cut)).offset, -1);
  Installer in = MakeInstaller({});
  in.bytes.resize(static_cast<size_t>(in.header + 27));
  EXPECT_EQ(FindNsisHeader(MemoryFile(in.bytes)).offset, -1);
}

// Both kinds of replacement, with and without a header checksum (which then
// counts the new CRC too): the installer's count of its own bytes matches
// what it stores, and nothing after the program but the CRC changed.
TEST(NsisCrc, KeptRightByEveryReplacement) {
  for (bool checksum : {false, true}) {
    for (uint32_t image : {200u, 650u, 700u}) {
      Installer in = MakeInstaller({.after_crc = 100, .checksum = checksum});
      Replacement r = Replace(in.bytes, IconFile({Image(image, 5)}));
      ASSERT_EQ(r.result, 0) << r.failure;
      ASSERT_NE(r.after, in.bytes);
      EXPECT_EQ(Get32(r.after, in.crc_at), CountedCrc(r.after, in.crc_at)) << image;
      EXPECT_NE(Get32(r.after, in.crc_at), Get32(in.bytes, in.crc_at)) << image;
      if (checksum) {
        int64_t field = in.pe.optional_header + 64;
        EXPECT_EQ(Get32(r.after, field), PeChecksum(r.after.data(), r.after.size(), field)) << image;
      }
      Bytes before_tail(in.bytes.begin() + in.header, in.bytes.end());
      Bytes after_tail(r.after.begin() + in.header, r.after.end());
      for (int i = 0; i < 4; ++i) after_tail[in.crc_at - in.header + i] = before_tail[in.crc_at - in.header + i];
      EXPECT_EQ(after_tail, before_tail) << image;
    }
  }

  Installer in = MakeInstaller({.flags = 8});
  MemoryFile file(in.bytes);
  std::vector<IconImage> images;
  MemoryFile ico(IconFile({Image(250, 1, 16), Image(600, 2, 32)}));
  std::string failure;
  ASSERT_EQ(LoadIconImages(ico, images, failure), 0) << failure;
  AllSizesReport report;
  ASSERT_EQ(ReplaceAllSizesIn(file, images, "sizes.ico", "setup.exe", report, failure, {}), 0) << failure;
  EXPECT_TRUE(report.installer_check);
  EXPECT_EQ(Get32(file.bytes(), in.crc_at), CountedCrc(file.bytes(), in.crc_at));
}

// Plans of every shape against a recount: writes in the first block (which the
// installer does not count), across its end, next to each other, at the last
// byte before the first header; random ones over the program.
TEST(NsisCrc, TheUpdateEqualsARecountForAnyPlan) {
  Installer in = MakeInstaller({});
  MemoryFile file(in.bytes);
  ResourceSection section = Find_Resource_Tree(file, {});
  auto write = [](int64_t at, Bytes bytes) { return PlannedWrite{at, std::move(bytes), PlannedWrite::Kind::Image}; };
  std::vector<WritePlan> plans = {
      {write(100, {1, 2, 3})},
      {write(510, {1, 2, 3, 4})},
      {write(512, {9})},
      {write(600, {1, 2}), write(602, {3, 4})},
      {write(in.header - 1, {0x5A})},
      {write(700, {in.bytes[700]})},
  };
  std::mt19937 random(23);
  for (int n = 0; n < 200; ++n) {
    WritePlan plan;
    int64_t at = 0;
    for (uint32_t w = 0, writes = 1 + random() % 5; w < writes; ++w) {
      size_t size = 1 + random() % 40;
      at += 1 + random() % 300;
      if (at + static_cast<int64_t>(size) > in.header) break;
      plan.push_back(write(at, Noise(size, static_cast<uint32_t>(random()))));
      at += static_cast<int64_t>(size);
    }
    plans.push_back(plan);
  }
  for (size_t p = 0; p < plans.size(); ++p) {
    WritePlan plan = plans[p];
    InstallerCheck check = PlanInstallerCrc(file, section, plan);
    // What the plan leaves, its own CRC write aside (the balancing write for
    // the uninstaller counts like any other).
    Bytes after = in.bytes;
    const PlannedWrite* crc_write = nullptr;
    for (const PlannedWrite& w : plan) {
      if (w.offset == in.crc_at) crc_write = &w;
      else std::copy(w.bytes.begin(), w.bytes.end(), after.begin() + w.offset);
    }
    uint32_t recount = CountedCrc(after, in.crc_at);
    bool changed = recount != Get32(in.bytes, in.crc_at);
    ASSERT_EQ(check, changed ? InstallerCheck::Updated : InstallerCheck::Kept) << "plan " << p;
    ASSERT_EQ(crc_write != nullptr, changed) << "plan " << p;
    if (changed) {
      EXPECT_EQ(Get32(crc_write->bytes, 0), recount) << "plan " << p;
    }
  }
}

// The uninstaller the installer writes: its program bytes with the
// uninstaller's icon written over each icon image's place and the group, as
// they lay when it was built (the data entries stay as the installer has them).
Bytes Uninstaller(const Bytes& program, const BuiltPe& pe, int64_t header) {
  Bytes u(program.begin(), program.begin() + header);
  Bytes icon = Noise(u.size(), 7);
  for (size_t i = 0; i < pe.data_offset.size(); ++i) {
    uint32_t size = Get32(pe.bytes, pe.data_entry[i] + 4);
    std::copy_n(icon.begin() + pe.data_offset[i], size, u.begin() + pe.data_offset[i]);
  }
  return u;
}

// Every mode keeps each icon image's place and size (300 and 700 bytes here),
// so the uninstaller is the very one it was, icon and CRC; the installer's
// group entries each name an icon whose place starts with the image they
// describe. Too large for every place is refused.
TEST(NsisCrc, TheUninstallerItWritesIsTheOneItWrote) {
  struct Case {
    const char* what;
    bool all_sizes;
    std::vector<IconFileEntry> images;
    std::vector<std::pair<uint16_t, size_t>> entries;  // per group entry: the icon it names, the image it shows
    bool first_over_group = false;                     // icon #1's data entry names the group's bytes
  } cases[] = {
      {"one image, in both places", false, {Image(200, 5)}, {{1, 0}, {2, 0}}},
      {"too large for the first place: its entry names the second", false, {Image(650, 5)}, {{2, 0}, {2, 0}}},
      {"exactly the larger place", false, {Image(700, 5)}, {{2, 0}, {2, 0}}},
      {"one byte more than every place", false, {Image(701, 5)}, {}},
      {"each size in its own place", true, {Image(250, 1, 16), Image(600, 2)}, {{1, 0}, {2, 1}}},
      {"the best too large: the best that fits", true, {Image(350, 1, 16), Image(250, 2)}, {{1, 1}, {2, 1}}},
      {"no place holds the best 32: the 16 there too", true, {Image(250, 1, 16), Image(701, 2)}, {{1, 0}, {2, 0}}},
      {"a place the group shares is not written", false, {Image(200, 5)}, {{2, 0}, {2, 0}}, true},
  };
  for (const Case& c : cases) {
    Installer in = MakeInstaller({});
    if (c.first_over_group) Put32(in.bytes, in.pe.data_entry[0], Get32(in.bytes, in.pe.data_entry[2]));
    MemoryFile file(in.bytes);
    std::vector<IconImage> images;
    MemoryFile ico(IconFile(c.images));
    std::string failure;
    ASSERT_EQ(LoadIconImages(ico, images, failure), 0) << failure;
    if (!c.all_sizes) images.resize(1);
    AllSizesReport report;
    int32_t result = c.all_sizes ? ReplaceAllSizesIn(file, images, "i.ico", "setup.exe", report, failure, {})
                                 : ReplaceIconIn(file, images[0], "i.ico", "setup.exe", failure, {});
    const Bytes& after = file.bytes();
    if (c.entries.empty()) {
      EXPECT_EQ(result, kNoRoom) << c.what;
      EXPECT_NE(failure.find("setup.exe is an NSIS installer"), std::string::npos) << failure;
      EXPECT_EQ(after, in.bytes) << c.what;
      continue;
    }
    ASSERT_EQ(result, 0) << c.what << ": " << failure;
    EXPECT_EQ(Uninstaller(after, in.pe, in.header), Uninstaller(in.bytes, in.pe, in.header)) << c.what;
    size_t group = in.pe.data_offset[2];
    for (size_t e = 0; e < c.entries.size(); ++e) {
      auto [id, image] = c.entries[e];
      size_t at = group + 6 + 14 * e;
      const Bytes& shown = images[image].bytes;
      EXPECT_EQ(Get16(after, at + 12), id) << c.what << " entry " << e;
      EXPECT_EQ(Get32(after, at + 8), shown.size()) << c.what << " entry " << e;
      EXPECT_TRUE(std::equal(shown.begin(), shown.end(), after.begin() + in.pe.data_offset[id - 1u])) << c.what;
    }
  }
}

// No CRC kept, or not an installer: the plan gets nothing. A header checksum
// that the CRC would count, and that would count the CRC, is refused whole.
TEST(NsisCrc, NothingToKeepAndWhatCannotBeKept) {
  for (const InstallerShape& shape : {InstallerShape{.flags = 4, .has_crc = false}, InstallerShape{.gap = 512}}) {
    Installer in = MakeInstaller(shape);
    Replacement r = Replace(in.bytes, IconFile({Image(650, 5)}));
    ASSERT_EQ(r.result, 0) << r.failure;
    EXPECT_TRUE(std::equal(in.bytes.begin() + in.pe.data_end + 2000, in.bytes.end(),
                           r.after.begin() + in.pe.data_end + 2000));
  }

  Installer in = MakeInstaller({});
  MemoryFile file(in.bytes);
  ResourceSection section = Find_Resource_Tree(file, {});
  WritePlan plan{{in.pe.data_offset[0], Bytes{1, 2, 3}, PlannedWrite::Kind::Image}};
  section.checksum_offset = 0x200;  // the .text section's first bytes: not zero
  bool checksum = false, installer = false;
  std::string failure;
  EXPECT_EQ(PlanHeaderChecks(file, section, "setup.exe", plan, checksum, installer, failure), kModifyFailed);
  EXPECT_NE(failure.find("setup.exe is an NSIS installer"), std::string::npos) << failure;
  EXPECT_EQ(plan.size(), 1u);

  WritePlan into_header{{in.header, Bytes{1}, PlannedWrite::Kind::Image}};
  EXPECT_EQ(PlanInstallerCrc(file, Find_Resource_Tree(file, {}), into_header), InstallerCheck::Conflict);
}

}  // namespace
}  // namespace vantorel::engine::test

// What a program carries, named by --list and the dry runs, and by --add-sizes
// when it refuses: each container made here by its format's own marks.
#include <zlib.h>

#include <cinttypes>

#include "cli_support.h"

namespace vantorel::cli::test {
namespace {

using namespace engine;
using namespace engine::test;

std::string Hex(size_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%#" PRIx64, static_cast<uint64_t>(value));
  return text;
}

// A program, and what the line says it is, with the marks and where they lie.
struct Made {
  Bytes bytes;
  std::string names;
};

// The program with `tail` after its sections.
Bytes WithTail(const PeOptions& o, const Bytes& tail) {
  Bytes b = BuildPe(o).bytes;
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

std::string UnknownData(const Bytes& b, size_t bytes) {
  return "carries appended data after its last section (" + std::to_string(bytes) + " bytes from " +
         Hex(b.size() - bytes) + " on, in no format Vantorel recognises)";
}

Made Nsis(uint32_t flags) {
  Bytes tail(28 + 600 + 4, 0x5A);
  Put32(tail, 0, flags);
  Put32(tail, 4, 0xDEADBEEF);
  std::copy_n("NullsoftInst", 12, tail.begin() + 8);
  Put32(tail, 24, static_cast<uint32_t>(tail.size()));
  const Bytes b = WithTail(IconProgram({800, 800}), tail);
  const size_t at = b.size() - tail.size();
  return {b, std::string(flags ? "is an NSIS installer built with its CRC check off" : "is an NSIS installer") +
                 " (first header 0xDEADBEEF \"NullsoftInst\" at " + Hex(at) +
                 (flags ? ", no CRC-32)" : ", its CRC-32 at " + Hex(at + tail.size() - 4) + ")")};
}

// A 7z archive after an installer module's settings: the signature header
// (its CRC-32 over the 20 bytes after it) and 64 bytes of the archive's header.
Made SevenZip(bool crc_right) {
  const std::string settings = ";!@Install@!UTF-8!\nTitle=\"App\"\n;!@InstallEnd@!\n";
  Bytes tail(settings.begin(), settings.end()), header(32, 0);
  std::copy_n("7z\xBC\xAF\x27\x1C\0\4", 8, header.begin());
  Put32(header, 20, 64);  // the archive's header: at offset 0 after these 32 bytes, 64 bytes long
  header.resize(32 + 64, 0x33);
  Put32(header, 8, static_cast<uint32_t>(crc32(0, header.data() + 12, 20)) ^ (crc_right ? 0 : 1));
  tail.insert(tail.end(), header.begin(), header.end());
  Bytes b = WithTail(IconProgram({800, 800}), tail);
  if (!crc_right) return {b, UnknownData(b, tail.size())};
  return {b, "is a 7-Zip self-extracting archive (7z signature header at " + Hex(b.size() - header.size()) + ")"};
}

Made InnoSetup(size_t payload) {
  PeOptions o = IconProgram({800, 800});
  Bytes table = {'r', 'D', 'l', 'P', 't', 'S', 0xCD, 0xE6, 0xD7, 0x7B, 0x0B, 0x2A};
  table.resize(44, 0x11);
  o.resources.push_back({10, 11111, 0, table});
  return {WithTail(o, Bytes(payload, 0x77)),
          "is an Inno Setup installer (loader offset table \"rDlPtS\" in RCDATA #11111 at " +
              Hex(BuildPe(o).data_offset[3]) + ")"};
}

Made NodeSea() {
  PeOptions o = IconProgram({800, 800});
  o.resources.push_back({10, 1, 0, Bytes(200, 0x42)});
  o.free_after_data = 64;
  BuiltPe pe = BuildPe(o);
  const uint32_t names = pe.root + (Get32(pe.bytes, pe.type_dir_entries + 8 + 4) & 0x7FFFFFFF);
  NameEntry(pe.bytes, pe, names, names + 16, pe.data_end, u"NODE_SEA_BLOB");
  return {pe.bytes, "is a Node single executable application (RCDATA \"NODE_SEA_BLOB\" at " +
                        Hex(pe.data_offset[3]) + ", 200 bytes)"};
}

Made Bun() {
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  std::copy_n(".bun\0\0\0", 8, pe.bytes.begin() + pe.section_table);
  return {pe.bytes, "is a Bun single-file program (section .bun at " + Hex(Get32(pe.bytes, pe.section_table + 20)) +
                        ", " + std::to_string(Get32(pe.bytes, pe.section_table + 16)) + " bytes)"};
}

TEST_F(CliTest, ContainersAreNamedWithWhatTheModesDoToTheirOwnCheck) {
  const Bytes unknown = WithTail(IconProgram({800, 800}), Bytes(700, 0x5A));
  struct Case {
    const char* what;
    Made made;
    const char* in_place;  // what a replacement in place does to its check
    bool refused;          // by --add-sizes
  } cases[] = {
      {"NSIS", Nsis(0), "repaired", true},
      {"NSIS without its CRC", Nsis(4), "kept", true},
      {"Inno Setup", InnoSetup(1000), "kept", true},
      {"Inno Setup with its data on other disks", InnoSetup(0), "kept", true},
      {"7-Zip SFX", SevenZip(true), "kept", true},
      {"a 7z signature whose CRC is wrong", SevenZip(false), "kept", true},
      {"Bun", Bun(), "kept", false},
      {"Node SEA", NodeSea(), "kept", false},
      {"unknown data", {unknown, UnknownData(unknown, 700)}, "kept", true},
  };
  for (const Case& c : cases) {
    const std::string says = PathText(target_) + " " + c.made.names + ": ";
    WriteFileBytes(target_, c.made.bytes);
    Output list = Cli({"--list", target_});
    EXPECT_NE(list.out.find(says), std::string::npos) << c.what << ":\n" << list.out;
    EXPECT_NE(list.out.find(std::string(". Plain, --all-sizes and a picture: its own check is ") + c.in_place + " ("),
              std::string::npos) << c.what;
    EXPECT_NE(list.out.find(c.refused ? "; --add-sizes: refused (" : "; --add-sizes: its own check is kept ("),
              std::string::npos) << c.what;
    Output dry = Cli({"--dry-run", icon_, target_});
    EXPECT_NE(dry.out.find(says), std::string::npos) << c.what << ":\n" << dry.out;
    EXPECT_NE(dry.out.find(std::string("; its own check would be ") + c.in_place + " ("), std::string::npos) << c.what;

    Output add = Cli({"--add-sizes", icon_, target_});
    EXPECT_EQ(add.status, c.refused ? 1 : 0) << c.what << ": " << add.err;
    EXPECT_EQ(add.err.rfind("error 1017: " + says, 0) == 0, c.refused) << c.what << ": " << add.err;
    // Unchanged, or changed with its payload found where it was (through the new tree too).
    EXPECT_NE(Cli({"--list", target_}).out.find(says), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::cli::test

// Writes the fuzzer's first inputs: small programs from the test builder,
// each paired with an icon file, in the fuzz target's input format.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include <zlib.h>

#include "pe/checksum.h"
#include "pe_builder.h"
#include "picture_support.h"
#include "resources/version_edit.h"

using namespace vantorel::engine::test;

namespace {

void Seed(const std::filesystem::path& dir, const std::string& name, const Bytes& icon, const Bytes& target) {
  Bytes input(4);
  Put32(input, 0, static_cast<uint32_t>(icon.size()));
  input.insert(input.end(), icon.begin(), icon.end());
  input.insert(input.end(), target.begin(), target.end());
  WriteFileBytes(dir / name, input);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds CORPUS_DIR\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  Bytes small = IconFile({Image(40, 1)});
  Bytes large = IconFile({Image(300, 2), Image(20, 3)});
  Seed(dir, "fits", small, BuildPe(IconProgram({64, 64})).bytes);
  Seed(dir, "moves", large, BuildPe(IconProgram({100, 100, 100})).bytes);
  Seed(dir, "pe32plus", small, BuildPe(IconProgram({64}, true)).bytes);

  PeOptions many;
  for (uint16_t id = 1; id <= 3; ++id) many.resources.push_back({3, id, 1033, Bytes(48, 1)});
  many.resources.push_back({3, 1, 1031, Bytes(48, 2)});
  many.resources.push_back({14, 1, 1033, GroupIcon({1, 2, 3})});
  many.resources.push_back({14, 1, 1031, GroupIcon({1})});
  many.resources.push_back({16, 1, 1033, Bytes(60, 3)});
  many.free_after_data = 200;
  BuiltPe pe = BuildPe(many);
  Put32(pe.bytes, pe.optional_header + 64, vantorel::engine::PeChecksum(pe.bytes.data(), pe.bytes.size(), pe.optional_header + 64));
  Seed(dir, "groups", large, pe.bytes);

  // The hostile shapes: one group's data shared by many languages, a raw
  // data pointer past the end of the file, raw data over the headers.
  Seed(dir, "shared-group-data", small, SharedGroupData(40, 60).bytes);
  BuiltPe plain = BuildPe(IconProgram({64, 64}));
  Seed(dir, "raw-past-end", small, WithRawPointer(plain, 0xFFFFFF00u, plain.e_lfanew));
  Seed(dir, "raw-over-headers", small, WithRawPointer(plain, 0, plain.e_lfanew));

  // --all-sizes: an icon file of three sizes, the first the largest, against
  // groups that want each, with room for all and with room for fewer.
  Bytes sizes = IconFile({Image(200, 6, 48), Image(60, 4, 16), Image(120, 5, 32)});
  PeOptions sized;
  for (uint16_t id = 1; id <= 3; ++id) sized.resources.push_back({3, id, 1033, Bytes(150, 1)});
  sized.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 3}})});
  Seed(dir, "all-sizes", sizes, BuildPe(sized).bytes);
  Seed(dir, "all-sizes-room-short", sizes, BuildPe(IconProgram({40, 40, 40})).bytes);

  // An NSIS installer: its first header at the 512-byte boundary after the
  // program, a payload, and the right CRC of [512, CRC), which must stay right.
  PeOptions installer = IconProgram({100, 100});
  Bytes tail(28 + 300 + 4, 0x33);
  Put32(tail, 0, 0);
  Put32(tail, 4, 0xDEADBEEF);
  std::copy_n("NullsoftInst", 12, tail.begin() + 8);
  Put32(tail, 24, static_cast<uint32_t>(tail.size()));
  installer.appended = tail;
  Bytes nsis = BuildPe(installer).bytes;
  size_t crc_at = nsis.size() - 4;
  Put32(nsis, crc_at, static_cast<uint32_t>(crc32(0, nsis.data() + 512, static_cast<uInt>(crc_at - 512))));
  Seed(dir, "nsis-installer", small, nsis);
  // Pictures of every colour type and bit depth, some interlaced, not square,
  // against a program with room for every size and one with room for few.
  struct Picture {
    const char* name;
    uint8_t colour_type, depth;
    bool interlaced;
  } pictures[] = {{"rgba8", 6, 8, false},  {"rgba16", 6, 16, true}, {"rgb8", 2, 8, true},
                  {"rgb16", 2, 16, false}, {"grey1", 0, 1, false},  {"grey8", 0, 8, true},
                  {"grey16", 0, 16, false}, {"grey-alpha8", 4, 8, false}, {"grey-alpha16", 4, 16, true},
                  {"palette2", 3, 2, false}, {"palette8", 3, 8, true}};
  PeOptions roomy;
  for (uint16_t id = 1; id <= 3; ++id) roomy.resources.push_back({3, id, 1033, Bytes(12000, 1)});
  roomy.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {0, 32, 3}})});
  Bytes roomy_pe = BuildPe(roomy).bytes;
  bool roomy_next = true;
  for (const Picture& p : pictures) {
    Bytes png = WritePng(Flat(19, 13, p.colour_type, p.depth, p.interlaced, {200, 90, 40, 180}));
    Seed(dir, std::string("picture-") + p.name, png, roomy_next ? roomy_pe : BuildPe(IconProgram({900})).bytes);
    roomy_next = !roomy_next;
  }

  // A version resource as the icon part (the target reads it as one too)
  // and in the program, with a manifest beside it.
  vantorel::engine::VersionBlock root = vantorel::engine::NewVersionInfo(false);
  vantorel::engine::ResourceEdit edit;
  edit.version_strings = {{"CompanyName", "Vantorel"}, {"FileVersion", "1.2.3.4"}};
  std::vector<vantorel::engine::FieldChange> changes;
  std::string why;
  vantorel::engine::EditVersionInfo(root, edit, changes, why);
  const Bytes version = vantorel::engine::VersionInfoBytes(root).value_or(Bytes{});
  const std::string manifest = "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\"><trustInfo "
                               "xmlns=\"urn:schemas-microsoft-com:asm.v3\"/></assembly>";
  PeOptions with_version = IconProgram({64});
  with_version.resources.push_back({16, 1, 1033, version});
  with_version.resources.push_back({24, 1, 1033, Bytes(manifest.begin(), manifest.end())});
  Seed(dir, "version", version, BuildPe(with_version).bytes);
  return 0;
}

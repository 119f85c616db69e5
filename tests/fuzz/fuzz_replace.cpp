// Fuzz target: an icon file and a target program, replaced in memory.
// Input: a 4-byte little-endian length L, then L bytes of icon file, then the
// target. On every input: no crash and no sanitizer report; the target keeps
// its length; no byte outside the resource section changes (but the header's
// CheckSum); a failed replacement leaves every byte as it was.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vantorel/mod_pe.h"

using namespace vantorel::engine;

namespace {

[[noreturn]] void Violation(const char* what) {
  __builtin_printf("invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t icon_size = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  icon_size = static_cast<uint32_t>(std::min<size_t>(icon_size, size - 4));
  MemoryFile icon(std::vector<uint8_t>(data + 4, data + 4 + icon_size));
  const std::vector<uint8_t> original(data + 4 + icon_size, data + size);

  IconImage image;
  if (!Is_Valid_Icon_File(icon) || Load_First_Image(icon, image) != kSuccess) return 0;

  g_Engine = EngineState{};
  MemoryFile target(original);
  std::string failure;
  int warnings = 0;
  WarningSink sink = [&](const std::string&, const std::string&) { ++warnings; };
  int32_t result = Replace_Icon_In(target, image, "icon.ico", "target.exe", failure, sink);

  const std::vector<uint8_t>& after = target.bytes();
  if (after.size() != original.size()) Violation("length changed");
  if (result != kSuccess) {
    if (after != original) Violation("failed replacement changed the target");
    if (failure.empty()) Violation("failure without a text");
    return 0;
  }
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == original[i]) continue;
    int64_t at = static_cast<int64_t>(i);
    bool in_section = at >= g_Engine.Res_Section_Raw && at < g_Engine.Res_Section_End;
    bool checksum = at >= g_Engine.CheckSum_Offset && at < g_Engine.CheckSum_Offset + 4;
    if (!in_section && !checksum) Violation("byte outside the resource section changed");
  }
  return 0;
}

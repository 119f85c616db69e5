// What the --add-sizes tests share: a run in memory, and the test's own
// reading of a program's headers and sections (not the engine's).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "pe/added_section.h"
#include "all_sizes_support.h"

namespace vantorel::engine::test {

struct Added {
  int32_t result = -1;
  std::string failure;
  AddSizesReport report;
  Bytes after;
};

inline Added AddSizes(const Bytes& target, const Bytes& icon_file, bool plan_only = false) {
  Added r;
  MemoryFile file(target);
  r.result = AddSizesIn(file, Images(icon_file), "app.exe", r.report, r.failure, {}, plan_only);
  r.after = file.bytes();
  return r;
}

// ---- The test's own reading of a program ------------------------------------

struct Section {
  uint32_t va, raw_size, raw;
  std::string name;
  uint32_t virtual_size;
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
                          std::string(reinterpret_cast<const char*>(&b[s]), strnlen(reinterpret_cast<const char*>(&b[s]), 8)),
                          Get32(b, s + 8)});
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

// Where the section table ends.
inline uint32_t HeadersEnd(const BuiltPe& pe) {
  return pe.section_table + 40 * static_cast<uint32_t>(Program(pe.bytes).sections.size());
}

// The program laid out as a file the loader maps as it is: section and file
// alignment 0x200, below the page size, and each section's data at its own
// address in the file (.text at 0x1000, .rsrc at 0x2000).
inline BuiltPe FlatMapped(BuiltPe pe) {
  Bytes b(pe.rsrc_va + pe.rsrc_raw_size, 0);
  std::copy(pe.bytes.begin(), pe.bytes.begin() + 0x200, b.begin());
  std::copy(pe.bytes.begin() + 0x200, pe.bytes.begin() + 0x400, b.begin() + 0x1000);
  std::copy(pe.bytes.begin() + pe.rsrc_raw, pe.bytes.end(), b.begin() + pe.rsrc_va);
  Put32(b, pe.section_table + 20, 0x1000);
  Put32(b, pe.rsrc_header + 20, pe.rsrc_va);
  Put32(b, pe.optional_header + 32, 0x200);
  Put32(b, pe.optional_header + 56, pe.rsrc_va + pe.rsrc_raw_size);
  pe.bytes = b;
  pe.rsrc_raw = pe.root = pe.rsrc_va;
  return pe;
}

// The program with `count` sections, empty ones after its own two, and its
// headers grown to hold them and one more (the builder's offsets past them
// but the resource section's are left behind).
inline BuiltPe WithSections(BuiltPe pe, uint32_t count) {
  const uint32_t shift = (pe.section_table + 40 * (count + 1) + 0x1FF) / 0x200 * 0x200 - 0x200;
  pe.bytes.insert(pe.bytes.begin() + 0x200, shift, 0);
  Put16(pe.bytes, pe.e_lfanew + 6, static_cast<uint16_t>(count));
  Put32(pe.bytes, pe.optional_header + 60, 0x200 + shift);
  for (uint32_t s : {pe.section_table, pe.rsrc_header}) Put32(pe.bytes, s + 20, Get32(pe.bytes, s + 20) + shift);
  pe.rsrc_raw += shift, pe.root += shift;
  return pe;
}

// Points data directory `index` of a PE32 program at `rva`, `size` bytes.
inline void NameInDirectory(BuiltPe& pe, uint32_t index, uint32_t rva, uint32_t size) {
  Put32(pe.bytes, pe.optional_header + 96 + 8 * index, rva);
  Put32(pe.bytes, pe.optional_header + 100 + 8 * index, size);
}

inline Bytes FourSizes() { return IconFile({Sized(16, 32, 300, 1), Sized(32, 32, 500, 2), Sized(48, 32, 700, 3), Sized(0, 32, 900, 4)}); }

}  // namespace vantorel::engine::test

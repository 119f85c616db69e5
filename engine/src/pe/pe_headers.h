// The PE headers as a whole: every section, the alignments, and where each
// header field that adding a section changes lies in the file. Read once
// through the bounds-checked reader; nothing here writes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "files/random_access_file.h"

namespace vantorel::engine {

struct SectionHeader {
  int64_t at = 0;  // file offset of its IMAGE_SECTION_HEADER
  std::array<uint8_t, 8> name{};
  uint32_t virtual_size = 0, va = 0, raw_size = 0, raw = 0;
  uint32_t characteristics = 0;

  // How far the section reaches in memory: VirtualSize, or the raw size when
  // the linker left VirtualSize 0.
  uint32_t Extent() const { return virtual_size ? virtual_size : raw_size; }
};

struct DataDirectory {
  int64_t at = -1;  // file offset of its RVA field; -1 when the header has no such entry
  uint32_t rva = 0, size = 0;
};

struct PeHeaders {
  bool pe32plus = false;
  int64_t file_header = 0, optional_header = 0;
  int64_t number_of_sections_at = 0, size_of_image_at = 0, checksum_at = 0;
  uint32_t section_alignment = 0, file_alignment = 0, size_of_image = 0, size_of_headers = 0;
  uint32_t symbol_table = 0, symbols = 0;  // PointerToSymbolTable, NumberOfSymbols
  uint32_t entry_point = 0;                // AddressOfEntryPoint
  int64_t section_table = 0;               // file offset of the first section header
  std::vector<SectionHeader> sections;
  DataDirectory resources, certificates, debug;
  std::vector<DataDirectory> directories;  // every entry the header has, by index

  int64_t SectionTableEnd() const {
    return section_table + static_cast<int64_t>(sections.size()) * 40;
  }
  // The section whose memory holds `rva`, if any.
  const SectionHeader* SectionOf(uint32_t rva) const;
  // Where `size` bytes at `rva` lie in the file: -1 unless wholly in one
  // section's raw data.
  int64_t FileOffset(uint32_t rva, uint32_t size) const;
  // Where the sections' raw data ends: the furthest end of any of them.
  int64_t RawDataEnd() const;
  // Whether the resource directory names any data: a program built without
  // resources has a zero entry (or one of zero bytes).
  bool NamesResourceData() const { return resources.rva && resources.size; }
};

// A program built without resources: its headers have a resource directory
// entry, but it names no data. False when they cannot be read.
bool BuiltWithoutResources(const RandomAccessFile& file);

// A data entry's OffsetToData and Size (or a data directory's RVA and Size),
// as a write over its first 8 bytes.
std::vector<uint8_t> DataEntryFields(uint32_t rva, uint32_t size);

// Reads the headers of a program Is_Valid_PE accepted. Raises (error 9) on a
// header or section table that does not lie in the file.
PeHeaders ReadPeHeaders(const RandomAccessFile& file);

}  // namespace vantorel::engine

#include "pe_headers.h"

#include <algorithm>

#include "errors/guarded.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "files/little_endian.h"

namespace vantorel::engine {
namespace {

// Field offsets, as the PE/COFF format defines them.
constexpr int64_t kNumberOfSections = 2;       // in the file header
constexpr int64_t kPointerToSymbolTable = 8;
constexpr int64_t kNumberOfSymbols = 12;
constexpr int64_t kSizeOfOptionalHeader = 16;
constexpr int64_t kSectionAlignment = 32;      // in the optional header, both forms
constexpr int64_t kFileAlignment = 36;
constexpr int64_t kSizeOfImage = 56;
constexpr int64_t kSizeOfHeaders = 60;
constexpr int64_t kRvaCountPE32 = 92, kRvaCountPE32Plus = 108;
constexpr int64_t kDirectoriesPE32 = 96, kDirectoriesPE32Plus = 112;
constexpr int64_t kAddressOfEntryPoint = 16;
constexpr uint32_t kResourceIndex = 2, kCertificateIndex = 4, kDebugIndex = 6, kDirectoryCount = 16;

DataDirectory Directory(const Reader& r, const PeHeaders& h, uint16_t optional_size, uint32_t index) {
  DataDirectory d;
  int64_t count_at = h.optional_header + (h.pe32plus ? kRvaCountPE32Plus : kRvaCountPE32);
  int64_t entry = (h.pe32plus ? kDirectoriesPE32Plus : kDirectoriesPE32) + 8 * int64_t{index};
  if (optional_size < entry + 8 || r.U32(count_at) <= index) return d;
  d.at = h.optional_header + entry;
  d.rva = r.U32(d.at);
  d.size = r.U32(d.at + 4);
  return d;
}

}  // namespace

const SectionHeader* PeHeaders::SectionOf(uint32_t rva) const {
  for (const SectionHeader& s : sections) {
    if (rva >= s.va && int64_t{rva} < int64_t{s.va} + s.Extent()) return &s;
  }
  return nullptr;
}

int64_t PeHeaders::FileOffset(uint32_t rva, uint32_t size) const {
  const SectionHeader* s = SectionOf(rva);
  if (!s || int64_t{rva} - s->va + size > s->raw_size) return -1;
  return int64_t{s->raw} + (rva - s->va);
}

int64_t PeHeaders::RawDataEnd() const {
  int64_t end = 0;
  for (const SectionHeader& s : sections) {
    if (s.raw_size) end = std::max(end, int64_t{s.raw} + s.raw_size);
  }
  return end;
}

bool BuiltWithoutResources(const RandomAccessFile& file) {
  try {
    PeHeaders h = ReadPeHeaders(file);
    return h.resources.at >= 0 && !h.NamesResourceData();
  } catch (const EngineError&) {
    return false;
  }
}

std::vector<uint8_t> DataEntryFields(uint32_t rva, uint32_t size) {
  std::vector<uint8_t> fields = LeBytes(rva, 4), second = LeBytes(size, 4);
  fields.insert(fields.end(), second.begin(), second.end());
  return fields;
}

PeHeaders ReadPeHeaders(const RandomAccessFile& file) {
  Reader r(file, 0, file.Length());
  PeHeaders h;
  h.file_header = int64_t{r.U32(60)} + 4;
  h.optional_header = h.file_header + 20;
  h.pe32plus = r.U16(h.optional_header) == 0x20B;
  h.number_of_sections_at = h.file_header + kNumberOfSections;
  h.symbol_table = r.U32(h.file_header + kPointerToSymbolTable);
  h.symbols = r.U32(h.file_header + kNumberOfSymbols);
  uint16_t optional_size = r.U16(h.file_header + kSizeOfOptionalHeader);
  h.section_alignment = r.U32(h.optional_header + kSectionAlignment);
  h.file_alignment = r.U32(h.optional_header + kFileAlignment);
  h.size_of_image_at = h.optional_header + kSizeOfImage;
  h.size_of_image = r.U32(h.size_of_image_at);
  h.size_of_headers = r.U32(h.optional_header + kSizeOfHeaders);
  h.checksum_at = h.optional_header + 64;
  h.entry_point = r.U32(h.optional_header + kAddressOfEntryPoint);
  for (uint32_t i = 0; i < kDirectoryCount; ++i) h.directories.push_back(Directory(r, h, optional_size, i));
  h.resources = h.directories[kResourceIndex];
  h.certificates = h.directories[kCertificateIndex];
  h.debug = h.directories[kDebugIndex];
  h.section_table = h.optional_header + optional_size;
  uint16_t count = r.U16(h.number_of_sections_at);
  if (!r.Contains(h.section_table, int64_t{count} * 40)) Raise(9);
  for (uint16_t i = 0; i < count; ++i) {
    SectionHeader s;
    s.at = h.section_table + int64_t{i} * 40;
    r.Bytes(s.at, s.name.data(), 8);
    s.virtual_size = r.U32(s.at + 8);
    s.va = r.U32(s.at + 12);
    s.raw_size = r.U32(s.at + 16);
    s.raw = r.U32(s.at + 20);
    s.characteristics = r.U32(s.at + 36);
    h.sections.push_back(s);
  }
  return h;
}

}  // namespace vantorel::engine

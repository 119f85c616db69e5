// PE headers, the section table, and conversions between RVAs and file
// offsets inside the section that holds the resource tree.
#include "pe_layout.h"

#include <algorithm>

#include "errors/guarded.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "errors/traps.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr int32_t kLfanewOffset = 60;
constexpr int32_t kNumberOfSectionsOffset = 2;
constexpr int32_t kSizeOfOptionalHeaderOffset = 16;
constexpr int32_t kSizeOfHeadersOffset = 60;
constexpr int32_t kNumberOfRvaAndSizesPE32 = 92;
constexpr int32_t kNumberOfRvaAndSizesPE32Plus = 108;
constexpr int32_t kDataDirectoryPE32 = 96;
constexpr int32_t kDataDirectoryPE32Plus = 112;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kCertificateDirectoryIndex = 4;

constexpr int32_t kSectionVirtualAddress = 12;
constexpr int32_t kSectionSizeOfRawData = 16;
constexpr int32_t kSectionPointerToRawData = 20;

Reader WholeFile(const RandomAccessFile& file) { return Reader(file, 0, file.Length()); }

// File offset of data directory `index` (its RVA, then its Size), or -1 when
// the optional header has no such entry (too few directory entries, or a
// header too small to hold it).
int64_t DataDirectoryEntry(const Reader& r, int64_t optional_header, uint16_t size_of_optional_header, uint32_t index) {
  bool plus = r.U16(optional_header) == kMagicPE32Plus;
  int64_t count_at = plus ? kNumberOfRvaAndSizesPE32Plus : kNumberOfRvaAndSizesPE32;
  int64_t entry_at = (plus ? kDataDirectoryPE32Plus : kDataDirectoryPE32) + 8 * int64_t{index};
  if (size_of_optional_header < entry_at + 8) return -1;
  if (r.U32(optional_header + count_at) <= index) return -1;
  return optional_header + entry_at;
}

// The file header of the image; e_lfanew is a position from the start of the
// file: a value above 2 GiB names a place no file here reaches.
int64_t FileHeader(const Reader& r) { return int64_t{r.U32(kLfanewOffset)} + 4; }

}  // namespace

bool Is_Valid_PE(const RandomAccessFile& file) {
  try {
    Reader r = WholeFile(file);
    if (r.U8(0) != 'M' || r.U8(1) != 'Z') return false;
    int64_t pe = FileHeader(r) - 4;
    uint8_t sig[4];
    r.Bytes(pe, sig, 4);
    if (sig[0] != 'P' || sig[1] != 'E' || sig[2] != 0 || sig[3] != 0) return false;
    uint16_t magic = r.U16(pe + 4 + kFileHeaderSize);
    return magic == kMagicPE32 || magic == kMagicPE32Plus;
  } catch (const EngineError&) {
    return false;  // a file too short for its own headers
  }
}

bool IsSigned(const RandomAccessFile& file) {
  try {
    Reader r = WholeFile(file);
    int64_t file_header = FileHeader(r);
    uint16_t optional_size = r.U16(file_header + kSizeOfOptionalHeaderOffset);
    int64_t dir = DataDirectoryEntry(r, file_header + kFileHeaderSize, optional_size, kCertificateDirectoryIndex);
    return dir >= 0 && r.U32(dir + 4) != 0;
  } catch (const EngineError&) {
    return false;
  }
}

int64_t SectionsRawEnd(const RandomAccessFile& file) {
  try {
    Reader r = WholeFile(file);
    int64_t file_header = FileHeader(r);
    uint16_t sections = r.U16(file_header + kNumberOfSectionsOffset);
    int64_t table = file_header + kFileHeaderSize + r.U16(file_header + kSizeOfOptionalHeaderOffset);
    int64_t end = 0;
    for (uint16_t i = 0; i < sections; ++i) {
      int64_t s = table + int64_t{i} * kSectionHeaderSize;
      int64_t raw_size = r.U32(s + kSectionSizeOfRawData);
      if (raw_size > 0) end = std::max(end, int64_t{r.U32(s + kSectionPointerToRawData)} + raw_size);
    }
    return end;
  } catch (const EngineError&) {
    return -1;  // headers or a section table cut short
  }
}

ResourceSection Find_Resource_Tree(const RandomAccessFile& file, const WarningSink& warn) {
  ResourceSection none;
  return Trap(warn, kTreeLocateText, [&]() -> ResourceSection {
    Reader r = WholeFile(file);
    int64_t file_header = FileHeader(r);
    int32_t sections = r.U16(file_header + kNumberOfSectionsOffset);
    uint16_t optional_size = r.U16(file_header + kSizeOfOptionalHeaderOffset);
    int64_t optional_header = file_header + kFileHeaderSize;

    // The count is unsigned, as the loader reads it: no sections, or a table
    // that runs past the file, is out of range.
    if (sections < 1 || sections > kMostSections) Raise(9);
    int64_t table_bytes = int64_t{sections} * kSectionHeaderSize;
    int64_t table = optional_header + optional_size;
    if (!r.Contains(table, table_bytes)) Raise(9);

    int64_t dir = DataDirectoryEntry(r, optional_header, optional_size, kResourceDirectoryIndex);
    if (dir < 0) return none;
    uint32_t resource_rva = r.U32(dir);
    uint32_t resource_size = r.U32(dir + 4);
    if (resource_size == 0) return none;
    // No section's raw data may reach into the headers: what SizeOfHeaders
    // names and the section table itself.
    int64_t headers_end = std::max<int64_t>({r.U32(optional_header + kSizeOfHeadersOffset), table + table_bytes,
                                             kHeadersEnd});

    for (int32_t i = 0; i < sections; ++i) {
      int64_t s = table + int64_t{i} * kSectionHeaderSize;
      // Every field unsigned: a pointer of 0xFFFFFF00 lies past the end of
      // the file, not 256 bytes before its start.
      int64_t va = r.U32(s + kSectionVirtualAddress);
      int64_t raw_size = r.U32(s + kSectionSizeOfRawData);
      int64_t raw = r.U32(s + kSectionPointerToRawData);
      if (!(va <= resource_rva && resource_rva < va + raw_size)) continue;
      ResourceSection found;
      found.end = std::min(raw + raw_size, file.Length());
      int64_t root = resource_rva - va + raw;
      // Raw data over the headers or past the end of the file, or places
      // that do not fit in 31 bits: no tree the engine can edit.
      if (raw < headers_end || raw >= file.Length() || va > INT32_MAX || root > INT32_MAX) return none;
      found.root = static_cast<int32_t>(root);
      found.va = static_cast<int32_t>(va);
      found.raw = static_cast<int32_t>(raw);
      found.area_begin = root;
      found.area_end = std::min(root + resource_size, found.end);
      found.checksum_offset = optional_header + kCheckSumOffset;
      return found;
    }
    return none;
  }, ResourceSection{0});
}

Reader ResourceSectionReader(const RandomAccessFile& file, const ResourceSection& section) {
  return Reader(file, section.raw, section.end);
}

int32_t RVA_to_Offset(const ResourceSection& section, const int32_t& rva, const WarningSink& warn) {
  return TrapNumbered(warn, "RVA_to_Offset", [&]() -> int32_t {
    int32_t d = Sub32(rva, section.va);
    if (d < 0) return -1;
    return Add32(section.raw, d);
  });
}

int32_t Offset_to_RVA(const ResourceSection& section, const int32_t& offset, const WarningSink& warn) {
  return TrapNumbered(warn, "Offset_to_RVA", [&]() -> int32_t {
    int32_t d = Sub32(offset, section.raw);
    if (d < 0) return -1;
    return Add32(section.va, d);
  });
}

}  // namespace vantorel::engine

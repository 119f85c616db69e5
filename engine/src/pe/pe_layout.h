// The layout of a PE file as the replacements need it: the headers' test,
// the section that holds the resource tree, and conversions between RVAs and
// file offsets inside it.
#pragma once

#include <cstdint>

#include "files/random_access_file.h"
#include "files/reader.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// Sizes of the on-disk records, as the PE/COFF format defines them.
constexpr int32_t kDosHeaderSize = 64;         // IMAGE_DOS_HEADER
constexpr int32_t kFileHeaderSize = 20;        // IMAGE_FILE_HEADER
constexpr int32_t kOptionalHeader32Size = 224;  // IMAGE_OPTIONAL_HEADER32
constexpr int32_t kSectionHeaderSize = 40;     // IMAGE_SECTION_HEADER
constexpr uint16_t kMagicPE32 = 0x10B;
constexpr uint16_t kMagicPE32Plus = 0x20B;
// NumberOfSections is a WORD, and Windows (since Vista) and Wine load a
// program with as many sections as it can count: every mode reads that many,
// and --add-sizes never takes a program past it.
constexpr int32_t kMostSections = 0xFFFF;
// Offset of CheckSum in both forms of the optional header.
constexpr int32_t kCheckSumOffset = 64;

// DOS header, file header and the PE32 optional header: no resource tree can
// start inside them.
constexpr int32_t kHeadersEnd = kDosHeaderSize + kFileHeaderSize + kOptionalHeader32Size;

// The section that holds the resource tree, as Find_Resource_Tree found it.
// Every operation after it takes this value; nothing is kept between calls.
struct ResourceSection {
  // File offset of the root directory; -1 when the target has no resource
  // tree the engine can place; 0 after an error its warning reported.
  int32_t root = -1;
  int32_t va = 0;   // VirtualAddress of the section
  int32_t raw = 0;  // PointerToRawData: where its raw data starts in the file
  // Where that raw data really ends in this file (SizeOfRawData, cut at the
  // end of the file). Nothing outside [raw, end) is read as part of the tree
  // or written, and raw never lies inside the headers.
  int64_t end = 0;
  // The part of the section that the resource table's data directory names.
  int64_t area_begin = 0, area_end = 0;
  // File offset of the optional header's CheckSum field; -1 when unknown.
  int64_t checksum_offset = -1;

  // The write guard: [offset, offset + size) lies in the section's raw data.
  bool Contains(int64_t offset, int64_t size) const {
    return size >= 0 && offset >= raw && offset <= end && size <= end - offset;
  }
};

// True when the file starts "MZ" and e_lfanew names the signature "PE\0\0"
// followed by a file header and an optional header of a known form.
bool Is_Valid_PE(const RandomAccessFile& file);

// Reads the headers and the section table and finds the section that holds
// the resource tree. A section whose raw data lies past the end of the file or
// over the headers (SizeOfHeaders, the section table) has no usable tree.
ResourceSection Find_Resource_Tree(const RandomAccessFile& file, const WarningSink& warn);

// Conversions inside the resource section. -1 below the section; 0 after an
// error their warning reported.
int32_t RVA_to_Offset(const ResourceSection& section, const int32_t& rva, const WarningSink& warn);
int32_t Offset_to_RVA(const ResourceSection& section, const int32_t& offset, const WarningSink& warn);

// True when the program carries a signature (a certificate table that is not
// empty), which any change to the file invalidates.
bool IsSigned(const RandomAccessFile& file);

// Where the raw data of the program's sections ends: the largest
// PointerToRawData + SizeOfRawData. What follows is data appended to the
// program. -1 when the headers or the section table are cut short.
int64_t SectionsRawEnd(const RandomAccessFile& file);

// A reader over the raw data of the section that holds the resource tree.
Reader ResourceSectionReader(const RandomAccessFile& file, const ResourceSection& section);

}  // namespace vantorel::engine

// The engine's inner operations, each under its own name. The window and the
// CLI only need engine.h; tests and the fuzz target reach in here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vantorel/engine.h"
#include "random_access_file.h"

namespace vantorel::engine {

// ---- PE layout ------------------------------------------------------------

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

// ---- Resource tree ----------------------------------------------------------

// RT_ICON and RT_GROUP_ICON (windows.h defines those names as pointer macros).
constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;
// RT_VERSION and RT_MANIFEST.
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kRtManifest = 24;

// One icon image found in the tree.
struct IconImageRef {
  int32_t Offset = -1;      // its bytes' file offset, as RVA_to_Offset converted it
  uint32_t Size = 0;        // the Size of its data entry
  int64_t DataEntry = -1;   // file offset of its IMAGE_RESOURCE_DATA_ENTRY
};

// Lists every icon image in tree order; returns the count (0 after a warning,
// with the images listed before the error kept).
int32_t Find_Icon_Resources(const RandomAccessFile& file, const ResourceSection& section,
                            std::vector<IconImageRef>& icons, const WarningSink& warn);

// ---- Icon file ---------------------------------------------------------------

constexpr int32_t kIconDirSize = 6;        // ICONDIR
constexpr int32_t kIconDirEntrySize = 16;  // ICONDIRENTRY
constexpr int32_t kGrpIconDirEntrySize = 14;  // GRPICONDIRENTRY

struct ICONDIRENTRY {
  uint8_t bWidth = 0, bHeight = 0, bColorCount = 0, bReserved = 0;
  uint16_t wPlanes = 0, wBitCount = 0;
  uint32_t dwBytesInRes = 0, dwImageOffset = 0;
};

struct IconImage {
  ICONDIRENTRY entry;
  std::array<uint8_t, kIconDirEntrySize> entry_bytes{};  // the entry as stored
  std::vector<uint8_t> bytes;                            // the image, verbatim
};

bool Is_Valid_Icon_File(const RandomAccessFile& file);

// Where an icon file's directory of `count` entries ends: no image starts before.
constexpr int64_t IconDirectoryEnd(uint16_t count) { return kIconDirSize + int64_t{count} * kIconDirEntrySize; }

// Loads the first image. Returns 0, or 1003 for an entry cut short, an empty
// image, one running past the end of the file (whatever its byte count) or
// one starting over the file's header or directory, 7
// when the buffer cannot be had.
int32_t LoadFirstImage(const RandomAccessFile& file, IconImage& image);

// ---- Rewrite --------------------------------------------------------------------

struct PlannedWrite {
  enum class Kind { Image, IconEntry, GroupEntry, Checksum, InstallerCrc, Header };
  int64_t offset = 0;
  std::vector<uint8_t> bytes;
  Kind kind = Kind::Image;
};
using WritePlan = std::vector<PlannedWrite>;

// Where the new image goes: the first icon image's place when it fits there,
// otherwise the first free stretch of the resource data that holds it.
struct ImagePlacement {
  int32_t offset = -1;    // -1: no room
  bool in_place = false;  // over the first icon image, within its size
  int64_t room = 0;       // the stretch taken; when none, the largest one found
  bool damaged = false;   // the room map could not be built: only in place is possible
};
ImagePlacement FindImageRoom(const RandomAccessFile& file, const ResourceSection& section,
                             const IconImageRef& first, uint32_t bytes);

// Plans, without writing, the new image at `new_image_offset`, and the
// rewrite of every icon data entry and every group-icon entry to describe it
// (the first-image replacement of the one planner, icon_rewrite.h). Every
// planned write has been checked against the resource section. Each data
// entry and each group is planned once however many entries lead to it, so
// the plan never holds more than the section's size in bytes. False after a
// warning.
bool Modify_Resource_Directories(const RandomAccessFile& file, const ResourceSection& section,
                                 int32_t new_image_offset, const IconImage& icon, WritePlan& plan,
                                 const WarningSink& warn);

// Writes the plan. The bytes every write replaces are read and kept before the
// first write; a failed write or flush puts them all back, last first.
// Returns true when everything is on disk; otherwise `restored` tells whether
// the file is as it was (and durably so). With `flush_after` n > 0, the first
// n writes are made durable before the rest begin: what the later ones name
// is on disk before they name it.
bool ApplyWrites(RandomAccessFile& file, const WritePlan& plan, bool& restored, size_t flush_after = 0);

// What a mode changes in the target: the writes in place, in the order they
// are made, the first `flush_after` durable before the rest begin; and for
// one that grows the file, the length it is first cut back to (less an
// unfinished tail of an earlier run) and the bytes then appended, before the
// writes in place. `own_length` -1: the length never changes.
struct FileChange {
  WritePlan in_place;
  size_t flush_after = 0;
  int64_t own_length = -1;
  std::vector<uint8_t> appended;
};

// The one writer: makes the change, or on a failure puts back every byte
// written and the length, as ApplyWrites does (`restored` then tells whether
// that worked). True when everything is on disk.
bool ApplyChange(RandomAccessFile& file, const FileChange& change, bool& restored);

// The optional header's CheckSum of a whole image, as Windows computes it.
uint32_t PeChecksum(const uint8_t* data, size_t size, int64_t checksum_offset);

// When the target keeps a checksum (not zero), adds the write that keeps it
// right after the plan's other writes. Returns whether it added one.
bool PlanChecksum(const RandomAccessFile& file, const ResourceSection& section, WritePlan& plan);

// As PlanChecksum, for the CheckSum field at `field` and a file that will be
// `new_length` bytes long: writes past the end add to it what they add.
bool PlanChecksumOf(const RandomAccessFile& file, int64_t field, WritePlan& plan, int64_t new_length);

// What the first-image replacement's plan means.
struct ReplacementPlan {
  int32_t image_offset = -1;
  int32_t image_rva = -1;
  uint32_t image_bytes = 0;
  bool image_in_place = true;  // at the first icon image's own place
  int64_t room_bytes = 0;      // the free stretch a moved image goes into
  int icon_entries = 0;
  int group_entries = 0;
  bool checksum = false;
  bool installer_check = false;  // an NSIS installer's own CRC kept right
  bool installer_places = false;  // an NSIS installer: in every icon image's place that holds it
};

// The second half of Change_Icon, on a target that is already open: plans,
// then writes unless `plan_only`.
int32_t ReplaceIconIn(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                      const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                      ReplacementPlan* plan_out = nullptr, bool plan_only = false);

// Shows a warning through the sink, when there is one.
void Warn(const WarningSink& warn, const std::string& title, const std::string& text);

}  // namespace vantorel::engine

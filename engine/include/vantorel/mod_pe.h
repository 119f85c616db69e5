// The engine's inner operations, each under its own name. The window and the
// CLI only need engine.h; tests and the fuzz target reach in here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vantorel/engine.h"
#include "vantorel/random_access_file.h"

namespace vantorel {

// ---- PE layout ------------------------------------------------------------

// Sizes of the on-disk records, as the PE/COFF format defines them.
constexpr int32_t kDosHeaderSize = 64;         // IMAGE_DOS_HEADER
constexpr int32_t kFileHeaderSize = 20;        // IMAGE_FILE_HEADER
constexpr int32_t kOptionalHeader32Size = 224;  // IMAGE_OPTIONAL_HEADER32
constexpr int32_t kSectionHeaderSize = 40;     // IMAGE_SECTION_HEADER
constexpr uint16_t kMagicPE32 = 0x10B;
constexpr uint16_t kMagicPE32Plus = 0x20B;
// Offset of the resource table's entry in the optional header's data directory.
constexpr int32_t kResourceDirPE32 = 112;
constexpr int32_t kResourceDirPE32Plus = 128;
// Offset of CheckSum in both forms of the optional header.
constexpr int32_t kCheckSumOffset = 64;
// Offset of the certificate table's entry (data directory 4).
constexpr int32_t kCertificateDirPE32 = 128;
constexpr int32_t kCertificateDirPE32Plus = 144;

// The one set of engine-wide values, kept between operations. Every successful
// Find_Resource_Tree sets them all; the conversions read the first two.
struct EngineState {
  int32_t Res_Section_VA = 0;   // VirtualAddress of the section holding the tree
  int32_t Res_Section_Raw = 0;  // PointerToRawData of that section
  // Where that section's raw data really ends in this file (SizeOfRawData,
  // cut at the end of the file): nothing outside [Res_Section_Raw,
  // Res_Section_End) is ever read as part of the tree or written.
  int64_t Res_Section_End = 0;
  // The part of the section that the resource table's data directory names.
  int64_t Res_Area_Begin = 0;
  int64_t Res_Area_End = 0;
  // File offset of the optional header's CheckSum field; -1 when unknown.
  int64_t CheckSum_Offset = -1;
};
extern EngineState g_Engine;

// True when the file starts "MZ" and e_lfanew names the signature "PE\0\0"
// followed by a file header and an optional header of a known form.
bool Is_Valid_PE(const RandomAccessFile& file);

// File offset of the resource tree's root directory; -1 when the target has
// no resource tree the engine can place; 0 after an error its warning reported.
int32_t Find_Resource_Tree(const RandomAccessFile& file, const WarningSink& warn);

// Conversions inside the resource section. -1 below the section; 0 after an
// error their warning reported.
int32_t RVA_to_Offset(const int32_t& rva, const WarningSink& warn);
int32_t Offset_to_RVA(const int32_t& offset, const WarningSink& warn);

// True when the program carries a signature (a certificate table that is not
// empty), which any change to the file invalidates.
bool Is_Signed(const RandomAccessFile& file);

// True when [offset, offset + size) lies in the resource section's raw data.
bool In_Resource_Section(int64_t offset, int64_t size);

// ---- Resource tree ----------------------------------------------------------

// RT_ICON and RT_GROUP_ICON (windows.h defines those names as pointer macros).
constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;

// One icon image found in the tree.
struct IconImageRef {
  int32_t Offset = -1;      // its bytes' file offset, as RVA_to_Offset converted it
  uint32_t Size = 0;        // the Size of its data entry
  int64_t DataEntry = -1;   // file offset of its IMAGE_RESOURCE_DATA_ENTRY
};

// Lists every icon image in tree order; returns the count (0 after a warning,
// with the images listed before the error kept).
int16_t Find_Icon_Resources(const RandomAccessFile& file, int32_t root,
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

// Loads the first image. Returns 0, or 1003 for an entry cut short, an empty
// image or one running past the end of the file, 9 for a byte count of 2 GiB
// or more, 7 when the buffer cannot be had.
int32_t Load_First_Image(const RandomAccessFile& file, IconImage& image);

// ---- Rewrite --------------------------------------------------------------------

struct PlannedWrite {
  enum class Kind { Image, IconEntry, GroupEntry, Checksum };
  int64_t offset = 0;
  std::vector<uint8_t> bytes;
  Kind kind = Kind::Image;
};
using WritePlan = std::vector<PlannedWrite>;

// Where the new image goes: the first icon image's place when it fits there,
// otherwise the first free stretch of the resource data that holds it.
struct ImagePlacement {
  int32_t offset = -1;    // -1: no room
  int64_t room = 0;       // the largest stretch found, for the failure text
};
ImagePlacement Find_Image_Room(const RandomAccessFile& file, int32_t root,
                               const IconImageRef& first, uint32_t bytes);

// Plans, without writing, the rewrite of every icon data entry and every
// group-icon entry to describe the new image at `new_image_offset`. Every
// planned write has been checked against the resource section. False after a
// warning.
bool Modify_Resource_Directories(const RandomAccessFile& file, int32_t root, int32_t new_image_offset,
                                 const IconImage& icon, WritePlan& plan, const WarningSink& warn);

// Writes the plan. Each write first keeps the bytes it replaces; a failed write
// or flush puts them all back. Returns true when everything is on disk;
// otherwise `restored` tells whether the file is as it was.
bool Apply_Writes(RandomAccessFile& file, const WritePlan& plan, bool& restored);

// The optional header's CheckSum of a whole image, as Windows computes it.
uint32_t PE_Checksum(const uint8_t* data, size_t size, int64_t checksum_offset);

// When the target keeps a checksum (not zero), adds the write that keeps it
// right after the plan's other writes. Returns whether it added one.
bool Plan_Checksum(const RandomAccessFile& file, WritePlan& plan);

// Everything a replacement would write, checked, and what it means.
struct ReplacementPlan {
  WritePlan writes;
  int32_t image_offset = -1;
  int32_t image_rva = -1;
  bool image_in_place = true;  // at the first icon image's own place
  int icon_entries = 0;
  int group_entries = 0;
  bool checksum = false;
};

// The second half of Change_Icon, on a target that is already open: plans,
// then writes unless `plan_only`.
int32_t Replace_Icon_In(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                        const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                        ReplacementPlan* plan_out = nullptr, bool plan_only = false);

// The path as the user gave it, for failure texts (UTF-8).
std::string Path_Text(const std::filesystem::path& path);

// Shows a warning through the sink, when there is one.
void Warn(const WarningSink& warn, const std::string& title, const std::string& text);

}  // namespace vantorel

// Builds small, well-formed PE images in memory, with a resource section laid
// out as resource compilers lay it out. Each test then changes one field.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantorel::engine::test {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v);
void Put32(Bytes& b, size_t at, uint32_t v);
uint16_t Get16(const Bytes& b, size_t at);
uint32_t Get32(const Bytes& b, size_t at);

struct Resource {
  uint32_t type = 0;
  uint32_t name = 0;
  uint32_t language = 0;
  Bytes data;
};

struct PeOptions {
  bool pe32plus = false;
  std::vector<Resource> resources;
  uint32_t free_after_data = 0;  // unreferenced bytes inside the resource data directory
  Bytes appended;                // data after the last section
  bool resource_section = true;  // without it: .text alone, and no resource directory
};

struct BuiltPe {
  Bytes bytes;
  uint32_t e_lfanew = 0;
  uint32_t optional_header = 0;
  uint32_t resource_dir = 0;     // the data directory's resource entry (RVA, Size)
  uint32_t section_table = 0;
  uint32_t rsrc_header = 0;      // the resource section's IMAGE_SECTION_HEADER
  uint32_t rsrc_raw = 0, rsrc_va = 0, rsrc_raw_size = 0;
  uint32_t root = 0;
  uint32_t type_dir_entries = 0;  // file offset of the root's first entry
  std::vector<uint32_t> data_entry;   // per resource, in the order given
  std::vector<uint32_t> data_offset;  // per resource
  std::vector<uint32_t> language_entry;  // per resource: the entry that leads to its data entry
  uint32_t data_end = 0;              // end of the last resource's data
};

BuiltPe BuildPe(const PeOptions& options);

// Appends a COFF symbol table of `symbols` records and a string table of
// `strings` bytes (its length field included), and points the file header at it.
void AddSymbolTable(BuiltPe& pe, uint32_t symbols, uint32_t strings);

// The usual layout: icon images 1..n (the sizes given) and one group icon 1
// that lists them, all in language 1033.
PeOptions IconProgram(const std::vector<uint32_t>& image_sizes, bool pe32plus = false);

// A group icon resource whose entries name the given icon ids.
Bytes GroupIcon(const std::vector<uint16_t>& ids);

// A group icon whose entries describe the given sizes (square, 32-bit unless
// said) and name the given icon ids.
struct Described {
  uint8_t side;
  uint16_t bits;
  uint16_t id;
  uint32_t bytes = 777;  // dwBytesInRes as the group states it
};
Bytes SizedGroup(const std::vector<Described>& entries);

// An icon file whose directory describes the given images, each given as
// (width, bytes); the images follow the directory in order.
struct IconFileEntry {
  uint8_t width = 32, height = 32, colors = 16;
  uint16_t planes = 1, bits = 4;
  Bytes image;
};
Bytes IconFile(const std::vector<IconFileEntry>& images);
IconFileEntry Image(uint32_t size, uint8_t seed, uint8_t width = 32);

// One group icon of `entries` entries, reached through `languages` language
// entries that all name the first language's data entry.
BuiltPe SharedGroupData(uint16_t entries, uint32_t languages);

// Moves the resource section's raw data pointer to `raw` (its VirtualAddress
// along, so the tree keeps its place in the file) and points the first icon's
// data entry at file offset `image_at`.
Bytes WithRawPointer(const BuiltPe& pe, uint32_t raw, uint32_t image_at);

// Gives the name entry at `entry` the counted UTF-16 name `name`, stored at
// file offset `at` (inside the section), and counts it as a named entry of
// its directory `dir`.
void NameEntry(Bytes& b, const BuiltPe& pe, uint32_t dir, uint32_t entry, uint32_t at, const std::u16string& name);

Bytes ReadFileBytes(const std::filesystem::path& p);
void WriteFileBytes(const std::filesystem::path& p, const Bytes& b);

// A fresh directory removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace vantorel::engine::test

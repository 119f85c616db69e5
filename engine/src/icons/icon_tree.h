// The icon and group-icon branches of a resource tree, read once into plain
// values: the one reading of icon data entries and groups that every mode
// builds on (--list, the replacements, --extract, --add-sizes).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "icon_file.h"
#include "icon_sizes.h"
#include "pe/pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "resources/resource_types.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

constexpr int32_t kGrpIconDirEntrySize = 14;  // GRPICONDIRENTRY

// One RT_ICON data entry (several language entries may lead to it; it is
// listed once, under the first).
struct IconResource {
  uint32_t name = 0, language = 0;
  int32_t data_entry = 0;  // file offset of its IMAGE_RESOURCE_DATA_ENTRY
  int32_t offset = -1;     // its bytes' file offset; -1 (or 0) when it does not convert
  uint32_t size = 0;       // the Size of its data entry
};

struct GroupEntryRef {
  int64_t at = 0;  // file offset of the GRPICONDIRENTRY
  SharedEntry shared{};
  uint16_t nID = 0;
};

// One RT_GROUP_ICON's data, listed once however many entries lead to it.
struct GroupResource {
  uint32_t name = 0, language = 0;
  int64_t at = 0;  // file offset of its GRPICONDIR
  std::vector<GroupEntryRef> entries;
};

// One language entry of either branch, in tree order, with the icon or group
// it leads to.
struct IconLeaf {
  static constexpr size_t kNone = static_cast<size_t>(-1);
  uint32_t type = 0;                // kRtIcon or kRtGroupIcon
  uint32_t name = 0, language = 0;  // as the directory entries store them
  int32_t data_entry = -1;          // file offset of its data entry; -1 when skipped as damaged
  uint32_t rva = 0, size = 0;       // its data entry's fields
  // Index into the icons or the groups; kNone when its data is skipped as
  // damaged, or is an icon's that a group entry also names.
  size_t index = kNone;
};

struct IconTree {
  std::vector<IconResource> icons;
  std::vector<GroupResource> groups;
  std::vector<IconLeaf> leaves;

  // The icon a group entry of `language` names: the one of the same language,
  // else the first of that number, as the loader falls back to another
  // language.
  std::optional<size_t> IconNamed(uint16_t id, uint32_t language) const;

  // Every byte range the walk read as the tree's own structure: directories,
  // entries and names. Nothing is ever written over them.
  std::vector<std::pair<int64_t, int64_t>> structure;

  // The first icon of each number, and of each number and language.
  std::map<uint32_t, size_t> first_by_name;
  std::map<std::pair<uint32_t, uint32_t>, size_t> first_by_name_and_language;
};

// What a damaged data entry or group does to the reading: the modes that
// write refuse the whole tree; --list shows what it can read and skips the
// rest (a group whose entries run past its data is cut at its data's end).
enum class Damage { Refuse, Skip };

// Where the data a data entry names lies: the file offset of its RVA, -1 (or
// 0) when it lies nowhere this reading may go.
using DataOffset = std::function<int64_t(uint32_t rva, uint32_t size)>;

// Reads both branches of the tree at `root` through `tree_reader`, and the
// groups' data through `data` at the offsets `data_offset` gives. A data
// entry that both branches name is an icon's, whichever is stored first.
// With Damage::Refuse it raises on a data entry outside the tree's reader, a
// group outside `data`, or a group whose idCount runs past its data.
// Distinct groups never hold more entries in all than `data` has room for.
IconTree ReadIconTree(const Reader& tree_reader, int32_t root, const Reader& data, const DataOffset& data_offset,
                      Damage damage);

// The same, for a tree whose data lies in its own section: RVAs convert
// inside it (a conversion that overflows warns through `warn`).
IconTree ReadIconTree(const Reader& r, const ResourceSection& section, const WarningSink& warn,
                      Damage damage = Damage::Refuse);

// The icon branch alone, as the window's own routine lists the icon images:
// each language entry handed to `take` as the walk reaches it, with its data
// entry's fields; a data entry outside `r` raises, and the entries handed
// over before stay handed over.
void ReadIconLeaves(const Reader& r, int32_t root, const std::function<void(const IconLeaf&)>& take);


// Where an icon's wanted size comes from.
enum class WantedFrom { Group, OldImage, IconFile };

struct IconWants {
  std::vector<IconSize> sizes;  // per icon of the tree
  // Per icon: its place among the entries of its group that describe exactly
  // its size, so the k-th of them gets the icon file's k-th image of it.
  std::vector<size_t> ordinals;
  std::vector<WantedFrom> from;
};

// The size each icon should show: what the first group entry naming it
// describes (one of its own language first); for an icon no group names, what
// its old image says (read through `r`); failing that, `fallback`.
IconWants WantedSizes(const Reader& r, const IconTree& tree, const IconSize& fallback);

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

}  // namespace vantorel::engine

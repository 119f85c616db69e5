// The icon and group-icon branches of a resource tree, read once into plain
// values: what --all-sizes rewrites and --extract takes out.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "reader.h"
#include "all_sizes.h"

namespace vantorel::engine {

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
  std::vector<GroupEntryRef> entries;
};

struct IconTree {
  std::vector<IconResource> icons;
  std::vector<GroupResource> groups;

  // The icon a group entry of `language` names: the one of the same language,
  // else the first of that number, as the loader falls back to another
  // language.
  std::optional<size_t> Icon_Named(uint16_t id, uint32_t language) const;

  // Every byte range the walk read as the tree's own structure: directories,
  // entries and names. Nothing is ever written over them.
  std::vector<std::pair<int64_t, int64_t>> structure;

  // The first icon of each number, and of each number and language.
  std::map<uint32_t, size_t> first_by_name;
  std::map<std::pair<uint32_t, uint32_t>, size_t> first_by_name_and_language;
};

// Reads both branches in tree order. Raises on a data entry or a group that
// lies outside the section, or a group whose idCount runs past its data.
IconTree Read_Icon_Tree(const Reader& r, const ResourceSection& section, const WarningSink& warn);


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
IconWants Wanted_Sizes(const Reader& r, const IconTree& tree, const IconSize& fallback);

}  // namespace vantorel::engine

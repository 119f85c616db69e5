// A program's icons and groups read as one model, for --add-sizes: which icon
// or group each leaf of the tree names, their names and the groups' headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "icon_tree.h"
#include "pe/pe_headers.h"
#include "resources/resource_tree.h"

namespace vantorel::engine {

// The tree's icons and groups, with the icon or group of every leaf of each
// branch in tree order (the order the whole tree's model holds them in).
struct IconModel {
  IconTree tree;
  std::vector<std::string> icon_names, group_names;
  std::vector<std::vector<uint8_t>> group_headers;  // each group's GRPICONDIR
  std::vector<size_t> icon_of_leaf, group_of_leaf;  // IconLeaf::kNone: keeps its data
  uint32_t last_icon_number = 0;  // the highest an icon has or a group entry names
};

// The icons and groups of the tree at `root` (read through `tree_reader`);
// their data may lie in any section of the file, as the loader finds it, but
// must lie wholly in it.
IconModel ReadIconModel(const Reader& file, const PeHeaders& h, const Reader& tree_reader, int32_t root);

}  // namespace vantorel::engine

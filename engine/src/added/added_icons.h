// What --add-sizes puts in its section: the image each icon gets, the entries
// each group gains, and the section's bytes (a new resource tree, the images
// and the groups).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "icons/icon_model.h"
#include "resources/resource_tree.h"

namespace vantorel::engine {

struct AddedIcons {
  std::vector<uint8_t> content;  // the section's bytes, from its start
  // The icons' file offsets are counted from the section's start.
  AddSizesReport report;
};

// Plans the section at `va` from the old tree and the icon file's images.
// False when no icon number is left for a new icon.
bool PlanAddedIcons(const Reader& file, const std::vector<IconImage>& images, const IconModel& model,
                    const ResourceTree& old, uint32_t va, AddedIcons& added);

}  // namespace vantorel::engine

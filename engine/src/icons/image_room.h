// Where new icon images may go in the resource data: over the old icon
// images and the padding nobody references, never over anything in use.
#pragma once

#include <cstdint>
#include <vector>

#include "icon_tree.h"
#include "files/random_access_file.h"
#include "pe/pe_layout.h"

namespace vantorel::engine {

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

// A free stretch [begin, end) of the resource data, in file offsets.
struct Stretch {
  int64_t begin = 0, end = 0;
};

// The free stretches of the resource data once every icon image is rewritten:
// old icon images and padding nobody references. Raises when the tree cannot
// be mapped.
std::vector<Stretch> FreeRoom(const RandomAccessFile& file, const ResourceSection& section);

}  // namespace vantorel::engine

// The rewrite of a program's icons where they are: the one planner of the
// replacements. Each icon gets an image of the icon file (or keeps its own);
// the images go to their places, the icon data entries name them, and every
// group entry describes the image of the icon it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "icon_file.h"
#include "icon_tree.h"
#include "files/random_access_file.h"
#include "pe/pe_layout.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// One image written: where, and which image of the icon file.
struct ImagePlace {
  int64_t at = 0;
  size_t image = 0;
};

// Which image each icon of the tree gets, and where.
struct ImageAssignment {
  static constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<ImagePlace> places;     // written in this order
  std::vector<size_t> place_of_icon;  // per icon: index into `places`; kNone: it keeps its old image
  // Per icon: the icon whose image the group entries naming it describe, and
  // name (its nID) when that is another; empty: each icon its own.
  std::vector<size_t> shown_by;
  // The data entries are rewritten to name the new images; an NSIS
  // installer's stay as they are (all_sizes.h).
  bool data_entries = true;
  // One image for the whole program, as the first-image replacement gives
  // it: every group entry describes image 0, also one that names no icon,
  // and an entry that overlapping groups share is one write. Otherwise an
  // entry that names no icon describes nothing and is left as it is.
  bool one_image_everywhere = false;
};

// What the planned rewrite of the entries holds, besides its writes.
struct IconRewrite {
  int icon_entries = 0, group_entries = 0;
  // A sound tree asks for neither: writes that share a byte undo one
  // another, and a write over the tree's own directories, entries or names
  // changes the tree under the rewrite.
  bool overlap = false, over_structure = false;
};

// The rewrite is planned, without writing, in two steps, each write checked
// against the resource section. First the images at their places: returns
// each place's RVA, and raises on a place that has none.
std::vector<int32_t> PlanImages(const ResourceSection& section, const std::vector<IconImage>& images,
                                const std::vector<ImagePlace>& places, WritePlan& plan, const WarningSink& warn);

// Then every icon data entry (its OffsetToData and Size: exactly the bytes
// of its image) and every group entry that describes an image (the part it
// shares with the icon file's directory entry), appended to `plan`, whose
// writes (the images' among them) are then checked together. Raises on an
// entry that would have to name an icon the loader would not find by it.
IconRewrite PlanEntries(const IconTree& tree, const ResourceSection& section, const std::vector<IconImage>& images,
                        const ImageAssignment& assignment, const std::vector<int32_t>& place_rva, WritePlan& plan);

// Plans, without writing, the new image at `new_image_offset`, and the
// rewrite of every icon data entry and every group-icon entry to describe it
// (the first-image replacement of the planner above). Every
// planned write has been checked against the resource section. Each data
// entry and each group is planned once however many entries lead to it, so
// the plan never holds more than the section's size in bytes. False after a
// warning.
bool Modify_Resource_Directories(const RandomAccessFile& file, const ResourceSection& section,
                                 int32_t new_image_offset, const IconImage& icon, WritePlan& plan,
                                 const WarningSink& warn);

}  // namespace vantorel::engine

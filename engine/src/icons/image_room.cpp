// Where the new image may go. Once every icon entry points at the new image,
// the old icon images and any padding nobody references are free; everything
// else in the resource section (the tree itself, other resources, the group
// icons) is in use and is never overwritten.
#include "image_room.h"

#include <algorithm>

#include "errors/guarded.h"
#include "icon_tree.h"
#include "pe/pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "resources/resource_types.h"
#include "resources/resource_walk.h"
#include "writes/write_plan.h"

namespace vantorel::engine {

namespace {

// [begin, end) in file offsets.
using Range = std::pair<int64_t, int64_t>;

// New images start on a 4-byte boundary, as resource compilers place them.
constexpr int64_t kImageAlignment = 4;

// Every byte range of the section that stays in use after the rewrite, sorted
// and merged.
// With `all_types` false only the icon and group-icon branches are mapped.
std::vector<Range> RangesInUse(const Reader& r, const ResourceSection& section, bool all_types) {
  std::vector<Range> used;
  auto add = [&](int64_t begin, int64_t size) {
    int64_t end = std::min(begin + size, r.end());
    begin = std::max(begin, r.begin());
    if (begin < end) used.emplace_back(begin, end);
  };
  WalkCallbacks cb;
  cb.want_type = [all_types](const ResourceEntry& t) {
    return all_types || t.Name == kRtIcon || t.Name == kRtGroupIcon;
  };
  cb.structure = add;
  cb.visit = [&](const LanguageVisit& v) {
    int32_t entry = DataEntryAt(section.root, v);
    if (!r.Contains(entry, 16)) return;
    add(entry, 16);
    if (v.type.Name == kRtIcon) return;  // icon images are what gets replaced
    // Data below the section (-1) is not in it; nor is any that overflows.
    int32_t data = RVA_to_Offset(section, r.I32(entry), {});
    if (data > 0) add(data, r.U32(int64_t{entry} + 4));
  };
  WalkResourceTree(r, section.root, cb);
  return MergedRanges(std::move(used));
}

bool Overlaps(const std::vector<Range>& used, int64_t begin, int64_t end) {
  return std::any_of(used.begin(), used.end(), [&](const Range& u) { return u.first < end && begin < u.second; });
}

// The stretches of the resource data that the data directory names and
// nothing in `used` covers, in file order.
std::vector<Stretch> FreeStretches(const std::vector<Range>& used, const ResourceSection& section) {
  int64_t area_begin = std::max<int64_t>(section.area_begin, section.raw);
  int64_t area_end = std::min(section.area_end, section.end);
  std::vector<Stretch> free;
  int64_t cursor = area_begin;
  for (const Range& u : used) {
    if (cursor >= area_end) break;
    if (u.second <= cursor) continue;
    if (u.first > cursor) free.push_back({cursor, std::min(u.first, area_end)});
    cursor = std::max(cursor, u.second);
  }
  if (cursor < area_end) free.push_back({cursor, area_end});
  return free;
}

}  // namespace

ImagePlacement FindImageRoom(const RandomAccessFile& file, const ResourceSection& section,
                             const IconImageRef& first, uint32_t bytes) {
  Reader r = ResourceSectionReader(file, section);
  ImagePlacement placement;
  bool fits_in_place = bytes <= first.Size && section.Contains(first.Offset, bytes);
  auto take_first_place = [&](const std::vector<Range>& in_use) {
    if (!fits_in_place || Overlaps(in_use, first.Offset, int64_t{first.Offset} + bytes)) return false;
    placement.offset = first.Offset;
    placement.in_place = true;
    placement.room = first.Size;
    return true;
  };
  std::vector<Range> used;
  try {
    used = RangesInUse(r, section, true);
  } catch (const EngineError&) {
    // A broken resource of some other type: where the free room lies is not
    // known, but the first image's own place still is, as long as it stays
    // clear of the icon branches of the tree.
    placement.damaged = true;
    take_first_place(RangesInUse(r, section, false));
    return placement;
  }
  if (take_first_place(used)) return placement;

  // The image goes at the start of the first free stretch that holds it.
  for (const Stretch& f : FreeStretches(used, section)) {
    int64_t start = (f.begin + kImageAlignment - 1) / kImageAlignment * kImageAlignment;
    int64_t room = f.end - start;
    if (room <= 0) continue;
    if (room < bytes) {
      placement.room = std::max(placement.room, room);
      continue;
    }
    placement.offset = static_cast<int32_t>(start);
    placement.room = room;
    return placement;
  }
  placement.offset = -1;
  return placement;
}

std::vector<Stretch> FreeRoom(const RandomAccessFile& file, const ResourceSection& section) {
  return FreeStretches(RangesInUse(ResourceSectionReader(file, section), section, true), section);
}

}  // namespace vantorel::engine

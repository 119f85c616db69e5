// Where the new image may go. Once every icon entry points at the new image,
// the old icon images and any padding nobody references are free; everything
// else in the resource section (the tree itself, other resources, the group
// icons) is in use and is never overwritten.
#include <algorithm>

#include "reader.h"
#include "resource_walk.h"
#include "vantorel/mod_pe.h"

namespace vantorel {

namespace {

struct Range {
  int64_t begin, end;
};

// New images start on a 4-byte boundary, as resource compilers place them.
constexpr int64_t kImageAlignment = 4;

// Every byte range of the section that stays in use after the rewrite, sorted
// and merged.
std::vector<Range> Ranges_In_Use(const Reader& r, int32_t root) {
  std::vector<Range> used;
  auto add = [&](int64_t begin, int64_t size) {
    int64_t end = std::min(begin + size, r.end());
    begin = std::max(begin, r.begin());
    if (begin < end) used.push_back({begin, end});
  };
  WalkCallbacks cb;
  cb.want_type = [](const ResourceEntry&) { return true; };
  cb.structure = add;
  cb.visit = [&](const LanguageVisit& v) {
    // The group-icon branch of the rewrite reads its data entries through the
    // low 24 bits of the offset, every other branch through all 32.
    uint32_t offset = v.type.Name == kRtGroupIcon ? v.language.OffsetToData & kLow24 : v.language.OffsetToData;
    int64_t entry = int64_t{root} + static_cast<int32_t>(offset);
    if (!r.Contains(entry, 16)) return;
    add(entry, 16);
    if (v.type.Name == kRtIcon) return;  // icon images are what gets replaced
    int64_t data = int64_t{r.I32(entry)} - g_Engine.Res_Section_VA + g_Engine.Res_Section_Raw;
    add(data, r.U32(entry + 4));
  };
  Walk_Resource_Tree(r, root, cb);

  std::sort(used.begin(), used.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
  std::vector<Range> merged;
  for (const Range& u : used) {
    if (!merged.empty() && u.begin <= merged.back().end) {
      merged.back().end = std::max(merged.back().end, u.end);
    } else {
      merged.push_back(u);
    }
  }
  return merged;
}

bool Overlaps(const std::vector<Range>& used, int64_t begin, int64_t end) {
  return std::any_of(used.begin(), used.end(), [&](const Range& u) { return u.begin < end && begin < u.end; });
}

}  // namespace

ImagePlacement Find_Image_Room(const RandomAccessFile& file, int32_t root, const IconImageRef& first,
                               uint32_t bytes) {
  Reader r = Resource_Section_Reader(file);
  std::vector<Range> used = Ranges_In_Use(r, root);

  ImagePlacement placement;
  if (bytes <= first.Size && In_Resource_Section(first.Offset, bytes) &&
      !Overlaps(used, first.Offset, int64_t{first.Offset} + bytes)) {
    placement.offset = first.Offset;
    placement.room = first.Size;
    return placement;
  }

  // Free stretches of the resource data that the data directory names, in
  // file order; the image goes at the start of the first that holds it.
  int64_t area_begin = std::max<int64_t>(g_Engine.Res_Area_Begin, g_Engine.Res_Section_Raw);
  int64_t area_end = std::min(g_Engine.Res_Area_End, g_Engine.Res_Section_End);
  int64_t cursor = area_begin;
  auto consider = [&](int64_t stretch_end) {
    int64_t start = (cursor + kImageAlignment - 1) / kImageAlignment * kImageAlignment;
    int64_t room = std::min(stretch_end, area_end) - start;
    if (room <= 0) return false;
    placement.room = std::max(placement.room, room);
    if (room < bytes) return false;
    placement.offset = static_cast<int32_t>(start);
    return true;
  };
  for (const Range& u : used) {
    if (u.end <= cursor) continue;
    if (u.begin > cursor && consider(u.begin)) return placement;
    cursor = std::max(cursor, u.end);
    if (cursor >= area_end) break;
  }
  if (cursor < area_end && consider(area_end)) return placement;
  placement.offset = -1;
  return placement;
}

}  // namespace vantorel

// The one planner of the replacements in place: the images, the icon data
// entries and the group entries, for whichever image each icon gets.
#include "icon_rewrite.h"

#include <unordered_set>

#include "icon_file.h"
#include "icon_tree.h"
#include "errors/guarded.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "pe/pe_headers.h"
#include "pe/pe_layout.h"
#include "resources/resource_walk.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// What a group entry describing `shown` holds: the image's part of the
// directory entry, and the icon's number when the entry named another.
std::vector<uint8_t> EntryBytes(const IconTree& tree, const GroupResource& g, const IconImage& image, size_t named,
                                size_t shown) {
  std::vector<uint8_t> entry(image.entry_bytes.begin(), image.entry_bytes.begin() + kSharedEntryBytes);
  if (shown == named) return entry;
  // Named by its number, the icon must be the one the loader finds.
  uint32_t id = tree.icons[shown].name;
  if (IsStringName(id) || tree.IconNamed(static_cast<uint16_t>(id), g.language) != shown) Raise(9);
  entry.push_back(static_cast<uint8_t>(id));
  entry.push_back(static_cast<uint8_t>(id >> 8));
  return entry;
}

}  // namespace

std::vector<int32_t> PlanImages(const ResourceSection& section, const std::vector<IconImage>& images,
                                const std::vector<ImagePlace>& places, WritePlan& plan, const WarningSink& warn) {
  GuardedPlan guarded(plan, section.raw, section.end);
  for (const ImagePlace& p : places) guarded.Add(p.at, images[p.image].bytes, PlannedWrite::Kind::Image);
  std::vector<int32_t> rva;
  for (const ImagePlace& p : places) {
    rva.push_back(Offset_to_RVA(section, static_cast<int32_t>(p.at), warn));
    if (rva.back() <= 0) Raise(9);  // no image lives at RVA 0, the headers do
  }
  return rva;
}

IconRewrite PlanEntries(const IconTree& tree, const ResourceSection& section, const std::vector<IconImage>& images,
                        const ImageAssignment& assignment, const std::vector<int32_t>& place_rva, WritePlan& plan) {
  IconRewrite done;
  GuardedPlan guarded(plan, section.raw, section.end);
  // Many language entries may lead to one data entry, and many data entries
  // to one group: the tree lists each once, so a crafted tree cannot make
  // the plan (or the time to make it) grow with the square of the section.
  for (size_t i = 0; i < tree.icons.size() && assignment.data_entries; ++i) {
    size_t p = assignment.place_of_icon[i];
    if (p == ImageAssignment::kNone) continue;
    const IconImage& image = images[assignment.places[p].image];
    guarded.Add(tree.icons[i].data_entry,
                DataEntryFields(static_cast<uint32_t>(place_rva[p]), static_cast<uint32_t>(image.bytes.size())),
                PlannedWrite::Kind::IconEntry);
    ++done.icon_entries;
  }
  // With one image everywhere, groups that overlap share entries written
  // with the same bytes: one write each.
  std::unordered_set<int64_t> planned;
  for (const GroupResource& g : tree.groups) {
    for (const GroupEntryRef& e : g.entries) {
      std::optional<size_t> icon = tree.IconNamed(e.nID, g.language);
      std::vector<uint8_t> bytes;
      if (assignment.one_image_everywhere) {
        if (!planned.insert(e.at).second) continue;
        bytes = EntryBytes(tree, g, images[0], 0, 0);
      } else if (icon) {
        size_t shown = assignment.shown_by.empty() ? *icon : assignment.shown_by[*icon];
        bytes = EntryBytes(tree, g, images[assignment.places[assignment.place_of_icon[shown]].image], *icon, shown);
      } else {
        continue;  // it names no icon: it describes nothing
      }
      guarded.Add(e.at, std::move(bytes), PlannedWrite::Kind::GroupEntry);
      ++done.group_entries;
    }
  }
  done.over_structure = WritesCover(plan, tree.structure);
  done.overlap = AnyOverlap(plan);
  return done;
}

bool Modify_Resource_Directories(const RandomAccessFile& file, const ResourceSection& section,
                                 int32_t new_image_offset, const IconImage& icon, WritePlan& plan,
                                 const WarningSink& warn) {
  return Trap(warn, kModifyText, [&]() -> bool {
    WritePlan writes;
    std::vector<int32_t> rva = PlanImages(section, {icon}, {{new_image_offset, 0}}, writes, warn);
    Reader r = ResourceSectionReader(file, section);
    IconTree tree = ReadIconTree(r, section, warn);
    ImageAssignment one{{{new_image_offset, 0}}, std::vector<size_t>(tree.icons.size(), 0), {}, true, true};
    IconRewrite rewrite = PlanEntries(tree, section, {icon}, one, rva, writes);
    // The tree's own directories, entries and names are read, never written:
    // a group whose data lies over them would change the tree under the
    // rewrite, and leave icon entries that were never rewritten.
    if (rewrite.over_structure) Raise(9);
    plan.insert(plan.end(), writes.begin(), writes.end());
    return true;
  });
}

}  // namespace vantorel::engine

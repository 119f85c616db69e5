// Plans the rewrite of the icon and group-icon directory entries for one new
// image.
#include <unordered_set>

#include "driver.h"
#include "icon_tree.h"
#include "traps.h"

namespace vantorel::engine {

bool Modify_Resource_Directories(const RandomAccessFile& file, const ResourceSection& section,
                                 int32_t new_image_offset, const IconImage& icon, WritePlan& plan,
                                 const WarningSink& warn) {
  return Trap(warn, kModifyText, [&]() -> bool {
    Reader r = ResourceSectionReader(file, section);
    if (!section.Contains(new_image_offset, icon.entry.dwBytesInRes)) Raise(9);
    int32_t new_rva = Offset_to_RVA(section, new_image_offset, warn);
    if (new_rva <= 0) Raise(9);  // no image lives at RVA 0, the headers do

    // Many language entries may lead to one data entry, and many data entries
    // to one group: the tree lists each once, so a crafted tree cannot make
    // the plan (or the time to make it) grow with the square of the section.
    IconTree tree = ReadIconTree(r, section, warn);
    WritePlan writes;
    GuardedPlan guarded(writes, section);
    // OffsetToData and Size: every data entry describes exactly the bytes it
    // points at.
    std::vector<uint8_t> fields = DataEntryFields(static_cast<uint32_t>(new_rva), icon.entry.dwBytesInRes);
    for (const IconResource& i : tree.icons) guarded.Add(i.data_entry, fields, PlannedWrite::Kind::IconEntry);
    // Every entry of every group gets the new image's description; nID stays.
    // Groups that overlap share entries: the same place written with the
    // same bytes is one write.
    std::vector<uint8_t> shared(icon.entry_bytes.begin(), icon.entry_bytes.begin() + kSharedEntryBytes);
    std::unordered_set<int64_t> planned;
    for (const GroupResource& g : tree.groups) {
      for (const GroupEntryRef& e : g.entries) {
        if (planned.insert(e.at).second) guarded.Add(e.at, shared, PlannedWrite::Kind::GroupEntry);
      }
    }
    // The tree's own directories, entries and names are read, never written:
    // a group whose data lies over them would change the tree under the
    // rewrite, and leave icon entries that were never rewritten.
    if (WritesCover(writes, tree.structure)) Raise(9);
    plan.insert(plan.end(), writes.begin(), writes.end());
    return true;
  });
}

}  // namespace vantorel::engine

// Plans the rewrite of the icon and group-icon directory entries, and writes a
// plan so that a failure midway leaves the file as it was.
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "driver.h"
#include "reader.h"
#include "resource_walk.h"
#include "traps.h"
#include "mod_pe.h"

namespace vantorel::engine {

namespace {

// bWidth .. dwBytesInRes: the part that ICONDIRENTRY and GRPICONDIRENTRY share.
constexpr size_t kSharedEntryBytes = 12;
constexpr int64_t kDataEntrySize = 16;   // IMAGE_RESOURCE_DATA_ENTRY
constexpr int64_t kGrpIconDirSize = 6;   // GRPICONDIR

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Collects the writes of one rewrite. Many language entries may lead to one
// data entry, and many data entries to one group: each is planned once, so a
// crafted tree cannot make the plan (or the time to make it) grow with the
// square of the section.
class Planner {
 public:
  Planner(const Reader& r, const ResourceSection& section, const IconImage& icon, int32_t new_rva,
          const WarningSink& warn)
      : r_(r), section_(section), icon_(icon), new_rva_(new_rva), warn_(warn),
        // Distinct groups cannot hold more entries than fit in the section.
        group_entry_budget_((section.end - section.raw) / kGrpIconDirEntrySize + 1) {}

  void Visit(const LanguageVisit& v) {
    int32_t entry = Data_Entry_At(section_.root, v);
    if (!r_.Contains(entry, kDataEntrySize)) Raise(9);
    if (v.type.Name == kRtGroupIcon) {
      if (group_data_entries_.insert(entry).second) Plan_Group(entry);
      return;
    }
    // Kept apart from the groups' data entries: one entry that both branches
    // name is still rewritten as an icon's.
    if (!icon_data_entries_.insert(entry).second) return;
    // OffsetToData and Size: the entry describes exactly the bytes it points at.
    std::vector<uint8_t> fields;
    Put32(fields, static_cast<uint32_t>(new_rva_));
    Put32(fields, icon_.entry.dwBytesInRes);
    Plan(entry, std::move(fields), PlannedWrite::Kind::IconEntry);
  }

  WritePlan& writes() { return writes_; }

 private:
  // Every entry of one group icon gets the new image's description; nID stays.
  void Plan_Group(int32_t data_entry) {
    int32_t rva = r_.I32(data_entry);
    int64_t size = r_.U32(int64_t{data_entry} + 4);
    int32_t group = RVA_to_Offset(section_, rva, warn_);
    // -1 (below the section) and the 0 after a conversion warning both fall
    // outside the section and are refused here.
    if (!section_.Contains(group, kGrpIconDirSize)) Raise(9);
    if (!groups_.insert(group).second) return;
    uint16_t idCount = r_.U16(int64_t{group} + 4);
    // An idCount that runs past the group's own data, or past the section, is
    // malformed (the nID that is not written must be there too).
    int64_t group_bytes = kGrpIconDirSize + int64_t{idCount} * kGrpIconDirEntrySize;
    if (group_bytes > size || !section_.Contains(group, group_bytes)) Raise(9);
    std::vector<uint8_t> shared(icon_.entry_bytes.begin(), icon_.entry_bytes.begin() + kSharedEntryBytes);
    for (int e = 0; e < idCount; ++e) {
      if (--group_entry_budget_ < 0) Raise(9);  // groups that overlap each other
      int64_t at = int64_t{group} + kGrpIconDirSize + int64_t{e} * kGrpIconDirEntrySize;
      // The same place written with the same bytes is one write.
      if (group_entries_.insert(at).second) Plan(at, shared, PlannedWrite::Kind::GroupEntry);
    }
  }

  // Every write must land inside the resource section's raw data.
  void Plan(int64_t offset, std::vector<uint8_t> bytes, PlannedWrite::Kind kind) {
    if (!section_.Contains(offset, static_cast<int64_t>(bytes.size()))) Raise(9);
    writes_.push_back({offset, std::move(bytes), kind});
  }

  const Reader& r_;
  const ResourceSection& section_;
  const IconImage& icon_;
  int32_t new_rva_;
  const WarningSink& warn_;
  int64_t group_entry_budget_;
  std::unordered_set<int32_t> icon_data_entries_, group_data_entries_, groups_;
  std::unordered_set<int64_t> group_entries_;
  WritePlan writes_;
};

}  // namespace

// Whether a write touches any of the `ranges` ([begin, end) pairs).
bool Writes_Cover(const WritePlan& writes, std::vector<std::pair<int64_t, int64_t>>& ranges) {
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<int64_t, int64_t>> merged;
  for (const auto& range : ranges) {
    if (!merged.empty() && range.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, range.second);
    } else {
      merged.push_back(range);
    }
  }
  for (const PlannedWrite& w : writes) {
    // The first range that ends after the write starts: disjoint and sorted,
    // the ranges' ends ascend too.
    auto it = std::upper_bound(merged.begin(), merged.end(), w.offset,
                               [](int64_t at, const std::pair<int64_t, int64_t>& r) { return at < r.second; });
    if (it != merged.end() && it->first < w.offset + static_cast<int64_t>(w.bytes.size())) return true;
  }
  return false;
}

bool Modify_Resource_Directories(const RandomAccessFile& file, const ResourceSection& section,
                                 int32_t new_image_offset, const IconImage& icon, WritePlan& plan,
                                 const WarningSink& warn) {
  return Trap(warn, kModifyText, [&]() -> bool {
    Reader r = Resource_Section_Reader(file, section);
    if (!section.Contains(new_image_offset, icon.entry.dwBytesInRes)) Raise(9);
    int32_t new_rva = Offset_to_RVA(section, new_image_offset, warn);
    if (new_rva <= 0) Raise(9);  // no image lives at RVA 0, the headers do

    Planner planner(r, section, icon, new_rva, warn);
    WalkCallbacks cb;
    cb.want_type = [](const ResourceEntry& t) { return t.Name == kRtIcon || t.Name == kRtGroupIcon; };
    cb.visit = [&](const LanguageVisit& v) { planner.Visit(v); };
    // The tree's own directories, entries and names are read, never written:
    // a group whose data lies over them would change the tree under the
    // rewrite, and leave icon entries that were never rewritten.
    std::vector<std::pair<int64_t, int64_t>> structure;
    cb.structure = [&](int64_t offset, int64_t size) { structure.emplace_back(offset, offset + size); };
    Walk_Resource_Tree(r, section.root, cb);
    if (Writes_Cover(planner.writes(), structure)) Raise(9);
    plan.insert(plan.end(), planner.writes().begin(), planner.writes().end());
    return true;
  });
}

bool Apply_Writes(RandomAccessFile& file, const WritePlan& plan, bool& restored) {
  // Everything a rollback needs is read (and allocated) before the first
  // write, so running out of memory can only happen while nothing is changed.
  restored = true;
  std::vector<std::vector<uint8_t>> kept(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    kept[i].resize(plan[i].bytes.size());
    if (!file.ReadAt(plan[i].offset, kept[i].data(), kept[i].size())) return false;
  }
  size_t done = 0;
  while (done < plan.size() && file.WriteAt(plan[done].offset, plan[done].bytes.data(), plan[done].bytes.size())) {
    ++done;
  }
  if (done == plan.size() && file.Flush()) {
    restored = false;
    return true;
  }
  // Put back what each write replaced, the failed one included (it may have
  // changed part of its bytes), last first, so writes that overlap unwind to
  // the original bytes.
  for (size_t i = std::min(done + 1, plan.size()); i-- > 0;) {
    restored = file.WriteAt(plan[i].offset, kept[i].data(), kept[i].size()) && restored;
  }
  restored = file.Flush() && restored;
  return false;
}

}  // namespace vantorel::engine

#include "icon_tree.h"

#include <unordered_set>

#include "resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kDataEntrySize = 16;  // IMAGE_RESOURCE_DATA_ENTRY
constexpr int64_t kGrpIconDirSize = 6;  // GRPICONDIR

}  // namespace

std::optional<size_t> IconTree::Icon_Named(uint16_t id, uint32_t language) const {
  auto same = first_by_name_and_language.find({id, language});
  if (same != first_by_name_and_language.end()) return same->second;
  auto any = first_by_name.find(id);
  if (any != first_by_name.end()) return any->second;
  return std::nullopt;
}

IconTree Read_Icon_Tree(const Reader& r, const ResourceSection& section, const WarningSink& warn) {
  IconTree tree;
  std::unordered_set<int32_t> data_entries, groups;
  // Distinct groups cannot hold more entries than fit in the section.
  int64_t entry_budget = (section.end - section.raw) / kGrpIconDirEntrySize + 1;
  WalkCallbacks cb;
  cb.want_type = [](const ResourceEntry& t) { return t.Name == kRtIcon || t.Name == kRtGroupIcon; };
  cb.visit = [&](const LanguageVisit& v) {
    int32_t entry = Data_Entry_At(section.root, v);
    if (!r.Contains(entry, kDataEntrySize)) Raise(9);
    if (!data_entries.insert(entry).second) return;
    int32_t data = RVA_to_Offset(section, r.I32(entry), warn);
    uint32_t size = r.U32(int64_t{entry} + 4);
    if (v.type.Name == kRtIcon) {
      tree.first_by_name.emplace(v.name.Name, tree.icons.size());
      tree.first_by_name_and_language.emplace(std::make_pair(v.name.Name, v.language.Name), tree.icons.size());
      tree.icons.push_back({v.name.Name, v.language.Name, entry, data, size});
      return;
    }
    if (!section.Contains(data, kGrpIconDirSize)) Raise(9);
    if (!groups.insert(data).second) return;
    int16_t count = r.I16(int64_t{data} + 4);
    if (count < 0 || kGrpIconDirSize + int64_t{count} * kGrpIconDirEntrySize > size) Raise(9);
    GroupResource group{v.name.Name, v.language.Name, {}};
    for (int16_t e = 0; e < count; ++e) {
      if (--entry_budget < 0) Raise(9);  // groups that overlap each other
      GroupEntryRef ref;
      ref.at = int64_t{data} + kGrpIconDirSize + int64_t{e} * kGrpIconDirEntrySize;
      r.Bytes(ref.at, ref.shared.data(), kSharedEntryBytes);
      ref.nID = r.U16(ref.at + kSharedEntryBytes);
      group.entries.push_back(ref);
    }
    tree.groups.push_back(std::move(group));
  };
  cb.structure = [&](int64_t offset, int64_t size) { tree.structure.emplace_back(offset, offset + size); };
  Walk_Resource_Tree(r, section.root, cb);
  return tree;
}

}  // namespace vantorel::engine

#include "icon_tree.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kDataEntrySize = 16;  // IMAGE_RESOURCE_DATA_ENTRY
constexpr int64_t kGrpIconDirSize = 6;  // GRPICONDIR
// Enough of an old image to read its BITMAPINFOHEADER or PNG header.
constexpr uint32_t kHeaderBytes = 40;

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
  std::unordered_map<int32_t, size_t> icon_of_entry;
  // Distinct groups cannot hold more entries than fit in the section.
  int64_t entry_budget = (section.end - section.raw) / kGrpIconDirEntrySize + 1;
  WalkCallbacks cb;
  cb.want_type = [](const ResourceEntry& t) { return t.Name == kRtIcon || t.Name == kRtGroupIcon; };
  cb.visit = [&](const LanguageVisit& v) {
    int32_t entry = Data_Entry_At(section.root, v);
    if (!r.Contains(entry, kDataEntrySize)) Raise(9);
    // A data entry belongs to the branch that reaches it first.
    if (v.type.Name == kRtIcon) {
      if (data_entries.count(entry)) return;
      // Every name and language that leads to an icon finds it, though the
      // icon is listed once, under the first.
      auto [listed, added] = icon_of_entry.emplace(entry, tree.icons.size());
      tree.first_by_name.emplace(v.name.Name, listed->second);
      tree.first_by_name_and_language.emplace(std::make_pair(v.name.Name, v.language.Name), listed->second);
      if (!added) return;
      int32_t data = RVA_to_Offset(section, r.I32(entry), warn);
      tree.icons.push_back({v.name.Name, v.language.Name, entry, data, r.U32(int64_t{entry} + 4)});
      return;
    }
    if (icon_of_entry.count(entry) || !data_entries.insert(entry).second) return;
    int32_t data = RVA_to_Offset(section, r.I32(entry), warn);
    uint32_t size = r.U32(int64_t{entry} + 4);
    if (!section.Contains(data, kGrpIconDirSize)) Raise(9);
    if (!groups.insert(data).second) return;
    uint16_t count = r.U16(int64_t{data} + 4);
    if (kGrpIconDirSize + int64_t{count} * kGrpIconDirEntrySize > size) Raise(9);
    GroupResource group{v.name.Name, v.language.Name, {}};
    for (int e = 0; e < count; ++e) {
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

IconWants Wanted_Sizes(const Reader& r, const IconTree& tree, const IconSize& fallback) {
  std::vector<std::optional<IconSize>> wanted(tree.icons.size());
  IconWants w;
  w.ordinals.assign(tree.icons.size(), 0);
  std::vector<bool> same_language(tree.icons.size(), false);
  for (const GroupResource& g : tree.groups) {
    std::map<std::tuple<int, int, int>, size_t> seen;  // entries of each exact size so far
    for (const GroupEntryRef& e : g.entries) {
      IconSize size = Entry_Size(e.shared);
      size_t ordinal = seen[{size.width, size.height, size.bits}]++;
      std::optional<size_t> icon = tree.Icon_Named(e.nID, g.language);
      if (!icon) continue;
      bool same = tree.icons[*icon].language == g.language;
      if (!wanted[*icon] || (same && !same_language[*icon])) {
        wanted[*icon] = size;
        w.ordinals[*icon] = ordinal;
        same_language[*icon] = same;
      }
    }
  }
  for (size_t i = 0; i < tree.icons.size(); ++i) {
    if (wanted[i]) {
      w.sizes.push_back(*wanted[i]);
      w.from.push_back(WantedFrom::Group);
      continue;
    }
    const IconResource& icon = tree.icons[i];
    uint8_t header[kHeaderBytes] = {};
    uint32_t n = std::min(icon.size, kHeaderBytes);
    IconSize own;
    if (icon.offset > 0 && r.Contains(icon.offset, n)) {
      r.Bytes(icon.offset, header, n);
      own = Image_Header_Size(header, n);
    }
    w.sizes.push_back(own.width > 0 ? own : fallback);
    w.from.push_back(own.width > 0 ? WantedFrom::OldImage : WantedFrom::IconFile);
  }
  return w;
}

}  // namespace vantorel::engine

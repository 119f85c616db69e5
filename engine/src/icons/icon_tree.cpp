#include "icon_tree.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "resources/resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kDataEntrySize = 16;  // IMAGE_RESOURCE_DATA_ENTRY
constexpr int64_t kGrpIconDirSize = 6;  // GRPICONDIR
// Enough of an old image to read its BITMAPINFOHEADER or PNG header.
constexpr uint32_t kHeaderBytes = 40;

}  // namespace

std::optional<size_t> IconTree::IconNamed(uint16_t id, uint32_t language) const {
  auto same = first_by_name_and_language.find({id, language});
  if (same != first_by_name_and_language.end()) return same->second;
  auto any = first_by_name.find(id);
  if (any != first_by_name.end()) return any->second;
  return std::nullopt;
}

namespace {

// The walk: every language entry of the icon branch (and, with `groups`, of
// the group branch), in tree order, handed to `take` with the data entry it
// names; one outside the tree's reader raises, or with Damage::Skip is
// handed over without it.
void WalkLeaves(const Reader& r, int32_t root, bool groups, Damage damage, const std::function<void(const IconLeaf&)>& take,
                const std::function<void(int64_t, int64_t)>& structure) {
  WalkCallbacks cb;
  cb.want_type = [groups](const ResourceEntry& t) { return t.Name == kRtIcon || (groups && t.Name == kRtGroupIcon); };
  cb.visit = [&](const LanguageVisit& v) {
    IconLeaf leaf{v.type.Name, v.name.Name, v.language.Name};
    int32_t entry = DataEntryAt(root, v);
    if (r.Contains(entry, kDataEntrySize)) {
      leaf.data_entry = entry;
      leaf.rva = r.U32(entry);
      leaf.size = r.U32(int64_t{entry} + 4);
    } else if (damage == Damage::Refuse) {
      Raise(9);
    }
    take(leaf);
  };
  cb.structure = structure;
  WalkResourceTree(r, root, cb);
}

// Each icon data entry once, under the first leaf that leads to it; every
// name and language that leads to it finds it.
void ReadIcons(const DataOffset& data_offset, IconTree& tree, std::unordered_map<int32_t, size_t>& icon_of_entry) {
  for (IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtIcon || leaf.data_entry < 0) continue;
    auto [listed, added] = icon_of_entry.emplace(leaf.data_entry, tree.icons.size());
    leaf.index = listed->second;
    tree.first_by_name.emplace(leaf.name, listed->second);
    tree.first_by_name_and_language.emplace(std::make_pair(leaf.name, leaf.language), listed->second);
    if (!added) continue;
    int64_t offset = data_offset(leaf.rva, leaf.size);
    tree.icons.push_back({leaf.name, leaf.language, leaf.data_entry,
                          offset >= 0 && offset <= INT32_MAX ? static_cast<int32_t>(offset) : -1, leaf.size});
  }
}

// Each group's data once, however many entries lead to it.
void ReadGroups(const Reader& data, const DataOffset& data_offset, Damage damage, IconTree& tree,
                const std::unordered_map<int32_t, size_t>& icon_of_entry) {
  // Distinct groups cannot hold more entries than fit in the data.
  int64_t entry_budget = (data.end() - data.begin()) / kGrpIconDirEntrySize + 1;
  std::unordered_map<int64_t, size_t> group_at;
  auto damaged = [&] {
    if (damage == Damage::Refuse) Raise(9);
  };
  for (IconLeaf& leaf : tree.leaves) {
    if (leaf.type != kRtGroupIcon || leaf.data_entry < 0 || icon_of_entry.count(leaf.data_entry)) continue;
    int64_t at = data_offset(leaf.rva, leaf.size);
    if (at <= 0 || !data.Contains(at, kGrpIconDirSize)) {
      damaged();
      continue;
    }
    auto [listed, added] = group_at.emplace(at, tree.groups.size());
    leaf.index = listed->second;
    if (!added) continue;
    int64_t count = data.U16(at + 4);
    if (kGrpIconDirSize + count * kGrpIconDirEntrySize > leaf.size) {
      damaged();
      count = leaf.size < kGrpIconDirSize ? 0 : (leaf.size - kGrpIconDirSize) / kGrpIconDirEntrySize;
    }
    GroupResource group{leaf.name, leaf.language, at, {}};
    for (int64_t e = 0; e < count; ++e) {
      GroupEntryRef ref;
      ref.at = at + kGrpIconDirSize + e * kGrpIconDirEntrySize;
      // Groups that overlap each other, or entries past the data.
      if (--entry_budget < 0 || !data.Contains(ref.at, kGrpIconDirEntrySize)) {
        damaged();
        break;
      }
      data.Bytes(ref.at, ref.shared.data(), kSharedEntryBytes);
      ref.nID = data.U16(ref.at + kSharedEntryBytes);
      group.entries.push_back(ref);
    }
    tree.groups.push_back(std::move(group));
  }
}

}  // namespace

IconTree ReadIconTree(const Reader& tree_reader, int32_t root, const Reader& data, const DataOffset& data_offset,
                      Damage damage) {
  IconTree tree;
  WalkLeaves(
      tree_reader, root, true, damage, [&](const IconLeaf& leaf) { tree.leaves.push_back(leaf); },
      [&](int64_t offset, int64_t size) { tree.structure.emplace_back(offset, offset + size); });
  std::unordered_map<int32_t, size_t> icon_of_entry;
  ReadIcons(data_offset, tree, icon_of_entry);
  ReadGroups(data, data_offset, damage, tree, icon_of_entry);
  return tree;
}

IconTree ReadIconTree(const Reader& r, const ResourceSection& section, const WarningSink& warn, Damage damage) {
  DataOffset in_section = [&](uint32_t rva, uint32_t) -> int64_t {
    return RVA_to_Offset(section, static_cast<int32_t>(rva), warn);
  };
  return ReadIconTree(r, section.root, r, in_section, damage);
}

void ReadIconLeaves(const Reader& r, int32_t root, const std::function<void(const IconLeaf&)>& take) {
  WalkLeaves(r, root, false, Damage::Refuse, take, {});
}

IconWants WantedSizes(const Reader& r, const IconTree& tree, const IconSize& fallback) {
  std::vector<std::optional<IconSize>> wanted(tree.icons.size());
  IconWants w;
  w.ordinals.assign(tree.icons.size(), 0);
  std::vector<bool> same_language(tree.icons.size(), false);
  for (const GroupResource& g : tree.groups) {
    std::map<std::tuple<int, int, int>, size_t> seen;  // entries of each exact size so far
    for (const GroupEntryRef& e : g.entries) {
      IconSize size = EntrySize(e.shared);
      size_t ordinal = seen[{size.width, size.height, size.bits}]++;
      std::optional<size_t> icon = tree.IconNamed(e.nID, g.language);
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
      own = ImageHeaderSize(header, n);
    }
    w.sizes.push_back(own.width > 0 ? own : fallback);
    w.from.push_back(own.width > 0 ? WantedFrom::OldImage : WantedFrom::IconFile);
  }
  return w;
}

}  // namespace vantorel::engine

#include "icon_model.h"

#include <algorithm>

#include "resources/resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kGrpIconDirSize = 6;  // GRPICONDIR

}  // namespace

IconModel ReadIconModel(const Reader& file, const PeHeaders& h, const Reader& tree_reader, int32_t root) {
  IconModel m;
  DataOffset anywhere = [&](uint32_t rva, uint32_t size) -> int64_t {
    int64_t at = h.FileOffset(rva, size);
    return at > 0 && file.Contains(at, size) ? at : -1;
  };
  m.tree = ReadIconTree(tree_reader, root, file, anywhere, Damage::Refuse);
  for (const IconLeaf& leaf : m.tree.leaves) {
    if (leaf.type == kRtIcon) {
      m.icon_of_leaf.push_back(leaf.index);
      if (!IsStringName(leaf.name)) m.last_icon_number = std::max(m.last_icon_number, leaf.name);
    } else {
      m.group_of_leaf.push_back(leaf.index);
    }
  }
  // New icons are numbered past every number a group entry names too: an
  // entry naming a missing icon would otherwise come to name a new one that
  // holds another size.
  for (const GroupResource& group : m.tree.groups) {
    for (const GroupEntryRef& e : group.entries) m.last_icon_number = std::max<uint32_t>(m.last_icon_number, e.nID);
  }
  for (const IconResource& icon : m.tree.icons) m.icon_names.push_back(ResourceName(tree_reader, root, icon.name));
  for (const GroupResource& group : m.tree.groups) {
    m.group_names.push_back(ResourceName(tree_reader, root, group.name));
    std::vector<uint8_t> header(kGrpIconDirSize);
    file.Bytes(group.at, header.data(), kGrpIconDirSize);
    m.group_headers.push_back(std::move(header));
  }
  return m;
}

}  // namespace vantorel::engine

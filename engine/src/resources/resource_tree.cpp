#include "resource_tree.h"

#include <algorithm>

#include "files/little_endian.h"
#include "resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kSubdirectory = 0x80000000u;
constexpr uint32_t kNamed = 0x80000000u;
constexpr size_t kDirectorySize = 16, kEntrySize = 8, kDataEntrySize = 16;

ResourceId IdOf(const Reader& r, int32_t root, uint32_t raw) {
  if (!IsStringName(raw)) return ResourceId::Number(raw);
  std::optional<std::u16string> name = ResourceNameUnits(r, root, raw);
  if (!name) Raise(9);
  return {true, 0, *name};
}

// Named entries first, then the numbers, each in the order given: the order
// the loader's search expects of a directory.
template <typename Node>
std::vector<const Node*> DirectoryOrder(const std::vector<Node>& nodes) {
  std::vector<const Node*> order;
  for (const Node& n : nodes) order.push_back(&n);
  std::stable_partition(order.begin(), order.end(), [](const Node* n) { return n->id.named; });
  return order;
}

template <typename Node>
Node& Numbered(std::vector<Node>& nodes, uint32_t number) {
  auto it = std::find_if(nodes.begin(), nodes.end(), [&](const Node& n) { return !n.id.named && n.id.number == number; });
  if (it != nodes.end()) return *it;
  auto place = std::find_if(nodes.begin(), nodes.end(), [&](const Node& n) { return !n.id.named && n.id.number > number; });
  Node made;
  made.id = ResourceId::Number(number);
  return *nodes.insert(place, std::move(made));
}

// Lays the tree out in three passes over the same shape: the directories'
// places, the data entries' and names' places, then the bytes.
class TreeWriter {
 public:
  explicit TreeWriter(const ResourceTree& tree) : tree_(tree) {}

  std::vector<uint8_t> Bytes() {
    size_t directories = kDirectorySize + kEntrySize * tree_.types.size();
    size_t leaves = 0, name_bytes = 0;
    auto name_size = [](const ResourceId& id) { return id.named ? 2 + 2 * id.name.size() : 0; };
    for (const TypeNode& t : tree_.types) {
      name_bytes += name_size(t.id);
      directories += kDirectorySize + kEntrySize * t.names.size();
      for (const NameNode& n : t.names) {
        name_bytes += name_size(n.id);
        directories += kDirectorySize + kEntrySize * n.languages.size();
        leaves += n.languages.size();
      }
    }
    next_directory_ = 0;
    next_leaf_ = directories;
    next_name_ = directories + kDataEntrySize * leaves;
    out_.assign((next_name_ + name_bytes + 3) / 4 * 4, 0);

    size_t root = TakeDirectory(tree_.types.size());
    PutCounts(root, DirectoryOrder(tree_.types));
    size_t entry = root + kDirectorySize;
    for (const TypeNode* t : DirectoryOrder(tree_.types)) {
      size_t names = TakeDirectory(t->names.size());
      PutEntry(entry, t->id, kSubdirectory | static_cast<uint32_t>(names));
      entry += kEntrySize;
      WriteNames(*t, names);
    }
    return std::move(out_);
  }

 private:
  void WriteNames(const TypeNode& t, size_t dir) {
    PutCounts(dir, DirectoryOrder(t.names));
    size_t entry = dir + kDirectorySize;
    for (const NameNode* n : DirectoryOrder(t.names)) {
      size_t languages = TakeDirectory(n->languages.size());
      PutEntry(entry, n->id, kSubdirectory | static_cast<uint32_t>(languages));
      entry += kEntrySize;
      WriteLanguages(*n, languages);
    }
  }

  void WriteLanguages(const NameNode& n, size_t dir) {
    PutLe(out_, dir + 14, static_cast<uint32_t>(n.languages.size()), 2);
    size_t entry = dir + kDirectorySize;
    for (const LanguageNode& l : n.languages) {
      size_t leaf = next_leaf_;
      next_leaf_ += kDataEntrySize;
      PutLe(out_, entry, l.language, 4);
      PutLe(out_, entry + 4, static_cast<uint32_t>(leaf), 4);
      entry += kEntrySize;
      PutLe(out_, leaf, l.data.rva, 4);
      PutLe(out_, leaf + 4, l.data.size, 4);
      PutLe(out_, leaf + 8, l.data.code_page, 4);
      PutLe(out_, leaf + 12, l.data.reserved, 4);
    }
  }

  size_t TakeDirectory(size_t entries) {
    size_t at = next_directory_;
    next_directory_ += kDirectorySize + kEntrySize * entries;
    return at;
  }

  template <typename Node>
  void PutCounts(size_t dir, const std::vector<const Node*>& order) {
    size_t named = static_cast<size_t>(std::count_if(order.begin(), order.end(), [](const Node* n) { return n->id.named; }));
    PutLe(out_, dir + 12, static_cast<uint32_t>(named), 2);
    PutLe(out_, dir + 14, static_cast<uint32_t>(order.size() - named), 2);
  }

  void PutEntry(size_t entry, const ResourceId& id, uint32_t offset_to_data) {
    PutLe(out_, entry + 4, offset_to_data, 4);
    if (!id.named) {
      PutLe(out_, entry, id.number, 4);
      return;
    }
    size_t at = next_name_;
    next_name_ += 2 + 2 * id.name.size();
    PutLe(out_, at, static_cast<uint32_t>(id.name.size()), 2);
    for (size_t i = 0; i < id.name.size(); ++i) PutLe(out_, at + 2 + 2 * i, id.name[i], 2);
    PutLe(out_, entry, kNamed | static_cast<uint32_t>(at), 4);
  }

  const ResourceTree& tree_;
  std::vector<uint8_t> out_;
  size_t next_directory_ = 0, next_leaf_ = 0, next_name_ = 0;
};

}  // namespace

TypeNode& ResourceTree::Type(uint32_t number) { return Numbered(types, number); }

NameNode& ResourceTree::Name(TypeNode& type, uint32_t number) { return Numbered(type.names, number); }

const TypeNode* ResourceTree::FindType(uint32_t number) const {
  for (const TypeNode& t : types) {
    if (!t.id.named && t.id.number == number) return &t;
  }
  return nullptr;
}

ResourceTree ReadResourceTree(const Reader& r, int32_t root) {
  ResourceTree tree;
  // Branches arrive type by type, name by name, in stored order: a new entry
  // opens a new node.
  bool any_type = false, any_name = false;
  ResourceEntry type_seen{}, name_seen{};
  WalkCallbacks cb;
  cb.want_type = [](const ResourceEntry&) { return true; };
  cb.visit = [&](const LanguageVisit& v) {
    if (!any_type || v.type.Name != type_seen.Name || v.type.OffsetToData != type_seen.OffsetToData) {
      tree.types.push_back({IdOf(r, root, v.type.Name), {}});
      type_seen = v.type;
      any_type = true;
      any_name = false;
    }
    TypeNode& type = tree.types.back();
    if (!any_name || v.name.Name != name_seen.Name || v.name.OffsetToData != name_seen.OffsetToData) {
      type.names.push_back({IdOf(r, root, v.name.Name), {}});
      name_seen = v.name;
      any_name = true;
    }
    int32_t entry = DataEntryAt(root, v);
    if (!r.Contains(entry, kDataEntrySize)) Raise(9);
    ResourceData data{r.U32(entry), r.U32(int64_t{entry} + 4), r.U32(int64_t{entry} + 8), r.U32(int64_t{entry} + 12),
                      entry};
    type.names.back().languages.push_back({v.language.Name, data});
  };
  WalkResourceTree(r, root, cb);
  return tree;
}

std::vector<uint8_t> TreeBytes(const ResourceTree& tree) { return TreeWriter(tree).Bytes(); }

}  // namespace vantorel::engine

// The plan of what --add-sizes adds: which image each icon gets, what each
// group gains, and the bytes of the section that holds them.
#include "added_icons.h"

#include <algorithm>
#include <map>
#include <set>

#include "added_section.h"
#include "resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kGrpIconDirSize = 6;
constexpr uint32_t kImageAlignment = 8, kGroupAlignment = 4;

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// One entry a group gains.
struct Addition {
  size_t group;  // index into the model's groups; past them: the group made new
  size_t image;
  uint16_t icon_id;
};

class AddSizesPlanner {
 public:
  AddSizesPlanner(const Reader& file, const std::vector<IconImage>& images, IconModel model)
      : file_(file), images_(images), m_(std::move(model)) {}

  // Which image each icon gets, and what each group gains. False when no
  // icon number is left for a new icon.
  bool Choose() {
    std::vector<IconSize> sizes;
    for (const IconImage& image : images_) sizes.push_back(Described_Size(image));
    wants_ = Wanted_Sizes(file_, m_.tree, sizes.front());
    for (size_t i = 0; i < m_.tree.icons.size(); ++i) {
      image_of_icon_.push_back(Nth_Best_Image(sizes, wants_.sizes[i], wants_.ordinals[i]));
    }
    reused_.assign(m_.tree.icons.size(), false);
    Reuse_Redundant_Icons();
    for (size_t g = 0; g < m_.tree.groups.size(); ++g) {
      std::vector<bool> shown(images_.size(), false);
      for (size_t icon : Icons_Of_Group(g)) shown[image_of_icon_[icon]] = true;
      for (size_t k = 0; k < images_.size(); ++k) {
        if (!shown[k] && !Add(g, k, m_.tree.groups[g].language)) return false;
      }
    }
    new_group_ = m_.tree.groups.empty();
    if (new_group_) {
      for (size_t k = 0; k < images_.size(); ++k) {
        if (!Add(m_.tree.groups.size(), k, 0)) return false;
      }
    }
    // A group's bytes do not depend on where anything goes: made once.
    std::vector<std::vector<const Addition*>> gained(m_.tree.groups.size() + (new_group_ ? 1 : 0));
    for (const Addition& a : additions_) gained[a.group].push_back(&a);
    for (size_t g = 0; g < gained.size(); ++g) groups_.push_back(Group_Bytes(g, gained[g]));
    return true;
  }

  // The new tree and the section's bytes, for a section at `va`.
  std::vector<uint8_t> Section_Bytes(const ResourceTree& old, uint32_t va) {
    // The tree's length depends only on its shape: laid out once to learn
    // where the data goes, then again with the data's addresses.
    int64_t cursor = static_cast<int64_t>(Tree_Bytes(New_Tree(old)).size());
    for (const IconImage& image : images_) {
      cursor = Align_Up(cursor, kImageAlignment);
      image_at_.push_back(cursor);
      cursor += static_cast<int64_t>(image.bytes.size());
    }
    for (const std::vector<uint8_t>& group : groups_) {
      cursor = Align_Up(cursor, kGroupAlignment);
      group_at_.push_back(cursor);
      cursor += static_cast<int64_t>(group.size());
    }
    if (cursor > INT32_MAX - int64_t{va}) Raise(6);
    va_ = va;
    std::vector<uint8_t> bytes(static_cast<size_t>(cursor), 0);
    std::vector<uint8_t> tree = Tree_Bytes(New_Tree(old));
    std::copy(tree.begin(), tree.end(), bytes.begin());
    for (size_t k = 0; k < images_.size(); ++k) {
      std::copy(images_[k].bytes.begin(), images_[k].bytes.end(), bytes.begin() + image_at_[k]);
    }
    for (size_t g = 0; g < groups_.size(); ++g) std::copy(groups_[g].begin(), groups_[g].end(), bytes.begin() + group_at_[g]);
    return bytes;
  }

  void Report(AddSizesReport& report) const {
    for (size_t i = 0; i < m_.tree.icons.size(); ++i) {
      const IconResource& icon = m_.tree.icons[i];
      size_t k = image_of_icon_[i];
      SizeAssignment a;
      a.icon = m_.icon_names[i];
      a.language = icon.language;
      a.wanted_width = wants_.sizes[i].width;
      a.wanted_height = wants_.sizes[i].height;
      a.wanted_bits = wants_.sizes[i].bits;
      a.wanted_by_group = wants_.from[i] == WantedFrom::Group;
      a.wanted_from_icon_file = wants_.from[i] == WantedFrom::IconFile;
      Describe(k, a.image, a.width, a.height, a.bits);
      a.bytes = static_cast<uint32_t>(images_[k].bytes.size());
      a.reused = reused_[i];
      a.file_offset = image_at_[k];
      a.rva = va_ + static_cast<uint32_t>(image_at_[k]);
      report.icons.push_back(a);
    }
    for (const Addition& add : additions_) {
      AddedEntry e;
      e.new_group = add.group >= m_.tree.groups.size();
      e.group = e.new_group ? "#1" : m_.group_names[add.group];
      e.language = e.new_group ? 0 : m_.tree.groups[add.group].language;
      Describe(add.image, e.image, e.width, e.height, e.bits);
      e.icon_id = add.icon_id;
      report.added.push_back(e);
    }
    report.images_written = static_cast<int>(images_.size());
  }

 private:
  // The icons the entries of group `g` name, in entry order (an entry that
  // names no icon left out).
  std::vector<size_t> Icons_Of_Group(size_t g) const {
    std::vector<size_t> icons;
    for (const GroupEntryRef& e : m_.tree.groups[g].entries) {
      if (auto icon = m_.tree.Icon_Named(e.nID, m_.tree.groups[g].language)) icons.push_back(*icon);
    }
    return icons;
  }

  // An icon whose image another icon shows in every group that names it adds
  // nothing any group shows. Such an icon is given an image its group lacks
  // instead of a new icon: after a run with fewer sizes the entries an earlier
  // run added hold duplicates, and without this every run alternating between
  // two icon files would add them again and the groups would grow without end.
  // No group loses an image it showed; what the loader picks from a group
  // depends on the sizes its entries describe, and a duplicate describes none
  // that another entry does not.
  void Reuse_Redundant_Icons() {
    const size_t groups = m_.tree.groups.size();
    std::vector<std::vector<size_t>> icons_of(groups);
    std::vector<std::vector<size_t>> groups_of(m_.tree.icons.size());
    for (size_t g = 0; g < groups; ++g) {
      icons_of[g] = Icons_Of_Group(g);
      for (size_t icon : icons_of[g]) {
        if (groups_of[icon].empty() || groups_of[icon].back() != g) groups_of[icon].push_back(g);
      }
    }
    // Another icon of group g shows the image `icon` shows.
    auto shown_without = [&](size_t g, size_t icon) {
      return std::any_of(icons_of[g].begin(), icons_of[g].end(), [&](size_t other) {
        return other != icon && image_of_icon_[other] == image_of_icon_[icon];
      });
    };
    auto redundant = [&](size_t icon) {
      return !reused_[icon] && std::all_of(groups_of[icon].begin(), groups_of[icon].end(),
                                           [&](size_t g) { return shown_without(g, icon); });
    };
    for (size_t g = 0; g < groups; ++g) {
      for (size_t k = 0; k < images_.size(); ++k) {
        auto shows = [&](size_t icon) { return image_of_icon_[icon] == k; };
        if (std::any_of(icons_of[g].begin(), icons_of[g].end(), shows)) continue;
        // The last entries first: those are the ones an earlier run added.
        auto free = std::find_if(icons_of[g].rbegin(), icons_of[g].rend(), redundant);
        if (free == icons_of[g].rend()) break;
        image_of_icon_[*free] = k;
        reused_[*free] = true;
      }
    }
  }

  // Gives group `g` an entry for image `k`, through the new icon that holds
  // it in `language` (one icon number per image, however many groups).
  bool Add(size_t g, size_t k, uint32_t language) {
    auto [it, added] = new_icon_.emplace(k, 0);
    if (added) {
      if (m_.last_icon_number >= 0xFFFF) return false;
      it->second = static_cast<uint16_t>(++m_.last_icon_number);
    }
    new_icon_languages_[it->second].insert(language);
    additions_.push_back({g, k, it->second});
    return true;
  }

  void Describe(size_t k, int& image, int& width, int& height, int& bits) const {
    IconSize s = Described_Size(images_[k]);
    image = static_cast<int>(k) + 1;
    width = s.width;
    height = s.height;
    bits = s.bits;
  }

  uint32_t Image_Rva(size_t k) const { return image_at_.empty() ? 0 : va_ + static_cast<uint32_t>(image_at_[k]); }
  uint32_t Group_Rva(size_t g) const { return group_at_.empty() ? 0 : va_ + static_cast<uint32_t>(group_at_[g]); }

  // A group's new data: its own entries, each describing the image its icon
  // now holds (one that names no icon is kept as it is), then the entries it
  // gains.
  std::vector<uint8_t> Group_Bytes(size_t g, const std::vector<const Addition*>& gained) const {
    bool made = g >= m_.tree.groups.size();
    size_t own = made ? 0 : m_.tree.groups[g].entries.size();
    std::vector<uint8_t> bytes(kGrpIconDirSize + (own + gained.size()) * kGrpIconDirEntrySize, 0);
    if (made) {
      Put(bytes, 2, 1, 2);  // idType: icon
    } else {
      std::copy(m_.group_headers[g].begin(), m_.group_headers[g].end(), bytes.begin());
    }
    Put(bytes, 4, static_cast<uint32_t>(own + gained.size()), 2);
    size_t at = kGrpIconDirSize;
    for (size_t e = 0; e < own; ++e, at += kGrpIconDirEntrySize) {
      const GroupEntryRef& ref = m_.tree.groups[g].entries[e];
      auto icon = m_.tree.Icon_Named(ref.nID, m_.tree.groups[g].language);
      const uint8_t* shared = icon ? images_[image_of_icon_[*icon]].entry_bytes.data() : ref.shared.data();
      std::copy(shared, shared + kSharedEntryBytes, bytes.begin() + static_cast<std::ptrdiff_t>(at));
      Put(bytes, at + kSharedEntryBytes, ref.nID, 2);
    }
    for (const Addition* a : gained) {
      const auto& entry = images_[a->image].entry_bytes;
      std::copy(entry.begin(), entry.begin() + kSharedEntryBytes, bytes.begin() + static_cast<std::ptrdiff_t>(at));
      Put(bytes, at + kSharedEntryBytes, a->icon_id, 2);
      at += kGrpIconDirEntrySize;
    }
    return bytes;
  }

  // The old tree with every icon and group leaf pointing at its new data,
  // the new icons, and the new group when there was none.
  ResourceTree New_Tree(const ResourceTree& old) const {
    ResourceTree tree = old;
    size_t icon_leaf = 0, group_leaf = 0;
    for (TypeNode& t : tree.types) {
      bool icons = !t.id.named && t.id.number == kRtIcon, groups = !t.id.named && t.id.number == kRtGroupIcon;
      if (!icons && !groups) continue;
      for (NameNode& n : t.names) {
        for (LanguageNode& l : n.languages) {
          if (icons) {
            size_t icon = m_.icon_of_leaf[icon_leaf++];
            if (icon == IconLeaf::kNone) continue;  // an icon's entry a group also names: kept
            size_t k = image_of_icon_[icon];
            l.data.rva = Image_Rva(k);
            l.data.size = static_cast<uint32_t>(images_[k].bytes.size());
          } else {
            size_t g = m_.group_of_leaf[group_leaf++];
            if (g == IconLeaf::kNone) continue;
            l.data.rva = Group_Rva(g);
            l.data.size = static_cast<uint32_t>(groups_[g].size());
          }
        }
      }
    }
    if (!new_icon_.empty()) {
      TypeNode& icons = tree.Type(kRtIcon);
      for (const auto& [k, id] : new_icon_) {
        NameNode& n = ResourceTree::Name(icons, id);
        for (uint32_t language : new_icon_languages_.at(id)) {
          n.languages.push_back({language, {Image_Rva(k), static_cast<uint32_t>(images_[k].bytes.size()), 0, 0, -1}});
        }
      }
    }
    if (new_group_) {
      size_t g = m_.tree.groups.size();
      ResourceTree::Name(tree.Type(kRtGroupIcon), 1)
          .languages.push_back({0, {Group_Rva(g), static_cast<uint32_t>(groups_[g].size()), 0, 0, -1}});
    }
    return tree;
  }

  const Reader& file_;
  const std::vector<IconImage>& images_;
  IconModel m_;
  IconWants wants_;
  std::vector<size_t> image_of_icon_;
  std::vector<bool> reused_;  // per icon: given an image its groups lacked
  std::vector<Addition> additions_;
  std::map<size_t, uint16_t> new_icon_;  // image -> the icon number made for it
  std::map<uint16_t, std::set<uint32_t>> new_icon_languages_;
  bool new_group_ = false;
  std::vector<std::vector<uint8_t>> groups_;  // each group's new data; the one made new last
  std::vector<int64_t> image_at_, group_at_;  // offsets in the section
  uint32_t va_ = 0;
};

}  // namespace

IconModel Read_Icon_Model(const Reader& file, const PeHeaders& h, const Reader& tree_reader, int32_t root) {
  IconModel m;
  DataOffset anywhere = [&](uint32_t rva, uint32_t size) -> int64_t {
    int64_t at = h.File_Offset(rva, size);
    return at > 0 && file.Contains(at, size) ? at : -1;
  };
  m.tree = Read_Icon_Tree(tree_reader, root, file, anywhere, Damage::Refuse);
  for (const IconLeaf& leaf : m.tree.leaves) {
    if (leaf.type == kRtIcon) {
      m.icon_of_leaf.push_back(leaf.index);
      if (!Is_String_Name(leaf.name)) m.last_icon_number = std::max(m.last_icon_number, leaf.name);
    } else {
      m.group_of_leaf.push_back(leaf.index);
    }
  }
  for (const IconResource& icon : m.tree.icons) m.icon_names.push_back(Resource_Name(tree_reader, root, icon.name));
  for (const GroupResource& group : m.tree.groups) {
    m.group_names.push_back(Resource_Name(tree_reader, root, group.name));
    std::vector<uint8_t> header(kGrpIconDirSize);
    file.Bytes(group.at, header.data(), kGrpIconDirSize);
    m.group_headers.push_back(std::move(header));
  }
  return m;
}


bool Plan_Added_Icons(const Reader& file, const std::vector<IconImage>& images, IconModel model,
                      const ResourceTree& old, uint32_t va, AddedIcons& added) {
  AddSizesPlanner planner(file, images, std::move(model));
  if (!planner.Choose()) return false;
  added.content = planner.Section_Bytes(old, va);
  planner.Report(added.report);
  return true;
}

}  // namespace vantorel::engine

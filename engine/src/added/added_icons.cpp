// What --add-sizes adds, laid out: the bytes of the section that holds the new
// tree, images and groups.
#include "added_icons.h"

#include <algorithm>

#include "added_icon_choice.h"
#include "pe/added_section.h"
#include "files/little_endian.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kGrpIconDirSize = 6;
constexpr uint32_t kImageAlignment = 8, kGroupAlignment = 4;

// The section's bytes: a new resource tree, then the images, then the
// groups, each laid out once the choice is made.
class SectionLayout {
 public:
  SectionLayout(const std::vector<IconImage>& images, const IconModel& model, const IconChoice& choice)
      : images_(images), m_(model), c_(choice) {
    // A group's bytes do not depend on where anything goes: made once.
    std::vector<std::vector<const Addition*>> gained(m_.tree.groups.size() + (c_.new_group ? 1 : 0));
    for (const Addition& a : c_.additions) gained[a.group].push_back(&a);
    for (size_t g = 0; g < gained.size(); ++g) groups_.push_back(GroupBytes(g, gained[g]));
  }

  // The new tree and the section's bytes, for a section at `va`.
  std::vector<uint8_t> SectionBytes(const ResourceTree& old, uint32_t va) {
    // The tree's length depends only on its shape: laid out once to learn
    // where the data goes, then again with the data's addresses.
    int64_t cursor = static_cast<int64_t>(TreeBytes(NewTree(old)).size());
    for (const IconImage& image : images_) {
      cursor = AlignUp(cursor, kImageAlignment);
      image_at_.push_back(cursor);
      cursor += static_cast<int64_t>(image.bytes.size());
    }
    for (const std::vector<uint8_t>& group : groups_) {
      cursor = AlignUp(cursor, kGroupAlignment);
      group_at_.push_back(cursor);
      cursor += static_cast<int64_t>(group.size());
    }
    if (cursor > INT32_MAX - int64_t{va}) Raise(6);
    va_ = va;
    std::vector<uint8_t> bytes(static_cast<size_t>(cursor), 0);
    std::vector<uint8_t> tree = TreeBytes(NewTree(old));
    std::copy(tree.begin(), tree.end(), bytes.begin());
    std::copy(kSectionMark.begin(), kSectionMark.end(), bytes.begin() + kSectionMarkAt);
    for (size_t k = 0; k < images_.size(); ++k) {
      std::copy(images_[k].bytes.begin(), images_[k].bytes.end(), bytes.begin() + image_at_[k]);
    }
    for (size_t g = 0; g < groups_.size(); ++g) std::copy(groups_[g].begin(), groups_[g].end(), bytes.begin() + group_at_[g]);
    return bytes;
  }

  void Report(AddSizesReport& report) const {
    for (size_t i = 0; i < m_.tree.icons.size(); ++i) {
      const IconResource& icon = m_.tree.icons[i];
      const IconWants& wants = c_.wants;
      size_t k = c_.image_of_icon[i];
      SizeAssignment a;
      a.icon = m_.icon_names[i];
      a.language = icon.language;
      a.wanted_width = wants.sizes[i].width;
      a.wanted_height = wants.sizes[i].height;
      a.wanted_bits = wants.sizes[i].bits;
      a.wanted_by_group = wants.from[i] == WantedFrom::Group;
      a.wanted_from_icon_file = wants.from[i] == WantedFrom::IconFile;
      Describe(k, a.image, a.width, a.height, a.bits);
      a.bytes = static_cast<uint32_t>(images_[k].bytes.size());
      a.reused = c_.reused[i];
      a.file_offset = image_at_[k];
      a.rva = va_ + static_cast<uint32_t>(image_at_[k]);
      report.icons.push_back(a);
    }
    for (const Addition& add : c_.additions) {
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
  void Describe(size_t k, int& image, int& width, int& height, int& bits) const {
    IconSize s = DescribedSize(images_[k]);
    image = static_cast<int>(k) + 1;
    width = s.width;
    height = s.height;
    bits = s.bits;
  }

  uint32_t ImageRva(size_t k) const { return image_at_.empty() ? 0 : va_ + static_cast<uint32_t>(image_at_[k]); }
  uint32_t GroupRva(size_t g) const { return group_at_.empty() ? 0 : va_ + static_cast<uint32_t>(group_at_[g]); }

  // A group's new data: its own entries, each describing the image its icon
  // now holds (one that names no icon is kept as it is), then the entries it
  // gains.
  std::vector<uint8_t> GroupBytes(size_t g, const std::vector<const Addition*>& gained) const {
    bool made = g >= m_.tree.groups.size();
    size_t own = made ? 0 : m_.tree.groups[g].entries.size();
    std::vector<uint8_t> bytes(kGrpIconDirSize + (own + gained.size()) * kGrpIconDirEntrySize, 0);
    if (made) {
      PutLe(bytes, 2, 1, 2);  // idType: icon
    } else {
      std::copy(m_.group_headers[g].begin(), m_.group_headers[g].end(), bytes.begin());
    }
    PutLe(bytes, 4, static_cast<uint32_t>(own + gained.size()), 2);
    size_t at = kGrpIconDirSize;
    for (size_t e = 0; e < own; ++e, at += kGrpIconDirEntrySize) {
      const GroupEntryRef& ref = m_.tree.groups[g].entries[e];
      auto icon = m_.tree.IconNamed(ref.nID, m_.tree.groups[g].language);
      const uint8_t* shared = icon ? images_[c_.image_of_icon[*icon]].entry_bytes.data() : ref.shared.data();
      std::copy(shared, shared + kSharedEntryBytes, bytes.begin() + static_cast<std::ptrdiff_t>(at));
      PutLe(bytes, at + kSharedEntryBytes, ref.nID, 2);
    }
    for (const Addition* a : gained) {
      const auto& entry = images_[a->image].entry_bytes;
      std::copy(entry.begin(), entry.begin() + kSharedEntryBytes, bytes.begin() + static_cast<std::ptrdiff_t>(at));
      PutLe(bytes, at + kSharedEntryBytes, a->icon_id, 2);
      at += kGrpIconDirEntrySize;
    }
    return bytes;
  }

  // The old tree with every icon and group leaf pointing at its new data,
  // the new icons, and the new group when there was none.
  ResourceTree NewTree(const ResourceTree& old) const {
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
            size_t k = c_.image_of_icon[icon];
            l.data.rva = ImageRva(k);
            l.data.size = static_cast<uint32_t>(images_[k].bytes.size());
          } else {
            size_t g = m_.group_of_leaf[group_leaf++];
            if (g == IconLeaf::kNone) continue;
            l.data.rva = GroupRva(g);
            l.data.size = static_cast<uint32_t>(groups_[g].size());
          }
        }
      }
    }
    if (!c_.new_icon.empty()) {
      TypeNode& icons = tree.Type(kRtIcon);
      for (const auto& [k, id] : c_.new_icon) {
        NameNode& n = ResourceTree::Name(icons, id);
        for (uint32_t language : c_.new_icon_languages.at(id)) {
          n.languages.push_back({language, {ImageRva(k), static_cast<uint32_t>(images_[k].bytes.size()), 0, 0, -1}});
        }
      }
    }
    if (c_.new_group) {
      size_t g = m_.tree.groups.size();
      ResourceTree::Name(tree.Type(kRtGroupIcon), 1)
          .languages.push_back({0, {GroupRva(g), static_cast<uint32_t>(groups_[g].size()), 0, 0, -1}});
    }
    return tree;
  }

  const std::vector<IconImage>& images_;
  const IconModel& m_;
  const IconChoice& c_;
  std::vector<std::vector<uint8_t>> groups_;  // each group's new data; the one made new last
  std::vector<int64_t> image_at_, group_at_;  // offsets in the section
  uint32_t va_ = 0;
};

}  // namespace

bool PlanAddedIcons(const Reader& file, const std::vector<IconImage>& images, const IconModel& model,
                    const ResourceTree& old, uint32_t va, AddedIcons& added) {
  IconChoice choice;
  if (!ChooseIcons(file, images, model, choice)) return false;
  SectionLayout layout(images, model, choice);
  added.content = layout.SectionBytes(old, va);
  layout.Report(added.report);
  return true;
}

}  // namespace vantorel::engine

// --add-sizes: every image of an icon file in every icon group of a program.
// Sizes a group has are filled as --all-sizes fills them; sizes it lacks are
// added as new icon resources; a program with no icon group gets one.
//
// Nothing in the file moves or changes value: one section after the last one
// (or the one an earlier run added, used again) holds a new resource tree,
// whose entries still point at the old data where it is, and the new images
// and groups. The file grows at its end only, and only the header fields that
// name the section change.
#include <algorithm>
#include <map>
#include <set>

#include "driver.h"
#include "icon_tree.h"
#include "pe_headers.h"
#include "resource_tree.h"
#include "resource_walk.h"
#include "traps.h"
#include "all_sizes.h"

namespace vantorel::engine {
namespace {

constexpr std::array<uint8_t, 8> kSectionName = {'.', 'v', 't', 'r', 's', 'r', 'c', 0};
constexpr uint32_t kSectionCharacteristics = 0x40000040;  // initialised data, readable
constexpr int64_t kSectionHeaderBytes = 40;
constexpr int64_t kSymbolBytes = 18;
constexpr int64_t kGrpIconDirSize = 6;
constexpr uint32_t kImageAlignment = 8, kGroupAlignment = 4;

int64_t Align_Up(int64_t v, int64_t a) { return (v + a - 1) / a * a; }
bool Power_Of_Two(uint32_t v) { return v && !(v & (v - 1)); }

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Le(uint32_t v, int bytes) {
  std::vector<uint8_t> b(static_cast<size_t>(bytes));
  Put(b, 0, v, bytes);
  return b;
}

bool All_Zero(const Reader& r, int64_t begin, int64_t end) {
  for (int64_t at = begin; at < end; ++at) {
    if (r.U8(at)) return false;
  }
  return true;
}

// ---- Whether a section can be added -----------------------------------------

// The section an earlier run added: named so, last in the table and last in
// the file. It is used again, so however often Vantorel runs, a program gains
// one section.
const SectionHeader* Earlier_Section(const PeHeaders& h) {
  if (h.sections.empty()) return nullptr;
  const SectionHeader& last = h.sections.back();
  if (last.name != kSectionName || int64_t{last.raw} + last.raw_size != h.Raw_Data_End()) return nullptr;
  return &last;
}

// What follows the sections' raw data may stay before the new section only
// when nothing needs to keep ending the file: zero padding, or the COFF
// symbol and string table, which is found through its header pointer.
bool Nothing_Must_End_The_File(const Reader& r, const PeHeaders& h, int64_t length) {
  int64_t end = h.Raw_Data_End();
  if (length <= end) return true;
  if (length - end < h.file_alignment && All_Zero(r, end, length)) return true;
  if (h.symbol_table < end || h.symbol_table - end >= h.file_alignment) return false;
  int64_t strings = int64_t{h.symbol_table} + int64_t{h.symbols} * kSymbolBytes;
  if (!r.Contains(strings, 4) || r.U32(strings) < 4) return false;
  return strings + r.U32(strings) == length && All_Zero(r, end, h.symbol_table);
}

// Where the new section header goes, or -1 when the headers have no room for
// it: zero bytes after the table, before SizeOfHeaders and before any
// section's raw data.
int64_t Header_Room(const Reader& r, const PeHeaders& h) {
  int64_t at = h.Section_Table_End();
  int64_t limit = h.size_of_headers;
  for (const SectionHeader& s : h.sections) {
    if (s.raw_size && s.raw) limit = std::min<int64_t>(limit, s.raw);
  }
  if (h.sections.size() >= 0xFFFF || at + kSectionHeaderBytes > limit) return -1;
  return All_Zero(r, at, at + kSectionHeaderBytes) ? at : -1;
}

int32_t Check_Layout(const Reader& r, const PeHeaders& h, const SectionHeader* earlier, const std::string& path,
                     std::string& failure_text) {
  if (h.resources.at < 0) {
    return Fail(kNoSectionRoom,
                path + " has no resource directory entry in its headers, so it cannot be given resources." +
                    kUnchanged,
                failure_text);
  }
  if (!Power_Of_Two(h.file_alignment) || !Power_Of_Two(h.section_alignment)) {
    return Fail(kNoSectionRoom, path + " states no usable section or file alignment in its headers." + kUnchanged,
                failure_text);
  }
  if (h.certificates.size) {
    return Fail(kAppendedData,
                path + " is signed: its signature must stay at the end of the file, so nothing can be added after "
                       "it." + kUnchanged,
                failure_text);
  }
  if (!Nothing_Must_End_The_File(r, h, r.end())) {
    return Fail(kAppendedData,
                path + " carries appended data after its last section (such as an installer's or archive's "
                       "payload), which must keep ending the file, so nothing can be added after it." + kUnchanged,
                failure_text);
  }
  if (!earlier && Header_Room(r, h) < 0) {
    return Fail(kNoSectionRoom,
                path + " has no room in its headers for one more section header without moving its first "
                       "section." + kUnchanged,
                failure_text);
  }
  return kSuccess;
}

// ---- The icon resources -------------------------------------------------------

// The tree's icons and groups, with the icon or group of every leaf of each
// branch in tree order (the order the whole tree's model holds them in).
struct IconModel {
  IconTree tree;
  std::vector<std::string> icon_names, group_names;
  std::vector<std::vector<uint8_t>> group_headers;  // each group's GRPICONDIR
  std::vector<size_t> icon_of_leaf, group_of_leaf;  // IconLeaf::kNone: keeps its data
  uint32_t last_icon_number = 0;
};

// The data of the icons and groups may lie in any section of the file, as
// the loader finds it; it must lie wholly in the file.
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

// ---- The plan -------------------------------------------------------------

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

  void Report(int64_t raw, AddSizesReport& report) const {
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
      a.file_offset = raw + image_at_[k];
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

// ---- The writes -------------------------------------------------------------

struct Growth {
  int64_t raw = 0;                // where the section's raw data starts
  WritePlan in_place;             // header fields, and an earlier section's own bytes
  std::vector<uint8_t> appended;  // what the file gains at its end
  int64_t length_after = 0;
};

std::vector<uint8_t> Section_Header(uint32_t virtual_size, uint32_t va, uint32_t raw_size, uint32_t raw) {
  std::vector<uint8_t> b(kSectionHeaderBytes, 0);
  std::copy(kSectionName.begin(), kSectionName.end(), b.begin());
  Put(b, 8, virtual_size, 4);
  Put(b, 12, va, 4);
  Put(b, 16, raw_size, 4);
  Put(b, 20, raw, 4);
  Put(b, 36, kSectionCharacteristics, 4);
  return b;
}

// The section `content` placed at the file's end (or over the earlier one),
// and the header fields that name it.
Growth Place_Section(const PeHeaders& h, const SectionHeader* earlier, int64_t header_at, int64_t length,
                     uint32_t va, std::vector<uint8_t> content) {
  Growth g;
  const uint32_t content_bytes = static_cast<uint32_t>(content.size());
  int64_t raw = earlier ? earlier->raw : Align_Up(std::max(length, h.Raw_Data_End()), h.file_alignment);
  int64_t raw_size = Align_Up(static_cast<int64_t>(content.size()), h.file_alignment);
  if (earlier) raw_size = std::max<int64_t>(raw_size, earlier->raw_size);
  // The image in memory reaches at least as far as the file: tools that lay
  // a program out in memory in the file's own buffer (wrestool does) need a
  // section whose raw data lies past its address (after a symbol table) to
  // fit. The loader fills the rest with zeros.
  int64_t virtual_size = std::max<int64_t>(static_cast<int64_t>(content.size()), raw + raw_size - va);
  if (raw + raw_size > UINT32_MAX || va + virtual_size > INT32_MAX) Raise(6);
  content.resize(static_cast<size_t>(raw_size), 0);
  g.raw = raw;

  g.in_place.push_back({earlier ? earlier->at : header_at,
                        Section_Header(static_cast<uint32_t>(virtual_size), va, static_cast<uint32_t>(raw_size),
                                       static_cast<uint32_t>(raw)),
                        PlannedWrite::Kind::Header});
  if (!earlier) {
    g.in_place.push_back({h.number_of_sections_at, Le(static_cast<uint32_t>(h.sections.size() + 1), 2),
                          PlannedWrite::Kind::Header});
  }
  g.in_place.push_back({h.size_of_image_at, Le(static_cast<uint32_t>(Align_Up(va + virtual_size,
                                                                                h.section_alignment)), 4),
                        PlannedWrite::Kind::Header});
  std::vector<uint8_t> directory = Le(va, 4);
  // The directory names the whole resource data, tree, images and groups, as
  // linkers name a resource section's: the first-image and --all-sizes
  // replacements find the room of the images inside what it names.
  std::vector<uint8_t> size = Le(content_bytes, 4);
  directory.insert(directory.end(), size.begin(), size.end());
  g.in_place.push_back({h.resources.at, directory, PlannedWrite::Kind::Header});

  // The part of the section inside today's file is written in place (only an
  // earlier run's section lies there); the rest is appended, after zeros up
  // to the aligned start.
  int64_t inside = std::clamp<int64_t>(length - raw, 0, raw_size);
  if (inside > 0) {
    g.in_place.push_back({raw, std::vector<uint8_t>(content.begin(), content.begin() + inside), PlannedWrite::Kind::Image});
  }
  if (raw + raw_size > length) {
    g.appended.assign(static_cast<size_t>(std::max<int64_t>(0, raw - length)), 0);
    g.appended.insert(g.appended.end(), content.begin() + inside, content.end());
  }
  g.length_after = std::max(length, raw + raw_size);
  return g;
}

// Appends, then writes in place; a failure takes back the append and puts
// back every byte written, as Apply_Writes does.
bool Apply_Growth(RandomAccessFile& file, const Growth& g, bool& restored) {
  const int64_t length = file.Length();
  restored = true;
  if (!g.appended.empty() && !(file.Append(g.appended.data(), g.appended.size()) && file.Flush())) {
    restored = file.Truncate(length) && file.Flush();
    return false;
  }
  if (Apply_Writes(file, g.in_place, restored)) return true;
  restored = file.Truncate(length) && file.Flush() && restored;
  return false;
}

// ---- The run ------------------------------------------------------------------

int32_t Plan_And_Write(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                       AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  if (!Is_Valid_PE(target)) return Fail(kNotWin32Executable, Not_Win32_Text(target_path), failure_text);
  const int64_t length = target.Length();
  Reader file(target, 0, length);
  PeHeaders h;
  try {
    h = Read_Pe_Headers(target);
  } catch (const EngineError&) {
    return Fail(kNotWin32Executable, Not_Win32_Text(target_path), failure_text);
  }
  const SectionHeader* earlier = Earlier_Section(h);
  if (int32_t layout = Check_Layout(file, h, earlier, target_path, failure_text)) return layout;

  ResourceTree old;
  IconModel model;
  if (h.resources.rva && h.resources.size) {
    ResourceSection section;
    if (int32_t located = Locate_Resource_Section(target, target_path, section, failure_text, warn)) return located;
    bool read = Trap(warn, kIconLocateText, [&] {
      Reader tree_reader = Resource_Section_Reader(target, section);
      old = Read_Resource_Tree(tree_reader, section.root);
      model = Read_Icon_Model(file, h, tree_reader, section.root);
      return true;
    });
    if (!read) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  }
  AddSizesPlanner planner(file, images, std::move(model));
  if (!planner.Choose()) {
    return Fail(kModifyFailed, target_path + " has no icon number left for a new icon." + kUnchanged, failure_text);
  }

  uint32_t va = earlier ? earlier->va : 0;
  if (!earlier) {
    int64_t end = 0;
    for (const SectionHeader& s : h.sections) end = std::max<int64_t>(end, int64_t{s.va} + s.Extent());
    end = Align_Up(end, h.section_alignment);
    if (end > INT32_MAX) Raise(6);
    va = static_cast<uint32_t>(end);
  }
  std::vector<uint8_t> content = planner.Section_Bytes(old, va);
  Growth growth = Place_Section(h, earlier, earlier ? -1 : Header_Room(file, h), length, va,
                                std::move(content));
  if (Any_Overlap(growth.in_place)) return Fail(kModifyFailed, kModifyFailedText, failure_text);

  // The checksum counts what is appended as words written over nothing.
  WritePlan counted = growth.in_place;
  counted.push_back({length, growth.appended, PlannedWrite::Kind::Image});
  report.checksum = Plan_Checksum_Of(target, h.checksum_at, counted, growth.length_after);
  if (report.checksum) growth.in_place.push_back(counted.back());

  planner.Report(growth.raw, report);
  report.new_section = !earlier;
  report.section_name = reinterpret_cast<const char*>(kSectionName.data());
  report.length_before = length;
  report.length_after = growth.length_after;
  if (plan_only) return kSuccess;
  bool restored = false;
  if (!Apply_Growth(target, growth, restored)) return Write_Failed(target_path, restored, failure_text);
  return kSuccess;
}

}  // namespace

int32_t Add_Sizes_In(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                     AddSizesReport& report, std::string& failure_text, const WarningSink& warn, bool plan_only) {
  try {
    AddSizesReport planned;
    int32_t result = Plan_And_Write(target, images, target_path, planned, failure_text, warn, plan_only);
    if (result == kSuccess) report = std::move(planned);
    return result;
  } catch (...) {
    return Failure_Thrown(failure_text);
  }
}

int32_t Change_Icon_Add_Sizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                              AddSizesReport& report, std::string& failure_text, const WarningSink& warn,
                              bool plan_only) {
  try {
    std::vector<IconImage> images;
    if (int32_t loaded = Load_Every_Image(icon, images, failure_text, warn)) return loaded;
    const std::string target_path = Path_Text(target);
    std::string reason;
    auto file = OpenImageFile(target, plan_only ? Access::Read : Access::ReadWrite, reason);
    if (!file) return Fail(kOpenFailed, Open_Failure_Text(target_path, reason), failure_text);
    return Add_Sizes_In(*file, images, target_path, report, failure_text, warn, plan_only);
  } catch (...) {
    return Failure_Thrown(failure_text);
  }
}

}  // namespace vantorel::engine

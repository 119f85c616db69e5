// The version resources and the manifest of a program, changed: each one's
// new bytes go over its old ones where they fit; otherwise a new resource
// tree that names them goes with them into the section --add-sizes adds, and
// nothing that is in the file moves.
#include "resource_edit.h"

#include <algorithm>
#include <map>
#include <set>

#include "mode_frame.h"
#include "added/earlier_section.h"
#include "added/section_content.h"
#include "errors/failures.h"
#include "errors/guarded.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "icons/icon_tree.h"
#include "pe/added_section.h"
#include "pe/nsis_crc.h"
#include "pe/pe_headers.h"
#include "pe/pe_layout.h"
#include "resources/manifest.h"
#include "resources/resource_tree.h"
#include "resources/resource_types.h"
#include "resources/resource_walk.h"
#include "resources/version_edit.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr uint16_t kImageFileDll = 0x2000;
// The loader reads a program's manifest from resource 1, a library's from 2.
constexpr uint32_t kProgramManifest = 1, kLibraryManifest = 2;
constexpr int64_t kDataAlignment = 8;

// A resource the run changes or adds.
struct Changed {
  uint32_t type = 0;
  ResourceId name;
  uint32_t language = 0;
  ResourceData old;       // read_at -1: the resource is new
  int64_t old_at = -1;    // the old data's file offset
  std::vector<uint8_t> bytes;
  int64_t placed_at = -1;
};

bool ChangesVersion(const ResourceEdit& e) { return !e.version_strings.empty() || e.file_version || e.product_version; }
bool ChangesManifest(const ResourceEdit& e) { return e.manifest || !e.execution_level.empty(); }

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "#" + ....
std::string LeafName(uint32_t type, const ResourceId& id) {
  std::string name = type == kRtVersion ? "version " : "manifest ";
  if (id.named) return name.append("\"").append(NameText(id.name)).append("\"");
  return name.append("#").append(std::to_string(id.number));
}

class Planner {
 public:
  Planner(const RandomAccessFile& file, const Reader& r, const PeHeaders& h, const ResourceEdit& edit,
          const std::string& path, ResourceEditReport& report, std::string& failure_text)
      : file_(file), r_(r), h_(h), edit_(edit), path_(path), report_(report), failure_(failure_text) {
    dll_ = r.U16(h.file_header + 18) & kImageFileDll;
  }

  // Each resource's new bytes, and a new one where the program lacks it.
  int32_t NewData(const ResourceTree& old) {
    const uint32_t manifest_id = dll_ ? kLibraryManifest : kProgramManifest;
    bool version_seen = false, manifest_seen = false;
    for (const TypeNode& t : old.types) {
      if (t.id.named) continue;
      for (const NameNode& n : t.names) {
        const bool version = t.id.number == kRtVersion && ChangesVersion(edit_);
        const bool manifest = t.id.number == kRtManifest && ChangesManifest(edit_) && n.id == ResourceId::Number(manifest_id);
        if (!version && !manifest) continue;
        for (const LanguageNode& l : n.languages) {
          Changed c{t.id.number, n.id, l.language, l.data, h_.FileOffset(l.data.rva, l.data.size), {}, -1};
          if (c.old_at < 0) {
            return Fail(version ? kVersionDamaged : kManifestRefused,
                        "The " + LeafName(c.type, c.name) + " resource of " + path_ +
                            " does not lie in the file's sections." + kUnchanged,
                        failure_);
          }
          std::vector<uint8_t> bytes(l.data.size);
          r_.Bytes(c.old_at, bytes.data(), l.data.size);
          int32_t made = version ? NewVersion(&bytes, c) : NewManifestBytes(&bytes, c);
          if (made) return made;
          version_seen = version_seen || version;
          manifest_seen = manifest_seen || manifest;
        }
      }
    }
    if (ChangesVersion(edit_) && !version_seen) {
      Changed c{kRtVersion, ResourceId::Number(1), 0, {}, -1, {}, -1};
      if (int32_t made = NewVersion(nullptr, c)) return made;
    }
    if (ChangesManifest(edit_) && !manifest_seen) {
      Changed c{kRtManifest, ResourceId::Number(manifest_id), 0, {}, -1, {}, -1};
      if (int32_t made = NewManifestBytes(nullptr, c)) return made;
    }
    return kSuccess;
  }

  // Whether every new resource fits over its old data: none is new, none is
  // larger, and no other resource shares its old bytes.
  bool FitsInPlace(const ResourceTree& old) const {
    const int64_t headers_end = std::max<int64_t>(h_.size_of_headers, h_.SectionTableEnd());
    for (const Changed& c : changed_) {
      if (c.old.read_at < 0 || c.bytes.size() > c.old.size || c.old_at < headers_end) return false;
      // Spaces pad text that is ASCII-compatible only (a UTF-16 manifest
      // would read them as other characters): such a manifest moves.
      if (c.type == kRtManifest && !c.bytes.empty() && c.bytes[0] != '<' && c.bytes[0] != 0xEF) return false;
      for (const TypeNode& t : old.types) {
        for (const NameNode& n : t.names) {
          for (const LanguageNode& l : n.languages) {
            if (l.data.read_at == c.old.read_at) continue;
            if (l.data.rva < c.old.rva + c.old.size && c.old.rva < l.data.rva + std::max<uint32_t>(l.data.size, 1)) {
              return false;
            }
          }
        }
      }
    }
    return true;
  }

  // One write over each resource's old data, padded to its old size, so its
  // data entry stays as it is and a run stopped at any instant leaves the old
  // resource or the new one: a version resource's length is its root's
  // wLength, and zeros after it are nothing; a manifest's padding is spaces,
  // which XML allows after the root element.
  WritePlan InPlaceWrites() {
    WritePlan plan;
    GuardedPlan guarded(plan, 0, file_.Length());
    for (Changed& c : changed_) {
      std::vector<uint8_t> bytes = c.bytes;
      bytes.resize(c.old.size, c.type == kRtManifest ? ' ' : 0);
      guarded.Add(c.old_at, std::move(bytes), PlannedWrite::Kind::Image);
      c.placed_at = c.old_at;
    }
    return plan;
  }

  // The section's content for its first byte at `va`: the old tree with each
  // changed resource's entry naming its new data, the new resources' entries,
  // then the data.
  const std::vector<uint8_t>* SectionContent(const ResourceTree& old, uint32_t va) {
    ResourceTree tree = old;
    std::vector<int64_t> offsets;
    int64_t cursor = 0;
    auto lay = [&] {
      offsets.clear();
      cursor = static_cast<int64_t>(TreeBytes(tree).size());
      for (const Changed& c : changed_) {
        cursor = AlignUp(cursor, kDataAlignment);
        offsets.push_back(cursor);
        cursor += static_cast<int64_t>(c.bytes.size());
      }
      for (const Carried& c : carried_) {
        cursor = AlignUp(cursor, kDataAlignment);
        offsets.push_back(cursor);
        cursor += static_cast<int64_t>(c.bytes.size());
      }
      if (cursor > INT32_MAX - int64_t{va}) Raise(6);
    };
    // The new resources' entries first: the tree's shape then stays as it
    // is while the data's places are found and filled in.
    std::vector<LanguageNode*> nodes;
    for (const Changed& c : changed_) {
      if (c.old.read_at >= 0 && FindLeaf(tree, c)) continue;
      ResourceTree::Name(tree.Type(c.type), c.name.number).languages.push_back({c.language, {0, 0, 0, 0, -2}});
    }
    lay();
    for (size_t k = 0; k < changed_.size(); ++k) {
      const Changed& c = changed_[k];
      LanguageNode* node = c.old.read_at >= 0 ? FindLeaf(tree, c) : nullptr;
      if (!node) node = NewLeaf(tree, c);
      node->data = {va + static_cast<uint32_t>(offsets[k]), static_cast<uint32_t>(c.bytes.size()), c.old.code_page,
                    kOwnDataMark, -1};
    }
    for (size_t k = 0; k < carried_.size(); ++k) {
      const uint32_t rva = va + static_cast<uint32_t>(offsets[changed_.size() + k]);
      for (TypeNode& t : tree.types) {
        for (NameNode& n : t.names) {
          for (LanguageNode& l : n.languages) {
            if (carried_[k].entries.count(l.data.read_at)) l.data.rva = rva;
          }
        }
      }
    }
    content_.assign(static_cast<size_t>(cursor), 0);
    std::vector<uint8_t> tree_bytes = TreeBytes(tree);
    std::copy(tree_bytes.begin(), tree_bytes.end(), content_.begin());
    std::copy(kSectionMark.begin(), kSectionMark.end(), content_.begin() + kSectionMarkAt);
    for (size_t k = 0; k < changed_.size(); ++k) {
      std::copy(changed_[k].bytes.begin(), changed_[k].bytes.end(), content_.begin() + offsets[k]);
      changed_[k].placed_at = offsets[k];
    }
    for (size_t k = 0; k < carried_.size(); ++k) {
      std::copy(carried_[k].bytes.begin(), carried_[k].bytes.end(), content_.begin() + offsets[changed_.size() + k]);
    }
    return &content_;
  }

  // The icons and groups whose data lies outside the section that will
  // hold the tree go into it too, copied: the icon modes find the images in
  // the section that holds the tree, as in one a linker made. Their old
  // bytes stay where they are. An icon the model keeps apart (damaged, or
  // named by a group entry as a group) stays where it is, as --add-sizes
  // leaves it.
  void CarryIcons(const ResourceTree& old, const IconModel& model, const SectionHeader* into) {
    size_t icon_leaf = 0, group_leaf = 0;
    std::map<std::pair<uint32_t, uint32_t>, size_t> by_data;
    for (const TypeNode& t : old.types) {
      const bool icons = !t.id.named && t.id.number == kRtIcon, groups = !t.id.named && t.id.number == kRtGroupIcon;
      if (!icons && !groups) continue;
      for (const NameNode& n : t.names) {
        for (const LanguageNode& l : n.languages) {
          const std::vector<size_t>& of_leaf = icons ? model.icon_of_leaf : model.group_of_leaf;
          size_t& next = icons ? icon_leaf : group_leaf;
          if (next >= of_leaf.size() || of_leaf[next++] == IconLeaf::kNone) continue;
          const int64_t at = h_.FileOffset(l.data.rva, l.data.size);
          if (at < 0 || (into && h_.SectionOf(l.data.rva) == into)) continue;
          auto [it, fresh] = by_data.try_emplace({l.data.rva, l.data.size}, carried_.size());
          if (fresh) {
            carried_.push_back({{}, std::vector<uint8_t>(l.data.size)});
            r_.Bytes(at, carried_.back().bytes.data(), l.data.size);
          }
          carried_[it->second].entries.insert(l.data.read_at);
        }
      }
    }
  }

  void Report(bool in_place, int64_t content_at) {
    for (const Changed& c : changed_) {
      ResourcePlacement p{LeafName(c.type, c.name), c.language, c.old.read_at >= 0 ? c.old.size : 0,
                          static_cast<uint32_t>(c.bytes.size()), in_place, c.placed_at + content_at};
      report_.placements.push_back(p);
    }
  }

 private:
  // The entry made for a new resource, read_at -2 until it names its data.
  static LanguageNode* NewLeaf(ResourceTree& tree, const Changed& c) {
    for (LanguageNode& l : ResourceTree::Name(tree.Type(c.type), c.name.number).languages) {
      if (l.data.read_at == -2 && l.language == c.language) return &l;
    }
    Raise(9);
  }

  static LanguageNode* FindLeaf(ResourceTree& tree, const Changed& c) {
    for (TypeNode& t : tree.types) {
      for (NameNode& n : t.names) {
        for (LanguageNode& l : n.languages) {
          if (l.data.read_at == c.old.read_at && !t.id.named && t.id.number == c.type && n.id == c.name &&
              l.language == c.language) {
            return &l;
          }
        }
      }
    }
    return nullptr;
  }

  int32_t NewVersion(const std::vector<uint8_t>* old_bytes, Changed c) {
    std::string why;
    std::optional<VersionBlock> root = old_bytes ? ReadVersionInfo(*old_bytes, why) : NewVersionInfo(dll_);
    if (!root) {
      return Fail(kVersionDamaged,
                  "The " + LeafName(c.type, c.name) + " resource of " + path_ + " is damaged: " + why + "." + kUnchanged,
                  failure_);
    }
    const size_t first = report_.fields.size();
    if (!EditVersionInfo(*root, edit_, report_.fields, why)) {
      return Fail(kVersionValueRefused, "Cannot set the version: " + why + "." + kUnchanged, failure_);
    }
    for (size_t i = first; i < report_.fields.size(); ++i) report_.fields[i].language = c.language;
    std::optional<std::vector<uint8_t>> bytes = VersionInfoBytes(*root);
    if (!bytes) {
      return Fail(kVersionValueRefused,
                  "Cannot set the version: a string table of " + path_ +
                      " would be longer than the 65535 bytes its length can say." + kUnchanged,
                  failure_);
    }
    c.bytes = std::move(*bytes);
    changed_.push_back(std::move(c));
    return kSuccess;
  }

  int32_t NewManifestBytes(const std::vector<uint8_t>* old_bytes, Changed c) {
    std::string why;
    std::optional<std::string> before;
    if (old_bytes) before = ExecutionLevel(*old_bytes, why);
    std::vector<uint8_t> bytes = edit_.manifest ? *edit_.manifest
                                 : old_bytes    ? *old_bytes
                                                : NewManifest(edit_.execution_level);
    if (edit_.manifest) {
      report_.fields.push_back({"manifest", c.language, "", "whole manifest",
                                old_bytes ? std::optional<std::string>(std::to_string(old_bytes->size()) + " bytes")
                                          : std::nullopt,
                                std::to_string(bytes.size()) + " bytes of " + edit_.manifest_name});
    }
    if (!edit_.execution_level.empty()) {
      if (!SetExecutionLevel(bytes, edit_.execution_level, why)) {
        const std::string whose = edit_.manifest ? edit_.manifest_name : "The manifest of " + path_;
        return Fail(kManifestRefused, whose + " cannot take an execution level: " + why + "." + kUnchanged, failure_);
      }
      report_.fields.push_back({"manifest", c.language, "", "requestedExecutionLevel",
                                before && !before->empty() && !edit_.manifest ? before : std::nullopt,
                                edit_.execution_level});
    }
    c.bytes = std::move(bytes);
    changed_.push_back(std::move(c));
    return kSuccess;
  }

  const RandomAccessFile& file_;
  const Reader& r_;
  const PeHeaders& h_;
  const ResourceEdit& edit_;
  const std::string& path_;
  ResourceEditReport& report_;
  std::string& failure_;
  bool dll_ = false;
  // Data copied into the section, and the data entries (where each was read)
  // that name it.
  struct Carried {
    std::set<int64_t> entries;
    std::vector<uint8_t> bytes;
  };
  std::vector<Changed> changed_;
  std::vector<Carried> carried_;
  std::vector<uint8_t> content_;
};

// The new content in the section --add-sizes adds, and the header fields
// that name it.
int32_t PlanInSection(const RandomAccessFile& target, const RandomAccessFile& own, const Reader& file,
                      const PeHeaders& h, const ResourceTree& old, const IconModel* model, Planner& planner,
                      const std::string& path, FileChange& change, ResourceEditReport& report,
                      std::string& failure_text) {
  if (int32_t layout = CheckLayout(file, h, path, failure_text)) return layout;
  const EarlierSection earlier = model ? FindEarlierSection(file, h, old, *model) : EarlierSection{};
  if (!earlier.header) {
    if (int32_t room = CheckNewSection(file, h, path, failure_text)) return room;
  }
  if (model) planner.CarryIcons(old, *model, earlier.header);
  int64_t at = 0;
  const std::vector<uint8_t>* content =
      LayOutContent(file, h, earlier, [&](uint32_t va) { return planner.SectionContent(old, va); }, at);
  const int64_t own_length = own.Length();
  Growth growth = PlaceSection(h, earlier.header, earlier.header ? -1 : HeaderRoom(file, h), own_length, at, *content);
  if (AnyOverlap(growth.change.in_place)) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  report.checksum = PlanGrowthChecksum(own, h.checksum_at, growth);
  planner.Report(false, growth.content_at);
  report.section_used = true;
  report.new_section = !earlier.header;
  report.section_name = reinterpret_cast<const char*>(kAddedSectionName.data());
  report.length_before = target.Length();
  report.tail_removed = report.length_before - own_length;
  report.length_after = growth.length_after;
  change = std::move(growth.change);
  return kSuccess;
}

}  // namespace

int32_t PlanResourceEdit(const Program& program, const ResourceEdit& edit, FileChange& change,
                         ResourceEditReport& report, std::string& failure_text) {
  const RandomAccessFile& target = program.file;
  const std::string& path = program.path;
  PeHeaders h;
  try {
    h = ReadPeHeaders(target);
  } catch (const EngineError&) {
    return Fail(kNotWin32Executable, NotWin32Text(path), failure_text);
  }
  const FilePrefix own(target, LengthWithoutUnfinishedTail(Reader(target, 0, target.Length()), h));
  Reader file(own, 0, own.Length());
  ResourceTree old;
  ResourceSection section;
  IconModel model;
  bool model_read = true;
  if (h.NamesResourceData()) {
    if (int32_t found = FindResourceSection(program, section, failure_text)) return found;
    Reader tree_reader = ResourceSectionReader(target, section);
    old = ReadResourceTree(tree_reader, section.root);
    // Damaged icons do not stop the edit; the section an earlier run added
    // is then not used again, since its live part cannot be known.
    model_read = Trap(program.warn, kIconLocateText, [&] {
      model = ReadIconModel(file, h, tree_reader, section.root);
      return true;
    });
  }
  Planner planner(own, file, h, edit, path, report, failure_text);
  if (int32_t made = planner.NewData(old)) return made;
  if (!planner.FitsInPlace(old) || section.root <= 0) {
    return PlanInSection(target, own, file, h, old, model_read ? &model : nullptr, planner, path, change, report,
                         failure_text);
  }
  WritePlan& plan = change.in_place;
  plan = planner.InPlaceWrites();
  if (AnyOverlap(plan)) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  bool installer_check = false;
  if (int32_t checked = PlanHeaderChecks(target, section, path, plan, report.checksum, installer_check, failure_text)) {
    return checked;
  }
  planner.Report(true, 0);
  report.length_before = report.length_after = target.Length();
  return kSuccess;
}

int32_t EditResourcesIn(RandomAccessFile& target, const ResourceEdit& edit, const std::string& target_path,
                        ResourceEditReport& report, std::string& failure_text, const WarningSink& warn,
                        bool plan_only) {
  ReportingPlanner<ResourceEditReport> resource_edit = [&](const Program& program, FileChange& change,
                                                           ResourceEditReport& planned, std::string& failure) {
    return PlanResourceEdit(program, edit, change, planned, failure);
  };
  return RunReported(target, target_path, resource_edit, plan_only, report, failure_text, warn);
}

}  // namespace vantorel::engine

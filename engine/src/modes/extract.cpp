// --extract: one group icon of a program written out as an icon file, read
// without changing the program.
#include <algorithm>
#include <filesystem>
#include <optional>

#include "icon_modes.h"
#include "mode_frame.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "icons/icon_file.h"
#include "icons/icon_sizes.h"
#include "icons/icon_tree.h"
#include "pe/pe_layout.h"
#include "resources/name_case.h"
#include "resources/resource_walk.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// What --group asks for: nothing (the first group), a number ("7" or "#7"),
// or a name. A name in double quotes is taken as written, so a group named
// "#7" can be asked for too.
struct WantedGroup {
  bool any = true;
  std::optional<uint16_t> number;
  std::u16string name;
};

WantedGroup Wanted(const std::string& group) {
  WantedGroup w;
  if (group.empty()) return w;
  w.any = false;
  if (group.size() >= 2 && group.front() == '"' && group.back() == '"') {
    w.name = std::filesystem::path(std::u8string(group.begin() + 1, group.end() - 1)).u16string();
    return w;
  }
  std::string digits = group[0] == '#' ? group.substr(1) : group;
  bool number = !digits.empty() && digits.size() <= 5 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (number && std::stoul(digits) <= 0xFFFF) {
    w.number = static_cast<uint16_t>(std::stoul(digits));
  } else {
    w.name = std::filesystem::path(std::u8string(group.begin(), group.end())).u16string();
  }
  return w;
}

std::string GroupsText(const Reader& r, const ResourceSection& section, const IconTree& tree) {
  std::string text;
  for (const GroupResource& g : tree.groups) {
    text += (text.empty() ? "" : ", ") + ResourceName(r, section.root, g.name) + " (language " +
            std::to_string(g.language) + ")";
  }
  return text;
}

class Extractor {
 public:
  Extractor(const RandomAccessFile& target, const ResourceSection& section, const std::string& target_path,
            const WarningSink& warn)
      : r_(ResourceSectionReader(target, section)), section_(section), path_(target_path), warn_(warn) {}

  int32_t Extract(const GroupSelection& selection, ExtractedIcon& out, std::string& failure_text) {
    IconTree tree = ReadIconTree(r_, section_, warn_);
    if (tree.groups.empty()) return Fail(kNoSuchGroup, path_ + " holds no icon group.", failure_text);
    const GroupResource* group = Select(tree, selection);
    if (!group) {
      std::string asked = selection.group.empty() ? "icon group" : "icon group " + selection.group;
      std::string language = selection.any_language ? "" : " in language " + std::to_string(selection.language);
      return Fail(kNoSuchGroup,
                  path_ + " holds no " + asked + language + ". Its icon groups: " +
                      GroupsText(r_, section_, tree) + ".",
                  failure_text);
    }
    out.group = ResourceName(r_, section_.root, group->name);
    out.language = group->language;
    if (group->entries.empty()) {
      return Fail(kGroupDamaged, "The icon group " + out.group + " of " + path_ + " lists no images.", failure_text);
    }
    std::vector<IconFileImage> images;
    int64_t total = 0;
    for (const GroupEntryRef& e : group->entries) {
      std::string damaged = Damaged(tree, *group, e, total);
      if (!damaged.empty()) {
        return Fail(kGroupDamaged,
                    "The icon group " + out.group + " of " + path_ + " cannot be taken out: " + damaged +
                        ". Nothing was written.",
                    failure_text);
      }
      const IconResource& icon = tree.icons[*tree.IconNamed(e.nID, group->language)];
      IconFileImage image;
      image.entry = e.shared;
      image.bytes.resize(icon.size);
      r_.Bytes(icon.offset, image.bytes.data(), icon.size);
      // What follows the image in its resource (an NSIS installer's padding)
      // is no part of it, and an icon file that counted it would be refused.
      image.bytes.resize(ImageOwnBytes(image.bytes.data(), image.bytes.size()));
      images.push_back(std::move(image));
    }
    out.images = static_cast<int>(images.size());
    out.ico = IconFileBytes(images);
    return kSuccess;
  }

 private:
  const GroupResource* Select(const IconTree& tree, const GroupSelection& selection) const {
    WantedGroup wanted = Wanted(selection.group);
    for (const GroupResource& g : tree.groups) {
      if (!selection.any_language && g.language != selection.language) continue;
      if (wanted.any || Is(g, wanted)) return &g;
    }
    return nullptr;
  }

  // A number finds only the numbered group, a name only a named one; names
  // are compared as the loader compares them, without regard to case.
  bool Is(const GroupResource& g, const WantedGroup& wanted) const {
    if (wanted.number) return !IsStringName(g.name) && g.name == *wanted.number;
    std::optional<std::u16string> name = ResourceNameUnits(r_, section_.root, g.name);
    return name && SameNameIgnoringCase(*name, wanted.name);
  }

  // Why an entry's icon cannot be taken out; empty when it can. `total`
  // counts the bytes taken so far: together they lie in the section, unless
  // entries repeat one icon, which no program needs to do thousands of times.
  std::string Damaged(const IconTree& tree, const GroupResource& group, const GroupEntryRef& e,
                      int64_t& total) const {
    std::string icon = "icon #" + std::to_string(e.nID);
    std::optional<size_t> found = tree.IconNamed(e.nID, group.language);
    if (!found) return icon + " is missing";
    const IconResource& data = tree.icons[*found];
    if (data.size == 0) return icon + " is empty";
    if (data.offset <= 0 || !section_.Contains(data.offset, data.size)) return icon + " lies outside the resource section";
    total += data.size;
    if (total > 4 * (section_.end - section_.raw)) return "its entries name more image data than the program holds";
    return {};
  }

  Reader r_;
  const ResourceSection& section_;
  const std::string& path_;
  const WarningSink& warn_;
};

// The mode's planner: it writes nothing, and its report is the icon file.
int32_t PlanExtraction(const Program& program, const GroupSelection& selection, ExtractedIcon& out,
                       std::string& failure_text) {
  ResourceSection section;
  if (int32_t found = FindResourceSection(program, section, failure_text)) return found;
  Extractor extractor(program.file, section, program.path, program.warn);
  int32_t result = kGroupDamaged;
  bool ran = Trap(program.warn, kIconLocateText, [&] {
    result = extractor.Extract(selection, out, failure_text);
    return true;
  });
  if (!ran) {
    return Fail(kGroupDamaged, "The icon resources of " + program.path + " are damaged and cannot be read.",
                failure_text);
  }
  return result;
}

// The mode's planner, for one selection, reporting into `out`.
ModePlanner Extraction(const GroupSelection& selection, ExtractedIcon& out) {
  return [&selection, &out](const Program& program, FileChange&, std::string& failure_text) {
    return PlanExtraction(program, selection, out, failure_text);
  };
}

}  // namespace

int32_t ExtractIconGroupIn(const RandomAccessFile& target, const std::string& target_path,
                           const GroupSelection& selection, ExtractedIcon& extracted, std::string& failure_text,
                           const WarningSink& warn) {
  ExtractedIcon out;
  int32_t result = ReadOn(target, target_path, Extraction(selection, out), failure_text, warn);
  if (result == kSuccess) extracted = std::move(out);
  return result;
}

int32_t ExtractIconGroup(const std::filesystem::path& target, const GroupSelection& selection,
                         ExtractedIcon& extracted, std::string& failure_text, const WarningSink& warn) {
  ExtractedIcon out;
  int32_t result = OpenAndRead(target, Extraction(selection, out), failure_text, warn);
  if (result == kSuccess) extracted = std::move(out);
  return result;
}

}  // namespace vantorel::engine

// --extract: one group icon of a program written out as an icon file, read
// without changing the program.
#include <algorithm>
#include <cctype>

#include "driver.h"
#include "icon_tree.h"
#include "resource_walk.h"
#include "traps.h"
#include "vantorel/all_sizes.h"

namespace vantorel::engine {
namespace {

bool Same_Name(const std::string& a, const std::string& b) {
  // Resource names are compared as the loader does: without regard to case.
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// "7" and "#7" name number 7; anything else is a name.
std::string Wanted_Name(const std::string& group) {
  std::string digits = !group.empty() && group[0] == '#' ? group.substr(1) : group;
  bool number = !digits.empty() && digits.size() <= 5 &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!number || std::stoul(digits) > 0xFFFF) return group;
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "#" + to_string(...).
  std::string name = "#";
  name += std::to_string(std::stoul(digits));
  return name;
}

std::string Groups_Text(const Reader& r, const ResourceSection& section, const IconTree& tree) {
  std::string text;
  for (const GroupResource& g : tree.groups) {
    text += (text.empty() ? "" : ", ") + Resource_Name(r, section.root, g.name) + " (language " +
            std::to_string(g.language) + ")";
  }
  return text;
}

class Extractor {
 public:
  Extractor(const RandomAccessFile& target, const ResourceSection& section, const std::string& target_path,
            const WarningSink& warn)
      : r_(Resource_Section_Reader(target, section)), section_(section), path_(target_path), warn_(warn) {}

  int32_t Extract(const GroupSelection& selection, ExtractedIcon& out, std::string& failure_text) {
    IconTree tree = Read_Icon_Tree(r_, section_, warn_);
    if (tree.groups.empty()) return Fail(kNoSuchGroup, path_ + " holds no icon group.", failure_text);
    const GroupResource* group = Select(tree, selection);
    if (!group) {
      std::string asked = selection.group.empty() ? "icon group" : "icon group " + selection.group;
      std::string language = selection.any_language ? "" : " in language " + std::to_string(selection.language);
      return Fail(kNoSuchGroup,
                  path_ + " holds no " + asked + language + ". Its icon groups: " +
                      Groups_Text(r_, section_, tree) + ".",
                  failure_text);
    }
    out.group = Resource_Name(r_, section_.root, group->name);
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
      const IconResource& icon = tree.icons[*tree.Icon_Named(e.nID, group->language)];
      IconFileImage image;
      image.entry = e.shared;
      image.bytes.resize(icon.size);
      r_.Bytes(icon.offset, image.bytes.data(), icon.size);
      images.push_back(std::move(image));
    }
    out.images = static_cast<int>(images.size());
    out.ico = Icon_File_Bytes(images);
    return kSuccess;
  }

 private:
  const GroupResource* Select(const IconTree& tree, const GroupSelection& selection) const {
    std::string wanted = Wanted_Name(selection.group);
    for (const GroupResource& g : tree.groups) {
      if (!selection.any_language && g.language != selection.language) continue;
      if (selection.group.empty() || Same_Name(Resource_Name(r_, section_.root, g.name), wanted)) return &g;
    }
    return nullptr;
  }

  // Why an entry's icon cannot be taken out; empty when it can. `total`
  // counts the bytes taken so far: together they lie in the section, unless
  // entries repeat one icon, which no program needs to do thousands of times.
  std::string Damaged(const IconTree& tree, const GroupResource& group, const GroupEntryRef& e,
                      int64_t& total) const {
    std::string icon = "icon #" + std::to_string(e.nID);
    std::optional<size_t> found = tree.Icon_Named(e.nID, group.language);
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

int32_t Run(const std::filesystem::path& target, const GroupSelection& selection, ExtractedIcon& out,
            std::string& failure_text, const WarningSink& warn) {
  const std::string target_path = Path_Text(target);
  std::string reason;
  auto file = OpenImageFile(target, Access::Read, reason);
  if (!file) return Fail(kOpenFailed, Open_Failure_Text(target_path, reason), failure_text);
  ResourceSection section;
  if (int32_t located = Locate_Resource_Section(*file, target_path, section, failure_text, warn)) return located;
  Extractor extractor(*file, section, target_path, warn);
  int32_t result = kGroupDamaged;
  bool ran = Trap(warn, kIconLocateText, [&] {
    result = extractor.Extract(selection, out, failure_text);
    return true;
  });
  if (!ran) {
    return Fail(kGroupDamaged, "The icon resources of " + target_path + " are damaged and cannot be read.",
                failure_text);
  }
  return result;
}

}  // namespace

int32_t Extract_Icon_Group(const std::filesystem::path& target, const GroupSelection& selection,
                           ExtractedIcon& extracted, std::string& failure_text, const WarningSink& warn) {
  try {
    ExtractedIcon out;
    int32_t result = Run(target, selection, out, failure_text, warn);
    if (result == kSuccess) extracted = std::move(out);
    return result;
  } catch (...) {
    return Failure_Thrown(failure_text);
  }
}

}  // namespace vantorel::engine

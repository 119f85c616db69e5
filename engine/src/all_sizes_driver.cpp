// --all-sizes: every icon image resource of a program gets the image of the
// icon file that best shows its size. Planned whole and checked, then written
// in one go like the first-image replacement, so every promise of that one
// holds here too.
#include <algorithm>

#include "driver.h"
#include "icon_tree.h"
#include "resource_walk.h"
#include "traps.h"
#include "all_sizes.h"
#include "nsis_crc.h"

namespace vantorel::engine {
namespace {

class AllSizesPlanner {
 public:
  AllSizesPlanner(const RandomAccessFile& target, const ResourceSection& section, const std::vector<IconImage>& images,
                  const WarningSink& warn)
      : target_(target), section_(section), images_(images), warn_(warn) {}

  // Everything but the checksum; raises on anything malformed.
  int32_t Plan(const std::string& icon_path, WritePlan& plan, AllSizesReport& report, std::string& failure_text) {
    Reader r = ResourceSectionReader(target_, section_);
    IconTree tree = ReadIconTree(r, section_, warn_);
    if (tree.icons.empty()) return Fail(kSubscriptOutOfRange, ErrorDescription(kSubscriptOutOfRange), failure_text);

    std::vector<IconSize> sizes;
    std::vector<uint32_t> bytes;
    for (const IconImage& image : images_) {
      sizes.push_back(DescribedSize(image));
      bytes.push_back(static_cast<uint32_t>(image.bytes.size()));
    }
    IconWants wants = WantedSizes(r, tree, sizes.front());

    std::vector<Stretch> free;
    try {
      free = FreeRoom(target_, section_);
    } catch (const EngineError&) {
      return Fail(kNoRoom,
                  "The resource table of the target is damaged, so no room can be found for the images of " +
                      icon_path + "." + kUnchanged,
                  failure_text);
    }
    SizeChoice choice;
    if (!ChooseImages(sizes, bytes, wants.sizes, free, choice, wants.ordinals)) {
      int64_t room = 0;
      for (const Stretch& s : free) room = std::max(room, s.end - s.begin);
      return Fail(kNoRoom,
                  icon_path + " holds no image small enough: its smallest has " +
                      std::to_string(*std::min_element(bytes.begin(), bytes.end())) +
                      " bytes; the target has room for " + std::to_string(room) + " bytes." + kUnchanged,
                  failure_text);
    }

    GuardedPlan guarded(plan, section_);
    std::vector<int64_t> offset_of(images_.size(), -1);
    for (size_t k = 0; k < choice.written.size(); ++k) {
      size_t i = choice.written[k];
      offset_of[i] = choice.offsets[k];
      guarded.Add(choice.offsets[k], images_[i].bytes, PlannedWrite::Kind::Image);
    }
    for (size_t i = 0; i < tree.icons.size(); ++i) {
      size_t image = choice.image_of_icon[i];
      int32_t rva = Offset_to_RVA(section_, static_cast<int32_t>(offset_of[image]), warn_);
      if (rva <= 0) Raise(9);  // no image lives at RVA 0, the headers do
      guarded.Add(tree.icons[i].data_entry, DataEntryFields(static_cast<uint32_t>(rva), bytes[image]),
                  PlannedWrite::Kind::IconEntry);
      report.icons.push_back(Assignment(r, tree.icons[i], wants.sizes[i], wants.from[i], image, offset_of[image], rva,
                                        choice.substitute[i]));
    }
    for (const GroupResource& g : tree.groups) {
      for (const GroupEntryRef& e : g.entries) {
        // An entry that names no icon describes nothing and is left alone.
        std::optional<size_t> icon = tree.IconNamed(e.nID, g.language);
        if (!icon) continue;
        const IconImage& image = images_[choice.image_of_icon[*icon]];
        guarded.Add(e.at, std::vector<uint8_t>(image.entry_bytes.begin(), image.entry_bytes.begin() + kSharedEntryBytes),
                    PlannedWrite::Kind::GroupEntry);
        ++report.group_entries;
      }
    }
    // Writes that share a byte, or land on the tree's own structure, would
    // undo one another or change the tree under the rewrite: a sound tree
    // never asks for that.
    if (AnyOverlap(plan) || WritesCover(plan, tree.structure)) {
      return Fail(kModifyFailed, kModifyFailedText, failure_text);
    }
    report.images_written = static_cast<int>(choice.written.size());
    return kSuccess;
  }

 private:
  SizeAssignment Assignment(const Reader& r, const IconResource& icon, const IconSize& wanted, WantedFrom from,
                            size_t image, int64_t offset, int32_t rva, bool substitute) const {
    SizeAssignment a;
    a.icon = ResourceName(r, section_.root, icon.name);
    a.language = icon.language;
    a.wanted_width = wanted.width;
    a.wanted_height = wanted.height;
    a.wanted_bits = wanted.bits;
    a.wanted_by_group = from == WantedFrom::Group;
    a.wanted_from_icon_file = from == WantedFrom::IconFile;
    a.image = static_cast<int>(image) + 1;
    IconSize given = DescribedSize(images_[image]);
    a.width = given.width;
    a.height = given.height;
    a.bits = given.bits;
    a.bytes = static_cast<uint32_t>(images_[image].bytes.size());
    a.file_offset = offset;
    a.rva = static_cast<uint32_t>(rva);
    a.substitute = substitute;
    return a;
  }

  const RandomAccessFile& target_;
  const ResourceSection& section_;
  const std::vector<IconImage>& images_;
  const WarningSink& warn_;
};

int32_t PlanAndWrite(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& icon_path,
                     const std::string& target_path, AllSizesReport& report, std::string& failure_text,
                     const WarningSink& warn, bool plan_only) {
  ResourceSection section;
  if (int32_t located = LocateResourceSection(target, target_path, section, failure_text, warn)) return located;
  WritePlan plan;
  AllSizesPlanner planner(target, section, images, warn);
  int32_t planned = kModifyFailed;
  bool ran = Trap(warn, kModifyText, [&] {
    planned = planner.Plan(icon_path, plan, report, failure_text);
    return true;
  });
  if (!ran) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  if (planned != kSuccess) return planned;
  if (int32_t checks = PlanHeaderChecks(target, section, target_path, plan, report.checksum,
                                        report.installer_check, failure_text)) {
    return checks;
  }
  return CarryOutPlan(target, plan, target_path, failure_text, plan_only);
}

}  // namespace

int32_t LoadEveryImage(const std::filesystem::path& icon, std::vector<IconImage>& images, std::string& failure_text,
                       const WarningSink& warn) {
  const std::string icon_path = PathText(icon);
  std::unique_ptr<RandomAccessFile> icon_file;
  if (int32_t opened = OpenIconSource(icon, icon_file, failure_text, warn)) return opened;
  std::string why;
  int32_t loaded = LoadIconImages(*icon_file, images, why);
  if (loaded == kNotIconFile) {
    return Fail(kNotIconFile, icon_path + " is not a valid icon resource file. " + why + ".", failure_text);
  }
  if (loaded != kSuccess) return Fail(loaded, ErrorDescription(loaded), failure_text);
  return kSuccess;
}

namespace {

int32_t Run(const std::filesystem::path& icon, const std::filesystem::path& target, AllSizesReport& report,
            std::string& failure_text, const WarningSink& warn, bool plan_only) {
  const std::string icon_path = PathText(icon), target_path = PathText(target);
  std::vector<IconImage> images;
  if (int32_t loaded = LoadEveryImage(icon, images, failure_text, warn)) return loaded;
  std::unique_ptr<RandomAccessFile> target_file;
  if (int32_t opened = OpenTarget(target, target_file, failure_text)) return opened;
  return ReplaceAllSizesIn(*target_file, images, icon_path, target_path, report, failure_text, warn, plan_only);
}

}  // namespace

int32_t ReplaceAllSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images,
                          const std::string& icon_path, const std::string& target_path, AllSizesReport& report,
                          std::string& failure_text, const WarningSink& warn, bool plan_only) {
  // Nothing thrown gets past: every write happens in CarryOutPlan, which puts
  // back what it wrote before it reports a failure.
  try {
    AllSizesReport planned;
    int32_t result = PlanAndWrite(target, images, icon_path, target_path, planned, failure_text, warn, plan_only);
    if (result == kSuccess) report = std::move(planned);
    return result;
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

int32_t ChangeIconAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AllSizesReport& report, std::string& failure_text, const WarningSink& warn,
                           bool plan_only) {
  try {
    return Run(icon, target, report, failure_text, warn, plan_only);
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

}  // namespace vantorel::engine

// --all-sizes: every icon image resource of a program gets the image of the
// icon file that best shows its size. Planned whole and checked, and written
// by the frame like the first-image replacement, so every promise of that one
// holds here too.
#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "icon_modes.h"
#include "mode_frame.h"
#include "errors/failures.h"
#include "errors/guarded.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "icons/icon_file.h"
#include "icons/icon_rewrite.h"
#include "icons/icon_sizes.h"
#include "icons/icon_tree.h"
#include "icons/image_room.h"
#include "icons/size_choice.h"
#include "pe/nsis_crc.h"
#include "pe/pe_layout.h"
#include "resources/resource_walk.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// Which image each icon gets and where it lies.
struct Placement {
  PlacesChoice choice;
  std::vector<int64_t> offset_of_icon;
  size_t images = 0;  // distinct images written
};

class AllSizesPlanner {
 public:
  AllSizesPlanner(const RandomAccessFile& target, const ResourceSection& section, const std::vector<IconImage>& images,
                  const WarningSink& warn)
      : target_(target), section_(section), images_(images), warn_(warn),
        installer_(FindNsisHeader(target).offset >= 0) {}

  // Everything but the checksum; raises on anything malformed.
  int32_t Plan(const std::string& icon_path, const std::string& target_path, WritePlan& plan, AllSizesReport& report,
               std::string& failure_text) {
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
    Placement placed;
    int32_t chosen = installer_ ? PlaceInPlaces(tree, sizes, bytes, wants, icon_path, target_path, placed, failure_text)
                                : PlaceInFreeRoom(tree, sizes, bytes, wants, icon_path, placed, failure_text);
    if (chosen != kSuccess) return chosen;

    ImageAssignment assignment = Assign(tree, placed);
    std::vector<int32_t> rva = PlanImages(section_, images_, assignment.places, plan, warn_);
    IconRewrite rewrite = PlanEntries(tree, section_, images_, assignment, rva, plan);
    // Writes that share a byte, or land on the tree's own structure, would
    // undo one another or change the tree under the rewrite: a sound tree
    // never asks for that.
    if (rewrite.overlap || rewrite.over_structure) return Fail(kModifyFailed, kModifyFailedText, failure_text);
    for (size_t i = 0; i < tree.icons.size(); ++i) {
      size_t p = assignment.place_of_icon[i];
      if (p == ImageAssignment::kNone) {
        report.icons.push_back(Wanted(r, tree.icons[i], wants.sizes[i], wants.from[i], tree.icons[i].offset));
        report.icons.back().shown_by = ResourceName(r, section_.root, tree.icons[placed.choice.shown_by[i]].name);
        continue;
      }
      report.icons.push_back(Assignment(r, tree.icons[i], wants.sizes[i], wants.from[i], assignment.places[p].image,
                                        assignment.places[p].at, rva[p], placed.choice.substitute[i]));
    }
    report.group_entries = rewrite.group_entries;
    report.images_written = static_cast<int>(placed.images);
    report.installer_places = installer_;
    return kSuccess;
  }

 private:
  // Each icon's image at its place: an image given to several icons at one
  // place is written there once.
  ImageAssignment Assign(const IconTree& tree, const Placement& placed) const {
    ImageAssignment a;
    a.shown_by = placed.choice.shown_by;
    a.data_entries = !installer_;
    std::map<std::pair<int64_t, size_t>, size_t> place_of;
    for (size_t i = 0; i < tree.icons.size(); ++i) {
      size_t image = placed.choice.image_of_icon[i];
      if (image == PlacesChoice::kNone) {
        a.place_of_icon.push_back(ImageAssignment::kNone);
        continue;
      }
      auto [known, fresh] = place_of.emplace(std::make_pair(placed.offset_of_icon[i], image), a.places.size());
      if (fresh) a.places.push_back({placed.offset_of_icon[i], image});
      a.place_of_icon.push_back(known->second);
    }
    return a;
  }

  // The room of the old icon images and of padding nobody references.
  int32_t Room(const std::string& icon_path, std::vector<Stretch>& free, std::string& failure_text) const {
    try {
      free = FreeRoom(target_, section_);
      return kSuccess;
    } catch (const EngineError&) {
      return Fail(kNoRoom,
                  "The resource table of the target is damaged, so no room can be found for the images of " +
                      icon_path + "." + kUnchanged,
                  failure_text);
    }
  }

  int32_t PlaceInFreeRoom(const IconTree& tree, const std::vector<IconSize>& sizes, const std::vector<uint32_t>& bytes,
                          const IconWants& wants, const std::string& icon_path, Placement& placed,
                          std::string& failure_text) const {
    std::vector<Stretch> free;
    if (int32_t found = Room(icon_path, free, failure_text)) return found;
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
    std::vector<int64_t> offset_of(images_.size(), -1);
    for (size_t k = 0; k < choice.written.size(); ++k) offset_of[choice.written[k]] = choice.offsets[k];
    for (size_t i = 0; i < tree.icons.size(); ++i) {
      placed.offset_of_icon.push_back(offset_of[choice.image_of_icon[i]]);
      placed.choice.shown_by.push_back(i);
    }
    placed.choice.image_of_icon = choice.image_of_icon;
    placed.choice.substitute = choice.substitute;
    placed.images = choice.written.size();
    return kSuccess;
  }

  // An NSIS installer: each image goes into an icon's own place, and the data
  // entries stay as they are (all_sizes.h).
  int32_t PlaceInPlaces(const IconTree& tree, const std::vector<IconSize>& sizes, const std::vector<uint32_t>& bytes,
                        const IconWants& wants, const std::string& icon_path, const std::string& target_path,
                        Placement& placed, std::string& failure_text) const {
    std::vector<Stretch> free;
    if (int32_t found = Room(icon_path, free, failure_text)) return found;
    std::vector<uint32_t> room;
    for (const IconResource& icon : tree.icons) {
      // A place that other data shares is not the icon's to write; a named
      // icon is never shown, as no group entry can name it.
      bool writable = !IsStringName(icon.name) && std::any_of(free.begin(), free.end(), [&](const Stretch& f) {
        return icon.offset >= f.begin && int64_t{icon.offset} + icon.size <= f.end;
      });
      room.push_back(writable ? icon.size : 0);
    }
    if (!ChooseInPlaces(sizes, bytes, wants.sizes, wants.ordinals, room, placed.choice)) {
      return Fail(kNoRoom,
                  target_path +
                      " is an NSIS installer: the uninstaller it writes puts its own icon back where the installer's "
                      "icon images lie, so each keeps its place and size. The smallest image of " + icon_path +
                      " that would go there has " + std::to_string(*std::min_element(bytes.begin(), bytes.end())) +
                      " bytes; the target has room for " + std::to_string(*std::max_element(room.begin(), room.end())) +
                      " bytes, in its largest icon image." + kUnchanged,
                  failure_text);
    }
    std::set<size_t> distinct;
    for (size_t i = 0; i < tree.icons.size(); ++i) {
      placed.offset_of_icon.push_back(tree.icons[i].offset);
      if (placed.choice.image_of_icon[i] != PlacesChoice::kNone) distinct.insert(placed.choice.image_of_icon[i]);
    }
    placed.images = distinct.size();
    return kSuccess;
  }

  // What an icon wants, and where its image lies.
  SizeAssignment Wanted(const Reader& r, const IconResource& icon, const IconSize& wanted, WantedFrom from,
                        int64_t offset) const {
    SizeAssignment a;
    a.icon = ResourceName(r, section_.root, icon.name);
    a.language = icon.language;
    a.wanted_width = wanted.width;
    a.wanted_height = wanted.height;
    a.wanted_bits = wanted.bits;
    a.wanted_by_group = from == WantedFrom::Group;
    a.wanted_from_icon_file = from == WantedFrom::IconFile;
    a.file_offset = offset;
    return a;
  }

  SizeAssignment Assignment(const Reader& r, const IconResource& icon, const IconSize& wanted, WantedFrom from,
                            size_t image, int64_t offset, int32_t rva, bool substitute) const {
    SizeAssignment a = Wanted(r, icon, wanted, from, offset);
    a.image = static_cast<int>(image) + 1;
    IconSize given = DescribedSize(images_[image]);
    a.width = given.width;
    a.height = given.height;
    a.bits = given.bits;
    a.bytes = static_cast<uint32_t>(images_[image].bytes.size());
    a.rva = static_cast<uint32_t>(rva);
    a.substitute = substitute;
    return a;
  }

  const RandomAccessFile& target_;
  const ResourceSection& section_;
  const std::vector<IconImage>& images_;
  const WarningSink& warn_;
  const bool installer_;  // an NSIS installer: every icon image keeps its place
};

}  // namespace

int32_t PlanAllSizes(const Program& program, const std::vector<IconImage>& images, const std::string& icon_path,
                     FileChange& change, AllSizesReport& report, std::string& failure_text) {
  ResourceSection section;
  if (int32_t found = FindResourceSection(program, section, failure_text)) return found;
  WritePlan& plan = change.in_place;
  AllSizesPlanner planner(program.file, section, images, program.warn);
  int32_t planned = kModifyFailed;
  bool ran = Trap(program.warn, kModifyText, [&] {
    planned = planner.Plan(icon_path, program.path, plan, report, failure_text);
    return true;
  });
  if (!ran) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  if (planned != kSuccess) return planned;
  return PlanHeaderChecks(program.file, section, program.path, plan, report.checksum, report.installer_check,
                          failure_text);
}

int32_t ReplaceAllSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images,
                          const std::string& icon_path, const std::string& target_path, AllSizesReport& report,
                          std::string& failure_text, const WarningSink& warn, bool plan_only) {
  ReportingPlanner<AllSizesReport> all_sizes = [&](const Program& program, FileChange& change,
                                                   AllSizesReport& planned, std::string& failure) {
    return PlanAllSizes(program, images, icon_path, change, planned, failure);
  };
  return RunReported(target, target_path, all_sizes, plan_only, report, failure_text, warn);
}

}  // namespace vantorel::engine

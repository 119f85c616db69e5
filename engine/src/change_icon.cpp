// The replacement driver: opens and tests both files, plans every write, checks
// it, and only then writes.
#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "driver.h"
#include "traps.h"
#include "vantorel/engine.h"
#include "mod_pe.h"
#include "all_sizes.h"
#include "nsis_crc.h"

namespace vantorel::engine {
namespace {

int32_t NoRoom(const std::string& icon_path, uint32_t bytes, const ImagePlacement& placement,
               std::string& failure_text) {
  if (placement.damaged) {
    return Fail(kNoRoom,
                icon_path + " holds an image of " + std::to_string(bytes) +
                    " bytes, more than the first icon image's place holds, and the target's resource table is "
                    "damaged, so no other room can be found." + kUnchanged,
                failure_text);
  }
  return Fail(kNoRoom,
              icon_path + " holds an image of " + std::to_string(bytes) + " bytes; the target has room for " +
                  std::to_string(placement.room) + " bytes." + kUnchanged,
              failure_text);
}

// An NSIS installer's icon images keep their places (all_sizes.h): the image
// goes into each that holds it, as --all-sizes puts an icon file of that one
// image there.
int32_t PlanInPlaces(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                     const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                     ReplacementPlan& plan, bool plan_only) {
  AllSizesReport report;
  int32_t result = ReplaceAllSizesIn(target, {icon}, icon_path, target_path, report, failure_text, warn, plan_only);
  if (result != kSuccess) return result;
  for (const SizeAssignment& a : report.icons) {
    if (!a.shown_by.empty()) continue;  // too small for it: the old image stays
    if (plan.icon_entries++ == 0) {
      plan.image_offset = static_cast<int32_t>(a.file_offset);
      plan.image_rva = static_cast<int32_t>(a.rva);
      plan.image_in_place = &a == &report.icons.front();
    }
  }
  plan.group_entries = report.group_entries;
  plan.checksum = report.checksum;
  plan.installer_check = report.installer_check;
  plan.installer_places = true;
  return kSuccess;
}

// Plans (and unless `plan_only`, writes) the replacement. Writes happen only
// in its last step, so whatever is thrown before leaves the target as it was.
int32_t PlanAndWrite(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                     const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                     ReplacementPlan& plan, bool plan_only) {
  plan.image_bytes = static_cast<uint32_t>(icon.bytes.size());
  ResourceSection section;
  if (int32_t located = LocateResourceSection(target, target_path, section, failure_text, warn)) return located;
  if (FindNsisHeader(target).offset >= 0) {
    return PlanInPlaces(target, icon, icon_path, target_path, failure_text, warn, plan, plan_only);
  }
  std::vector<IconImageRef> icons;
  Find_Icon_Resources(target, section, icons, warn);
  if (icons.empty()) return Fail(kSubscriptOutOfRange, ErrorDescription(kSubscriptOutOfRange), failure_text);

  uint32_t bytes = icon.entry.dwBytesInRes;
  bool mapped = false;
  ImagePlacement placement = Trap(warn, kModifyText, [&] {
    ImagePlacement p = FindImageRoom(target, section, icons.front(), bytes);
    mapped = true;
    return p;
  });
  if (!mapped) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  if (placement.offset < 0) return NoRoom(icon_path, bytes, placement, failure_text);

  plan.image_offset = placement.offset;
  plan.image_in_place = placement.in_place;
  plan.room_bytes = placement.room;
  if (!Modify_Resource_Directories(target, section, placement.offset, icon, plan.writes, warn)) {
    return Fail(kModifyFailed, kModifyFailedText, failure_text);
  }
  if (AnyOverlap(plan.writes)) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  for (size_t i = 0; i < plan.writes.size(); ++i) {
    if (plan.writes[i].kind == PlannedWrite::Kind::IconEntry) ++plan.icon_entries;
    if (plan.writes[i].kind == PlannedWrite::Kind::GroupEntry) ++plan.group_entries;
  }
  plan.image_rva = Offset_to_RVA(section, placement.offset, warn);
  if (int32_t checks = PlanHeaderChecks(target, section, target_path, plan.writes, plan.checksum,
                                        plan.installer_check, failure_text)) {
    return checks;
  }

  return CarryOutPlan(target, plan.writes, target_path, failure_text, plan_only);
}

}  // namespace

int32_t FailureThrown(std::string& failure_text) {
  try {
    throw;
  } catch (const EngineError& e) {
    return Fail(e.number(), ErrorDescription(e.number()) + "." + kUnchanged, failure_text);
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory, ErrorDescription(kOutOfMemory) + "." + kUnchanged, failure_text);
  } catch (const std::length_error&) {
    return Fail(kOutOfMemory, ErrorDescription(kOutOfMemory) + "." + kUnchanged, failure_text);
  } catch (const std::exception& e) {
    return Fail(kUnexpected, std::string("Unexpected error: ") + e.what() + "." + kUnchanged, failure_text);
  } catch (...) {
    return Fail(kUnexpected, std::string("Unexpected error.") + kUnchanged, failure_text);
  }
}

int32_t LocateResourceSection(const RandomAccessFile& target, const std::string& target_path,
                              ResourceSection& section, std::string& failure_text, const WarningSink& warn) {
  if (!Is_Valid_PE(target)) {
    return Fail(kNotWin32Executable, NotWin32Text(target_path), failure_text);
  }
  section = Find_Resource_Tree(target, warn);
  if (section.root <= kHeadersEnd) {
    return Fail(kNoResourceTree, NoTreeText(target_path), failure_text);
  }
  return kSuccess;
}

int32_t OpenTarget(const std::filesystem::path& target, std::unique_ptr<RandomAccessFile>& file,
                   std::string& failure_text) {
  std::string reason;
  file = OpenImageFile(target, Access::ReadWrite, reason);
  return file ? kSuccess : Fail(kOpenFailed, OpenFailureText(PathText(target), reason), failure_text);
}

int32_t CarryOutPlan(RandomAccessFile& target, const WritePlan& plan, const std::string& target_path,
                     std::string& failure_text, bool plan_only) {
  bool restored = false;
  if (!plan_only && !ApplyWrites(target, plan, restored)) return WriteFailed(target_path, restored, failure_text);
  return kSuccess;
}

int32_t WriteFailed(const std::string& target_path, bool restored, std::string& failure_text) {
  return Fail(kWriteFailed,
              "Failed to write to " + target_path +
                  (restored ? ". The target was left unchanged."
                            : ". The target may be damaged; restore it from its backup."),
              failure_text);
}

int32_t LoadFirstIconImage(const std::filesystem::path& icon, IconImage& image, std::string& failure_text,
                           const WarningSink& warn) {
  const std::string icon_path = PathText(icon);
  std::unique_ptr<RandomAccessFile> icon_file;
  if (int32_t opened = OpenIconSource(icon, icon_file, failure_text, warn)) return opened;
  if (!Is_Valid_Icon_File(*icon_file)) {
    return Fail(kNotIconFile, icon_path + " is not a valid icon resource file.", failure_text);
  }
  int32_t loaded = LoadFirstImage(*icon_file, image);
  if (loaded == kNotIconFile) return Fail(kNotIconFile, icon_path + " is not a valid icon resource file.", failure_text);
  if (loaded != kSuccess) return Fail(loaded, ErrorDescription(loaded), failure_text);
  return kSuccess;
}

ReplacementPreview DescribedPlan(const ReplacementPlan& plan) {
  ReplacementPreview described;
  described.image_offset = plan.image_offset;
  described.image_rva = static_cast<uint32_t>(plan.image_rva);
  described.image_bytes = plan.image_bytes;
  described.image_in_place = plan.image_in_place;
  described.room_bytes = plan.room_bytes;
  described.icon_entries = plan.icon_entries;
  described.group_entries = plan.group_entries;
  described.checksum = plan.checksum;
  described.installer_check = plan.installer_check;
  described.installer_places = plan.installer_places;
  return described;
}

int32_t ReplaceIconIn(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                      const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                      ReplacementPlan* plan_out, bool plan_only) {
  // Out of memory, or anything else thrown, while planning: nothing has been
  // written (ApplyWrites allocates before it writes and puts back what it
  // wrote), so the target is as it was.
  try {
    ReplacementPlan plan;
    int32_t result = PlanAndWrite(target, icon, icon_path, target_path, failure_text, warn, plan, plan_only);
    if (result == kSuccess && plan_out) *plan_out = std::move(plan);
    return result;
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

namespace {

// Both halves of a replacement, with the icon file closed before the target
// is opened.
int32_t Run(const std::filesystem::path& icon, const std::filesystem::path& target, std::string& failure_text,
            const WarningSink& warn, ReplacementPlan* plan, bool plan_only) {
  IconImage image;
  if (int32_t loaded = LoadFirstIconImage(icon, image, failure_text, warn)) return loaded;
  std::unique_ptr<RandomAccessFile> target_file;
  if (int32_t opened = OpenTarget(target, target_file, failure_text)) return opened;
  return ReplaceIconIn(*target_file, image, PathText(icon), PathText(target), failure_text, warn, plan, plan_only);
}

// Run, with nothing thrown past it: the paths' conversions and the opens can
// throw too (out of memory, a path the system cannot convert).
int32_t RunCaught(const std::filesystem::path& icon, const std::filesystem::path& target, std::string& failure_text,
                  const WarningSink& warn, ReplacementPlan* plan, bool plan_only) {
  try {
    return Run(icon, target, failure_text, warn, plan, plan_only);
  } catch (...) {
    return FailureThrown(failure_text);
  }
}

}  // namespace

int32_t Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                    std::string& failure_text, const WarningSink& warn) {
  // A picture has no first image: it stands for an icon of every size, and
  // each icon gets the image of its own, as the command line gives it.
  if (IsPictureFile(icon)) {
    AllSizesReport report;
    return ChangeIconAllSizes(icon, target, report, failure_text, warn);
  }
  return RunCaught(icon, target, failure_text, warn, nullptr, false);
}

namespace {

// A replacement (or with `plan_only` its plan alone), described.
int32_t RunDescribed(const std::filesystem::path& icon, const std::filesystem::path& target,
                     ReplacementPreview& described, std::string& failure_text, const WarningSink& warn,
                     bool plan_only) {
  ReplacementPlan plan;
  int32_t result = RunCaught(icon, target, failure_text, warn, &plan, plan_only);
  if (result == kSuccess) described = DescribedPlan(plan);
  return result;
}

}  // namespace

int32_t PreviewChangeIcon(const std::filesystem::path& icon, const std::filesystem::path& target,
                          ReplacementPreview& preview, std::string& failure_text, const WarningSink& warn) {
  return RunDescribed(icon, target, preview, failure_text, warn, true);
}

int32_t ChangeIconReported(const std::filesystem::path& icon, const std::filesystem::path& target,
                           ReplacementPreview& done, std::string& failure_text, const WarningSink& warn) {
  return RunDescribed(icon, target, done, failure_text, warn, false);
}

bool IsSignedProgram(const std::filesystem::path& target) {
  try {
    auto file = OpenImageFile(target, Access::Read);
    return file && Is_Valid_PE(*file) && IsSigned(*file);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vantorel::engine

// The first-image replacement: the icon file's first image goes over the
// first icon image, or into free room of the resource data, and every icon
// and group entry of the program describes it. Planned whole and checked;
// the frame writes it.
#include <utility>

#include "icon_modes.h"
#include "mode_frame.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "icons/icon_file.h"
#include "icons/icon_rewrite.h"
#include "icons/icon_tree.h"
#include "icons/image_room.h"
#include "pe/nsis_crc.h"
#include "pe/pe_layout.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

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
int32_t PlanInPlaces(const Program& program, const IconImage& icon, const std::string& icon_path, FileChange& change,
                     ReplacementPlan& plan, std::string& failure_text) {
  AllSizesReport report;
  int32_t result = PlanAllSizes(program, {icon}, icon_path, change, report, failure_text);
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

}  // namespace

int32_t PlanFirstImage(const Program& program, const IconImage& icon, const std::string& icon_path,
                       FileChange& change, ReplacementPlan& plan, std::string& failure_text) {
  const RandomAccessFile& target = program.file;
  const WarningSink& warn = program.warn;
  plan.image_bytes = static_cast<uint32_t>(icon.bytes.size());
  ResourceSection section;
  if (int32_t found = FindResourceSection(program, section, failure_text)) return found;
  if (FindNsisHeader(target).offset >= 0) return PlanInPlaces(program, icon, icon_path, change, plan, failure_text);
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
  WritePlan& writes = change.in_place;
  if (!Modify_Resource_Directories(target, section, placement.offset, icon, writes, warn)) {
    return Fail(kModifyFailed, kModifyFailedText, failure_text);
  }
  if (AnyOverlap(writes)) return Fail(kModifyFailed, kModifyFailedText, failure_text);
  for (const PlannedWrite& w : writes) {
    if (w.kind == PlannedWrite::Kind::IconEntry) ++plan.icon_entries;
    if (w.kind == PlannedWrite::Kind::GroupEntry) ++plan.group_entries;
  }
  plan.image_rva = Offset_to_RVA(section, placement.offset, warn);
  return PlanHeaderChecks(target, section, program.path, writes, plan.checksum, plan.installer_check, failure_text);
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
  ReportingPlanner<ReplacementPlan> first_image = [&](const Program& program, FileChange& change,
                                                      ReplacementPlan& plan, std::string& failure) {
    return PlanFirstImage(program, icon, icon_path, change, plan, failure);
  };
  ReplacementPlan plan;
  int32_t result = RunReported(target, target_path, first_image, plan_only, plan, failure_text, warn);
  if (result == kSuccess && plan_out) *plan_out = std::move(plan);
  return result;
}

}  // namespace vantorel::engine

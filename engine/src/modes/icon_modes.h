// The modes that work on a program's icons: each a planner the frame runs
// (mode_frame.h), filling the report that says what its plan means, and its
// entry on a target that is already open (the tests and the fuzz target run
// them on files in memory).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mode_frame.h"
#include "files/random_access_file.h"
#include "icons/icon_file.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// What the first-image replacement's plan means.
struct ReplacementPlan {
  int32_t image_offset = -1;
  int32_t image_rva = -1;
  uint32_t image_bytes = 0;
  bool image_in_place = true;  // at the first icon image's own place
  int64_t room_bytes = 0;      // the free stretch a moved image goes into
  int icon_entries = 0;
  int group_entries = 0;
  bool checksum = false;
  bool installer_check = false;  // an NSIS installer's own CRC kept right
  bool installer_places = false;  // an NSIS installer: in every icon image's place that holds it
};

// What a first-image replacement's plan does, as the callers describe it.
ReplacementPreview DescribedPlan(const ReplacementPlan& plan);

// The icon file's first image over the first icon image or in free room, and
// every icon and group entry describing it.
int32_t PlanFirstImage(const Program& program, const IconImage& icon, const std::string& icon_path,
                       FileChange& change, ReplacementPlan& plan, std::string& failure_text);

// Each icon the image that best shows its size, in the room of the old ones
// (in an NSIS installer, in each icon's own place).
int32_t PlanAllSizes(const Program& program, const std::vector<IconImage>& images, const std::string& icon_path,
                     FileChange& change, AllSizesReport& report, std::string& failure_text);

// Every image in every group, in a section added at the end of the file.
int32_t PlanAddSizes(const Program& program, const std::vector<IconImage>& images, FileChange& change,
                     AddSizesReport& report, std::string& failure_text);

// The second half of Change_Icon, on a target that is already open: plans,
// then writes unless `plan_only`.
int32_t ReplaceIconIn(RandomAccessFile& target, const IconImage& icon, const std::string& icon_path,
                      const std::string& target_path, std::string& failure_text, const WarningSink& warn,
                      ReplacementPlan* plan_out = nullptr, bool plan_only = false);

// The target half of ChangeIconAllSizes, on a target that is already open
// and the icon file's images already loaded (at least one).
int32_t ReplaceAllSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images,
                          const std::string& icon_path, const std::string& target_path, AllSizesReport& report,
                          std::string& failure_text, const WarningSink& warn, bool plan_only = false);

// The target half of ChangeIconAddSizes, on a target that is already open
// and the icon file's images already loaded (at least one).
int32_t AddSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                   AddSizesReport& report, std::string& failure_text, const WarningSink& warn = {},
                   bool plan_only = false);

// ExtractIconGroup on a target that is already open.
int32_t ExtractIconGroupIn(const RandomAccessFile& target, const std::string& target_path,
                           const GroupSelection& selection, ExtractedIcon& extracted, std::string& failure_text,
                           const WarningSink& warn = {});

}  // namespace vantorel::engine

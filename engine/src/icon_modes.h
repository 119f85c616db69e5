// The modes that give a program's icons the images of an icon file: each a
// planner the frame runs (mode_frame.h), filling the report it says what its
// plan means in.
#pragma once

#include <string>
#include <vector>

#include "mode_frame.h"

namespace vantorel::engine {

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

}  // namespace vantorel::engine

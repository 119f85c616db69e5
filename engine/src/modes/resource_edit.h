// The version resources and the manifest of an open program: each one's new
// bytes, and where they go (in place, or with a new resource tree in the
// section --add-sizes adds).
#pragma once

#include <string>

#include "mode_frame.h"
#include "vantorel/program_resources.h"

namespace vantorel::engine {

// The planner of EditProgramResources: the edit on a program the frame
// opened (mode_frame.h); `edit`'s manifest, when it has one, has been
// checked.
int32_t PlanResourceEdit(const Program& program, const ResourceEdit& edit, FileChange& change,
                         ResourceEditReport& report, std::string& failure_text);

// EditProgramResources on a target that is already open; `edit`'s manifest,
// when it has one, has been checked.
int32_t EditResourcesIn(RandomAccessFile& target, const ResourceEdit& edit, const std::string& target_path,
                        ResourceEditReport& report, std::string& failure_text, const WarningSink& warn,
                        bool plan_only);

// ReadProgramResources on a target that is already open.
int32_t ReadResourcesIn(const RandomAccessFile& target, const std::string& target_path, ProgramResources& out,
                        std::string& failure_text, const WarningSink& warn);

}  // namespace vantorel::engine

// One run of an icon mode from the files' names: the icon file is read and
// closed, then the target is opened once, examined, and handed to the mode.
#include <utility>

#include "icon_modes.h"
#include "mode_frame.h"
#include "errors/failures.h"
#include "errors/traps.h"
#include "files/random_access_file.h"
#include "pe/container.h"
#include "pe/pe_headers.h"
#include "pictures/icon_source.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

using Warning = std::pair<std::string, std::string>;

// A picture has no first image: it is an icon of every size, and each icon
// gets the image of its own; a program built without resources has no icon
// to give an image, and gets them added, when the caller wants that.
IconMode ModeToRun(IconMode asked, bool picture, bool no_resources, const IconRunOptions& options) {
  if (!picture || asked == IconMode::kAddSizes) return asked;
  return options.picture_adds_sizes && no_resources ? IconMode::kAddSizes : IconMode::kAllSizes;
}

// The planner of `mode` on the icon's images, reporting into `run`.
ModePlanner PlannerFor(IconMode mode, const IconSource& source, const std::string& icon_path, IconRun& run) {
  switch (mode) {
    case IconMode::kFirstImage:
      return [&source, &icon_path, &run](const Program& program, FileChange& change, std::string& failure_text) {
        ReplacementPlan plan;
        int32_t result = PlanFirstImage(program, source.images.front(), icon_path, change, plan, failure_text);
        run.report.first_image = DescribedPlan(plan);
        return result;
      };
    case IconMode::kAllSizes:
      return [&source, &icon_path, &run](const Program& program, FileChange& change, std::string& failure_text) {
        return PlanAllSizes(program, source.images, icon_path, change, run.report.all_sizes, failure_text);
      };
    case IconMode::kAddSizes:
      break;
  }
  return [&source, &run](const Program& program, FileChange& change, std::string& failure_text) {
    return PlanAddSizes(program, source.images, change, run.report.add_sizes, failure_text);
  };
}

// What is known of the target before the mode plans: whether it is a
// program, signed, built without resources. A program that cannot be opened
// for writing may still be read: what it is is known all the same.
TargetFacts Look(const RandomAccessFile* file, const std::filesystem::path& target) {
  std::unique_ptr<RandomAccessFile> read;
  if (!file) {
    read = OpenImageFile(target, Access::Read);
    if (!read) return {};
  }
  const RandomAccessFile& looked = file ? *file : *read;
  TargetFacts facts = Examine(looked, true);
  facts.no_resources = facts.program && BuiltWithoutResources(looked);
  return facts;
}

int32_t Run(const std::filesystem::path& icon, const std::filesystem::path& target, IconMode mode,
            const IconRunOptions& options, IconRun& run, std::string& failure_text, const WarningSink& warn) {
  const std::string icon_path = PathText(icon), target_path = PathText(target);
  // The icon first, closed before the target is opened: the two may be one
  // file. Its warnings wait until a signed target is refused or not, as
  // nothing of the run is wanted then.
  std::vector<Warning> held;
  IconSource source;
  std::string icon_failure;
  int32_t loaded = LoadIcon(icon, mode == IconMode::kFirstImage, source, icon_failure,
                            [&held](const std::string& title, const std::string& text) { held.emplace_back(title, text); });
  std::unique_ptr<RandomAccessFile> file;
  std::string open_failure;
  const int32_t opened = OpenForWriting(target, file, open_failure);
  const TargetFacts facts = Look(file.get(), target);
  run.is_signed = facts.is_signed;
  run.no_resources = facts.no_resources;
  run.mode = ModeToRun(mode, source.picture, facts.no_resources, options);
  if (options.refuse_signed && facts.is_signed && run.mode != IconMode::kAddSizes) {
    return Fail(kSignedRefused, target_path + " is signed; changing it would invalidate its signature." + kUnchanged,
                failure_text);
  }
  for (const Warning& w : held) Warn(warn, w.first, w.second);
  if (loaded != kSuccess) return Fail(loaded, icon_failure, failure_text);
  if (opened != kSuccess) return Fail(opened, open_failure, failure_text);
  int32_t result = PlanAndWrite(*file, options.plan_only ? nullptr : file.get(), target_path, facts,
                                PlannerFor(run.mode, source, icon_path, run), failure_text, warn);
  if (result == kSuccess && options.plan_only) run.container = ContainerOf(*file);
  return result;
}

}  // namespace

int32_t RunIconMode(const std::filesystem::path& icon, const std::filesystem::path& target, IconMode mode,
                    const IconRunOptions& options, IconRun& run, std::string& failure_text, const WarningSink& warn) {
  IconRun done;
  int32_t result = Caught(failure_text, LeftUnchanged(),
                          [&] { return Run(icon, target, mode, options, done, failure_text, warn); });
  // What the run found of the files is said whatever the outcome; what it
  // planned, only when all of it succeeded.
  run.mode = done.mode;
  run.is_signed = done.is_signed;
  run.no_resources = done.no_resources;
  if (result == kSuccess) run = std::move(done);
  return result;
}

IconRun ForeseeIconRun(const std::filesystem::path& icon, const std::filesystem::path& target, IconMode mode,
                       const IconRunOptions& options) {
  IconRun seen;
  try {
    const TargetFacts facts = Look(nullptr, target);
    seen.is_signed = facts.is_signed;
    seen.no_resources = facts.no_resources;
    seen.mode = ModeToRun(mode, IsPictureFile(icon), facts.no_resources, options);
  } catch (const std::exception&) {
    seen.mode = mode;
  }
  return seen;
}

int32_t Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                    std::string& failure_text, const WarningSink& warn) {
  IconRun run;
  return RunIconMode(icon, target, IconMode::kFirstImage, {}, run, failure_text, warn);
}

int32_t ChangeIconAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AllSizesReport& report, std::string& failure_text, const WarningSink& warn,
                           bool plan_only) {
  IconRun run;
  int32_t result = RunIconMode(icon, target, IconMode::kAllSizes, {plan_only, false}, run, failure_text, warn);
  if (result == kSuccess) report = std::move(run.report.all_sizes);
  return result;
}

int32_t ChangeIconAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AddSizesReport& report, std::string& failure_text, const WarningSink& warn,
                           bool plan_only) {
  IconRun run;
  int32_t result = RunIconMode(icon, target, IconMode::kAddSizes, {plan_only, false}, run, failure_text, warn);
  if (result == kSuccess) report = std::move(run.report.add_sizes);
  return result;
}

}  // namespace vantorel::engine

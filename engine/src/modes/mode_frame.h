// One run of a mode. The frame opens the target once and examines it (a
// program? signed?); the mode plans on it and says in its report what the
// plan means; the frame writes the plan with the one writer, unless the run
// only plans, and hands the report over only when all of it succeeded.
// Whatever is thrown ends the run with its failure: nothing is written before
// the writer, and the writer puts back what it wrote.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "files/random_access_file.h"
#include "pe/pe_layout.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// The target as the frame hands it to a mode: open, and a program.
struct Program {
  const RandomAccessFile& file;
  const std::string& path;  // as the user gave it, for the texts
  const WarningSink& warn;
};

// What the frame learns of the target, whatever the outcome.
struct TargetFacts {
  bool program = false;    // Is_Valid_PE
  bool is_signed = false;  // a program with a certificate table (when asked)
  bool no_resources = false;  // a program built without resources (when asked)
};

// A mode's planner: what it would write goes in `change` (nothing, for a
// mode that only reads), what that means in the report it keeps. 0, or a
// failure with its text.
using ModePlanner = std::function<int32_t(const Program& program, FileChange& change, std::string& failure_text)>;

// The end of a thrown failure's text for a mode that may write: the
// failure's own description is followed by what it left as it was.
const std::string& LeftUnchanged();

// The one catch of every run: runs `body`, and turns whatever it throws into
// the failure it stands for, whose text ends with `tail`.
int32_t Caught(std::string& failure_text, const std::string& tail, const std::function<int32_t()>& body);

// Whether `file` is a program, and with `signature` whether it is signed.
TargetFacts Examine(const RandomAccessFile& file, bool signature = false);

// The frame on a target opened and examined: 1002 for a file that is not a
// program; the mode's plan; then the one writer, unless `writable` is null
// (a mode that only reads, or a run that only plans).
int32_t PlanAndWrite(const RandomAccessFile& file, RandomAccessFile* writable, const std::string& path,
                     const TargetFacts& facts, const ModePlanner& plan, std::string& failure_text,
                     const WarningSink& warn);

// The frame on a target already open, as the tests and the fuzz target run a
// mode on a file in memory: `file` is written unless `plan_only`.
int32_t RunOn(RandomAccessFile& file, const std::string& path, const ModePlanner& plan, bool plan_only,
              std::string& failure_text, const WarningSink& warn);

// Opens the target for a mode that writes: for reading and writing, a dry
// run too, so that a dry run meets whatever would stop the write (no write
// access, a file in use). 0, or 1000 with the fixed sentence and the
// system's reason.
int32_t OpenForWriting(const std::filesystem::path& target, std::unique_ptr<RandomAccessFile>& file,
                       std::string& failure_text);

// A planner that fills the report passed to it.
template <typename Report>
using ReportingPlanner = std::function<int32_t(const Program&, FileChange&, Report&, std::string&)>;

// RunOn with such a planner: the report is handed over only when the run
// succeeded.
template <typename Report>
int32_t RunReported(RandomAccessFile& file, const std::string& path, const ReportingPlanner<Report>& plan,
                    bool plan_only, Report& report, std::string& failure_text, const WarningSink& warn) {
  Report planned;
  ModePlanner bound = [&](const Program& program, FileChange& change, std::string& failure) {
    return plan(program, change, planned, failure);
  };
  int32_t result = RunOn(file, path, bound, plan_only, failure_text, warn);
  if (result == kSuccess) report = std::move(planned);
  return result;
}

// The frame for a mode that only reads: on a target already open, or opened
// here for reading (1000 when it cannot be). A thrown failure's text ends
// with `tail`.
int32_t ReadOn(const RandomAccessFile& file, const std::string& path, const ModePlanner& plan,
               std::string& failure_text, const WarningSink& warn, const std::string& tail = LeftUnchanged());
int32_t OpenAndRead(const std::filesystem::path& target, const ModePlanner& plan, std::string& failure_text,
                    const WarningSink& warn, const std::string& tail = LeftUnchanged());

// 1008: the writes failed; the text says whether the target was put back.
int32_t WriteFailed(const std::string& target_path, bool restored, std::string& failure_text);

// The section that holds the resource tree, for the modes that need it: 0,
// or 1004 with its text.
int32_t FindResourceSection(const Program& program, ResourceSection& section, std::string& failure_text);

}  // namespace vantorel::engine

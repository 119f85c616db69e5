// What the engine's entries share: failures as values, and the checks every
// run makes of its target before it plans anything.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "little_endian.h"
#include "mod_pe.h"

namespace vantorel::engine {

constexpr const char* kModifyFailedText =
    "Unable to modify directories in target executable.  File may not contain any icon resources.";
constexpr const char* kUnchanged = " The target was not changed.";

inline int32_t Fail(int32_t number, std::string text, std::string& failure_text) {
  failure_text = std::move(text);
  return number;
}

// A data entry's OffsetToData and Size, as a write over its first 8 bytes.
std::vector<uint8_t> DataEntryFields(uint32_t rva, uint32_t size);

// The one way a write is added to a plan: each is checked to land wholly
// inside [begin, end) (for the replacements, the resource section's raw
// data) and raises "Subscript out of range" otherwise, before anything is
// written.
class GuardedPlan {
 public:
  GuardedPlan(WritePlan& plan, int64_t begin, int64_t end) : plan_(plan), begin_(begin), end_(end) {}
  GuardedPlan(WritePlan& plan, const ResourceSection& section) : GuardedPlan(plan, section.raw, section.end) {}

  void Add(int64_t offset, std::vector<uint8_t> bytes, PlannedWrite::Kind kind);
  const WritePlan& writes() const { return plan_; }

 private:
  WritePlan& plan_;
  int64_t begin_, end_;
};

// Whether any two planned writes share a byte: a sound tree never asks for
// that, and a plan that does is refused.
bool AnyOverlap(const WritePlan& plan);

// Byte ranges ([begin, end) pairs) sorted, with those that overlap or touch
// joined: disjoint, and ascending in both ends.
std::vector<std::pair<int64_t, int64_t>> MergedRanges(std::vector<std::pair<int64_t, int64_t>> ranges);

// Whether a write touches any of the `ranges` ([begin, end) pairs).
bool WritesCover(const WritePlan& writes, const std::vector<std::pair<int64_t, int64_t>>& ranges);

// The failure for the exception being handled; only called where nothing has
// been written yet.
int32_t FailureThrown(std::string& failure_text);

// Tests that `target` is a program with a resource tree and finds it: 0, or
// 1002 or 1004 with their texts.
int32_t LocateResourceSection(const RandomAccessFile& target, const std::string& target_path,
                              ResourceSection& section, std::string& failure_text, const WarningSink& warn);

// Opens the target for a mode: for reading and writing, a dry run too, so
// that a dry run meets whatever would stop the write (no write access, a
// file in use). 0, or 1000 with the fixed sentence and the system's reason.
int32_t OpenTarget(const std::filesystem::path& target, std::unique_ptr<RandomAccessFile>& file,
                   std::string& failure_text);

// Opens what a mode takes as its icon: the icon file `icon`, or when it is
// a PNG picture (by its signature), the icon file of the standard sizes made
// from it, in memory. 0, or 1000, 1016 or 7 with their texts.
int32_t OpenIconSource(const std::filesystem::path& icon, std::unique_ptr<RandomAccessFile>& source,
                       std::string& failure_text, const WarningSink& warn);

// Every image of the icon file at `icon` (or of the icon made from it when it
// is a PNG picture), each checked: 0, or 1000, 1003 (with the reason), 1016,
// 7 with their texts.
int32_t LoadEveryImage(const std::filesystem::path& icon, std::vector<IconImage>& images, std::string& failure_text,
                       const WarningSink& warn);

// The first image of the icon file at `icon` (or, for a PNG picture, of the
// icon made from it): 0, or 1000, 1003, 1016, 7 with their texts.
int32_t LoadFirstIconImage(const std::filesystem::path& icon, IconImage& image, std::string& failure_text,
                           const WarningSink& warn);

// What a first-image replacement's plan does, as the callers describe it.
ReplacementPreview DescribedPlan(const ReplacementPlan& plan);

// 1008: the writes failed; the text says whether the target was put back.
int32_t WriteFailed(const std::string& target_path, bool restored, std::string& failure_text);

// Writes the plan unless `plan_only`: 0, or 1008 saying whether the target was
// put back as it was.
int32_t CarryOutPlan(RandomAccessFile& target, const WritePlan& plan, const std::string& target_path,
                     std::string& failure_text, bool plan_only);

}  // namespace vantorel::engine

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

// What a mode takes as its icon, read once: the images of the icon file, or
// of the icon made in memory from a PNG picture (`picture`).
struct IconSource {
  bool picture = false;
  std::vector<IconImage> images;
};

// Opens `icon` once and reads its images, each checked: only the first with
// `first_only` (the first-image replacement), but a picture's whole icon
// always, as a picture has no first image. 0, or 1000, 1003 (with the reason
// when every image was read), 1016, 7 with their texts.
int32_t LoadIcon(const std::filesystem::path& icon, bool first_only, IconSource& source, std::string& failure_text,
                 const WarningSink& warn);

// What a first-image replacement's plan does, as the callers describe it.
ReplacementPreview DescribedPlan(const ReplacementPlan& plan);

// 1008: the writes failed; the text says whether the target was put back.
int32_t WriteFailed(const std::string& target_path, bool restored, std::string& failure_text);

}  // namespace vantorel::engine

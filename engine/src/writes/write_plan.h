// Plans of writes: what a mode writes, each write added through the guard
// of the stretch it may land in, checked as a whole, and carried out by the
// one writer so that a failure midway leaves the file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "files/random_access_file.h"

namespace vantorel::engine {

struct PlannedWrite {
  enum class Kind { Image, IconEntry, GroupEntry, Checksum, InstallerCrc, Header };
  int64_t offset = 0;
  std::vector<uint8_t> bytes;
  Kind kind = Kind::Image;
};
using WritePlan = std::vector<PlannedWrite>;

// The one way a write is added to a plan: each is checked to land wholly
// inside [begin, end) (for the replacements, the resource section's raw
// data) and raises "Subscript out of range" otherwise, before anything is
// written.
class GuardedPlan {
 public:
  GuardedPlan(WritePlan& plan, int64_t begin, int64_t end) : plan_(plan), begin_(begin), end_(end) {}

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

// Writes the plan. The bytes every write replaces are read and kept before the
// first write; a failed write or flush puts them all back, last first.
// Returns true when everything is on disk; otherwise `restored` tells whether
// the file is as it was (and durably so). With `flush_after` n > 0, the first
// n writes are made durable before the rest begin: what the later ones name
// is on disk before they name it.
bool ApplyWrites(RandomAccessFile& file, const WritePlan& plan, bool& restored, size_t flush_after = 0);

// What a mode changes in the target: the writes in place, in the order they
// are made, the first `flush_after` durable before the rest begin; and for
// one that grows the file, the length it is first cut back to (less an
// unfinished tail of an earlier run) and the bytes then appended, before the
// writes in place. `own_length` -1: the length never changes.
struct FileChange {
  WritePlan in_place;
  size_t flush_after = 0;
  int64_t own_length = -1;
  std::vector<uint8_t> appended;
};

// The one writer: makes the change, or on a failure puts back every byte
// written and the length, as ApplyWrites does (`restored` then tells whether
// that worked). True when everything is on disk.
bool ApplyChange(RandomAccessFile& file, const FileChange& change, bool& restored);

}  // namespace vantorel::engine

// Plans of writes: how a write is added, checked as a whole, and carried out
// so that a failure midway leaves the file as it was.
#include "write_plan.h"

#include <algorithm>

#include "errors/guarded.h"
#include "files/random_access_file.h"

namespace vantorel::engine {

void GuardedPlan::Add(int64_t offset, std::vector<uint8_t> bytes, PlannedWrite::Kind kind) {
  const int64_t size = static_cast<int64_t>(bytes.size());
  if (offset < begin_ || offset > end_ || size > end_ - offset) Raise(9);
  plan_.push_back({offset, std::move(bytes), kind});
}

// Whether any two planned writes share a byte. In a sound tree the image, the
// data entries and the group entries are all apart; where they are not (the
// image over a group, a group over a data entry), the later write would undo
// part of an earlier one and leave entries that name something else.
bool AnyOverlap(const WritePlan& plan) {
  std::vector<std::pair<int64_t, int64_t>> spans;
  spans.reserve(plan.size());
  for (const PlannedWrite& w : plan) spans.emplace_back(w.offset, w.offset + static_cast<int64_t>(w.bytes.size()));
  std::sort(spans.begin(), spans.end());
  for (size_t i = 1; i < spans.size(); ++i) {
    if (spans[i].first < spans[i - 1].second) return true;
  }
  return false;
}

std::vector<std::pair<int64_t, int64_t>> MergedRanges(std::vector<std::pair<int64_t, int64_t>> ranges) {
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<int64_t, int64_t>> merged;
  for (const auto& range : ranges) {
    if (!merged.empty() && range.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, range.second);
    } else {
      merged.push_back(range);
    }
  }
  return merged;
}

bool WritesCover(const WritePlan& writes, const std::vector<std::pair<int64_t, int64_t>>& ranges) {
  const std::vector<std::pair<int64_t, int64_t>> merged = MergedRanges(ranges);
  for (const PlannedWrite& w : writes) {
    // The first range that ends after the write starts: disjoint and sorted,
    // the ranges' ends ascend too.
    auto it = std::upper_bound(merged.begin(), merged.end(), w.offset,
                               [](int64_t at, const std::pair<int64_t, int64_t>& r) { return at < r.second; });
    if (it != merged.end() && it->first < w.offset + static_cast<int64_t>(w.bytes.size())) return true;
  }
  return false;
}

bool ApplyWrites(RandomAccessFile& file, const WritePlan& plan, bool& restored, size_t flush_after) {
  // Everything a rollback needs is read (and allocated) before the first
  // write, so running out of memory can only happen while nothing is changed.
  restored = true;
  std::vector<std::vector<uint8_t>> kept(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    kept[i].resize(plan[i].bytes.size());
    if (!file.ReadAt(plan[i].offset, kept[i].data(), kept[i].size())) return false;
  }
  size_t done = 0;
  while (done < plan.size() && (done != flush_after || done == 0 || file.Flush()) &&
         file.WriteAt(plan[done].offset, plan[done].bytes.data(), plan[done].bytes.size())) {
    ++done;
  }
  if (done == plan.size() && file.Flush()) {
    restored = false;
    return true;
  }
  // Put back what each write replaced, the failed one included (it may have
  // changed part of its bytes), last first, so writes that overlap unwind to
  // the original bytes.
  for (size_t i = std::min(done + 1, plan.size()); i-- > 0;) {
    restored = file.WriteAt(plan[i].offset, kept[i].data(), kept[i].size()) && restored;
  }
  restored = file.Flush() && restored;
  return false;
}

bool ApplyChange(RandomAccessFile& file, const FileChange& change, bool& restored) {
  if (change.own_length < 0) return ApplyWrites(file, change.in_place, restored, change.flush_after);
  const int64_t length = file.Length();
  restored = true;
  // The tail is read before anything is written, to be put back on failure:
  // a failed run leaves every byte as it found it.
  std::vector<uint8_t> tail(static_cast<size_t>(std::max<int64_t>(0, length - change.own_length)));
  if (!tail.empty() && !file.ReadAt(change.own_length, tail.data(), tail.size())) return false;
  const std::vector<uint8_t>& appended = change.appended;
  bool grown = (tail.empty() || (file.Truncate(change.own_length) && file.Flush())) &&
               (appended.empty() || (file.Append(appended.data(), appended.size()) && file.Flush()));
  if (grown && ApplyWrites(file, change.in_place, restored, change.flush_after)) return true;
  restored = file.Truncate(change.own_length) && (tail.empty() || file.Append(tail.data(), tail.size())) &&
             file.Flush() && restored;
  return false;
}

}  // namespace vantorel::engine

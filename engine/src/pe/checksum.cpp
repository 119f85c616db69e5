// The optional header's CheckSum, kept right across a replacement.
//
// The checksum is the file's 16-bit little-endian words added with end-around
// carry (the CheckSum field itself counting as zero), plus the file's length.
// That sum changes by exactly what the changed words change, so it is updated
// from the words a plan rewrites instead of from the whole file: a correct
// checksum stays correct, and a 100 MB program costs no more than a small one.
#include "checksum.h"

#include <algorithm>
#include <vector>

#include "files/little_endian.h"
#include "pe_layout.h"
#include "files/random_access_file.h"
#include "writes/write_plan.h"

namespace vantorel::engine {
namespace {

uint32_t Fold(uint32_t sum) {
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return sum;
}

}  // namespace

uint32_t PeChecksum(const uint8_t* data, size_t size, int64_t checksum_offset) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; i += 2) {
    if (checksum_offset >= 0 && static_cast<int64_t>(i) >= checksum_offset &&
        static_cast<int64_t>(i) < checksum_offset + 4) {
      continue;
    }
    uint32_t word = data[i] | (i + 1 < size ? data[i + 1] << 8 : 0);
    sum = Fold(sum + word);
  }
  return sum + static_cast<uint32_t>(size);
}

bool PlanChecksum(const RandomAccessFile& file, const ResourceSection& section, WritePlan& plan) {
  return PlanChecksumOf(file, section.checksum_offset, plan, file.Length());
}

bool PlanChecksumOf(const RandomAccessFile& file, int64_t field, WritePlan& plan, int64_t new_length) {
  uint8_t stored_bytes[4];
  if (field < 0 || !file.ReadAt(field, stored_bytes, 4)) return false;
  uint32_t stored = stored_bytes[0] | stored_bytes[1] << 8 | stored_bytes[2] << 16 |
                    static_cast<uint32_t>(stored_bytes[3]) << 24;
  if (stored == 0) return false;  // no checksum kept: none is made up

  // The words the writes touch, as runs of whole words that no untouched word
  // separates, each read in one go and laid end to end in `before`; `after`
  // is the same bytes once every write is made, in the plan's order. A last
  // half word (odd file length) counts its missing byte as 0, as does every
  // byte a write adds past the end: the file grows from nothing there.
  std::vector<std::pair<int64_t, int64_t>> runs;
  runs.reserve(plan.size());
  for (const PlannedWrite& w : plan) {
    runs.emplace_back(w.offset & ~int64_t{1}, (w.offset + static_cast<int64_t>(w.bytes.size()) + 1) & ~int64_t{1});
  }
  runs = MergedRanges(std::move(runs));
  std::vector<size_t> starts;  // of each run in `before` and `after`
  size_t total = 0;
  for (const auto& [first, end] : runs) {
    starts.push_back(total);
    total += static_cast<size_t>(end - first);
  }
  std::vector<uint8_t> before(total, 0);
  for (size_t k = 0; k < runs.size(); ++k) {
    int64_t readable = std::max<int64_t>(0, std::min(runs[k].second, file.Length()) - runs[k].first);
    if (readable > 0 && !file.ReadAt(runs[k].first, before.data() + starts[k], static_cast<size_t>(readable))) {
      return false;
    }
  }
  std::vector<uint8_t> after = before;
  for (const PlannedWrite& w : plan) {
    if (w.bytes.empty()) continue;
    // The run that holds the write: the first that ends after it starts.
    auto run = std::upper_bound(runs.begin(), runs.end(), w.offset,
                                [](int64_t at, const std::pair<int64_t, int64_t>& r) { return at < r.second; });
    size_t at = starts[static_cast<size_t>(run - runs.begin())] + static_cast<size_t>(w.offset - run->first);
    std::copy(w.bytes.begin(), w.bytes.end(), after.begin() + static_cast<std::ptrdiff_t>(at));
  }
  uint32_t sum = Fold(stored - static_cast<uint32_t>(file.Length()));
  for (size_t k = 0; k < runs.size(); ++k) {
    for (int64_t at = runs[k].first; at < runs[k].second; at += 2) {
      if (at >= field && at < field + 4) continue;  // the field counts as zero
      size_t i = starts[k] + static_cast<size_t>(at - runs[k].first);
      // Subtracting in end-around-carry arithmetic is adding the complement.
      sum = Fold(sum + (~(before[i] | before[i + 1] << 8) & 0xFFFFu));
      sum = Fold(sum + static_cast<uint32_t>(after[i] | after[i + 1] << 8));
    }
  }
  uint32_t updated = sum + static_cast<uint32_t>(new_length);
  if (updated == stored) return false;
  // The field lies in the headers, which the file holds already.
  GuardedPlan(plan, 0, file.Length()).Add(field, LeBytes(updated, 4), PlannedWrite::Kind::Checksum);
  return true;
}

}  // namespace vantorel::engine

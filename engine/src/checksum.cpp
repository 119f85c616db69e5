// The optional header's CheckSum, kept right across a replacement.
//
// The checksum is the file's 16-bit little-endian words added with end-around
// carry (the CheckSum field itself counting as zero), plus the file's length.
// That sum changes by exactly what the changed words change, so it is updated
// from the words a plan rewrites instead of from the whole file: a correct
// checksum stays correct, and a 100 MB program costs no more than a small one.
#include <algorithm>
#include <vector>

#include "little_endian.h"
#include "mod_pe.h"

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

  // The words every write touches, before and after the whole plan; each
  // write's words are read in one go. A last half word (odd file length)
  // counts its missing byte as 0, as does every byte a write adds past the
  // end: the file grows from nothing there.
  struct Word {
    int64_t at;
    uint16_t before, after;
  };
  std::vector<Word> words;
  for (const PlannedWrite& w : plan) {
    int64_t first = w.offset & ~int64_t{1};
    int64_t words_end = (w.offset + static_cast<int64_t>(w.bytes.size()) + 1) & ~int64_t{1};
    std::vector<uint8_t> old(static_cast<size_t>(words_end - first), 0);
    int64_t readable = std::max<int64_t>(0, std::min(words_end, file.Length()) - first);
    if (readable > 0 && !file.ReadAt(first, old.data(), static_cast<size_t>(readable))) return false;
    for (size_t i = 0; i < old.size(); i += 2) {
      uint16_t value = static_cast<uint16_t>(old[i] | old[i + 1] << 8);
      words.push_back({first + static_cast<int64_t>(i), value, value});
    }
  }
  // Every copy of a word was read from the unchanged file: keep one.
  std::sort(words.begin(), words.end(), [](const Word& x, const Word& y) { return x.at < y.at; });
  words.erase(std::unique(words.begin(), words.end(), [](const Word& x, const Word& y) { return x.at == y.at; }),
              words.end());
  for (const PlannedWrite& w : plan) {
    auto it = std::lower_bound(words.begin(), words.end(), w.offset & ~int64_t{1},
                               [](const Word& x, int64_t at) { return x.at < at; });
    for (size_t i = 0; i < w.bytes.size(); ++i) {
      int64_t at = w.offset + static_cast<int64_t>(i);
      if (i > 0 && !(at & 1)) ++it;
      uint16_t& word = it->after;
      word = (at & 1) ? static_cast<uint16_t>((word & 0x00FF) | w.bytes[i] << 8)
                      : static_cast<uint16_t>((word & 0xFF00) | w.bytes[i]);
    }
  }
  uint32_t sum = Fold(stored - static_cast<uint32_t>(file.Length()));
  for (const Word& word : words) {
    if (word.at >= field && word.at < field + 4) continue;  // the field counts as zero
    // Subtracting in end-around-carry arithmetic is adding the complement.
    sum = Fold(sum + (~word.before & 0xFFFFu));
    sum = Fold(sum + word.after);
  }
  uint32_t updated = sum + static_cast<uint32_t>(new_length);
  if (updated == stored) return false;
  plan.push_back({field, LeBytes(updated, 4), PlannedWrite::Kind::Checksum});
  return true;
}

}  // namespace vantorel::engine

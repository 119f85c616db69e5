// The uninstaller an NSIS installer writes keeps passing its own check.
//
// An NSIS installer writes its uninstaller at install time from its own
// program bytes: it copies them, puts the uninstaller's icon group and images
// back over the installer's (at the places they had when it was built), and
// appends the uninstaller's data, whose CRC-32 makensis counted over those
// bytes when it built the installer. That CRC sits compressed inside the
// installer's payload, out of reach. So every changed byte the icon patch does
// not put back (the icon data entries above all) is balanced by 4 bytes of the
// resource section's padding, chosen so that the CRC of the program's bytes,
// [512, first header), comes out as it was: the uninstaller's check then
// passes as before.
#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "driver.h"
#include "icon_tree.h"
#include "reader.h"
#include "nsis_crc.h"

namespace vantorel::engine {
namespace {

using Range = std::pair<int64_t, int64_t>;

// The CRC-32 change of bytes `before` becoming `after` at `at`, carried to `end`.
uint32_t ChangeAt(const uint8_t* before, const uint8_t* after, size_t size, int64_t at, int64_t end) {
  uint32_t stretch = static_cast<uint32_t>(crc32(0, before, static_cast<uInt>(size)) ^
                                           crc32(0, after, static_cast<uInt>(size)));
  int64_t tail = end - (at + static_cast<int64_t>(size));
  if (tail > std::numeric_limits<z_off_t>::max()) Raise(6);
  return static_cast<uint32_t>(crc32_combine(stretch, 0, static_cast<z_off_t>(tail)));
}

// What the icon patch puts back: every icon image's and group's data as the
// tree names it before the change, sorted and merged.
std::vector<Range> PutBack(const RandomAccessFile& file, const ResourceSection& section) {
  Reader r = ResourceSectionReader(file, section);
  IconTree tree = ReadIconTree(r, section, {});
  std::vector<Range> ranges;
  for (const IconResource& icon : tree.icons) {
    if (icon.offset > 0) ranges.emplace_back(icon.offset, int64_t{icon.offset} + icon.size);
  }
  for (const GroupResource& group : tree.groups) {
    if (group.entries.empty()) continue;
    ranges.emplace_back(group.at, group.entries.back().at + kGrpIconDirEntrySize);
  }
  return MergedRanges(std::move(ranges));
}

// The pieces of [from, to) outside the sorted, disjoint `ranges`.
std::vector<Range> Outside(int64_t from, int64_t to, const std::vector<Range>& ranges) {
  std::vector<Range> pieces;
  for (const Range& range : ranges) {
    if (range.second <= from) continue;
    if (range.first >= to) break;
    if (range.first > from) pieces.emplace_back(from, range.first);
    from = std::max(from, range.second);
  }
  if (from < to) pieces.emplace_back(from, to);
  return pieces;
}

// The CRC change at `end` of the bytes of the plan that the patch keeps.
uint32_t KeptChange(const RandomAccessFile& file, const WritePlan& plan, const std::vector<Range>& put_back,
                    int64_t end) {
  uint32_t change = 0;
  for (const PlannedWrite& w : plan) {
    int64_t from = std::max(w.offset, kNsisCrcStart);
    int64_t to = std::min(w.offset + static_cast<int64_t>(w.bytes.size()), end);
    for (const Range& piece : Outside(from, to, put_back)) {
      std::vector<uint8_t> old(static_cast<size_t>(piece.second - piece.first));
      if (!file.ReadAt(piece.first, old.data(), old.size())) Raise(9);
      change ^= ChangeAt(old.data(), w.bytes.data() + (piece.first - w.offset), old.size(), piece.first, end);
    }
  }
  return change;
}

// The 4-byte difference d whose CRC change at `end`, written at `at`, is
// `wanted`: the map is linear and one to one on 32 bits, so its 32 columns
// are counted and the system solved by elimination.
std::array<uint8_t, 4> BalancingDifference(uint32_t wanted, int64_t at, int64_t end) {
  const uint8_t zero[4] = {};
  std::array<uint32_t, 32> column{};
  for (int bit = 0; bit < 32; ++bit) {
    uint8_t d[4] = {};
    d[bit / 8] = static_cast<uint8_t>(1u << (bit % 8));
    column[bit] = ChangeAt(zero, d, 4, at, end);
  }
  // Rows of [column bits | identity]: reduce the columns to a basis while
  // tracking which input bits make each.
  std::array<uint32_t, 32> made_of{};
  for (int bit = 0; bit < 32; ++bit) made_of[bit] = 1u << bit;
  uint32_t solution = 0;
  for (int target = 31; target >= 0; --target) {
    int pivot = -1;
    for (int i = 0; i < 32 && pivot < 0; ++i) {
      // A column whose highest set bit is `target`, not yet used.
      if (column[i] >> target == 1) pivot = i;
    }
    if (pivot < 0) Raise(9);  // cannot happen: the map is one to one
    for (int i = 0; i < 32; ++i) {
      if (i != pivot && (column[i] >> target & 1)) {
        column[i] ^= column[pivot];
        made_of[i] ^= made_of[pivot];
      }
    }
    if (wanted >> target & 1) {
      wanted ^= column[pivot];
      solution ^= made_of[pivot];
    }
    column[pivot] = 0;  // used
  }
  return {static_cast<uint8_t>(solution), static_cast<uint8_t>(solution >> 8), static_cast<uint8_t>(solution >> 16),
          static_cast<uint8_t>(solution >> 24)};
}

}  // namespace

bool PlanUninstallerBalance(const RandomAccessFile& file, const ResourceSection& section, const NsisHeader& header,
                            WritePlan& plan) {
  // The last 4 bytes of the section's raw data, past everything the resource
  // table names: padding nobody reads, and nothing the icon patch touches.
  int64_t at = section.end - 4;
  if (at < std::max(section.area_end, kNsisCrcStart) || section.end > header.offset) return false;
  for (const PlannedWrite& w : plan) {
    if (w.offset < section.end && at < w.offset + static_cast<int64_t>(w.bytes.size())) return false;
  }
  uint32_t kept = KeptChange(file, plan, PutBack(file, section), header.offset);
  if (kept == 0) return false;
  std::array<uint8_t, 4> d = BalancingDifference(kept, at, header.offset);
  std::vector<uint8_t> bytes(4);
  if (!file.ReadAt(at, bytes.data(), 4)) Raise(9);
  for (int i = 0; i < 4; ++i) bytes[i] ^= d[i];
  plan.push_back({at, std::move(bytes), PlannedWrite::Kind::InstallerCrc});
  return true;
}

}  // namespace vantorel::engine

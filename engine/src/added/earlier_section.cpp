#include "earlier_section.h"

#include <algorithm>

#include "pe/added_section.h"
#include "icons/icon_tree.h"
#include "pe/pe_headers.h"
#include "files/reader.h"
#include "resources/resource_types.h"
#include "writes/write_plan.h"

namespace vantorel::engine {
namespace {

constexpr size_t kResourceIndex = 2, kCertificateIndex = 4;

using Ranges = std::vector<std::pair<int64_t, int64_t>>;

bool Overlaps(int64_t from, int64_t size, const SectionHeader& s) {
  return from < int64_t{s.va} + s.Extent() && int64_t{s.va} < from + std::max<int64_t>(size, 1);
}

// Growing it in the file or in memory covers nothing of the program's.
bool LastEverywhere(const Reader& file, const PeHeaders& h, const SectionHeader& s) {
  for (size_t i = 0; i + 1 < h.sections.size(); ++i) {
    const SectionHeader& other = h.sections[i];
    if (other.raw_size && int64_t{other.raw} + other.raw_size > s.raw) return false;
    if (int64_t{other.va} + other.Extent() > s.va) return false;
  }
  return int64_t{s.raw} + s.raw_size == OwnEnd(file, h);
}

// The entry point or a table the loader finds (imports, relocations, TLS,
// ...) in it: code or data of the program's, not ours. The certificate
// table's entry is a file offset, not an address.
bool NamedByTheProgram(const PeHeaders& h, const SectionHeader& s) {
  if (Overlaps(h.entry_point, 1, s)) return true;
  for (size_t i = 0; i < h.directories.size(); ++i) {
    const DataDirectory& d = h.directories[i];
    if (i != kResourceIndex && i != kCertificateIndex && d.rva && Overlaps(d.rva, d.size, s)) return true;
  }
  return false;
}

// Every data entry of `old` whose data lies in the section lies wholly in
// its raw data (put in `data`, as file ranges, which the new content must
// leave as they are) and is an icon or a group, or the version or the
// manifest that a run setting them put there (its entry marked so), which a
// new tree still names. Any other resource there is not ours.
bool OnlyIconsWithin(const PeHeaders& h, const SectionHeader& s, const ResourceTree& old, const IconModel& model,
                     Ranges& data) {
  for (const TypeNode& t : old.types) {
    bool icons = !t.id.named && (t.id.number == kRtIcon || t.id.number == kRtGroupIcon);
    for (const NameNode& n : t.names) {
      for (const LanguageNode& l : n.languages) {
        if (icons || !Overlaps(l.data.rva, l.data.size, s)) continue;
        if (t.id.named || (t.id.number != kRtVersion && t.id.number != kRtManifest) ||
            l.data.reserved != kOwnDataMark) {
          return false;
        }
        int64_t at = h.FileOffset(l.data.rva, l.data.size);
        if (h.SectionOf(l.data.rva) != &s || at < 0) return false;
        data.emplace_back(at, at + l.data.size);
      }
    }
  }
  for (const IconLeaf& leaf : model.tree.leaves) {
    if (!Overlaps(leaf.rva, leaf.size, s)) continue;
    int64_t at = h.FileOffset(leaf.rva, leaf.size);
    if (leaf.index == IconLeaf::kNone || h.SectionOf(leaf.rva) != &s || at < 0) return false;
    data.emplace_back(at, at + leaf.size);
  }
  return true;
}

bool Marked(const Reader& file, const SectionHeader& s) {
  if (!file.Contains(s.raw, kSectionMarkAt + static_cast<int64_t>(kSectionMark.size()))) return false;
  std::array<uint8_t, kSectionMark.size()> mark{};
  file.Bytes(s.raw + kSectionMarkAt, mark.data(), static_cast<int64_t>(mark.size()));
  return AllZero(file, s.raw, s.raw + kSectionMarkAt) && mark == kSectionMark;
}

// What a run that wrote no mark left: the tree at the section's start, as
// our tree writer lays it out, then the data it names, and zeros.
bool HoldsNothingElse(const Reader& file, const PeHeaders& h, const SectionHeader& s, const ResourceTree& old,
                      Ranges data) {
  const std::vector<uint8_t> tree = TreeBytes(old);
  const int64_t tree_size = static_cast<int64_t>(tree.size());
  if (h.resources.rva != s.va || tree_size > s.raw_size || !file.Contains(s.raw, tree_size)) return false;
  std::vector<uint8_t> held(tree.size());
  file.Bytes(s.raw, held.data(), tree_size);
  if (held != tree) return false;
  data.emplace_back(s.raw, s.raw + tree_size);
  const int64_t end = std::min<int64_t>(int64_t{s.raw} + s.raw_size, file.end());
  int64_t at = s.raw;
  for (const auto& [from, to] : MergedRanges(std::move(data))) {
    if (!AllZero(file, at, std::min(from, end))) return false;
    at = std::max(at, to);
  }
  return AllZero(file, at, end);
}

}  // namespace

EarlierSection FindEarlierSection(const Reader& file, const PeHeaders& h, const ResourceTree& old,
                                  const IconModel& model) {
  if (h.sections.empty()) return {};
  const SectionHeader& s = h.sections.back();
  if (s.name != kAddedSectionName || s.characteristics != kAddedSectionCharacteristics || !s.raw_size) return {};
  Ranges data;
  if (!LastEverywhere(file, h, s) || NamedByTheProgram(h, s) || !OnlyIconsWithin(h, s, old, model, data) ||
      !(Marked(file, s) || HoldsNothingElse(file, h, s, old, data))) {
    return {};
  }
  if (Overlaps(h.resources.rva, h.resources.size, s)) {
    const int64_t from = std::max<int64_t>(h.resources.rva, s.va);
    const int64_t to = std::min<int64_t>(int64_t{h.resources.rva} + h.resources.size, int64_t{s.va} + s.raw_size);
    data.emplace_back(s.raw + (from - s.va), s.raw + std::max(from, to) - s.va);
  }
  EarlierSection earlier{&s, 0, 0};
  if (data.empty()) return earlier;
  earlier.live_from = std::min_element(data.begin(), data.end())->first - s.raw;
  for (const auto& [from, to] : data) earlier.live_to = std::max(earlier.live_to, to - s.raw);
  return earlier;
}

}  // namespace vantorel::engine

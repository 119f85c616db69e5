// Adding a section without moving a byte: the header room it needs, what
// may follow the sections, and the writes that name it.
#include "added_section.h"

#include <algorithm>

#include "checksum.h"
#include "container.h"
#include "errors/failures.h"
#include "errors/guarded.h"
#include "files/little_endian.h"
#include "pe_headers.h"
#include "pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "errors/traps.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kSectionHeaderBytes = 40;
constexpr int64_t kSymbolBytes = 18;
constexpr uint32_t kLargestFileAlignment = 0x10000;  // 64 KiB, the format's largest
constexpr uint32_t kPageSize = 0x1000;
// Zeros written before a new section to bring it to its address: more would
// grow a small program by megabytes for nothing.
constexpr int64_t kLargestPadding = int64_t{1} << 20;

bool PowerOfTwo(uint32_t v) { return v && !(v & (v - 1)); }

// Below the page size the loader maps the file as it is, and Windows and
// Wine refuse a program whose sections' file offsets are not their addresses
// ("Bad EXE format").
bool FlatMapped(const PeHeaders& h) { return h.section_alignment < kPageSize; }

// Whether a data directory names any byte of [begin, end) in the headers,
// where an RVA is the file offset (as the certificate table's always is):
// what a directory names is read, however many zeros it holds. Linkers put
// the bound import table right after the section table.
bool NamedByADirectory(const PeHeaders& h, int64_t begin, int64_t end) {
  return std::any_of(h.directories.begin(), h.directories.end(), [&](const DataDirectory& d) {
    return d.size && int64_t{d.rva} < end && begin < int64_t{d.rva} + d.size;
  });
}

std::vector<uint8_t> SectionHeaderBytes(uint32_t virtual_size, uint32_t va, uint32_t raw_size, uint32_t raw) {
  std::vector<uint8_t> b(kSectionHeaderBytes, 0);
  std::copy(kAddedSectionName.begin(), kAddedSectionName.end(), b.begin());
  PutLe(b, 8, virtual_size, 4);
  PutLe(b, 12, va, 4);
  PutLe(b, 16, raw_size, 4);
  PutLe(b, 20, raw, 4);
  PutLe(b, 36, kAddedSectionCharacteristics, 4);
  return b;
}

}  // namespace

int64_t AlignUp(int64_t value, int64_t alignment) { return (value + alignment - 1) / alignment * alignment; }

bool AllZero(const Reader& r, int64_t begin, int64_t end) {
  for (int64_t at = begin; at < end; ++at) {
    if (r.U8(at)) return false;
  }
  return true;
}

int64_t OwnEnd(const Reader& r, const PeHeaders& h) {
  const int64_t end = h.RawDataEnd();
  if (h.symbol_table < end || h.symbol_table - end >= h.file_alignment || !AllZero(r, end, h.symbol_table)) {
    return end;
  }
  int64_t strings = int64_t{h.symbol_table} + int64_t{h.symbols} * kSymbolBytes;
  if (!r.Contains(strings, 4) || r.U32(strings) < 4) return end;
  return strings + r.U32(strings);
}

bool NothingMustEndTheFile(const Reader& r, const PeHeaders& h, int64_t length) {
  int64_t end = h.RawDataEnd();
  if (length <= end) return true;
  if (length - end < h.file_alignment && AllZero(r, end, length)) return true;
  return OwnEnd(r, h) == length;
}

int64_t HeaderRoom(const Reader& r, const PeHeaders& h) {
  int64_t at = h.SectionTableEnd();
  int64_t limit = h.size_of_headers;
  for (const SectionHeader& s : h.sections) {
    if (s.raw_size && s.raw) limit = std::min<int64_t>(limit, s.raw);
  }
  if (at + kSectionHeaderBytes > limit || NamedByADirectory(h, at, at + kSectionHeaderBytes)) return -1;
  std::array<uint8_t, 8> name{};
  r.Bytes(at, name.data(), 8);
  bool stale = name == kAddedSectionName && r.U32(at + 36) == kAddedSectionCharacteristics;
  return stale || AllZero(r, at, at + kSectionHeaderBytes) ? at : -1;
}

int32_t CheckLayout(const Reader& r, const PeHeaders& h, const std::string& path, std::string& failure_text) {
  if (h.resources.at < 0) {
    return Fail(kNoSectionRoom,
                path + " has no resource directory entry in its headers, so it cannot be given resources." +
                    kUnchanged,
                failure_text);
  }
  // Larger alignments than the format allows would pad the file by up to
  // gigabytes before the new section.
  if (!PowerOfTwo(h.file_alignment) || h.file_alignment > kLargestFileAlignment ||
      !PowerOfTwo(h.section_alignment)) {
    return Fail(kNoSectionRoom, path + " states no usable section or file alignment in its headers." + kUnchanged,
                failure_text);
  }
  // A file cut short within its last section's padding still takes the new
  // section after that padding; one that lacks more than that is damaged, and
  // filling what it lacks would write a gap of any size.
  if (h.RawDataEnd() - r.end() >= h.file_alignment) {
    return Fail(kNoSectionRoom,
                path + " is shorter than its section table says (it may be cut short), so no section can be "
                       "added after its sections." + kUnchanged,
                failure_text);
  }
  if (h.certificates.size) {
    return Fail(kAppendedData,
                path + " is signed: its signature must stay at the end of the file, so nothing can be added after "
                       "it." + kUnchanged,
                failure_text);
  }
  const Container carried = IdentifyContainer(r.file(), h);
  if (FactsOf(carried.kind).add_sizes == CheckOutcome::Refused) {
    return Fail(kAppendedData, ContainerRefusal(carried, path), failure_text);
  }
  return kSuccess;
}

int32_t CheckNewSection(const Reader& r, const PeHeaders& h, const std::string& path, std::string& failure_text) {
  // One more would make a program no mode of ours (nor the loader) reads.
  if (h.sections.size() >= size_t{kMostSections}) {
    return Fail(kNoSectionRoom,
                path + " has " + std::to_string(kMostSections) + " sections, the most a program may have, so none " +
                    "can be added." + kUnchanged,
                failure_text);
  }
  if (HeaderRoom(r, h) < 0) {
    bool named = !h.sections.empty() && h.sections.back().name == kAddedSectionName;
    return Fail(kNoSectionRoom,
                path + " has no room in its headers for one more section header without moving its first section" +
                    (named ? ", and its last section, though named .vtrsrc, is not one Vantorel added that holds "
                             "nothing else, so it cannot be used again"
                           : "") +
                    "." + kUnchanged,
                failure_text);
  }
  int64_t padding = NewSectionPlace(h, r.end()).raw - r.end();
  if (FlatMapped(h) && padding > kLargestPadding) {
    return Fail(kNoSectionRoom,
                path + " is laid out in the file as in memory (its section alignment is below the page size), so a "
                       "new section would have to follow " + std::to_string(padding) +
                    " bytes of zeros to lie at its address." + kUnchanged,
                failure_text);
  }
  return kSuccess;
}

int64_t LengthWithoutUnfinishedTail(const Reader& r, const PeHeaders& h) {
  const int64_t own = OwnEnd(r, h), length = r.end(), alignment = h.file_alignment;
  if (length <= own || !alignment || !h.section_alignment) return length;
  // The furthest a run's section can start: past one file alignment of
  // padding, or at its address where the file is laid out as in memory.
  const int64_t limit = std::max(AlignUp(own, alignment) + alignment, NewSectionPlace(h, own).raw);
  int64_t at = own;
  while (at < length && at < limit + kSectionMarkAt && r.U8(at) == 0) ++at;
  const int64_t start = at - kSectionMarkAt;
  if (at == length || start < own || start % alignment) return length;
  for (size_t i = 0; i < kSectionMark.size() && at + static_cast<int64_t>(i) < length; ++i) {
    if (r.U8(at + static_cast<int64_t>(i)) != kSectionMark[i]) return length;
  }
  return own;
}

SectionPlace NewSectionPlace(const PeHeaders& h, int64_t length) {
  int64_t va = 0;
  // Past every section's raw size too: a section whose raw data is longer
  // than its memory would otherwise seem, to a reader that finds the
  // resource tree by raw extent (ours, as the original routine does), to hold
  // the new section's address.
  for (const SectionHeader& s : h.sections) {
    va = std::max<int64_t>(va, int64_t{s.va} + std::max(s.Extent(), s.raw_size));
  }
  va = AlignUp(va, h.section_alignment);
  int64_t raw = AlignUp(std::max(length, h.RawDataEnd()), h.file_alignment);
  if (FlatMapped(h)) raw = va = AlignUp(std::max(raw, va), std::max(h.file_alignment, h.section_alignment));
  if (va > INT32_MAX) Raise(6);
  return {raw, static_cast<uint32_t>(va)};
}

int64_t ContentOffset(const Reader& r, const SectionHeader& s, int64_t live_from, int64_t live_to,
                      const std::vector<uint8_t>& content, int64_t file_alignment) {
  const int64_t size = static_cast<int64_t>(content.size());
  const int64_t in_file = std::min<int64_t>(s.raw_size, r.end() - s.raw);
  if (live_from + size <= in_file) {
    std::vector<uint8_t> held(content.size());
    r.Bytes(s.raw + live_from, held.data(), size);
    if (held == content) return live_from;
  }
  if (size <= live_from) return 0;
  const int64_t after = AlignUp(live_to, file_alignment);
  if (after + size <= in_file) return after;
  return AlignUp(std::max<int64_t>(r.end() - s.raw, s.raw_size), file_alignment);
}

Growth PlaceSection(const PeHeaders& h, const SectionHeader* earlier, int64_t header_at, int64_t length, int64_t at,
                    std::vector<uint8_t> content) {
  Growth g;
  const SectionPlace place = earlier ? SectionPlace{earlier->raw, earlier->va} : NewSectionPlace(h, length);
  const int64_t raw = place.raw, va = place.va, size = static_cast<int64_t>(content.size());
  const int64_t raw_size = std::max<int64_t>(earlier ? earlier->raw_size : 0, AlignUp(at + size, h.file_alignment));
  // The image in memory reaches at least as far as the file: tools that lay
  // a program out in memory in the file's own buffer (wrestool does) need a
  // section whose raw data lies past its address (after a symbol table) to
  // fit. The loader fills the rest with zeros. It never shrinks, so
  // SizeOfImage, written first, always covers it.
  const int64_t virtual_size =
      std::max({earlier ? int64_t{earlier->virtual_size} : 0, at + size, raw + raw_size - va});
  if (raw + raw_size > UINT32_MAX || va + virtual_size > INT32_MAX) Raise(6);
  g.change.own_length = length;
  g.content_at = raw + at;
  g.length_after = std::max(length, raw + raw_size);

  // Every write in place lands inside today's file: in the headers, or in
  // room of the section an earlier run added. Otherwise the content is
  // appended, after zeros up to its start, and padded to the section's end.
  GuardedPlan in_place(g.change.in_place, 0, length);
  if (g.content_at < length) {
    in_place.Add(g.content_at, content, PlannedWrite::Kind::Image);
    g.change.flush_after = 1;
  } else {
    std::vector<uint8_t>& appended = g.change.appended;
    appended.assign(static_cast<size_t>(g.content_at - length), 0);
    appended.insert(appended.end(), content.begin(), content.end());
    appended.resize(static_cast<size_t>(g.length_after - length), 0);
  }
  // A run stopped between any two of these leaves a program that loads: the
  // section is counted only once its header is there, and SizeOfImage covers
  // it before either; the resource directory names the new tree last.
  in_place.Add(h.size_of_image_at, LeBytes(static_cast<uint32_t>(AlignUp(va + virtual_size, h.section_alignment)), 4),
               PlannedWrite::Kind::Header);
  in_place.Add(earlier ? earlier->at : header_at,
               SectionHeaderBytes(static_cast<uint32_t>(virtual_size), static_cast<uint32_t>(va),
                                  static_cast<uint32_t>(raw_size), static_cast<uint32_t>(raw)),
               PlannedWrite::Kind::Header);
  if (!earlier) {
    in_place.Add(h.number_of_sections_at, LeBytes(static_cast<uint32_t>(h.sections.size() + 1), 2),
                 PlannedWrite::Kind::Header);
  }
  // The directory names the whole resource data, tree, images and groups, as
  // linkers name a resource section's: the first-image and --all-sizes
  // replacements find the room of the images inside what it names.
  in_place.Add(h.resources.at, DataEntryFields(static_cast<uint32_t>(va + at), static_cast<uint32_t>(size)),
               PlannedWrite::Kind::Header);
  return g;
}

bool PlanGrowthChecksum(const RandomAccessFile& own, int64_t field, Growth& growth) {
  const int64_t own_length = own.Length();
  WritePlan counted = growth.change.in_place;
  GuardedPlan(counted, own_length, growth.length_after)
      .Add(own_length, growth.change.appended, PlannedWrite::Kind::Image);
  if (!PlanChecksumOf(own, field, counted, growth.length_after)) return false;
  GuardedPlan(growth.change.in_place, 0, own_length).Add(field, counted.back().bytes, PlannedWrite::Kind::Checksum);
  return true;
}

}  // namespace vantorel::engine

// One section added after a program's last one, its raw data at the end of
// the file: whether the program can take it, where it goes, and the writes
// that add it without moving a byte that is there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pe_headers.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "writes/write_plan.h"

namespace vantorel::engine {

constexpr std::array<uint8_t, 8> kAddedSectionName = {'.', 'v', 't', 'r', 's', 'r', 'c', 0};
constexpr uint32_t kAddedSectionCharacteristics = 0x40000040;  // initialised data, readable
// The section's resource tree starts it, and its root directory carries this
// mark in the TimeDateStamp and version fields, which the loader ignores:
// what tells a section of ours (and the start of one an interrupted run
// began to append) from anything else of that name.
constexpr std::array<uint8_t, 8> kSectionMark = {'V', 'a', 'n', 't', 'o', 'r', 'e', 'l'};
constexpr int64_t kSectionMarkAt = 4;
// A version or manifest that a run put in its section says so in its data
// entry's Reserved field, which the loader ignores: a program's own
// resources there (its resource section named and marked so by chance or
// on purpose) are never taken for ours.
constexpr uint32_t kOwnDataMark = 0x6C727456;  // "Vtrl"

int64_t AlignUp(int64_t value, int64_t alignment);
bool AllZero(const Reader& r, int64_t begin, int64_t end);

// Where the program's own bytes end: its sections' raw data, or the COFF
// symbol and string table when they follow (found through the header's
// pointer, within one file alignment, only zeros before it).
int64_t OwnEnd(const Reader& r, const PeHeaders& h);

// Whether what follows the sections' raw data, up to `length`, may stay
// before a new section: zero padding, or the COFF symbol and string table,
// which is found through its header pointer. Anything else must keep ending
// the file.
bool NothingMustEndTheFile(const Reader& r, const PeHeaders& h, int64_t length);

// Where the new section header goes, or -1 when the headers have no room for
// it: zero bytes (or the header of a section of ours that a run stopped
// before counting it) after the table, before SizeOfHeaders and before any
// section's raw data, that no data directory names.
int64_t HeaderRoom(const Reader& r, const PeHeaders& h);

// 0 when the program can take the resources at its end; otherwise 1017 or
// 1018 with the sentence that says why (1017 for a container names it).
int32_t CheckLayout(const Reader& r, const PeHeaders& h, const std::string& path, std::string& failure_text);

// 0 when a new section can be added; otherwise 1018 with the sentence that
// says why.
int32_t CheckNewSection(const Reader& r, const PeHeaders& h, const std::string& path, std::string& failure_text);

// Where a new section goes in a file of `length` bytes: its raw data after
// everything in the file, aligned, and its address past every section's
// memory, aligned. Where the loader maps the file as it is (a section
// alignment below the page size), both are one number.
struct SectionPlace {
  int64_t raw = 0;
  uint32_t va = 0;
};
SectionPlace NewSectionPlace(const PeHeaders& h, int64_t length);

// Where in the earlier section `s` the new content goes, counted from its
// start, given the part the program uses now ([live_from, live_to)) and the
// content laid out for `live_from`: over that part only when it is the same
// bytes; else in the room before or after it; else past the section's end,
// appended. Nothing the program uses is written over before the resource
// directory names the new tree.
int64_t ContentOffset(const Reader& r, const SectionHeader& s, int64_t live_from, int64_t live_to,
                      const std::vector<uint8_t>& content, int64_t file_alignment);

// The file's length without the tail a run stopped while appending left, or
// its whole length when it has none: after the program's own end, zeros up
// to where that run's section began (within the padding it would have
// written), then the start of a section of ours, cut anywhere, even inside
// the mark. Zeros alone are padding, and stay.
int64_t LengthWithoutUnfinishedTail(const Reader& r, const PeHeaders& h);

// The section's change to the file: it is cut back to its own length (less
// an unfinished tail of an earlier run), then gains at its end the content
// (after zeros up to its start) or, in room inside the earlier section, has
// it written in place; then come the header fields, SizeOfImage first and
// the resource directory last, so the program is whole after each write, and
// the content is on disk before any.
struct Growth {
  FileChange change;
  int64_t content_at = 0;  // where the new tree, images and groups start in the file
  int64_t length_after = 0;
};

// Adds the write that keeps the header's CheckSum (its field at `field`)
// right after the growth, when the program keeps one: what is appended
// counts as words written over nothing. `own` is the file the growth starts
// from. Whether it added one.
bool PlanGrowthChecksum(const RandomAccessFile& own, int64_t field, Growth& growth);

// The content placed `at` bytes into the earlier section (or at the start of
// a new one after the file's `length` bytes), and the header fields that
// name it.
Growth PlaceSection(const PeHeaders& h, const SectionHeader* earlier, int64_t header_at, int64_t length, int64_t at,
                    std::vector<uint8_t> content);

}  // namespace vantorel::engine

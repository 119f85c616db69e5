// One section added after a program's last one, its raw data at the end of
// the file: whether the program can take it, where it goes, and the writes
// that add it without moving a byte that is there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pe_headers.h"
#include "reader.h"

namespace vantorel::engine {

constexpr std::array<uint8_t, 8> kAddedSectionName = {'.', 'v', 't', 'r', 's', 'r', 'c', 0};

int64_t AlignUp(int64_t value, int64_t alignment);

// The section an earlier run added: named so, last in the table and last in
// the file. It is used again, so however often Vantorel runs, a program gains
// one section.
const SectionHeader* EarlierSection(const PeHeaders& h);

// Where the new section header goes, or -1 when the headers have no room for
// it: zero bytes after the table, before SizeOfHeaders and before any
// section's raw data.
int64_t HeaderRoom(const Reader& r, const PeHeaders& h);

// 0 when a section can be added (or the earlier one used again); otherwise
// 1017 or 1018 with the sentence that says why.
int32_t CheckLayout(const Reader& r, const PeHeaders& h, const SectionHeader* earlier, const std::string& path,
                    std::string& failure_text);

// The address of a new section: past every section's memory, aligned.
uint32_t NewSectionVa(const PeHeaders& h);

struct Growth {
  int64_t raw = 0;                // where the section's raw data starts
  WritePlan in_place;             // header fields, and an earlier section's own bytes
  std::vector<uint8_t> appended;  // what the file gains at its end
  int64_t length_after = 0;
};

// The section `content` placed at the file's end (or over the earlier one),
// and the header fields that name it.
Growth PlaceSection(const PeHeaders& h, const SectionHeader* earlier, int64_t header_at, int64_t length,
                    uint32_t va, std::vector<uint8_t> content);

// Appends, then writes in place; a failure takes back the append and puts
// back every byte written, as ApplyWrites does.
bool ApplyGrowth(RandomAccessFile& file, const Growth& g, bool& restored);

}  // namespace vantorel::engine

// The three-level walk of a resource tree: type, then name or number, then
// language. Shared by the icon search, the rewrite, the room map and --list.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/reader.h"
#include "resource_types.h"

namespace vantorel::engine {

// The low 24 bits of an OffsetToData: the subdirectory flag in the upper byte
// dropped, as the walk reads subdirectories.
constexpr uint32_t kLow24 = 0x00FFFFFFu;

struct ResourceEntry {
  uint32_t Name = 0;
  uint32_t OffsetToData = 0;
};

struct LanguageVisit {
  ResourceEntry type, name, language;
};

struct WalkCallbacks {
  // Whether to descend into a type entry; all are skipped when unset.
  std::function<bool(const ResourceEntry& type)> want_type;
  std::function<void(const LanguageVisit&)> visit;
  // Told every byte range the walk reads as tree structure: directory headers,
  // entries and name strings.
  std::function<void(int64_t offset, int64_t size)> structure;
};

// File offset of the data entry that a language entry of `type` names: a
// group-icon entry through the low 24 bits of its OffsetToData (as the walk
// reads subdirectories), every other one, icons included, through all 32.
int32_t DataEntryAt(int32_t root, const LanguageVisit& visit);

// Walks the tree at `root`, in stored order, reading only through `r` (the
// resource section). Counts are unsigned and offsets 32-bit, so directories
// of any size a program may hold are walked. Each directory is
// walked once however many entries lead to it, and the walk reads at most one
// entry for every eight bytes of the section: no tree makes it run long.
void WalkResourceTree(const Reader& r, int32_t root, const WalkCallbacks& callbacks);

// A named entry's name (a counted UTF-16 string at root + the low 31 bits),
// as UTF-8 in double quotes, so that no name reads as a number; "#N" for a
// numbered entry.
std::string ResourceName(const Reader& r, int32_t root, uint32_t name);

// UTF-16 units as UTF-8 (a lone surrogate kept as its own three bytes).
std::string NameText(const std::u16string& units);

// Whether an entry is named by a string rather than a number.
bool IsStringName(uint32_t name);

// A named entry's name as stored; nothing for a numbered entry or a name
// that does not lie wholly in the section.
std::optional<std::u16string> ResourceNameUnits(const Reader& r, int32_t root, uint32_t name);

}  // namespace vantorel::engine

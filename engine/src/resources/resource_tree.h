// A whole resource tree as plain values: read from a program (every type,
// name and language, with each data entry's fields), changed, and laid out
// again as the bytes of a new tree. What --add-sizes builds its new section
// from; the data itself is never copied, only the entries that point at it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/reader.h"

namespace vantorel::engine {

// A type or name: a number, or a counted UTF-16 string.
struct ResourceId {
  bool named = false;
  uint32_t number = 0;
  std::u16string name;

  static ResourceId Number(uint32_t n) { return {false, n, {}}; }
  bool operator==(const ResourceId&) const = default;
};

// An IMAGE_RESOURCE_DATA_ENTRY's fields, and where it was read (-1 for one
// made new), so that language entries sharing one entry can be told.
struct ResourceData {
  uint32_t rva = 0, size = 0, code_page = 0, reserved = 0;
  int64_t read_at = -1;
};

struct LanguageNode {
  uint32_t language = 0;
  ResourceData data;
};

struct NameNode {
  ResourceId id;
  std::vector<LanguageNode> languages;
};

struct TypeNode {
  ResourceId id;
  std::vector<NameNode> names;
};

struct ResourceTree {
  std::vector<TypeNode> types;

  // The node of a numbered type or name, made (in its sorted place among the
  // numbers, after every named entry) when there is none.
  TypeNode& Type(uint32_t number);
  static NameNode& Name(TypeNode& type, uint32_t number);
  const TypeNode* FindType(uint32_t number) const;
};

// Reads every branch of the tree at `root` in stored order. Raises on a data
// entry or a name that does not lie in the section, as the walk does on a
// directory.
ResourceTree ReadResourceTree(const Reader& r, int32_t root);

// The tree's directories, entries and names laid out from offset 0 of a new
// tree: directories first, then the data entries, then the names. Its length
// depends only on the tree's shape, not on the data entries' values.
std::vector<uint8_t> TreeBytes(const ResourceTree& tree);

}  // namespace vantorel::engine

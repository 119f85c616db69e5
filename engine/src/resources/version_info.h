// A program's version resource (VS_VERSIONINFO) as a tree of blocks: read
// from its bytes, changed, and written back. Every block keeps its bytes as
// stored (key, padding, value, the gaps between children), so a block that
// is not changed is written back byte for byte, whatever its writer's habits;
// only a changed block and the lengths of those that hold it are laid out
// anew.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::engine {

// One block: a WORD wLength, wValueLength and wType, a NUL-terminated UTF-16
// key, padding to a 32-bit boundary, the value, padding, then the children,
// each starting on a 32-bit boundary. wLength counts the block from its
// first byte to the end of its last child (or of its value).
struct VersionBlock {
  uint16_t value_length = 0;  // wValueLength: words of text (wType 1) or bytes
  uint16_t type = 0;          // wType: 1 text, 0 binary
  std::u16string key;
  std::vector<uint8_t> head;   // the key, its NUL and the padding after it, as stored
  std::vector<uint8_t> value;  // as stored
  std::vector<uint8_t> pad;    // between the value and the first child (or the block's end)
  std::vector<VersionBlock> children;
  std::vector<std::vector<uint8_t>> gaps;  // the bytes after each child, before the next or the end
  bool changed = false;                    // laid out anew when written

  // The text of a text value: up to its first NUL.
  std::u16string Text() const;
  // Gives the block a text value (the NUL counted in wValueLength) and marks
  // it changed.
  void SetText(const std::u16string& text);
};

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedFileInfoSize = 52;  // VS_FIXEDFILEINFO
// Offsets of the fields of VS_FIXEDFILEINFO that a run may set.
constexpr size_t kFileVersionAt = 8, kProductVersionAt = 16, kFileTypeAt = 36;

// A block made new: its key laid out with its padding.
VersionBlock NewVersionBlock(const std::u16string& key, uint16_t type);

// Reads a whole VS_VERSIONINFO. Nothing, with `why` set, when it is damaged:
// a length below a block's header or past its parent's end, a key without
// its NUL, a child that does not start on a 32-bit boundary, a root that is
// not VS_VERSION_INFO or whose fixed information has the wrong signature.
std::optional<VersionBlock> ReadVersionInfo(const std::vector<uint8_t>& bytes, std::string& why);

// The bytes of the tree; unchanged blocks as they were read. Nothing when a
// block would be longer than its 16-bit length can say.
std::optional<std::vector<uint8_t>> VersionInfoBytes(const VersionBlock& root);

}  // namespace vantorel::engine

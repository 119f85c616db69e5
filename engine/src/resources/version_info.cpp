// VS_VERSIONINFO read into blocks and written back.
#include "version_info.h"

#include <algorithm>

#include "files/little_endian.h"

namespace vantorel::engine {
namespace {

constexpr size_t kHeaderSize = 6;  // wLength, wValueLength, wType
// The format nests four deep (root, StringFileInfo, table, string); a few
// more levels leave room for what other writers put in VarFileInfo, and a
// bound keeps a crafted resource from recursing without end.
constexpr int kDeepest = 8;
constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

std::vector<uint8_t> Slice(const std::vector<uint8_t>& b, size_t from, size_t to) {
  return {b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to)};
}

bool AllZero(const std::vector<uint8_t>& b, size_t from, size_t to) {
  return std::all_of(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to),
                     [](uint8_t v) { return v == 0; });
}

// Reads the block at `at`, which may reach as far as `end`. Every offset is
// counted from the resource's start, which the loader aligns.
class BlockReader {
 public:
  explicit BlockReader(const std::vector<uint8_t>& bytes) : b_(bytes) {}

  bool Read(size_t at, size_t end, int depth, VersionBlock& block) {
    if (depth > kDeepest) return Damaged("its blocks nest deeper than the format does");
    if (end - at < kHeaderSize) return Damaged("a block is shorter than its header");
    const size_t length = U16At(b_, at);
    if (length < kHeaderSize || length > end - at) return Damaged("a block's length runs past the block that holds it");
    const size_t block_end = at + length;
    block.value_length = U16At(b_, at + 2);
    block.type = U16At(b_, at + 4);
    size_t key_end = at + kHeaderSize;
    for (;; key_end += 2) {
      if (block_end - key_end < 2) return Damaged("a key has no end within its block");
      const char16_t unit = U16At(b_, key_end);
      if (!unit) break;
      block.key.push_back(unit);
    }
    const size_t value_at = std::min(at + Align4(key_end + 2 - at), block_end);
    block.head = Slice(b_, at + kHeaderSize, value_at);
    // Text values are counted in words; some writers counted their bytes,
    // which would run past the block: what the block holds is the value.
    size_t value_bytes = block.type == 1 ? size_t{block.value_length} * 2 : block.value_length;
    if (value_bytes > block_end - value_at) {
      if (block.type != 1) return Damaged("a value runs past its block");
      value_bytes = block_end - value_at;
    }
    const size_t value_end = value_at + value_bytes;
    block.value = Slice(b_, value_at, value_end);
    size_t child = std::min(at + Align4(value_end - at), block_end);
    if (AllZero(b_, child, block_end)) child = block_end;
    block.pad = Slice(b_, value_end, child);
    while (child < block_end) {
      VersionBlock c;
      if (!Read(child, block_end, depth + 1, c)) return false;
      const size_t child_end = child + U16At(b_, child);
      size_t next = std::min(child_end + (Align4(child_end - at) - (child_end - at)), block_end);
      if (AllZero(b_, next, block_end)) next = block_end;
      block.children.push_back(std::move(c));
      block.gaps.push_back(Slice(b_, child_end, next));
      child = next;
    }
    return true;
  }

  const std::string& why() const { return why_; }

 private:
  bool Damaged(const char* why) {
    why_ = why;
    return false;
  }

  const std::vector<uint8_t>& b_;
  std::string why_;
};

size_t PaddingAfter(size_t size) { return Align4(size) - size; }

// Whether the block or any block it holds was changed: its size may differ
// from what was read, so the padding after it is laid out anew.
bool Dirty(const VersionBlock& b) {
  return b.changed || std::any_of(b.children.begin(), b.children.end(), Dirty);
}

bool Write(const VersionBlock& b, std::vector<uint8_t>& out) {
  const size_t at = out.size();
  out.resize(at + kHeaderSize);
  out.insert(out.end(), b.head.begin(), b.head.end());
  out.insert(out.end(), b.value.begin(), b.value.end());
  if (!b.changed) {
    out.insert(out.end(), b.pad.begin(), b.pad.end());
  } else if (!b.children.empty()) {
    out.resize(out.size() + PaddingAfter(out.size() - at), 0);
  }
  for (size_t i = 0; i < b.children.size(); ++i) {
    const size_t child_at = out.size();
    if (!Write(b.children[i], out)) return false;
    const bool last = i + 1 == b.children.size();
    if (!Dirty(b.children[i]) || (last && b.gaps[i].empty())) {
      out.insert(out.end(), b.gaps[i].begin(), b.gaps[i].end());
    } else {
      out.resize(out.size() + PaddingAfter(out.size() - child_at), 0);
    }
  }
  const size_t length = out.size() - at;
  if (length > 0xFFFF) return false;
  PutLe(out, at, static_cast<uint32_t>(length), 2);
  PutLe(out, at + 2, b.value_length, 2);
  PutLe(out, at + 4, b.type, 2);
  return true;
}

}  // namespace

std::u16string VersionBlock::Text() const {
  std::u16string text;
  for (size_t i = 0; i + 1 < value.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(value[i] | value[i + 1] << 8);
    if (!unit) break;
    text.push_back(unit);
  }
  return text;
}

void VersionBlock::SetText(const std::u16string& text) {
  value.assign((text.size() + 1) * 2, 0);
  for (size_t i = 0; i < text.size(); ++i) PutLe(value, 2 * i, text[i], 2);
  value_length = static_cast<uint16_t>(std::min<size_t>(text.size() + 1, 0xFFFF));
  type = 1;
  pad.clear();
  changed = true;
}

VersionBlock NewVersionBlock(const std::u16string& key, uint16_t type) {
  VersionBlock b;
  b.key = key;
  b.type = type;
  b.head.assign((key.size() + 1) * 2, 0);
  for (size_t i = 0; i < key.size(); ++i) PutLe(b.head, 2 * i, key[i], 2);
  b.head.resize(b.head.size() + PaddingAfter(kHeaderSize + b.head.size()), 0);
  b.changed = true;
  return b;
}

std::optional<VersionBlock> ReadVersionInfo(const std::vector<uint8_t>& bytes, std::string& why) {
  BlockReader reader(bytes);
  VersionBlock root;
  if (!reader.Read(0, bytes.size(), 0, root)) {
    why = reader.why();
    return std::nullopt;
  }
  if (root.key != kRootKey) {
    why = "it does not start with a VS_VERSION_INFO block";
    return std::nullopt;
  }
  if (!root.value.empty() && (root.value.size() != kFixedFileInfoSize || Le32(root.value.data()) != kFixedFileInfoSignature)) {
    why = "its fixed file information is not a VS_FIXEDFILEINFO";
    return std::nullopt;
  }
  return root;
}

std::optional<std::vector<uint8_t>> VersionInfoBytes(const VersionBlock& root) {
  std::vector<uint8_t> out;
  if (!Write(root, out)) return std::nullopt;
  return out;
}

}  // namespace vantorel::engine

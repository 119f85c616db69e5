#include "resource_walk.h"

#include <optional>
#include <unordered_set>

namespace vantorel::engine {
namespace {

constexpr uint32_t kNameIsString = 0x80000000u;
constexpr int32_t kDirectoryHeaderSize = 16;

class Walk {
 public:
  Walk(const Reader& r, int32_t root, const WalkCallbacks& cb)
      : r_(r), root_(root), cb_(cb), budget_((r.end() - r.begin()) / 8 + 16) {}

  void Run() {
    int32_t types = EntryCount(root_);
    for (int i = 1; i <= types; ++i) {
      ResourceEntry type = Entry(root_, i);
      if (!cb_.want_type || !cb_.want_type(type)) continue;
      NameString(type.Name);
      int32_t names_dir = Subdirectory(type);
      if (!names_seen_.insert(names_dir).second) continue;
      int32_t names = EntryCount(names_dir);
      for (int j = 1; j <= names; ++j) {
        ResourceEntry name = Entry(names_dir, j);
        NameString(name.Name);
        int32_t languages_dir = Subdirectory(name);
        if (!languages_seen_.insert(languages_dir).second) continue;
        int32_t languages = EntryCount(languages_dir);
        for (int k = 1; k <= languages; ++k) {
          ResourceEntry language = Entry(languages_dir, k);
          if (cb_.visit) cb_.visit({type, name, language});
        }
      }
    }
  }

 private:
  // The upper byte of a subdirectory's OffsetToData holds its flag and is dropped.
  int32_t Subdirectory(const ResourceEntry& e) const {
    return Add32(root_, static_cast<int32_t>(e.OffsetToData & kLow24));
  }

  // Both counts are unsigned 16-bit numbers: a directory may hold up to
  // 131,070 entries, and the budget below bounds the walk whatever they say.
  int32_t EntryCount(int32_t dir) {
    Structure(dir, kDirectoryHeaderSize);
    return int32_t{r_.U16(int64_t{dir} + 12)} + r_.U16(int64_t{dir} + 14);
  }

  // Entry i (from 1) lies at dir + 8 + 8 * i, in 32-bit arithmetic: a
  // directory of 4,096 entries and more is as valid as a small one.
  ResourceEntry Entry(int32_t dir, int32_t i) {
    int32_t at = Add32(Add32(dir, 8), Mul32(8, i));
    if (--budget_ < 0) Raise(9);
    Structure(at, 8);
    return {r_.U32(at), r_.U32(int64_t{at} + 4)};
  }

  void Structure(int64_t offset, int64_t size) {
    if (!r_.Contains(offset, size)) Raise(9);
    if (cb_.structure) cb_.structure(offset, size);
  }

  // A name string is part of the tree too; one that lies outside the section
  // is somebody else's bytes and is simply not counted.
  void NameString(uint32_t name) {
    if (!cb_.structure || !(name & kNameIsString)) return;
    int64_t at = int64_t{root_} + (name & ~kNameIsString);
    if (!r_.Contains(at, 2)) return;
    int64_t size = 2 + 2 * int64_t{r_.U16(at)};
    if (r_.Contains(at, size)) cb_.structure(at, size);
  }

  const Reader& r_;
  int32_t root_;
  const WalkCallbacks& cb_;
  int64_t budget_;
  std::unordered_set<int32_t> names_seen_, languages_seen_;
};

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

int32_t DataEntryAt(int32_t root, const LanguageVisit& visit) {
  uint32_t offset = visit.language.OffsetToData;
  if (visit.type.Name == kRtGroupIcon) offset &= kLow24;
  return Add32(root, static_cast<int32_t>(offset));
}

void WalkResourceTree(const Reader& r, int32_t root, const WalkCallbacks& callbacks) {
  Walk(r, root, callbacks).Run();
}

bool IsStringName(uint32_t name) { return (name & kNameIsString) != 0; }

std::optional<std::u16string> ResourceNameUnits(const Reader& r, int32_t root, uint32_t name) {
  if (!IsStringName(name)) return std::nullopt;
  int64_t at = int64_t{root} + (name & ~kNameIsString);
  if (!r.Contains(at, 2)) return std::nullopt;
  int64_t length = r.U16(at);
  if (!r.Contains(at + 2, 2 * length)) return std::nullopt;
  std::u16string units(static_cast<size_t>(length), u'\0');
  for (int64_t i = 0; i < length; ++i) units[static_cast<size_t>(i)] = static_cast<char16_t>(r.U16(at + 2 + 2 * i));
  return units;
}

std::string NameText(const std::u16string& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
      uint32_t low = units[i + 1];
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string ResourceName(const Reader& r, int32_t root, uint32_t name) {
  if (!IsStringName(name)) {
    // Appended rather than "#" + ...: GCC 12 at -O3 warns falsely about the latter.
    std::string number = "#";
    return number.append(std::to_string(name));
  }
  std::optional<std::u16string> units = ResourceNameUnits(r, root, name);
  if (!units) return "?";
  // Quoted, so that a name such as "#7" is never taken for number 7.
  std::string quoted = "\"";
  quoted.append(NameText(*units)).append("\"");
  return quoted;
}

}  // namespace vantorel::engine

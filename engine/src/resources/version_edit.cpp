// Strings and numbers set in every string table of a version resource.
#include "version_edit.h"

#include <algorithm>
#include <cstdio>

#include "files/little_endian.h"
#include "name_case.h"
#include "resource_walk.h"

namespace vantorel::engine {
namespace {

constexpr char16_t kStringFileInfo[] = u"StringFileInfo", kVarFileInfo[] = u"VarFileInfo",
                   kTranslation[] = u"Translation";
constexpr char16_t kNeutralUnicodeTable[] = u"000004b0";  // no language, code page 1200 (UTF-16)
constexpr uint32_t kUnicodeCodePage = 1200;
constexpr uint32_t kStrucVersion = 0x00010000, kFlagsMask = 0x3F, kOsNtWindows32 = 0x00040004;
constexpr uint32_t kTypeApp = 1, kTypeDll = 2;

// Strict UTF-8: no overlong form, no surrogate, nothing past U+10FFFF.
bool DecodeUtf8(const std::string& s, std::u16string& out) {
  for (size_t i = 0; i < s.size();) {
    const uint8_t lead = static_cast<uint8_t>(s[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || s.size() - i <= static_cast<size_t>(extra)) return false;
    uint32_t c = extra ? lead & (0x3F >> extra) : lead;
    for (int k = 1; k <= extra; ++k) {
      const uint8_t next = static_cast<uint8_t>(s[i + static_cast<size_t>(k)]);
      if ((next >> 6) != 2) return false;
      c = c << 6 | (next & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

std::u16string Units(const char* ascii) { return {ascii, ascii + std::char_traits<char>::length(ascii)}; }

std::string VersionNumberText(const std::vector<uint8_t>& fixed, size_t at) {
  const uint32_t ms = Le32(fixed.data() + at), ls = Le32(fixed.data() + at + 4);
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
  return text;
}

std::vector<uint8_t> NewFixedFileInfo(bool dll) {
  std::vector<uint8_t> fixed(kFixedFileInfoSize, 0);
  PutLe(fixed, 0, kFixedFileInfoSignature, 4);
  PutLe(fixed, 4, kStrucVersion, 4);
  PutLe(fixed, 24, kFlagsMask, 4);
  PutLe(fixed, 32, kOsNtWindows32, 4);
  PutLe(fixed, kFileTypeAt, dll ? kTypeDll : kTypeApp, 4);
  return fixed;
}

VersionBlock* Child(VersionBlock& parent, const std::u16string& key) {
  for (VersionBlock& c : parent.children) {
    if (c.key == key) return &c;
  }
  return nullptr;
}

size_t BlockSize(const VersionBlock& b) { return VersionInfoBytes(b).value_or(std::vector<uint8_t>{}).size(); }

std::vector<uint8_t> PaddingFor(size_t size) { return std::vector<uint8_t>((4 - size % 4) % 4, 0); }

// Puts `child` at `pos` among the children. A child that is no longer last
// gets the padding that brings the next one to its 32-bit boundary.
VersionBlock& InsertChild(VersionBlock& parent, size_t pos, VersionBlock child) {
  const bool last = pos == parent.children.size();
  if (last && pos > 0) parent.gaps.back() = PaddingFor(BlockSize(parent.children.back()));
  const size_t size = BlockSize(child);
  parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(pos), std::move(child));
  parent.gaps.insert(parent.gaps.begin() + static_cast<std::ptrdiff_t>(pos),
                     last ? std::vector<uint8_t>{} : PaddingFor(size));
  parent.changed = true;
  return parent.children[pos];
}

VersionBlock& AppendChild(VersionBlock& parent, VersionBlock child) {
  return InsertChild(parent, parent.children.size(), std::move(child));
}

// The tables every string goes into. A resource without any gets one,
// named after the first language and code page its translation lists.
std::vector<VersionBlock*> StringTables(VersionBlock& root) {
  std::vector<VersionBlock*> tables;
  for (VersionBlock& info : root.children) {
    if (info.key != kStringFileInfo) continue;
    for (VersionBlock& table : info.children) tables.push_back(&table);
  }
  if (!tables.empty()) return tables;
  std::u16string key = kNeutralUnicodeTable;
  VersionBlock* var = Child(root, kVarFileInfo);
  VersionBlock* translation = var ? Child(*var, kTranslation) : nullptr;
  if (translation && translation->value.size() >= 4) {
    char text[9];
    std::snprintf(text, sizeof text, "%04x%04x", translation->value[0] | translation->value[1] << 8,
                  translation->value[2] | translation->value[3] << 8);
    key = Units(text);
  }
  VersionBlock* info = Child(root, kStringFileInfo);
  if (!info) {
    // Before VarFileInfo, where resource compilers put it.
    size_t pos = root.children.size();
    if (pos && root.children.back().key == kVarFileInfo) --pos;
    info = &InsertChild(root, pos, NewVersionBlock(kStringFileInfo, 1));
  }
  return {&AppendChild(*info, NewVersionBlock(key, 1))};
}

void SetString(VersionBlock& root, const std::u16string& key, const std::u16string& value,
               std::vector<FieldChange>& changes) {
  for (VersionBlock* table : StringTables(root)) {
    FieldChange change{"version", 0, NameText(table->key), NameText(key), std::nullopt, NameText(value)};
    VersionBlock* found = nullptr;
    for (VersionBlock& s : table->children) {
      if (SameNameIgnoringCase(s.key, key)) found = &s;
    }
    if (found) {
      change.field = NameText(found->key);
      change.before = NameText(found->Text());
      found->SetText(value);
    } else {
      AppendChild(*table, NewVersionBlock(key, 1)).SetText(value);
    }
    changes.push_back(std::move(change));
  }
}

void SetFixed(VersionBlock& root, size_t at, const VersionNumber& number, const char* field,
              std::vector<FieldChange>& changes) {
  if (root.value.size() != kFixedFileInfoSize) {
    root.value = NewFixedFileInfo(false);
    root.value_length = kFixedFileInfoSize;
    root.type = 0;
  }
  FieldChange change{"version", 0, "", std::string("fixed ") + field, VersionNumberText(root.value, at), ""};
  PutLe(root.value, at, static_cast<uint32_t>(number.parts[0]) << 16 | number.parts[1], 4);
  PutLe(root.value, at + 4, static_cast<uint32_t>(number.parts[2]) << 16 | number.parts[3], 4);
  change.after = VersionNumberText(root.value, at);
  root.changed = true;
  changes.push_back(std::move(change));
}

bool GivenExplicitly(const ResourceEdit& edit, const char* key) {
  for (const auto& [k, v] : edit.version_strings) {
    std::u16string units;
    if (DecodeUtf8(k, units) && SameNameIgnoringCase(units, Units(key))) return true;
  }
  return false;
}

}  // namespace

bool ParseVersionNumber(const std::string& text, VersionNumber& number, std::string& why) {
  why = "a version number is one to four numbers from 0 to 65535 joined by dots (1.2.3.4), not \"" + text + "\"";
  number = {};
  number.text = text;
  size_t part = 0, at = 0;
  while (true) {
    const size_t dot = std::min(text.find('.', at), text.size());
    const std::string digits = text.substr(at, dot - at);
    if (part == 4 || digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos || std::stoul(digits) > 0xFFFF) {
      return false;
    }
    number.parts[part++] = static_cast<uint16_t>(std::stoul(digits));
    if (dot == text.size()) break;
    at = dot + 1;
  }
  why.clear();
  return true;
}

bool IsExecutionLevel(const std::string& level) {
  return level == "asInvoker" || level == "highestAvailable" || level == "requireAdministrator";
}

std::optional<std::u16string> VersionText(const std::string& utf8, const char* what, std::string& why) {
  std::u16string units;
  if (!DecodeUtf8(utf8, units)) {
    why = std::string("the ") + what + " \"" + utf8 + "\" is not UTF-8 text";
    return std::nullopt;
  }
  if (units.find(u'\0') != std::u16string::npos) {
    why = std::string("the ") + what + " holds a NUL character, which would end it";
    return std::nullopt;
  }
  return units;
}

VersionBlock NewVersionInfo(bool dll) {
  VersionBlock root = NewVersionBlock(u"VS_VERSION_INFO", 0);
  root.value = NewFixedFileInfo(dll);
  root.value_length = kFixedFileInfoSize;
  VersionBlock& info = AppendChild(root, NewVersionBlock(kStringFileInfo, 1));
  AppendChild(info, NewVersionBlock(kNeutralUnicodeTable, 1));
  VersionBlock& var = AppendChild(root, NewVersionBlock(kVarFileInfo, 1));
  VersionBlock& translation = AppendChild(var, NewVersionBlock(kTranslation, 0));
  translation.value = LeBytes(kUnicodeCodePage << 16, 4);
  translation.value_length = 4;
  return root;
}

bool EditVersionInfo(VersionBlock& root, const ResourceEdit& edit, std::vector<FieldChange>& changes,
                     std::string& why) {
  for (const auto& [key, value] : edit.version_strings) {
    std::optional<std::u16string> k = VersionText(key, "key", why), v = VersionText(value, "value", why);
    if (!k || !v) return false;
    if (k->empty()) {
      why = "a version string's key cannot be empty";
      return false;
    }
    SetString(root, *k, *v, changes);
  }
  struct Fixed {
    const std::optional<VersionNumber>& number;
    size_t at;
    const char* key;
  };
  for (const Fixed& f : {Fixed{edit.file_version, kFileVersionAt, "FileVersion"},
                         Fixed{edit.product_version, kProductVersionAt, "ProductVersion"}}) {
    if (!f.number) continue;
    SetFixed(root, f.at, *f.number, f.key, changes);
    if (!GivenExplicitly(edit, f.key)) SetString(root, Units(f.key), Units(f.number->text.c_str()), changes);
  }
  return true;
}

void ListVersionInfo(const VersionBlock& root, uint32_t language, ProgramResources& out) {
  out.has_version = true;
  if (root.value.size() == kFixedFileInfoSize) {
    out.file_version = VersionNumberText(root.value, kFileVersionAt);
    out.product_version = VersionNumberText(root.value, kProductVersionAt);
  }
  for (const VersionBlock& info : root.children) {
    if (info.key != kStringFileInfo) continue;
    for (const VersionBlock& table : info.children) {
      for (const VersionBlock& s : table.children) {
        out.strings.push_back({language, NameText(table.key), NameText(s.key), NameText(s.Text())});
      }
    }
  }
}

}  // namespace vantorel::engine

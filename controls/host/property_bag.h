#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "host/color.h"
#include "host/font.h"
#include "host/picture.h"

namespace vantorel::host {

// One stored value. Booleans are kept as bool; in the persisted sense they are the
// 16-bit True (-1) and False (0).
using PropertyValue = std::variant<std::int32_t, std::int16_t, bool, std::wstring, FontDesc, PictureRef>;

// The persisted key/value set of one control instance: kept in the order written,
// keys matched without regard to case.
class PropertyBag {
 public:
  using Entry = std::pair<std::wstring, PropertyValue>;

  const std::vector<Entry>& Entries() const { return entries_; }
  bool Has(std::wstring_view key) const { return Find(key) != nullptr; }
  const PropertyValue* Find(std::wstring_view key) const;
  void Remove(std::wstring_view key);
  void Clear() { entries_.clear(); }

  // Stored always (a write without a default), replacing an entry of the same key
  // where it stands.
  void Write(std::wstring_view key, PropertyValue value);
  // Stored only when the value differs from the default; an equal value removes
  // an entry of that key, so the saved set never holds a default.
  void Write(std::wstring_view key, const PropertyValue& value, const PropertyValue& def);
  // A colour is stored as the 32-bit integer of its OLE_COLOR bits, so system
  // colours (high bit set) come out negative.
  void WriteColor(std::wstring_view key, OleColor value);
  void WriteColor(std::wstring_view key, OleColor value, OleColor def);

  // The stored value converted to the asked type, or def when the key is missing
  // or holds a value that cannot be converted (text where a number is read, a
  // number that does not fit).
  std::int32_t ReadInt32(std::wstring_view key, std::int32_t def) const;
  std::int16_t ReadInt16(std::wstring_view key, std::int16_t def) const;
  bool ReadBool(std::wstring_view key, bool def) const;
  std::wstring ReadText(std::wstring_view key, std::wstring def) const;
  FontDesc ReadFont(std::wstring_view key, FontDesc def) const;
  PictureRef ReadPicture(std::wstring_view key, PictureRef def) const;
  OleColor ReadColor(std::wstring_view key, OleColor def) const;

  bool operator==(const PropertyBag& other) const;

 private:
  Entry* FindEntry(std::wstring_view key);

  std::vector<Entry> entries_;
};

bool KeysEqual(std::wstring_view a, std::wstring_view b);
bool ValuesEqual(const PropertyValue& a, const PropertyValue& b);

// The plain text form of a bag, one "key = type value" line per entry:
//   ButtonStyle = i32 7
//   BackColor = i32 0x00F1B39A
//   MousePointer = i16 99
//   FocusRect = bool true
//   Caption = str "Open File (.exe)"
//   Font = font "Tahoma" 8.25 700 0 0 0 0     (name size weight italic underline strike charset)
//   MouseIcon = pic 0000020001002020...       (the picture's file bytes in hex)
// Blank lines and lines starting with '#' are skipped.
std::wstring BagToText(const PropertyBag& bag);
// On failure returns nothing and says, with the line number, what was wrong; the
// caller's data stays as it was.
std::optional<PropertyBag> BagFromText(std::wstring_view text, std::wstring* error);

}  // namespace vantorel::host

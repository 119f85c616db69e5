#include "host/property_bag.h"

#include <windows.h>

#include <limits>

namespace vantorel::host {

bool KeysEqual(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

bool ValuesEqual(const PropertyValue& a, const PropertyValue& b) {
  if (a.index() != b.index()) return false;
  if (const auto* pa = std::get_if<PictureRef>(&a)) {
    const PictureRef& pb = std::get<PictureRef>(b);
    if (!*pa || !pb) return !*pa && !pb;
    return *pa == pb || (*pa)->Bytes() == pb->Bytes();
  }
  return a == b;
}

const PropertyValue* PropertyBag::Find(std::wstring_view key) const {
  for (const auto& e : entries_)
    if (KeysEqual(e.first, key)) return &e.second;
  return nullptr;
}

PropertyBag::Entry* PropertyBag::FindEntry(std::wstring_view key) {
  for (auto& e : entries_)
    if (KeysEqual(e.first, key)) return &e;
  return nullptr;
}

void PropertyBag::Remove(std::wstring_view key) {
  std::erase_if(entries_, [&](const Entry& e) { return KeysEqual(e.first, key); });
}

void PropertyBag::Write(std::wstring_view key, PropertyValue value) {
  if (Entry* e = FindEntry(key)) {
    e->second = std::move(value);
    return;
  }
  entries_.emplace_back(std::wstring(key), std::move(value));
}

void PropertyBag::Write(std::wstring_view key, const PropertyValue& value, const PropertyValue& def) {
  if (ValuesEqual(value, def))
    Remove(key);
  else
    Write(key, value);
}

namespace {

std::optional<std::int64_t> AsInteger(const PropertyValue& v) {
  if (const auto* p = std::get_if<std::int32_t>(&v)) return *p;
  if (const auto* p = std::get_if<std::int16_t>(&v)) return *p;
  if (const auto* p = std::get_if<bool>(&v)) return *p ? -1 : 0;
  return std::nullopt;
}

}  // namespace

std::int32_t PropertyBag::ReadInt32(std::wstring_view key, std::int32_t def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  auto n = AsInteger(*v);
  return n ? static_cast<std::int32_t>(*n) : def;
}

OleColor PropertyBag::ReadColor(std::wstring_view key, OleColor def) const {
  return static_cast<OleColor>(ReadInt32(key, static_cast<std::int32_t>(def)));
}

void PropertyBag::WriteColor(std::wstring_view key, OleColor value) { Write(key, static_cast<std::int32_t>(value)); }

void PropertyBag::WriteColor(std::wstring_view key, OleColor value, OleColor def) {
  Write(key, static_cast<std::int32_t>(value), static_cast<std::int32_t>(def));
}

std::int16_t PropertyBag::ReadInt16(std::wstring_view key, std::int16_t def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  auto n = AsInteger(*v);
  if (!n || *n < std::numeric_limits<std::int16_t>::min() || *n > std::numeric_limits<std::int16_t>::max())
    return def;
  return static_cast<std::int16_t>(*n);
}

bool PropertyBag::ReadBool(std::wstring_view key, bool def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  auto n = AsInteger(*v);
  return n ? *n != 0 : def;
}

std::wstring PropertyBag::ReadText(std::wstring_view key, std::wstring def) const {
  const PropertyValue* v = Find(key);
  if (!v) return def;
  if (const auto* s = std::get_if<std::wstring>(v)) return *s;
  if (auto n = AsInteger(*v)) return std::to_wstring(*n);
  return def;
}

FontDesc PropertyBag::ReadFont(std::wstring_view key, FontDesc def) const {
  const PropertyValue* v = Find(key);
  if (const auto* f = v ? std::get_if<FontDesc>(v) : nullptr) return *f;
  return def;
}

PictureRef PropertyBag::ReadPicture(std::wstring_view key, PictureRef def) const {
  const PropertyValue* v = Find(key);
  if (const auto* p = v ? std::get_if<PictureRef>(v) : nullptr) return *p;
  return def;
}

bool PropertyBag::operator==(const PropertyBag& other) const {
  if (entries_.size() != other.entries_.size()) return false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].first != other.entries_[i].first) return false;
    if (!ValuesEqual(entries_[i].second, other.entries_[i].second)) return false;
  }
  return true;
}

}  // namespace vantorel::host

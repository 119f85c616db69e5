#include <cstdio>
#include <cwchar>

#include "host/property_bag.h"

namespace vantorel::host {

namespace {

void AppendQuoted(std::wstring& out, std::wstring_view s) {
  out += L'"';
  for (wchar_t c : s) {
    switch (c) {
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      default:
        if (c < 0x20) {
          wchar_t buf[8];
          std::swprintf(buf, 8, L"\\u%04X", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += L'"';
}

struct ValueWriter {
  std::wstring& out;
  void operator()(std::int32_t v) const {
    wchar_t buf[32];
    // Colours read best in hex; small numbers (enumerations, sizes) in decimal.
    if (v >= 0 && v <= 0xFFFF)
      std::swprintf(buf, 32, L"i32 %d", v);
    else
      std::swprintf(buf, 32, L"i32 0x%08X", static_cast<unsigned>(v));
    out += buf;
  }
  void operator()(std::int16_t v) const { out += L"i16 " + std::to_wstring(v); }
  void operator()(bool v) const { out += v ? L"bool true" : L"bool false"; }
  void operator()(const std::wstring& v) const {
    out += L"str ";
    AppendQuoted(out, v);
  }
  void operator()(const FontDesc& f) const {
    out += L"font ";
    AppendQuoted(out, f.name);
    wchar_t buf[96];
    std::swprintf(buf, 96, L" %.6g %d %d %d %d %d", f.size, f.weight, f.italic ? 1 : 0, f.underline ? 1 : 0,
                  f.strikethrough ? 1 : 0, f.charset);
    out += buf;
  }
  void operator()(const PictureRef& p) const {
    if (!p) {
      out += L"pic none";
      return;
    }
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    out += L"pic ";
    for (std::uint8_t b : p->Bytes()) {
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
};

// Reads the text form one token at a time; every failure names what was expected.
class LineReader {
 public:
  explicit LineReader(std::wstring_view s) : s_(s) {}

  void SkipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == L' ' || s_[pos_] == L'\t')) ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == s_.size();
  }
  std::wstring_view Word() {
    SkipSpace();
    std::size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] != L' ' && s_[pos_] != L'\t') ++pos_;
    return s_.substr(start, pos_ - start);
  }
  bool Integer(std::int64_t lo, std::int64_t hi, std::int64_t* out) {
    std::wstring_view w = Word();
    if (w.empty()) return false;
    bool negative = false;
    std::size_t i = 0;
    std::uint64_t v = 0;
    if (w.size() > 2 && w[0] == L'0' && (w[1] == L'x' || w[1] == L'X')) {
      // Hex gives the bits: 0x8000000F is the 32-bit value with the top bit set.
      if (w.size() > 10) return false;
      for (i = 2; i < w.size(); ++i) {
        int d = HexDigit(w[i]);
        if (d < 0) return false;
        v = v * 16 + static_cast<unsigned>(d);
      }
      std::int64_t bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
      if (hi <= 0x7FFF) bits = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
      if (hi <= 0x7FFF && v > 0xFFFF) return false;
      *out = bits;
      return true;
    }
    if (w[0] == L'-' || w[0] == L'+') {
      negative = w[0] == L'-';
      i = 1;
    }
    if (i == w.size()) return false;
    for (; i < w.size(); ++i) {
      if (w[i] < L'0' || w[i] > L'9') return false;
      v = v * 10 + static_cast<unsigned>(w[i] - L'0');
      if (v > 0xFFFFFFFFull) return false;
    }
    std::int64_t n = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    if (n < lo || n > hi) return false;
    *out = n;
    return true;
  }
  bool Number(double* out) {
    std::wstring w(Word());
    if (w.empty()) return false;
    wchar_t* end = nullptr;
    *out = std::wcstod(w.c_str(), &end);
    return end == w.c_str() + w.size();
  }
  bool Quoted(std::wstring* out) {
    SkipSpace();
    if (pos_ >= s_.size() || s_[pos_] != L'"') return false;
    ++pos_;
    out->clear();
    while (pos_ < s_.size()) {
      wchar_t c = s_[pos_++];
      if (c == L'"') return true;
      if (c != L'\\') {
        *out += c;
        continue;
      }
      if (pos_ >= s_.size()) return false;
      wchar_t e = s_[pos_++];
      switch (e) {
        case L'"': *out += L'"'; break;
        case L'\\': *out += L'\\'; break;
        case L'n': *out += L'\n'; break;
        case L'r': *out += L'\r'; break;
        case L't': *out += L'\t'; break;
        case L'u': {
          if (s_.size() - pos_ < 4) return false;
          unsigned v = 0;
          for (int k = 0; k < 4; ++k) {
            int d = HexDigit(s_[pos_++]);
            if (d < 0) return false;
            v = v * 16 + static_cast<unsigned>(d);
          }
          *out += static_cast<wchar_t>(v);
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  static int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  }

 private:
  std::wstring_view s_;
  std::size_t pos_ = 0;
};

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\r')) s.remove_suffix(1);
  return s;
}

// Parses the value part of one line; returns what was wrong, or nothing.
std::optional<std::wstring> ParseValue(LineReader& r, PropertyValue* out) {
  std::wstring_view type = r.Word();
  if (type == L"i32") {
    std::int64_t n = 0;
    if (!r.Integer(INT32_MIN, INT32_MAX, &n)) return L"expected a 32-bit integer";
    *out = static_cast<std::int32_t>(n);
  } else if (type == L"i16") {
    std::int64_t n = 0;
    if (!r.Integer(INT16_MIN, INT16_MAX, &n)) return L"expected a 16-bit integer";
    *out = static_cast<std::int16_t>(n);
  } else if (type == L"bool") {
    std::wstring_view w = r.Word();
    if (w == L"true" || w == L"-1")
      *out = true;
    else if (w == L"false" || w == L"0")
      *out = false;
    else
      return L"expected true or false";
  } else if (type == L"str") {
    std::wstring s;
    if (!r.Quoted(&s)) return L"expected a quoted text";
    *out = std::move(s);
  } else if (type == L"font") {
    FontDesc f;
    std::int64_t weight = 0, italic = 0, underline = 0, strike = 0, charset = 0;
    if (!r.Quoted(&f.name)) return L"expected a quoted font name";
    if (!r.Number(&f.size) || !(f.size > 0 && f.size < 2048)) return L"expected a font size in points";
    if (!r.Integer(0, 1000, &weight) || !r.Integer(0, 1, &italic) || !r.Integer(0, 1, &underline) ||
        !r.Integer(0, 1, &strike) || !r.Integer(0, 255, &charset))
      return L"expected weight, italic, underline, strikethrough and character set";
    f.weight = static_cast<int>(weight);
    f.italic = italic != 0;
    f.underline = underline != 0;
    f.strikethrough = strike != 0;
    f.charset = static_cast<int>(charset);
    *out = std::move(f);
  } else if (type == L"pic") {
    std::wstring_view hex = r.Word();
    if (hex == L"none") {
      *out = PictureRef{};
    } else {
      if (hex.empty() || hex.size() % 2 != 0) return L"expected none or an even number of hex digits";
      std::vector<std::uint8_t> bytes(hex.size() / 2);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        int hi = LineReader::HexDigit(hex[2 * i]);
        int lo = LineReader::HexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return L"expected hex digits";
        bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
      }
      std::wstring why;
      PictureRef pic = Picture::FromBytes(bytes, &why);
      if (!pic) return L"picture: " + why;
      *out = std::move(pic);
    }
  } else {
    return L"unknown type '" + std::wstring(type) + L"' (expected i32, i16, bool, str, font or pic)";
  }
  if (!r.AtEnd()) return std::wstring(L"unexpected text after the value");
  return std::nullopt;
}

}  // namespace

std::wstring BagToText(const PropertyBag& bag) {
  std::wstring out;
  for (const auto& [key, value] : bag.Entries()) {
    out += key;
    out += L" = ";
    std::visit(ValueWriter{out}, value);
    out += L'\n';
  }
  return out;
}

std::optional<PropertyBag> BagFromText(std::wstring_view text, std::wstring* error) {
  PropertyBag bag;
  int lineNo = 0;
  while (!text.empty()) {
    std::size_t nl = text.find(L'\n');
    std::wstring_view line = Trim(text.substr(0, nl));
    text = nl == std::wstring_view::npos ? std::wstring_view{} : text.substr(nl + 1);
    ++lineNo;
    if (line.empty() || line.front() == L'#') continue;
    auto fail = [&](std::wstring_view why) {
      *error = L"line " + std::to_wstring(lineNo) + L": " + std::wstring(why);
      return std::nullopt;
    };
    std::size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) return fail(L"expected \"key = type value\"");
    std::wstring_view key = Trim(line.substr(0, eq));
    if (key.empty() || key.find_first_of(L" \t\"") != std::wstring_view::npos)
      return fail(L"expected a key without spaces before '='");
    if (bag.Has(key)) return fail(L"the key " + std::wstring(key) + L" appears twice");
    LineReader r(line.substr(eq + 1));
    PropertyValue value;
    if (auto why = ParseValue(r, &value)) return fail(*why);
    bag.Write(key, std::move(value));
  }
  return bag;
}

}  // namespace vantorel::host

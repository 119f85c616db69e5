#include "arguments.h"

namespace vantorel::cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf8(char32_t c, std::string& out) {
  auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// The code point that starts at text[i], and how many bytes it takes: 0 when
// the bytes there are no well-formed sequence (a surrogate's own three bytes
// are: that is what WTF-8 adds).
char32_t ReadCodePoint(const std::string& text, size_t i, size_t& length) {
  auto at = [&text](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = at(i);
  length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                                              : 0;
  if (length == 0 || length > text.size() - i) return length = 0, kReplacement;
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return length = 0, kReplacement;
    c = c << 6 | (at(i + k) & 0x3F);
  }
  // Overlong forms and code points past U+10FFFF are not UTF-8 of anything.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || c > 0x10FFFF) return length = 0, kReplacement;
  return c;
}

}  // namespace

std::string Wtf8FromUtf16(const std::u16string& units) {
  std::string text;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t u = units[i];
    if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      u = 0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    AppendUtf8(u, text);
  }
  return text;
}

std::u16string Utf16FromWtf8(const std::string& text) {
  std::u16string units;
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    char32_t c = ReadCodePoint(text, i, length);
    AppendUtf16(c, units);
    i += length ? length : 1;
  }
  return units;
}

#ifdef _WIN32
std::string ArgumentText(const std::filesystem::path& argument) {
  const std::wstring& wide = argument.native();
  return Wtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

std::filesystem::path ArgumentPath(const std::string& text) {
  std::u16string units = Utf16FromWtf8(text);
  return std::wstring(units.begin(), units.end());
}
#else
std::string ArgumentText(const std::filesystem::path& argument) { return argument.native(); }

std::filesystem::path ArgumentPath(const std::string& text) { return text; }
#endif

}  // namespace vantorel::cli

// The command line's words as text and back. CLI11 reads text; the operands
// must still reach the engine as the very paths that were given.
#pragma once

#include <filesystem>
#include <string>

namespace vantorel::cli {

// A word of the command line as text: on Windows its UTF-16 in WTF-8 (UTF-8
// that also carries unpaired surrogates, which Windows names may hold); on
// POSIX its bytes as they are, UTF-8 or not.
std::string ArgumentText(const std::filesystem::path& argument);

// The path a word's text names: the inverse of ArgumentText, so that
// ArgumentPath(ArgumentText(p)) == p for every p.
std::filesystem::path ArgumentPath(const std::string& text);

// The WTF-8 of 16-bit units, and back. Bytes that are not WTF-8 (never made
// by the first) each read as U+FFFD.
std::string Wtf8FromUtf16(const std::u16string& units);
std::u16string Utf16FromWtf8(const std::string& text);

}  // namespace vantorel::cli

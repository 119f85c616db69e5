#include "option_values.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "arguments.h"

namespace vantorel::cli {
namespace {

// A language number: decimal, or hexadecimal after "0x".
bool ParseLanguage(const std::string& text, uint32_t& language) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 10) return false;
  uint64_t value = 0;
  for (char c : digits) {
    int d = c >= '0' && c <= '9' ? c - '0'
            : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
            : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
    if (d < 0) return false;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
  }
  if (value > 0xFFFFFFFFu) return false;
  language = static_cast<uint32_t>(value);
  return true;
}

}  // namespace

std::string ReadGroup(const std::string& value, CommandLine& line) {
  if (value.empty()) return "--group needs a name or a number";
  line.group.group = value;
  return {};
}

std::string ReadLanguage(const std::string& value, CommandLine& line) {
  line.group.any_language = false;
  return ParseLanguage(value, line.group.language) ? "" : "--language takes a number";
}

std::string ReadSizes(const std::string& value, CommandLine& line) {
  const std::string wrong = "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)";
  line.sizes.clear();
  size_t at = 0;
  while (true) {
    size_t comma = std::min(value.find(',', at), value.size());
    std::string item = value.substr(at, comma - at);
    bool digits = !item.empty() && item.size() <= 3 &&
                  std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(item) < 1 || std::stoi(item) > 256) return wrong;
    line.sizes.push_back(std::stoi(item));
    if (comma == value.size()) return {};
    at = comma + 1;
  }
}

std::string ReadVersionString(const std::string& key, const std::string& value, CommandLine& line) {
  line.edit.version_strings.emplace_back(key, value);
  return {};
}

namespace {

std::string ReadNumber(const char* option, const std::string& value, std::optional<engine::VersionNumber>& number) {
  std::string why;
  number.emplace();
  return engine::ParseVersionNumber(value, *number, why) ? "" : std::string(option) + ": " + why;
}

}  // namespace

std::string ReadFileVersion(const std::string& value, CommandLine& line) {
  return ReadNumber("--set-file-version", value, line.edit.file_version);
}

std::string ReadProductVersion(const std::string& value, CommandLine& line) {
  return ReadNumber("--set-product-version", value, line.edit.product_version);
}

std::string ReadExecutionLevel(const std::string& value, CommandLine& line) {
  line.edit.execution_level = value;
  return engine::IsExecutionLevel(value)
             ? ""
             : "--set-requested-execution-level takes asInvoker, highestAvailable or requireAdministrator";
}

std::string ReadManifestFile(const std::string& value, CommandLine& line) {
  line.manifest_file = ArgumentPath(value);
  return value.empty() ? "--application-manifest needs a file" : "";
}

std::string ReadVersionKey(const std::string& value, CommandLine& line) {
  line.version_key = value;
  return value.empty() ? "--get-version-string needs a key" : "";
}

}  // namespace vantorel::cli

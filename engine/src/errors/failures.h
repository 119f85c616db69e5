// Failures as values: a number, and the text that says it, handed back by
// every entry; the fixed sentences several failures share.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace vantorel::engine {

// The text of failure 1006, and the sentence that ends a refusal.
constexpr const char* kModifyFailedText =
    "Unable to modify directories in target executable.  File may not contain any icon resources.";
constexpr const char* kUnchanged = " The target was not changed.";

// How every step hands a failure back: its number, its text in
// `failure_text`.
inline int32_t Fail(int32_t number, std::string text, std::string& failure_text) {
  failure_text = std::move(text);
  return number;
}

// The fixed sentence, then the system's reason when the open gave one.
inline std::string OpenFailureText(const std::string& path, const std::string& reason) {
  std::string text = "Failed to open " + path + ". Make sure file is not in use by another program.";
  return reason.empty() ? text : text + " " + reason;
}
// Failures 1002 and 1004.
inline std::string NotWin32Text(const std::string& path) { return path + " is not a valid Win32 executable."; }
inline std::string NoTreeText(const std::string& path) {
  return path + " does not contain a valid resource tree.  File may be corrupt.";
}

}  // namespace vantorel::engine

// Texts the engine reports with: error descriptions and paths. The program's
// name is the platform's part (reporting_posix.cpp, reporting_win32.cpp).
#include "traps.h"
#include "vantorel/engine.h"


namespace vantorel::engine {

std::string ErrorDescription(int32_t number) {
  switch (number) {
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    default: return "Application-defined or object-defined error";
  }
}

std::string PathText(const std::filesystem::path& path) {
  std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

void Warn(const WarningSink& warn, const std::string& title, const std::string& text) {
  if (warn) warn(title, text);
}

}  // namespace vantorel::engine

// Texts the engine reports with: error descriptions, paths, the program's name.
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "vantorel/mod_pe.h"

namespace vantorel {

std::string Error_Description(int32_t number) {
  switch (number) {
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    default: return "Application-defined or object-defined error";
  }
}

std::string Path_Text(const std::filesystem::path& path) {
  std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

void Warn(const WarningSink& warn, const std::string& title, const std::string& text) {
  if (warn) warn(title, text);
}

std::string Program_Name() {
  std::filesystem::path self;
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  if (n > 0 && n < std::size(buffer)) self = std::wstring(buffer, n);
#else
  std::error_code ec;
  self = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
  return Path_Text(self.stem());
}

}  // namespace vantorel

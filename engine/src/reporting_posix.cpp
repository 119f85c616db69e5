// POSIX half of the engine's reporting: the program's name.
#include "vantorel/engine.h"

namespace vantorel::engine {

std::string Program_Name() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return Path_Text(self.stem());
}

}  // namespace vantorel::engine

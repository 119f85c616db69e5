// POSIX half of the engine's reporting: the program's name.
#include "vantorel/engine.h"

namespace vantorel::engine {

std::string ProgramName() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return PathText(self.stem());
}

}  // namespace vantorel::engine

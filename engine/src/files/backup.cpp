// The backup's name; making it is the platform's part (backup_posix.cpp,
// backup_win32.cpp).
#include "vantorel/engine.h"

namespace vantorel::engine {

std::filesystem::path BackupPath(const std::filesystem::path& target) {
  std::filesystem::path backup = target;
  backup += ".bak";
  return backup;
}

}  // namespace vantorel::engine

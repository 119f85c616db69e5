#include "cli.h"

#include <csignal>

#include "command_line.h"
#include "modes.h"

namespace vantorel::cli {

int Run(const std::vector<std::filesystem::path>& args, std::FILE* out, std::FILE* err) {
#ifdef SIGXFSZ
  // A file size limit (ulimit -f) would kill the run mid-write; ignored, the
  // write fails with EFBIG instead and is rolled back like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  CommandLine line = ReadCommandLine(args);
  if (!line.error.empty()) {
    std::fprintf(err, "vantorel-cli: %s\nTry 'vantorel-cli --help' for more information.\n", line.error.c_str());
    return kExitUsage;
  }
  return line.mode->run(line, out, err);
}

}  // namespace vantorel::cli

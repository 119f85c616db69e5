#include <filesystem>
#include <vector>

#include "cli.h"

#ifdef _WIN32
// Wide arguments, so that any file name reaches the engine unchanged.
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
  std::vector<std::filesystem::path> args(argv + 1, argv + argc);
  return vantorel::cli::Run(args, stdout, stderr);
}

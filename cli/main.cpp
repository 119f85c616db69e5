#include <filesystem>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "cli.h"

#ifdef _WIN32
// Wide arguments, so that any file name reaches the engine unchanged.
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
#ifdef __GLIBC__
  // A run lasts milliseconds. Large blocks it frees (a decoded picture's
  // rows, which the picture's reduction then fills) are kept for the next
  // ones instead of being given back to the system and faulted in afresh.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  std::vector<std::filesystem::path> args(argv + 1, argv + argc);
  return vantorel::cli::Run(args, stdout, stderr);
}

// Prints a line, waits until the file named by its argument exists (two
// minutes at most), prints a second line and exits with status 3: the probe
// that shows whether scripts/wine-run passes output on while a program runs.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::printf("before the wait\n");
  std::fflush(stdout);
  for (int i = 0; i < 2400 && GetFileAttributesA(argv[1]) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  std::printf("after the wait\n");
  return 3;
}

/* A console program built with MinGW and no resources at all, as most are:
   it says its arguments back, so a run can be compared with the untouched
   copy's. */
#include <stdio.h>

int main(int argc, char **argv) {
  printf("mingw ok");
  for (int i = 1; i < argc; ++i) printf(" %s", argv[i]);
  printf("\n");
  return 0;
}

// The help is written for people, so it is ours, not generated.
#include "command_line.h"

namespace vantorel::cli {

const char* Help_Text() {
  return "Usage: vantorel-cli [--backup] [--allow-signed] [--all-sizes] ICON TARGET\n"
         "       vantorel-cli --dry-run [--all-sizes] ICON TARGET\n"
         "       vantorel-cli --extract TARGET OUT.ico [--group NAME-OR-ID] [--language ID] [--force]\n"
         "       vantorel-cli --list TARGET\n"
         "       vantorel-cli --help | --version\n"
         "\n"
         "Gives the Windows program TARGET the first image of the icon file ICON, in place:\n"
         "every icon and icon group of TARGET then shows that image. Nothing is inserted,\n"
         "moved or resized, and data appended to the program stays where it is.\n"
         "\n"
         "  --backup   first copy TARGET to TARGET.bak, unless that file exists already;\n"
         "             if the copy cannot be made, TARGET is not touched\n"
         "  --dry-run  check everything and say what would be written, changing nothing;\n"
         "             it makes no backup, so it does not go with --backup\n"
         "  --allow-signed\n"
         "             change a signed program too (its signature will no longer be valid)\n"
         "  --all-sizes\n"
         "             give each icon of TARGET the image of ICON that best matches its size\n"
         "             (same size, then nearest bit depth; else the nearest larger; else the\n"
         "             largest), in the room of the old images; when that room is short,\n"
         "             16, 32, 48 and 256 pixels come first and the others get substitutes\n"
         "  --extract  write the images of one icon group of TARGET to the icon file OUT.ico\n"
         "  --group NAME-OR-ID\n"
         "             with --extract, the group to take: a number (7 or #7) or a name\n"
         "             (compared without regard to case); else the first group\n"
         "  --language ID\n"
         "             with --extract, the group's language: decimal, or hexadecimal after\n"
         "             0x (1033 or 0x409); else the group's first language\n"
         "  --force    with --extract, replace an existing OUT.ico (else it is kept)\n"
         "  --list     show TARGET's icon groups and icon images, and whether it is signed\n"
         "  -h, --help show this text\n"
         "  --version  show the version\n"
         "\n"
         "A value follows its option as the next word or after '=' (--group=7). Options\n"
         "and operands may come in any order; after '--' every word is an operand, so a\n"
         "file whose name starts with '-' can be named.\n"
         "\n"
         "Exit status: 0 success, 1 failure, 2 wrong usage.\n";
}

}  // namespace vantorel::cli

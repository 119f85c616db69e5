// The help: its forms and option entries come from the table of modes and
// options, the rest is written for people here.
#include "command_line.h"
#include "modes.h"

namespace vantorel::cli {
namespace {

constexpr const char* kAbout =
    "\n"
    "Gives the Windows program TARGET the first image of the icon file ICON, in place:\n"
    "every icon and icon group of TARGET then shows that image. Without --add-sizes\n"
    "nothing is inserted, moved or resized: the file keeps its length, and data\n"
    "appended to the program stays where it is.\n"
    "\n"
    "ICON may be a PNG picture (known by its contents, whatever its name): it is\n"
    "made into an icon of 16, 20, 24, 32, 40, 48, 64 and 256 pixels, and without\n"
    "--add-sizes it goes in as with --all-sizes, each icon getting its own size.\n"
    "\n";

constexpr const char* kClosing =
    "\n"
    "A value follows its option as the next word or after '=' (--group=7). Options\n"
    "and operands may come in any order; after '--' every word is an operand, so a\n"
    "file whose name starts with '-' can be named.\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 wrong usage.\n";

// An entry's text starts in this column; a name too long to leave a space
// before it has a line of its own.
constexpr size_t kTextColumn = 13;

void AppendEntry(const OptionRow& option, std::string& text) {
  std::string name = option.alias ? std::string(option.alias) + ", " + option.name : option.name;
  if (option.value) name += std::string(" ") + option.value;
  text += "  ";
  text += name;
  if (2 + name.size() < kTextColumn) {
    text.append(kTextColumn - 2 - name.size(), ' ');
  } else {
    text += "\n";
    text.append(kTextColumn, ' ');
  }
  for (const char* c = option.help; *c; ++c) {
    text += *c;
    if (*c == '\n') text.append(kTextColumn, ' ');
  }
  text += "\n";
}

}  // namespace

std::string HelpText() {
  std::string text;
  for (const char* form : Forms()) {
    text += text.empty() ? "Usage: vantorel-cli " : "       vantorel-cli ";
    text += form;
    text += "\n";
  }
  text += kAbout;
  for (const OptionRow& option : Options()) AppendEntry(option, text);
  return text + kClosing;
}

}  // namespace vantorel::cli

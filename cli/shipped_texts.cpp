// vantorel-cli-texts: fills in the texts of the Linux downloads that name
// vantorel-cli's modes and options, from the table they are read by, so that
// those texts cannot fall behind the program: the bash completion and the
// guide's forms of the command line. Built and run where the downloads are
// built; not shipped.
//
// Usage: vantorel-cli-texts TEMPLATE OUT [NAME=VALUE]...
// Each @NAME@ in TEMPLATE is replaced: @CLI_OPTIONS@, @CLI_VALUED@, @CLI_PAIRED@,
// @CLI_MODES@ and @CLI_FORMS@ from the table, any other by the value given
// for it. A name without one fails the run, so no text is shipped half made.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "modes.h"

namespace vantorel::cli {
namespace {

// Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "a" + b.
std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

// Every option's name, for the completion to offer.
std::string OptionNames() {
  std::vector<std::string> names;
  for (const OptionRow& option : Options()) names.push_back(option.name);
  return Joined(names, " ");
}

// The options that take a value, as a pattern of a bash `case`.
std::string ValuedOptions() {
  std::vector<std::string> names;
  for (const OptionRow& option : Options()) {
    if (option.value) names.push_back(option.name);
  }
  return Joined(names, " | ");
}

// "ico|png" as the files bash's _filedir offers: "@(ico|ICO|png|PNG)".
std::string FilePattern(const std::string& extensions) {
  std::vector<std::string> names;
  std::string extension;
  std::istringstream in(extensions);
  while (std::getline(in, extension, '|')) {
    names.push_back(extension);
    for (char& c : extension) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    names.push_back(extension);
  }
  std::string pattern = "@(";
  pattern += Joined(names, "|");
  return pattern + ")";
}

// The options that take two values, as a pattern of a bash `case`.
std::string PairedOptions() {
  std::vector<std::string> names;
  for (const OptionRow& option : Options()) {
    if (option.read_pair) names.push_back(option.name);
  }
  return names.empty() ? "--" : Joined(names, " | ");
}

// One word list per mode, in the order in which the first whose option is
// given runs: the names of its option ("-" for none), then the files of
// each operand.
std::string ModeWords() {
  std::vector<std::string> lines;
  for (const ModeRow& mode : Modes()) {
    const OptionRow* option = mode.option ? FindOption(mode.option) : nullptr;
    std::vector<std::string> words = {!option ? "-" : option->name};
    if (option && option->alias) words[0] += std::string("|") + option->alias;
    // A mode picked by its options: "+" and any of them.
    if (mode.picked_by.size()) {
      words[0] = "+" + Joined(std::vector<std::string>(mode.picked_by.begin(), mode.picked_by.end()), "|");
    }
    for (const Operand& operand : mode.operands) words.push_back(FilePattern(operand.files));
    lines.push_back(std::string(8, ' ') + "'" + Joined(words, " ") + "'");
  }
  return Joined(lines, "\n");
}

// Each form as an example line of the guide, under 80 columns: a form too
// long goes on before the bracket that would pass them, under its first word.
std::string GuideForms() {
  const std::string start = "  vantorel-cli ";
  std::string text;
  for (std::string form : Forms()) {
    std::string line = start;
    while (line.size() + form.size() >= 80) {
      size_t cut = form.rfind(" [", 79 - line.size());
      if (cut == std::string::npos || cut == 0) break;
      text += line + form.substr(0, cut) + "\n";
      line = std::string(start.size(), ' ');
      form = form.substr(cut + 1);
    }
    text += line + form + "\n";
  }
  if (!text.empty()) text.pop_back();  // the template's line ends it
  return text;
}

// Replaces each @NAME@ (capitals and underscores) by its value; any other
// @, such as a bash pattern's "@(", stays as it is.
bool Fill(const std::string& template_text, const std::map<std::string, std::string>& values, std::string& text) {
  size_t at = 0;
  for (size_t open = template_text.find('@'); open != std::string::npos; open = template_text.find('@', open + 1)) {
    size_t close = template_text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_", open + 1);
    if (close == std::string::npos || close == open + 1 || template_text[close] != '@') continue;
    std::string name = template_text.substr(open + 1, close - open - 1);
    auto value = values.find(name);
    if (value == values.end()) {
      std::fprintf(stderr, "vantorel-cli-texts: no value for @%s@\n", name.c_str());
      return false;
    }
    text += template_text.substr(at, open - at) + value->second;
    at = close + 1;
    open = close;
  }
  text += template_text.substr(at);
  return true;
}

int Main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vantorel-cli-texts TEMPLATE OUT [NAME=VALUE]...\n");
    return 2;
  }
  std::map<std::string, std::string> values = {{"CLI_OPTIONS", OptionNames()},
                                               {"CLI_VALUED", ValuedOptions()},
                                               {"CLI_PAIRED", PairedOptions()},
                                               {"CLI_MODES", ModeWords()},
                                               {"CLI_FORMS", GuideForms()}};
  for (int i = 3; i < argc; ++i) {
    std::string pair = argv[i];
    values[pair.substr(0, pair.find('='))] = pair.substr(pair.find('=') + 1);
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vantorel-cli-texts: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string template_text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string text;
  if (!Fill(template_text, values, text)) return 1;
  std::ofstream out(argv[2], std::ios::binary);
  out << text;
  return out.flush() ? 0 : 1;
}

}  // namespace
}  // namespace vantorel::cli

int main(int argc, char** argv) { return vantorel::cli::Main(argc, argv); }

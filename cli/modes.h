// vantorel-cli's modes and options, each a row of one table (modes.cpp). The
// command line is read by its rows, --help's forms and list of options are
// written from them, and the bash completion is made from them when the
// Linux downloads are built; a mode is a row of each kind, its form in
// --help, and its action.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>

#include "command_line.h"

namespace vantorel::cli {

// An operand, named as --help names it, with the files it takes: the name
// extensions the completion offers, lower case, separated by '|'.
struct Operand {
  const char* name;
  const char* files;
};

struct ModeRow {
  const char* option;  // the option that picks it; none for the plain replacement
  std::initializer_list<Operand> operands;
  std::initializer_list<const char*> options;  // the options that go with it
  int (*run)(const CommandLine& line, std::FILE* out, std::FILE* err);
  // A mode without an option of its own but the plain replacement's: picked
  // when one of these is given with its operands (the version and manifest
  // options with TARGET alone).
  std::initializer_list<const char*> picked_by = {};
};

struct OptionRow {
  const char* name;
  const char* alias = nullptr;  // a short name of it
  const char* value = nullptr;  // its value's name in --help; none for a flag
  const char* help = nullptr;   // its entry in --help, lines separated by '\n'
  bool CommandLine::*flag = nullptr;  // where a flag keeps whether it was given
  // Stores a value in the command line, or says what is wrong with it.
  std::string (*read)(const std::string& value, CommandLine& line) = nullptr;
  // Why it may not be given twice; without it the later value counts.
  const char* once = nullptr;
  // An option of two values (its `value` names both): stores each pair
  // given, in order; it may be given again.
  std::string (*read_pair)(const std::string& first, const std::string& second, CommandLine& line) = nullptr;
};

// The modes, in the order in which the first whose option is given runs (a
// mode picked by other options when its operands are given, before the
// plain replacement): the plain replacement, which has none, comes last.
std::span<const ModeRow> Modes();

// Every option, the modes' own among them, in the order --help lists them.
std::span<const OptionRow> Options();

// The forms of the command line --help shows, after the program's name.
std::span<const char* const> Forms();

// The row of an option by its name (not its short one); null for none.
const OptionRow* FindOption(const std::string& name);

}  // namespace vantorel::cli

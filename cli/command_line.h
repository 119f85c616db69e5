// What vantorel-cli's command line asks for, and what is wrong with it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "vantorel/engine.h"
#include "vantorel/program_resources.h"

namespace vantorel::cli {

struct ModeRow;

struct CommandLine {
  // What runs: the plain replacement unless an option names another mode.
  const ModeRow* mode = nullptr;
  bool backup = false, dry_run = false, allow_signed = false, all_sizes = false, force = false;
  engine::GroupSelection group;
  std::vector<int> sizes;  // --sizes of --make-icon, as given; empty for the standard ones
  std::vector<std::filesystem::path> operands;
  // What the version and manifest options set; the manifest file that
  // --application-manifest names is read when the command runs.
  engine::ResourceEdit edit;
  std::filesystem::path manifest_file;
  std::string version_key;  // --get-version-string
  // One line saying what is wrong with the usage; empty when nothing is.
  std::string error;
};

// Reads `args` (without the program name). Options and operands may come in
// any order; a value follows its option as the next word or after '='; "--"
// ends the options.
CommandLine ReadCommandLine(const std::vector<std::filesystem::path>& args);

// What --help prints: every form of the command line and every option.
std::string HelpText();

}  // namespace vantorel::cli

// vantorel-cli: the engine from a command line.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace vantorel::cli {

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Runs the command line `args` (without the program name). Output and
// diagnostics go to the two streams; returns the exit status.
int Run(const std::vector<std::filesystem::path>& args, std::FILE* out, std::FILE* err);

}  // namespace vantorel::cli

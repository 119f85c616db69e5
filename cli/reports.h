// What the modes print: each runs the engine's operation and reports its
// outcome on the two streams, returning the exit status.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "vantorel/engine.h"

namespace vantorel::cli {

// The engine's warnings as lines on stderr.
engine::WarningSink PrintWarnings(std::FILE* err);

// One line on stderr with the failure's number; returns the failure's exit status.
int ReportFailure(int32_t number, const std::string& text, std::FILE* err);

// --list.
int List(const std::filesystem::path& target, std::FILE* out, std::FILE* err);

// The plain replacement, --all-sizes and --add-sizes, or with `plan_only` a
// dry run of one: runs the engine's mode and says what it did or would do.
int RunIconMode(const std::filesystem::path& icon, const std::filesystem::path& target, engine::IconMode mode,
                const engine::IconRunOptions& options, std::FILE* out, std::FILE* err);

// The line that says a picture gives a program built without resources
// every size, as --add-sizes does.
void PrintPictureAddsSizes(const std::filesystem::path& target, std::FILE* out);

// A signed target refused (1011), with the way to change it all the same.
int ReportSignedRefusal(const std::filesystem::path& target, std::FILE* err);

}  // namespace vantorel::cli

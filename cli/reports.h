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

// The dry runs of the plain replacement, --all-sizes and --add-sizes.
int Preview(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out, std::FILE* err);
int PreviewAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err);
int PreviewAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err);

// The replacements themselves.
int ReplaceFirstImage(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                      std::FILE* err);
int ReplaceAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err);
int ReplaceAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                    std::FILE* err);

}  // namespace vantorel::cli

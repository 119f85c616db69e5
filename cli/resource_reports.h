// What the version and manifest options print: --get-version-string, the
// lines --list adds, and the change they make alone or with an icon.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>

#include "command_line.h"

namespace vantorel::cli {

// --get-version-string KEY TARGET: the value of the first table that has it.
int PrintVersionString(const CommandLine& line, std::FILE* out, std::FILE* err);

// What --list adds after the icons: every version string and the manifest's
// requested execution level, of a program that has them.
void ListResources(const std::filesystem::path& target, std::FILE* out, std::FILE* err);

// Sets what the line's version and manifest options say, alone (`icon_mode`
// empty; TARGET is the last operand) or with the icon of the line's ICON as
// one change; with --dry-run, says what would be set and where it would go.
int ChangeResources(const CommandLine& line, std::optional<engine::IconMode> icon_mode, std::FILE* out,
                    std::FILE* err);

}  // namespace vantorel::cli

// The backup copy of a target: its full path with ".bak" appended, made once
// and never overwritten.
#pragma once

#include <filesystem>
#include <string>

namespace vantorel {

enum class BackupResult { Made, AlreadyExists, Failed };

std::filesystem::path Backup_Path(const std::filesystem::path& target);

// Copies `target` to `backup` only if no file of that name exists; the check
// and the creation are one step, so an existing file is never overwritten.
// On failure nothing is left behind and `why` says what the system reported.
BackupResult Make_Backup(const std::filesystem::path& target, const std::filesystem::path& backup,
                         std::string& why);

}  // namespace vantorel

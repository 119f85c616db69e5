// Win32 half of the backup copy.
#include <windows.h>

#include "system_message.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

// Something of the backup's name exists: only a visible regular file (or a
// link to one) is a backup made before. A directory, a hidden or system file,
// or a link that points nowhere is in the way, and nothing was copied.
BackupResult ExistingBackup(const std::filesystem::path& backup, std::string& why) {
  // Opened without any access, following links: a dangling link fails here.
  HANDLE h = CreateFileW(backup.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    why = "a link of that name points nowhere (" + SystemMessage(GetLastError()) + ")";
    return BackupResult::Failed;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  bool known = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  DWORD a = info.dwFileAttributes;
  if (known && !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
    return BackupResult::AlreadyExists;
  }
  why = !known ? SystemMessage(GetLastError())
        : (a & FILE_ATTRIBUTE_DIRECTORY) ? "a directory of that name is in the way"
                                         : "a hidden or system file of that name is in the way";
  return BackupResult::Failed;
}

}  // namespace

BackupResult MakeBackup(const std::filesystem::path& target, const std::filesystem::path& backup,
                        std::string& why) {
  // bFailIfExists: the existence test and the copy are one operation.
  if (CopyFileW(target.c_str(), backup.c_str(), TRUE)) return BackupResult::Made;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
      (error == ERROR_ACCESS_DENIED && GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)) {
    return ExistingBackup(backup, why);
  }
  why = SystemMessage(error);
  return BackupResult::Failed;
}

}  // namespace vantorel::engine

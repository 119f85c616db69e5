// Win32 half of the backup copy.
#include <windows.h>

#include <vector>

#include "new_file.h"
#include "errors/system_message.h"

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

bool CopyBytes(HANDLE from, HANDLE to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    DWORD got = 0, put = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
    if (got == 0) return true;
    for (DWORD done = 0; done < got; done += put) {
      if (!WriteFile(to, buffer.data() + done, got - done, &put, nullptr) || put == 0) return false;
    }
  }
}

}  // namespace

BackupResult MakeBackup(const std::filesystem::path& target, const std::filesystem::path& backup,
                        std::string& why) {
  HANDLE from = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (from == INVALID_HANDLE_VALUE) {
    why = SystemMessage(GetLastError());
    return BackupResult::Failed;
  }
  BackupResult result = BackupResult::Failed;
  if (GetFileType(from) != FILE_TYPE_DISK) {
    why = "not a regular file";
  } else if (GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // Something has the name already: nothing is copied. The move below
    // makes the same test in one step, for a backup made meanwhile.
    result = ExistingBackup(backup, why);
  } else {
    // Copied beside its name and flushed first: a copy cut off part-way never
    // takes the name, so it is never taken for a backup made before.
    FillFile copy = [&](HANDLE to) { return CopyBytes(from, to); };
    switch (WriteThroughTemporary(backup, copy, false, why)) {
      case NewFileResult::Written:
        result = BackupResult::Made;
        break;
      case NewFileResult::AlreadyExists:
        result = ExistingBackup(backup, why);
        break;
      case NewFileResult::Failed:
        break;
    }
  }
  CloseHandle(from);
  return result;
}

}  // namespace vantorel::engine

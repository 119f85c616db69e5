// Win32 half of writing a new file whole.
#include <windows.h>

#include "system_message.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

bool Write_All(HANDLE h, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// A fresh file beside `path`, created exclusively.
HANDLE Create_Temporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path;
    temporary += L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

NewFileResult Write_New_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, bool replace,
                             std::string& why) {
  std::filesystem::path temporary;
  HANDLE h = Create_Temporary(path, temporary);
  if (h == INVALID_HANDLE_VALUE) {
    why = System_Message(GetLastError());
    return NewFileResult::Failed;
  }
  bool written = Write_All(h, bytes) && FlushFileBuffers(h);
  DWORD error = GetLastError();
  CloseHandle(h);
  if (written) {
    // Without MOVEFILE_REPLACE_EXISTING the move refuses an existing name in
    // the same step that would take it.
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(temporary.c_str(), path.c_str(), flags)) return NewFileResult::Written;
    error = GetLastError();
  }
  DeleteFileW(temporary.c_str());
  if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return NewFileResult::AlreadyExists;
  why = System_Message(error);
  return NewFileResult::Failed;
}

}  // namespace vantorel::engine

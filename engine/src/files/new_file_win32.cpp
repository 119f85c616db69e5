// Win32 half of writing a new file whole.
#include <windows.h>

#include <cwchar>

#include "new_file.h"
#include "errors/system_message.h"

namespace vantorel::engine {
namespace {

bool WriteAll(HANDLE h, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// A fresh file beside `path`, created exclusively. Its name is short,
// whatever the length of `path`'s own: any name the file system takes can be
// written this way.
HANDLE CreateTemporary(const std::filesystem::path& path, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t name[32];
    swprintf(name, 32, L"~vt%08lx.tmp", GetCurrentProcessId() * 101ul + static_cast<unsigned long>(attempt));
    temporary = path.parent_path() / name;
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

// The system drops trailing dots and spaces from a name: "app.exe. ." names
// app.exe. Dropped here too, so the identity test opens what a write would.
std::filesystem::path AsSystemNames(const std::filesystem::path& path) {
  std::wstring text = path.native();
  while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) {
    size_t cut = text.find_last_not_of(L". ");
    size_t separator = text.find_last_of(L"\\/:");
    // "." and ".." are names of their own, not dots to drop.
    bool dots_only = cut == std::wstring::npos || (separator != std::wstring::npos && cut <= separator);
    if (dots_only) break;
    text.resize(cut + 1);
  }
  return text;
}

struct FileIdentity {
  DWORD volume = 0, high = 0, low = 0;
};

bool IdentityOf(const std::filesystem::path& path, FileIdentity& id) {
  // No access asked: only the identity is read, and nobody's sharing is disturbed.
  HANDLE h = CreateFileW(AsSystemNames(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  bool known = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!known) return false;
  id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

// Whether the name leads to a device or a pipe (NUL, COM1, \\.\pipe\x):
// a move would put a file in the place of what the system has there.
bool IsDevice(const std::filesystem::path& path) {
  HANDLE h = CreateFileW(AsSystemNames(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool device = GetFileType(h) != FILE_TYPE_DISK;
  CloseHandle(h);
  return device;
}

}  // namespace

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  FileIdentity x, y;
  if (IdentityOf(a, x) && IdentityOf(b, y)) return x.volume == y.volume && x.high == y.high && x.low == y.low;
  // Without identities, two spellings of one full name are still one file.
  wchar_t full_a[MAX_PATH * 4], full_b[MAX_PATH * 4];
  DWORD na = GetFullPathNameW(AsSystemNames(a).c_str(), MAX_PATH * 4, full_a, nullptr);
  DWORD nb = GetFullPathNameW(AsSystemNames(b).c_str(), MAX_PATH * 4, full_b, nullptr);
  return na > 0 && nb > 0 && na < MAX_PATH * 4 && nb < MAX_PATH * 4 &&
         CompareStringOrdinal(full_a, -1, full_b, -1, TRUE) == CSTR_EQUAL;
}

NewFileResult WriteThroughTemporary(const std::filesystem::path& path, const FillFile& fill, bool replace,
                                    std::string& why, unsigned) {
  std::filesystem::path temporary;
  HANDLE h = CreateTemporary(path, temporary);
  if (h == INVALID_HANDLE_VALUE) {
    why = SystemMessage(GetLastError());
    return NewFileResult::Failed;
  }
  bool written = fill(h) && FlushFileBuffers(h);
  DWORD error = GetLastError();
  CloseHandle(h);
  if (written && replace && IsDevice(path)) {
    DeleteFileW(temporary.c_str());
    why = "Not a regular file (a device or a pipe); only a regular file is replaced";
    return NewFileResult::Failed;
  }
  if (written) {
    // Without MOVEFILE_REPLACE_EXISTING the move refuses an existing name in
    // the same step that would take it.
    DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(temporary.c_str(), path.c_str(), flags)) return NewFileResult::Written;
    error = GetLastError();
  }
  DeleteFileW(temporary.c_str());
  if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return NewFileResult::AlreadyExists;
  why = SystemMessage(error);
  return NewFileResult::Failed;
}

NewFileResult WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, bool replace,
                           std::string& why) {
  return WriteThroughTemporary(path, [&](HANDLE h) { return WriteAll(h, bytes); }, replace, why);
}

}  // namespace vantorel::engine

// Win32 backend of the engine's file access.
#include <windows.h>

#include "random_access_file.h"
#include "errors/system_message.h"

namespace vantorel::engine {
namespace {

constexpr const char* kFolderReason = "It is a folder, not a file.";

OVERLAPPED At(int64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return ov;
}

// ReadFile and WriteFile move at most this much in one call.
constexpr size_t kChunk = 1u << 30;

class Win32File : public RandomAccessFile {
 public:
  Win32File(HANDLE handle, int64_t length) : handle_(handle), length_(length) {}
  ~Win32File() override { CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  int64_t Length() const override { return length_; }

  bool ReadAt(int64_t offset, void* data, size_t size) const override {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
      DWORD want = static_cast<DWORD>(size < kChunk ? size : kChunk), got = 0;
      OVERLAPPED ov = At(offset);
      if (!ReadFile(handle_, p, want, &got, &ov) || got == 0) return false;
      p += got, offset += got, size -= got;
    }
    return true;
  }

  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    if (offset < 0 || offset > length_ || static_cast<uint64_t>(length_ - offset) < size) return false;
    auto* p = static_cast<const char*>(data);
    while (size > 0) {
      DWORD want = static_cast<DWORD>(size < kChunk ? size : kChunk), put = 0;
      OVERLAPPED ov = At(offset);
      if (!WriteFile(handle_, p, want, &put, &ov) || put == 0) return false;
      p += put, offset += put, size -= put;
    }
    return true;
  }

  bool Append(const void* data, size_t size) override {
    int64_t at = length_;
    length_ += static_cast<int64_t>(size);
    if (WriteAt(at, data, size)) return true;
    length_ = at;
    return false;
  }

  bool Truncate(int64_t length) override {
    if (length < 0 || length > length_) return false;
    LARGE_INTEGER to;
    to.QuadPart = length;
    if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_)) return false;
    length_ = length;
    return true;
  }

  bool Flush() override { return FlushFileBuffers(handle_) != 0; }

 private:
  HANDLE handle_;
  int64_t length_;
};

// Why the open failed. A folder is refused as "access denied", which would
// send the user looking for permissions, so it is named as what it is.
std::string OpenFailure(const std::filesystem::path& path, DWORD error) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  return folder ? kFolderReason : SystemMessage(error);
}

// Why an open handle cannot be used, or empty when it can: only a file on
// disk is.
std::string Unusable(HANDLE h, LARGE_INTEGER& size) {
  if (GetFileType(h) != FILE_TYPE_DISK) return "Not a regular file";
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info) || !GetFileSizeEx(h, &size)) return SystemMessage(GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kFolderReason;
  return {};
}

}  // namespace

std::unique_ptr<RandomAccessFile> OpenImageFile(const std::filesystem::path& path, Access access,
                                                std::string& reason) {
  DWORD rights = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // Share mode 0: nobody else can open the file while the engine holds it.
  HANDLE h = CreateFileW(path.c_str(), rights, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    reason = OpenFailure(path, GetLastError());
    return nullptr;
  }
  LARGE_INTEGER size{};
  reason = Unusable(h, size);
  if (!reason.empty()) {
    CloseHandle(h);
    return nullptr;
  }
  return WithReadCache(std::make_unique<Win32File>(h, static_cast<int64_t>(size.QuadPart)));
}

}  // namespace vantorel::engine

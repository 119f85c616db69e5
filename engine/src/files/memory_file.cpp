#include <cstring>

#include "random_access_file.h"

namespace vantorel::engine {

bool MemoryFile::InRange(int64_t offset, size_t size) const {
  return offset >= 0 && size <= bytes_.size() &&
         static_cast<uint64_t>(offset) <= bytes_.size() - size;
}

bool MemoryFile::ReadAt(int64_t offset, void* data, size_t size) const {
  if (!InRange(offset, size)) return false;
  if (size) std::memcpy(data, bytes_.data() + offset, size);
  return true;
}

bool MemoryFile::WriteAt(int64_t offset, const void* data, size_t size) {
  if (!InRange(offset, size)) return false;
  if (size) std::memcpy(bytes_.data() + offset, data, size);
  return true;
}

bool MemoryFile::Append(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
  return true;
}

bool MemoryFile::Truncate(int64_t length) {
  if (length < 0 || static_cast<uint64_t>(length) > bytes_.size()) return false;
  bytes_.resize(static_cast<size_t>(length));
  return true;
}

}  // namespace vantorel::engine

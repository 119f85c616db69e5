#include <cstring>

#include "vantorel/random_access_file.h"

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

}  // namespace vantorel::engine

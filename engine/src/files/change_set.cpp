#include "change_set.h"

#include <algorithm>
#include <cstring>

namespace vantorel::engine {

bool OverlayFile::ReadAt(int64_t offset, void* data, size_t size) const {
  const int64_t length = Length();
  if (offset < 0 || offset > length || static_cast<uint64_t>(length - offset) < size) return false;
  auto* out = static_cast<uint8_t*>(data);
  const int64_t end = offset + static_cast<int64_t>(size);
  const int64_t from_base = std::max<int64_t>(0, std::min(end, kept_) - offset);
  if (from_base && !base_.ReadAt(offset, out, static_cast<size_t>(from_base))) return false;
  if (end > kept_) {
    const int64_t at = std::max(offset, kept_);
    std::memcpy(out + (at - offset), tail_.data() + (at - kept_), static_cast<size_t>(end - at));
  }
  for (const auto& [w, bytes] : writes_) {
    const int64_t from = std::max(w, offset), to = std::min(w + static_cast<int64_t>(bytes.size()), std::min(end, kept_));
    if (from < to) std::memcpy(out + (from - offset), bytes.data() + (from - w), static_cast<size_t>(to - from));
  }
  return true;
}

bool OverlayFile::WriteAt(int64_t offset, const void* data, size_t size) {
  const int64_t length = Length();
  if (offset < 0 || offset > length || static_cast<uint64_t>(length - offset) < size) return false;
  const auto* in = static_cast<const uint8_t*>(data);
  const int64_t end = offset + static_cast<int64_t>(size);
  if (offset < kept_) writes_.emplace_back(offset, std::vector<uint8_t>(in, in + (std::min(end, kept_) - offset)));
  if (end > kept_) {
    const int64_t at = std::max(offset, kept_);
    std::memcpy(tail_.data() + (at - kept_), in + (at - offset), static_cast<size_t>(end - at));
  }
  return true;
}

bool OverlayFile::Append(const void* data, size_t size) {
  const auto* in = static_cast<const uint8_t*>(data);
  tail_.insert(tail_.end(), in, in + size);
  return true;
}

bool OverlayFile::Truncate(int64_t length) {
  if (length < 0 || length > Length()) return false;
  if (length >= kept_) {
    tail_.resize(static_cast<size_t>(length - kept_));
    return true;
  }
  kept_ = length;
  tail_.clear();
  for (auto& [w, bytes] : writes_) bytes.resize(static_cast<size_t>(std::clamp<int64_t>(kept_ - w, 0, static_cast<int64_t>(bytes.size()))));
  return true;
}

bool JournalFile::WriteAt(int64_t offset, const void* data, size_t size) {
  const int64_t end = std::min(offset + static_cast<int64_t>(size), original_);
  if (offset >= 0 && offset < end) {
    std::vector<uint8_t> kept(static_cast<size_t>(end - offset));
    if (!file_.ReadAt(offset, kept.data(), kept.size())) return false;
    replaced_.emplace_back(offset, std::move(kept));
  }
  return file_.WriteAt(offset, data, size);
}

bool JournalFile::Truncate(int64_t length) {
  if (length >= 0 && length < original_) {
    std::vector<uint8_t> cut(static_cast<size_t>(original_ - length));
    if (!file_.ReadAt(length, cut.data(), cut.size())) return false;
    cut.insert(cut.end(), cut_.begin(), cut_.end());
    cut_ = std::move(cut);
    original_ = length;
  }
  return file_.Truncate(length);
}

bool JournalFile::Undo() {
  bool ok = file_.Truncate(std::min(original_, file_.Length())) && file_.Append(cut_.data(), cut_.size());
  if (ok && file_.Length() > length_) ok = file_.Truncate(length_);
  for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
    ok = file_.WriteAt(it->first, it->second.data(), it->second.size()) && ok;
  }
  return file_.Flush() && ok;
}

}  // namespace vantorel::engine

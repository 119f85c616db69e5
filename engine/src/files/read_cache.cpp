// A program's pages kept in memory while it is open. The engine reads its
// headers and its resource tree a few bytes at a time, and the same pages
// again at each step (the checks, the plan, the checksum, the bytes kept for
// putting the writes back): without this, each read was a system call.
#include <algorithm>
#include <array>
#include <cstring>

#include "random_access_file.h"

namespace vantorel::engine {
namespace {

constexpr int64_t kPage = 4096;
// More than replacing an icon reads of any program.
constexpr size_t kPages = 16;

class ReadCache : public RandomAccessFile {
 public:
  explicit ReadCache(std::unique_ptr<RandomAccessFile> file) : file_(std::move(file)) { pages_.reserve(kPages); }

  int64_t Length() const override { return file_->Length(); }

  bool ReadAt(int64_t offset, void* data, size_t size) const override {
    // A read of more than a page, or of bytes the file does not have, is
    // made as asked.
    if (offset < 0 || size > size_t{kPage} || offset > Length() - static_cast<int64_t>(size)) {
      return file_->ReadAt(offset, data, size);
    }
    auto* out = static_cast<uint8_t*>(data);
    while (size > 0) {
      const int64_t start = offset - offset % kPage;
      const Page* page = Held(start);
      if (!page) return file_->ReadAt(offset, out, size);  // the whole page would not read
      size_t take = std::min(size, static_cast<size_t>(start + kPage - offset));
      std::memcpy(out, page->bytes.data() + (offset - start), take);
      out += take, offset += static_cast<int64_t>(take), size -= take;
    }
    return true;
  }

  bool WriteAt(int64_t offset, const void* data, size_t size) override {
    std::erase_if(pages_, [&](const Page& p) {
      return p.start < offset + static_cast<int64_t>(size) && offset < p.start + kPage;
    });
    return file_->WriteAt(offset, data, size);
  }

  bool Append(const void* data, size_t size) override {
    pages_.clear();  // the last page grows
    return file_->Append(data, size);
  }

  bool Truncate(int64_t length) override {
    pages_.clear();
    return file_->Truncate(length);
  }

  bool Flush() override { return file_->Flush(); }

 private:
  struct Page {
    int64_t start;
    std::array<uint8_t, kPage> bytes;
  };

  // The page that starts at `start`, read now if it is not held; null when
  // it cannot be read. The oldest page held makes room.
  const Page* Held(int64_t start) const {
    for (const Page& p : pages_) {
      if (p.start == start) return &p;
    }
    if (pages_.size() == kPages) pages_.erase(pages_.begin());
    Page& page = pages_.emplace_back();
    page.start = start;
    if (!file_->ReadAt(start, page.bytes.data(), static_cast<size_t>(std::min(kPage, Length() - start)))) {
      pages_.pop_back();
      return nullptr;
    }
    return &page;
  }

  std::unique_ptr<RandomAccessFile> file_;
  mutable std::vector<Page> pages_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> WithReadCache(std::unique_ptr<RandomAccessFile> file) {
  return std::make_unique<ReadCache>(std::move(file));
}

}  // namespace vantorel::engine

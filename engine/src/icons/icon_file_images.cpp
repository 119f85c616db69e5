// Every image of an icon file, read and checked; and icon files written from
// a program's group icon.
#include <algorithm>
#include <new>

#include "errors/guarded.h"
#include "icon_file.h"
#include "files/little_endian.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

std::string ImageLabel(int index, int count) {
  return "Image " + std::to_string(index + 1) + " of " + std::to_string(count);
}

// The first pair of images that share a byte, as labels; empty when none do.
// Sorted by offset, each image need only be checked against the one before.
std::string FirstOverlap(const std::vector<IconImage>& images) {
  std::vector<size_t> order(images.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto begin = [&](size_t i) { return int64_t{images[i].entry.dwImageOffset}; };
  auto end = [&](size_t i) { return begin(i) + images[i].entry.dwBytesInRes; };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return begin(a) < begin(b); });
  int count = static_cast<int>(images.size());
  // The image reaching furthest so far: one may lie inside a long image that
  // is not its direct predecessor.
  size_t reach = order.empty() ? 0 : order[0];
  for (size_t k = 1; k < order.size(); ++k) {
    if (begin(order[k]) < end(reach)) {
      size_t a = std::min(reach, order[k]), b = std::max(reach, order[k]);
      return ImageLabel(static_cast<int>(a), count) + " and image " + std::to_string(b + 1) + " share bytes";
    }
    if (end(order[k]) > end(reach)) reach = order[k];
  }
  return {};
}

int32_t ReadImages(const RandomAccessFile& file, std::vector<IconImage>& images, std::string& why) {
  if (!Is_Valid_Icon_File(file)) {
    why = "Its header is not that of an icon file with at least one image";
    return kNotIconFile;
  }
  Reader r(file, 0, file.Length());
  uint16_t count = r.U16(4);
  int64_t directory_end = IconDirectoryEnd(count);
  if (!r.Contains(0, directory_end)) {
    why = "Its directory of " + std::to_string(count) + " images runs past the end of the file";
    return kNotIconFile;
  }
  // Images that do not overlap each other or the directory never exceed the
  // file together; checking each before loading it bounds what is loaded to
  // the file's length.
  int64_t total = 0;
  std::vector<IconImage> loaded(count);
  for (int i = 0; i < count; ++i) {
    IconImage& image = loaded[static_cast<size_t>(i)];
    int64_t at = kIconDirSize + int64_t{i} * kIconDirEntrySize;
    r.Bytes(at, image.entry_bytes.data(), kIconDirEntrySize);
    ICONDIRENTRY& e = image.entry;
    e.bWidth = r.U8(at);
    e.bHeight = r.U8(at + 1);
    e.bColorCount = r.U8(at + 2);
    e.bReserved = r.U8(at + 3);
    e.wPlanes = r.U16(at + 4);
    e.wBitCount = r.U16(at + 6);
    e.dwBytesInRes = r.U32(at + 8);
    e.dwImageOffset = r.U32(at + 12);
    if (e.dwBytesInRes == 0) {
      why = ImageLabel(i, count) + " is empty";
      return kNotIconFile;
    }
    if (!r.Contains(e.dwImageOffset, e.dwBytesInRes)) {
      why = ImageLabel(i, count) + " runs past the end of the file";
      return kNotIconFile;
    }
    if (e.dwImageOffset < directory_end) {
      why = ImageLabel(i, count) + " starts inside the file's header or directory";
      return kNotIconFile;
    }
    total += e.dwBytesInRes;
    if (total > file.Length()) {
      why = ImageLabel(i, count) + " overlaps another image";
      return kNotIconFile;
    }
  }
  std::string overlap = FirstOverlap(loaded);
  if (!overlap.empty()) {
    why = overlap;
    return kNotIconFile;
  }
  for (IconImage& image : loaded) {
    image.bytes.resize(image.entry.dwBytesInRes);
    r.Bytes(image.entry.dwImageOffset, image.bytes.data(), image.entry.dwBytesInRes);
  }
  images = std::move(loaded);
  return kSuccess;
}

}  // namespace

int32_t LoadIconImages(const RandomAccessFile& file, std::vector<IconImage>& images, std::string& why) {
  try {
    return ReadImages(file, images, why);
  } catch (const EngineError&) {
    why = "It cannot be read where its directory says";
    return kNotIconFile;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

std::vector<uint8_t> IconFileBytes(const std::vector<IconFileImage>& images) {
  size_t offset = kIconDirSize + images.size() * kIconDirEntrySize;
  size_t total = offset;
  for (const IconFileImage& image : images) total += image.bytes.size();
  std::vector<uint8_t> out(total, 0);
  PutLe(out, 2, 1, 2);  // idType: icon
  PutLe(out, 4, static_cast<uint32_t>(images.size()), 2);
  for (size_t i = 0; i < images.size(); ++i) {
    size_t at = kIconDirSize + i * kIconDirEntrySize;
    std::copy(images[i].entry.begin(), images[i].entry.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    // The byte count a group entry states may be stale; the file's must be true.
    PutLe(out, at + 8, static_cast<uint32_t>(images[i].bytes.size()), 4);
    PutLe(out, at + 12, static_cast<uint32_t>(offset), 4);
    std::copy(images[i].bytes.begin(), images[i].bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
    offset += images[i].bytes.size();
  }
  return out;
}

}  // namespace vantorel::engine

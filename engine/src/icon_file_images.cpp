// Every image of an icon file, read and checked; and icon files written from
// a program's group icon.
#include <new>

#include "reader.h"
#include "vantorel/all_sizes.h"

namespace vantorel::engine {
namespace {

std::string Image_Label(int index, int count) {
  return "Image " + std::to_string(index + 1) + " of " + std::to_string(count);
}

int32_t Read_Images(const RandomAccessFile& file, std::vector<IconImage>& images, std::string& why) {
  if (!Is_Valid_Icon_File(file)) {
    why = "Its header is not that of an icon file with at least one image";
    return kNotIconFile;
  }
  Reader r(file, 0, file.Length());
  int count = r.I16(4);
  if (!r.Contains(kIconDirSize, int64_t{count} * kIconDirEntrySize)) {
    why = "Its directory of " + std::to_string(count) + " images runs past the end of the file";
    return kNotIconFile;
  }
  // Each image's bytes are stored once in a well-formed file, so together
  // they never exceed the file; this also bounds what is loaded here.
  int64_t total = 0;
  std::vector<IconImage> loaded(static_cast<size_t>(count));
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
      why = Image_Label(i, count) + " is empty";
      return kNotIconFile;
    }
    if (!r.Contains(e.dwImageOffset, e.dwBytesInRes)) {
      why = Image_Label(i, count) + " runs past the end of the file";
      return kNotIconFile;
    }
    total += e.dwBytesInRes;
    if (total > file.Length()) {
      why = Image_Label(i, count) + " overlaps another image";
      return kNotIconFile;
    }
    image.bytes.resize(e.dwBytesInRes);
    r.Bytes(e.dwImageOffset, image.bytes.data(), e.dwBytesInRes);
  }
  images = std::move(loaded);
  return kSuccess;
}

}  // namespace

int32_t Load_Icon_Images(const RandomAccessFile& file, std::vector<IconImage>& images, std::string& why) {
  try {
    return Read_Images(file, images, why);
  } catch (const EngineError&) {
    why = "It cannot be read where its directory says";
    return kNotIconFile;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

std::vector<uint8_t> Icon_File_Bytes(const std::vector<IconFileImage>& images) {
  auto put = [](std::vector<uint8_t>& out, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  size_t offset = kIconDirSize + images.size() * kIconDirEntrySize;
  size_t total = offset;
  for (const IconFileImage& image : images) total += image.bytes.size();
  std::vector<uint8_t> out(total, 0);
  put(out, 2, 1, 2);  // idType: icon
  put(out, 4, static_cast<uint32_t>(images.size()), 2);
  for (size_t i = 0; i < images.size(); ++i) {
    size_t at = kIconDirSize + i * kIconDirEntrySize;
    std::copy(images[i].entry.begin(), images[i].entry.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    // The byte count a group entry states may be stale; the file's must be true.
    put(out, at + 8, static_cast<uint32_t>(images[i].bytes.size()), 4);
    put(out, at + 12, static_cast<uint32_t>(offset), 4);
    std::copy(images[i].bytes.begin(), images[i].bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
    offset += images[i].bytes.size();
  }
  return out;
}

}  // namespace vantorel::engine

// The .ico reader: the header test and the first image.
#include "icon_file.h"

#include <algorithm>
#include <new>

#include "errors/guarded.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

int32_t LoadEntryAndImage(const RandomAccessFile& file, IconImage& image) {
  Reader r(file, 0, file.Length());
  if (!r.Contains(kIconDirSize, kIconDirEntrySize)) return kNotIconFile;  // first entry cut short
  r.Bytes(kIconDirSize, image.entry_bytes.data(), kIconDirEntrySize);
  ICONDIRENTRY& e = image.entry;
  e.bWidth = r.U8(6);
  e.bHeight = r.U8(7);
  e.bColorCount = r.U8(8);
  e.bReserved = r.U8(9);
  e.wPlanes = r.U16(10);
  e.wBitCount = r.U16(12);
  e.dwBytesInRes = r.U32(14);
  e.dwImageOffset = r.U32(18);

  // Never take zeros for an image: it must be there, whole, whatever its byte
  // count says. Checking first also means no buffer larger than the file is
  // ever asked for.
  if (e.dwBytesInRes == 0 || !r.Contains(e.dwImageOffset, e.dwBytesInRes)) return kNotIconFile;
  // An image cannot start over the file's own header and directory.
  if (e.dwImageOffset < IconDirectoryEnd(r.U16(4))) return kNotIconFile;
  try {
    image.bytes.assign(e.dwBytesInRes, 0);
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  if (!file.ReadAt(e.dwImageOffset, image.bytes.data(), image.bytes.size())) return kNotIconFile;
  return kSuccess;
}

}  // namespace

bool Is_Valid_Icon_File(const RandomAccessFile& file) {
  // A file shorter than the header keeps zeros where nothing was read, and so
  // fails the test.
  uint8_t h[kIconDirSize] = {};
  int64_t have = std::clamp<int64_t>(file.Length(), 0, kIconDirSize);
  if (!file.ReadAt(0, h, static_cast<size_t>(have))) return false;
  uint16_t idReserved = static_cast<uint16_t>(h[0] | h[1] << 8);
  uint16_t idType = static_cast<uint16_t>(h[2] | h[3] << 8);
  // An unsigned count: 32,768 images and more are as valid as one.
  uint16_t idCount = static_cast<uint16_t>(h[4] | h[5] << 8);
  return idReserved == 0 && idType == 1 && idCount > 0;
}

int32_t LoadFirstImage(const RandomAccessFile& file, IconImage& image) {
  try {
    return LoadEntryAndImage(file, image);
  } catch (const EngineError&) {
    return kNotIconFile;  // the file could not be read where its header says
  }
}

}  // namespace vantorel::engine

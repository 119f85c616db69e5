// The icon file (.ico): its directory and images, read and checked, and
// written from images.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/random_access_file.h"

namespace vantorel::engine {

constexpr int32_t kIconDirSize = 6;        // ICONDIR
constexpr int32_t kIconDirEntrySize = 16;  // ICONDIRENTRY

struct ICONDIRENTRY {
  uint8_t bWidth = 0, bHeight = 0, bColorCount = 0, bReserved = 0;
  uint16_t wPlanes = 0, wBitCount = 0;
  uint32_t dwBytesInRes = 0, dwImageOffset = 0;
};

struct IconImage {
  ICONDIRENTRY entry;
  std::array<uint8_t, kIconDirEntrySize> entry_bytes{};  // the entry as stored
  std::vector<uint8_t> bytes;                            // the image, verbatim
};

bool Is_Valid_Icon_File(const RandomAccessFile& file);

// Where an icon file's directory of `count` entries ends: no image starts before.
constexpr int64_t IconDirectoryEnd(uint16_t count) { return kIconDirSize + int64_t{count} * kIconDirEntrySize; }

// Loads the first image. Returns 0, or 1003 for an entry cut short, an empty
// image, one running past the end of the file (whatever its byte count) or
// one starting over the file's header or directory, 7
// when the buffer cannot be had.
int32_t LoadFirstImage(const RandomAccessFile& file, IconImage& image);

// bWidth .. dwBytesInRes: the part that ICONDIRENTRY and GRPICONDIRENTRY share.
constexpr size_t kSharedEntryBytes = 12;
using SharedEntry = std::array<uint8_t, kSharedEntryBytes>;

// Every image of an icon file, each checked: the directory and every image lie
// wholly in the file and no image is empty. Returns 0; 1003 with `why` saying
// what is wrong; 7 when a buffer cannot be had.
int32_t LoadIconImages(const RandomAccessFile& file, std::vector<IconImage>& images, std::string& why);

// One image of an icon file to write: its directory entry's shared part and
// its bytes. The entry's dwBytesInRes is set from the bytes.
struct IconFileImage {
  SharedEntry entry{};
  std::vector<uint8_t> bytes;
};

// An icon file holding `images` in order: ICONDIR, the entries with their
// image offsets, then the images.
std::vector<uint8_t> IconFileBytes(const std::vector<IconFileImage>& images);

}  // namespace vantorel::engine

// Every size of an icon file in a program, and a program's icon taken out as
// an icon file: the inner steps, each a plain function the tests reach.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "mod_pe.h"

namespace vantorel::engine {

// ---- Sizes ------------------------------------------------------------------

// Width and height in pixels and bits per pixel; 0 where nothing says.
struct IconSize {
  int width = 0, height = 0, bits = 0;
  bool operator==(const IconSize&) const = default;
};

// bWidth .. dwBytesInRes: the part that ICONDIRENTRY and GRPICONDIRENTRY share.
constexpr size_t kSharedEntryBytes = 12;
using SharedEntry = std::array<uint8_t, kSharedEntryBytes>;

// What a directory entry (of an icon file or a group) describes. A width or
// height byte of 0 means 256; a wBitCount of 0 is taken from bColorCount.
IconSize EntrySize(const SharedEntry& entry);

// What an image's own header says: a BITMAPINFOHEADER (whose height counts the
// mask too) or a PNG's IHDR. All 0 when the bytes are neither.
IconSize ImageHeaderSize(const uint8_t* bytes, size_t size);

// How many of `size` bytes the image itself takes: a plain DIB's header,
// colour table, colour and mask rows, or a PNG up to the end of its IEND
// chunk. `size` when the image says more, or nothing it can be sure of (a
// resource may hold bytes past its image: makensis pads each icon's place).
size_t ImageOwnBytes(const uint8_t* bytes, size_t size);

// An icon file's image as the choice sees it: its entry, with a bit count of
// 0 filled in from the image's own header.
IconSize DescribedSize(const IconImage& image);

// The image that best shows `wanted`: the same width and height with the
// nearest bit depth; else the nearest larger size; else the largest. Among
// equals the first in the list wins, so an icon file's duplicate sizes give
// their first image. `images` must not be empty.
size_t BestImage(const std::vector<IconSize>& images, const IconSize& wanted);

// As BestImage, for the `nth` (from 0) of several icons that want exactly
// `wanted`: the nth image of exactly that size and depth, when the file holds
// that many, so that two images of one size in a group each keep their icon.
size_t NthBestImage(const std::vector<IconSize>& images, const IconSize& wanted, size_t nth);

// How much a size matters when the room cannot hold every image: the sizes
// Windows shows most (16, 32, 48 and 256 pixels square, in that order) rank
// 0 to 3, every other size 4. Lower is more important.
int SizeRank(const IconSize& wanted);

// ---- Room ---------------------------------------------------------------------

// A free stretch [begin, end) of the resource data, in file offsets.
struct Stretch {
  int64_t begin = 0, end = 0;
};

// Places images of the given byte counts into the free stretches, each on a
// 4-byte boundary, none overlapping another: the largest first, each into the
// stretch that leaves least room over. The offsets come in the order of
// `sizes`; nothing when they do not all fit.
std::optional<std::vector<int64_t>> PackImages(const std::vector<Stretch>& free,
                                               const std::vector<uint32_t>& sizes);

// The free stretches of the resource data once every icon image is rewritten:
// old icon images and padding nobody references. Raises when the tree cannot
// be mapped.
std::vector<Stretch> FreeRoom(const RandomAccessFile& file, const ResourceSection& section);

// ---- Choice -------------------------------------------------------------------

// Which image of the icon file each icon gets, and where the images go.
struct SizeChoice {
  std::vector<size_t> image_of_icon;  // per wanted icon: index into the icon file's images
  std::vector<bool> substitute;       // per wanted icon: its best image did not fit
  std::vector<size_t> written;        // the distinct images written, index into the images
  std::vector<int64_t> offsets;       // per written image: its file offset
};

// Chooses for every wanted size the best image that the room can hold with
// the others. When the room cannot hold every best image, the images are
// placed one by one in the order of their most important wanted size
// (SizeRank), then of how many icons want them; one that no longer fits is
// left out and its icons get the best of the images kept. When not even one
// best image fits, the smallest image of the file stands in for all. False
// when nothing fits. `ordinals` (empty: all 0) gives each wanted size's
// place among the wants of exactly that size in its group (NthBestImage).
bool ChooseImages(const std::vector<IconSize>& images, const std::vector<uint32_t>& image_bytes,
                  const std::vector<IconSize>& wants, const std::vector<Stretch>& free, SizeChoice& choice,
                  const std::vector<size_t>& ordinals = {});

// ---- An NSIS installer's icons --------------------------------------------------
// An NSIS installer writes its uninstaller from its own program bytes: it
// copies them, then writes the uninstaller's icon images at the file offsets
// its icon images had when makensis built it, and the uninstaller's group
// over its group. The data entries are copied as they are. So in an
// installer every icon image keeps its place and its size, and only the
// bytes at those places and the group entries may change. makensis makes
// each place as large as the larger of the installer's and the uninstaller's
// images of its rank. Where the uninstaller's is the smaller, the tail of the
// place is not written back, yet counts to the uninstaller's own CRC; the
// program's bytes cannot tell where that is, so only each new image's own
// bytes are written, never padding after it.

// Which image each icon of an installer shows.
struct PlacesChoice {
  static constexpr size_t kNone = static_cast<size_t>(-1);
  std::vector<size_t> image_of_icon;  // per icon: the image written at its place; kNone: it keeps its old one
  std::vector<bool> substitute;       // per icon: its place cannot hold its best image
  std::vector<size_t> shown_by;       // per icon: the icon whose image its group entries name (itself, if it got one)
};

// Gives each icon the image that best shows the size it wants (`ordinals` as
// for NthBestImage) of those its place holds (`room`, in bytes; 0 where no
// image may go); an icon whose place holds none keeps its old image, and its
// group entries name the icon whose new image best shows its size. False when
// no place holds any image.
bool ChooseInPlaces(const std::vector<IconSize>& images, const std::vector<uint32_t>& image_bytes,
                    const std::vector<IconSize>& wants, const std::vector<size_t>& ordinals,
                    const std::vector<uint32_t>& room, PlacesChoice& choice);

// ---- Icon files ---------------------------------------------------------------

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

// ---- Sizes and icons added ------------------------------------------------------

// The target half of ChangeIconAddSizes, on a target that is already open
// and the icon file's images already loaded (at least one).
int32_t AddSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images, const std::string& target_path,
                   AddSizesReport& report, std::string& failure_text, const WarningSink& warn = {},
                   bool plan_only = false);

// ---- Taking a group out --------------------------------------------------------

// ExtractIconGroup on a target that is already open.
int32_t ExtractIconGroupIn(const RandomAccessFile& target, const std::string& target_path,
                           const GroupSelection& selection, ExtractedIcon& extracted, std::string& failure_text,
                           const WarningSink& warn = {});

// ---- The replacement ------------------------------------------------------------

// The target half of ChangeIconAllSizes, on a target that is already open
// and the icon file's images already loaded (at least one).
int32_t ReplaceAllSizesIn(RandomAccessFile& target, const std::vector<IconImage>& images,
                          const std::string& icon_path, const std::string& target_path, AllSizesReport& report,
                          std::string& failure_text, const WarningSink& warn, bool plan_only = false);

}  // namespace vantorel::engine

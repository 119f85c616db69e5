// Which image of an icon file each icon of a program gets when the images
// must fit in room the program has: in its free stretches, or (an NSIS
// installer) in each icon's own place.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "icon_sizes.h"
#include "image_room.h"

namespace vantorel::engine {

// Places images of the given byte counts into the free stretches, each on a
// 4-byte boundary, none overlapping another: the largest first, each into the
// stretch that leaves least room over. The offsets come in the order of
// `sizes`; nothing when they do not all fit.
std::optional<std::vector<int64_t>> PackImages(const std::vector<Stretch>& free,
                                               const std::vector<uint32_t>& sizes);

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

}  // namespace vantorel::engine

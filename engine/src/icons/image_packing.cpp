// Fitting the chosen images of an icon file into the free room of a program's
// resource data, and choosing which images to keep when the room is short.
#include <algorithm>
#include <numeric>

#include "icon_sizes.h"
#include "image_room.h"
#include "size_choice.h"


namespace vantorel::engine {
namespace {

// New images start on a 4-byte boundary, as resource compilers place them.
constexpr int64_t kImageAlignment = 4;

int64_t Aligned(int64_t offset) { return (offset + kImageAlignment - 1) / kImageAlignment * kImageAlignment; }

// Takes `size` bytes from the stretch that leaves least room over.
std::optional<int64_t> Place(std::vector<Stretch>& left, uint32_t size) {
  Stretch* best = nullptr;
  for (Stretch& s : left) {
    int64_t room = s.end - Aligned(s.begin);
    if (room >= int64_t{size} && (!best || room < best->end - Aligned(best->begin))) best = &s;
  }
  if (!best) return std::nullopt;
  int64_t at = Aligned(best->begin);
  best->begin = at + size;
  return at;
}

std::optional<std::vector<int64_t>> PackChosen(const std::vector<Stretch>& free,
                                               const std::vector<uint32_t>& image_bytes,
                                               const std::vector<size_t>& chosen) {
  std::vector<uint32_t> sizes;
  for (size_t i : chosen) sizes.push_back(image_bytes[i]);
  return PackImages(free, sizes);
}

}  // namespace

std::optional<std::vector<int64_t>> PackImages(const std::vector<Stretch>& free,
                                               const std::vector<uint32_t>& sizes) {
  std::vector<size_t> order(sizes.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return sizes[a] > sizes[b]; });
  std::vector<Stretch> left = free;
  std::vector<int64_t> offsets(sizes.size(), -1);
  for (size_t i : order) {
    std::optional<int64_t> at = Place(left, sizes[i]);
    if (!at) return std::nullopt;
    offsets[i] = *at;
  }
  return offsets;
}

bool ChooseImages(const std::vector<IconSize>& images, const std::vector<uint32_t>& image_bytes,
                  const std::vector<IconSize>& wants, const std::vector<Stretch>& free, SizeChoice& choice,
                  const std::vector<size_t>& ordinals) {
  if (images.empty()) return false;
  std::vector<size_t> best(wants.size());
  std::vector<int> rank(images.size(), 5), demand(images.size(), 0);
  for (size_t w = 0; w < wants.size(); ++w) {
    best[w] = NthBestImage(images, wants[w], w < ordinals.size() ? ordinals[w] : 0);
    rank[best[w]] = std::min(rank[best[w]], SizeRank(wants[w]));
    ++demand[best[w]];
  }
  std::vector<size_t> candidates;
  for (size_t i = 0; i < images.size(); ++i) {
    if (demand[i] > 0) candidates.push_back(i);
  }
  std::stable_sort(candidates.begin(), candidates.end(), [&](size_t a, size_t b) {
    return rank[a] != rank[b] ? rank[a] < rank[b] : demand[a] > demand[b];
  });

  // Every best image, packed largest first, is the common case. When they do
  // not all fit, each is placed in turn, the most important first, where it
  // leaves least room over; one that fits nowhere is left out. Placing each
  // once keeps the work to one pass over the stretches per image.
  std::vector<size_t> kept;
  std::vector<int64_t> offsets;
  if (auto all = PackChosen(free, image_bytes, candidates)) {
    kept = candidates;
    offsets = *all;
  } else {
    std::vector<Stretch> left = free;
    auto place = [&](size_t image) {
      std::optional<int64_t> at = Place(left, image_bytes[image]);
      if (!at) return false;
      kept.push_back(image);
      offsets.push_back(*at);
      return true;
    };
    for (size_t c : candidates) place(c);
    if (kept.empty()) {
      size_t smallest =
          static_cast<size_t>(std::min_element(image_bytes.begin(), image_bytes.end()) - image_bytes.begin());
      if (!place(smallest)) return false;
    }
  }

  std::vector<IconSize> kept_sizes;
  std::vector<bool> is_kept(images.size(), false);
  for (size_t k : kept) {
    kept_sizes.push_back(images[k]);
    is_kept[k] = true;
  }
  choice = SizeChoice{};
  for (size_t w = 0; w < wants.size(); ++w) {
    size_t given = is_kept[best[w]] ? best[w] : kept[BestImage(kept_sizes, wants[w])];
    choice.image_of_icon.push_back(given);
    choice.substitute.push_back(given != best[w]);
  }
  choice.written = kept;
  choice.offsets = offsets;
  return true;
}

}  // namespace vantorel::engine

// The images of an NSIS installer's icons, each in its own place (all_sizes.h).
#include "size_choice.h"
#include "icon_sizes.h"


namespace vantorel::engine {

bool ChooseInPlaces(const std::vector<IconSize>& images, const std::vector<uint32_t>& image_bytes,
                    const std::vector<IconSize>& wants, const std::vector<size_t>& ordinals,
                    const std::vector<uint32_t>& room, PlacesChoice& choice) {
  choice = PlacesChoice{};
  std::vector<size_t> holders;
  std::vector<IconSize> held;
  for (size_t i = 0; i < wants.size(); ++i) {
    size_t best = NthBestImage(images, wants[i], i < ordinals.size() ? ordinals[i] : 0);
    size_t given = PlacesChoice::kNone;
    if (image_bytes[best] <= room[i]) {
      given = best;
    } else {
      std::vector<size_t> fitting;
      std::vector<IconSize> fitting_sizes;
      for (size_t k = 0; k < images.size(); ++k) {
        if (image_bytes[k] > room[i]) continue;
        fitting.push_back(k);
        fitting_sizes.push_back(images[k]);
      }
      if (!fitting.empty()) given = fitting[BestImage(fitting_sizes, wants[i])];
    }
    choice.image_of_icon.push_back(given);
    choice.substitute.push_back(given != PlacesChoice::kNone && given != best);
    choice.shown_by.push_back(i);
    if (given == PlacesChoice::kNone) continue;
    holders.push_back(i);
    held.push_back(images[given]);
  }
  if (holders.empty()) return false;
  // The uninstaller's group is put back over the entries, so in the
  // installer they may name another icon than the one they named.
  for (size_t i = 0; i < wants.size(); ++i) {
    if (choice.image_of_icon[i] == PlacesChoice::kNone) choice.shown_by[i] = holders[BestImage(held, wants[i])];
  }
  return true;
}

}  // namespace vantorel::engine

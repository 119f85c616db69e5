#include "added_icon_choice.h"

#include <algorithm>

namespace vantorel::engine {
namespace {

class Chooser {
 public:
  Chooser(const std::vector<IconImage>& images, const IconModel& model, IconChoice& choice)
      : images_(images), m_(model), c_(choice), last_number_(model.last_icon_number) {}

  bool Choose(const Reader& file) {
    std::vector<IconSize> sizes;
    for (const IconImage& image : images_) sizes.push_back(DescribedSize(image));
    c_.wants = WantedSizes(file, m_.tree, sizes.front());
    for (size_t i = 0; i < m_.tree.icons.size(); ++i) {
      c_.image_of_icon.push_back(NthBestImage(sizes, c_.wants.sizes[i], c_.wants.ordinals[i]));
    }
    c_.reused.assign(m_.tree.icons.size(), false);
    ReuseRedundantIcons();
    for (size_t g = 0; g < m_.tree.groups.size(); ++g) {
      std::vector<bool> shown(images_.size(), false);
      for (size_t icon : IconsOfGroup(g)) shown[c_.image_of_icon[icon]] = true;
      for (size_t k = 0; k < images_.size(); ++k) {
        if (!shown[k] && !Add(g, k, m_.tree.groups[g].language)) return false;
      }
    }
    c_.new_group = m_.tree.groups.empty();
    if (c_.new_group) {
      for (size_t k = 0; k < images_.size(); ++k) {
        if (!Add(m_.tree.groups.size(), k, 0)) return false;
      }
    }
    return true;
  }

 private:
  // The icons the entries of group `g` name, in entry order (an entry that
  // names no icon left out).
  std::vector<size_t> IconsOfGroup(size_t g) const {
    std::vector<size_t> icons;
    for (const GroupEntryRef& e : m_.tree.groups[g].entries) {
      if (auto icon = m_.tree.IconNamed(e.nID, m_.tree.groups[g].language)) icons.push_back(*icon);
    }
    return icons;
  }

  // An icon whose image another icon shows in every group that names it adds
  // nothing any group shows. Such an icon is given an image its group lacks
  // instead of a new icon: after a run with fewer sizes the entries an earlier
  // run added hold duplicates, and without this every run alternating between
  // two icon files would add them again and the groups would grow without end.
  // No group loses an image it showed; what the loader picks from a group
  // depends on the sizes its entries describe, and a duplicate describes none
  // that another entry does not.
  void ReuseRedundantIcons() {
    const size_t groups = m_.tree.groups.size();
    std::vector<size_t>& image_of = c_.image_of_icon;
    std::vector<std::vector<size_t>> icons_of(groups);
    std::vector<std::vector<size_t>> groups_of(m_.tree.icons.size());
    for (size_t g = 0; g < groups; ++g) {
      icons_of[g] = IconsOfGroup(g);
      for (size_t icon : icons_of[g]) {
        if (groups_of[icon].empty() || groups_of[icon].back() != g) groups_of[icon].push_back(g);
      }
    }
    // Another icon of group g shows the image `icon` shows.
    auto shown_without = [&](size_t g, size_t icon) {
      return std::any_of(icons_of[g].begin(), icons_of[g].end(),
                         [&](size_t other) { return other != icon && image_of[other] == image_of[icon]; });
    };
    auto redundant = [&](size_t icon) {
      return !c_.reused[icon] && std::all_of(groups_of[icon].begin(), groups_of[icon].end(),
                                             [&](size_t g) { return shown_without(g, icon); });
    };
    for (size_t g = 0; g < groups; ++g) {
      for (size_t k = 0; k < images_.size(); ++k) {
        auto shows = [&](size_t icon) { return image_of[icon] == k; };
        if (std::any_of(icons_of[g].begin(), icons_of[g].end(), shows)) continue;
        // The last entries first: those are the ones an earlier run added.
        auto free = std::find_if(icons_of[g].rbegin(), icons_of[g].rend(), redundant);
        if (free == icons_of[g].rend()) break;
        image_of[*free] = k;
        c_.reused[*free] = true;
      }
    }
  }

  // Gives group `g` an entry for image `k`, through the new icon that holds
  // it in `language` (one icon number per image, however many groups).
  bool Add(size_t g, size_t k, uint32_t language) {
    auto [it, added] = c_.new_icon.emplace(k, 0);
    if (added) {
      if (last_number_ >= 0xFFFF) return false;
      it->second = static_cast<uint16_t>(++last_number_);
    }
    c_.new_icon_languages[it->second].insert(language);
    c_.additions.push_back({g, k, it->second});
    return true;
  }

  const std::vector<IconImage>& images_;
  const IconModel& m_;
  IconChoice& c_;
  uint32_t last_number_;  // the highest icon number taken so far
};

}  // namespace

bool ChooseIcons(const Reader& file, const std::vector<IconImage>& images, const IconModel& model,
                 IconChoice& choice) {
  return Chooser(images, model, choice).Choose(file);
}

}  // namespace vantorel::engine

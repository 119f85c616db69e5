// Which image of the icon file each icon of a program gets under --add-sizes,
// and which entries each group gains: decided before anything is laid out.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "icons/icon_model.h"

namespace vantorel::engine {

// One entry a group gains.
struct Addition {
  size_t group;  // index into the model's groups; past them: the group made new
  size_t image;
  uint16_t icon_id;
};

struct IconChoice {
  IconWants wants;                   // per icon of the program
  std::vector<size_t> image_of_icon;  // per icon: index into the icon file's images
  std::vector<bool> reused;           // per icon: given an image its groups lacked
  std::vector<Addition> additions;
  std::map<size_t, uint16_t> new_icon;  // image -> the icon number made for it
  std::map<uint16_t, std::set<uint32_t>> new_icon_languages;
  bool new_group = false;  // the program had no group: #1, language neutral
};

// Sizes a group has are filled as --all-sizes fills them; an icon whose image
// another icon shows in every group naming it takes a size its groups lack;
// what is still missing is added, one new icon per image. False when no icon
// number is left for a new icon.
bool ChooseIcons(const Reader& file, const std::vector<IconImage>& images, const IconModel& model,
                 IconChoice& choice);

}  // namespace vantorel::engine

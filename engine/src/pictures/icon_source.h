// What a mode takes as its icon: an icon file, or a PNG picture made into
// one in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "icons/icon_file.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// What a mode takes as its icon, read once: the images of the icon file, or
// of the icon made in memory from a PNG picture (`picture`).
struct IconSource {
  bool picture = false;
  std::vector<IconImage> images;
};

// Opens `icon` once and reads its images, each checked: only the first with
// `first_only` (the first-image replacement), but a picture's whole icon
// always, as a picture has no first image. 0, or 1000, 1003 (with the reason
// when every image was read), 1016, 7 with their texts.
int32_t LoadIcon(const std::filesystem::path& icon, bool first_only, IconSource& source, std::string& failure_text,
                 const WarningSink& warn);

}  // namespace vantorel::engine

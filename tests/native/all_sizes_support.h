// Runs the --all-sizes replacement on memory images, for the tests of it.
#pragma once

#include <string>
#include <vector>

#include "test_support.h"
#include "modes/icon_modes.h"

namespace vantorel::engine::test {

struct SizedRun {
  int32_t result = -1;
  std::string failure;
  AllSizesReport report;
  Bytes after;
};

inline std::vector<IconImage> Images(const Bytes& icon_file) {
  MemoryFile icon(icon_file);
  std::vector<IconImage> images;
  std::string why;
  EXPECT_EQ(LoadIconImages(icon, images, why), 0) << why;
  return images;
}

inline SizedRun AllSizes(const Bytes& target, const Bytes& icon_file, bool plan_only = false,
                         const WarningSink& warn = {}) {
  SizedRun r;
  MemoryFile file(target);
  r.result = ReplaceAllSizesIn(file, Images(icon_file), "sizes.ico", "app.exe", r.report, r.failure, warn,
                               plan_only);
  r.after = file.bytes();
  return r;
}

inline IconFileEntry Sized(uint8_t side, uint16_t bits, uint32_t bytes, uint8_t seed) {
  IconFileEntry s = Image(bytes, seed, side);
  s.bits = bits;
  s.colors = bits == 4 ? 16 : 0;
  return s;
}

}  // namespace vantorel::engine::test

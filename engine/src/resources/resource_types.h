// The resource types the engine knows by number.
#pragma once

#include <cstdint>

namespace vantorel::engine {

// RT_ICON and RT_GROUP_ICON (windows.h defines those names as pointer macros).
constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;
// RT_VERSION and RT_MANIFEST.
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kRtManifest = 24;

}  // namespace vantorel::engine

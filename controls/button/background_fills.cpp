#include "button/background_fills.h"

#include <iterator>

#include "button/paint_math.h"
#include "button/stored_values.h"

namespace vantorel::controls {

namespace {

// One gradient: vertex A has colour X, vertex B colour Y; positions are
// fractions of the width and height (0, one half, or the whole).
struct Gradient {
  bool vertical;
  double ax, ay, bx, by;
};

struct BackgroundFill {
  int count;
  Gradient fills[2];
};

constexpr bool kV = true, kH = false;

// Modes 2 to 7. 4 and 5 meet in the middle of the height, 6 and 7 in the middle
// of the width: 4 and 6 have X at the edges and Y in the middle, 5 and 7 the
// other way round.
constexpr BackgroundFill kFills[] = {
    {1, {{kH, 0, 1, 1, 0}, {}}},
    {1, {{kV, 0, 1, 1, 0}, {}}},
    {2, {{kV, 1, 0, 0, 0.5}, {kV, 0, 1, 1, 0.5}}},
    {2, {{kV, 0, 0.5, 1, 0}, {kV, 0, 0.5, 1, 1}}},
    {2, {{kH, 0, 0, 0.5, 1}, {kH, 1, 1, 0.5, 0}}},
    {2, {{kH, 0.5, 0, 0, 1}, {kH, 0.5, 1, 1, 0}}},
};
constexpr std::int32_t kFirstMode = kFillAcross;

}  // namespace

host::Status DrawBackgroundFill(HDC dc, std::int32_t mode, double w, double h, host::OleColor x, host::OleColor y) {
  if (mode < kFirstMode || mode >= kFirstMode + static_cast<std::int32_t>(std::size(kFills))) return host::kOk;
  const BackgroundFill& fill = kFills[mode - kFirstMode];
  Rounder r;
  for (int i = 0; i < fill.count; ++i) {
    const Gradient& g = fill.fills[i];
    // w * 0.5 is exactly w / 2, so the halves round as the rule says.
    GradientPair(dc, g.vertical, r(w * g.ax), r(h * g.ay), x, r(w * g.bx), r(h * g.by), y);
  }
  return r.status();
}

}  // namespace vantorel::controls

// Prints how long one full paint of each face shape takes at 64 x 64 pixels, in
// the states that cost it most: style 6 hovered and focused (the glow frame),
// style 5 focused (the focus mark and the dotting passes; for the diamond also
// its scan of odd rows) and style 7 focused (the inner frame twice). The
// controls are shown, so the commit's copy to the window counts, and have the
// default background and a short caption. The 36 cases take turns, a short
// burst each per round, so that a busy spell of the machine spreads over all of
// them instead of spoiling one. A Markdown table on standard output.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_timing.h"

namespace {

using namespace vantorel::controls;
namespace host = vantorel::host;

constexpr int kSize = 64;
constexpr int kRounds = 25;
constexpr int kPaintsPerTurn = 20;
constexpr const char* kShapeNames[12] = {"rectangle",      "rounded rectangle", "ellipse",        "diamond",
                                         "triangle up",    "triangle left",     "triangle right", "triangle down",
                                         "arrow up",       "arrow left",        "arrow right",    "arrow down"};

enum class Costly { Glow, FocusMark, InnerFrame };
constexpr Costly kLooks[] = {Costly::Glow, Costly::FocusMark, Costly::InnerFrame};

struct Case {
  Button* button;
  Costly look;
  std::vector<double> perPaint;
};

Button* Make(HWND parent, int index, int shape, Costly look) {
  const int x = 4 + (index % 9) * (kSize + 4), y = 4 + (index / 9) * (kSize + 4);
  Button* b = Button::Create(host::test::Placement(parent, x * 15, y * 15, kSize * 15, kSize * 15));
  b->SetCaption(L"Go");
  b->SetButtonShape(shape);
  b->SetButtonStyle(look == Costly::Glow ? 6 : look == Costly::FocusMark ? 5 : 7);
  return b;
}

// Focused, and for the glow also hovered, as a user would leave it.
void Enter(Case& c) {
  SetFocus(c.button->hwnd());
  if (c.look == Costly::Glow) host::test::MovePointer(c.button->hwnd(), kSize / 2, kSize / 2);
  host::test::Drain();
}

void Leave(Case& c) {
  if (c.look == Costly::Glow) host::test::MovePointer(c.button->hwnd(), -200, -200);
  ReleaseCapture();
  host::test::Drain();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  host::test::TestParent parent(640, 300);
  std::vector<Case> cases;
  for (int shape = 0; shape < 12; ++shape)
    for (Costly look : kLooks) {
      const int index = static_cast<int>(cases.size());
      cases.push_back({Make(parent.hwnd(), index, shape, look), look, {}});
    }
  for (int round = 0; round < kRounds; ++round)
    for (Case& c : cases) {
      Enter(c);
      c.perPaint.push_back(bench::TimePaints(c.button, 1, kPaintsPerTurn).median);
      Leave(c);
    }
  std::printf("Median (best turn) of a full paint at %d x %d, microseconds; %d turns of %d paints per case:\n\n", kSize,
              kSize, kRounds, kPaintsPerTurn);
  std::printf("| shape | style 6 glow (hovered, focused) | style 5 focused | style 7 focused |\n");
  std::printf("|---|---:|---:|---:|\n");
  double worst = 0;
  for (int shape = 0; shape < 12; ++shape) {
    std::printf("| %d %s |", shape, kShapeNames[shape]);
    for (int l = 0; l < 3; ++l) {
      const std::vector<double>& t = cases[shape * 3 + l].perPaint;
      worst = std::max(worst, Median(t));
      std::printf(" %.0f (%.0f) |", Median(t), *std::min_element(t.begin(), t.end()));
    }
    std::printf("\n");
  }
  std::printf("\nSlowest shape and state: median %.0f us (goal: under 1000 us)\n", worst);
  return 0;
}

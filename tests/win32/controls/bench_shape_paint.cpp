// Prints how long one full paint of each face shape takes at 64 x 64 pixels, in
// the states that cost it most: style 6 hovered and focused (the glow frame),
// style 5 focused (the focus mark and the dotting passes; for the diamond also
// its scan of odd rows) and style 7 focused (the inner frame twice). The control
// is shown, so the commit's copy to the window counts, and it has the default
// background and a short caption. A Markdown table on standard output.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench_timing.h"

namespace {

using namespace vantorel;

constexpr int kSize = 64;
constexpr const char* kShapeNames[12] = {"rectangle",      "rounded rectangle", "ellipse",        "diamond",
                                         "triangle up",    "triangle left",     "triangle right", "triangle down",
                                         "arrow up",       "arrow left",        "arrow right",    "arrow down"};

enum class Costly { Glow, FocusMark, InnerFrame };

double MedianPaint(HWND parent, int shape, Costly look) {
  Button* b = Button::Create(test::Placement(parent, 150, 150, kSize * 15, kSize * 15));
  b->SetCaption(L"Go");
  b->SetButtonShape(shape);
  b->SetButtonStyle(look == Costly::Glow ? 6 : look == Costly::FocusMark ? 5 : 7);
  SetFocus(b->hwnd());
  if (look == Costly::Glow) test::MovePointer(b->hwnd(), kSize / 2, kSize / 2);
  test::Drain();
  const bench::PaintTimes t = bench::TimePaints(b, 15, 100);
  ReleaseCapture();
  DestroyWindow(b->hwnd());
  test::Drain();
  return t.median;
}

}  // namespace

int main() {
  test::TestParent parent;
  std::printf("| shape | style 6 glow (hovered, focused) | style 5 focused | style 7 focused |\n");
  std::printf("|---|---:|---:|---:|\n");
  double worst = 0;
  for (int shape = 0; shape < 12; ++shape) {
    const double glow = MedianPaint(parent.hwnd(), shape, Costly::Glow);
    const double mark = MedianPaint(parent.hwnd(), shape, Costly::FocusMark);
    const double inner = MedianPaint(parent.hwnd(), shape, Costly::InnerFrame);
    worst = std::max({worst, glow, mark, inner});
    std::printf("| %d %s | %.0f us | %.0f us | %.0f us |\n", shape, kShapeNames[shape], glow, mark, inner);
  }
  std::printf("\nMedian full paint at %d x %d, slowest shape and state: %.0f us (goal: under 1000 us)\n", kSize, kSize,
              worst);
  return 0;
}

// Prints how long one full paint of a Button with the main window's values takes
// (89 x 25 pixels, shown on screen, so the commit's copy to the window counts).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench_timing.h"

namespace {

void Measure(vantorel::controls::Button* b, const char* what) {
  constexpr int kRounds = 20;
  constexpr int kPaintsPerRound = 200;
  const vantorel::controls::bench::PaintTimes t = vantorel::controls::bench::TimePaints(b, kRounds, kPaintsPerRound);
  std::printf("Button paint, 89 x 25, %s: median %.1f us, best %.1f us, worst %.1f us per paint "
              "(%d rounds of %d)\n",
              what, t.median, t.best, t.worst, kRounds, kPaintsPerRound);
}

}  // namespace

int main() {
  using namespace vantorel::controls;
  namespace host = vantorel::host;
  host::test::TestParent parent;
  Button* b = test::MainButton(parent);
  if (!b) {
    std::puts("could not make the button");
    return 1;
  }
  Measure(b, "main window values");
  if (std::getenv("BENCH_PARTS")) {
    // Where the time goes: without the caption, and without showing the result.
    b->SetCaption(L"");
    Measure(b, "no caption");
    b->SetCaption(L"Replace");
    ShowWindow(b->hwnd(), SW_HIDE);
    Measure(b, "hidden window");
  }
  return 0;
}

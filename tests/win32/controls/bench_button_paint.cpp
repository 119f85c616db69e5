// Prints how long one full paint of a Button with the main window's values takes
// (89 x 25 pixels, shown on screen, so the commit's copy to the window counts).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "test_support.h"

namespace {

void Measure(vantorel::Button* b, const char* what) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  constexpr int kRounds = 20;
  constexpr int kPaintsPerRound = 200;
  std::vector<double> perPaint;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kPaintsPerRound; ++i) b->Paint();
    QueryPerformanceCounter(&t1);
    perPaint.push_back((t1.QuadPart - t0.QuadPart) * 1e6 / freq.QuadPart / kPaintsPerRound);
    vantorel::test::Drain();
  }
  std::sort(perPaint.begin(), perPaint.end());
  std::printf("Button paint, 89 x 25, %s: median %.1f us, best %.1f us, worst %.1f us per paint "
              "(%d rounds of %d)\n",
              what, perPaint[perPaint.size() / 2], perPaint.front(), perPaint.back(), kRounds, kPaintsPerRound);
}

}  // namespace

int main() {
  using namespace vantorel;
  test::TestParent parent;
  PropertyBag bag = test::MainWindowBag();
  Button* b = Button::Create(test::Placement(parent.hwnd()), &bag);
  if (!b) {
    std::puts("could not make the button");
    return 1;
  }
  test::Drain();
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

#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

#include "test_support.h"

namespace vantorel::controls::bench {

// Times full paints of a shown Button: rounds of back-to-back paints, the
// message queue drained between rounds. Figures are per paint, in microseconds.
struct PaintTimes {
  double median = 0;
  double best = 0;
  double worst = 0;
};

inline PaintTimes TimePaints(Button* b, int rounds = 20, int paintsPerRound = 200) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::vector<double> perPaint;
  for (int round = 0; round < rounds; ++round) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < paintsPerRound; ++i) b->Paint();
    QueryPerformanceCounter(&t1);
    perPaint.push_back((t1.QuadPart - t0.QuadPart) * 1e6 / freq.QuadPart / paintsPerRound);
    host::test::Drain();
  }
  std::sort(perPaint.begin(), perPaint.end());
  return {perPaint[perPaint.size() / 2], perPaint.front(), perPaint.back()};
}

}  // namespace vantorel::controls::bench

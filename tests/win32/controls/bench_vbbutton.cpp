// Prints how long vbButton's drawing takes: the full drawing of an 87 x 32 type-3
// (gradient) button with a 32 x 32 picture with mask, hot, and an unforced
// redraw with nothing changed (skipped by the drawing operation); and how soon
// MouseOut follows the real pointer's leave, which depends on the platform's
// timers and leave notification, so it is a figure, not a test.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "system_input.h"
#include "vbbutton_support.h"

namespace {

template <class F>
void Measure(const char* what, int perRound, F draw) {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  constexpr int kRounds = 21;
  std::vector<double> each;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < perRound; ++i) draw();
    QueryPerformanceCounter(&t1);
    each.push_back((t1.QuadPart - t0.QuadPart) * 1e6 / freq.QuadPart / perRound);
    vantorel::host::test::Drain();
  }
  std::sort(each.begin(), each.end());
  std::printf("vbButton %s: median %.3f us, best %.3f us, worst %.3f us (%d rounds of %d)\n", what,
              each[each.size() / 2], each.front(), each.back(), kRounds, perRound);
}

// A 32 x 32 picture: a disc on the mask colour.
vantorel::host::PictureRef DiscPicture() {
  vantorel::host::PictureRef pic = vantorel::host::test::SolidPicture(32, 32, RGB(192, 192, 192));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, pic->Bitmap());
  HBRUSH brush = CreateSolidBrush(RGB(30, 90, 200));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Ellipse(dc, 2, 2, 30, 30);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  return pic;
}

// The pointer is put on the control until MouseOver, then away, and the time
// from the move to MouseOut is taken.
void MeasureLeave(HWND stage, vantorel::controls::vbButton* b) {
  using namespace vantorel::controls;
  namespace host = vantorel::host;
  bool over = false, out = false;
  LARGE_INTEGER freq, left{}, gone{};
  QueryPerformanceFrequency(&freq);
  b->events.MouseOver = [&] { over = true; };
  b->events.MouseOut = [&] {
    QueryPerformanceCounter(&gone);
    out = true;
  };
  b->ShowAs(false, false);  // not hot, so the pointer's arrival starts the hover
  constexpr int kRounds = 21;
  std::vector<double> ms;
  for (int round = 0; round < kRounds; ++round) {
    over = out = false;
    host::test::PointerAway(stage);
    host::test::PointerTo(b->hwnd(), 10 + round % 5, 10);
    if (!host::test::PumpUntil([&] { return over; })) continue;
    POINT away{600, 380};
    ClientToScreen(stage, &away);
    QueryPerformanceCounter(&left);
    SetCursorPos(away.x, away.y);
    if (host::test::PumpUntil([&] { return out; }, 1))
      ms.push_back((gone.QuadPart - left.QuadPart) * 1e3 / freq.QuadPart);
  }
  if (ms.empty()) {
    std::puts("vbButton MouseOut: never raised");
    return;
  }
  std::sort(ms.begin(), ms.end());
  std::printf("vbButton MouseOut after the pointer leaves: median %.1f ms, best %.1f ms, worst %.1f ms "
              "(%zu of %d rounds; the platform's shortest timer period is %u ms)\n",
              ms[ms.size() / 2], ms.front(), ms.back(), ms.size(), kRounds, USER_TIMER_MINIMUM);
}

}  // namespace

int main() {
  using namespace vantorel::controls;
  namespace host = vantorel::host;
  host::test::TestParent parent;
  vbButton* b = vbButton::Create(test::VbPlacement(parent.hwnd()));
  if (!b) {
    std::puts("could not make the control");
    return 1;
  }
  b->SetButtonType(3);
  b->SetCaption(L"&Open");
  b->SetPictureNormal(DiscPicture());
  b->ShowAs(true, false);
  host::test::Drain();
  Measure("full drawing, type 3, 87 x 32, 32 x 32 picture with mask, hot", 500,
          [b] { b->Draw(vb::kLookNormal, true); });
  Measure("unforced redraw, nothing changed", 200000, [b] { b->Draw(vb::kLookNormal, false); });
  MeasureLeave(parent.hwnd(), b);
  return 0;
}

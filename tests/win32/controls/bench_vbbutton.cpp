// Prints how long vbButton's drawing takes: the full drawing of an 87 x 32 type-3
// (gradient) button with a 32 x 32 picture with mask, hot, and an unforced
// redraw with nothing changed (skipped by the drawing operation).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

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
    vantorel::controls::test::Drain();
  }
  std::sort(each.begin(), each.end());
  std::printf("vbButton %s: median %.3f us, best %.3f us, worst %.3f us (%d rounds of %d)\n", what,
              each[each.size() / 2], each.front(), each.back(), kRounds, perRound);
}

// A 32 x 32 picture: a disc on the mask colour.
vantorel::controls::PictureRef DiscPicture() {
  vantorel::controls::PictureRef pic = vantorel::controls::test::SolidPicture(32, 32, RGB(192, 192, 192));
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

}  // namespace

int main() {
  using namespace vantorel::controls;
  test::TestParent parent;
  vbButton* b = vbButton::Create(test::VbPlacement(parent.hwnd()));
  if (!b) {
    std::puts("could not make the control");
    return 1;
  }
  b->SetButtonType(3);
  b->SetCaption(L"&Open");
  b->SetPictureNormal(DiscPicture());
  b->ShowAs(true, false);
  test::Drain();
  Measure("full drawing, type 3, 87 x 32, 32 x 32 picture with mask, hot", 500,
          [b] { b->Draw(vb::kLookNormal, true); });
  Measure("unforced redraw, nothing changed", 200000, [b] { b->Draw(vb::kLookNormal, false); });
  return 0;
}

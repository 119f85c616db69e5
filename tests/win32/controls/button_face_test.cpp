// The rectangle face: outline, region, style decorations by state, focus mark.
#include <gtest/gtest.h>

#include "button/shapes/face.h"
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::MovePointer;
using host::test::Pixel;
using host::test::Placement;
using host::test::TestParent;

COLORREF Sys(int index) { return GetSysColor(index); }

Button* Plain(host::test::TestParent& parent, std::int32_t style, int widthPx = 89) {
  Button* b = Button::Create(host::test::Placement(parent.hwnd(), 150, 150, widthPx * 15, 375));
  b->SetCaption(L"");
  b->SetButtonStyle(style);
  host::test::Drain();
  return b;
}

TEST(RectangleFace, StyleOneRaisedAndSunkenOnA105By25Button) {
  host::test::TestParent parent;
  Button* b = Plain(parent, 1, 105);
  const COLORREF dark = Sys(COLOR_3DDKSHADOW), shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(shadow, light);
  ASSERT_NE(dark, shadow);
  // Raised: the shadow runs at x = 103 and y = 23, the highlight at x = 0 and y = 0,
  // the outline (dark shadow) is left at x = 104 and y = 24.
  EXPECT_EQ(host::test::Pixel(b, 103, 12), shadow);
  EXPECT_EQ(host::test::Pixel(b, 50, 23), shadow);
  EXPECT_EQ(host::test::Pixel(b, 103, 0), light);
  EXPECT_EQ(host::test::Pixel(b, 0, 23), light);
  EXPECT_EQ(host::test::Pixel(b, 50, 0), light);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), light);
  EXPECT_EQ(host::test::Pixel(b, 104, 12), dark);
  EXPECT_EQ(host::test::Pixel(b, 50, 24), dark);
  EXPECT_EQ(host::test::Pixel(b, 1, 1), Sys(COLOR_BTNFACE));
  // Sunken: dark shadow then shadow at the top and left; the outline is the
  // pressed border colour (highlight).
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(host::test::Pixel(b, 50, 0), dark);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), dark);
  EXPECT_EQ(host::test::Pixel(b, 50, 1), shadow);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), shadow);
  EXPECT_EQ(host::test::Pixel(b, 104, 12), light);
  EXPECT_EQ(host::test::Pixel(b, 103, 12), Sys(COLOR_BTNFACE));
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  ReleaseCapture();
}

TEST(RectangleFace, StyleSevenInnerFrameByState) {
  host::test::TestParent parent;
  host::PropertyBag bag = test::MainWindowBag();
  Button* b = Button::Create(host::test::Placement(parent.hwnd()), &bag);
  const COLORREF white = RGB(255, 255, 255), cyan = RGB(4, 204, 254), lightBlue = RGB(115, 176, 207);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), white);
  EXPECT_EQ(host::test::Pixel(b, 44, 23), white);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x8F8F8Eu);
  SetFocus(b->hwnd());
  host::test::Drain();
  EXPECT_EQ(host::test::Pixel(b, 1, 12), cyan) << "drawn white, then cyan on the same pixels";
  EXPECT_EQ(host::test::Pixel(b, 87, 1), cyan);
  EXPECT_NE(host::test::Pixel(b, 4, 4), 0u) << "style 7 gets no focus mark or dots";
  EXPECT_NE(host::test::Pixel(b, 3, 3), 0u);
  b->SetFocusRect(false);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), white);
  b->SetFocusRect(true);
  host::test::MovePointer(b->hwnd(), 10, 10);
  EXPECT_EQ(host::test::Pixel(b, 0, 12), 0xB17F3Cu);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), cyan);
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(host::test::Pixel(b, 1, 12), lightBlue) << "pressed: no focus colour";
  EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x5C411Du);
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::MovePointer(b->hwnd(), 200, 10);
}

TEST(RectangleFace, StyleSixGlowPrefersHoverOverFocus) {
  host::test::TestParent parent;
  Button* b = Plain(parent, 6);
  const COLORREF orange1 = RGB(220, 154, 16), blue1 = RGB(89, 141, 217);
  EXPECT_NE(host::test::Pixel(b, 10, 23), orange1);
  EXPECT_NE(host::test::Pixel(b, 10, 23), blue1);
  SetFocus(b->hwnd());
  host::test::Drain();
  EXPECT_EQ(host::test::Pixel(b, 10, 23), blue1);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), RGB(129, 169, 226));
  EXPECT_EQ(host::test::Pixel(b, 10, 1), RGB(189, 215, 247));
  EXPECT_EQ(host::test::Pixel(b, 10, 2), RGB(206, 231, 255));
  EXPECT_EQ(host::test::Pixel(b, 2, 12), RGB(181, 209, 240));
  host::test::MovePointer(b->hwnd(), 10, 10);
  EXPECT_EQ(host::test::Pixel(b, 10, 23), orange1);
  EXPECT_EQ(host::test::Pixel(b, 1, 12), RGB(240, 178, 49));
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  // Pressed: only the highlight inside the bottom and right edges.
  EXPECT_EQ(host::test::Pixel(b, 10, 22), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(host::test::Pixel(b, 86, 12), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_NE(host::test::Pixel(b, 10, 23), orange1);
  EXPECT_NE(host::test::Pixel(b, 1, 12), RGB(240, 178, 49));
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::MovePointer(b->hwnd(), 200, 10);
}

TEST(RectangleFace, StylesTwoThreeAndFour) {
  host::test::TestParent parent;
  Button* two = Plain(parent, 2);
  EXPECT_EQ(host::test::Pixel(two, 10, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(host::test::Pixel(two, 88, 12), Sys(COLOR_3DDKSHADOW));

  Button* three = Button::Create(host::test::Placement(parent.hwnd(), 3000, 150));
  three->SetCaption(L"");
  three->SetButtonStyle(3);
  // At rest only the outline, in BackColor: nothing shows on the face.
  EXPECT_EQ(host::test::Pixel(three, 10, 0), Sys(COLOR_BTNFACE));
  EXPECT_EQ(host::test::Pixel(three, 0, 12), Sys(COLOR_BTNFACE));
  host::test::MovePointer(three->hwnd(), 10, 10);
  EXPECT_EQ(host::test::Pixel(three, 10, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(host::test::Pixel(three, 88, 12), Sys(COLOR_3DDKSHADOW)) << "the hover border";
  SendMessageW(three->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(host::test::Pixel(three, 10, 0), Sys(COLOR_3DDKSHADOW));
  SendMessageW(three->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::MovePointer(three->hwnd(), 200, 10);

  Button* four = Button::Create(host::test::Placement(parent.hwnd(), 150, 1500));
  four->SetCaption(L"");
  four->SetButtonStyle(4);
  EXPECT_EQ(host::test::Pixel(four, 87, 12), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(host::test::Pixel(four, 10, 23), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(host::test::Pixel(four, 1, 12), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(host::test::Pixel(four, 88, 12), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(host::test::Pixel(four, 10, 24), Sys(COLOR_BTNHIGHLIGHT));
  four->SetEnabled(false);
  EXPECT_EQ(host::test::Pixel(four, 1, 12), Sys(COLOR_BTNFACE)) << "disabled: the outline alone";
  EXPECT_EQ(host::test::Pixel(four, 0, 12), Sys(COLOR_BTNSHADOW));
}

TEST(RectangleFace, StyleFourFocusBoxSurroundsTheCaption) {
  host::test::TestParent parent;
  Button* b = Button::Create(host::test::Placement(parent.hwnd()));
  b->SetCaption(L"Go");
  b->SetButtonStyle(4);
  SetFocus(b->hwnd());
  host::test::Drain();
  const PixelBox& c = b->CaptionBox();
  ASSERT_GT(c.width, 0);
  const COLORREF box = 0xCC9999;
  EXPECT_EQ(host::test::Pixel(b, c.left - 3, c.top + 2), box);
  EXPECT_EQ(host::test::Pixel(b, c.left + c.width + 1, c.top + 2), box);
  EXPECT_EQ(host::test::Pixel(b, c.left + 2, c.top - 2), box);
  EXPECT_EQ(host::test::Pixel(b, c.left + 2, c.top + c.height + 1), box);
  EXPECT_NE(host::test::Pixel(b, c.left - 4, c.top + 2), box);
  EXPECT_EQ(host::test::Pixel(b, 4, 4), Sys(COLOR_BTNFACE)) << "no focus mark or dots for style 4";
  b->SetCaption(L"");
  EXPECT_NE(host::test::Pixel(b, c.left - 3, c.top + 2), box);
}

TEST(RectangleFace, FocusMarkComesOutDottedGreyAndBlack) {
  host::test::TestParent parent;
  for (std::int32_t style : {0, 5, 8, 1}) {
    Button* b = Plain(parent, style);
    SetFocus(b->hwnd());
    host::test::Drain();
    const COLORREF mark = RGB(209, 209, 209);
    // The mark runs at x = 4 and 84, y = 4 and 20; the dotted pass blackens the
    // points of its even lattice.
    EXPECT_EQ(host::test::Pixel(b, 4, 4), 0u) << style;
    EXPECT_EQ(host::test::Pixel(b, 4, 5), mark) << style;
    EXPECT_EQ(host::test::Pixel(b, 5, 4), mark) << style;
    EXPECT_EQ(host::test::Pixel(b, 84, 20), 0u) << style;
    EXPECT_EQ(host::test::Pixel(b, 83, 20), mark) << style;
    EXPECT_NE(host::test::Pixel(b, 6, 6), 0u) << style;
    b->SetFocusRect(false);
    EXPECT_NE(host::test::Pixel(b, 4, 5), mark) << style;
    DestroyWindow(b->hwnd());
  }
}

TEST(RectangleFace, TheRectangleRemovesTheRegionOfAnEarlierShape) {
  host::test::TestParent parent;
  Button* b = Plain(parent, 7);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  SetWindowRgn(b->hwnd(), CreateRectRgn(0, 0, 10, 10), FALSE);
  b->SetButtonShape(12);  // no renderer: the region stays
  EXPECT_NE(GetWindowRgn(b->hwnd(), probe), ERROR);
  b->SetButtonShape(0);
  EXPECT_EQ(GetWindowRgn(b->hwnd(), probe), ERROR);
  EXPECT_EQ(b->FaceRegion(), nullptr);
  DeleteObject(probe);
}

TEST(RectangleFace, EveryShapeHasItsOwnRendererAndNoOtherValueHasOne) {
  for (std::int32_t shape = 0; shape < 12; ++shape) {
    EXPECT_NE(FaceRendererFor(shape), nullptr) << shape;
    for (std::int32_t other = 0; other < shape; ++other) EXPECT_NE(FaceRendererFor(shape), FaceRendererFor(other));
  }
  EXPECT_EQ(FaceRendererFor(-1), nullptr);
  EXPECT_EQ(FaceRendererFor(12), nullptr);
}

}  // namespace
}  // namespace vantorel::controls::test

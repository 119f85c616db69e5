// Caption and picture layers: placement, state colours and offsets, effects,
// the disabled caption, graded captions and grey pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Bounds;
using host::test::ColourBounds;
using host::test::Drain;
using host::test::ImageHash;
using host::test::MovePointer;
using host::test::Pixel;
using host::test::Placement;
using host::test::SolidPicture;
using host::test::TestParent;
using test::MainButton;

const RECT kWhole{0, 0, 89, 25};

SIZE Extent(Button* b, const std::wstring& text) {
  host::MemoryDc dc;
  host::ScopedSelect font(dc.get(), b->Font()->Handle(96));
  SIZE s{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

bool SameShift(const host::test::Bounds& a, const host::test::Bounds& b, int dx, int dy) {
  return b.left == a.left + dx && b.right == a.right + dx && b.top == a.top + dy && b.bottom == a.bottom + dy;
}

// Every caption pixel and look hash assumes the face itself: Wine draws a font
// it cannot find in another face with other widths, and fakes bold from the
// regular face when the bold file is missing.
TEST(CaptionLayer, MainWindowCaptionsAreInTahomasOwnBoldFace) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  host::MemoryDc memory;
  host::ScopedSelect font(memory.get(), b->Font()->Handle(96));
  HDC dc = memory.get();
  wchar_t face[LF_FACESIZE]{};
  GetTextFaceW(dc, LF_FACESIZE, face);
  EXPECT_STREQ(face, L"Tahoma") << "the prefix lacks Wine's Tahoma fonts";
  std::vector<char> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
  ASSERT_FALSE(buffer.empty());
  auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
  ASSERT_NE(GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), metrics), 0u);
  const auto* style = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<std::uintptr_t>(metrics->otmpStyleName));
  EXPECT_STREQ(style, L"Bold") << "a bold made up from the regular face";
  EXPECT_EQ(metrics->otmTextMetrics.tmWeight, FW_BOLD);
}

// The layout step is pure: the same input gives the same boxes, with nothing
// drawn and nothing stored.
TEST(ButtonLayoutStep, PlacesFromItsInputAloneAndKeepsThePreviousPlaceForUnknownAlignments) {
  LayoutInput in;
  in.width = 89;
  in.height = 25;
  in.captionWidth = 41;
  in.captionHeight = 13;
  in.hasPicture = true;
  in.pictureWidth = 16;
  in.pictureHeight = 16;
  in.previous = ButtonLayout{PixelBox{7, 8, 9, 10}, PixelBox{11, 12, 13, 14}};
  struct Row {
    std::int32_t captionAlign, pictureAlign;
    PixelBox caption, picture;
  };
  const Row rows[] = {
      // Centre: (89 - 41) / 2 = 24, (25 - 13) / 2 = 6; (89 - 16) / 2 = 36.5 -> 36, 4.5 -> 4.
      {2, 2, {24, 6, 41, 13}, {36, 4, 16, 16}},
      // Top: (25 - 13) / 25 + 5 = 5.48 -> 5; left: (89 - 16) / 89 + 4 = 4.82 -> 5.
      {0, 1, {24, 5, 41, 13}, {5, 4, 16, 16}},
      // Right and bottom: 5 pixels from the far edge.
      {3, 4, {43, 6, 41, 13}, {36, 4, 16, 16}},
      // Unknown: the caption keeps its previous box, the picture its place.
      {7, -1, {7, 8, 9, 10}, {11, 12, 16, 16}},
  };
  for (const Row& r : rows) {
    in.captionAlignment = r.captionAlign;
    in.pictureAlignment = r.pictureAlign;
    ButtonLayout out;
    ASSERT_TRUE(ComputeLayout(in, &out).ok());
    EXPECT_EQ(std::tie(out.caption.left, out.caption.top, out.caption.width, out.caption.height),
              std::tie(r.caption.left, r.caption.top, r.caption.width, r.caption.height))
        << r.captionAlign;
    EXPECT_EQ(std::tie(out.picture.left, out.picture.top, out.picture.width, out.picture.height),
              std::tie(r.picture.left, r.picture.top, r.picture.width, r.picture.height))
        << r.pictureAlign;
  }
  // Without a picture its box has no size and keeps its place.
  in.hasPicture = false;
  ButtonLayout out;
  ASSERT_TRUE(ComputeLayout(in, &out).ok());
  EXPECT_EQ(out.picture.left, 11);
  EXPECT_EQ(out.picture.width, 0);
  EXPECT_EQ(out.picture.height, 0);
  // A place that does not fit 32 bits fails and leaves the output alone.
  in.captionAlignment = 2;
  in.width = 1e12;
  out.caption.left = -5;
  EXPECT_EQ(ComputeLayout(in, &out), host::kOverflow);
  EXPECT_EQ(out.caption.left, -5);
}

TEST(CaptionLayer, PlacementByAlignment) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  const SIZE s = Extent(b, L"Replace");
  const double W = 89, H = 25, cw = s.cx, ch = s.cy;
  struct Row {
    std::int32_t align;
    double left, top;
  };
  const Row rows[] = {
      {0, (W - cw) / 2, (H - ch) / H + 5}, {1, (W - cw) / W + 5, (H - ch) / 2}, {2, (W - cw) / 2, (H - ch) / 2},
      {3, W - cw - 5, (H - ch) / 2},       {4, (W - cw) / 2, H - ch - 5},
  };
  for (const Row& r : rows) {
    b->SetCaptionAlignment(r.align);
    const PixelBox& box = b->CaptionBox();
    EXPECT_EQ(box.left, std::nearbyint(r.left)) << r.align;
    EXPECT_EQ(box.top, std::nearbyint(r.top)) << r.align;
    EXPECT_EQ(box.width, s.cx);
    EXPECT_EQ(box.height, s.cy);
    host::test::Bounds ink = host::test::ColourBounds(b, 0, kWhole);
    ASSERT_FALSE(ink.empty()) << r.align;
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.left + box.width);
  }
  // Right and bottom margins are exactly 5 pixels.
  b->SetCaptionAlignment(3);
  EXPECT_EQ(b->CaptionBox().left + s.cx, 89 - 5);
  // An alignment outside 0 to 4 keeps the box of the previous paint.
  b->SetCaptionAlignment(4);
  PixelBox before = b->CaptionBox();
  b->SetCaptionAlignment(9);
  b->SetCaption(L"A much longer caption");
  EXPECT_EQ(b->CaptionBox().left, before.left);
  EXPECT_EQ(b->CaptionBox().width, before.width);
}

TEST(CaptionLayer, StateColoursAndThePressedOffset) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  const host::test::Bounds rest = host::test::ColourBounds(b, 0x000000, kWhole);
  ASSERT_FALSE(rest.empty());
  host::test::MovePointer(b->hwnd(), 10, 10);
  const host::test::Bounds hover = host::test::ColourBounds(b, 0xFF0000, kWhole);
  EXPECT_TRUE(SameShift(rest, hover, 0, 0));
  EXPECT_TRUE(host::test::ColourBounds(b, 0x000000, kWhole).empty());
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  const host::test::Bounds pressed = host::test::ColourBounds(b, 0x0000FF, kWhole);
  EXPECT_TRUE(SameShift(rest, pressed, 1, 1));
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host::test::MovePointer(b->hwnd(), 200, 10);
}

TEST(CaptionLayer, EffectsDrawTheirCopiesAtTheirOffsets) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  const COLORREF e = 0x00FF00;
  b->SetEffectColor(e);
  const host::test::Bounds main = host::test::ColourBounds(b, 0, kWhole);
  EXPECT_TRUE(host::test::ColourBounds(b, e, kWhole).empty()) << "effect 0 draws no copy";

  b->SetCaptionEffect(1);  // raised: the copy up and left, the text over it
  host::test::Bounds copy = host::test::ColourBounds(b, e, kWhole);
  EXPECT_EQ(copy.left, main.left - 1);
  EXPECT_EQ(copy.top, main.top - 1);
  EXPECT_TRUE(SameShift(main, host::test::ColourBounds(b, 0, kWhole), 0, 0));

  b->SetCaptionEffect(2);  // shadow: down and right
  copy = host::test::ColourBounds(b, e, kWhole);
  EXPECT_EQ(copy.right, main.right + 1);
  EXPECT_EQ(copy.bottom, main.bottom + 1);

  b->SetCaptionEffect(3);  // outline: one pixel all round
  copy = host::test::ColourBounds(b, e, kWhole);
  EXPECT_EQ(copy.left, main.left - 1);
  EXPECT_EQ(copy.top, main.top - 1);
  EXPECT_EQ(copy.right, main.right + 1);
  EXPECT_EQ(copy.bottom, main.bottom + 1);

  b->SetCaptionEffect(2);
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  const host::test::Bounds pressedText = host::test::ColourBounds(b, 0x0000FF, kWhole);
  EXPECT_TRUE(SameShift(main, pressedText, 1, 1));
  copy = host::test::ColourBounds(b, e, kWhole);
  EXPECT_EQ(copy.right, main.right + 2) << "pressed shadow at (x+2, y+2)";
  EXPECT_EQ(copy.bottom, main.bottom + 2);
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  ReleaseCapture();

  b->SetCaptionEffect(5);
  EXPECT_TRUE(host::test::ColourBounds(b, e, kWhole).empty());
  EXPECT_TRUE(host::test::ColourBounds(b, 0, kWhole).empty()) << "no caption at all";
}

TEST(CaptionLayer, DisabledCaptionIsEngravedExceptForTheFlatStyles) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  b->SetEnabled(false);
  const PixelBox box = b->CaptionBox();
  const RECT inside{box.left, box.top, box.left + box.width + 2, box.top + box.height + 2};
  const host::test::Bounds once = host::test::ColourBounds(b, shadow, inside);
  ASSERT_FALSE(once.empty());
  EXPECT_TRUE(host::test::ColourBounds(b, light, inside).empty()) << "style 7: once, in button shadow";
  b->SetButtonStyle(1);
  // Twice: the highlight copy one pixel lower and further right (edges are
  // smoothed, so only the extremes are compared).
  const host::test::Bounds lower = host::test::ColourBounds(b, light, inside);
  const host::test::Bounds upper = host::test::ColourBounds(b, shadow, inside);
  ASSERT_FALSE(lower.empty());
  EXPECT_GT(lower.right, upper.right);
  EXPECT_GT(lower.bottom, upper.bottom);
  EXPECT_GT(lower.left, upper.left);
  EXPECT_GT(lower.top, upper.top);
  // A disabled caption is never graded: its colour is a system colour.
  std::uint32_t plain = host::test::ImageHash(b);
  b->SetCaptionStyle(1);
  EXPECT_EQ(host::test::ImageHash(b), plain);
}

TEST(CaptionLayer, GradingAcrossRecoloursPenPixelsByTheirColumn) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  // No caption is drawn (effect 5), but the grading still runs over the caption
  // box, comparing with the pen left by the last paint: the green border of
  // style 0, which is also the face colour.
  const COLORREF green = 0x00FF00;
  b->SetButtonStyle(0);
  b->SetBackColor(green);
  b->SetBorderColor(green);
  b->SetCaptionEffect(5);
  b->SetCaptionStyle(1);
  const PixelBox box = b->CaptionBox();
  for (int k : {box.left, box.left + 10, box.left + box.width}) {
    // F = ForeColor (black), S = ForeColorPressed at rest (red): r = k * 255 / W.
    const COLORREF expected = RGB(static_cast<int>(std::nearbyint(k * 255.0 / 89)), 0, 0);
    EXPECT_EQ(host::test::Pixel(b, k, box.top + 1), expected) << k;
  }
  EXPECT_EQ(host::test::Pixel(b, box.left + box.width + 1, box.top + 1), green) << "one column past the box, no more";
  EXPECT_EQ(host::test::Pixel(b, box.left - 1, box.top + 1), green);
}

TEST(CaptionLayer, GradingDownRecoloursTheTextByItsRow) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  std::vector<POINT> ink;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 89; ++x)
      if (host::test::Pixel(b, x, y) == 0) ink.push_back({x, y});
  ASSERT_FALSE(ink.empty());
  b->SetCaptionStyle(2);
  for (POINT p : ink) {
    // S = ForeColorPressed (red) at the top, F = ForeColor (black) at H.
    const COLORREF expected = RGB(static_cast<int>(std::nearbyint(255 + p.y * (0 - 255) / 25.0)), 0, 0);
    ASSERT_EQ(host::test::Pixel(b, p.x, p.y), expected) << p.x << "," << p.y;
  }
  // With ForeColor equal to ForeColorPressed a resting caption stays as it is.
  b->SetCaptionStyle(0);
  b->SetForeColor(0x0000FF);
  std::uint32_t plain = host::test::ImageHash(b);
  b->SetCaptionStyle(1);
  EXPECT_EQ(host::test::ImageHash(b), plain);
}

TEST(CaptionLayer, CaptionsOutsideTheAnsiCodePageKeepTheirCharacters) {
  host::test::TestParent parent;
  Button* b = MainButton(parent, L"\u0436\u0436\u0436\u0436");
  const int wide = b->CaptionBox().width;
  b->SetCaption(L"????");
  EXPECT_NE(b->CaptionBox().width, wide);
  EXPECT_EQ(wide, Extent(b, L"\u0436\u0436\u0436\u0436").cx);
}

TEST(PictureLayer, PlacementByAlignment) {
  host::test::TestParent parent;
  Button* b = MainButton(parent, L"");
  const COLORREF c = 0x00336699;
  b->SetPicture(host::test::SolidPicture(16, 16, c));
  struct Row {
    std::int32_t align;
    int left, top;
  };
  // (89 - 16) / 2 = 36.5 -> 36; (25 - 16) / 25 + 4 = 4.36 -> 4; (89 - 16) / 89 + 4 = 4.82 -> 5;
  // (25 - 16) / 2 = 4.5 -> 4; 89 - 16 - 5 = 68; 25 - 16 - 5 = 4.
  const Row rows[] = {{0, 36, 4}, {1, 5, 4}, {2, 36, 4}, {3, 68, 4}, {4, 36, 4}};
  for (const Row& r : rows) {
    b->SetPictureAlignment(r.align);
    EXPECT_EQ(b->PictureBox().left, r.left) << r.align;
    EXPECT_EQ(b->PictureBox().top, r.top) << r.align;
    EXPECT_EQ(b->PictureBox().width, 16);
    EXPECT_EQ(host::test::Pixel(b, r.left, r.top), c) << r.align;
    EXPECT_EQ(host::test::Pixel(b, r.left + 15, r.top + 15), c) << r.align;
    EXPECT_NE(host::test::Pixel(b, r.left - 1, r.top), c) << r.align;
    EXPECT_NE(host::test::Pixel(b, r.left + 16, r.top), c) << r.align;
  }
  b->SetPictureAlignment(1);
  b->SetPictureAlignment(7);  // keeps the place of the previous paint
  EXPECT_EQ(b->PictureBox().left, 5);
  EXPECT_EQ(host::test::Pixel(b, 5, 4), c);
  b->SetPicture(nullptr);
  EXPECT_EQ(b->PictureBox().width, 0);
  EXPECT_EQ(b->PictureBox().left, 5);
}

TEST(PictureLayer, StatesMoveOrRepeatThePicture) {
  host::test::TestParent parent;
  Button* b = MainButton(parent, L"");
  const COLORREF c = 0x00336699;
  b->SetPicture(host::test::SolidPicture(16, 16, c));
  b->SetPictureAlignment(1);
  SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(host::test::Pixel(b, 6, 5), c);
  EXPECT_NE(host::test::Pixel(b, 5, 4), c) << "pressed: one pixel down and right";
  SendMessageW(b->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  b->SetButtonStyle(5);
  host::test::MovePointer(b->hwnd(), 30, 10);
  EXPECT_EQ(host::test::Pixel(b, 4, 3), c) << "style 5 hovering: a second copy up and left";
  EXPECT_EQ(host::test::Pixel(b, 20, 19), c);
  host::test::MovePointer(b->hwnd(), 200, 10);
  EXPECT_NE(host::test::Pixel(b, 4, 3), c);
}

TEST(PictureLayer, GreyAtRestFromRedAndWhenDisabledFromBlue) {
  host::test::TestParent parent;
  Button* b = MainButton(parent, L"");
  b->SetPicture(host::test::SolidPicture(16, 16, 0x00336699));
  b->SetPictureAlignment(1);
  b->SetPictureGray(true);
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0x999999u) << "red channel 0x99";
  // The pass takes one column past the picture: the face there is grey too.
  const COLORREF past = host::test::Pixel(b, 21, 6);
  EXPECT_EQ(past & 0xFF, (past >> 8) & 0xFF);
  EXPECT_EQ(past & 0xFF, (past >> 16) & 0xFF);
  EXPECT_NE(host::test::Pixel(b, 22, 6), past);
  host::test::MovePointer(b->hwnd(), 30, 10);
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0x336699u) << "in colour while hovering";
  host::test::MovePointer(b->hwnd(), 200, 10);
  b->SetPictureGray(false);
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0x336699u);
  b->SetEnabled(false);
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0x333333u) << "blue channel 0x33 (51.4 rounds to 51)";
  b->SetPicture(host::test::SolidPicture(16, 16, 0x00FF8000));
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0u) << "255.5 rounds to 256, whose low byte is 0";
  // A pixel equal to the stored BackColor is left alone.
  b->SetPicture(host::test::SolidPicture(16, 16, 0x00F1B39A));
  EXPECT_EQ(host::test::Pixel(b, 5, 4), 0xF1B39Au);
}

}  // namespace
}  // namespace vantorel::controls::test

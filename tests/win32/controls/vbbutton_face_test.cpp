// vbButton's faces: for each type and look, pixels that the primitives and the
// fixed grey palette (scheme 3) determine, the window shapes, the focus marks,
// and drawing only when something changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/dib_image.h"
#include "vbbutton/faces/face_canvas.h"
#include "vbbutton_face_support.h"

namespace vantorel::controls::test {
namespace {

using namespace test::vb_faces;
using host::test::Drain;
using host::test::TestParent;

struct Px {
  int x, y;
  COLORREF c;
};
struct FaceCase {
  int type;
  Look look;
  std::vector<Px> pixels;
};

std::vector<FaceCase> FaceCases() {
  const COLORREF r = Shift(F, 48, 3);  // type 3's raised face
  const COLORREF base = Shift(r, -32, 3);
  auto g3 = [&](int row) { return Shift(r, vb::GradientOffset(25, H, row), 3); };
  auto g3reversed = [&](int row) { return Shift(base, vb::GradientOffset(25, H, H - row), 3); };
  auto g14 = [](int row) { return Shift(HL, vb::GradientOffset(58, H, row)); };
  return {
      // Type 1: bevel at inset 1 inside a dark outline.
      {1, Look::Normal, {{0, 15, DK}, {40, 0, DK}, {1, 15, HL}, {40, 1, HL}, {85, 15, SH}, {40, 30, SH}, {2, 15, HL},
                         {84, 15, SH}, {40, 15, F}}},
      {1, Look::Pressed, {{0, 15, DK}, {1, 15, SH}, {85, 15, HL}, {2, 15, SH}, {84, 15, HL}}},
      {1, Look::Disabled, {{0, 15, DK}, {1, 15, HL}, {85, 15, SH}}},
      // Type 2: bevel at inset 0; the default button framed in dark, bevel inset.
      {2, Look::Normal, {{0, 15, HL}, {40, 0, HL}, {86, 15, DK}, {40, 31, DK}, {1, 15, L}, {85, 15, SH}, {40, 30, SH}}},
      {2, Look::Default, {{0, 15, DK}, {86, 15, DK}, {1, 15, HL}, {85, 15, DK}, {2, 15, L}, {84, 15, SH}}},
      {2, Look::Pressed, {{0, 15, DK}, {86, 15, HL}, {1, 15, SH}, {85, 15, L}}},
      {2, Look::PressedDefault, {{0, 15, DK}, {1, 15, SH}, {85, 15, SH}, {2, 15, F}}},
      {2, Look::Disabled, {{0, 15, HL}, {86, 15, DK}, {1, 15, L}}},
      // Type 3: gradient rows, blue outline, inner corners, and the frames.
      {3, Look::Normal, {{40, 10, g3(10)}, {40, 20, g3(20)}, {0, 15, 0x00733C00}, {1, 1, 0x007B4D10}, {85, 30, 0x007B4D10},
                         {40, 30, Shift(r, -48, 3)}, {40, 29, Shift(r, -32, 3)}, {85, 15, Shift(r, -36, 3)},
                         {84, 15, Shift(r, -24, 3)}, {40, 1, Shift(r, 16, 3)}, {40, 2, Shift(r, 10, 3)},
                         {1, 15, Shift(r, -5, 3)}, {2, 15, Shift(r, -10, 3)}}},
      {3, Look::Hot, {{1, 15, 0x0031B2FF}, {85, 15, 0x0031B2FF}, {40, 29, 0x0031B2FF}, {40, 30, 0x000096E7},
                      {40, 1, 0x00CEF3FF}, {40, 2, 0x008CDBFF}, {2, 15, 0x006BCBFF}, {84, 15, 0x006BCBFF},
                      {40, 10, g3(10)}}},
      {3, Look::Focused, {{1, 15, 0x00E7AE8C}, {40, 30, 0x00EF826B}, {40, 1, 0x00FFE7CE}, {40, 2, 0x00F7D7BD},
                          {2, 15, 0x00F0D1B5}, {84, 15, 0x00F0D1B5}, {40, 4, g3(4)}}},  // no dotted rectangle
      {3, Look::Default, {{1, 15, 0x00E7AE8C}, {40, 30, 0x00EF826B}}},
      {3, Look::Pressed, {{40, 10, g3reversed(10)}, {40, 20, g3reversed(20)}, {0, 15, 0x00733C00},
                          {40, 30, Shift(base, 16, 3)}, {40, 29, Shift(base, 10, 3)}, {85, 15, Shift(base, 5, 3)},
                          {84, 15, r}, {40, 1, Shift(base, -32, 3)}, {40, 2, Shift(base, -24, 3)},
                          {1, 15, Shift(base, -32, 3)}, {2, 15, Shift(base, -22, 3)}}},
      {3, Look::Disabled, {{40, 15, Shift(r, -24, 3)}, {0, 15, Shift(r, -84, 3)}, {1, 1, Shift(r, -72, 3)}}},
      // Type 4: light face, dark frame and corners, highlight and shadow edges.
      // (1, 1) is dark first, then crossed by the face-coloured line (1, 2)-(2, 0).
      {4, Look::Normal, {{40, 15, L}, {0, 15, DK}, {1, 30, DK}, {85, 1, DK}, {85, 30, DK}, {1, 1, F}, {40, 2, HL}, {2, 15, HL}, {3, 3, HL}, {84, 15, F},
                         {40, 29, F}, {85, 15, SH}, {40, 30, SH}, {84, 29, SH}}},
      {4, Look::Pressed, {{40, 15, Shift(SH, -16)}, {0, 15, DK}, {1, 15, Shift(SH, -64)}, {2, 15, Shift(SH, -32)},
                          {84, 15, SH}, {85, 15, Shift(SH, -16)}, {40, 30, Shift(SH, -16)}, {1, 1, DK}}},
      {4, Look::Disabled, {{40, 15, L}, {0, 15, DK}, {85, 15, SH}}},
      // Type 5: flat light face in a highlight and a dark outline.
      {5, Look::Normal, {{40, 15, Shift(F, 12)}, {1, 15, HL}, {86, 15, HL}, {40, 31, HL}, {0, 15, Shift(SH, -26)},
                         {85, 15, Shift(SH, -26)}, {40, 30, Shift(SH, -26)}, {1, 30, Shift(SH, 26)},
                         {85, 1, Shift(SH, 26)}}},
      {5, Look::Pressed, {{40, 15, Shift(SH, 16)}, {0, 15, Shift(SH, -26)}, {86, 15, HL}, {40, 31, HL}}},
      {5, Look::Disabled, {{0, 15, SH}, {86, 15, SH}, {40, 31, SH}, {40, 15, F}}},
      // Type 6: soft bevel of light + 8 and shadow.
      {6, Look::Normal, {{0, 15, Shift(L, 8)}, {1, 15, Shift(L, 8)}, {86, 15, SH}, {85, 15, SH}}},
      {6, Look::Pressed, {{0, 15, SH}, {86, 15, Shift(L, 8)}, {85, 15, Shift(L, 8)}}},
      {6, Look::Disabled, {{0, 15, Shift(L, 8)}, {86, 15, SH}}},
      // Types 7, 8 and 12: flat; 8 and 12 get their border only while hot.
      {7, Look::Normal, {{0, 15, HL}, {86, 15, SH}, {1, 15, F}}},
      {7, Look::Pressed, {{0, 15, SH}, {86, 15, HL}}},
      {7, Look::Disabled, {{0, 15, HL}, {86, 15, SH}}},
      {8, Look::Normal, {{0, 15, F}, {86, 15, F}}},
      {8, Look::Hot, {{0, 15, HL}, {86, 15, SH}, {1, 15, F}}},
      {8, Look::Pressed, {{0, 15, SH}, {86, 15, HL}}},
      {8, Look::Disabled, {{0, 15, F}, {86, 15, F}}},
      {12, Look::Normal, {{0, 15, F}, {86, 15, F}, {1, 15, F}}},
      {12, Look::Hot, {{0, 15, HL}, {86, 15, DK}, {1, 15, L}, {85, 15, SH}}},
      {12, Look::Pressed, {{0, 15, DK}, {86, 15, HL}, {1, 15, SH}, {85, 15, L}}},
      {12, Look::Disabled, {{0, 15, F}}},
      // Type 9: selection colours while hot; outlined when pressed.
      {9, Look::Normal, {{0, 15, F}, {40, 15, F}}},
      {9, Look::Hot, {{0, 15, kSelection}, {86, 15, kSelection}, {40, 15, kSelectionLight}}},
      {9, Look::Pressed, {{0, 15, kSelection}, {40, 15, F}}},
      {9, Look::Disabled, {{0, 15, F}}},
      // Type 13: an ellipse with a two-pixel outline, shadow while hot.
      {13, Look::Normal, {{0, 15, F}, {40, 15, F}}},
      {13, Look::Hot, {{0, 15, SH}, {1, 15, SH}, {2, 15, F}, {43, 0, SH}, {43, 31, SH}}},
      {13, Look::Pressed, {{0, 15, DK}, {1, 15, DK}, {40, 15, Shift(F, -32)}}},
      {13, Look::Disabled, {{0, 15, F}}},
      // Type 14: a gradient from the highlight, framed; light while hot.
      {14, Look::Normal, {{40, 10, g14(10)}, {40, 20, g14(20)}, {0, 15, Shift(SH, -50)}, {1, 15, Shift(F, -9)},
                          {2, 15, HL}, {3, 15, HL}, {40, 2, HL}, {40, 3, HL}, {85, 15, Shift(F, -9)}}},
      {14, Look::Hot, {{40, 15, L}, {0, 15, Shift(SH, -50)}}},
      {14, Look::Pressed, {{40, 15, Shift(F, -9)}, {0, 15, Shift(SH, -48)}, {40, 30, HL}, {85, 15, HL}}},
      {14, Look::Disabled, {{40, 10, g14(10)}, {0, 15, Shift(SH, -50)}, {2, 15, HL}}},
  };
}

TEST(VbButtonFaces, PixelsOfEveryTypeAndLook) {
  host::test::TestParent parent;
  for (const FaceCase& c : FaceCases()) {
    vbButton* b = Make(parent, c.type, c.look);
    for (const Px& p : c.pixels)
      EXPECT_EQ(host::test::Pixel(b, p.x, p.y), p.c)
          << "type " << c.type << " look " << static_cast<int>(c.look) << " at (" << p.x << ", " << p.y << ")";
    DestroyWindow(b->hwnd());
  }
}

TEST(VbButtonFaces, PictureOnlyTypeNeverShowsItsCaption) {
  host::test::TestParent parent;
  for (Look look : {Look::Normal, Look::Hot, Look::Pressed, Look::Disabled, Look::Focused}) {
    vbButton* b = Make(parent, 10, look, L"Hello");
    b->SetPicturePosition(4);  // the caption is not drawn again over the picture either
    EXPECT_EQ(host::test::PixelsNotOf(b, F, {0, 0, W, H}), 0) << static_cast<int>(look);
    DestroyWindow(b->hwnd());
  }
}

TEST(VbButtonFaces, Type9PressedFillDependsOnTheScheme) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 9, Look::Hot);
  b->Draw(vb::kLookPressed, true);
  EXPECT_EQ(host::test::Pixel(b, 40, 15), vb::Lighten(kSelection, 128));  // 0x00BF8080
  EXPECT_EQ(host::test::Pixel(b, 40, 15), 0x00BF8080u);
  // The control's own colours: hot, the face is BackOver, and pressed darkens it.
  b->SetBackColor(0x00204060);
  b->SetBackOver(0x00A0B0C0);
  b->SetColorScheme(2);
  b->ShowAs(true, false);
  b->Draw(vb::kLookPressed, true);
  EXPECT_EQ(host::test::Pixel(b, 40, 15), 0x008090A0u);
}

TEST(VbButtonFaces, SoftBevelHalvesTheShades) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal);
  b->SetBackColor(0x00646464);
  b->SetColorScheme(2);
  EXPECT_EQ(host::test::Pixel(b, 0, 15), Grey(100 + 47));
  b->SetSoftBevel(true);
  EXPECT_EQ(host::test::Pixel(b, 0, 15), Grey(100 + 23));
  EXPECT_EQ(host::test::Pixel(b, 86, 15), Grey(100 - 96)) << "dark shadow: -192 halved";
}

TEST(VbButtonFaces, CheckBoxWithValueAlwaysDrawsPressed) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 1, Look::Normal);
  b->SetCheckBoxBehaviour(true);
  b->SetValue(true);
  b->Draw(vb::kLookNormal, true);
  EXPECT_EQ(host::test::Pixel(b, 1, 15), SH);
  EXPECT_EQ(host::test::Pixel(b, 85, 15), HL);
  b->SetValue(false);
  EXPECT_EQ(host::test::Pixel(b, 1, 15), HL);
}

TEST(VbButtonShapes, CornerPixelsAndTheEllipse) {
  host::test::TestParent parent;
  struct Case {
    int type;
    std::vector<POINT> out;
    std::vector<POINT> in;
  } cases[] = {
      {1, {{0, 0}, {86, 0}, {0, 31}, {86, 31}}, {{1, 0}, {0, 1}, {85, 31}}},
      {14, {{0, 0}, {86, 0}, {0, 31}, {86, 31}}, {{1, 0}, {86, 1}}},
      {5, {{86, 0}, {0, 31}}, {{0, 0}, {86, 31}, {85, 0}}},
      {3, {{0, 0}, {1, 0}, {0, 1}, {85, 0}, {86, 0}, {86, 1}, {0, 30}, {0, 31}, {1, 31}, {86, 30}, {85, 31}},
       {{1, 1}, {2, 0}, {0, 2}, {84, 31}}},
      {4, {{0, 0}, {1, 0}, {0, 1}, {86, 31}}, {{1, 1}, {2, 0}}},
      {13, {{0, 0}, {86, 0}, {0, 31}, {86, 31}, {5, 2}}, {{43, 16}, {0, 16}, {43, 0}, {86, 16}}},
  };
  for (const Case& c : cases) {
    vbButton* b = Make(parent, c.type, Look::Normal);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b->hwnd(), rgn), ERROR) << c.type;
    for (POINT p : c.out) EXPECT_FALSE(PtInRegion(rgn, p.x, p.y)) << c.type << " (" << p.x << ", " << p.y << ")";
    for (POINT p : c.in) EXPECT_TRUE(PtInRegion(rgn, p.x, p.y)) << c.type << " (" << p.x << ", " << p.y << ")";
    DeleteObject(rgn);
    DestroyWindow(b->hwnd());
  }
  for (int type : {2, 6, 7, 8, 9, 10, 11, 12}) {
    vbButton* b = Make(parent, type, Look::Normal);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(b->hwnd(), rgn), ERROR) << type << " is a plain rectangle";
    DeleteObject(rgn);
    DestroyWindow(b->hwnd());
  }
}

TEST(VbButtonFaces, FocusRectangleOnlyWhereTheFaceDrawsIt) {
  host::test::TestParent parent;
  // Type 2 draws it only as the default button; 3 shows focus with its frame; 13
  // has none; 5 frames its caption instead; 10 draws no face at all.
  const std::vector<int> dotted = {1, 6, 7, 8, 9, 11, 12, 14};
  for (int type = 1; type <= 14; ++type) {
    vbButton* b = Make(parent, type, Look::Normal);
    b->ShowAs(false, false);
    vb::Box f = b->FocusBox();
    std::vector<COLORREF> before;
    for (int x = f.left; x < f.right; ++x) before.push_back(host::test::Pixel(b, x, f.top));
    b->ShowAs(false, true);
    int changed = 0;
    for (int x = f.left; x < f.right; ++x) changed += host::test::Pixel(b, x, f.top) != before[x - f.left];
    bool expected = std::find(dotted.begin(), dotted.end(), type) != dotted.end();
    if (type == 3) {
      EXPECT_EQ(changed, 0) << "type 3 shows focus by its frame, not by a dotted rectangle";
      EXPECT_EQ(host::test::Pixel(b, 2, 15), 0x00F0D1B5u);
    } else if (expected) {
      // Dotted: every other pixel of the top edge is inverted.
      EXPECT_GE(changed, (f.right - f.left) / 2 - 1) << type;
    } else {
      EXPECT_EQ(changed, 0) << type;
    }
    DestroyWindow(b->hwnd());
  }
}

TEST(VbButtonFaces, FocusBoxOfEachType) {
  host::test::TestParent parent;
  for (int type = 1; type <= 14; ++type) {
    vbButton* b = Make(parent, type, Look::Normal);
    const vb::Box expected = type == 14                ? vb::Box{6, 6, 83, 28}  // shrunk by 5, moved by 1
                             : type >= 7 && type <= 13 ? vb::Box{3, 3, 84, 29}
                                                       : vb::Box{4, 4, 83, 28};
    EXPECT_EQ(b->FocusBox(), expected) << type;
    DestroyWindow(b->hwnd());
  }
}

TEST(VbFaceCanvas, PutsBackTheBackgroundModeAndTextColourItSets) {
  host::DibImage image(8, 8);
  HDC dc = image.dc();
  vb::ColorSet colours;
  vb::FaceInput in;
  in.w = in.h = 8;
  in.caption = L"x";
  for (int mode : {OPAQUE, TRANSPARENT}) {
    SetBkMode(dc, mode);
    SetTextColor(dc, RGB(1, 2, 3));
    {
      vb::FaceCanvas canvas(dc, colours, in);
      EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << "captions are drawn without a background";
      canvas.Text({0, 0, 8, 8}, RGB(200, 0, 0));
    }
    EXPECT_EQ(GetBkMode(dc), mode);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  }
}

TEST(VbButtonDraw, UnforcedDrawingIsSkippedWhenNothingChanged) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal);
  std::uint32_t n = b->DrawCount();
  b->Draw(vb::kLookNormal, false);
  EXPECT_EQ(b->DrawCount(), n);
  b->Draw(vb::kLookPressed, false);
  EXPECT_EQ(b->DrawCount(), n + 1);
  b->Draw(vb::kLookPressed, false);
  EXPECT_EQ(b->DrawCount(), n + 1);
  b->Draw(vb::kLookPressed, true);
  EXPECT_EQ(b->DrawCount(), n + 2);
  b->DisableRefresh();
  b->SetCaption(L"new");
  b->Draw(vb::kLookNormal, true);
  EXPECT_EQ(b->DrawCount(), n + 2) << "nothing is drawn while drawing is off";
  b->Refresh();
  EXPECT_EQ(b->DrawCount(), n + 3) << "Refresh catches up";
}

}  // namespace
}  // namespace vantorel::controls::test

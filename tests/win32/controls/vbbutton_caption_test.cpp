// vbButton's caption: the styles draw their colours in their rectangles, the
// special effect's copies, type 14's bold default and type 5's focus frame.
#include <gtest/gtest.h>

#include "vbbutton_face_support.h"

namespace vantorel::controls::test {
namespace {

using namespace test::vb_faces;
using host::test::Drain;
using host::test::TestParent;

void ExpectMovedBy(const host::test::Bounds& moved, const host::test::Bounds& from, int d, const char* what) {
  ASSERT_FALSE(moved.empty() || from.empty()) << what;
  EXPECT_EQ(moved.left, from.left + d) << what;
  EXPECT_EQ(moved.right, from.right + d) << what;
  EXPECT_EQ(moved.top, from.top + d) << what;
  EXPECT_EQ(moved.bottom, from.bottom + d) << what;
}

TEST(VbButtonCaption, StylesDrawTheirColoursInTheirRectangles) {
  host::test::TestParent parent;
  // Style 0 and style 2: the pressed caption is the caption moved by (1, 1).
  vbButton* normal = Make(parent, 1, Look::Normal, L"MMMM");
  vbButton* pressed = Make(parent, 1, Look::Pressed, L"MMMM");
  host::test::Bounds text = BoundsOf(normal, DK);
  ExpectMovedBy(BoundsOf(pressed, DK), text, 1, "style 2");
  vb::Box cap = normal->CurrentLayout().caption;
  EXPECT_GE(text.left, cap.left);
  EXPECT_LT(text.right, cap.right);

  // Style 1: hot text, in place (the control's own colours tell text from hot text).
  vbButton* hot = Make(parent, 1, Look::Normal, L"MMMM");
  hot->SetForeColor(0x00000080);
  hot->SetForeOver(0x00008000);
  hot->SetColorScheme(2);
  ExpectMovedBy(BoundsOf(hot, 0x00000080), text, 0, "style 0 in the text colour");
  hot->ShowAs(true, false);
  ExpectMovedBy(BoundsOf(hot, 0x00008000), text, 0, "style 1");

  // Style 3 (type 1 disabled): highlight in the pressed rectangle under shadow in
  // the caption rectangle.
  vbButton* embossed = Make(parent, 1, Look::Disabled, L"MMMM");
  ExpectMovedBy(BoundsOf(embossed, SH), text, 0, "style 3 shadow");
  ExpectMovedBy(BoundsOf(embossed, HL), text, 1, "style 3 highlight");

  // Style 4 (type 6 disabled): shadow only.
  vbButton* flat = Make(parent, 6, Look::Disabled, L"MMMM");
  ExpectMovedBy(BoundsOf(flat, SH), text, 0, "style 4");
  EXPECT_TRUE(BoundsOf(flat, HL).empty());

  // Style 5 (type 3 disabled): raised face - 104, blue in proportion.
  vbButton* faded = Make(parent, 3, Look::Disabled, L"MMMM");
  ExpectMovedBy(BoundsOf(faded, vb::Shift(Shift(F, 48, 3), -104, false, true)), text, 0, "style 5");

  // Style 6 (type 14 disabled): highlight moved, face on top.
  vbButton* carved = Make(parent, 14, Look::Disabled, L"MMMM");
  ExpectMovedBy(BoundsOf(carved, F), text, 0, "style 6 face");

  // Style 7 (type 14 pressed): shadow - 50 moved, highlight in place.
  vbButton* pressedCarved = Make(parent, 14, Look::Pressed, L"MMMM");
  ExpectMovedBy(BoundsOf(pressedCarved, HL, {4, 4, 80, 28}), text, 0, "style 7 highlight");
  ExpectMovedBy(BoundsOf(pressedCarved, Shift(SH, -50)), text, 1, "style 7 shadow");

  // Type 4 pressed writes its caption in light on the sunken fill.
  vbButton* rounded = Make(parent, 4, Look::Pressed, L"MMMM");
  ExpectMovedBy(BoundsOf(rounded, L), text, 1, "type 4 pressed");

  // Type 5 pressed: hot text, not moved.
  vbButton* light = Make(parent, 5, Look::Pressed, L"MMMM");
  ExpectMovedBy(BoundsOf(light, DK), text, 0, "type 5 pressed");
}

TEST(VbButtonCaption, SpecialEffectCopies) {
  host::test::TestParent parent;
  vbButton* plain = Make(parent, 2, Look::Normal, L"MMMM");
  host::test::Bounds text = BoundsOf(plain, DK);
  struct Case {
    int effect;
    COLORREF downRight;  // the copy one pixel right and below
    COLORREF upLeft;     // the copy one pixel left and above, or none
  } cases[] = {
      {1, Shift(F, -40), Shift(F, 40)},
      {2, Shift(F, 40), Shift(F, -40)},
      {3, Shift(F, -40), 0xFFFFFFFF},
      {7, Shift(F, -40), 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    vbButton* b = Make(parent, 2, Look::Normal, L"MMMM");
    b->SetSpecialEffect(c.effect);
    host::test::Bounds down = BoundsOf(b, c.downRight);
    EXPECT_EQ(down.right, text.right + 1) << c.effect;
    EXPECT_EQ(down.bottom, text.bottom + 1) << c.effect;
    if (c.upLeft != 0xFFFFFFFF) {
      host::test::Bounds up = BoundsOf(b, c.upLeft);
      EXPECT_EQ(up.left, text.left - 1) << c.effect;
      EXPECT_EQ(up.top, text.top - 1) << c.effect;
    } else {
      EXPECT_TRUE(BoundsOf(b, Shift(F, 40)).empty()) << c.effect << ": a shadow only";
    }
    DestroyWindow(b->hwnd());
  }
}

TEST(VbButtonCaption, Type14IsBoldOnlyWhileDefaultAndTheFontStaysAsItWas) {
  host::test::TestParent parent;
  vbButton* normal = Make(parent, 14, Look::Normal, L"MMMM");
  vbButton* def = Make(parent, 14, Look::Default, L"MMMM");
  host::test::Bounds thin = BoundsOf(normal, DK), bold = BoundsOf(def, DK);
  ASSERT_FALSE(thin.empty() || bold.empty());
  EXPECT_GT(bold.right - bold.left, thin.right - thin.left) << "bold is wider";
  EXPECT_EQ(def->Font()->Desc().weight, 400);
  EXPECT_FALSE(def->FontBold());
  EXPECT_EQ(def->CurrentLayout().tw, normal->CurrentLayout().tw) << "the layout is put back too";
  vbButton* pressed = Make(parent, 14, Look::PressedDefault, L"MMMM");
  EXPECT_EQ(BoundsOf(pressed, HL, {4, 4, 80, 28}).right - BoundsOf(pressed, HL, {4, 4, 80, 28}).left,
            thin.right - thin.left)
      << "pressed, the caption is not bold";
}

TEST(VbButtonCaption, Type5FramesItsCaptionWhenFocused) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 5, Look::Focused, L"MMMM");
  const vb::Layout& l = b->CurrentLayout();
  constexpr COLORREF kFrame = 0x00CC9999;
  EXPECT_EQ(host::test::Pixel(b, l.caption.left - 2, l.caption.top - 1), kFrame);
  EXPECT_EQ(host::test::Pixel(b, l.caption.left + l.tw + 1, l.caption.top + l.th), kFrame);
  b->ShowAs(false, false);
  EXPECT_TRUE(BoundsOf(b, kFrame, {0, 0, W, H}).empty());
}

}  // namespace
}  // namespace vantorel::controls::test

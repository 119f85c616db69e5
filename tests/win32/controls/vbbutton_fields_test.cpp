// What follows a change of each vbButton property: whether the face is drawn
// again, in which look, and whether the colour set is derived again. A setter
// that redrew in the wrong look, forgot a redraw or drew for nothing would show
// here.
#include <gtest/gtest.h>

#include <functional>

#include "vbbutton_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::TestParent;
using test::VbPlacement;

enum class Drawn { No, InLastLook, InNormalLook };

struct FollowCase {
  const char* what;
  std::function<void(vbButton*)> before;  // the state the change is made in
  std::function<void(vbButton*)> change;
  Drawn drawn;
};

TEST(VbButtonFields, EachChangeIsFollowedByWhatItsPropertyNeeds) {
  const host::PictureRef pic = host::test::SolidPicture(8, 8, RGB(255, 0, 0));
  const auto none = [](vbButton*) {};
  const auto withPicture = [&](vbButton* b) { b->SetPictureNormal(pic); };
  const auto checkBox = [](vbButton* b) { b->SetCheckBoxBehaviour(true); };
  const FollowCase cases[] = {
      {"BackColor", none, [](vbButton* b) { b->SetBackColor(0x00102030); }, Drawn::InLastLook},
      {"BackOver", none, [](vbButton* b) { b->SetBackOver(0x00102030); }, Drawn::InLastLook},
      {"ForeColor", none, [](vbButton* b) { b->SetForeColor(0x00102030); }, Drawn::InLastLook},
      {"ForeOver", none, [](vbButton* b) { b->SetForeOver(0x00102030); }, Drawn::InLastLook},
      {"MaskColor", none, [](vbButton* b) { b->SetMaskColor(0x00102030); }, Drawn::InLastLook},
      {"SoftBevel", none, [](vbButton* b) { b->SetSoftBevel(true); }, Drawn::InLastLook},
      {"ShowFocusRect", none, [](vbButton* b) { b->SetShowFocusRect(false); }, Drawn::InLastLook},
      {"SpecialEffect", none, [](vbButton* b) { b->SetSpecialEffect(2); }, Drawn::InLastLook},
      {"CheckBoxBehaviour", none, [](vbButton* b) { b->SetCheckBoxBehaviour(true); }, Drawn::InLastLook},
      {"PicturePosition", none, [](vbButton* b) { b->SetPicturePosition(2); }, Drawn::InLastLook},
      {"PictureNormal", none, [&](vbButton* b) { b->SetPictureNormal(pic); }, Drawn::InLastLook},
      {"UseMaskColor with a picture", withPicture, [](vbButton* b) { b->SetUseMaskColor(false); }, Drawn::InLastLook},
      {"UseMaskColor without", none, [](vbButton* b) { b->SetUseMaskColor(false); }, Drawn::No},
      {"UseGreyscale with a picture", withPicture, [](vbButton* b) { b->SetUseGreyscale(true); }, Drawn::InLastLook},
      {"UseGreyscale without", none, [](vbButton* b) { b->SetUseGreyscale(true); }, Drawn::No},
      {"PictureOver, not hot", none, [&](vbButton* b) { b->SetPictureOver(pic); }, Drawn::No},
      {"ColorScheme", none, [](vbButton* b) { b->SetColorScheme(3); }, Drawn::InNormalLook},
      {"Caption", none, [](vbButton* b) { b->SetCaption(L"&Go"); }, Drawn::InNormalLook},
      {"ButtonType", none, [](vbButton* b) { b->SetButtonType(7); }, Drawn::InNormalLook},
      {"Enabled", none, [](vbButton* b) { b->SetEnabled(true); }, Drawn::InNormalLook},
      {"Font", none,
       [](vbButton* b) {
         b->SetFont(host::MakeFont(host::FontDesc{L"Tahoma", 10, 700, false, false, false, 0}));
       },
       Drawn::InNormalLook},
      {"Value in check-box mode", checkBox, [](vbButton* b) { b->SetValue(false); }, Drawn::InNormalLook},
      {"Value otherwise", none, [](vbButton* b) { b->SetValue(true); }, Drawn::No},
      {"HandPointer", none, [](vbButton* b) { b->SetHandPointer(true); }, Drawn::No},
      {"MousePointer", none, [](vbButton* b) { b->SetMousePointer(3); }, Drawn::No},
  };
  for (const FollowCase& c : cases) {
    host::test::TestParent parent;
    vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
    ASSERT_TRUE(b);
    c.before(b);
    // Shown pressed, so a redraw in the last look and one in the normal look
    // tell themselves apart.
    b->Draw(vb::kLookPressed, true);
    host::test::Drain();
    const std::uint32_t draws = b->DrawCount();
    c.change(b);
    host::test::Drain();
    const bool drew = b->DrawCount() != draws;
    EXPECT_EQ(drew, c.drawn != Drawn::No) << c.what;
    if (c.drawn != Drawn::No) {
      EXPECT_EQ(b->LastLook(), c.drawn == Drawn::InLastLook ? vb::kLookPressed : vb::kLookNormal) << c.what;
    }
  }
}

TEST(VbButtonFields, ColourChangesDeriveTheColourSetAgain) {
  host::test::TestParent parent;
  vbButton* b = vbButton::Create(VbPlacement(parent.hwnd()));
  ASSERT_TRUE(b);
  b->SetColorScheme(2);  // the control's own colours: the face is BackColor
  b->SetBackColor(0x00336699);
  EXPECT_EQ(b->Colors().face, 0x00336699u);
  b->SetMaskColor(0x00FF00FF);
  EXPECT_EQ(b->Colors().mask, 0x00FF00FFu);
  b->SetForeColor(0x00010203);
  EXPECT_EQ(b->Colors().text, 0x00010203u);
}

}  // namespace
}  // namespace vantorel::controls::test

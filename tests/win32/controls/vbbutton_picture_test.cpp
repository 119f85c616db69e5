// vbButton's pictures: the mask colour, icons' own transparency, the caption
// over a centred picture, the disabled looks and the greyscale and hot pictures.
#include <gtest/gtest.h>

#include "vbbutton_face_support.h"

namespace vantorel::controls::test {
namespace {

using namespace test::vb_faces;
using host::test::Drain;
using host::test::TestParent;

TEST(VbButtonPictures, MaskColourIsTransparentOnlyWithUseMaskColor) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal);
  b->SetBackColor(0x00336699);
  b->SetColorScheme(2);
  // A red square with a two-pixel border in the mask colour, centred at (35, 8).
  host::PictureRef pic = host::test::SolidPicture(16, 16, 0x00C0C0C0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, pic->Bitmap());
  RECT inner{2, 2, 14, 14};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &inner, red);
  DeleteObject(red);
  SelectObject(dc, old);
  DeleteDC(dc);
  b->SetPictureNormal(pic);
  EXPECT_EQ(host::test::Pixel(b, 35, 8), 0x00336699u) << "the face shows through the mask colour";
  EXPECT_EQ(host::test::Pixel(b, 43, 16), RGB(255, 0, 0));
  b->SetUseMaskColor(false);
  EXPECT_EQ(host::test::Pixel(b, 35, 8), 0x00C0C0C0u);
}

TEST(VbButtonPictures, IconsAreMaskedWhereTheyAreClearEvenWithASystemMaskColour) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal);
  b->SetBackColor(0x00336699);
  b->SetColorScheme(2);
  b->SetMaskColor(0x8000000F);  // the system's button face
  std::wstring error;
  host::PictureRef icon = host::Picture::FromBytes(host::test::IconFile(1, 0, 0, 0xFF, 8), &error);
  ASSERT_TRUE(icon) << error;
  b->SetPictureNormal(icon);
  // The icon is centred at (35, 8): its left half is clear and shows the face.
  EXPECT_EQ(host::test::Pixel(b, 36, 12), 0x00336699u);
  EXPECT_EQ(host::test::Pixel(b, 46, 12), RGB(255, 0, 0));
}

TEST(VbButtonPictures, CentredPictureHasTheCaptionDrawnOverIt) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal, L"MMM");
  b->SetPictureNormal(host::test::SolidPicture(60, 20, RGB(0, 0, 255)));
  b->SetPicturePosition(4);
  // The picture covers (13, 6) to (72, 25); the caption's black text is on top.
  host::test::Bounds text = BoundsOf(b, DK, {13, 6, 73, 26});
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(host::test::Pixel(b, 14, 7), RGB(0, 0, 255));
  b->SetPicturePosition(2);
  EXPECT_TRUE(BoundsOf(b, DK, {13, 3, 73, 5}).empty()) << "above: no caption over the picture";
}

TEST(VbButtonPictures, DisabledPictureIsEmbossedOrGrey) {
  host::test::TestParent parent;
  host::PictureRef dark = host::test::SolidPicture(16, 16, RGB(0, 0, 128));  // r + g + b = 128: dark
  vbButton* two = Make(parent, 2, Look::Disabled);
  two->SetPictureNormal(dark);
  EXPECT_EQ(host::test::Pixel(two, 35, 8), SH) << "silhouette in shadow at the place";
  EXPECT_EQ(host::test::Pixel(two, 51, 24), HL) << "silhouette in highlight one pixel down-right";
  vbButton* three = Make(parent, 3, Look::Disabled);
  three->SetPictureNormal(dark);
  // round(0.11 * 128) = 14, one pixel down-right.
  EXPECT_EQ(host::test::Pixel(three, 36, 9), Grey(14));
  EXPECT_EQ(host::test::Pixel(three, 35, 8), Shift(Shift(F, 48, 3), -24, 3));
  vbButton* five = Make(parent, 5, Look::Disabled);
  five->SetPictureNormal(dark);
  EXPECT_EQ(host::test::Pixel(five, 35, 8), SH);
  EXPECT_EQ(host::test::Pixel(five, 51, 24), Shift(F, 0)) << "types 5 and 6: one silhouette only";
  host::PictureRef light = host::test::SolidPicture(16, 16, RGB(200, 200, 0));  // 400: too light to show
  vbButton* lightTwo = Make(parent, 2, Look::Disabled);
  lightTwo->SetPictureNormal(light);
  EXPECT_EQ(host::test::Pixel(lightTwo, 40, 12), F);
}

TEST(VbButtonPictures, GreyscaleUntilHotAndOverPictureWhileHot) {
  host::test::TestParent parent;
  vbButton* b = Make(parent, 2, Look::Normal);
  b->SetPictureNormal(host::test::SolidPicture(16, 16, RGB(255, 0, 0)));
  b->SetUseGreyscale(true);
  EXPECT_EQ(host::test::Pixel(b, 40, 12), Grey(76)) << "round(0.30 * 255) = 76, halves to even";
  b->ShowAs(true, false);
  EXPECT_EQ(host::test::Pixel(b, 40, 12), RGB(255, 0, 0));
  b->SetPictureOver(host::test::SolidPicture(16, 16, RGB(0, 255, 0)));
  EXPECT_EQ(host::test::Pixel(b, 40, 12), RGB(0, 255, 0));
  b->Draw(vb::kLookPressed, true);
  EXPECT_EQ(host::test::Pixel(b, 36, 9), RGB(0, 255, 0)) << "pressed: the over picture moved by one";
  EXPECT_NE(host::test::Pixel(b, 35, 8), RGB(0, 255, 0));
}

}  // namespace
}  // namespace vantorel::controls::test

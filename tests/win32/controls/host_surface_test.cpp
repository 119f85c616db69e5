// The host's drawing surface: sizes in pixels and twips, clearing and the pen,
// the transparent back style, and the pointer shapes.
#include <gtest/gtest.h>

#include "host/gdi_guards.h"
#include "host_probe.h"

namespace vantorel::host::test {
namespace {

using test::Drain;
using test::Probe;
using test::TestParent;

TEST(Surface, SizesInPixelsAndTwips) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  ASSERT_EQ(s.LogPixelsX(), 96) << "the tests expect the default 96 dpi";
  EXPECT_EQ(s.TwipsPerPixelX(), 15.0);
  EXPECT_EQ(s.ScaleWidth(), 89);
  EXPECT_EQ(s.WidthTwips(), 1335);
  EXPECT_EQ(s.HeightTwips(), 375);
  s.SetSizeTwips(300, 1200);
  EXPECT_EQ(s.ScaleWidth(), 20);
  EXPECT_EQ(s.ScaleHeight(), 80);
  EXPECT_EQ(s.HimetricToPixelsX(2540), 96.0);
}

TEST(Surface, ClearsToTheBackColourAndDrawsWithThePen) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  s.SetBackColor(0x8000000F);
  s.Clear();
  EXPECT_EQ(DibToColorRef(s.PixelAt(10, 10)), GetSysColor(COLOR_BTNFACE));
  s.SetBackColor(0x00123456);
  s.Clear();
  EXPECT_EQ(s.PixelAt(0, 0), 0x563412u);
  s.SetForeColor(0x000000FF);
  MoveToEx(s.Hdc(), 0, 3, nullptr);
  LineTo(s.Hdc(), 5, 3);
  EXPECT_EQ(DibToColorRef(s.PixelAt(4, 3)), 0x0000FFu);
  EXPECT_EQ(DibToColorRef(s.PixelAt(5, 3)), 0x123456u) << "the end pixel is not drawn";
  // Figures are outlines only.
  Rectangle(s.Hdc(), 10, 10, 20, 20);
  EXPECT_EQ(DibToColorRef(s.PixelAt(15, 15)), 0x123456u);
  EXPECT_EQ(DibToColorRef(s.PixelAt(10, 15)), 0x0000FFu);
  PictureRef image = s.CurrentImage();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->WidthPixels(), 89);
  EXPECT_EQ(image->WidthHimetric(), 2355);
}

TEST(Surface, TransparentBackStyleShowsTheParentWhereTheMaskColourIs) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  s.SetBackColor(0x00123456);
  s.Clear();
  s.SetForeColor(0);
  MoveToEx(s.Hdc(), 0, 0, nullptr);
  LineTo(s.Hdc(), 10, 0);
  s.SetMaskColor(0x00123456);
  s.CommitMaskPicture();
  s.SetBackStyle(BackStyle::Transparent);
  // Print the window as the screen would show it.
  test::PrintTarget mem(89, 25);
  SendMessageW(p->Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 5, 0), 0u);
  EXPECT_EQ(GetPixel(mem.get(), 5, 5), GetSysColor(COLOR_WINDOW));
  s.SetBackStyle(BackStyle::Opaque);
  SendMessageW(p->Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
  EXPECT_EQ(GetPixel(mem.get(), 5, 5), 0x123456u);
}

TEST(Surface, PointerKindsAndPictures) {
  TestParent parent;
  Probe* p = Probe::Make(parent.hwnd());
  Surface& s = p->surface();
  EXPECT_EQ(s.SetMousePointer(16), kInvalidPropertyValue);
  EXPECT_EQ(s.MousePointer(), 0);
  EXPECT_TRUE(s.SetMousePointer(2).ok());
  EXPECT_EQ(s.CurrentPointer(), LoadCursorW(nullptr, IDC_CROSS));
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(WindowDc().get(), 4, 4));
  PictureRef pic = Picture::FromBitmap(bitmap.get());
  EXPECT_EQ(s.SetMouseIcon(pic), kInvalidPicture);
  EXPECT_FALSE(s.MouseIcon());
  std::wstring error;
  PictureRef hand = Picture::FromBytes(test::IconFile(2, 0, 0, 0), &error);
  EXPECT_TRUE(s.SetMouseIcon(hand).ok());
  EXPECT_TRUE(s.SetMousePointer(99).ok());
  EXPECT_EQ(s.CurrentPointer(), static_cast<HCURSOR>(hand->Icon()));
  EXPECT_EQ(s.SetFont(nullptr), kInvalidPropertyValue);
}

}  // namespace
}  // namespace vantorel::host::test

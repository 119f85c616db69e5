// The host: property bag and its text form, and pictures read from their files.
#include <gtest/gtest.h>

#include "host_support.h"

namespace vantorel::host::test {
namespace {

using test::Drain;
using test::TestParent;

TEST(PropertyBag, KeysMatchWithoutCaseAndKeepTheirOrder) {
  PropertyBag bag;
  bag.Write(L"ButtonStyle", std::int32_t{7});
  bag.Write(L"Caption", std::wstring(L"Replace"));
  bag.Write(L"BUTTONSTYLE", std::int32_t{3});  // replaces where it stands
  ASSERT_EQ(bag.Entries().size(), 2u);
  EXPECT_EQ(bag.Entries()[0].first, L"ButtonStyle");
  EXPECT_EQ(bag.ReadInt32(L"buttonstyle", 1), 3);
  EXPECT_EQ(bag.ReadText(L"caption", L"Button"), L"Replace");
  EXPECT_EQ(bag.ReadText(L"Missing", L"Button"), L"Button");
}

TEST(PropertyBag, WriteWithDefaultOmitsAndRemovesTheDefault) {
  PropertyBag bag;
  bag.Write(L"ForeColorPressed", std::int32_t{0xFF}, std::int32_t{0xFF});
  EXPECT_FALSE(bag.Has(L"ForeColorPressed"));
  bag.Write(L"ForeColorPressed", std::int32_t{0x10}, std::int32_t{0xFF});
  EXPECT_TRUE(bag.Has(L"ForeColorPressed"));
  bag.Write(L"forecolorpressed", std::int32_t{0xFF}, std::int32_t{0xFF});
  EXPECT_FALSE(bag.Has(L"ForeColorPressed"));
  // Without a default a value is always kept, defaults included.
  bag.Write(L"BTYPE", std::int32_t{0});
  EXPECT_TRUE(bag.Has(L"btype"));
}

TEST(PropertyBag, ReadsConvertBetweenNumberKindsAndFallBackWhenTheyCannot) {
  PropertyBag bag;
  bag.Write(L"Big", std::int32_t{70000});
  bag.Write(L"Small", std::int16_t{-3});
  bag.Write(L"Flag", true);
  bag.Write(L"Text", std::wstring(L"x"));
  EXPECT_EQ(bag.ReadInt16(L"Big", 5), 5);  // does not fit 16 bits
  EXPECT_EQ(bag.ReadInt32(L"Small", 0), -3);
  EXPECT_EQ(bag.ReadInt32(L"Flag", 0), -1);  // True is -1
  EXPECT_TRUE(bag.ReadBool(L"Small", false));
  EXPECT_EQ(bag.ReadInt32(L"Text", 9), 9);
  EXPECT_EQ(bag.ReadFont(L"Text", FontDesc{}).name, FontDesc{}.name);
}

// A colour is its OLE_COLOR bits as a signed 32-bit number: a system colour
// (high bit set) is stored negative and reads back as the same colour.
TEST(PropertyBag, ColoursAreTheirBitsAsSignedNumbers) {
  PropertyBag bag;
  const OleColor buttonFace = kSystemColorFlag | COLOR_BTNFACE;
  bag.WriteColor(L"BackColor", buttonFace, 0x00FFFFFF);
  EXPECT_EQ(bag.ReadInt32(L"BackColor", 0), -0x7FFFFFFF - 1 + COLOR_BTNFACE);
  EXPECT_EQ(bag.ReadColor(L"BackColor", 0), buttonFace);
  bag.WriteColor(L"BackColor", 0x00FFFFFF, 0x00FFFFFF);
  EXPECT_FALSE(bag.Has(L"BackColor"));
  EXPECT_EQ(bag.ReadColor(L"BackColor", 0x00123456), 0x00123456u);
  bag.WriteColor(L"MCOL", 0x00C0C0C0);
  EXPECT_EQ(bag.ReadInt32(L"MCOL", 0), 0xC0C0C0);
  bag.Write(L"FCOL", std::int16_t{-1});  // a number of another width converts
  EXPECT_EQ(bag.ReadColor(L"FCOL", 0), 0xFFFFFFFFu);
}

PropertyBag EveryKindBag() {
  PropertyBag bag;
  bag.Write(L"_extentx", std::int32_t{2355});
  bag.Write(L"BackColor", static_cast<std::int32_t>(0x8000000Fu));
  bag.Write(L"Negative", std::int32_t{-7});
  bag.Write(L"MousePointer", std::int16_t{99});
  bag.Write(L"Value", true);
  bag.Write(L"FocusRect", false);
  bag.Write(L"Caption", std::wstring(L"Say \"hi\"\\\n\tnow \u00e9\x01"));
  bag.Write(L"Font", FontDesc{L"Tahoma", 8.25, 700, true, false, true, 204});
  bag.Write(L"Picture", PictureRef{});
  return bag;
}

TEST(BagText, RoundTripsEveryKindOfValue) {
  PropertyBag bag = EveryKindBag();
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(WindowDc().get(), 3, 2));
  PictureRef pic = Picture::FromBitmap(bitmap.get());
  ASSERT_TRUE(pic);
  bag.Write(L"MouseIcon", pic);

  std::wstring text = BagToText(bag);
  std::wstring error;
  auto back = BagFromText(text, &error);
  ASSERT_TRUE(back) << error;
  EXPECT_TRUE(*back == bag) << text;
  EXPECT_EQ(BagToText(*back), text);
  EXPECT_NE(text.find(L"BackColor = i32 0x8000000F\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"Font = font \"Tahoma\" 8.25 700 1 0 1 204\n"), std::wstring::npos);
  PictureRef loaded = back->ReadPicture(L"MouseIcon", nullptr);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->WidthPixels(), 3);
  EXPECT_EQ(loaded->HeightPixels(), 2);
}

TEST(BagText, RefusesBadLinesAndSaysWhere) {
  struct Case {
    const wchar_t* text;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"a = i32 1\nb i32 2\n", L"line 2: expected \"key = type value\""},
      {L"a = x32 1", L"line 1: unknown type 'x32' (expected i32, i16, bool, str, font or pic)"},
      {L"a = i32 4294967296", L"line 1: expected a 32-bit integer"},
      {L"a = i32 0x123456789", L"line 1: expected a 32-bit integer"},
      {L"a = i16 40000", L"line 1: expected a 16-bit integer"},
      {L"# c\n\na = str \"open", L"line 3: expected a quoted text"},
      {L"a = str \"x\" y", L"line 1: unexpected text after the value"},
      {L"a = bool yes", L"line 1: expected true or false"},
      {L"a = i32 1\nA = i32 2", L"line 2: the key A appears twice"},
      {L"a = pic 0A0", L"line 1: expected none or an even number of hex digits"},
      {L"a = pic 424D00", L"line 1: picture: bitmap file too short"},
      {L"a = font \"T\" 0 400 0 0 0 0", L"line 1: expected a font size in points"},
  };
  for (const Case& c : cases) {
    std::wstring error;
    EXPECT_FALSE(BagFromText(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(BagText, AcceptsHexAndCommentsAndWindowsLineEnds) {
  std::wstring error;
  auto bag = BagFromText(L"# stored values\r\n  BackColor =  i32   0x00F1B39A \r\nMousePointer = i16 0x63\r\n", &error);
  ASSERT_TRUE(bag) << error;
  EXPECT_EQ(bag->ReadInt32(L"backcolor", 0), 0x00F1B39A);
  EXPECT_EQ(bag->ReadInt16(L"mousepointer", 0), 99);
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> v) { return {v.begin(), v.end()}; }

TEST(Picture, RefusesFilesWhoseImageRunsPastTheEnd) {
  std::wstring error;
  // An icon directory with one entry whose image would end past the file.
  auto ico = Bytes({0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0x40, 0, 0, 0, 22, 0, 0, 0});
  EXPECT_FALSE(Picture::FromBytes(ico, &error));
  EXPECT_EQ(error, L"the first image runs past the end of the file");
  EXPECT_FALSE(Picture::FromBytes(Bytes({1, 2, 3}), &error));
  EXPECT_EQ(error, L"not a bitmap, icon or cursor file");
}

TEST(Picture, IconsAndCursorsReadFromTheirFiles) {
  std::wstring error;
  PictureRef icon = Picture::FromBytes(test::IconFile(1, 0x33, 0x66, 0x99), &error);
  ASSERT_TRUE(icon) << error;
  EXPECT_EQ(icon->kind(), Picture::Kind::Icon);
  EXPECT_EQ(icon->WidthPixels(), 16);
  EXPECT_EQ(icon->WidthHimetric(), 423);
  BITMAPINFO bmi{};
  bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  GdiObject<HBITMAP> target(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    MemoryDc dc;
    ScopedSelect selected(dc.get(), target.get());
    ASSERT_TRUE(icon->Draw(dc.get(), 2, 3));
    EXPECT_EQ(GetPixel(dc.get(), 2, 3), RGB(0x99, 0x66, 0x33));
    EXPECT_EQ(GetPixel(dc.get(), 17, 18), RGB(0x99, 0x66, 0x33));
    EXPECT_EQ(GetPixel(dc.get(), 1, 3), 0u);
  }

  PictureRef cursor = Picture::FromBytes(test::IconFile(2, 0, 0, 0), &error);
  ASSERT_TRUE(cursor) << error;
  EXPECT_EQ(cursor->kind(), Picture::Kind::Cursor);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor->Icon(), &info));
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 2u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

}  // namespace
}  // namespace vantorel::host::test

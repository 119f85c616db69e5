// The .ico header test and loading the first image.
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

bool Valid(const Bytes& b) { return Is_Valid_Icon_File(MemoryFile(b)); }

int32_t Load(const Bytes& b, IconImage& image) { return Load_First_Image(MemoryFile(b), image); }

TEST(IsValidIconFile, HeaderRules) {
  Bytes good = IconFile({Image(40, 1)});
  EXPECT_TRUE(Valid(good));
  EXPECT_FALSE(Valid(Bytes{}));
  EXPECT_FALSE(Valid(Bytes{0, 0, 1, 0}));  // too short: the count reads as 0
  Bytes cursor = good;
  Put16(cursor, 2, 2);
  EXPECT_FALSE(Valid(cursor));
  Bytes none = good;
  Put16(none, 4, 0);
  EXPECT_FALSE(Valid(none));
  Bytes negative = good;
  Put16(negative, 4, 0x8000);
  EXPECT_FALSE(Valid(negative));
  Bytes reserved = good;
  Put16(reserved, 0, 1);
  EXPECT_FALSE(Valid(reserved));
}

TEST(LoadFirstImage, TakesOnlyTheFirstEntryAndItsBytes) {
  IconSpec small = Image(40, 1, 16), large = Image(4000, 2, 48);
  small.colors = 16;
  small.planes = 0x0302;  // values whose neighbours' bytes differ, so a field read one byte off shows
  small.bits = 0x0504;
  Bytes file = IconFile({small, large});
  IconImage image;
  ASSERT_EQ(Load(file, image), 0);
  EXPECT_EQ(image.bytes, small.image);
  EXPECT_EQ(image.entry.bWidth, 16);
  EXPECT_EQ(image.entry.bHeight, 16);
  EXPECT_EQ(image.entry.bColorCount, 16);
  EXPECT_EQ(image.entry.wPlanes, 0x0302);
  EXPECT_EQ(image.entry.wBitCount, 0x0504);
  EXPECT_EQ(image.entry.dwBytesInRes, 40u);
  EXPECT_EQ(image.entry.dwImageOffset, 6u + 2 * 16);
  EXPECT_TRUE(std::equal(image.entry_bytes.begin(), image.entry_bytes.end(), file.begin() + 6));
}

TEST(LoadFirstImage, RefusesImagesThatAreNotWhollyThere) {
  Bytes good = IconFile({Image(40, 1)});
  IconImage image;

  Bytes short_entry(good.begin(), good.begin() + 6 + 10);  // entry cut short
  EXPECT_EQ(Load(short_entry, image), kNotIconFile);

  Bytes empty = good;
  Put32(empty, 6 + 8, 0);
  EXPECT_EQ(Load(empty, image), kNotIconFile);

  Bytes past_end = good;
  Put32(past_end, 6 + 8, 41);  // one byte more than the file holds
  EXPECT_EQ(Load(past_end, image), kNotIconFile);

  Bytes offset_past_end = good;
  Put32(offset_past_end, 6 + 12, 0xFFFFFFF0u);
  EXPECT_EQ(Load(offset_past_end, image), kNotIconFile);

  // Byte counts of 2 GiB and more run past the end of the file like any other.
  for (uint32_t huge_count : {0x80000000u, 0xFFFFFFFFu}) {
    Bytes huge = good;
    Put32(huge, 6 + 8, huge_count);
    EXPECT_EQ(Load(huge, image), 1003) << huge_count;
  }

  Bytes exact = good;  // ends exactly at the end of the file
  EXPECT_EQ(Load(exact, image), 0);
}

}  // namespace
}  // namespace vantorel::controls::test

// The .ico header test and loading the first image.
#include "test_support.h"
#include "icons/icon_file.h"

namespace vantorel::engine::test {
namespace {

bool Valid(const Bytes& b) { return Is_Valid_Icon_File(MemoryFile(b)); }

int32_t Load(const Bytes& b, IconImage& image) { return LoadFirstImage(MemoryFile(b), image); }

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
  // The count is unsigned: 32,768 is a count like any other.
  Bytes many = good;
  Put16(many, 4, 0x8000);
  EXPECT_TRUE(Valid(many));
  Bytes reserved = good;
  Put16(reserved, 0, 1);
  EXPECT_FALSE(Valid(reserved));
}

// Every field of a directory entry gets a value unlike its neighbours', so a
// field read from the wrong offset, or not read at all, shows.
IconFileEntry Distinct(uint32_t size, uint8_t seed, uint8_t width, uint8_t height, uint8_t colors) {
  IconFileEntry s = Image(size, seed, width);
  s.height = height;
  s.colors = colors;
  s.planes = static_cast<uint16_t>(0x0302 + seed);
  s.bits = static_cast<uint16_t>(0x0504 + seed);
  return s;
}

// `index`: which entry of the file the image was loaded from.
void ExpectEntry(const IconImage& image, const Bytes& file, size_t index, const IconFileEntry& want, uint8_t reserved,
                 uint32_t offset) {
  EXPECT_EQ(image.bytes, want.image);
  EXPECT_EQ(image.entry.bWidth, want.width);
  EXPECT_EQ(image.entry.bHeight, want.height);
  EXPECT_EQ(image.entry.bColorCount, want.colors);
  EXPECT_EQ(image.entry.bReserved, reserved);
  EXPECT_EQ(image.entry.wPlanes, want.planes);
  EXPECT_EQ(image.entry.wBitCount, want.bits);
  EXPECT_EQ(image.entry.dwBytesInRes, want.image.size());
  EXPECT_EQ(image.entry.dwImageOffset, offset);
  EXPECT_TRUE(std::equal(image.entry_bytes.begin(), image.entry_bytes.end(), file.begin() + 6 + 16 * index));
}

TEST(LoadFirstImage, TakesOnlyTheFirstEntryAndItsBytes) {
  IconFileEntry small = Distinct(40, 1, 16, 24, 5), large = Distinct(4000, 2, 48, 40, 7);
  Bytes file = IconFile({small, large});
  file[6 + 3] = 9;  // bReserved, which the reader keeps as it is
  IconImage image;
  ASSERT_EQ(Load(file, image), 0);
  ExpectEntry(image, file, 0, small, 9, 6 + 2 * 16);
}

TEST(LoadIconImages, ReadsEveryEntrysFields) {
  IconFileEntry small = Distinct(40, 1, 16, 24, 5), large = Distinct(4000, 2, 48, 40, 7);
  Bytes file = IconFile({small, large});
  file[6 + 16 + 3] = 11;
  std::vector<IconImage> images;
  std::string why;
  ASSERT_EQ(LoadIconImages(MemoryFile(file), images, why), 0) << why;
  ASSERT_EQ(images.size(), 2u);
  ExpectEntry(images[0], file, 0, small, 0, 6 + 2 * 16);
  ExpectEntry(images[1], file, 1, large, 11, 6 + 2 * 16 + 40);
}

// An image starts after the header and the directory: one that starts at
// the file's first byte, or is the whole file, is the file's own header read
// as an image, and is refused.
TEST(LoadFirstImage, AnImageMayNotStartOverTheHeader) {
  Bytes file = IconFile({Image(40, 1)});
  Put32(file, 6 + 12, 0);
  IconImage image;
  EXPECT_EQ(Load(file, image), kNotIconFile);
  Put32(file, 6 + 8, static_cast<uint32_t>(file.size()));
  std::vector<IconImage> images;
  std::string why;
  EXPECT_EQ(LoadIconImages(MemoryFile(file), images, why), kNotIconFile);
  EXPECT_EQ(why, "Image 1 of 1 starts inside the file's header or directory");
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
}  // namespace vantorel::engine::test

// Where an icon file's images may lie: each wholly after the header and the
// directory, none sharing a byte with another, however much slack the file
// has; and the image count is an unsigned 16-bit number.
#include "test_support.h"
#include "icons/icon_file.h"

namespace vantorel::engine::test {
namespace {

constexpr uint32_t kImageBytes = 40;

// Three images of 40 bytes after the directory, then `slack` spare bytes, so
// that the sum of the sizes alone never gives an overlap away.
Bytes ThreeImages(uint32_t slack) {
  Bytes f = IconFile({Image(kImageBytes, 1, 16), Image(kImageBytes, 2, 32), Image(kImageBytes, 3, 48)});
  f.resize(f.size() + slack, 0);
  return f;
}

uint32_t OffsetField(int image) { return 6 + 16 * static_cast<uint32_t>(image) + 12; }
uint32_t SizeField(int image) { return 6 + 16 * static_cast<uint32_t>(image) + 8; }

// Both readers of icon files: the first image alone (the plain replacement)
// and every image (--all-sizes, --add-sizes).
int32_t FirstImageResult(const Bytes& f) {
  MemoryFile file(f);
  IconImage image;
  if (!Is_Valid_Icon_File(file)) return kNotIconFile;
  return LoadFirstImage(file, image);
}

int32_t AllImagesResult(const Bytes& f, std::string& why) {
  MemoryFile file(f);
  std::vector<IconImage> images;
  return LoadIconImages(file, images, why);
}

TEST(IconFileRanges, ImagesMayNotOverlapEachOtherOrTheDirectory) {
  const uint32_t directory_end = 6 + 3 * 16;
  const uint32_t first = directory_end, second = first + kImageBytes;
  struct Case {
    const char* what;
    int image;  // whose offset (and size, when not 0) is set
    uint32_t offset, size;
    bool first_image_ok, all_ok;
    const char* why;  // the reason --all-sizes gives
  } cases[] = {
      {"as laid out", 0, first, 0, true, true, ""},
      {"two entries name the same bytes", 1, first, 0, true, false, "Image 1 of 3 and image 2 share bytes"},
      {"one starts inside another", 2, second + kImageBytes - 1, 0, true, false,
       "Image 2 of 3 and image 3 share bytes"},
      {"one lies inside a longer one", 0, first, 3 * kImageBytes, true, false, "Image 1 of 3 and image 2 share bytes"},
      {"moved into the slack, touching its neighbour", 2, second + kImageBytes, 0, true, true, ""},
      {"moved into the slack, past the others", 1, directory_end + 3 * kImageBytes + 8, 0, true, true, ""},
      {"the first at offset 0", 0, 0, 0, false, false, "Image 1 of 3 starts inside the file's header or directory"},
      {"the first over the directory's last byte", 0, directory_end - 1, 0, false, false,
       "Image 1 of 3 starts inside the file's header or directory"},
      {"another over the header", 2, 4, 0, true, false, "Image 3 of 3 starts inside the file's header or directory"},
  };
  for (const Case& c : cases) {
    Bytes f = ThreeImages(3 * kImageBytes + 16);
    Put32(f, OffsetField(c.image), c.offset);
    if (c.size) Put32(f, SizeField(c.image), c.size);
    EXPECT_EQ(FirstImageResult(f), c.first_image_ok ? kSuccess : kNotIconFile) << c.what;
    std::string why;
    EXPECT_EQ(AllImagesResult(f, why), c.all_ok ? kSuccess : kNotIconFile) << c.what;
    EXPECT_EQ(why, c.why) << c.what;
  }
}

// The count is unsigned: 32,768 images and more are an icon file, 0 is not.
TEST(IconFileRanges, TheImageCountIsUnsigned) {
  for (uint32_t count : {1u, 32767u, 32768u, 65535u}) {
    Bytes f(6 + 16 * count, 0);
    Put16(f, 2, 1);
    Put16(f, 4, static_cast<uint16_t>(count));
    // Every entry names one byte of its own after the directory.
    for (uint32_t i = 0; i < count; ++i) {
      f[6 + 16 * i] = 16;
      Put32(f, 6 + 16 * i + 8, 1);
      Put32(f, 6 + 16 * i + 12, 6 + 16 * count + i);
    }
    f.resize(f.size() + count, 0xAB);
    EXPECT_EQ(FirstImageResult(f), kSuccess) << count;
    std::string why;
    MemoryFile file(f);
    std::vector<IconImage> images;
    ASSERT_EQ(LoadIconImages(file, images, why), kSuccess) << count << ": " << why;
    EXPECT_EQ(images.size(), count);
  }
  Bytes none = IconFile({Image(kImageBytes, 1)});
  Put16(none, 4, 0);
  std::string why;
  EXPECT_EQ(FirstImageResult(none), kNotIconFile);
  EXPECT_EQ(AllImagesResult(none, why), kNotIconFile);
}

}  // namespace
}  // namespace vantorel::engine::test

// The pure steps of --all-sizes and --extract: sizes, the best match, the
// ranking when room is short, packing, and icon files read and written.
#include "test_support.h"
#include "icons/size_choice.h"

namespace vantorel::engine::test {
namespace {

using engine::IconSize;
using engine::Stretch;

IconSize S(int side, int bits) { return {side, side, bits}; }

TEST(BestImage, FollowsTheRuleInItsOrder) {
  struct Case {
    const char* what;
    std::vector<IconSize> images;
    IconSize wanted;
    size_t expected;
  };
  const std::vector<Case> cases = {
      {"same size, same depth", {S(32, 4), S(32, 32), S(32, 8)}, S(32, 8), 2},
      {"same size, nearest depth", {S(32, 4), S(32, 32), S(32, 8)}, S(32, 24), 1},
      {"same size beats a nearer depth elsewhere", {S(48, 8), S(32, 4)}, S(32, 8), 1},
      {"duplicate sizes: the first", {S(16, 32), S(16, 32)}, S(16, 32), 0},
      {"a depth tie: the first", {S(16, 4), S(16, 12)}, S(16, 8), 0},
      {"unknown wanted depth: the richest", {S(32, 4), S(32, 32)}, S(32, 0), 1},
      {"nearest larger, not nearest", {S(16, 32), S(256, 32), S(48, 32), S(32, 32)}, S(24, 32), 3},
      {"nearest larger, then its depth", {S(48, 4), S(48, 32), S(64, 32)}, S(40, 32), 1},
      {"larger in both directions", {IconSize{64, 16, 32}, S(48, 32)}, S(32, 32), 1},
      {"nothing larger: the largest", {S(16, 32), S(48, 32), S(32, 32)}, S(256, 32), 1},
      {"the largest, then its depth", {S(48, 8), S(48, 32)}, S(64, 32), 1},
      {"same size is width and height", {IconSize{16, 32, 32}, S(16, 32)}, S(16, 32), 1},
      {"larger counts an equal side", {IconSize{16, 20, 32}, S(32, 32)}, S(16, 32), 0},
      {"nearest larger: an equal area keeps the first", {S(32, 32), S(32, 32)}, S(16, 32), 0},
      {"the largest: an equal area keeps the first", {S(32, 32), S(32, 32)}, S(64, 32), 0},
      // Unknown depth is measured from 32: 16 and 48 bits are equally far.
      {"unknown wanted depth: a tie keeps the first", {S(32, 16), S(32, 48)}, S(32, 0), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(engine::BestImage(c.images, c.wanted), c.expected) << c.what;
}

TEST(SizeRank, TheSizesWindowsShowsMostComeFirst) {
  EXPECT_EQ(engine::SizeRank(S(16, 32)), 0);
  EXPECT_EQ(engine::SizeRank(S(32, 4)), 1);
  EXPECT_EQ(engine::SizeRank(S(48, 32)), 2);
  EXPECT_EQ(engine::SizeRank(S(256, 32)), 3);
  for (IconSize other : {S(24, 32), S(64, 32), S(20, 32), IconSize{16, 32, 32}}) {
    EXPECT_EQ(engine::SizeRank(other), 4) << other.width << "x" << other.height;
  }
}

TEST(EntrySize, ZeroIs256AndColoursGiveTheDepth) {
  engine::SharedEntry e{};
  e[4] = 1;  // wPlanes
  e[6] = 32;
  EXPECT_EQ(engine::EntrySize(e), (IconSize{256, 256, 32}));
  e[0] = 48, e[1] = 24, e[6] = 0;
  for (auto [colors, bits] : {std::pair{16, 4}, {2, 1}, {0, 0}}) {
    e[2] = static_cast<uint8_t>(colors);
    EXPECT_EQ(engine::EntrySize(e), (IconSize{48, 24, bits})) << colors;
  }
}

Bytes BmpHeader(int32_t width, int32_t height, uint16_t bits, uint32_t header_size = 40) {
  Bytes b(header_size, 0);
  Put32(b, 0, header_size);
  Put32(b, 4, static_cast<uint32_t>(width));
  Put32(b, 8, static_cast<uint32_t>(height));
  Put16(b, 12, 1);
  Put16(b, 14, bits);
  return b;
}

Bytes PngHeader(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour_type) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, height}) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  b.insert(b.end(), {depth, colour_type, 0, 0, 0});
  return b;
}

TEST(ImageHeaderSize, BitmapsCountTheirMaskPngsTheirChannels) {
  struct Case {
    const char* what;
    Bytes bytes;
    IconSize expected;
  };
  Bytes png_cut = PngHeader(256, 256, 8, 6);
  png_cut.resize(25);
  Bytes bmp_cut = BmpHeader(48, 96, 32);
  bmp_cut.resize(39);
  Bytes bitfields = BmpHeader(16, 32, 32);
  Put32(bitfields, 16, 3);  // biCompression, right after the bit count
  Bytes png_exact = PngHeader(48, 48, 8, 6);
  png_exact.resize(26);
  Bytes png_whole = PngHeader(48, 48, 8, 6);
  png_whole.resize(100);  // its first 4 bytes, read as a bitmap's biSize, exceed 40
  // Nothing said is spelt out as 0, 0, 0: IconSize{} would follow a changed default.
  const std::vector<Case> cases = {
      {"bitmap: height holds the mask", BmpHeader(48, 96, 32), {48, 48, 32}},
      {"bitmap with a larger header", BmpHeader(16, 32, 8, 108), {16, 16, 8}},
      {"bitmap header cut short", bmp_cut, {0, 0, 0}},
      {"bitmap with no width", BmpHeader(0, 96, 32), {0, 0, 0}},
      {"bitmap upside down", BmpHeader(48, -96, 32), {0, 0, 0}},
      {"PNG RGBA", PngHeader(256, 256, 8, 6), {256, 256, 32}},
      {"PNG RGB", PngHeader(64, 64, 8, 2), {64, 64, 24}},
      {"PNG palette", PngHeader(32, 32, 4, 3), {32, 32, 4}},
      {"PNG cut short", png_cut, {0, 0, 0}},
      {"neither", Bytes(64, 0x55), {0, 0, 0}},
      {"bitmap of one pixel", BmpHeader(1, 2, 32), {1, 1, 32}},
      {"bitmap 256 wide", BmpHeader(256, 512, 32), {256, 256, 32}},
      {"bitmap at the largest size", BmpHeader(0xFFFF, 0x1FFFF, 32), {0xFFFF, 0xFFFF, 32}},
      {"bitmap wider than that", BmpHeader(0x10000, 64, 32), {0, 0, 0}},
      {"bitmap taller than that", BmpHeader(16, 0x20000, 32), {0, 0, 0}},
      {"bitmap of no height", BmpHeader(16, 0, 32), {0, 0, 0}},
      {"bitmap height with only the top bit", BmpHeader(48, static_cast<int32_t>(0x80000060u), 32), {0, 0, 0}},
      {"bitmap with bitfields", bitfields, {16, 16, 32}},
      {"PNG ending with IHDR", png_exact, {48, 48, 32}},
      {"PNG with chunks after IHDR", png_whole, {48, 48, 32}},
      {"PNG at the largest size", PngHeader(0xFFFF, 0xFFFF, 8, 6), {0xFFFF, 0xFFFF, 32}},
      {"PNG 4096 high", PngHeader(16, 4096, 8, 6), {16, 4096, 32}},
      {"PNG taller than that", PngHeader(16, 0x10000, 8, 6), {0, 0, 0}},
      {"PNG width with only the top bit", PngHeader(0x80000010u, 16, 8, 6), {0, 0, 0}},
      {"PNG grey", PngHeader(16, 16, 8, 0), {16, 16, 8}},
      {"PNG grey and alpha", PngHeader(16, 16, 8, 4), {16, 16, 16}},
      {"PNG of an unknown colour type", PngHeader(16, 16, 8, 5), {16, 16, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(engine::ImageHeaderSize(c.bytes.data(), c.bytes.size()), c.expected) << c.what;
  }
}

// An icon file's entry that states no depth (no bit count, no colours) takes
// the one its image's header states.
TEST(DescribedSize, TheImagesOwnDepthWhenTheEntryHasNone) {
  for (auto [bits, colors, expected] : {std::tuple{0, 0, 24}, {0, 16, 4}, {8, 0, 8}}) {
    IconFileEntry entry = Image(0, 1, 16);
    entry.image = BmpHeader(16, 32, 24);
    entry.image.resize(200);
    entry.bits = static_cast<uint16_t>(bits);
    entry.colors = static_cast<uint8_t>(colors);
    MemoryFile file(IconFile({entry}));
    engine::IconImage image;
    ASSERT_EQ(engine::LoadFirstImage(file, image), 0);
    EXPECT_EQ(engine::DescribedSize(image), (IconSize{16, 16, expected})) << bits << " " << colors;
  }
}

TEST(PackImages, BoundaryPairsAndOrder) {
  using Offsets = std::optional<std::vector<int64_t>>;
  auto at = [](std::vector<int64_t> v) { return Offsets(std::move(v)); };
  // Fits exactly / one byte too many.
  EXPECT_EQ(engine::PackImages({{0x1000, 0x1064}}, {100}), at({0x1000}));
  EXPECT_EQ(engine::PackImages({{0x1000, 0x1064}}, {101}), std::nullopt);
  // Images start on a 4-byte boundary: the room is counted from there.
  EXPECT_EQ(engine::PackImages({{0x1001, 0x1068}}, {100}), at({0x1004}));
  EXPECT_EQ(engine::PackImages({{0x1001, 0x1068}}, {101}), std::nullopt);
  // The stretch that leaves least room over; of two that leave the same, the first.
  EXPECT_EQ(engine::PackImages({{0, 1000}, {2000, 2100}}, {100}), at({2000}));
  EXPECT_EQ(engine::PackImages({{0, 200}, {1000, 1200}}, {100}), at({0}));
  // The largest first: in the given order the small image would take the
  // only stretch the large one fits.
  EXPECT_EQ(engine::PackImages({{0, 100}, {200, 260}}, {50, 100}), at({200, 0}));
  // Several in one stretch, none overlapping, each aligned.
  EXPECT_EQ(engine::PackImages({{0, 309}}, {101, 101, 101}), at({0, 104, 208}));
  EXPECT_EQ(engine::PackImages({{0, 308}}, {101, 101, 101}), std::nullopt);
  EXPECT_EQ(engine::PackImages({}, {1}), std::nullopt);
  EXPECT_EQ(engine::PackImages({}, {}), at({}));
}

struct ChoiceCase {
  const char* what;
  std::vector<IconSize> images;
  std::vector<uint32_t> bytes;
  std::vector<IconSize> wants;
  int64_t room;
  std::vector<size_t> given;       // per want
  std::vector<bool> substitute;    // per want
};

TEST(ChooseImages, TheBestSetThatFits) {
  const std::vector<IconSize> four = {S(16, 32), S(32, 32), S(48, 32), S(64, 32)};
  const std::vector<uint32_t> four_bytes = {100, 400, 900, 1600};
  const std::vector<ChoiceCase> cases = {
      {"room for all", four, four_bytes, {S(16, 32), S(32, 32), S(48, 32), S(64, 32)}, 3000, {0, 1, 2, 3},
       {false, false, false, false}},
      // 64 is the largest but ranks below 16, 32 and 48; they fill 1,400 of 1,500.
      {"64 left out", four, four_bytes, {S(16, 32), S(32, 32), S(48, 32), S(64, 32)}, 1500, {0, 1, 2, 2},
       {false, false, false, true}},
      // 48 does not fit beside 16 and 32; 24 ranks lower but still fits after it.
      {"a lower one that still fits is kept", {S(16, 32), S(32, 32), S(48, 32), S(24, 32)}, {100, 400, 900, 200},
       {S(16, 32), S(32, 32), S(48, 32), S(24, 32)}, 800, {0, 1, 1, 3}, {false, false, true, false}},
      {"256 before 24", {S(24, 32), S(256, 32)}, {300, 900}, {S(24, 32), S(256, 32)}, 1000, {1, 1},
       {true, false}},
      {"among equal ranks the one more icons want", {S(24, 32), S(64, 32)}, {300, 300},
       {S(64, 32), S(24, 32), S(24, 32)}, 400, {0, 0, 0}, {true, false, false}},
      {"no best image fits: the smallest for all", {S(32, 32), S(16, 32)}, {400, 100}, {S(32, 32)}, 150, {1},
       {true}},
  };
  for (const ChoiceCase& c : cases) {
    engine::SizeChoice choice;
    ASSERT_TRUE(engine::ChooseImages(c.images, c.bytes, c.wants, {{0, c.room}}, choice)) << c.what;
    EXPECT_EQ(choice.image_of_icon, c.given) << c.what;
    EXPECT_EQ(choice.substitute, c.substitute) << c.what;
    // Every image given is written, once, and they fit the room together.
    int64_t used = 0;
    for (size_t k = 0; k < choice.written.size(); ++k) {
      EXPECT_EQ(std::count(choice.written.begin(), choice.written.end(), choice.written[k]), 1) << c.what;
      EXPECT_LE(choice.offsets[k] + c.bytes[choice.written[k]], c.room) << c.what;
      used += c.bytes[choice.written[k]];
    }
    EXPECT_LE(used, c.room) << c.what;
    for (size_t g : choice.image_of_icon) {
      EXPECT_NE(std::find(choice.written.begin(), choice.written.end(), g), choice.written.end()) << c.what;
    }
  }
  engine::SizeChoice none;
  EXPECT_FALSE(engine::ChooseImages({S(32, 32), S(16, 32)}, {400, 100}, {S(32, 32)}, {{0, 99}}, none));
  EXPECT_FALSE(engine::ChooseImages({}, {}, {S(32, 32)}, {{0, 1000}}, none)) << "no image is no choice";
}

int32_t Load(const Bytes& file, std::vector<engine::IconImage>& images, std::string& why) {
  MemoryFile f(file);
  return engine::LoadIconImages(f, images, why);
}

TEST(LoadIconImages, EveryImageWholeOrTheFileIsRefused) {
  IconFileEntry a = Image(100, 1, 16), b = Image(200, 2, 32), c = Image(300, 3, 48);
  Bytes good = IconFile({a, b, c});
  std::vector<engine::IconImage> images;
  std::string why;
  ASSERT_EQ(Load(good, images, why), kSuccess) << why;
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(images[2].bytes, c.image);
  EXPECT_EQ(images[1].entry.bWidth, 32);

  struct Case {
    const char* what;
    Bytes file;
    std::string why;
  };
  Bytes no_images = good;
  Put16(no_images, 4, 0);
  Bytes cut_directory = IconFile({a});
  Put16(cut_directory, 4, 40);
  Bytes past_end = good;
  Put32(past_end, 6 + 16 + 12, static_cast<uint32_t>(good.size()) - 199);  // image 2 ends one byte past
  Bytes huge = good;
  Put32(huge, 6 + 16 * 2 + 8, 0x80000000u);
  Bytes empty = good;
  Put32(empty, 6 + 16 + 8, 0);
  const std::vector<Case> cases = {
      {"no images", no_images, "Its header is not that of an icon file with at least one image"},
      {"directory cut short", cut_directory, "Its directory of 40 images runs past the end of the file"},
      {"an image one byte past the end", past_end, "Image 2 of 3 runs past the end of the file"},
      {"a byte count of 2 GiB", huge, "Image 3 of 3 runs past the end of the file"},
      {"an empty image", empty, "Image 2 of 3 is empty"},
  };
  for (const Case& k : cases) {
    std::vector<engine::IconImage> none;
    EXPECT_EQ(Load(k.file, none, why), kNotIconFile) << k.what;
    EXPECT_EQ(why, k.why) << k.what;
    EXPECT_TRUE(none.empty()) << k.what;
  }
}

TEST(LoadIconImages, ImagesThatShareBytesCannotMakeItLoadMoreThanTheFile) {
  // 1,000 entries that all name the same 1,000 bytes: loading them would take
  // a thousand times the file.
  Bytes file(6 + 16 * 1000, 0);
  Put16(file, 2, 1);
  Put16(file, 4, 1000);
  uint32_t image_at = static_cast<uint32_t>(file.size());
  file.resize(file.size() + 1000, 7);
  for (int i = 0; i < 1000; ++i) {
    Put32(file, 6 + 16 * i + 8, 1000);
    Put32(file, 6 + 16 * i + 12, image_at);
  }
  std::vector<engine::IconImage> images;
  std::string why;
  EXPECT_EQ(Load(file, images, why), kNotIconFile);
  EXPECT_EQ(why, "Image 18 of 1000 overlaps another image");
}

TEST(IconFileBytes, AValidFileWithTrueByteCounts) {
  engine::IconFileImage small, large;
  small.entry = {16, 16, 0, 0, 1, 0, 32, 0, 0xEE, 0xEE, 0, 0};  // a stale byte count
  small.bytes = Bytes(101, 1);
  large.entry = {0, 0, 0, 0, 1, 0, 32, 0, 5, 0, 0, 0};
  large.bytes = Bytes(300, 2);
  Bytes file = engine::IconFileBytes({small, large});
  ASSERT_EQ(file.size(), 6u + 2 * 16 + 101 + 300);
  EXPECT_EQ(Get16(file, 0), 0);
  EXPECT_EQ(Get16(file, 2), 1);
  EXPECT_EQ(Get16(file, 4), 2);
  EXPECT_EQ(Get32(file, 6 + 8), 101u);
  EXPECT_EQ(Get32(file, 6 + 12), 38u);
  EXPECT_EQ(Get32(file, 22 + 8), 300u);
  EXPECT_EQ(Get32(file, 22 + 12), 139u);
  EXPECT_EQ(file[22], 0);  // 256 stays stored as 0
  // And the reader takes it back as it was.
  std::vector<engine::IconImage> images;
  std::string why;
  ASSERT_EQ(Load(file, images, why), kSuccess) << why;
  EXPECT_EQ(images[0].bytes, small.bytes);
  EXPECT_EQ(images[1].bytes, large.bytes);
  EXPECT_EQ(engine::DescribedSize(images[1]), (IconSize{256, 256, 32}));
}

}  // namespace
}  // namespace vantorel::engine::test
